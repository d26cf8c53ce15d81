#include "object_factory.h"

#include "particle_affector.h"
#include "particle_emitter.h"

namespace VQ {

ObjectFactory::ObjectFactory() = default;

ObjectFactory::~ObjectFactory() = default;

void ObjectFactory::registerCreator(const std::string& key, std::unique_ptr<ObjectCreatorInterface> creator)
{
    mCreators.try_emplace(key, std::move(creator));
}

ObjectCreatorInterface* ObjectFactory::findCreator(const std::string& key) const
{
    auto it = mCreators.find(key);
    return it != mCreators.end() ? it->second.get() : nullptr;
}

ISerializable* ObjectFactory::create(const std::string& key) const
{
    ObjectCreatorInterface* creator = findCreator(key);
    return creator ? creator->create() : nullptr;
}

std::string ObjectFactory::keyForTypeName(const std::string& typeName) const
{
    for (const auto& [key, creator] : mCreators) {
        if (creator->typeName() == typeName)
            return key;
    }
    return std::string();
}

namespace {

template <typename Base>
Base* cloneByType(const std::map<std::string, std::unique_ptr<ObjectCreatorInterface>>& creators,
                  const Base* object)
{
    if (!object)
        return nullptr;
    const std::string type = typeid(*object).name();
    for (const auto& entry : creators) {
        if (entry.second->typeName() != type)
            continue;
        std::unique_ptr<ISerializable> copy(entry.second->clone(*object));
        if (Base* typed = dynamic_cast<Base*>(copy.get())) {
            copy.release();
            return typed;
        }
        break;
    }
    return new Base(*object);
}

}  // namespace

ParticleEmitter* ObjectFactory::cloneEmitter(const ParticleEmitter* emitter) const
{
    return cloneByType(mCreators, emitter);
}

ParticleAffector* ObjectFactory::cloneAffector(const ParticleAffector* affector) const
{
    return cloneByType(mCreators, affector);
}

}  // namespace VQ
