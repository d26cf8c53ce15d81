// The sprite scene node: its sprite, the per-frame step, drawing with masks
// and distortion, and the hit test.

#include "animationeditor/sprite_scene_node.h"

#include "animationeditor/scene_stencil.h"

#include "animation.h"
#include "config_manager.h"
#include "file_system.h"
#include "render_system.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "xml_cached_files_manager.h"
#include "xml_data_reader.h"

namespace AE {

namespace {

VQ::SpriteManager<VQ::Sprite>* sprites()
{
    return VQ::SpriteManager<VQ::Sprite>::instance();
}

}  // namespace

std::string currentLanguage()
{
    return VQ::ConfigManager::exists() ? VQ::ConfigManager::instance()->currentLanguage() : std::string();
}

std::string imagePackage(const std::string& image)
{
    const std::string language = currentLanguage();
    if (!language.empty() && VQ::FileSystem::exists() && VQ::FileSystem::instance()->contains(language, image))
        return language;
    return "default";
}

SpriteSceneNode::SpriteSceneNode() : sprite(sprites()->createSpriteFromTexture(nullptr))
{
    bindSpriteTracks();
    newSheetAnimation();
}

SpriteSceneNode::SpriteSceneNode(const SpriteSceneNode& source, ISceneNode* newParent)
    : ISceneNode(source, newParent),
      // A source without a sprite has nothing to copy; loading its file name
      // as an image would stop the program when it names a description.
      sprite(source.sprite ? sprites()->cloneSprite(source.sprite) : nullptr),
      blendMode(source.blendMode),
      distortion(source.distortion),
      srcRect(source.srcRect),
      animFrameIndex(source.animFrameIndex),
      clipEnabled(source.clipEnabled),
      clipRectL(source.clipRectL),
      clipRectT(source.clipRectT),
      clipRectR(source.clipRectR),
      clipRectB(source.clipRectB),
      maskMode(source.maskMode)
{
    bindSpriteTracks();
    *frameIndexInterpolation = animFrameIndex;
    newSheetAnimation();
    for (size_t i = 0; i < source.sheetFrameCount(); ++i)
        appendSheetFrame(source.sheetFrameRect(i), source.sheetFrames.size() > i ? source.sheetFrames[i] : int32_t(i));
}

SpriteSceneNode::~SpriteSceneNode()
{
    sheetAnimation.reset();
    sheetFrames.clear();
    if (sprite)
        sprites()->releaseSprite(sprite);
    sprite = nullptr;
}

ISceneNode* SpriteSceneNode::clone(ISceneNode* newParent) const
{
    return new SpriteSceneNode(*this, newParent);
}

void SpriteSceneNode::bindSpriteTracks()
{
    SceneNodeAnimation& a = *animation;
    a.bind("blendMode", &blendMode, false);
    a.bind("frameIndex", &frameIndex, false);
    a.bind("animFrameIndex", &animFrameIndex);
    a.bind("texPos", &texPos);
    a.bind("clipEnabled", &clipEnabled);
    a.bind("clipRectL", &clipRectL);
    a.bind("clipRectR", &clipRectR);
    a.bind("clipRectT", &clipRectT);
    a.bind("clipRectB", &clipRectB);
    frameIndexInterpolation = &a.interpolationFlag("frameIndex");
}

void SpriteSceneNode::newSheetAnimation()
{
    sheetAnimation = std::make_unique<VQ::Animation>();
    sheetAnimation->bindRect("srcRect", &srcRect);
}

size_t SpriteSceneNode::sheetFrameCount() const
{
    return sheetAnimation->frameCount();
}

VQ::Rect SpriteSceneNode::sheetFrameRect(size_t index) const
{
    return *sheetAnimation->rectKeyAt("srcRect", unsigned(index));
}

void SpriteSceneNode::appendSheetFrame(const VQ::Rect& rect, int32_t entry)
{
    sheetAnimation->addFrame(0.0f);
    *sheetAnimation->rectKeyAt("srcRect", unsigned(sheetAnimation->frameCount() - 1)) = rect;
    sheetFrames.push_back(entry);
}

void SpriteSceneNode::takeSourceRect()
{
    srcRect = sprite && !sprite->sourceRects().empty() ? sprite->sourceRects().front() : VQ::Rect();
}

// --- The sprite ---

void SpriteSceneNode::setSprite(VQ::Sprite* newSprite)
{
    if (newSprite == sprite)
        return;
    if (sprite)
        sprites()->releaseSprite(sprite);
    sprite = newSprite;
    if (sprite)
        takeSourceRect();
}

void SpriteSceneNode::setImage(const std::string& image)
{
    if (!sprite)
        sprite = sprites()->createSpriteFromTexture(nullptr);
    sprite->loadTexture(image, imagePackage(image));
    fileName = image;
    srcRect = VQ::Rect(0.0f, 0.0f, sprite->size().x, sprite->size().y);
}

void SpriteSceneNode::loadSprite(const std::string& image, const std::string& table)
{
    if (sprite)
        sprites()->releaseSprite(sprite);
    sprite = nullptr;
    if (effectsLevel <= 0) {
        sprite = sprites()->tryCreateSpriteFromScript(image, table, "default");
    } else {
        VQ::XmlCachedFilesManager* cache = VQ::XmlCachedFilesManager::instance();
        VQ::XmlDataReader* reader = cache->getReader(currentLanguage(), image);
        const pugi::xml_node described = reader->currentNode().child(table.c_str());
        if (described) {
            reader->setCurrentNode(described);
            sprite = sprites()->createSpriteFromXml(*reader);
        } else {
            sprite = sprites()->tryCreateSpriteFromScript(image, table, "default");
        }
        cache->releaseReader(reader);
    }
    if (!sprite)
        return;
    fileName = image;
    tableName = table;
    takeSourceRect();
}

// --- Per frame ---

void SpriteSceneNode::updateDerived(float dt)
{
    ISceneNode::updateDerived(dt);
    if (!sprite)
        return;
    if (frameIndex >= 0 && size_t(frameIndex) < sheetAnimation->frameCount())
        srcRect = *sheetAnimation->rectKeyAt("srcRect", unsigned(frameIndex));
    shownRect = VQ::Rect(srcRect.left + texPos.x, srcRect.top + texPos.y, srcRect.right + texPos.x,
                         srcRect.bottom + texPos.y);
    sprite->setBlendMode(blendMode);
    *frameIndexInterpolation = animFrameIndex;
}

VQ::Vector2f SpriteSceneNode::getReferencePoint() const
{
    return VQ::Vector2f(worldMatrix.m20, worldMatrix.m21);
}

VQ::Vector2f SpriteSceneNode::getSize() const
{
    return sprite ? sprite->size() : VQ::Vector2f(0.0f, 0.0f);
}

void SpriteSceneNode::setSize(const VQ::Vector2f& size)
{
    if (sprite)
        sprite->setSize(size);
}

// --- Drawing ---

SpriteSceneNode* SpriteSceneNode::findMask() const
{
    return findMaskNode(*this);
}

void SpriteSceneNode::render()
{
    if (!sprite || !enabled || worldColor.a <= 1)
        return;
    sprite->setSourceRect(0, shownRect, true);
    sprite->setRotationCenter(VQ::Vector2f(0.0f, 0.0f));
    if (sprite->clipEnabled() != clipEnabled) {
        sprite->setClipEnabled(clipEnabled);
        sprite->markDirty();
    }
    if (clipEnabled) {
        const Matrix3& m = worldMatrix;
        auto mapX = [&m](float x, float y) { return x * m.m00 + y * m.m10 + m.m20; };
        auto mapY = [&m](float x, float y) { return x * m.m01 + y * m.m11 + m.m21; };
        sprite->setClipRect(VQ::Rect(mapX(clipRectL, clipRectT), mapY(clipRectL, clipRectT),
                                     mapX(clipRectR, clipRectB), mapY(clipRectR, clipRectB)));
    }
    applyCamera();
    sprite->setColor(worldColor);
    if (blendMode >= 0 && blendMode <= 3)
        sprite->setBlendMode(blendMode);

    VQ::RenderSystem* render = VQ::RenderSystem::instance();
    if (maskMode == 2) {
        SpriteSceneNode* mask = findMask();
        if (mask && mask != activeClipNode) {
            render->clearStencil();
            drawMask(mask);
        }
        if (mask)
            render->useStencilMask();
    }
    if (distortion)
        render->beginDistortion();
    if (maskMode != 1) {
        sprite->transformVertices(&worldMatrix.m00);
        sprite->draw();
    }
    if (maskMode == 2)
        render->disableStencil();
    if (distortion)
        render->endDistortion();
}

void SpriteSceneNode::drawMask(SpriteSceneNode* mask)
{
    if (!mask || mask->maskMode != 1)
        return;
    VQ::RenderSystem* render = VQ::RenderSystem::instance();
    render->beginStencilMask();
    if (mask->sprite) {
        mask->sprite->transformVertices(&mask->worldMatrix.m00);
        mask->sprite->draw();
    }
    render->endStencilMask();
    activeClipNode = mask;
}

bool SpriteSceneNode::hitTest(float x, float y, bool checkAlpha)
{
    if (checkAlpha && worldColor.a == 0)
        return false;
    if (!sprite || scaleX < 0.0001f || scaleY < 0.0001f)
        return false;
    const VQ::Vector2f size = getSize();
    const Matrix3& m = worldMatrix;
    const VQ::Vector2f u(m.m00 * size.x, m.m01 * size.x);
    const VQ::Vector2f v(m.m10 * size.y, m.m11 * size.y);
    const VQ::Vector2f p(x - m.m20, y - m.m21);
    const VQ::Vector2f c = basisCoefficients(u, v, p);
    if (c.x >= 0.0f && c.x <= 1.0f && c.y >= 0.0f && c.y <= 1.0f)
        return true;
    return ISceneNode::hitTest(x, y, checkAlpha);
}

}  // namespace AE
