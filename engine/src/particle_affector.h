#pragma once
// Particle affectors, as the effect files name them. For now they carry no
// members: only their classes exist, so that effect files can name them and
// the object factory can make and copy them.

#include "serializable.h"

namespace VQ {

class ParticleAffector : public ISerializable {
public:
    void load(XmlIArchive&) override {}
    void save(XmlOArchive&) override {}
};

class ParticleLinearMovementAffector : public ParticleAffector {};
class ParticleGraphicMoveAffector : public ParticleAffector {};
class ParticleRotateAffector : public ParticleAffector {};
class ParticleRotateSpriteAffector : public ParticleAffector {};
class ParticleGravityAffector : public ParticleAffector {};
class ParticleGravityPointAffector : public ParticleAffector {};
class ParticleAutoRotateAffector : public ParticleAffector {};

}  // namespace VQ
