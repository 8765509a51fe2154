// The pictures: each decodes at the size its sprite needs, screen pictures
// fade out before their quad's edge, textures are opaque, and the pictures
// line up where the HUD, the menu and the level select put them.
#include "AssetFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

// Screen pictures must fade out before their quad's edge; textures must be
// opaque, since alpha testing discards texels of alpha 0 and the mesh stages
// take the texture's alpha into the environment-map blend.
TEST(Pictures, DecodeAtTheirSizesWithCleanEdges) {
    struct Case {
        std::string name;
        int width, height;
        bool opaque;
    };
    std::vector<Case> cases = {
        {"colon", 32, 32, false},         {"hudbg", 256, 512, false},        {"getready", 512, 128, false},
        {"completed", 512, 128, false},   {"newrec", 64, 32, false},         {"cursor", 64, 64, false},
        {"title", 512, 128, false},       {"menu.play", 256, 64, false},     {"menu.options", 256, 64, false},
        {"menu.credits", 256, 64, false}, {"menu.quit", 256, 64, false},     {"menupointer", 32, 32, false},
        {"menuoptions", 256, 512, false}, {"menucredits", 256, 512, false},  {"menuhint", 512, 32, false},
        {"lvlsel.title", 512, 64, false}, {"lvlsel.plate", 256, 128, false}, {"lvlsel.hint", 512, 32, false},
        {"sparkle", 64, 64, false},       {"block.front", 256, 256, true},   {"block.back", 256, 256, true},
    };
    for (int d = 0; d < 10; ++d) cases.push_back({"num" + std::to_string(d), 32, 32, false});
    for (const char* face : {"px", "nx", "py", "ny", "pz", "nz"})
        cases.push_back({std::string("sky.") + face, 512, 512, true});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        assets::Picture p = assets::readPng("Assets\\Textures\\zv." + c.name + ".png");
        ASSERT_TRUE(p.ok);
        EXPECT_EQ(p.width, c.width);
        EXPECT_EQ(p.height, c.height);
        int hardEdge = 0, holes = 0, visible = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                bool border = x == 0 || y == 0 || x == p.width - 1 || y == p.height - 1;
                hardEdge += border && p.alpha(x, y) != 0;
                holes += p.alpha(x, y) != 255;
                visible += p.alpha(x, y) > 0;
            }
        if (c.opaque) {
            EXPECT_EQ(holes, 0);
        } else {
            EXPECT_EQ(hardEdge, 0);
            EXPECT_GT(visible, p.width * p.height / 50) << "nearly empty picture";
        }
    }
}

// A picture's visible extent on screen, in centred units (y up), when its
// centre is at (x, y) with a uniform scale.
struct Box {
    float left, right, bottom, top;
    bool overlaps(const Box& o) const { return left < o.right && o.left < right && bottom < o.top && o.bottom < top; }
};

Box visibleBox(const std::string& texture, float x, float y, float scale = 1, int threshold = 24) {
    assets::Picture p = assets::readPng("Assets\\Textures\\" + texture);
    int x0 = p.width, x1 = -1, y0 = p.height, y1 = -1;
    for (int py = 0; py < p.height; ++py)
        for (int px = 0; px < p.width; ++px)
            if (p.alpha(px, py) > threshold) {
                x0 = std::min(x0, px), x1 = std::max(x1, px), y0 = std::min(y0, py), y1 = std::max(y1, py);
            }
    const float l = x - p.width * 0.5f * scale, t = y + p.height * 0.5f * scale;
    return Box{l + x0 * scale, l + (x1 + 1) * scale, t - (y1 + 1) * scale, t - y0 * scale};
}

// The position a base object's script gives its picture.
struct Placed {
    std::string texture;
    float x, y;
};

Placed placed(const std::string& baseObject) {
    assets::Script obj = assets::readScript("Assets\\Scripts\\Base Objects\\" + baseObject);
    assets::Script model = assets::readScript(obj.value("[MODEL_SCRIPT]"));
    std::string tex = model.value("[TEXTURE]");
    return Placed{tex.substr(tex.rfind('\\') + 1), obj.number("[TRANSLATION]", 0), obj.number("[TRANSLATION]", 1)};
}

Box visibleBox(const Placed& p, int threshold = 24) { return visibleBox(p.texture, p.x, p.y, 1, threshold); }

// The menu keeps its pointer at x = -100 with these heights per line.
TEST(MenuLayout, EachLineStandsRightOfThePointerAtItsHeight) {
    const char* lines[] = {"zv.menu.play.base", "zv.menu.options.base", "zv.menu.credits.base", "zv.menu.quit.base"};
    const float heights[] = {43, 14, -14, -43};
    Box panels[] = {visibleBox(placed("zv.menuoptions.base")), visibleBox(placed("zv.menucredits.base"))};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(lines[i]);
        Box text = visibleBox(placed(lines[i]), 128);
        Box pointer = visibleBox("zv.menupointer.png", -100, heights[i], 1, 128);
        EXPECT_LT(pointer.right, text.left) << "the pointer runs into the text";
        EXPECT_LT(text.left - pointer.right, 24) << "the pointer stands too far from its line";
        EXPECT_NEAR((text.bottom + text.top) * 0.5f, heights[i], 4.0f) << "text not at the pointer's height";
        // A panel is shown while the pointer is on its line: it must leave
        // the lines and the pointer readable.
        for (const Box& panel : panels) {
            EXPECT_FALSE(panel.overlaps(text));
            EXPECT_FALSE(panel.overlaps(pointer));
        }
    }
    for (const Box& panel : panels) EXPECT_FALSE(panel.overlaps(visibleBox(placed("zv.title.base"), 128)));
}

// HUD numbers: first character centre and line, in centred units for an
// 800-wide screen (left edge L = -400), one character every 10 units.
TEST(HudLayout, EveryNumberPlaceLiesOnThePanel) {
    struct Line {
        const char* what;
        float x, y;
        int places;
    } lines[] = {{"time", -365, 127, 8},     {"best time", -365, 70, 8}, {"moves", -335, 10, 4},
                 {"par", -335, -45, 4},      {"best moves", -335, -100, 4}, {"level", -330, -150, 2}};
    assets::Picture panel = assets::readPng("Assets\\Textures\\zv.hudbg.png");
    ASSERT_TRUE(panel.ok);
    // The HUD centres the panel at (128 - 400, 0).
    const float left = -272 - panel.width * 0.5f, top = panel.height * 0.5f;
    for (const Line& l : lines) {
        SCOPED_TRACE(l.what);
        for (int k = 0; k < l.places; ++k) {
            float cx = l.x + 10 * k;
            for (float dx : {-8.0f, 0.0f, 7.0f})
                for (float dy : {-8.0f, 0.0f, 7.0f}) {
                    int px = static_cast<int>(cx + dx - left), py = static_cast<int>(top - (l.y + dy));
                    ASSERT_TRUE(px >= 0 && py >= 0 && px < panel.width && py < panel.height);
                    EXPECT_GE(panel.alpha(px, py), 200) << "digit " << k << " off the panel";
                }
        }
    }
    // Right of x = -255 the board shows through: the 6 x 5 board's camera
    // puts its leftmost blocks' edges near x = -245.
    for (int py = 0; py < panel.height; ++py)
        for (int px = static_cast<int>(-255 - left); px < panel.width; ++px)
            ASSERT_EQ(panel.alpha(px, py), 0) << "panel covers the board at (" << px << ", " << py << ")";
}

TEST(HudLayout, SignsStayClearOfThePanel) {
    // The get-ready sign is drawn before the panel, so the panel would cut it.
    Box panel = visibleBox("zv.hudbg.png", -272, 0, 1, 8);
    for (const char* sign : {"zv.getready.base", "zv.completed.base"}) {
        SCOPED_TRACE(sign);
        Placed p = placed(sign);
        p.y = 0;
        Box box = visibleBox(p, 8);
        EXPECT_GT(box.left, panel.right);
        EXPECT_LT(box.right, 400);
    }
}

TEST(LevelSelectLayout, TheNumberSitsInsideThePlate) {
    Placed plate = placed("zv.lvlsel.plate.base");
    assets::Picture p = assets::readPng("Assets\\Textures\\" + plate.texture);
    ASSERT_TRUE(p.ok);
    // Two digits at x = -20 and 20, y = -30, as 48-unit quads (16 x 3).
    for (float x : {-20.0f, 20.0f}) {
        Box digit = visibleBox("zv.num8.png", x, -30, 1.5f);  // 32-pixel picture on a 48-unit quad
        for (float px : {digit.left, digit.right})
            for (float py : {digit.bottom, digit.top}) {
                int ix = static_cast<int>(px - (plate.x - p.width * 0.5f));
                int iy = static_cast<int>((plate.y + p.height * 0.5f) - py);
                ASSERT_TRUE(ix >= 0 && iy >= 0 && ix < p.width && iy < p.height);
                EXPECT_GE(p.alpha(ix, iy), 180) << "digit corner off the plate";
            }
    }
}

}  // namespace
