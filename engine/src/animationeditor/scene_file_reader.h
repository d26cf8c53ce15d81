#pragma once
// What the readers of the scene file's node kinds share: the conversions of
// attribute values, the keys most kinds read from "Parameters", the walk
// over an object's key frames, and the readers themselves. A reader builds
// one node from one "Object" element (its children and markers are the
// loader's business) and returns it, or null when the object cannot be
// shown.

#include <cstdint>
#include <functional>
#include <string>

#include <pugixml.hpp>

#include "color.h"
#include "matrix3.h"

namespace AE {

class IFrameData;
class ISceneNode;

// --- Attribute conversions (an absent attribute gives the default) ---
// strtod's rule, narrowed to a float.
float attributeFloat(pugi::xml_node element, const char* name, float absent = 0.0f);
// Optional '-', "0x" or "0X" for base 16, else base 10; saturates to 32 bits.
int32_t attributeInt(pugi::xml_node element, const char* name, int32_t absent = 0);
uint32_t attributeUInt(pugi::xml_node element, const char* name, uint32_t absent = 0);
// True when the text starts with '1', 't', 'T', 'y' or 'Y'.
bool attributeBool(pugi::xml_node element, const char* name, bool absent = false);
std::string attributeString(pugi::xml_node element, const char* name);
bool hasAttribute(pugi::xml_node element, const char* name);
// "R", "G", "B", "A", each clamped to 0..1 (NaN as 0) before packing: other
// values would wrap into another colour.
VQ::Color attributeColor(pugi::xml_node element);
// The shear keys: read only when "shear00" is present (each absent one of
// the four then 0); otherwise the identity.
VQ::Matrix3 attributeShear(pugi::xml_node element);

// --- Keys most kinds read from "Parameters" ---
struct CommonKeys {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float angle = 0.0f;
    float scaleX = 0.0f;
    float scaleY = 0.0f;
    VQ::Color color;
    float pivotX = 0.0f;
    float pivotY = 0.0f;
    bool enabled = false;
    bool parallaxEnabled = true;
    VQ::Matrix3 shear;
};

// "X", "Y", "Z", "angle", "scaleX", "scaleY", the colour, "PivotPointX",
// "PivotPointY", "Enable", "ParallaxEnabled" (default `parallaxDefault`) and
// the shear keys.
CommonKeys readCommonKeys(pugi::xml_node parameters, bool parallaxDefault = true);

// setWorldX, setWorldY, posZ, rotation, scaleX, scaleY, colour, pivot,
// enabled flag, shear and parallax flag, in that order.
void applyCommonKeys(ISceneNode& node, const CommonKeys& keys);

// --- Key frames ---
// Every key of the base record from one frame's "Attributes" (absent ones
// 0, the shear included).
void fillFrameRecord(pugi::xml_node attributes, IFrameData& record);
// The base record of one frame's "Attributes" (every key; absent ones 0, so
// an absent shear is a zero matrix) handed to the node's applyFrameData.
void readFrameRecord(pugi::xml_node attributes, ISceneNode& node, uint32_t frame);
// The "frames" element's "loop" sets the node's loop flag and its
// animation's looped flag.
void readLoop(pugi::xml_node object, ISceneNode& node);
// Calls `read` with each "frame" element's "Attributes" (null when it has
// none) and its "StartFrame", in document order.
void forEachFrame(pugi::xml_node object, const std::function<void(pugi::xml_node, uint32_t)>& read);

// --- The readers, one per kind ---
using SceneObjectReader = ISceneNode* (*)(pugi::xml_node object);

ISceneNode* readGroupObject(pugi::xml_node object);
ISceneNode* readSpriteObject(pugi::xml_node object);
ISceneNode* readTextObject(pugi::xml_node object);
ISceneNode* readParticleObject(pugi::xml_node object);
ISceneNode* readCameraObject(pugi::xml_node object);
ISceneNode* readSoundObject(pugi::xml_node object);

}  // namespace AE
