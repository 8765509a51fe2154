#include "QNModelSpriteParticle.h"

#include <cstdlib>
#include <cstring>

#include "QNGameTimer.h"
#include "QNScriptHelper.h"

namespace {
float nextFloat() {
    const char* t = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
    return t ? static_cast<float>(std::atof(t)) : 0.0f;
}

// Windows' rand() gives 0..32767 and the ranges were made for that reach;
// glibc's goes up to 2^31 - 1, so only its low 15 bits are used here.
int rand15() { return std::rand() & 0x7FFF; }

// Thousandths of v truncated toward zero, held to the int range (a
// conversion out of range would be undefined). A range between infinite
// ends (values past the float range in a script) has no size: 0.
int thousandths(double v) {
    if (v != v) return 0;
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return static_cast<int>(v);
}

// A value from min up to (not including) min + |span| / 1000 in steps of
// 0.001, span being the range in thousandths truncated toward zero. A
// reversed range yields values above min; a range wider than 32.767 reaches
// only 32.767 past min.
float randomInRange(float min, float max) {
    const int span = thousandths(max * 1000.0f - min * 1000.0f);
    if (span == 0) return min;
    const int r = rand15() % span;  // the sign of rand15(): never negative
    return static_cast<float>((static_cast<double>(r) + thousandths(min * 1000.0f)) * 0.001);
}

// (to - from) / duration, or 0 where there is no duration to spread over.
float rateOver(float from, float to, double duration) {
    if (duration == 0.0) return 0.0f;
    return getRate(from, to, static_cast<float>(duration));
}
}  // namespace

CQNModelSpriteParticle::CQNModelSpriteParticle()
    : m_velocity(0.0f, 0.0f, 0.0f),
      m_color{0.0f, 0.0f, 0.0f, 0.0f},
      m_colorRate{0.0f, 0.0f, 0.0f, 0.0f},
      m_colorStage(0),
      m_life(0.0f),
      m_maxLife(0.0f),
      m_gravity(0.0f),
      m_directionRange{{0.0f, 0.0f}, {0.0f, 0.0f}, {0.0f, 0.0f}},
      m_colorStages{{1.0f, 1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f}},
      m_lifeRange{0.0f, 0.0f} {}

CQNModelSpriteParticle::~CQNModelSpriteParticle() { CQNModelSpriteParticle::release(); }

QNRESULT CQNModelSpriteParticle::parseScript(const char* path) {
    char* text = nullptr;
    QNRESULT r = CScriptHelper::readScript(path, &text);
    if (r > QNRSLT_OK) return r;
    for (char* token = std::strtok(text, QN_DELIMITERS_STANDARD); token;
         token = std::strtok(nullptr, QN_DELIMITERS_STANDARD)) {
        if (std::strcmp(token, "[GRAVITY]") == 0) {
            m_gravity = nextFloat();
        } else if (std::strcmp(token, "[RANGE_DIRECTION]") == 0) {
            for (float(&axis)[2] : m_directionRange) {
                axis[0] = nextFloat();
                axis[1] = nextFloat();
            }
        } else if (std::strcmp(token, "[COLOR_STAGES]") == 0) {
            for (D3DCOLORVALUE& stage : m_colorStages) {
                stage.r = nextFloat();
                stage.g = nextFloat();
                stage.b = nextFloat();
                stage.a = nextFloat();
            }
        } else if (std::strcmp(token, "[RANGE_LIFESPAN]") == 0) {
            m_lifeRange[0] = nextFloat();
            m_lifeRange[1] = nextFloat();
        }
    }
    CScriptHelper::freeScript(text);
    _drawStartValues();
    return QNRSLT_OK;
}

void CQNModelSpriteParticle::_drawStartValues() {
    m_velocity.x = randomInRange(m_directionRange[0][0], m_directionRange[0][1]);
    m_velocity.y = randomInRange(m_directionRange[1][0], m_directionRange[1][1]);
    m_velocity.z = randomInRange(m_directionRange[2][0], m_directionRange[2][1]);
    m_life = randomInRange(m_lifeRange[0], m_lifeRange[1]);
    m_maxLife = m_lifeRange[1];
}

void CQNModelSpriteParticle::_applyColor(const D3DCOLORVALUE& color) {
    m_material.Emissive.r = color.r;
    m_material.Emissive.g = color.g;
    m_material.Emissive.b = color.b;
    m_material.Diffuse.a = color.a;
}

void CQNModelSpriteParticle::_startLife() {
    m_color = m_colorStages[0];
    _applyColor(m_color);
    _computeColorRates(0, 1);
    m_lifeTimer.reset();
}

QNRESULT CQNModelSpriteParticle::initialize(const char* path) {
    CQNModelSpriteParticle::parseScript(path);
    const QNRESULT r = CQNModelSprite::initialize(path);
    _startLife();
    return r;
}

QNRESULT CQNModelSpriteParticle::reset() {
    _drawStartValues();
    m_colorStage = 0;
    _startLife();
    return QNRSLT_OK;
}

void CQNModelSpriteParticle::_computeColorRates(int from, int to) {
    const double half = m_maxLife * 0.5;
    m_colorRate.r = rateOver(m_colorStages[from].r, m_colorStages[to].r, half);
    m_colorRate.g = rateOver(m_colorStages[from].g, m_colorStages[to].g, half);
    m_colorRate.b = rateOver(m_colorStages[from].b, m_colorStages[to].b, half);
    // Opacity fades over this particle's own life, whatever the stages.
    m_colorRate.a = rateOver(m_colorStages[0].a, m_colorStages[2].a, m_life);
}

void CQNModelSpriteParticle::_updateColor() {
    // A life of no length (also the defaults after a failed script) is over
    // before it began: the particle keeps its starting colour.
    if (m_life <= 0.0f) return;
    const float dt = CQNGameTimer::getInstance()->getFrameTime();
    const double t = m_lifeTimer.getElapsed();
    if (t > m_maxLife * 0.5 && m_colorStage == 0) {
        _computeColorRates(1, 2);
        m_colorStage = 1;
        m_color.r = m_colorStages[1].r;
        m_color.g = m_colorStages[1].g;
        m_color.b = m_colorStages[1].b;
    } else if (t > m_maxLife && m_colorStage == 1) {
        m_colorStage = 2;
        m_color = m_colorStages[2];
        _applyColor(m_color);
    }
    if (m_colorStage == 2) return;
    // Not clamped: values outside 0..1 go to the material as they are.
    m_color.r += dt * m_colorRate.r;
    m_color.g += dt * m_colorRate.g;
    m_color.b += dt * m_colorRate.b;
    m_color.a += dt * m_colorRate.a;
    _applyColor(m_color);
}

QNRESULT CQNModelSpriteParticle::update(float* transform) {
    const float dt = CQNGameTimer::getInstance()->getFrameTime();
    m_velocity.y += dt * m_gravity;
    float* translation = transform + QN_TRANSFORM_TRANSLATION;
    translation[0] += dt * m_velocity.x;
    translation[1] += dt * m_velocity.y;
    translation[2] += dt * m_velocity.z;
    _updateColor();
    return m_lifeTimer.getElapsed() > m_life ? QNRSLT_REMOVEOBJECT : QNRSLT_OK;
}

QNRESULT CQNModelSpriteParticle::render(float* transform) { return CQNModelSprite::render(transform); }

QNRESULT CQNModelSpriteParticle::release() { return QNRSLT_OK; }
