#include "xml_iarchive.h"

#include <cstdlib>

#include "fatal_error.h"
#include "file_system.h"
#include "log_system.h"

namespace VQ {

namespace {

float attributeFloat(const pugi::xml_node& node, const char* name)
{
    return static_cast<float>(strtod(node.attribute(name).value(), nullptr));
}

}  // namespace

XmlIArchive::XmlIArchive(const std::string& package, const std::string& name)
{
    std::unique_ptr<File> file(FileSystem::instance()->openFile(package, name));
    if (!file) {
        const std::string text = formatString("Failed to open file to load xml_iarchive: %s", name.c_str());
        log(text);
        assertFailed("VQ", text, "xml_iarchive", 21);
    }
    // A file that cannot be read whole leaves the archive not opened; the
    // reader has logged why.
    std::vector<char> text;
    if (readWholeResource(*file, name, text))
        parse(text.data(), text.size());
}

XmlIArchive::XmlIArchive(std::string_view text)
{
    parse(text.data(), text.size());
}

void XmlIArchive::parse(const char* data, size_t size)
{
    mOpened = true;
    if (!mDocument.load_buffer(data, size))
        assertFailed("VQ", "Failed to parse xml", "xml_iarchive", 34);
    pushNode(mDocument.child("root"));
}

void XmlIArchive::load(const nvp<int>& pair)
{
    *pair.value = currentNode().child(pair.name.c_str()).attribute("v").as_int();
}

void XmlIArchive::load(const nvp<float>& pair)
{
    *pair.value = attributeFloat(currentNode().child(pair.name.c_str()), "v");
}

void XmlIArchive::load(const nvp<std::string>& pair)
{
    *pair.value = currentNode().child(pair.name.c_str()).attribute("v").value();
}

void XmlIArchive::load(const nvp<Vector2f>& pair)
{
    const pugi::xml_node element = currentNode().child(pair.name.c_str());
    if (element)
        *pair.value = Vector2f(attributeFloat(element, "x"), attributeFloat(element, "y"));
}

void XmlIArchive::load(const nvp<Rect>& pair)
{
    const pugi::xml_node element = currentNode().child(pair.name.c_str());
    *pair.value = Rect(attributeFloat(element, "left"), attributeFloat(element, "top"),
                       attributeFloat(element, "right"), attributeFloat(element, "bottom"));
}

void XmlIArchive::load(const nvp<Color>& pair)
{
    const pugi::xml_node element = currentNode().child(pair.name.c_str());
    auto channel = [&element](const char* name) { return uint8_t(element.attribute(name).as_uint()); };
    *pair.value = Color::fromBytes(channel("r"), channel("g"), channel("b"), channel("a"));
}

void XmlIArchive::load(const nvp<bool>& pair)
{
    *pair.value = currentNode().child(pair.name.c_str()).attribute("v").as_bool();
}

long XmlIArchive::readVectorSize(const std::string& name) const
{
    const long size = currentNode().attribute("sz").as_int();
    if (size > MAX_VECTOR_SIZE) {
        log(formatString("WARNING: Vector '%s' claims %li elements; only the first %li are read", name.c_str(),
                         size, MAX_VECTOR_SIZE));
        return MAX_VECTOR_SIZE;
    }
    return size;
}

void XmlIArchive::warnUnknownClass(const std::string& key, const std::string& name) const
{
    log(formatString("WARNING: Element '%s' names unknown class '%s'; skipped", name.c_str(), key.c_str()));
}

bool XmlIArchive::takeObject()
{
    if (mObjectsMade < MAX_OBJECTS) {
        ++mObjectsMade;
        return true;
    }
    if (mObjectsMade == MAX_OBJECTS) {
        ++mObjectsMade;  // warned
        log(formatString("WARNING: Archive holds more than %li objects; the rest are skipped", MAX_OBJECTS));
    }
    return false;
}

}  // namespace VQ
