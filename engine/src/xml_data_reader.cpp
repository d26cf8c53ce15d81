#include "xml_data_reader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "buddy_allocator.h"
#include "engine_allocators.h"
#include "fatal_error.h"
#include "file_system.h"
#include "log_system.h"

namespace VQ {

namespace {

float attributeFloat(const pugi::xml_node& node, const char* attribute)
{
    return static_cast<float>(strtod(node.attribute(attribute).value(), nullptr));
}

uint8_t attributeByte(const pugi::xml_node& node, const char* attribute)
{
    return static_cast<uint8_t>(parseXmlInteger(node.attribute(attribute).value()));
}

// The text lives as long as its document, possibly for the whole run (the
// cache keeps parsed tables): it comes from the buddy area when that can
// serve it, else from the heap, so a full area or a large file still loads.
char* allocateTextBuffer(size_t size, BuddyAllocator*& allocator)
{
    allocator = EngineAllocators::exists() ? EngineAllocators::instancePtr()->buddyAllocator() : nullptr;
    if (allocator) {
        if (void* block = allocator->alloc(size))
            return static_cast<char*>(block);
        allocator = nullptr;
    }
    return new char[size ? size : 1];
}

void freeTextBuffer(char* buffer, size_t size, BuddyAllocator* allocator)
{
    if (!buffer)
        return;
    if (!allocator) {
        delete[] buffer;
        return;
    }
    // The area goes with its allocator: a block outliving it (a reader kept
    // past shut-down) has nothing left to give back.
    if (EngineAllocators::exists() && EngineAllocators::instancePtr()->buddyAllocator() == allocator)
        allocator->dealloc(buffer, size);
}

}  // namespace

int32_t parseXmlInteger(const char* text)
{
    const char* digits = text;
    while (isspace(static_cast<unsigned char>(*digits)))
        ++digits;
    if (*digits == '-')
        ++digits;
    const int base = (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) ? 16 : 10;
    const long value = strtol(text, nullptr, base);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

XmlDataReader::XmlDataReader() = default;

XmlDataReader::~XmlDataReader()
{
    reset();
}

void XmlDataReader::reset()
{
    mDocument.reset();
    mCurrent = pugi::xml_node();
    freeTextBuffer(mBuffer, mBufferSize, mBufferAllocator);
    mBuffer = nullptr;
    mBufferSize = 0;
    mBufferAllocator = nullptr;
}

bool XmlDataReader::load(const std::string& package, const std::string& name)
{
    reset();
    std::unique_ptr<File> file(FileSystem::instance()->openFile(package, name));
    if (!file)
        return false;

    const int32_t size = std::max<int32_t>(file->size(), 0);
    mBuffer = allocateTextBuffer(size_t(size), mBufferAllocator);
    mBufferSize = size_t(size);
    // Read straight into the buffer the document will be parsed in.
    int32_t received = 0;
    while (received < size) {
        const int32_t count = file->read(mBuffer + received, size - received);
        if (count <= 0)
            break;
        received += count;
    }
    if (received != size) {
        log(formatString("WARNING: Failed to read '%s': %d of %d bytes arrived", name.c_str(), int(received),
                         int(size)));
        reset();
        return false;
    }
    return parseBuffer(name);
}

bool XmlDataReader::loadFromMemory(const std::string& resourceName, const void* data, size_t size)
{
    reset();
    mBuffer = allocateTextBuffer(size, mBufferAllocator);
    mBufferSize = size;
    if (size)
        memcpy(mBuffer, data, size);
    return parseBuffer(resourceName);
}

bool XmlDataReader::parseBuffer(const std::string& resourceName)
{
    // Parsed in place: the document points into the buffer, which therefore
    // lives exactly as long as the document.
    const pugi::xml_parse_result result = mDocument.load_buffer_inplace(mBuffer, mBufferSize);
    if (!result) {
        log(formatString("Failed to parse XML file: %s", resourceName.c_str()));
        log(formatString("Error description: %s", result.description()));
        assertFailed("VQ", "", "xml_data_reader", 161);
    }
    mCurrent = mDocument.child("root");
    return true;
}

bool XmlDataReader::enterNode(const std::string& name)
{
    pugi::xml_node child = mCurrent.child(name.c_str());
    if (!child)
        return false;
    mCurrent = child;
    return true;
}

void XmlDataReader::leaveNode()
{
    mCurrent = mCurrent.parent();
}

void XmlDataReader::rewind()
{
    mCurrent = mDocument.child("root");
}

bool XmlDataReader::readString(const std::string& name, std::string& out) const
{
    const pugi::xml_node node = mCurrent.child(name.c_str());
    out = node ? node.attribute("v").value() : "";
    return bool(node);
}

bool XmlDataReader::readBool(const std::string& name, bool& out) const
{
    const pugi::xml_node node = mCurrent.child(name.c_str());
    out = node && node.attribute("v").as_bool();
    return bool(node);
}

bool XmlDataReader::readFloat(const std::string& name, float& out) const
{
    const pugi::xml_node node = mCurrent.child(name.c_str());
    out = node ? attributeFloat(node, "v") : 0.0f;
    return bool(node);
}

bool XmlDataReader::readUInt(const std::string& name, unsigned& out) const
{
    const pugi::xml_node node = mCurrent.child(name.c_str());
    out = node ? static_cast<unsigned>(parseXmlInteger(node.attribute("v").value())) : 0u;
    return bool(node);
}

bool XmlDataReader::readVector2(const std::string& name, Vector2f& out) const
{
    const pugi::xml_node node = mCurrent.child(name.c_str());
    out = node ? Vector2f(attributeFloat(node, "v0"), attributeFloat(node, "v1")) : Vector2f();
    return bool(node);
}

bool XmlDataReader::readRect(const std::string& name, Rect& out) const
{
    const pugi::xml_node node = mCurrent.child(name.c_str());
    out = Rect();
    if (!node)
        return false;
    // The editor writes the rectangle's fields in this order.
    out.top = attributeFloat(node, "v0");
    out.left = attributeFloat(node, "v1");
    out.bottom = attributeFloat(node, "v2");
    out.right = attributeFloat(node, "v3");
    return true;
}

bool XmlDataReader::readColor(const std::string& name, Color& out) const
{
    const pugi::xml_node node = mCurrent.child(name.c_str());
    if (!node) {
        out = Color(0xFFFFFFFFu);
        return false;
    }
    out = Color::fromBytes(attributeByte(node, "r"), attributeByte(node, "g"), attributeByte(node, "b"),
                           attributeByte(node, "a"));
    return true;
}

XmlArrayIterator XmlDataReader::arrayEnd()
{
    return XmlArrayIterator(*this, XmlArrayIterator::EndTag{});
}

XmlArrayIterator::XmlArrayIterator(XmlDataReader& reader) : mReader(reader), mContainer(reader.currentNode())
{
    if (pugi::xml_node first = mContainer.child("v0")) {
        mReader.setCurrentNode(first);
        mIndex = 0;
    }
}

XmlArrayIterator::XmlArrayIterator(XmlDataReader& reader, EndTag) : mReader(reader) {}

XmlArrayIterator::~XmlArrayIterator()
{
    if (mIndex >= 0)
        mReader.setCurrentNode(mContainer);
}

void XmlArrayIterator::next()
{
    if (mIndex < 0)
        return;
    const pugi::xml_node parent = mReader.currentNode().parent();
    ++mIndex;
    const std::string name = "v" + std::to_string(mIndex);
    if (pugi::xml_node sibling = parent.child(name.c_str())) {
        mReader.setCurrentNode(sibling);
    } else {
        mReader.setCurrentNode(parent);
        mIndex = -1;
    }
}

}  // namespace VQ
