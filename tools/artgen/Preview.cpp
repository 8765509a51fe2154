#include "Preview.h"

#include "BlockArt.h"
#include "Layout.h"
#include "Noise.h"
#include "PngFile.h"
#include "ScriptPeek.h"
#include "Shapes.h"
#include "SkyArt.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>

namespace {

using namespace layout;

const float kPi = 3.14159265358979f;

struct Vec {
    float x, y, z;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator*(Vec a, float k) { return {a.x * k, a.y * k, a.z * k}; }
float dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec unit(Vec a) { return a * (1.0f / std::sqrt(dot(a, a))); }

// Rotations as D3DX builds them (row vectors), applied x, then y, then z.
Vec rotate(Vec v, const float deg[3]) {
    float a = deg[0] * kPi / 180, b = deg[1] * kPi / 180, c = deg[2] * kPi / 180;
    v = {v.x, v.y * std::cos(a) - v.z * std::sin(a), v.y * std::sin(a) + v.z * std::cos(a)};
    v = {v.x * std::cos(b) + v.z * std::sin(b), v.y, -v.x * std::sin(b) + v.z * std::cos(b)};
    return {v.x * std::cos(c) - v.y * std::sin(c), v.x * std::sin(c) + v.y * std::cos(c), v.z};
}

// A right-handed camera with the game's 60-degree vertical field of view.
struct Camera {
    Vec eye, forward, right, up;
    float tanHalf = std::tan(kPi / 6);
    Camera(Vec e, Vec look) : eye(e) {
        forward = unit(look - e);
        right = unit(cross(forward, Vec{0, 1, 0}));
        up = cross(right, forward);
    }
    Vec ray(float px, float py) const {
        float nx = (px / (kScreenW * 0.5f) - 1) * tanHalf * kScreenW / kScreenH;
        float ny = (1 - py / (kScreenH * 0.5f)) * tanHalf;
        return unit(forward + right * nx + up * ny);
    }
    bool project(Vec p, float& sx, float& sy, float& depth) const {
        Vec d = p - eye;
        depth = dot(d, forward);
        if (depth <= 1) return false;
        sx = (dot(d, right) / (depth * tanHalf) * kScreenH / kScreenW + 1) * kScreenW * 0.5f;
        sy = (1 - dot(d, up) / (depth * tanHalf)) * kScreenH * 0.5f;
        return true;
    }
};

struct Hud {
    int phase = 0;  // 0 get ready, 1 playing, 2 completed
    const char* time = "004217";
    const char* bestTime = "010533";
    int moves = 7, par = 5, bestMoves = 12, level = 1;
    bool timeRecord = false, movesRecord = false;
};

struct Shot {
    std::string scene;
    Vec eye{0, 0, 190}, look{0, 0, 0};
    int menuSelection = 0;
    bool options = false, credits = false;
    int level = 1;         // level file for the board, and the number shown
    bool solved = false;   // show every block on its sun face
    Hud hud;
};

class Renderer {
public:
    Renderer(const ScriptPeek& peek, const Shot& shot)
        : m_peek(peek), m_shot(shot), m_cam(shot.eye, shot.look), m_screen(kScreenW, kScreenH) {}

    bool run(const std::string& outPath) {
        m_screen.fill(hexColor(0x000000));
        for (const std::string& path : m_peek.scene(m_shot.scene)) drawObject(path);
        return m_ok && writePng(outPath, m_screen, PngAlpha::Opaque);
    }

private:
    const Image& texture(const std::string& gamePath) {
        auto it = m_textures.find(gamePath);
        if (it != m_textures.end()) return it->second;
        Image img;
        if (!readPng(m_peek.file(gamePath), img)) {
            std::fprintf(stderr, "artgen preview: cannot read %s\n", gamePath.c_str());
            m_ok = false;
        }
        return m_textures[gamePath] = img;
    }

    void drawObject(const std::string& path) {
        ObjectScript o = m_peek.object(path);
        if (!o.found) {
            std::fprintf(stderr, "artgen preview: missing %s\n", path.c_str());
            m_ok = false;
            return;
        }
        if (o.className == "CQNBaseRendSkyBox") {
            drawSky();
        } else if (o.className == "CQNBaseRend" && o.modelType == "MESH") {
            drawTile(Vec{o.translation[0], o.translation[1], o.translation[2]}, o.rotation);
        } else if (o.className == "CQNBaseRend" && o.modelType == "SPRITE") {
            drawSprite(o, o.translation[0], o.translation[1], 1.0f, o.rotation[2]);
        } else if (o.className == "CQNBaseParticleSys") {
            drawParticles(o);
        } else if (o.className == "CZVMainMenu") {
            drawMenu();
        } else if (o.className == "CZVBaseLvlSelect") {
            drawLevelNumber();
        } else if (o.className == "CZVBaseLevel") {
            drawBoard();
        } else if (o.className == "CQNBaseHud") {
            drawHud();
        } else {
            std::fprintf(stderr, "artgen preview: unknown class %s in %s\n", o.className.c_str(), path.c_str());
            m_ok = false;
        }
    }

    // The sky box's faces, looked up by direction through the face layout.
    void drawSky() {
        const Image* faces[6];
        for (int f = 0; f < 6; ++f)
            faces[f] = &texture(std::string("Assets\\Textures\\zv.sky.") + sky::kFaceNames[f] + ".png");
        for (int y = 0; y < kScreenH; ++y)
            for (int x = 0; x < kScreenW; ++x) {
                Vec r = m_cam.ray(x + 0.5f, y + 0.5f);
                float d[3] = {r.x, r.y, r.z}, u, v;
                int best = 0;
                for (int k = 1; k < 3; ++k)
                    if (std::fabs(d[k]) > std::fabs(d[best])) best = k;
                const int f = best * 2 + (d[best] < 0 ? 1 : 0);
                if (faces[f]->width() == 0 || !sky::faceUv(f, d, u, v)) continue;
                m_screen.blend(x, y, faces[f]->sampleBilinear(u * faces[f]->width(), v * faces[f]->height()), 1);
            }
    }

    // A block: its visible face as a textured rounded square, lit by the
    // engine's light (from below and in front), rims left out.
    void drawTile(Vec pos, const float rot[3]) {
        Vec ex = rotate({1, 0, 0}, rot), ey = rotate({0, 1, 0}, rot), ez = rotate({0, 0, 1}, rot);
        bool front = dot(ez, m_cam.eye - pos) > 0;
        Vec n = front ? ez : ez * -1.0f;
        Vec centre = pos + n * block::kHalfDepth;
        const Image& tex = texture(front ? "Assets\\Textures\\zv.block.front.png" : "Assets\\Textures\\zv.block.back.png");
        if (tex.width() == 0) return;
        float sx, sy, depth;
        if (!m_cam.project(centre, sx, sy, depth)) return;
        const float pxPerUnit = kScreenH * 0.5f / (depth * m_cam.tanHalf);
        const int reach = static_cast<int>(block::kHalfWidth * 1.5f * pxPerUnit) + 2;
        Vec light = unit(Vec{0, -1, 1});
        float lit = std::min(1.0f, 0.392f + std::max(0.0f, dot(n, light)));
        Distance outline = roundedRect(0, 0, block::kHalfWidth, block::kHalfWidth, block::kCornerRadius);
        for (int y = int(sy) - reach; y <= int(sy) + reach; ++y)
            for (int x = int(sx) - reach; x <= int(sx) + reach; ++x) {
                if (x < 0 || y < 0 || x >= kScreenW || y >= kScreenH) continue;
                Vec r = m_cam.ray(x + 0.5f, y + 0.5f);
                float denom = dot(r, n);
                if (std::fabs(denom) < 1e-4f) continue;
                float t = dot(centre - m_cam.eye, n) / denom;
                Vec hit = m_cam.eye + r * t - pos;
                float lx = dot(hit, ex), ly = dot(hit, ey);
                float cover = std::clamp(0.5f - outline(lx, ly) * pxPerUnit, 0.0f, 1.0f);
                if (cover <= 0) continue;
                float u = (front ? lx + block::kHalfWidth : block::kHalfWidth - lx) / (2 * block::kHalfWidth);
                float v = (block::kHalfWidth - ly) / (2 * block::kHalfWidth);
                Rgba c = tex.sampleBilinear(u * tex.width(), v * tex.height());
                // The reflection in camera space, as the device computes it.
                Vec refl = r - n * (2 * dot(n, r));
                float rv[3] = {dot(refl, m_cam.right), dot(refl, m_cam.up), -dot(refl, m_cam.forward)};
                Rgba env = sky::environment(rv);
                c = Rgba{c.r * lit * 0.75f + env.r * 0.25f, c.g * lit * 0.75f + env.g * 0.25f,
                         c.b * lit * 0.75f + env.b * 0.25f, 1};
                m_screen.blend(x, y, c, cover);
            }
    }

    void drawSprite(const ObjectScript& o, float X, float Y, float scale, float rotZ) {
        ModelScript m = m_peek.model(o.modelScript);
        drawSpriteModel(m, X, Y, scale * o.scale[0], scale * o.scale[1], rotZ);
    }

    void drawSpriteModel(const ModelScript& m, float X, float Y, float scaleX, float scaleY, float rotZ) {
        if (!m.ortho) return;
        const Image& tex = texture(m.texture);
        float w = 2, h = 2;
        if (m.sizing == 2) w = tex.width(), h = tex.height();
        if (m.sizing == 3) w = 2 * m.dimensions[0], h = 2 * m.dimensions[1];
        w *= scaleX, h *= scaleY;
        const float cx = kScreenW * 0.5f + X, cy = kScreenH * 0.5f - Y;
        const float a = rotZ * kPi / 180, reach = std::hypot(w, h) * 0.5f + 1;
        for (int y = int(cy - reach); y <= int(cy + reach); ++y)
            for (int x = int(cx - reach); x <= int(cx + reach); ++x) {
                float dx = x + 0.5f - cx, dy = cy - (y + 0.5f);
                float lx = dx * std::cos(a) + dy * std::sin(a), ly = -dx * std::sin(a) + dy * std::cos(a);
                if (std::fabs(lx) > w * 0.5f || std::fabs(ly) > h * 0.5f) continue;
                float u = lx / w + 0.5f, v = 0.5f - ly / h;
                m_screen.blend(x, y, tex.sampleBilinear(u * tex.width(), v * tex.height()), 1);
            }
    }

    void drawRend(const std::string& baseObject, float X, float Y, float scale = 1, float rotZ = 0) {
        ObjectScript o = m_peek.object("Assets\\Scripts\\Base Objects\\" + baseObject);
        if (!o.found) {
            std::fprintf(stderr, "artgen preview: missing %s\n", baseObject.c_str());
            m_ok = false;
            return;
        }
        drawSprite(o, X, Y, scale, rotZ);
    }

    // Particles frozen at random ages, drawn additively as billboards.
    void drawParticles(const ObjectScript& sys) {
        ObjectScript p = m_peek.object(sys.particleScript);
        ModelScript m = m_peek.model(p.modelScript);
        const Image& tex = texture(m.texture);
        Random rng(7);
        for (int i = 0; i < sys.numParticles; ++i) {
            auto range = [&](float lo, float hi) { return lo + (hi - lo) * rng.uniform(); };
            float life = range(m.lifeRange[0], m.lifeRange[1]), t = life * rng.uniform();
            Vec v{range(m.directionRange[0], m.directionRange[1]), range(m.directionRange[2], m.directionRange[3]),
                  range(m.directionRange[4], m.directionRange[5])};
            Vec pos = Vec{sys.translation[0], sys.translation[1], sys.translation[2]} + v * t +
                      Vec{0, 0.5f * m.gravity * t * t, 0};
            float sx, sy, depth;
            if (!m_cam.project(pos, sx, sy, depth)) continue;
            float k = std::min(1.0f, t / (0.5f * m.lifeRange[1]));
            const float* s0 = &m.colorStages[0];
            const float* s1 = &m.colorStages[4];
            Rgba c{s0[0] + (s1[0] - s0[0]) * k, s0[1] + (s1[1] - s0[1]) * k, s0[2] + (s1[2] - s0[2]) * k,
                   1 - t / life};
            float size = 2 * m.dimensions[0] * kScreenH * 0.5f / (depth * m_cam.tanHalf);
            for (int y = int(sy - size); y <= int(sy + size); ++y)
                for (int x = int(sx - size); x <= int(sx + size); ++x) {
                    if (x < 0 || y < 0 || x >= kScreenW || y >= kScreenH) continue;
                    float u = (x + 0.5f - sx) / size + 0.5f, vv = (y + 0.5f - sy) / size + 0.5f;
                    if (u < 0 || u > 1 || vv < 0 || vv > 1) continue;
                    Rgba s = tex.sampleBilinear(u * tex.width(), vv * tex.height());
                    float* d = m_screen.px(x, y);
                    float a = s.a * c.a;
                    d[0] = std::min(1.0f, d[0] + s.r * c.r * a);
                    d[1] = std::min(1.0f, d[1] + s.g * c.g * a);
                    d[2] = std::min(1.0f, d[2] + s.b * c.b * a);
                }
        }
    }

    void drawMenu() {
        drawRend("zv.menupointer.base", kPointerX, kMenuLineY[m_shot.menuSelection]);
        if (m_shot.options) drawScriptPlaced("zv.menuoptions.base");
        if (m_shot.credits) drawScriptPlaced("zv.menucredits.base");
    }

    void drawScriptPlaced(const std::string& baseObject) {
        ObjectScript o = m_peek.object("Assets\\Scripts\\Base Objects\\" + baseObject);
        drawSprite(o, o.translation[0], o.translation[1], 1, 0);
    }

    void drawNumberText(const std::string& text, float x, float y, float pitch, float scale, bool colons) {
        for (size_t i = 0; i < text.size(); ++i) {
            if (colons && i > 0 && (text.size() - 1 - i) % 2 == 1) {
                drawRend("zv.colon.base", x, y, scale);
                x += pitch;
            }
            drawRend(std::string("zv.num") + text[i] + ".base", x, y, scale);
            x += pitch;
        }
    }

    void drawLevelNumber() {
        std::string s = std::to_string(m_shot.level);
        float x = m_shot.level > 9 ? -20.0f : 0.0f;
        for (char c : s) {
            drawRend(std::string("zv.num") + c + ".base", x, kLevelDigitsY, kLevelDigitScale);
            x += kLevelDigitPitch;
        }
    }

    void drawBoard() {
        std::ifstream in(m_peek.file("Assets\\Scripts\\Levels\\zv." + std::to_string(m_shot.level) + ".lvl"));
        int w = 0, h = 0;
        in >> w >> h;
        std::vector<int> cells(w * h);
        for (int& c : cells) in >> c;
        // The level's camera for the board size, as the level places it.
        Vec eye = m_shot.eye, look = m_shot.look;
        if (w <= 4 && h <= 3) eye = {-15, 0, 110}, look = {-15, 0, 0};
        else if (w <= 5 && h <= 4) eye = {-17, 0, 130}, look = {-17, 0, 0};
        else if (w <= 6 && h <= 5) eye = {-20, 0, 160}, look = {-20, 0, 0};
        m_cam = Camera(eye, look);
        Random rng(99);
        for (int i = 0; i < w; ++i)
            for (int j = 0; j < h; ++j) {
                bool sun = m_shot.solved || cells[j * w + i] != 0;
                // A block shows its sun at 360 degrees about y, its star at 180.
                float rot[3] = {0, sun ? 360.0f : 180.0f, (rng.next() % 36000) * 0.01f};
                Vec pos{i * 32.0f - (w * 32.0f * 0.5f - 16), j * 32.0f - (h * 32.0f * 0.5f - 16), 0};
                drawTile(pos, rot);
            }
        // The pointer over the middle block.
        drawRend("zv.defmouse.base", 70, 40);
    }

    void drawHud() {
        const Hud& hud = m_shot.hud;
        // The get-ready sign as it comes to rest on the centre line.
        if (hud.phase == 0) {
            ObjectScript sign = m_peek.object("Assets\\Scripts\\Base Objects\\zv.getready.base");
            drawSprite(sign, sign.translation[0], 0, 1, 0);
        }
        drawRend("zv.hudbg.base", kHudPanelX, kHudPanelY);
        if (hud.phase == 2) drawScriptPlaced("zv.completed.base");
        drawNumberText(std::to_string(hud.level), kHudLines[5].firstX, kHudLines[5].y, kDigitPitch, 1, false);
        drawNumberText(hud.time, kHudLines[0].firstX, kHudLines[0].y, kDigitPitch, 1, true);
        drawNumberText(hud.bestTime, kHudLines[1].firstX, kHudLines[1].y, kDigitPitch, 1, true);
        drawNumberText(std::to_string(hud.moves), kHudLines[2].firstX, kHudLines[2].y, kDigitPitch, 1, false);
        drawNumberText(std::to_string(hud.par), kHudLines[3].firstX, kHudLines[3].y, kDigitPitch, 1, false);
        drawNumberText(std::to_string(hud.bestMoves), kHudLines[4].firstX, kHudLines[4].y, kDigitPitch, 1, false);
        if (hud.phase == 2 && hud.timeRecord) drawRend("zv.newrec.base", kRecordX, kTimeRecordY, 1.5f);
        if (hud.phase == 2 && hud.movesRecord) drawRend("zv.newrec.base", kRecordX, kMovesRecordY, 1.5f);
    }

    const ScriptPeek& m_peek;
    const Shot& m_shot;
    Camera m_cam;
    Image m_screen;
    std::map<std::string, Image> m_textures;
    bool m_ok = true;
};

}  // namespace

bool writePreviews(const std::string& assetsDir, const std::string& outDir) {
    ScriptPeek peek(assetsDir);
    const std::string menuScene = "Assets\\Scripts\\Scenes\\zv.menu.scene";
    std::vector<std::pair<std::string, Shot>> shots;
    Shot menu;
    menu.scene = menuScene;
    shots.push_back({"menu.png", menu});
    Shot options = menu;
    options.menuSelection = 1, options.options = true;
    shots.push_back({"options.png", options});
    Shot credits = menu;
    credits.menuSelection = 2, credits.credits = true;
    shots.push_back({"credits.png", credits});
    Shot lvlsel;
    lvlsel.scene = "Assets\\Scripts\\Scenes\\zv.lvlsel.scene";
    lvlsel.eye = {190 * std::sin(0.6f), 0, 190 * std::cos(0.6f)};
    lvlsel.level = 12;
    shots.push_back({"lvlsel.png", lvlsel});
    Shot level;
    level.scene = "Assets\\Scripts\\Scenes\\zv.intro.scene";
    level.level = 1;
    level.hud.level = 1;
    level.hud.time = "000000", level.hud.moves = 0;
    shots.push_back({"level.png", level});
    Shot done = level;
    done.level = 40, done.solved = true;
    done.hud.level = 40, done.hud.phase = 2, done.hud.time = "014203", done.hud.bestTime = "995999";
    done.hud.moves = 21, done.hud.par = 15, done.hud.bestMoves = 999;
    done.hud.timeRecord = done.hud.movesRecord = true;
    shots.push_back({"completed.png", done});
    Shot mid = level;
    mid.level = 20;
    mid.hud.phase = 1, mid.hud.level = 20, mid.hud.time = "003861", mid.hud.moves = 9, mid.hud.par = 9;
    shots.push_back({"playing.png", mid});
    bool ok = true;
    for (auto& s : shots) ok = Renderer(peek, s.second).run(outDir + "/" + s.first) && ok;
    return ok;
}
