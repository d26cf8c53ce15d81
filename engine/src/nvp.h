#pragma once
// A name-value pair handed to the XML archives: the name becomes the XML
// element, the value is read into or written from the referenced field.

#include <string>

namespace VQ {

template <typename T>
class nvp {
public:
    nvp(std::string name, T& value) : name(std::move(name)), value(&value) {}
    virtual ~nvp() = default;

    std::string name;
    T* value;  // not owned
};

}  // namespace VQ
