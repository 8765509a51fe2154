#include "d3dx9/font/FaceMatch.h"

#include <fontconfig/fontconfig.h>

namespace d3dxfont {

namespace {

int fcWeightFromGdi(unsigned weight) {
    if (weight == 0) return FC_WEIGHT_REGULAR;  // FW_DONTCARE
    if (weight > 1000) weight = 1000;
    return FcWeightFromOpenType(static_cast<int>(weight));
}

}  // namespace

bool matchFace(const char* family, unsigned weight, bool italic, FaceFile* out) {
    if (!FcInit()) return false;
    // Built field by field rather than with FcNameParse: a face name may hold
    // '-' or ':', which the name syntax would read as size and properties.
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    if (family && family[0])
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, fcWeightFromGdi(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;

    bool found = false;
    FcChar8* file = nullptr;
    FcBool scalable = FcFalse;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
        FcPatternGetBool(match, FC_SCALABLE, 0, &scalable) == FcResultMatch && scalable) {
        out->path = reinterpret_cast<const char*>(file);
        int index = 0;
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
        out->index = index;
        found = true;
    }
    FcPatternDestroy(match);
    return found;
}

}  // namespace d3dxfont
