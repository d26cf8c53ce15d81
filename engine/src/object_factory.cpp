#include "object_factory.h"

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

}  // namespace VQ
