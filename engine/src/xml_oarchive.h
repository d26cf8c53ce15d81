#pragma once
// Writes objects as XML in the layout `XmlIArchive` reads: every member is
// appended as a child element of the current element, numbers formatted
// with "%i" and "%f".

#include <concepts>
#include <string>
#include <typeinfo>
#include <vector>

#include "color.h"
#include "nvp.h"
#include "object_factory.h"
#include "rect.h"
#include "serializable.h"
#include "vector2.h"
#include "xml_archive.h"

namespace VQ {

class XmlOArchive : public XmlArchive {
public:
    // A new document whose element "root" is the current element.
    XmlOArchive();

    void save(const nvp<int>& pair);
    void save(const nvp<float>& pair);
    void save(const nvp<std::string>& pair);
    void save(const nvp<Vector2f>& pair);
    void save(const nvp<Rect>& pair);
    void save(const nvp<Color>& pair);
    void save(const nvp<bool>& pair);

    // An object by value also names its class ("" for an unregistered one,
    // such as a curve); readers ignore it.
    template <std::derived_from<ISerializable> T>
    void save(const nvp<T>& pair)
    {
        pushNode(appendElement(pair.name));
        appendAttribute("class_name", ObjectFactory::instance()->keyForTypeName(typeid(*pair.value).name()));
        pair.value->save(*this);
        popNode();
    }

    // "class_name" is the key registered for the object's run-time class
    // ("" for an unregistered class, which then reads back as the declared
    // class). A null pointer writes an element without members.
    template <std::derived_from<ISerializable> T>
    void save(const nvp<T*>& pair)
    {
        T* object = *pair.value;
        pushNode(appendElement(pair.name));
        const std::string key = object ? ObjectFactory::instance()->keyForTypeName(typeid(*object).name()) : "";
        appendAttribute("class_name", key);
        if (object)
            object->save(*this);
        popNode();
    }

    template <std::derived_from<ISerializable> T>
    void save(const nvp<std::vector<T*>>& pair)
    {
        pushNode(appendElement(pair.name));
        appendAttribute("sz", formatSize(pair.value->size()));
        for (size_t i = 0; i < pair.value->size(); ++i) {
            T* element = (*pair.value)[i];
            save(nvp<T*>(vectorElementName(i), element));
        }
        popNode();
    }

    // "sz" lines "e0", "e1", ..., each written as a vector.
    template <std::derived_from<ISerializable> T>
    void save(const nvp<std::vector<std::vector<T*>>>& pair)
    {
        pushNode(appendElement(pair.name));
        appendAttribute("sz", formatSize(pair.value->size()));
        for (size_t i = 0; i < pair.value->size(); ++i)
            save(nvp<std::vector<T*>>(vectorElementName(i), (*pair.value)[i]));
        popNode();
    }

    // The verb a class's one field list uses for both archives.
    template <typename T>
    void transfer(const nvp<T>& pair)
    {
        save(pair);
    }

    // The document as text (pugixml's writer, indented, no declaration).
    std::string text() const;

private:
    pugi::xml_node appendElement(const std::string& name);
    void appendAttribute(const char* name, const std::string& value);
    static std::string formatSize(size_t size);
};

}  // namespace VQ
