#pragma once
// The engine's general 2D drawable: a region of a texture drawn as a grid of
// cells, with position, rotation about a centre, scale, mirroring, an
// optional clip rectangle, one colour per grid vertex and, when loaded with a
// mesh, per-vertex geometry. Sprites belong to the sprite manager that made
// them; callers place them, call updateVertices (or transformVertices) and
// then draw.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "color.h"
#include "rect.h"
#include "render_data.h"
#include "vector2.h"

namespace VQ {

class Animation;
class LuaScript2;
class Texture;
class XmlDataReader;
struct SpritePlacement;
struct SpriteExtent;

class Sprite {
public:
    Sprite();
    // An independent copy: its own render data (one more reference on every
    // texture), grid arrays and vertex links.
    Sprite(const Sprite& other);
    Sprite& operator=(const Sprite&) = delete;
    virtual ~Sprite();

    // --- Construction ---
    // Shows the whole texture (32 x 32 without one) as a 1 x 1 grid, replacing
    // whatever the sprite showed before.
    void setTexture(Texture* texture);
    // Fatal when the image cannot be obtained.
    void loadTexture(const std::string& image, const std::string& package);
    // Fatal when the script or the table is missing.
    void loadFromScript(const std::string& script, const std::string& package, const std::string& table);
    // 1 (logged) when the script or the table is missing, else 0.
    int tryLoadFromScript(const std::string& script, const std::string& package, const std::string& table);
    // The description in the table open in `script`.
    void loadFromTable(LuaScript2& script);
    // The description at the reader's current element.
    void loadFromXml(XmlDataReader& reader);

    // --- Placement (a change of 0.001 or more marks the geometry dirty) ---
    void setPositionXY(float x, float y);
    void setPosition(const Vector2f& position) { setPositionXY(position.x, position.y); }
    void setScaleXY(float x, float y);
    void setScale(const Vector2f& scale) { setScaleXY(scale.x, scale.y); }
    void setAngle(float degrees);
    // Always re-lays the grid.
    void setSize(const Vector2f& size);
    void setRotationCenter(const Vector2f& centre);
    void setMirrorH(bool on) { mMirrorH = on; }
    void setMirrorV(bool on) { mMirrorV = on; }
    void setClipEnabled(bool on) { mClipEnabled = on; }
    void setClipRect(const Rect& rect) { mClipRect = rect; }
    void setBlendMode(int32_t mode);
    void markDirty() { mDirty = true; }

    const Vector2f& position() const { return mPosition; }
    const Vector2f& scale() const { return mScale; }
    float angle() const { return mAngle; }
    const Vector2f& size() const { return mSize; }
    const Vector2f& rotationCenter() const { return mRotationCenter; }
    bool mirrorH() const { return mMirrorH; }
    bool mirrorV() const { return mMirrorV; }
    bool clipEnabled() const { return mClipEnabled; }
    const Rect& clipRect() const { return mClipRect; }
    bool dirty() const { return mDirty; }
    bool hasMesh() const { return mHasMesh; }

    // --- Colours, grid and texture region ---
    // Every vertex colour.
    void setColor(const Color& color);
    // Vertex (col, row); fatal outside the grid.
    void setGridVertex(const Vector2f& position, uint32_t col, uint32_t row);
    void setGridTexCoord(const Vector2f& uv, uint32_t col, uint32_t row);
    Vector2f* gridTexCoord(uint32_t col, uint32_t row);
    // An index past the list appends the rect at the end.
    void setSourceRect(uint32_t index, const Rect& rect, bool update);
    // Source rect 0 from texture-relative units.
    void setSourceRectNormalized(const Rect& rect);
    const std::vector<Rect>& sourceRects() const { return mSourceRects; }
    // Spreads source rect 0 over the grid (texture pixels).
    void updateTexCoords();
    void layoutGridVertices();

    uint32_t cols() const { return mCols; }
    uint32_t rows() const { return mRows; }
    uint32_t vertexCount() const { return uint32_t(mBaseVertices.size()); }
    const Vector2f& baseVertex(uint32_t index) const { return mBaseVertices[index]; }
    const Vector2f& texCoord(uint32_t index) const { return mTexCoords[index]; }
    Color vertexColor(uint32_t index) const { return *mVertexColors[index]; }
    void setVertexColor(uint32_t index, const Color& color) { *mVertexColors[index] = color; }
    // The drawn position of grid vertex `index`.
    Vector2f drawnPosition(uint32_t index) const { return Vector2f(mVertexPositions[index][0], mVertexPositions[index][1]); }
    const Vector2f& texelScale() const { return mTexelScale; }
    // The first texture of the quad, or null.
    Texture* texture() const;
    const RenderData* quadRenderData() const { return mQuad.get(); }
    const RenderData* meshRenderData() const { return mMesh.get(); }

    // --- Geometry and drawing ---
    // From the sprite's own position, scale and rotation, when dirty.
    void updateVertices();
    // From the base vertices through a row-vector 3 x 3 matrix (m[6], m[7]
    // the translation); the sprite's own placement is rebuilt next time.
    void transformVertices(const float matrix[9]);
    // One quad per grid cell to the render system.
    void draw();

    // Binds position, angle, scale, rotation centre, the vertex colours and
    // source rect 0 (and with a mesh every vertex) to parameters of `animation`.
    // The animation must not run after the sprite is gone.
    void bindAnimation(Animation& animation);

private:
    // The placement and extent a description gave, whichever form it came in.
    void applyPlacement(const SpritePlacement& placement, const SpriteExtent& extent);
    void newQuad();
    // (cols + 1) x (rows + 1) grid arrays for the current counts.
    void allocateGrid();
    // A new mesh render data for the grid, its vertex links, every colour set.
    void buildMesh(const Color& color);
    void spreadDefaultTexCoords();
    // The grid of cols x rows cells, laid out flat with the default texture
    // coordinates.
    void rebuildGrid(uint32_t cols, uint32_t rows);
    // The mesh in `color`, then each listed vertex in its own colour.
    void buildMeshWithColors(const Color& color, const std::vector<Color>& vertexColors);
    void finishLoading();
    uint32_t gridIndex(uint32_t col, uint32_t row, int line) const;
    void loadMeshFromTable(LuaScript2& script, const Color& color);
    void loadMeshFromXml(XmlDataReader& reader, const Color& color);

    std::unique_ptr<RenderData> mQuad;
    std::unique_ptr<RenderData> mMesh;
    float mAngle = 0.0f;
    std::vector<Rect> mSourceRects;
    Vector2f mPosition{0.0f, 0.0f};
    Vector2f mRotationCenter{0.0f, 0.0f};
    Vector2f mScale{1.0f, 1.0f};
    Vector2f mSize{0.0f, 0.0f};
    Rect mClipRect;
    bool mClipEnabled = false;
    bool mMirrorH = false;
    bool mMirrorV = false;
    std::vector<Vector2f> mBaseVertices;
    uint32_t mCols = 0;
    uint32_t mRows = 0;
    // Point into the mesh render data's vertex storage.
    std::vector<float*> mVertexPositions;
    std::vector<Color*> mVertexColors;
    bool mDirty = true;
    bool mHasMesh = false;
    std::vector<Vector2f> mTexCoords;
    Vector2f mTexelScale{0.0f, 0.0f};
};

}  // namespace VQ
