#pragma once
// Base of the classes stored in XML archives (the particle effects and their
// parts): each passes its members, in a fixed order of its own, as `nvp`
// values to the archive. Polymorphic members are recreated by class key
// through `ObjectFactory`.

namespace VQ {

class XmlIArchive;
class XmlOArchive;

class ISerializable {
public:
    virtual ~ISerializable() = default;
    virtual void load(XmlIArchive& archive) = 0;
    virtual void save(XmlOArchive& archive) = 0;
};

}  // namespace VQ
