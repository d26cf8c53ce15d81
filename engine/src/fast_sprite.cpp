#include "fast_sprite.h"

#include <cmath>

#include "fatal_error.h"
#include "lua_script_2.h"
#include "render_system.h"
#include "sprite_description.h"
#include "texture.h"
#include "texture_manager.h"

namespace VQ {

namespace {
const char* const FILE_TAG = "fast_sprite";
const Color WHITE(0xFFFFFFFFu);
}  // namespace

FastSprite::~FastSprite() = default;

void FastSprite::newRenderData()
{
    mRenderData = std::make_unique<RenderData>();
    allocateSpriteVertices(*mRenderData, 4);
    linkCorners();
}

void FastSprite::linkCorners()
{
    VertexAccess access(*mRenderData);
    for (uint32_t i = 0; i < 4; ++i)
        mCorners[i] = access.position(i);
}

void FastSprite::loadFromScript(const std::string& script, const std::string& table, const std::string& package)
{
    const int result = readSpriteTable(script, package, table, [&](LuaScript2& lua) { loadFromTable(lua); });
    if (result != 0)
        reportSpriteTableFailure(result == 2, script, package, table, FILE_TAG, 94, 99);
}

void FastSprite::loadFromTable(LuaScript2& script)
{
    newRenderData();
    LuaSpriteDescription description(script);
    const SpritePlacement placement = readSpritePlacement(description);
    position = placement.position;
    mirrorH = placement.mirrorH;
    mirrorV = placement.mirrorV;
    angle = placement.angle;
    Color color;
    if (!description.readColor("Color", color))
        color = WHITE;
    mRenderData->blendMode = placement.blendMode;
    readSpriteTextures(description, *mRenderData, sourceRects, FILE_TAG, 553);
    const SpriteExtent extent = readSpriteExtent(description, *mRenderData, sourceRects);
    size = extent.size;
    rotationCenter = extent.rotationCenter;
    clipRect = extent.clipRect;
    mTexelScale = texelScaleOf(*mRenderData);
    setColor(color);
    updateTexCoords();
}

void FastSprite::setTexture(Texture* texture)
{
    newRenderData();
    position = Vector2f(0.0f, 0.0f);
    angle = 0.0f;
    mirrorH = mirrorV = false;
    const SpriteExtent extent = showWholeTexture(*mRenderData, texture, sourceRects);
    size = extent.size;
    rotationCenter = extent.rotationCenter;
    clipRect = extent.clipRect;
    mTexelScale = texelScaleOf(*mRenderData);
    setColor(WHITE);
    updateTexCoords();
}

void FastSprite::loadTexture(const std::string& image, const std::string& package)
{
    Texture* texture = TextureManager::instance()->getTexture(image, package);
    if (!texture)
        assertFailed("VQ", "Failed to load texture", FILE_TAG, 578);
    setTexture(texture);
}

void FastSprite::setSourceRect(uint32_t index, const Rect& rect)
{
    if (index >= sourceRects.size())
        sourceRects.push_back(rect);
    else
        sourceRects[index] = rect;
    updateTexCoords();
}

void FastSprite::updateTexCoords()
{
    if (sourceRects.empty() || !mRenderData)
        return;
    const Rect& r = sourceRects[0];
    const float sx = mTexelScale.x;
    const float sy = mTexelScale.y;
    const float u[4] = {r.left * sx, r.right * sx, r.right * sx, r.left * sx};
    const float v[4] = {r.top * sy, r.top * sy, r.bottom * sy, r.bottom * sy};
    VertexAccess access(*mRenderData);
    for (uint32_t i = 0; i < 4; ++i) {
        float* uv = access.texCoord(i);
        uv[0] = u[i];
        uv[1] = v[i];
    }
    mCoordsAltered = false;
}

void FastSprite::setColor(const Color& color)
{
    if (!mRenderData)
        return;
    VertexAccess access(*mRenderData);
    for (uint32_t i = 0; i < 4; ++i)
        *access.color(i) = color;
}

Color FastSprite::cornerColor(uint32_t corner) const
{
    if (!mRenderData || corner >= 4)
        return Color();
    VertexAccess access(*mRenderData);
    return *access.color(FAST_SPRITE_CORNER_VERTEX[corner]);
}

void FastSprite::setClipEnabled(bool on)
{
    if (on == mClipEnabled)
        return;
    mClipEnabled = on;
    if (!on)
        updateTexCoords();
}

// The corners before rotation, vertices 0 to 3.
static void unrotatedCorners(const FastSprite& s, Vector2f out[4])
{
    const float w = s.size.x * s.scale.x;
    const float h = s.size.y * s.scale.y;
    out[0] = s.position;
    out[1] = Vector2f(s.position.x + w, s.position.y);
    out[2] = Vector2f(s.position.x + w, s.position.y + h);
    out[3] = Vector2f(s.position.x, s.position.y + h);
}

void FastSprite::draw()
{
    if (!mRenderData)
        return;
    Vector2f p[4];
    unrotatedCorners(*this, p);
    // Angles within a degree of zero draw unrotated: no sine or cosine.
    if (std::fabs(angle) > 1.0f) {
        const Vector2f c(position.x + rotationCenter.x, position.y + rotationCenter.y);
        const float theta = angle * 0.017453292f;
        const float cs = std::cos(theta);
        const float sn = std::sin(theta);
        for (Vector2f& q : p) {
            const float dx = q.x - c.x;
            const float dy = q.y - c.y;
            q = Vector2f(c.x + dx * cs - dy * sn, c.y + dx * sn + dy * cs);
        }
    }
    for (uint32_t i = 0; i < 4; ++i) {
        mCorners[i][0] = p[i].x;
        mCorners[i][1] = p[i].y;
    }
    const Rect source = getSourceRect();
    clipCorners(clipShiftFactor(source.width(), size.x, scale.x), clipShiftFactor(source.height(), size.y, scale.y));
    submit();
}

void FastSprite::drawTransformed(const float m[9])
{
    if (!mRenderData)
        return;
    Vector2f p[4];
    unrotatedCorners(*this, p);
    for (uint32_t i = 0; i < 4; ++i) {
        mCorners[i][0] = p[i].x * m[0] + p[i].y * m[3] + m[6];
        mCorners[i][1] = p[i].x * m[1] + p[i].y * m[4] + m[7];
    }
    const float epsilon = 1.1920929e-7f;
    clipCorners(std::fabs(scale.x) > epsilon ? 1.0f : 0.0f, std::fabs(scale.y) > epsilon ? 1.0f : 0.0f);
    submit();
}

void FastSprite::clipCorners(float perUnitX, float perUnitY)
{
    if (!mClipEnabled) {
        // Mirroring works on an unclipped sprite too: the coordinates are
        // rewritten only while a flag asks for it or an earlier draw
        // changed them.
        if (mirrorH || mirrorV || mCoordsAltered) {
            updateTexCoords();
            applyMirror();
        }
        return;
    }
    const float dx = mCorners[1][0] - mCorners[0][0];
    const float dy = mCorners[3][1] - mCorners[0][1];
    updateTexCoords();
    VertexAccess access(*mRenderData);
    for (uint32_t i = 0; i < 4; ++i) {
        float* pos = mCorners[i];
        const float xc = middleOf(pos[0], clipRect.left, clipRect.right);
        const float yc = middleOf(pos[1], clipRect.top, clipRect.bottom);
        float* uv = access.texCoord(i);
        if (std::fabs(dx) > 1e-10f)
            uv[0] += -(pos[0] - xc) * mTexelScale.x * perUnitX;
        if (std::fabs(dy) > 1e-10f)
            uv[1] += -(pos[1] - yc) * mTexelScale.y * perUnitY;
        pos[0] = xc;
        pos[1] = yc;
    }
    applyMirror();
    mCoordsAltered = true;
}

void FastSprite::applyMirror()
{
    if (!mirrorH && !mirrorV)
        return;
    VertexAccess access(*mRenderData);
    for (uint32_t i = 0; i < 4; ++i) {
        float* uv = access.texCoord(i);
        if (mirrorH)
            uv[0] = 1.0f - uv[0];
        if (mirrorV)
            uv[1] = 1.0f - uv[1];
    }
    mCoordsAltered = true;
}

void FastSprite::submit()
{
    RenderSystem::instance()->drawRenderData(mRenderData.get());
}

}  // namespace VQ
