#include "xml_oarchive.h"

#include <cstdio>
#include <sstream>

namespace VQ {

namespace {

std::string formatFloat(float value)
{
    char text[64];
    snprintf(text, sizeof(text), "%f", double(value));
    return text;
}

std::string formatInt(int value)
{
    char text[16];
    snprintf(text, sizeof(text), "%i", value);
    return text;
}

}  // namespace

XmlOArchive::XmlOArchive()
{
    pushNode(mDocument.append_child("root"));
}

pugi::xml_node XmlOArchive::appendElement(const std::string& name)
{
    return currentNode().append_child(name.c_str());
}

void XmlOArchive::appendAttribute(const char* name, const std::string& value)
{
    currentNode().append_attribute(name).set_value(value.c_str());
}

std::string XmlOArchive::formatSize(size_t size)
{
    char text[32];
    snprintf(text, sizeof(text), "%li", long(size));
    return text;
}

void XmlOArchive::save(const nvp<int>& pair)
{
    appendElement(pair.name).append_attribute("v").set_value(formatInt(*pair.value).c_str());
}

void XmlOArchive::save(const nvp<float>& pair)
{
    appendElement(pair.name).append_attribute("v").set_value(formatFloat(*pair.value).c_str());
}

void XmlOArchive::save(const nvp<std::string>& pair)
{
    appendElement(pair.name).append_attribute("v").set_value(pair.value->c_str());
}

void XmlOArchive::save(const nvp<Vector2f>& pair)
{
    pugi::xml_node element = appendElement(pair.name);
    element.append_attribute("x").set_value(formatFloat(pair.value->x).c_str());
    element.append_attribute("y").set_value(formatFloat(pair.value->y).c_str());
}

void XmlOArchive::save(const nvp<Rect>& pair)
{
    pugi::xml_node element = appendElement(pair.name);
    element.append_attribute("left").set_value(formatFloat(pair.value->left).c_str());
    element.append_attribute("top").set_value(formatFloat(pair.value->top).c_str());
    element.append_attribute("right").set_value(formatFloat(pair.value->right).c_str());
    element.append_attribute("bottom").set_value(formatFloat(pair.value->bottom).c_str());
}

void XmlOArchive::save(const nvp<Color>& pair)
{
    pugi::xml_node element = appendElement(pair.name);
    element.append_attribute("r").set_value(formatInt(pair.value->r).c_str());
    element.append_attribute("g").set_value(formatInt(pair.value->g).c_str());
    element.append_attribute("b").set_value(formatInt(pair.value->b).c_str());
    element.append_attribute("a").set_value(formatInt(pair.value->a).c_str());
}

void XmlOArchive::save(const nvp<bool>& pair)
{
    appendElement(pair.name).append_attribute("v").set_value(*pair.value ? "true" : "false");
}

std::string XmlOArchive::text() const
{
    std::ostringstream out;
    mDocument.save(out, "  ", pugi::format_default | pugi::format_no_declaration);
    return out.str();
}

}  // namespace VQ
