// Attribute conversions, the common keys, the key-frame walk and the group
// reader of the scene files.

#include "animationeditor/scene_file_reader.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>

#include "animationeditor/frame_data.h"
#include "animationeditor/scene_node.h"
#include "xml_data_reader.h"

namespace AE {

namespace {

// The value clamped to 0..1, NaN as 0.
float unitInterval(float v)
{
    if (!(v > 0.0f))
        return 0.0f;
    return v > 1.0f ? 1.0f : v;
}

}  // namespace

bool hasAttribute(pugi::xml_node element, const char* name)
{
    return bool(element.attribute(name));
}

float attributeFloat(pugi::xml_node element, const char* name, float absent)
{
    const pugi::xml_attribute a = element.attribute(name);
    if (!a)
        return absent;
    return float(std::strtod(a.value(), nullptr));
}

int32_t attributeInt(pugi::xml_node element, const char* name, int32_t absent)
{
    const pugi::xml_attribute a = element.attribute(name);
    return a ? VQ::parseXmlInteger(a.value()) : absent;
}

uint32_t attributeUInt(pugi::xml_node element, const char* name, uint32_t absent)
{
    const pugi::xml_attribute a = element.attribute(name);
    if (!a)
        return absent;
    const char* text = a.value();
    while (std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    bool negative = false;
    if (*text == '-') {
        negative = true;
        ++text;
    }
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    }
    errno = 0;
    unsigned long long value = std::strtoull(text, nullptr, base);
    if (errno == ERANGE || value > std::numeric_limits<uint32_t>::max())
        value = std::numeric_limits<uint32_t>::max();
    // strtoul's rule: a minus sign negates in the unsigned range.
    return negative ? uint32_t(0u - uint32_t(value)) : uint32_t(value);
}

bool attributeBool(pugi::xml_node element, const char* name, bool absent)
{
    const pugi::xml_attribute a = element.attribute(name);
    if (!a)
        return absent;
    const char c = a.value()[0];
    return c == '1' || c == 't' || c == 'T' || c == 'y' || c == 'Y';
}

std::string attributeString(pugi::xml_node element, const char* name)
{
    return element.attribute(name).value();
}

VQ::Color attributeColor(pugi::xml_node element)
{
    return VQ::Color(unitInterval(attributeFloat(element, "R")), unitInterval(attributeFloat(element, "G")),
                     unitInterval(attributeFloat(element, "B")), unitInterval(attributeFloat(element, "A")));
}

Matrix3 attributeShear(pugi::xml_node element)
{
    Matrix3 shear;
    if (!hasAttribute(element, "shear00"))
        return shear;
    shear.m00 = attributeFloat(element, "shear00");
    shear.m01 = attributeFloat(element, "shear01");
    shear.m10 = attributeFloat(element, "shear10");
    shear.m11 = attributeFloat(element, "shear11");
    return shear;
}

CommonKeys readCommonKeys(pugi::xml_node parameters, bool parallaxDefault)
{
    CommonKeys k;
    k.x = attributeFloat(parameters, "X");
    k.y = attributeFloat(parameters, "Y");
    k.z = attributeFloat(parameters, "Z");
    k.angle = attributeFloat(parameters, "angle");
    k.scaleX = attributeFloat(parameters, "scaleX");
    k.scaleY = attributeFloat(parameters, "scaleY");
    k.color = attributeColor(parameters);
    k.pivotX = attributeFloat(parameters, "PivotPointX");
    k.pivotY = attributeFloat(parameters, "PivotPointY");
    k.enabled = attributeBool(parameters, "Enable");
    k.parallaxEnabled = attributeBool(parameters, "ParallaxEnabled", parallaxDefault);
    k.shear = attributeShear(parameters);
    return k;
}

void applyCommonKeys(ISceneNode& node, const CommonKeys& k)
{
    node.setWorldX(k.x);
    node.setWorldY(k.y);
    node.posZ = k.z;
    node.setRotation(k.angle);
    node.setScaleX(k.scaleX);
    node.setScaleY(k.scaleY);
    node.color = k.color;
    node.pivotPoint = VQ::Vector2f(k.pivotX, k.pivotY);
    node.setEnabled(k.enabled);
    node.shear = k.shear;
    node.parallaxEnabled = k.parallaxEnabled;
}

void fillFrameRecord(pugi::xml_node attributes, IFrameData& d)
{
    d.x = attributeFloat(attributes, "X");
    d.y = attributeFloat(attributes, "Y");
    d.bezierX = attributeFloat(attributes, "bezierX");
    d.bezierY = attributeFloat(attributes, "bezierY");
    d.bezierCoeffX = attributeFloat(attributes, "bezierCoeffX");
    d.bezierCoeffY = attributeFloat(attributes, "bezierCoeffY");
    d.bezierPosEnabled = attributeBool(attributes, "bezierPosEnabled");
    d.pivotX = attributeFloat(attributes, "PivotPointX");
    d.pivotY = attributeFloat(attributes, "PivotPointY");
    d.angle = attributeFloat(attributes, "angle");
    d.bezierAngle = attributeFloat(attributes, "bezierAngle");
    d.bezierCoeffAngle = attributeFloat(attributes, "bezierCoeffAngle");
    d.bezierAngleEnabled = attributeBool(attributes, "bezierAngleEnabled");
    d.scaleX = attributeFloat(attributes, "scaleX");
    d.scaleY = attributeFloat(attributes, "scaleY");
    d.bezierScaleX = attributeFloat(attributes, "bezierScaleX");
    d.bezierScaleY = attributeFloat(attributes, "bezierScaleY");
    d.bezierCoeffScaleX = attributeFloat(attributes, "bezierCoeffScaleX");
    d.bezierCoeffScaleY = attributeFloat(attributes, "bezierCoeffScaleY");
    d.bezierScaleEnabled = attributeBool(attributes, "bezierScaleEnabled");
    d.z = attributeFloat(attributes, "Z");
    d.color = attributeColor(attributes);
    d.shear.m00 = attributeFloat(attributes, "shear00");
    d.shear.m01 = attributeFloat(attributes, "shear01");
    d.shear.m10 = attributeFloat(attributes, "shear10");
    d.shear.m11 = attributeFloat(attributes, "shear11");
}

void readFrameRecord(pugi::xml_node attributes, ISceneNode& node, uint32_t frame)
{
    IFrameData d;
    fillFrameRecord(attributes, d);
    node.applyFrameData(frame, d);
}

void readLoop(pugi::xml_node object, ISceneNode& node)
{
    const bool looped = attributeBool(object.child("frames"), "loop");
    node.loop = looped;
    node.animation->looped = looped;
}

void forEachFrame(pugi::xml_node object, const std::function<void(pugi::xml_node, uint32_t)>& read)
{
    for (pugi::xml_node frame : object.child("frames").children("frame"))
        read(frame.child("Attributes"), uint32_t(attributeInt(frame, "StartFrame")));
}

ISceneNode* readGroupObject(pugi::xml_node object)
{
    auto owned = std::make_unique<ISceneNode>();
    ISceneNode* node = owned.get();
    node->name = attributeString(object, "name");
    applyCommonKeys(*node, readCommonKeys(object.child("Parameters")));

    readLoop(object, *node);
    forEachFrame(object, [node](pugi::xml_node attributes, uint32_t frame) {
        readFrameRecord(attributes, *node, frame);
        const CommonKeys f = readCommonKeys(attributes);
        node->storeKeyFrameValues(frame, f.x, f.y, f.z, f.angle, f.scaleX, f.scaleY, f.color, f.shear,
                                  VQ::Vector2f(f.pivotX, f.pivotY));
    });
    return owned.release();
}

}  // namespace AE
