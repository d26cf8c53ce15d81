#pragma once
// What sprites and fast sprites share in loading a description (from a Lua
// table or its XML twin) and in writing their vertices: the placement keys,
// the numbered texture keys, the extent keys, and access to one vertex's
// position, colour and texture coordinate in the engine's vertex layout.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "color.h"
#include "rect.h"
#include "render_data.h"
#include "vector2.h"
#include "vertex_layout.h"

namespace VQ {

class LuaScript2;
class Texture;
class XmlDataReader;

// One description's keys, whatever file they come from. Each read gives
// false when the key is missing.
class SpriteDescription {
public:
    virtual ~SpriteDescription() = default;
    virtual bool readVector2(const std::string& key, Vector2f& out) = 0;
    // The mirror flags: a number that is not 0 in Lua, "1", "T" or "Y" in XML.
    virtual bool readFlag(const std::string& key, bool& out) = 0;
    virtual bool readFloat(const std::string& key, float& out) = 0;
    virtual bool readString(const std::string& key, std::string& out) = 0;
    virtual bool readRect(const std::string& key, Rect& out) = 0;
    virtual bool readColor(const std::string& key, Color& out) = 0;
};

class LuaSpriteDescription : public SpriteDescription {
public:
    explicit LuaSpriteDescription(LuaScript2& script) : mScript(script) {}
    bool readVector2(const std::string& key, Vector2f& out) override;
    bool readFlag(const std::string& key, bool& out) override;
    bool readFloat(const std::string& key, float& out) override;
    bool readString(const std::string& key, std::string& out) override;
    bool readRect(const std::string& key, Rect& out) override;
    bool readColor(const std::string& key, Color& out) override;

private:
    LuaScript2& mScript;
};

class XmlSpriteDescription : public SpriteDescription {
public:
    explicit XmlSpriteDescription(XmlDataReader& reader) : mReader(reader) {}
    bool readVector2(const std::string& key, Vector2f& out) override;
    bool readFlag(const std::string& key, bool& out) override;
    bool readFloat(const std::string& key, float& out) override;
    bool readString(const std::string& key, std::string& out) override;
    bool readRect(const std::string& key, Rect& out) override;
    bool readColor(const std::string& key, Color& out) override;

private:
    XmlDataReader& mReader;
};

// "Pos", "MirrorH", "MirrorV", "Angle" and "BlendMode".
struct SpritePlacement {
    Vector2f position{0.0f, 0.0f};
    bool mirrorH = false;
    bool mirrorV = false;
    float angle = 0.0f;
    int32_t blendMode = BLEND_ALPHA;
};
SpritePlacement readSpritePlacement(SpriteDescription& description);

// "alpha" 0, "color" 1, "add" 2; anything else 0.
int32_t blendModeFromName(const std::string& name);

// Image<i>, Package<i> and SrcRect<i> for i = 0, 1, ... until Image<i> is
// missing: each texture is appended to `quad` with a reference and its rect
// stored as source rect i. A texture that cannot be obtained is fatal, with
// the caller's source tag and line.
void readSpriteTextures(SpriteDescription& description, RenderData& quad, std::vector<Rect>& sourceRects,
                        const char* fileTag, int line);

// "Size", "rotCenter" and "ClipRect" with their defaults.
struct SpriteExtent {
    Vector2f size{0.0f, 0.0f};
    Vector2f rotationCenter{0.0f, 0.0f};
    Rect clipRect{0.0f, 0.0f, 1024.0f, 768.0f};
};
SpriteExtent readSpriteExtent(SpriteDescription& description, const RenderData& quad,
                              const std::vector<Rect>& sourceRects);

// A sprite of one whole texture: the texture is appended to `quad` with a
// reference and becomes source rect 0; the extent is its size, centred, with
// the default clip. Without a texture, a 32 x 32 frame.
SpriteExtent showWholeTexture(RenderData& quad, Texture* texture, std::vector<Rect>& sourceRects);

// Runs `read` on `table` of the sprite script (name, package), opened. A
// script is run once and kept, shared by every sprite made from it, until
// the file system's content changes; the reads are serialised. 0 on
// success, 1 when the script cannot be loaded, 2 when it has no such table.
int readSpriteTable(const std::string& name, const std::string& package, const std::string& table,
                    const std::function<void(LuaScript2&)>& read);
// The fatal reports of a description that could not be opened.
[[noreturn]] void reportSpriteTableFailure(bool scriptLoaded, const std::string& script, const std::string& package,
                                           const std::string& table, const char* fileTag, int scriptLine,
                                           int tableLine);

// The clip rectangle a sprite gets when nothing else is said.
constexpr Rect DEFAULT_CLIP_RECT{0.0f, 0.0f, 1024.0f, 768.0f};

// The first texture of a render data, or null.
Texture* firstTexture(const RenderData& data);
// (1 / width, 1 / height) of the first texture; (0, 0) without one.
Vector2f texelScaleOf(const RenderData& data);
// Appends the texture with one more reference.
void appendTexture(RenderData& data, Texture* texture);

// The configured vertex format (the configuration's, else the default).
uint32_t configuredVertexFormat();
// New zeroed storage of `count` vertices in the configured layout.
void allocateSpriteVertices(RenderData& data, uint32_t count);

// One vertex's components in a vertex storage of the current layout.
class VertexAccess {
public:
    explicit VertexAccess(RenderData& data) : mData(&data), mLayout(&currentVertexLayout()) {}
    float* position(uint32_t i) const { return reinterpret_cast<float*>(at(i, VC_POSITION)); }
    Color* color(uint32_t i) const { return reinterpret_cast<Color*>(at(i, VC_DIFFUSE)); }
    float* texCoord(uint32_t i) const { return reinterpret_cast<float*>(at(i, VC_TEXCOORD0)); }

private:
    uint8_t* at(uint32_t i, VertexComponent c) const
    {
        return mData->vertices->bytes.data() + size_t(i) * mLayout->stride + mLayout->offsets[c];
    }
    RenderData* mData;
    const VertexLayout* mLayout;
};

// Texture pixels per drawn unit along one axis, for shifting the texture
// of a clipped corner: the source extent over the scaled size; 0 for a
// degenerate size or a scale too small to invert.
float clipShiftFactor(float sourceExtent, float size, float scale);

// The middle value of three (a clamp that also works with lo > hi).
float middleOf(float value, float a, float b);

}  // namespace VQ
