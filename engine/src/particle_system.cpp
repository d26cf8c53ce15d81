#include "particle_system.h"

#include "object_factory.h"
#include "particle_affector.h"
#include "particle_emitter.h"

namespace VQ {

ParticleSystem::ParticleSystem()
{
    // Effect files name the class of each emitter and affector by these keys.
    ObjectFactory* factory = ObjectFactory::instance();
    factory->registerClass<ParticlePointEmitter>("ParticlePointEmitter");
    factory->registerClass<ParticleBoxEmitter>("ParticleBoxEmitter");
    factory->registerClass<ParticleQuadEmitter>("ParticleQuadEmitter");
    factory->registerClass<ParticleCircleEmitter>("ParticleCircleEmitter");
    factory->registerClass<ParticleLinearMovementAffector>("ParticleLinearMovementAffector");
    factory->registerClass<ParticleGraphicMoveAffector>("ParticleGraphicMoveAffector");
    factory->registerClass<ParticleRotateAffector>("ParticleRotateAffector");
    factory->registerClass<ParticleRotateSpriteAffector>("ParticleRotateSpriteAffector");
    factory->registerClass<ParticleGravityAffector>("ParticleGravityAffector");
    factory->registerClass<ParticleGravityPointAffector>("ParticleGravityPointAffector");
    factory->registerClass<ParticleAutoRotateAffector>("ParticleAutoRotateAffector");
}

ParticleSystem::~ParticleSystem() = default;

}  // namespace VQ
