#include "testing/FontTesting.h"

#include "FontObject.h"

namespace zvtest {

const char* fontFacePath(ID3DXFont* font) {
    const auto* object = dynamic_cast<const d3dxfont::FontObject*>(font);
    return object ? object->facePath().c_str() : "";
}

int fontAtlasWidth(ID3DXFont* font) {
    const auto* object = dynamic_cast<const d3dxfont::FontObject*>(font);
    return object ? object->atlas().width() : 0;
}

int fontAtlasHeight(ID3DXFont* font) {
    const auto* object = dynamic_cast<const d3dxfont::FontObject*>(font);
    return object ? object->atlas().height() : 0;
}

}  // namespace zvtest
