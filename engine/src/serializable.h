#pragma once
// Base of the classes stored in XML archives (the particle effects and their
// parts): each passes its members, in a fixed order of its own, as `nvp`
// values to the archive. Polymorphic members are recreated by class key
// through `ObjectFactory`.

namespace VQ {

class XmlIArchive;
class XmlOArchive;
class FieldVisitor;

class ISerializable {
public:
    virtual ~ISerializable() = default;
    virtual void serialize(FieldVisitor& visitor) = 0;
    virtual void load(XmlIArchive& archive) = 0;
    virtual void save(XmlOArchive& archive) = 0;
};

}  // namespace VQ

// Defines `serialize`, `load` and `save` of `Class` through its one list of fields, a
// member `template <typename Archive> void transferFields(Archive&)` that
// passes each field to `archive.transfer`, so that both archives see the
// same fields in the same order.
#define VQ_SERIALIZED_BY_FIELDS(Class)                                          \
    void Class::serialize(FieldVisitor& visitor) { transferFields(visitor); } \
    void Class::load(XmlIArchive& archive) { transferFields(archive); }       \
    void Class::save(XmlOArchive& archive) { transferFields(archive); }
