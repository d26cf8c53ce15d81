#pragma once
// Particle emitters and their shapes, as the effect files name them. For now
// they carry no members: only their classes exist, so that effect files can
// name them and the object factory can make and copy them.

#include "serializable.h"

namespace VQ {

class ParticleEmitter : public ISerializable {
public:
    void load(XmlIArchive&) override {}
    void save(XmlOArchive&) override {}
};

class ParticlePointEmitter : public ParticleEmitter {};
class ParticleBoxEmitter : public ParticleEmitter {};
class ParticleQuadEmitter : public ParticleEmitter {};
class ParticleCircleEmitter : public ParticleEmitter {};

}  // namespace VQ
