// The application icon: the sun face of a block, as a rounded tile on a
// transparent ground, for the desktop's icon theme.
#ifndef ARTGEN_ICON_ART_H
#define ARTGEN_ICON_ART_H

#include "Image.h"

namespace icon {

// One icon of size x size pixels.
Image paintIcon(int size);

}  // namespace icon

#endif
