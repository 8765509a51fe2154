// A burst or stream of particles: a fixed number of renderables made from
// one particle script, started at the system's transform, respawned there
// while the system's life span lasts, drawn with additive blending. Once
// the span is over and every particle reports dead in one update, the
// system asks the scene manager to remove it.
#ifndef QN_BASE_PARTICLE_SYS_H
#define QN_BASE_PARTICLE_SYS_H

#include <cstdint>

#include "QNBase.h"
#include "QNStopwatch.h"

class CQNBaseRend;

class CQNBaseParticleSys : public CQNBase {
public:
    CQNBaseParticleSys();

    // Reads "[PARTICLE_SCRIPT]" (a path), "[NUM_PARTICLES]" and
    // "[LIFE_SPAN]"; the reader's failure or 0.
    virtual QNRESULT parseScript(const char* path) override;
    virtual ~CQNBaseParticleSys();
    // Reads its keys and the transform, then creates and initialises every
    // particle with the particle script, each started at the system's
    // transform; the life span counts from the end of this call. A missing
    // or negative particle count (or an array that cannot be had) is
    // reported: the system then has no particles and removes itself on its
    // first update. Returns the base's result (0).
    virtual QNRESULT initialize(const char* path) override;
    // Updates every particle; a dead one restarts at the system's current
    // transform while the life span lasts. Sets m_remove once the span is
    // over and all particles reported dead in this update. Always 0.
    virtual QNRESULT update() override;
    // Draws the particles with additive blending (the blend is put back to
    // the engine's default) and the dead count at (5, 25). Between
    // BeginScene and EndScene. Always 0.
    virtual QNRESULT render() override;
    // Deletes the particles and the script path; safe to call twice.
    virtual QNRESULT release() override;

    CQNBaseRend* m_particles;
    int32_t m_numParticles;
    char* m_particleScript;
    CQNStopwatch m_lifeTimer;
    float m_lifeSpan;
    int32_t m_deadCount;

private:
    // Copies the system's nine-float transform into the particle's.
    void _placeParticle(CQNBaseRend* particle) const;
};

#endif
