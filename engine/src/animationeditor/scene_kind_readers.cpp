// The scene file readers of the text, particle, camera and sound kinds.

#include "animationeditor/frame_data.h"
#include "animationeditor/movie_camera.h"
#include "animationeditor/particle_scene_node.h"
#include "animationeditor/scene_file_reader.h"
#include "animationeditor/sound_scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "sound_system/sound_manager.h"
#include "ui/text_manager.h"

namespace AE {

namespace {

// The node's place from "X" and "Y", as every reader sets it.
void placeNode(ISceneNode& node, float x, float y)
{
    node.setWorldX(x);
    node.setWorldY(y);
}

}  // namespace

ISceneNode* readTextObject(pugi::xml_node object)
{
    auto* node = new TextSceneNode(attributeString(object, "filename"), std::u16string());
    node->name = attributeString(object, "name");
    const pugi::xml_node p = object.child("Parameters");
    applyCommonKeys(*node, readCommonKeys(p));
    node->autoScale = attributeBool(p, "AutoScale", node->autoScale);

    node->rawText = VQ::ansiToWide(attributeString(p, "Text"));
    node->updateText();
    node->wordWrap = attributeBool(p, "WordWrap");
    node->clipping = attributeBool(p, "Clipping");
    node->localized = attributeBool(p, "LocaleEnable");
    node->updateText();

    node->xcoeff = attributeFloat(p, "XCoeff");
    node->ycoeff = attributeFloat(p, "YCoeff");
    node->valign = attributeUInt(p, "VAlign");
    node->halign = attributeUInt(p, "HAlign");
    node->pixelPrecision = attributeBool(p, "PixelPrec");
    node->setSize(VQ::Vector2f(attributeFloat(p, "TextAreaX"), attributeFloat(p, "TextAreaY")));
    node->clipLT = VQ::Vector2f(attributeFloat(p, "ClipRect0"), attributeFloat(p, "ClipRect1"));
    node->clipRB = VQ::Vector2f(attributeFloat(p, "ClipRect2"), attributeFloat(p, "ClipRect3"));
    node->maxChar = attributeInt(p, "MaxChar");
    node->presetName = attributeString(p, "Preset");
    node->setUsePreset(node->usePreset);
    node->setUsePreset(attributeBool(p, "UsePreset"));
    node->stencil = attributeBool(p, "Stencil");
    node->distortion = attributeBool(p, "Distortion");

    readLoop(object, *node);
    // One record serves every frame: each frame sets all of its values.
    TextFrameData record;
    forEachFrame(object, [node, &record](pugi::xml_node a, uint32_t frame) {
        fillFrameRecord(a, record);
        record.shear = attributeShear(a);
        record.textArea = VQ::Vector2f(attributeFloat(a, "TextAreaX"), attributeFloat(a, "TextAreaY"));
        record.clipLT = VQ::Vector2f(attributeFloat(a, "ClipRect0"), attributeFloat(a, "ClipRect1"));
        record.clipRB = VQ::Vector2f(attributeFloat(a, "ClipRect2"), attributeFloat(a, "ClipRect3"));
        record.xcoeff = attributeFloat(a, "XCoeff");
        record.ycoeff = attributeFloat(a, "YCoeff");
        record.halign = attributeUInt(a, "HAlign");
        record.valign = attributeUInt(a, "VAlign");
        record.maxChar = attributeInt(a, "MaxChar");
        node->applyFrameData(frame, record);
    });
    return node;
}

ISceneNode* readParticleObject(pugi::xml_node object)
{
    auto* node = new ParticleSceneNode();
    // An effect that cannot be loaded leaves a node that shows nothing.
    node->setEffect(attributeString(object, "filename"));
    node->name = attributeString(object, "name");
    const pugi::xml_node p = object.child("Parameters");
    placeNode(*node, attributeFloat(p, "X"), attributeFloat(p, "Y"));
    node->posZ = attributeFloat(p, "Z");
    node->setEnabled(attributeBool(p, "Enable"));
    node->emitCoef = attributeFloat(p, "emitCoef");
    node->pivotPoint = VQ::Vector2f(0.0f, 0.0f);
    node->stencil = attributeBool(p, "Stencil");
    node->distortion = attributeBool(p, "Distortion");
    node->parallaxEnabled = attributeBool(p, "ParallaxEnabled", true);

    readLoop(object, *node);
    forEachFrame(object, [node](pugi::xml_node a, uint32_t frame) {
        readFrameRecord(a, *node, frame);
        node->writeKeyFrame(attributeFloat(a, "X"), attributeFloat(a, "Y"), attributeFloat(a, "Z"),
                            attributeFloat(a, "emitCoef"), attributeFloat(a, "PivotPointX"),
                            attributeFloat(a, "PivotPointY"), attributeInt(a, "play"), frame);
    });
    if (hasAttribute(p, "color")) {
        const uint8_t c = uint8_t(attributeInt(p, "color"));
        node->color = VQ::Color::fromBytes(c, c, c, c);
    } else {
        node->color = VQ::Color(0xFFFFFFFFu);
    }
    node->worldColor = node->color;
    return node;
}

ISceneNode* readCameraObject(pugi::xml_node object)
{
    auto* node = new MovieCamera();
    node->name = attributeString(object, "name");
    const pugi::xml_node p = object.child("Parameters");
    const CommonKeys k = readCommonKeys(p, false);
    placeNode(*node, k.x, k.y);
    node->posZ = k.z;
    node->setRotation(k.angle);
    node->pivotPoint = VQ::Vector2f(k.pivotX, attributeFloat(p, "PivotPoint.y"));
    node->setEnabled(k.enabled);
    node->parallaxCoef = attributeFloat(p, "parallaxCoef");
    node->setScaleX(k.scaleX);
    node->setScaleY(k.scaleY);
    node->parallaxEnabled = hasAttribute(p, "ParallaxEnabled") ? k.parallaxEnabled
                                                                 : attributeBool(p, "parallaxEnable");

    readLoop(object, *node);
    forEachFrame(object, [node](pugi::xml_node a, uint32_t frame) {
        readFrameRecord(a, *node, frame);
        node->writeKeyFrame(attributeFloat(a, "angle"), frame, VQ::Vector2f(attributeFloat(a, "X"), attributeFloat(a, "Y")),
                            VQ::Vector2f(attributeFloat(a, "scaleX"), attributeFloat(a, "scaleY")));
    });
    for (pugi::xml_node a : object.child("Activationframes").children("Attribute"))
        node->addActivationFrame(attributeInt(a, "startFrame"));
    return node;
}

ISceneNode* readSoundObject(pugi::xml_node object)
{
    auto* node = new SoundSceneNode();
    const std::string file = attributeString(object, "filename");
    placeNode(*node, 0.0f, 0.0f);
    node->name = attributeString(object, "name");
    const pugi::xml_node p = object.child("Parameters");
    const float volume = attributeFloat(p, "Volume");
    const bool enabled = attributeBool(p, "Enable");
    node->createSound(file, attributeInt(p, "SoundGroup"));
    if (node->handle != 0 && VQ::SoundManager::exists())
        VQ::SoundManager::instance()->setSoundVolume(node->handle, volume);
    node->play = attributeBool(p, "Playing") ? 1 : 0;
    node->setEnabled(enabled);
    node->volume = volume;

    readLoop(object, *node);
    placeNode(*node, attributeFloat(p, "X"), attributeFloat(p, "Y"));
    node->posZ = attributeFloat(p, "Z");
    node->setRotation(attributeFloat(p, "Angle"));
    node->pivotPoint = VQ::Vector2f(attributeFloat(p, "PivotPointX"), attributeFloat(p, "PivotPoint.y"));
    node->setEnabled(enabled);
    node->fading = attributeBool(p, "fading");
    node->setPriority(attributeInt(p, "priority"));
    node->parallaxEnabled = attributeBool(p, "ParallaxEnabled", true);

    forEachFrame(object, [node](pugi::xml_node a, uint32_t frame) {
        readFrameRecord(a, *node, frame);
        node->color = attributeColor(a);
        node->writeKeyFrame(frame, attributeInt(a, "playSound"), attributeFloat(a, "Volume"));
    });
    node->color = attributeColor(p);
    node->worldColor = node->color;
    return node;
}

}  // namespace AE
