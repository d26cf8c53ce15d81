// The scene file reader of sprite objects.

#include <memory>

#include "animationeditor/scene_file_reader.h"
#include "animationeditor/sprite_scene_node.h"
#include "file_system.h"
#include "log_system.h"
#include "utils.h"

namespace AE {

namespace {

// The reader must not reach the image loader's fatal report for a picture
// the content lacks: such an object is only left out.
bool imageAvailable(const std::string& image)
{
    VQ::FileSystem* files = VQ::FileSystem::instance();
    const std::string language = currentLanguage();
    return (!language.empty() && files->contains(language, image)) || files->contains("default", image);
}

struct ClipKeys {
    bool enabled = false;
    VQ::Rect rect;
};

// "clipEnabled" and, only when it is present, the four edges; without it
// `previous` stays.
ClipKeys readClip(pugi::xml_node element, const ClipKeys& previous)
{
    if (!hasAttribute(element, "clipEnabled"))
        return previous;
    ClipKeys c;
    c.enabled = attributeBool(element, "clipEnabled");
    c.rect = VQ::Rect(attributeFloat(element, "clipRectL"), attributeFloat(element, "clipRectT"),
                      attributeFloat(element, "clipRectR"), attributeFloat(element, "clipRectB"));
    return c;
}

}  // namespace

ISceneNode* readSpriteObject(pugi::xml_node object)
{
    const std::string image = attributeString(object, "filename");
    const std::string table = attributeString(object, "tablename");
    const bool plainImage = table == "default";
    // Owned here until returned: a description that stops the load with a
    // fatal report must not leave the node behind.
    auto owned = std::make_unique<SpriteSceneNode>();
    SpriteSceneNode* node = owned.get();
    if (plainImage) {
        if (imageAvailable(image))
            node->setImage(image);
        else
            node->setSprite(nullptr);
    } else {
        node->loadSprite(image, table);
    }
    if (!node->getSprite()) {
        owned.reset();
        if (plainImage)
            VQ::log(VQ::formatString("Failed to create sprite from %s", image.c_str()));
        else
            VQ::log(VQ::formatString("Failed to create sprite from %s %s", image.c_str(), table.c_str()));
        return nullptr;
    }

    node->name = attributeString(object, "name");
    const pugi::xml_node parameters = object.child("Parameters");
    const CommonKeys k = readCommonKeys(parameters);
    const ClipKeys clip = readClip(parameters, ClipKeys());
    // The blend, mask, distortion and clip fields are plain values: setting
    // them after the common keys changes nothing in the result.
    applyCommonKeys(*node, k);
    node->blendMode = attributeInt(parameters, "BlendMode");
    node->maskMode = attributeInt(parameters, "UseStencil");
    node->distortion = attributeBool(parameters, "Distortion");
    node->clipEnabled = clip.enabled;
    node->clipRectL = clip.rect.left;
    node->clipRectT = clip.rect.top;
    node->clipRectR = clip.rect.right;
    node->clipRectB = clip.rect.bottom;

    readLoop(object, *node);
    if (!plainImage)
        loadFrameAnimation(FrameAnimationParams(), *node, table);

    ClipKeys previousClip = clip;
    forEachFrame(object, [&](pugi::xml_node attributes, uint32_t frame) {
        readFrameRecord(attributes, *node, frame);
        const CommonKeys f = readCommonKeys(attributes);
        int32_t sheetFrame = attributeInt(attributes, "frameIndex");
        if (sheetFrame >= 0 && size_t(sheetFrame) >= node->sheetFrames.size())
            sheetFrame = 0;
        previousClip = readClip(attributes, previousClip);
        node->storeKeyFrameValues(frame, f.x, f.y, f.z, f.angle, f.scaleX, f.scaleY, f.color,
                                  attributeInt(attributes, "BlendMode"), f.pivotX, f.pivotY, sheetFrame,
                                  attributeFloat(attributes, "texX"), attributeFloat(attributes, "texY"), f.shear,
                                  attributeBool(attributes, "animFrameIndex"), previousClip.enabled,
                                  previousClip.rect);
    });
    return owned.release();
}

}  // namespace AE
