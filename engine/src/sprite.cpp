#include "sprite.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "animation.h"
#include "fatal_error.h"
#include "function.h"
#include "log_system.h"
#include "lua_script_2.h"
#include "render_system.h"
#include "sprite_description.h"
#include "texture.h"
#include "texture_manager.h"
#include "xml_data_reader.h"

namespace VQ {

namespace {

const char* const FILE_TAG = "sprite";
const Color WHITE(0xFFFFFFFFu);

// A change of 0.001 or more (or a NaN difference) moves the geometry.
bool moved(float from, float to)
{
    return !(std::fabs(from - to) < 0.001f);
}

}  // namespace

Sprite::Sprite() = default;

Sprite::Sprite(const Sprite& other)
    : mAngle(other.mAngle),
      mSourceRects(other.mSourceRects),
      mPosition(other.mPosition),
      mRotationCenter(other.mRotationCenter),
      mScale(other.mScale),
      mSize(other.mSize),
      mClipRect(other.mClipRect),
      mClipEnabled(other.mClipEnabled),
      mMirrorH(other.mMirrorH),
      mMirrorV(other.mMirrorV),
      mBaseVertices(other.mBaseVertices),
      mCols(other.mCols),
      mRows(other.mRows),
      mDirty(other.mDirty),
      mHasMesh(other.mHasMesh),
      mTexCoords(other.mTexCoords)
{
    if (other.mQuad)
        mQuad = std::make_unique<RenderData>(*other.mQuad);
    if (other.mMesh) {
        mMesh = std::make_unique<RenderData>(*other.mMesh);
        const uint32_t n = uint32_t(mBaseVertices.size());
        VertexAccess access(*mMesh);
        mVertexPositions.resize(n);
        mVertexColors.resize(n);
        for (uint32_t i = 0; i < n; ++i) {
            mVertexPositions[i] = access.position(i);
            mVertexColors[i] = access.color(i);
        }
    }
    updateTexCoords();
    mTexelScale = mMesh ? texelScaleOf(*mMesh) : Vector2f(0.0f, 0.0f);
}

Sprite::~Sprite() = default;

// ---------------------------------------------------------------------------
// Construction

void Sprite::newQuad()
{
    mQuad = std::make_unique<RenderData>();
    allocateSpriteVertices(*mQuad, 4);
}

void Sprite::allocateGrid()
{
    const size_t n = size_t(mCols + 1) * (mRows + 1);
    mBaseVertices.assign(n, Vector2f(0.0f, 0.0f));
    mTexCoords.assign(n, Vector2f(0.0f, 0.0f));
}

void Sprite::buildMesh(const Color& color)
{
    const uint32_t n = uint32_t(mBaseVertices.size());
    mMesh = std::make_unique<RenderData>();
    allocateSpriteVertices(*mMesh, n);
    VertexAccess access(*mMesh);
    mVertexPositions.resize(n);
    mVertexColors.resize(n);
    for (uint32_t i = 0; i < n; ++i) {
        mVertexPositions[i] = access.position(i);
        mVertexColors[i] = access.color(i);
        *mVertexColors[i] = color;
    }
    mDirty = true;
}

void Sprite::spreadDefaultTexCoords()
{
    const Texture* t = firstTexture(*mQuad);
    if (!t)
        return;
    for (uint32_t row = 0; row <= mRows; ++row)
        for (uint32_t col = 0; col <= mCols; ++col)
            mTexCoords[row * (mCols + 1) + col] =
                Vector2f(float(t->mWidth) * float(col) / float(mCols), float(t->mHeight) * float(row) / float(mRows));
}

void Sprite::finishLoading()
{
    updateTexCoords();
    mMesh->primitiveKind = mQuad->primitiveKind;
    mMesh->blendMode = mQuad->blendMode;
    mMesh->addressMode = mQuad->addressMode;
    mMesh->addTextureReferences(*mQuad);
    mTexelScale = texelScaleOf(*mMesh);
}

void Sprite::setTexture(Texture* texture)
{
    newQuad();
    mPosition = Vector2f(0.0f, 0.0f);
    mAngle = 0.0f;
    mMirrorH = mMirrorV = false;
    const SpriteExtent extent = showWholeTexture(*mQuad, texture, mSourceRects);
    mSize = extent.size;
    mRotationCenter = extent.rotationCenter;
    mClipRect = extent.clipRect;
    rebuildGrid(1, 1);
    buildMesh(WHITE);
    finishLoading();
}

void Sprite::loadTexture(const std::string& image, const std::string& package)
{
    Texture* texture = TextureManager::instance()->getTexture(image, package);
    if (!texture)
        assertFailed("VQ", "Failed to load texture", FILE_TAG, 593);
    setTexture(texture);
}

void Sprite::loadFromScript(const std::string& script, const std::string& package, const std::string& table)
{
    const int result = readSpriteTable(script, package, table, [&](LuaScript2& lua) { loadFromTable(lua); });
    if (result != 0)
        reportSpriteTableFailure(result == 2, script, package, table, FILE_TAG, 68, 73);
}

int Sprite::tryLoadFromScript(const std::string& script, const std::string& package, const std::string& table)
{
    if (readSpriteTable(script, package, table, [&](LuaScript2& lua) { loadFromTable(lua); }) != 0) {
        log(formatString("ERROR: Failed to load sprite %s %s", script.c_str(), table.c_str()));
        return 1;
    }
    return 0;
}

// Steps shared by both description forms; `loadMesh` reads the mesh keys of
// its form, given the sprite colour.
template <typename MeshLoader>
static void loadDescription(SpriteDescription& description, RenderData& quad, std::vector<Rect>& sourceRects,
                            SpritePlacement& placement, SpriteExtent& extent, MeshLoader&& loadMesh)
{
    placement = readSpritePlacement(description);
    quad.blendMode = placement.blendMode;
    readSpriteTextures(description, quad, sourceRects, FILE_TAG, 916);
    extent = readSpriteExtent(description, quad, sourceRects);
    Color color;
    if (!description.readColor("Color", color))
        color = WHITE;
    loadMesh(color);
}

void Sprite::applyPlacement(const SpritePlacement& placement, const SpriteExtent& extent)
{
    mPosition = placement.position;
    mMirrorH = placement.mirrorH;
    mMirrorV = placement.mirrorV;
    mAngle = placement.angle;
    mSize = extent.size;
    mRotationCenter = extent.rotationCenter;
    mClipRect = extent.clipRect;
}

void Sprite::loadFromTable(LuaScript2& script)
{
    newQuad();
    LuaSpriteDescription description(script);
    SpritePlacement placement;
    SpriteExtent extent;
    loadDescription(description, *mQuad, mSourceRects, placement, extent, [&](const Color& color) {
        applyPlacement(placement, extent);
        loadMeshFromTable(script, color);
    });
    finishLoading();
}

void Sprite::loadFromXml(XmlDataReader& reader)
{
    newQuad();
    XmlSpriteDescription description(reader);
    SpritePlacement placement;
    SpriteExtent extent;
    loadDescription(description, *mQuad, mSourceRects, placement, extent, [&](const Color& color) {
        applyPlacement(placement, extent);
        loadMeshFromXml(reader, color);
    });
    finishLoading();
}

// Grid counts of a mesh: neither may be 0, and the vertex storage of the
// grid must stay addressable with 32-bit sizes.
static void checkMeshSize(uint32_t cols, uint32_t rows)
{
    uint64_t vertices = 0;
    const uint64_t stride = computeVertexLayout(configuredVertexFormat());
    if (cols == 0 || rows == 0 || __builtin_mul_overflow(uint64_t(cols) + 1, uint64_t(rows) + 1, &vertices) ||
        vertices > std::numeric_limits<uint32_t>::max() / std::max<uint64_t>(stride, 1))
        assertFailed("VQ", "Bad mesh size specified", FILE_TAG, 817);
}

// The vertex a mesh entry names; fatal outside the grid.
static uint32_t meshVertexIndex(int64_t x, int64_t y, uint32_t cols, uint32_t rows)
{
    const int64_t index = (int64_t(cols) + 1) * y + x;
    if (index < 0 || index >= (int64_t(cols) + 1) * (int64_t(rows) + 1))
        assertFailed("VQ", "Bad index specified", FILE_TAG, 846);
    return uint32_t(index);
}

void Sprite::rebuildGrid(uint32_t cols, uint32_t rows)
{
    mCols = cols;
    mRows = rows;
    allocateGrid();
    layoutGridVertices();
    spreadDefaultTexCoords();
}

void Sprite::buildMeshWithColors(const Color& color, const std::vector<Color>& vertexColors)
{
    buildMesh(color);
    for (uint32_t i = 0; i < vertexColors.size(); ++i)
        *mVertexColors[i] = vertexColors[i];
}

void Sprite::loadMeshFromTable(LuaScript2& script, const Color& color)
{
    std::vector<Color> colors;
    if (script.openTable("Mesh")) {
        mHasMesh = true;
        script.getUInt("sizeX", mCols, 0);
        script.getUInt("sizeY", mRows, 0);
        checkMeshSize(mCols, mRows);
        rebuildGrid(mCols, mRows);
        colors.assign(mBaseVertices.size(), color);
        if (script.openTable("Vertecies")) {
            forEachTableEntry(
                script,
                [&] {
                    int x = 0;
                    int y = 0;
                    script.getInt("x", x, 0);
                    script.getInt("y", y, 0);
                    const uint32_t i = meshVertexIndex(x, y, mCols, mRows);
                    Color c;
                    script.getColor("Color", c);  // transparent black when missing
                    float uv[2];
                    float pos[2];
                    script.getVector2("uv", uv);
                    script.getVector2("Pos", pos);
                    mBaseVertices[i] = Vector2f(pos[0], pos[1]);
                    colors[i] = c;
                    mTexCoords[i] = Vector2f(uv[0], uv[1]);
                },
                [] {});
            script.closeTable();
        }
        script.closeTable();
    } else {
        rebuildGrid(1, 1);
    }
    buildMeshWithColors(color, colors);
}

void Sprite::loadMeshFromXml(XmlDataReader& reader, const Color& color)
{
    std::vector<Color> colors;
    const pugi::xml_node before = reader.currentNode();
    if (reader.enterNode("Mesh")) {
        mHasMesh = true;
        reader.readUInt("sizeX", mCols);
        reader.readUInt("sizeY", mRows);
        checkMeshSize(mCols, mRows);
        rebuildGrid(mCols, mRows);
        colors.assign(mBaseVertices.size(), color);
        if (reader.enterNode("Vertecies")) {
            for (XmlArrayIterator it(reader); it != reader.arrayEnd(); it.next()) {
                unsigned x = 0;
                unsigned y = 0;
                reader.readUInt("x", x);
                reader.readUInt("y", y);
                const uint32_t i = meshVertexIndex(int32_t(x), int32_t(y), mCols, mRows);
                Color c;
                reader.readColor("Color", c);  // white when missing
                Vector2f uv;
                Vector2f pos;
                reader.readVector2("uv", uv);
                reader.readVector2("Pos", pos);
                mBaseVertices[i] = pos;
                colors[i] = c;
                mTexCoords[i] = uv;
            }
        }
        reader.setCurrentNode(before);
    } else {
        rebuildGrid(1, 1);
    }
    buildMeshWithColors(color, colors);
}

// ---------------------------------------------------------------------------
// Placement

void Sprite::setPositionXY(float x, float y)
{
    if (moved(mPosition.x, x) || moved(mPosition.y, y))
        mDirty = true;
    mPosition = Vector2f(x, y);
}

void Sprite::setScaleXY(float x, float y)
{
    if (moved(mScale.x, x) || moved(mScale.y, y))
        mDirty = true;
    mScale = Vector2f(x, y);
}

void Sprite::setAngle(float degrees)
{
    if (moved(mAngle, degrees))
        mDirty = true;
    mAngle = degrees;
}

void Sprite::setSize(const Vector2f& size)
{
    if (moved(mSize.x, size.x) || moved(mSize.y, size.y))
        mDirty = true;
    mSize = size;
    layoutGridVertices();
}

void Sprite::setRotationCenter(const Vector2f& centre)
{
    if (moved(mRotationCenter.x, centre.x) || moved(mRotationCenter.y, centre.y))
        mDirty = true;
    mRotationCenter = centre;
}

void Sprite::setBlendMode(int32_t mode)
{
    if (mQuad)
        mQuad->blendMode = mode;
    if (mMesh)
        mMesh->blendMode = mode;
}

// ---------------------------------------------------------------------------
// Colours, grid and texture region

void Sprite::setColor(const Color& color)
{
    for (Color* c : mVertexColors)
        *c = color;
}

uint32_t Sprite::gridIndex(uint32_t col, uint32_t row, int line) const
{
    const uint64_t index = uint64_t(row) * (uint64_t(mCols) + 1) + col;
    if (index >= mBaseVertices.size())
        assertFailed("VQ", "Bad coordinates specified", FILE_TAG, line);
    return uint32_t(index);
}

void Sprite::setGridVertex(const Vector2f& position, uint32_t col, uint32_t row)
{
    mBaseVertices[gridIndex(col, row, 252)] = position;
    mDirty = true;
}

void Sprite::setGridTexCoord(const Vector2f& uv, uint32_t col, uint32_t row)
{
    mTexCoords[gridIndex(col, row, 270)] = uv;
    mDirty = true;
}

Vector2f* Sprite::gridTexCoord(uint32_t col, uint32_t row)
{
    return &mTexCoords[gridIndex(col, row, 280)];
}

void Sprite::setSourceRect(uint32_t index, const Rect& rect, bool update)
{
    if (index >= mSourceRects.size())
        mSourceRects.push_back(rect);
    else
        mSourceRects[index] = rect;
    if (update)
        updateTexCoords();
}

void Sprite::setSourceRectNormalized(const Rect& rect)
{
    const Texture* t = mQuad ? firstTexture(*mQuad) : nullptr;
    const float w = t ? float(t->mWidth) : 0.0f;
    const float h = t ? float(t->mHeight) : 0.0f;
    if (mSourceRects.empty())
        mSourceRects.emplace_back();
    mSourceRects[0] = Rect(rect.left * w, rect.top * h, rect.right * w, rect.bottom * h);
    updateTexCoords();
}

void Sprite::updateTexCoords()
{
    if (mSourceRects.empty() || mCols == 0 || mRows == 0)
        return;
    const Rect& r = mSourceRects[0];
    const float stepU = r.width() / float(mCols);
    const float stepV = r.height() / float(mRows);
    for (uint32_t row = 0; row <= mRows; ++row)
        for (uint32_t col = 0; col <= mCols; ++col)
            mTexCoords[row * (mCols + 1) + col] = Vector2f(r.left + float(col) * stepU, r.top + float(row) * stepV);
}

void Sprite::layoutGridVertices()
{
    if (mCols == 0 || mRows == 0)
        return;
    for (uint32_t row = 0; row <= mRows; ++row)
        for (uint32_t col = 0; col <= mCols; ++col)
            mBaseVertices[row * (mCols + 1) + col] =
                Vector2f(mSize.x * float(col) / float(mCols), mSize.y * float(row) / float(mRows));
}

Texture* Sprite::texture() const
{
    return mQuad ? firstTexture(*mQuad) : nullptr;
}

// ---------------------------------------------------------------------------
// Geometry and drawing

void Sprite::updateVertices()
{
    if (!mDirty)
        return;
    const Vector2f c(mPosition.x + mRotationCenter.x, mPosition.y + mRotationCenter.y);
    const float theta = mAngle * 0.017453292f;
    const float cs = std::cos(theta);
    const float sn = std::sin(theta);
    for (size_t i = 0; i < mVertexPositions.size(); ++i) {
        const Vector2f& b = mBaseVertices[i];
        const float dx = b.x * mScale.x + mPosition.x - c.x;
        const float dy = b.y * mScale.y + mPosition.y - c.y;
        mVertexPositions[i][0] = c.x + dx * cs - dy * sn;
        mVertexPositions[i][1] = c.y + dx * sn + dy * cs;
    }
    mDirty = false;
}

void Sprite::transformVertices(const float m[9])
{
    for (size_t i = 0; i < mVertexPositions.size(); ++i) {
        const Vector2f& b = mBaseVertices[i];
        mVertexPositions[i][0] = b.x * m[0] + b.y * m[3] + m[6];
        mVertexPositions[i][1] = b.x * m[1] + b.y * m[4] + m[7];
    }
    mDirty = true;
}

void Sprite::draw()
{
    if (!mQuad || !mMesh || mCols == 0 || mRows == 0)
        return;
    RenderSystem* renderSystem = RenderSystem::instance();
    const Rect source = mSourceRects.empty() ? Rect() : mSourceRects[0];
    // One shift per clipped unit for every cell; the spread of a grid cell
    // is the same ratio, so it is not applied a second time.
    const float kx = clipShiftFactor(source.width(), mSize.x, mScale.x);
    const float ky = clipShiftFactor(source.height(), mSize.y, mScale.y);
    VertexAccess quad(*mQuad);
    const uint32_t stride = mCols + 1;
    for (uint32_t row = 0; row < mRows; ++row) {
        for (uint32_t col = 0; col < mCols; ++col) {
            const uint32_t c0 = row * stride + col;
            const uint32_t corners[4] = {c0, c0 + 1, c0 + stride + 1, c0 + stride};
            const float dx = mVertexPositions[corners[1]][0] - mVertexPositions[corners[0]][0];
            const float dy = mVertexPositions[corners[3]][1] - mVertexPositions[corners[0]][1];
            for (uint32_t k = 0; k < 4; ++k) {
                const uint32_t corner = corners[k];
                const float* p = mVertexPositions[corner];
                float x = p[0];
                float y = p[1];
                float shiftU = 0.0f;
                float shiftV = 0.0f;
                if (mClipEnabled) {
                    const float xc = middleOf(x, mClipRect.left, mClipRect.right);
                    const float yc = middleOf(y, mClipRect.top, mClipRect.bottom);
                    if (std::fabs(dx) > 1e-10f)
                        shiftU = -(x - xc) * kx;
                    if (std::fabs(dy) > 1e-10f)
                        shiftV = -(y - yc) * ky;
                    x = xc;
                    y = yc;
                }
                float* out = quad.position(k);
                out[0] = x;
                out[1] = y;
                out[2] = p[2];
                float u = (mTexCoords[corner].x + shiftU) * mTexelScale.x;
                float v = (mTexCoords[corner].y + shiftV) * mTexelScale.y;
                float* uv = quad.texCoord(k);
                uv[0] = mMirrorH ? 1.0f - u : u;
                uv[1] = mMirrorV ? 1.0f - v : v;
                *quad.color(k) = *mVertexColors[corner];
            }
            renderSystem->drawRenderData(mQuad.get());
        }
    }
}

// ---------------------------------------------------------------------------
// Animation

void Sprite::bindAnimation(Animation& animation)
{
    animation.bindVector2("pos", &mPosition);
    animation.bindFloat("angle", &mAngle);
    animation.bindVector2("scale", &mScale);
    animation.bindVector2("rotCenter", &mRotationCenter);
    for (Color* c : mVertexColors)
        animation.bindColor("color", c);
    // A sprite without a source rect has nothing to bind there.
    if (!mSourceRects.empty()) {
        animation.bindRect("SrcRect0", &mSourceRects[0]);
        animation.bindSetter("SrcRect0", new Function<Sprite>(this, &Sprite::updateTexCoords));
    }
    for (const char* name : {"pos", "angle", "scale", "rotCenter"})
        animation.bindSetter(name, new Function<Sprite>(this, &Sprite::markDirty));
    if (!mHasMesh)
        return;
    for (uint32_t i = 0; i < mBaseVertices.size(); ++i) {
        const std::string index = uintToString(i);
        animation.bindVector2("p" + index, &mBaseVertices[i]);
        animation.bindColor("c" + index, mVertexColors[i]);
        animation.bindVector2("uv" + index, &mTexCoords[i]);
        animation.bindSetter("p" + index, new Function<Sprite>(this, &Sprite::markDirty));
        animation.bindSetter("uv" + index, new Function<Sprite>(this, &Sprite::markDirty));
    }
}

}  // namespace VQ
