#pragma once
// The generic visit of a serialisable class's fields: the same fields, in
// the same order, that `load` and `save` pass to the XML archives, handed to
// a visitor with no file format of its own. Nothing in the engine walks an
// effect this way; a tool that lists or compares an effect's fields can.

#include <concepts>
#include <cstddef>
#include <string>
#include <typeinfo>
#include <vector>

#include "nvp.h"
#include "serializable.h"
#include "xml_archive.h"

namespace VQ {

class FieldVisitor {
public:
    virtual ~FieldVisitor() = default;

    // A plain value (number, flag, string, vector, rectangle, colour).
    virtual void value(const std::string& name, const std::type_info& type, void* field) = 0;
    // A serialisable object, held by value or through a pointer (null when
    // the pointer is empty); the visitor decides whether to descend.
    virtual void object(const std::string& name, ISerializable* object) = 0;
    // A vector's elements come between these two calls, named "e0", "e1", ...
    virtual void beginVector(const std::string& name, size_t size) = 0;
    virtual void endVector(const std::string& name) = 0;

    // The verb a class's one field list uses for every archive.
    template <typename T>
    void transfer(const nvp<T>& pair)
    {
        value(pair.name, typeid(T), pair.value);
    }

    template <std::derived_from<ISerializable> T>
    void transfer(const nvp<T>& pair)
    {
        object(pair.name, pair.value);
    }

    template <std::derived_from<ISerializable> T>
    void transfer(const nvp<T*>& pair)
    {
        object(pair.name, *pair.value);
    }

    template <typename T>
    void transfer(const nvp<std::vector<T>>& pair)
    {
        beginVector(pair.name, pair.value->size());
        for (size_t i = 0; i < pair.value->size(); ++i)
            transfer(nvp<T>(vectorElementName(i), (*pair.value)[i]));
        endVector(pair.name);
    }
};

}  // namespace VQ
