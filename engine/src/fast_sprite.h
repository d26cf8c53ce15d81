#pragma once
// The light sprite: always one quad, no mesh, no cached geometry; its four
// corners are computed from position, size, scale and angle at every draw.
// Fonts draw each glyph with one. Owned by the fast-sprite manager; owners
// set its fields directly between draws.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "color.h"
#include "rect.h"
#include "render_data.h"
#include "vector2.h"

namespace VQ {

class LuaScript2;
class Texture;

// Vertex index of each corner in reading order (top-left, top-right,
// bottom-left, bottom-right); the quad's vertices go round it.
constexpr uint32_t FAST_SPRITE_CORNER_VERTEX[4] = {0, 1, 3, 2};

class FastSprite {
public:
    FastSprite() = default;
    FastSprite(const FastSprite&) = delete;
    FastSprite& operator=(const FastSprite&) = delete;
    virtual ~FastSprite();

    // Fatal when the script or the table is missing.
    void loadFromScript(const std::string& script, const std::string& table, const std::string& package);
    void loadFromTable(LuaScript2& script);
    // Shows the whole texture (32 x 32 without one).
    void setTexture(Texture* texture);
    // Fatal when the image cannot be obtained.
    void loadTexture(const std::string& image, const std::string& package);

    // An index past the list appends the rect at the end.
    void setSourceRect(uint32_t index, const Rect& rect);
    Rect getSourceRect() const { return sourceRects.empty() ? Rect() : sourceRects[0]; }
    void updateTexCoords();
    void setColor(const Color& color);
    // The colour of a corner (reading order); 0 before the sprite is loaded.
    Color cornerColor(uint32_t corner) const;
    // Turning clipping off restores the unclipped texture coordinates.
    void setClipEnabled(bool on);
    void setClipRect(const Rect& rect) { clipRect = rect; }
    bool clipEnabled() const { return mClipEnabled; }

    // Corners from the own placement (rotated only beyond 1 degree).
    void draw();
    // Corners through a row-vector 3 x 3 matrix (m[6], m[7] the translation).
    void drawTransformed(const float matrix[9]);

    const RenderData* renderData() const { return mRenderData.get(); }
    const Vector2f& texelScale() const { return mTexelScale; }

    float angle = 0.0f;
    std::vector<Rect> sourceRects;
    Vector2f position{0.0f, 0.0f};
    Vector2f rotationCenter{0.0f, 0.0f};
    Vector2f scale{1.0f, 1.0f};
    Vector2f size{0.0f, 0.0f};
    Rect clipRect;
    bool mirrorH = false;
    bool mirrorV = false;

private:
    void newRenderData();
    void linkCorners();
    // Clamps the corners to the clip rectangle; `perUnitX/Y` turn a clipped
    // distance into a texture-space shift before the texel scale.
    void clipCorners(float perUnitX, float perUnitY);
    void applyMirror();
    void submit();

    bool mClipEnabled = false;
    // The texture coordinates differ from the plain spread of source rect 0.
    bool mCoordsAltered = false;
    Vector2f mTexelScale{0.0f, 0.0f};
    std::unique_ptr<RenderData> mRenderData;
    float* mCorners[4] = {};
};

}  // namespace VQ
