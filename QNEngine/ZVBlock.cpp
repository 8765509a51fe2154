#include "ZVBlock.h"

#include <cstdlib>

#include "QNBaseRend.h"
#include "QNGameTimer.h"
#include "QNMemory.h"

namespace {
const float kTurnSpeed = 360.0f;  // degrees a second: one flip takes half a second
}  // namespace

ZVBlock::ZVBlock() : m_rend(nullptr), m_state(0), m_targetAngle(0.0f) {}

ZVBlock::~ZVBlock() {
    if (m_rend) {
        setOwner(__FILE__, __LINE__, "??");
        delete m_rend;
        m_rend = nullptr;
    }
}

QNRESULT ZVBlock::initialize(const char* path) {
    setOwner(__FILE__, __LINE__, "??");
    m_rend = new CQNBaseRend;
    QNRESULT result = m_rend->initialize(path);
    // Each block is tilted by its own angle in the board plane.
    m_rend->m_rotation.z = static_cast<float>(std::rand() % 36000) * 0.01f;
    return result;
}

void ZVBlock::animate() {
    if (!m_rend) return;
    const float dt = CQNGameTimer::getInstance()->getFrameTime();
    float& angle = m_rend->m_rotation.y;
    if (m_targetAngle < angle) {
        angle -= kTurnSpeed * dt;
        if (m_targetAngle > angle) angle = m_targetAngle;
    } else if (m_targetAngle > angle) {
        angle += kTurnSpeed * dt;
        if (m_targetAngle < angle) angle = m_targetAngle;
    }
}

void ZVBlock::flip() {
    if (m_state == 0) return;
    m_targetAngle += 180.0f;
    m_state = (m_state == BLOCK_FRONT) ? BLOCK_BACK : BLOCK_FRONT;
}

void ZVBlock::snapToState() {
    const float angle = (m_state == BLOCK_FRONT) ? 360.0f : 180.0f;
    m_targetAngle = angle;
    if (m_rend) m_rend->m_rotation.y = angle;
}
