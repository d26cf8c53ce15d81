#pragma once
// The owner of the particle effects. Constructing it registers the
// serialisable emitter and affector classes with the object factory, which
// must exist first.

#include "singleton.h"

namespace VQ {

class ParticleSystem : public Singleton<ParticleSystem> {
public:
    ParticleSystem();
    ~ParticleSystem() override;

    // Once per frame while the application is active: advances the live
    // effects.
    void update() {}
};

}  // namespace VQ
