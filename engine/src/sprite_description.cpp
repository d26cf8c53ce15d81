#include "sprite_description.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

extern "C" {
#include <lua.h>
}

#include "config_manager.h"
#include "fatal_error.h"
#include "file_system.h"
#include "log_system.h"
#include "lua_script_2.h"
#include "texture.h"
#include "texture_manager.h"
#include "xml_data_reader.h"

namespace VQ {

// --- Lua ---

bool LuaSpriteDescription::readVector2(const std::string& key, Vector2f& out)
{
    float v[2];
    const bool ok = mScript.getVector2(key, v);
    out = Vector2f(v[0], v[1]);
    return ok;
}

bool LuaSpriteDescription::readFlag(const std::string& key, bool& out)
{
    return mScript.getBool(key, out);
}

bool LuaSpriteDescription::readFloat(const std::string& key, float& out)
{
    return mScript.getFloat(key, out, 0.0f);
}

bool LuaSpriteDescription::readString(const std::string& key, std::string& out)
{
    return mScript.getString(key, out);
}

bool LuaSpriteDescription::readRect(const std::string& key, Rect& out)
{
    float v[4];
    const bool ok = mScript.getRect(key, v);
    out = Rect(v[0], v[1], v[2], v[3]);
    return ok;
}

bool LuaSpriteDescription::readColor(const std::string& key, Color& out)
{
    return mScript.getColor(key, out);
}

// --- XML ---

bool XmlSpriteDescription::readVector2(const std::string& key, Vector2f& out)
{
    return mReader.readVector2(key, out);
}

bool XmlSpriteDescription::readFlag(const std::string& key, bool& out)
{
    return mReader.readBool(key, out);
}

bool XmlSpriteDescription::readFloat(const std::string& key, float& out)
{
    return mReader.readFloat(key, out);
}

bool XmlSpriteDescription::readString(const std::string& key, std::string& out)
{
    return mReader.readString(key, out);
}

bool XmlSpriteDescription::readRect(const std::string& key, Rect& out)
{
    return mReader.readRect(key, out);
}

bool XmlSpriteDescription::readColor(const std::string& key, Color& out)
{
    return mReader.readColor(key, out);
}

// --- Shared keys ---

int32_t blendModeFromName(const std::string& name)
{
    if (name == "color")
        return BLEND_COLOR;
    if (name == "add")
        return BLEND_ADD;
    return BLEND_ALPHA;
}

SpritePlacement readSpritePlacement(SpriteDescription& description)
{
    SpritePlacement p;
    if (!description.readVector2("Pos", p.position))
        p.position = Vector2f(0.0f, 0.0f);
    if (!description.readFlag("MirrorH", p.mirrorH))
        p.mirrorH = false;
    if (!description.readFlag("MirrorV", p.mirrorV))
        p.mirrorV = false;
    if (!description.readFloat("Angle", p.angle))
        p.angle = 0.0f;
    std::string blend;
    p.blendMode = description.readString("BlendMode", blend) ? blendModeFromName(blend) : BLEND_ALPHA;
    return p;
}

void readSpriteTextures(SpriteDescription& description, RenderData& quad, std::vector<Rect>& sourceRects,
                        const char* fileTag, int line)
{
    // "ETC1PairedTextures" may stand in the description; it changes nothing
    // here: only the first texture is ever bound.
    for (uint32_t i = 0;; ++i) {
        const std::string index = uintToString(i);
        std::string image;
        if (!description.readString("Image" + index, image))
            break;
        std::string package;
        if (!description.readString("Package" + index, package))
            package = "default";
        Texture* texture = TextureManager::instance()->getTexture(image, package);
        if (!texture)
            assertFailed("VQ", "Failed to load texture", fileTag, line);
        appendTexture(quad, texture);

        Rect rect;
        if (!description.readRect("SrcRect" + index, rect))
            rect = i == 0 ? Rect(0.0f, 0.0f, float(texture->mWidth), float(texture->mHeight)) : Rect();
        if (sourceRects.size() <= i)
            sourceRects.emplace_back();
        sourceRects[std::min<size_t>(i, sourceRects.size() - 1)] = rect;
    }
}

SpriteExtent readSpriteExtent(SpriteDescription& description, const RenderData& quad,
                              const std::vector<Rect>& sourceRects)
{
    SpriteExtent e;
    if (!description.readVector2("Size", e.size)) {
        e.size = Vector2f(0.0f, 0.0f);
        if (firstTexture(quad) && !sourceRects.empty())
            e.size = Vector2f(sourceRects[0].width(), sourceRects[0].height());
    }
    if (!description.readVector2("rotCenter", e.rotationCenter))
        e.rotationCenter = Vector2f(e.size.x / 2.0f, e.size.y / 2.0f);
    if (!description.readRect("ClipRect", e.clipRect))
        e.clipRect = DEFAULT_CLIP_RECT;
    return e;
}

SpriteExtent showWholeTexture(RenderData& quad, Texture* texture, std::vector<Rect>& sourceRects)
{
    float w = 32.0f;
    float h = 32.0f;
    if (texture) {
        appendTexture(quad, texture);
        w = float(texture->mWidth);
        h = float(texture->mHeight);
    }
    if (sourceRects.empty())
        sourceRects.emplace_back();
    sourceRects[0] = Rect(0.0f, 0.0f, w, h);
    SpriteExtent e;
    e.size = Vector2f(w, h);
    e.rotationCenter = Vector2f(w / 2.0f, h / 2.0f);
    e.clipRect = DEFAULT_CLIP_RECT;
    return e;
}

namespace {

// The sprite scripts run so far, by (package, name); null for one that could
// not be loaded. A map's or a level's sprites come by the hundred from a few
// scripts, and running a script costs far more than reading one table.
struct SpriteScriptCache {
    std::recursive_mutex mutex;
    uint64_t generation = 0;
    struct Entry {
        std::unique_ptr<LuaScript2> script;
        int base = 0;  // the stack height after the run
    };
    std::map<std::pair<std::string, std::string>, Entry> scripts;
};

SpriteScriptCache& spriteScripts()
{
    static SpriteScriptCache cache;
    return cache;
}

}  // namespace

int readSpriteTable(const std::string& name, const std::string& package, const std::string& table,
                    const std::function<void(LuaScript2&)>& read)
{
    SpriteScriptCache& cache = spriteScripts();
    std::lock_guard<std::recursive_mutex> lock(cache.mutex);
    const uint64_t generation = FileSystem::contentGeneration();
    if (cache.generation != generation) {
        cache.scripts.clear();
        cache.generation = generation;
    }
    auto [it, added] = cache.scripts.try_emplace({package, name});
    SpriteScriptCache::Entry& entry = it->second;
    if (added) {
        auto script = std::make_unique<LuaScript2>();
        if (script->load(name, package)) {
            entry.base = lua_gettop(script->state());
            entry.script = std::move(script);
        }
    }
    if (!entry.script)
        return 1;
    LuaScript2& script = *entry.script;
    // A read cut short by a fatal report leaves its tables open.
    while (script.depth() > 0)
        script.closeTable();
    lua_settop(script.state(), entry.base);
    if (!script.openTable(table))
        return 2;
    read(script);
    while (script.depth() > 0)
        script.closeTable();
    lua_settop(script.state(), entry.base);
    return 0;
}

void reportSpriteTableFailure(bool scriptLoaded, const std::string& script, const std::string& package,
                              const std::string& table, const char* fileTag, int scriptLine, int tableLine)
{
    if (!scriptLoaded)
        assertFailed("VQ",
                     formatString("Failed to load script '%s' from package '%s' ", script.c_str(), package.c_str()),
                     fileTag, scriptLine);
    assertFailed("VQ",
                 formatString("Failed to open table '%s' in script '%s' from package '%s' ", table.c_str(),
                              script.c_str(), package.c_str()),
                 fileTag, tableLine);
}

// --- Textures and vertices ---

Texture* firstTexture(const RenderData& data)
{
    return data.textures.empty() ? nullptr : static_cast<Texture*>(data.textures[0]);
}

Vector2f texelScaleOf(const RenderData& data)
{
    const Texture* t = firstTexture(data);
    if (!t || t->mWidth == 0 || t->mHeight == 0)
        return Vector2f(0.0f, 0.0f);
    return Vector2f(1.0f / float(t->mWidth), 1.0f / float(t->mHeight));
}

void appendTexture(RenderData& data, Texture* texture)
{
    data.textures.push_back(texture);
    texture->addReference();
}

uint32_t configuredVertexFormat()
{
    if (const ConfigManager* config = ConfigManager::instancePtr())
        return config->vertexFormat();
    return VERTEX_FORMAT_DEFAULT;
}

void allocateSpriteVertices(RenderData& data, uint32_t count)
{
    const uint32_t stride = computeVertexLayout(configuredVertexFormat());
    // Sprites write position, colour and texture coordinates; the slack
    // keeps those writes inside the storage even for a configured format
    // that lacks one of them.
    constexpr size_t SLACK = 32;
    data.vertices = std::make_unique<VertexStorage>();
    data.vertices->bytes.assign(size_t(count) * stride + SLACK, 0);
    data.vertices->count = count;
}

float clipShiftFactor(float sourceExtent, float size, float scale)
{
    const float k = size != 0.0f ? std::fabs(sourceExtent) / size : 0.0f;
    const float inverseScale = std::fabs(scale) > 1.1920929e-7f ? 1.0f / scale : 0.0f;
    return k * inverseScale;
}

float middleOf(float value, float a, float b)
{
    const float lo = std::min(a, b);
    const float hi = std::max(a, b);
    return value < lo ? lo : value > hi ? hi : value;
}

}  // namespace VQ
