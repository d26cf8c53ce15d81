#pragma once
// The process-wide registry of serialisable classes by key: an archive turns
// the "class_name" of a polymorphic element back into an object, and turns
// an object's run-time type back into its key when saving. Filled on the main
// thread during start-up and only read afterwards (also from loading jobs),
// so it takes no lock.

#include <map>
#include <memory>
#include <string>
#include <typeinfo>

#include "serializable.h"
#include "singleton.h"

namespace VQ {

class ParticleAffector;
class ParticleEmitter;

class ObjectCreatorInterface {
public:
    virtual ~ObjectCreatorInterface() = default;
    // A new default-constructed object of the class.
    virtual ISerializable* create() = 0;
    // A new copy of `object`; null when it is not of the creator's class.
    virtual ISerializable* clone(const ISerializable& object) = 0;
    // The class's run-time type name as the type information gives it.
    virtual std::string typeName() = 0;
};

template <typename T>
class ObjectCreator : public ObjectCreatorInterface {
public:
    ISerializable* create() override { return new T(); }
    ISerializable* clone(const ISerializable& object) override
    {
        const T* source = dynamic_cast<const T*>(&object);
        return source ? new T(*source) : nullptr;
    }
    std::string typeName() override { return typeid(T).name(); }
};

class ObjectFactory : public Singleton<ObjectFactory> {
public:
    ObjectFactory();
    ~ObjectFactory() override;

    // A key that is already registered keeps its first creator (the new one
    // is deleted).
    void registerCreator(const std::string& key, std::unique_ptr<ObjectCreatorInterface> creator);
    template <typename T>
    void registerClass(const std::string& key)
    {
        registerCreator(key, std::make_unique<ObjectCreator<T>>());
    }

    // The creator of `key`, or null.
    ObjectCreatorInterface* findCreator(const std::string& key) const;
    // A new object of the class registered under `key`, or null.
    ISerializable* create(const std::string& key) const;
    // The first key, in key order, whose creator reports `typeName`; "" when
    // none does.
    std::string keyForTypeName(const std::string& typeName) const;

    const std::map<std::string, std::unique_ptr<ObjectCreatorInterface>>& creators() const { return mCreators; }

    // A copy by the first creator (in key order) of the object's run-time
    // class; without one, a copy of the base part only. Null for null.
    ParticleEmitter* cloneEmitter(const ParticleEmitter* emitter) const;
    ParticleAffector* cloneAffector(const ParticleAffector* affector) const;

private:
    std::map<std::string, std::unique_ptr<ObjectCreatorInterface>> mCreators;
};

}  // namespace VQ
