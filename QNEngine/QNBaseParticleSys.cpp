#include "QNBaseParticleSys.h"

#include <d3d9.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "DX_D3DWrapper.h"
#include "DX_Text.h"
#include "QNBaseRend.h"
#include "QNMemory.h"
#include "QNScriptHelper.h"

namespace {
// Every particle is a sprite of its own, loaded from its script and drawn by
// itself each frame; a system beyond this many would take minutes to start
// and gigabytes to hold, so it is refused like a missing count.
const int32_t kMaxParticles = 10000;
}  // namespace

CQNBaseParticleSys::CQNBaseParticleSys()
    : m_particles(nullptr),
      m_numParticles(-1),
      m_particleScript(nullptr),
      m_lifeSpan(-1.0f),
      m_deadCount(0) {}

CQNBaseParticleSys::~CQNBaseParticleSys() { CQNBaseParticleSys::release(); }

QNRESULT CQNBaseParticleSys::parseScript(const char* path) {
    char* text = nullptr;
    QNRESULT r = CScriptHelper::readScript(path, &text);
    if (r > QNRSLT_OK) return r;
    for (char* token = std::strtok(text, QN_DELIMITERS_STANDARD); token;
         token = std::strtok(nullptr, QN_DELIMITERS_STANDARD)) {
        if (std::strcmp(token, "[PARTICLE_SCRIPT]") == 0) {
            const char* v = std::strtok(nullptr, QN_DELIMITERS_PATH);
            if (!v) continue;
            // A later occurrence replaces the earlier path.
            if (m_particleScript) {
                setOwner(__FILE__, __LINE__, "??");
                delete[] m_particleScript;
            }
            const size_t n = std::strlen(v) + 1;
            setOwner(__FILE__, __LINE__, "??");
            m_particleScript = new char[n];
            std::memcpy(m_particleScript, v, n);
        } else if (std::strcmp(token, "[NUM_PARTICLES]") == 0) {
            const char* v = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
            m_numParticles = v ? std::atoi(v) : 0;
        } else if (std::strcmp(token, "[LIFE_SPAN]") == 0) {
            const char* v = std::strtok(nullptr, QN_DELIMITERS_STANDARD);
            m_lifeSpan = v ? static_cast<float>(std::atof(v)) : 0.0f;
        }
    }
    CScriptHelper::freeScript(text);
    return QNRSLT_OK;
}

void CQNBaseParticleSys::_placeParticle(CQNBaseRend* particle) const {
    particle->m_translation = m_translation;
    particle->m_rotation = m_rotation;
    particle->m_scale = m_scale;
}

QNRESULT CQNBaseParticleSys::initialize(const char* path) {
    CQNBaseParticleSys::parseScript(path);
    const QNRESULT r = CQNBase::initialize(path);
    // A second initialize starts over rather than leaking the first array.
    if (m_particles) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] m_particles;
        m_particles = nullptr;
    }
    if (m_numParticles < 0) {
        logResult(QNRSLT_INVALIDPARAM, "CQNBaseParticleSys::initialize( )",
                  "Missing or negative [NUM_PARTICLES]", 0);
    } else if (m_numParticles > kMaxParticles) {
        logResult(QNRSLT_INVALIDPARAM, "CQNBaseParticleSys::initialize( )",
                  "Too many particles (more than 10000)", 0);
    } else {
        setOwner(__FILE__, __LINE__, "??");
        m_particles = new (std::nothrow) CQNBaseRend[static_cast<size_t>(m_numParticles)];
        if (!m_particles)
            logResult(QNRSLT_INVALIDPARAM, "CQNBaseParticleSys::initialize( )",
                      "Too many particles", 0);
    }
    if (m_particles) {
        for (int32_t i = 0; i < m_numParticles; ++i) {
            m_particles[i].initialize(m_particleScript);
            // The system's transform replaces whatever the particle's script gave.
            _placeParticle(&m_particles[i]);
        }
    }
    m_lifeTimer.reset();
    return r;
}

QNRESULT CQNBaseParticleSys::update() {
    m_deadCount = 0;
    // A system refused at initialize has nothing to show.
    if (!m_particles) {
        m_remove = true;
        return QNRSLT_OK;
    }
    const bool respawn = m_lifeTimer.getElapsed() < static_cast<double>(m_lifeSpan);
    for (int32_t i = 0; i < m_numParticles; ++i) {
        if (m_particles[i].update() != QNRSLT_REMOVEOBJECT) continue;
        ++m_deadCount;
        if (respawn) {
            m_particles[i].resetModel();
            _placeParticle(&m_particles[i]);
        }
    }
    if (!respawn && m_deadCount >= m_numParticles) m_remove = true;
    return QNRSLT_OK;
}

QNRESULT CQNBaseParticleSys::render() {
    IDirect3DDevice9* device = CDX_D3DWrapper::getInstance()->getDevice();
    // Additive: overlapping particles add up to brighter light.
    if (device) device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    if (m_particles)
        for (int32_t i = 0; i < m_numParticles; ++i) m_particles[i].render();
    if (device) device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);

    char text[32];
    std::snprintf(text, sizeof text, "Dead Particles: %d", m_deadCount);
    const float position[2] = {5.0f, 25.0f};
    CDX_Text::getInstance()->drawText(text, position, 255, 255, 255, 255, 0);
    return QNRSLT_OK;
}

QNRESULT CQNBaseParticleSys::release() {
    if (m_particles) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] m_particles;
        m_particles = nullptr;
    }
    if (m_particleScript) {
        setOwner(__FILE__, __LINE__, "??");
        delete[] m_particleScript;
        m_particleScript = nullptr;
    }
    return QNRSLT_OK;
}
