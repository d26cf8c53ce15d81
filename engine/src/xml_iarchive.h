#pragma once
// Reads objects stored as XML (the particle effects): every member arrives
// as an `nvp` whose name is a child element of the current element.
// Missing elements and attributes are not errors: the member takes its
// missing value (0, "", false; a Vector2 keeps its value).

#include <concepts>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "color.h"
#include "nvp.h"
#include "object_factory.h"
#include "rect.h"
#include "serializable.h"
#include "vector2.h"
#include "xml_archive.h"

namespace VQ {

class XmlIArchive : public XmlArchive {
public:
    // Longest vector read; a larger "sz" is cut to it with a warning, so a
    // damaged file cannot make the loader create objects without end.
    static constexpr long MAX_VECTOR_SIZE = 65536;
    // Most objects one archive makes. Elements a vector's "sz" names but the
    // file lacks are made from empty elements, so without a bound a few bytes
    // of nested vectors could ask for millions; the rest are skipped with a
    // warning.
    static constexpr long MAX_OBJECTS = 262144;

    // Reads (package, name) through the file system; its "root" becomes the
    // current element. A missing file or malformed XML is fatal; a file that
    // cannot be read whole leaves the archive not opened (every load then
    // gives missing values).
    XmlIArchive(const std::string& package, const std::string& name);
    // The same from text in memory (copied).
    explicit XmlIArchive(std::string_view text);

    bool isOpened() const { return mOpened; }

    void load(const nvp<int>& pair);
    void load(const nvp<float>& pair);
    void load(const nvp<std::string>& pair);
    void load(const nvp<Vector2f>& pair);
    void load(const nvp<Rect>& pair);
    void load(const nvp<Color>& pair);
    void load(const nvp<bool>& pair);

    // An object by value: its element becomes current while it loads itself.
    template <std::derived_from<ISerializable> T>
    void load(const nvp<T>& pair)
    {
        loadObject(*pair.value, currentNode().child(pair.name.c_str()));
    }

    // A polymorphic object, made from the element's "class_name" (the
    // declared class itself when empty). An unknown key gives null.
    template <std::derived_from<ISerializable> T>
    void load(const nvp<T*>& pair)
    {
        *pair.value = loadPointer<T>(pair.name).release();
    }

    // "sz" elements "e0", "e1", ... appended in order. The vector is emptied
    // first without deleting what it held; elements of unknown class are
    // skipped, so it never holds null.
    template <std::derived_from<ISerializable> T>
    void load(const nvp<std::vector<T*>>& pair)
    {
        pushNode(currentNode().child(pair.name.c_str()));
        pair.value->clear();
        const long size = readVectorSize(pair.name);
        for (long i = 0; i < size; ++i) {
            if (std::unique_ptr<T> object = loadPointer<T>(vectorElementName(size_t(i))))
                pair.value->push_back(object.release());
        }
        popNode();
    }

    // A vector of vectors (a curve's lines of keys): "sz" lines "e0", "e1",
    // ..., each read as a vector.
    template <std::derived_from<ISerializable> T>
    void load(const nvp<std::vector<std::vector<T*>>>& pair)
    {
        pushNode(currentNode().child(pair.name.c_str()));
        pair.value->clear();
        const long size = readVectorSize(pair.name);
        for (long i = 0; i < size; ++i) {
            std::vector<T*> line;
            load(nvp<std::vector<T*>>(vectorElementName(size_t(i)), line));
            pair.value->push_back(std::move(line));
        }
        popNode();
    }

    // The verb a class's one field list uses for both archives.
    template <typename T>
    void transfer(const nvp<T>& pair)
    {
        load(pair);
    }

    long objectsMade() const { return mObjectsMade; }

private:
    void parse(const char* data, size_t size);
    long readVectorSize(const std::string& name) const;
    // Logs the element skipped for a class key that names no class of the
    // expected kind.
    void warnUnknownClass(const std::string& key, const std::string& name) const;
    // Counts one more object; false (with one warning per archive) once the
    // archive has made MAX_OBJECTS.
    bool takeObject();

    template <typename T>
    void loadObject(T& object, pugi::xml_node element)
    {
        pushNode(element);
        object.load(*this);
        popNode();
    }

    template <typename T>
    std::unique_ptr<T> loadPointer(const std::string& name)
    {
        if (!takeObject())
            return nullptr;
        const pugi::xml_node element = currentNode().child(name.c_str());
        const std::string key = element.attribute("class_name").value();
        std::unique_ptr<T> object;
        if (key.empty()) {
            if constexpr (!std::is_abstract_v<T>)
                object = std::make_unique<T>();
        } else {
            std::unique_ptr<ISerializable> created(ObjectFactory::instance()->create(key));
            if (T* typed = dynamic_cast<T*>(created.get())) {
                created.release();
                object.reset(typed);
            }
        }
        if (!object) {
            warnUnknownClass(key, name);
            return nullptr;
        }
        loadObject(*object, element);
        return object;
    }

    bool mOpened = false;
    long mObjectsMade = 0;
};

}  // namespace VQ
