// Finding an installed font file by face name, as GDI's font mapper does for
// a LOGFONT: the named family if installed, else the closest face.
#ifndef ZV_D3DX9_FONT_FACEMATCH_H
#define ZV_D3DX9_FONT_FACEMATCH_H

#include <string>

namespace d3dxfont {

struct FaceFile {
    std::string path;  // the font file
    int index = 0;     // the face within it (collections hold several)
};

// Asks fontconfig for the scalable face that best matches `family` (empty:
// the system's default face), `weight` (FW_* scale, 0 = regular) and
// `italic`. Aliases apply (e.g. "Comic Sans MS" -> Comic Neue where
// installed). False when fontconfig finds no scalable face at all.
bool matchFace(const char* family, unsigned weight, bool italic, FaceFile* out);

}  // namespace d3dxfont

#endif
