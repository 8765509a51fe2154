// The browser has no font configuration: the page ships the faces the
// desktop's fontconfig picks, at the same paths, and this table maps a face
// name onto them as the desktop's aliases do ("Comic Sans MS" is Comic
// Neue; any other name gets the default sans face). A style the page does
// not ship (cmake/WebSite.cmake) falls back to the family's regular face.
#include "d3dx9/font/FaceMatch.h"

#include <strings.h>
#include <unistd.h>

namespace d3dxfont {

namespace {

struct Family {
    const char* names[3];  // face names that map to this family
    const char* files[4];  // regular, bold, italic, bold italic
};

const Family kComic = {{"Comic Sans MS", "Comic Neue", nullptr},
                       {"/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf",
                        "/usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf",
                        "/usr/share/fonts/opentype/comic-neue/ComicNeue-Italic.otf",
                        "/usr/share/fonts/opentype/comic-neue/ComicNeue-BoldItalic.otf"}};
const Family kSans = {{"DejaVu Sans", nullptr, nullptr},
                      {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                       "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                       "/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf",
                       "/usr/share/fonts/truetype/dejavu/DejaVuSans-BoldOblique.ttf"}};

bool named(const Family& f, const char* family) {
    for (const char* name : f.names)
        if (name && strcasecmp(name, family) == 0) return true;
    return false;
}

}  // namespace

bool matchFace(const char* family, unsigned weight, bool italic, FaceFile* out) {
    const Family& f = family && named(kComic, family) ? kComic : kSans;
    // FW_SEMIBOLD and heavier are bold, as fontconfig rounds them.
    int style = (weight >= 600 ? 1 : 0) + (italic ? 2 : 0);
    for (int s : {style, style & 1, 0}) {
        if (access(f.files[s], R_OK) == 0) {
            out->path = f.files[s];
            out->index = 0;
            return true;
        }
    }
    return false;
}

}  // namespace d3dxfont
