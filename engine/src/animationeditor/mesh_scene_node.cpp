#include "animationeditor/mesh_scene_node.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "log_system.h"
#include "render_data.h"
#include "render_system.h"
#include "sprite.h"
#include "sprite_description.h"
#include "sprite_manager.h"
#include "texture.h"

namespace AE {

namespace {

constexpr float kWaveStep = 0.3926991f;  // pi / 8
constexpr float kDegToRad = 0.0174533f;
// The longest number token a marker name may carry; longer ones are cut.
constexpr size_t kMaxToken = 31;

// The corners of a quad in vertex order: top-left, top-right, bottom-right,
// bottom-left.
constexpr int kCorners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

bool startsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// The characters of `text` from `pos` on while `accept` holds, at most
// kMaxToken of them kept; `pos` ends after the last accepted character.
template <typename Accept>
std::string readToken(const std::string& text, size_t& pos, Accept accept)
{
    std::string token;
    while (pos < text.size() && accept(text[pos])) {
        if (token.size() < kMaxToken)
            token += text[pos];
        ++pos;
    }
    return token;
}

bool isIntChar(char c)
{
    return (c >= '0' && c <= '9') || c == '-';
}

bool isFloatChar(char c)
{
    return isIntChar(c) || c == '.';
}

float floatAfter(const std::string& text, size_t prefixLength)
{
    size_t pos = prefixLength;
    return float(std::atof(readToken(text, pos, isFloatChar).c_str()));
}

}  // namespace

// --- Transformers ---

std::unique_ptr<MeshTransformer> createMeshTransformer(const std::string& name,
                                                       const std::vector<std::unique_ptr<Marker>>& markers,
                                                       MeshSceneNode* node)
{
    if (name == "Wind")
        return std::make_unique<WindMeshTransformer>(markers, node);
    if (name == "Water")
        return std::make_unique<WaterMeshTransformer>(markers, node);
    return nullptr;
}

WaterMeshTransformer::WaterMeshTransformer(const std::vector<std::unique_ptr<Marker>>& markers,
                                           MeshSceneNode* owner)
    : MeshTransformer(owner)
{
    for (const auto& marker : markers) {
        const std::string& name = marker->name;
        if (name.find("#location:") == std::string::npos)
            continue;
        size_t pos = 10;
        location = std::atoi(readToken(name, pos, isIntChar).c_str());
    }
}

void WaterMeshTransformer::update(float dt)
{
    time += dt;
    const VQ::Vector2f w = node->worldPosition;
    const float cw = node->width / float(node->segmentsX);
    const float ch = node->height / float(node->segmentsY);
    uint32_t index = 0;
    for (uint32_t r = 0; r < node->segmentsY; ++r) {
        for (uint32_t c = 0; c < node->segmentsX; ++c) {
            for (const auto& corner : kCorners) {
                const float cx = w.x + float(c + corner[0]) * cw;
                const float cy = w.y + float(r + corner[1]) * ch;
                float offset = 0.0f;
                if (location == 0)
                    offset = 4.0f * std::sin(kWaveStep * (node->vertexPosition(index).x - w.x) + time);
                else if (location == 1)
                    offset = 4.0f * std::sin(kWaveStep * time * float(c) + 1.5707964f);
                node->setVertexPosition(index, cx, cy + offset);
                ++index;
            }
        }
    }
}

WindMeshTransformer::WindMeshTransformer(const std::vector<std::unique_ptr<Marker>>& markers, MeshSceneNode* owner)
    : MeshTransformer(owner)
{
    for (const auto& marker : markers) {
        const std::string& name = marker->name;
        if (startsWith(name, "#phase:"))
            phase = floatAfter(name, std::strlen("#phase:"));
        else if (startsWith(name, "#stiffness:"))
            stiffness = floatAfter(name, std::strlen("#stiffness:"));
        else if (startsWith(name, "#speed:"))
            speed = floatAfter(name, std::strlen("#speed:"));
        else if (startsWith(name, "#fixedTopEdge"))
            fixedTopEdge = true;
    }
}

void WindMeshTransformer::update(float dt)
{
    time += dt;
    const float a = (time + phase) * speed;
    const float degrees = node->rotation + (node->parent ? node->parent->getWorldRotation() : 0.0f);
    const VQ::Vector2f w = node->worldPosition;
    const float h = node->height;
    const VQ::Vector2f pivot(w.x + node->width, w.y);
    const VQ::Vector2f anchor(w.x, w.y);
    const float cw = node->width / float(node->segmentsX);
    const float ch = node->height / float(node->segmentsY);
    uint32_t index = 0;
    for (uint32_t r = 0; r < node->segmentsY; ++r) {
        for (uint32_t c = 0; c < node->segmentsX; ++c) {
            for (const auto& corner : kCorners) {
                const float u = float(c + corner[0]) / float(node->segmentsX);
                const float v = float(r + corner[1]) / float(node->segmentsY);
                const float s = (1.0f - u) * (1.0f - u);
                const float cx = w.x + float(c + corner[0]) * cw;
                const float cy = w.y + float(r + corner[1]) * ch;
                const float x0 = node->vertexPosition(index).x;

                const float angle = (1.0f - 0.65f * stiffness * u) * degrees * kDegToRad;
                const float ox = cx - pivot.x;
                const float oy = cy - pivot.y;
                const float p1x = pivot.x + ox * std::cos(angle) - oy * std::sin(angle);
                const float p1y = pivot.y + ox * std::sin(angle) + oy * std::cos(angle);
                float nx = p1x - anchor.x;
                float ny = p1y - anchor.y;
                const float length = std::sqrt(nx * nx + ny * ny);
                if (length > 0.0f) {
                    nx /= length;
                    ny /= length;
                }
                const float k2 = 0.05f * h * v * s * std::sin(p1x / (0.4f * h) - 5.0f * a);
                const float p2x = p1x - k2 * nx;
                const float p2y = p1y - k2 * ny;
                const float k3 = 0.05f * h * (1.0f - v) * s * std::sin(p2x / (0.4f * h) - 5.0f * a);
                const float p3x = p2x - k3 * ny;
                const float p3y = p2y + k3 * nx;
                const float wv = x0 / h - a;
                const float g = 0.5f * (std::sin(-wv) + std::sin(-2.0f * wv));
                const float q = std::sin(2.0f * a - x0 / h) * g;
                float y = p3y + (1.25f - s) * 0.5f * h * s * q;
                if (fixedTopEdge)
                    y = cy + v * (y - cy);
                node->setVertexPosition(index, p3x, y);
                ++index;
            }
        }
    }
}

// --- The mesh node ---

MeshSceneNode::MeshSceneNode(ISceneNode* old) : ISceneNode(*old, nullptr)
{
    sprite = VQ::SpriteManager<VQ::Sprite>::instance()->createSpriteFromScript(old->fileName, old->tableName,
                                                                                "default");
    posX = old->posX;
    posY = old->posY;
    scaleX = old->scaleX;
    updateTransform();
    scaleY = old->scaleY;
    updateTransform();
    posZ = old->posZ;
    width = sprite->size().x * scaleX;
    height = sprite->size().y * scaleY;
    parseMarkers(old->markers);
    renderData = std::make_unique<VQ::RenderData>();
    VQ::allocateSpriteVertices(*renderData, segmentsX * segmentsY * 4);
    buildGrid();
    if (ISceneNode* oldParent = old->parent) {
        name = old->name;
        delete old;
        oldParent->addChild(this, true);
    }
}

MeshSceneNode::~MeshSceneNode()
{
    transformer.reset();
    renderData.reset();
    if (sprite && VQ::SpriteManager<VQ::Sprite>::exists())
        VQ::SpriteManager<VQ::Sprite>::instance()->releaseSprite(sprite);
}

void MeshSceneNode::parseMarkers(const std::vector<std::unique_ptr<Marker>>& oldMarkers)
{
    for (const auto& marker : oldMarkers) {
        const std::string& markerName = marker->name;
        if (startsWith(markerName, "#segments:")) {
            size_t pos = std::strlen("#segments:");
            const int32_t columns = std::atoi(readToken(markerName, pos, isIntChar).c_str());
            // The one character between the numbers; a name that ends after
            // the first number asks for one row.
            int32_t rows = 1;
            if (pos < markerName.size()) {
                ++pos;
                const std::string second = readToken(markerName, pos, isIntChar);
                if (!second.empty())
                    rows = std::atoi(second.c_str());
            }
            if (columns < 0 || columns > MAX_SEGMENTS || rows < 0 || rows > MAX_SEGMENTS) {
                VQ::log(VQ::formatString("WARNING: Mesh segments \"%s\" out of range; 16 x 1 is used",
                                         markerName.c_str()));
                segmentsX = 16;
                segmentsY = 1;
            } else {
                segmentsX = uint32_t(columns);
                segmentsY = uint32_t(rows);
            }
        } else if (startsWith(markerName, "#transformer:")) {
            const std::string kindName = markerName.substr(std::strlen("#transformer:"));
            transformer = createMeshTransformer(kindName, oldMarkers, this);
            if (!transformer)
                VQ::log(VQ::formatString("ERROR: Not found mesh transformer by \"%s\" name!", kindName.c_str()));
        }
    }
}

void MeshSceneNode::buildGrid()
{
    const std::vector<VQ::Rect>& rects = sprite->sourceRects();
    const VQ::Rect source = rects.empty() ? VQ::Rect(0.0f, 0.0f, 0.0f, 0.0f) : rects.front();
    const VQ::Texture* texture = sprite->texture();
    const float textureWidth = texture ? float(texture->mWidth) : 1.0f;
    const float textureHeight = texture ? float(texture->mHeight) : 1.0f;
    if (const VQ::RenderData* quad = sprite->quadRenderData())
        renderData->addTextureReferences(*quad);
    renderData->primitiveKind = VQ::PRIMITIVE_QUADS;
    renderData->blendMode = VQ::BLEND_ALPHA;
    renderData->addressMode = VQ::ADDRESS_WRAP;

    // A mesh without extent (a scale of 0) has no fraction of the region to
    // take: its texture coordinates stay at the region's corner.
    auto fraction = [](float part, float whole) { return whole != 0.0f ? part / whole : 0.0f; };
    const float cw = width / float(segmentsX);
    const float ch = height / float(segmentsY);
    VQ::VertexAccess access(*renderData);
    uint32_t index = 0;
    for (uint32_t r = 0; r < segmentsY; ++r) {
        for (uint32_t c = 0; c < segmentsX; ++c) {
            for (const auto& corner : kCorners) {
                const float lx = float(c + corner[0]) * cw;
                const float ly = float(r + corner[1]) * ch;
                float* position = access.position(index);
                position[0] = worldPosition.x + lx;
                position[1] = worldPosition.y + ly;
                position[2] = 1.0f;
                *access.color(index) = VQ::Color(0xFFFFFFFFu);
                float* uv = access.texCoord(index);
                uv[0] = (source.left + (source.right - source.left) * fraction(lx, width)) / textureWidth;
                uv[1] = (source.top + (source.bottom - source.top) * fraction(ly, height)) / textureHeight;
                ++index;
            }
        }
    }
}

VQ::Vector2f MeshSceneNode::vertexPosition(uint32_t index) const
{
    const float* p = VQ::VertexAccess(*renderData).position(index);
    return VQ::Vector2f(p[0], p[1]);
}

void MeshSceneNode::setVertexPosition(uint32_t index, float x, float y)
{
    float* p = VQ::VertexAccess(*renderData).position(index);
    p[0] = x;
    p[1] = y;
}

VQ::Vector2f MeshSceneNode::vertexTexCoord(uint32_t index) const
{
    const float* uv = VQ::VertexAccess(*renderData).texCoord(index);
    return VQ::Vector2f(uv[0], uv[1]);
}

void MeshSceneNode::updateDerived(float dt)
{
    ISceneNode::updateDerived(dt);
    if (transformer)
        transformer->update(dt);
}

void MeshSceneNode::setTime(float seconds, bool recursive)
{
    ISceneNode::setTime(seconds, recursive);
    if (transformer)
        transformer->setTime(seconds);
}

void MeshSceneNode::render()
{
    applyCamera();
    VQ::RenderSystem* renderSystem = VQ::RenderSystem::instance();
    // The device never culls: nothing to switch off around the mesh.
    renderSystem->flushBatch();
    renderSystem->drawRenderData(renderData.get());
    renderSystem->flushBatch();
}

// --- Conversion of "#mesh:" nodes ---

namespace {

void collectMeshNodes(ISceneNode* node, std::vector<ISceneNode*>& found)
{
    for (ISceneNode* child : node->children) {
        if (startsWith(child->name, "#mesh:"))
            found.push_back(child);
        else
            collectMeshNodes(child, found);
    }
}

}  // namespace

void convertMeshNodes(ISceneNode* node)
{
    if (!node)
        return;
    std::vector<ISceneNode*> found;
    collectMeshNodes(node, found);
    for (ISceneNode* old : found) {
        auto* mesh = new MeshSceneNode(old);
        mesh->visible = true;
        mesh->reservedVector = VQ::Vector2f(0.0f, 0.0f);
        mesh->play(true);
    }
}

}  // namespace AE
