#pragma once
// Ordered lists of polymorphic board objects (actions, drawables, behaviour
// layers). The base list only links its elements; the owning groups delete
// them and copy by cloning every element.

#include <algorithm>
#include <cstddef>
#include <list>

template <typename T>
class ObjectsGroup {
public:
    ObjectsGroup() = default;
    ObjectsGroup(const ObjectsGroup&) = default;
    ObjectsGroup& operator=(const ObjectsGroup&) = default;
    virtual ~ObjectsGroup() = default;

    virtual void add(T* object) { objects.push_back(object); }
    // Unlinks the first node holding `object`; the element is not deleted.
    virtual void remove(T* object)
    {
        auto it = std::find(objects.begin(), objects.end(), object);
        if (it != objects.end())
            objects.erase(it);
    }
    virtual void deleteAll() {}

    bool empty() const { return objects.empty(); }
    std::size_t size() const { return objects.size(); }

    std::list<T*> objects;
};

// A group that owns its elements. T provides clone() returning a new T*.
template <typename T>
class OwningObjectsGroup : public ObjectsGroup<T> {
public:
    OwningObjectsGroup() = default;
    OwningObjectsGroup(const OwningObjectsGroup& other) : ObjectsGroup<T>() { copyFrom(other); }
    OwningObjectsGroup& operator=(const OwningObjectsGroup& other)
    {
        if (this != &other) {
            deleteAll();
            copyFrom(other);
        }
        return *this;
    }
    ~OwningObjectsGroup() override { deleteAll(); }

    void deleteAll() override
    {
        for (T* object : this->objects)
            delete object;
        this->objects.clear();
    }

private:
    void copyFrom(const OwningObjectsGroup& other)
    {
        for (const T* object : other.objects)
            this->objects.push_back(object->clone());
    }
};
