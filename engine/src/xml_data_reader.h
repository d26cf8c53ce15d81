#pragma once
// A cursor over a parsed XML data file (the XML twins of the sprite tables)
// with typed readers for the engine's value types. Every value is an element
// named after its field, the value in that element's attributes; the
// document element is "root".

#include <cstddef>
#include <string>

#include <pugixml.hpp>

#include "color.h"
#include "rect.h"
#include "vector2.h"

namespace VQ {

class BuddyAllocator;
class XmlArrayIterator;

class XmlDataReader {
public:
    XmlDataReader();
    ~XmlDataReader();
    XmlDataReader(const XmlDataReader&) = delete;
    XmlDataReader& operator=(const XmlDataReader&) = delete;

    // Reads (package, name) through the file system and parses it. False for
    // a missing resource: the reader stays empty and every read fails. A
    // malformed file is fatal (after two log lines).
    bool load(const std::string& package, const std::string& name);
    // The same from text already in memory (copied); `resourceName` names it
    // in the log.
    bool loadFromMemory(const std::string& resourceName, const void* data, size_t size);

    // A child element of the cursor becomes the cursor; false (no change)
    // when there is none.
    bool enterNode(const std::string& name);
    // The cursor's parent becomes the cursor.
    void leaveNode();
    // Puts the cursor back on the document's "root".
    void rewind();

    // Each reads the child element `name` of the cursor. A missing element
    // gives the failure value and false; a present one true, with 0 (or
    // "") for a missing attribute.
    bool readString(const std::string& name, std::string& out) const;  // "v"; ""
    bool readBool(const std::string& name, bool& out) const;            // "v" starts 1/T/Y/t/y; false
    bool readFloat(const std::string& name, float& out) const;          // "v"; 0
    bool readUInt(const std::string& name, unsigned& out) const;        // "v"; 0
    bool readVector2(const std::string& name, Vector2f& out) const;     // "v0" x, "v1" y; (0, 0)
    // "v0" top, "v1" left, "v2" bottom, "v3" right; all 0.
    bool readRect(const std::string& name, Rect& out) const;
    // "r", "g", "b", "a", the low 8 bits of each integer; white.
    bool readColor(const std::string& name, Color& out) const;

    // The end of an array walk over this reader (see XmlArrayIterator).
    XmlArrayIterator arrayEnd();

    pugi::xml_node currentNode() const { return mCurrent; }
    void setCurrentNode(pugi::xml_node node) { mCurrent = node; }

private:
    bool parseBuffer(const std::string& resourceName);
    void reset();

    pugi::xml_document mDocument;
    pugi::xml_node mCurrent;
    char* mBuffer = nullptr;
    size_t mBufferSize = 0;
    // The buddy allocator the buffer came from; null when it came from the
    // heap (the allocator was full, missing, or the file too large for it).
    BuddyAllocator* mBufferAllocator = nullptr;
};

// Walks the numbered children "v0", "v1", ... of the reader's cursor, moving
// the cursor onto each in turn; the walk ends at the first missing index and
// the cursor returns to the container. Left early, the destructor puts the
// cursor back on the container.
//
//     for (XmlArrayIterator it(reader); it != reader.arrayEnd(); it.next()) { ... }
class XmlArrayIterator {
public:
    explicit XmlArrayIterator(XmlDataReader& reader);
    ~XmlArrayIterator();
    XmlArrayIterator(const XmlArrayIterator&) = delete;
    XmlArrayIterator& operator=(const XmlArrayIterator&) = delete;

    void next();
    int index() const { return mIndex; }

    bool operator==(const XmlArrayIterator& other) const { return mIndex == other.mIndex; }
    bool operator!=(const XmlArrayIterator& other) const { return mIndex != other.mIndex; }

private:
    friend class XmlDataReader;
    struct EndTag {};
    XmlArrayIterator(XmlDataReader& reader, EndTag);

    XmlDataReader& mReader;
    pugi::xml_node mContainer;
    int mIndex = -1;
};

// The integer rule of the XML data files: white space and a minus sign may
// lead, "0x"/"0X" means hexadecimal, otherwise decimal (a leading 0 is not
// octal); the result saturates to the 32-bit signed range.
int32_t parseXmlInteger(const char* text);

}  // namespace VQ
