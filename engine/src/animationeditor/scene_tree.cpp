// The per-frame pass over a scene tree, the play controls, drawing by depth
// through the tree's camera, hit test and bounds, lookups by name and path,
// and the list of live scenes.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <string_view>

#include "animationeditor/movie_camera.h"
#include "animationeditor/scene_node.h"
#include "render_system.h"

namespace AE {

int effectsLevel = 0;
SpriteSceneNode* activeClipNode = nullptr;

namespace {

void animate(ISceneNode* node, float dt)
{
    SceneNodeAnimation& a = *node->animation;
    if (dt == 0.0f)
        a.update(0.0f);
    if (node->playing && node->enabled) {
        a.looped = node->loop;
        if (node->rangeFrom == 0 && node->rangeTo == 0) {
            a.update(node->reverse ? -dt : dt);
        } else {
            const float from = float(node->rangeFrom) / a.fps;
            const float to = float(node->rangeTo) / a.fps;
            const bool wraps = a.isLooped() && effectsLevel > 0;
            if (!node->reverse) {
                if (a.time + dt < to) {
                    a.update(dt);
                } else if (wraps) {
                    a.time = from;
                    a.update(0.0f);
                } else {
                    node->playing = false;
                    a.time = to;
                    a.update(0.0f);
                    a.playing = false;
                }
            } else {
                if (a.time - dt > from) {
                    a.update(-dt);
                } else if (wraps) {
                    a.time = to;
                    a.update(0.0f);
                } else {
                    node->playing = false;
                    a.time = from;
                    a.update(0.0f);
                    a.playing = false;
                }
            }
        }
    }
    for (ISceneNode* child : node->children)
        animate(child, dt);
}

// Children of a disabled node are still visited. By index: a marker's
// listener may change the tree.
void updateDerivedBelow(ISceneNode* node, float dt)
{
    for (size_t i = 0; i < node->children.size(); ++i) {
        ISceneNode* child = node->children[i];
        if (child->enabled)
            child->updateDerived(dt);
        updateDerivedBelow(child, dt);
    }
}

const ISceneNode* rootOf(const ISceneNode* node)
{
    while (node->parent)
        node = node->parent;
    return node;
}

ISceneNode* findByPathFrom(ISceneNode* node, std::string_view path)
{
    const std::string& name = node->name;
    size_t i = 0;
    while (i < name.size() && i < path.size() && name[i] == path[i])
        ++i;
    if (i < path.size() && path[i] == '/') {
        const std::string_view rest = path.substr(i + 1);
        if (rest.empty())
            return node;
        for (ISceneNode* child : node->children)
            if (ISceneNode* found = findByPathFrom(child, rest))
                return found;
        return nullptr;
    }
    return i == name.size() && i == path.size() ? node : nullptr;
}

struct SceneRegistry {
    std::mutex mutex;
    std::vector<ISceneNode*> roots;
};

SceneRegistry& registry()
{
    static SceneRegistry instance;
    return instance;
}

}  // namespace

// --- The per-frame pass ---

void ISceneNode::update(ISceneNode* root, float dt)
{
    if (!root)
        return;
    if (!root->enabled)
        root->animation->time = std::max(root->animation->time + dt, 0.0f);
    animate(root, dt);
    root->updateTransform();
    if (root->enabled)
        root->updateDerived(dt);
    updateDerivedBelow(root, dt);
    root->chooseCamera();
}

// --- Play controls ---

void ISceneNode::play(bool recursive)
{
    playDirected(false, recursive);
}

void ISceneNode::playDirected(bool backwards, bool recursive)
{
    playing = true;
    animation->playing = true;
    rangeFrom = 0;
    rangeTo = 0;
    reverse = backwards;
    if (recursive)
        for (ISceneNode* child : children)
            child->playDirected(backwards, true);
}

void ISceneNode::stop(bool recursive)
{
    playing = false;
    animation->playing = false;
    animation->time = 0.0f;
    stopDerived();
    if (recursive)
        for (ISceneNode* child : children)
            child->stop(true);
}

void ISceneNode::setPlaying(bool flag, bool recursive)
{
    playing = flag;
    animation->playing = true;
    if (recursive)
        for (ISceneNode* child : children)
            child->setPlaying(flag, true);
}

void ISceneNode::stopInPlace(bool recursive)
{
    playing = false;
    animation->playing = false;
    if (recursive)
        for (ISceneNode* child : children)
            child->stop(true);
}

void ISceneNode::setTime(float seconds, bool recursive)
{
    animation->setTime(seconds);
    animation->update(0.0f);
    update(this, 0.0f);
    if (recursive)
        for (size_t i = 0; i < children.size(); ++i)
            children[i]->setTime(seconds, true);
}

void ISceneNode::seekFrame(int32_t frame)
{
    setTime(float(frame) * animation->frameTime, false);
}

void ISceneNode::setEnabled(bool flag)
{
    enabled = flag;
    for (ISceneNode* child : children)
        child->setEnabled(flag);
}

// --- Camera ---

void ISceneNode::chooseCamera()
{
    if (!selectsCamera)
        return;
    MovieCamera* chosen = nullptr;
    float best = 0.0f;
    for (ISceneNode* child : children) {
        auto* camera = dynamic_cast<MovieCamera*>(child);
        if (camera && camera->playing && camera->priority >= best) {
            chosen = camera;
            best = camera->priority;
        }
    }
    if (chosen)
        activeCamera = chosen;
}

MovieCamera* ISceneNode::getActiveCamera() const
{
    return rootOf(this)->activeCamera;
}

bool ISceneNode::rootSelectsCamera() const
{
    return rootOf(this)->selectsCamera;
}

void ISceneNode::applyCamera()
{
    MovieCamera* camera = parent ? parent->getActiveCamera() : activeCamera;
    activeCamera = camera;
    if (!camera)
        return;
    VQ::RenderCamera view = camera->getView();
    if (parallaxEnabled && camera->parallaxEnabled) {
        const float depth = (posZ == 0.0f ? 1.0f : std::fabs(posZ)) * camera->parallaxCoef;
        // A coefficient of 0 (the scene reader's default) means no parallax,
        // not a view thrown to infinity.
        if (depth != 0.0f) {
            view.position.x /= depth;
            view.position.y /= depth;
        }
    }
    VQ::RenderSystem::instance()->setCamera(view);
}

// --- Drawing ---

void renderScene(ISceneNode* root)
{
    // One list serves every call; a node that draws another scene from its
    // own render gets a list of its own.
    static std::vector<ISceneNode*> shared = [] {
        std::vector<ISceneNode*> list;
        list.reserve(1024);
        return list;
    }();
    static int depth = 0;
    std::vector<ISceneNode*> nested;
    std::vector<ISceneNode*>& list = depth == 0 ? shared : nested;

    list.clear();
    activeClipNode = nullptr;
    if (!root)
        return;
    root->collectNodes(list);
    VQ::RenderSystem* render = VQ::RenderSystem::instance();
    const VQ::RenderCamera saved = render->camera();
    std::stable_sort(list.begin(), list.end(),
                     [](const ISceneNode* a, const ISceneNode* b) { return a->posZ < b->posZ; });
    ++depth;
    for (size_t i = list.size(); i-- > 0;)
        list[i]->render();
    --depth;
    render->setCamera(saved);
}

// --- Hit test and bounds ---

bool ISceneNode::hitTest(float x, float y, bool checkAlpha)
{
    if (checkAlpha && worldColor.a == 0)
        return false;
    if (children.empty() || scaleX < 0.0001f || scaleY < 0.0001f)
        return false;
    for (ISceneNode* child : children)
        if (child->hitTest(x, y, checkAlpha))
            return true;
    return false;
}

VQ::Vector2f ISceneNode::getSize() const
{
    return parent ? VQ::Vector2f(64.0f * scaleX, 64.0f * scaleY) : VQ::Vector2f(0.0f, 0.0f);
}

VQ::Vector2f ISceneNode::getBoundsSize()
{
    std::vector<ISceneNode*> nodes;
    collectNodes(nodes);
    VQ::Vector2f low(0.0f, 0.0f);
    VQ::Vector2f high(0.0f, 0.0f);
    for (const ISceneNode* node : nodes) {
        // The far corner is taken from the running minimum.
        const VQ::Vector2f corner = low + node->getSize();
        low = VQ::Vector2f(std::min(low.x, node->worldPosition.x), std::min(low.y, node->worldPosition.y));
        high = VQ::Vector2f(std::max(high.x, corner.x), std::max(high.y, corner.y));
    }
    return high - low;
}

// --- Lookup ---

ISceneNode* ISceneNode::findNode(const std::string& wanted)
{
    std::vector<ISceneNode*> queue;
    queue.reserve(32);
    queue.push_back(this);
    for (size_t head = 0; head < queue.size(); ++head) {
        ISceneNode* node = queue[head];
        if (node->name == wanted)
            return node;
        queue.insert(queue.end(), node->children.begin(), node->children.end());
    }
    return nullptr;
}

ISceneNode* ISceneNode::findByPath(const std::string& path)
{
    return findByPathFrom(this, path);
}

std::string ISceneNode::getPath(const ISceneNode* node, const ISceneNode* root)
{
    if (!node)
        return std::string();
    if (node == root)
        return "/";
    if (!node->parent)
        return node->name;
    std::vector<const std::string*> names;
    for (const ISceneNode* n = node; n != root && n->parent; n = n->parent)
        names.push_back(&n->name);
    std::string path;
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        path += '/';
        path += **it;
    }
    return path;
}

void ISceneNode::collectNodes(std::vector<ISceneNode*>& list)
{
    list.push_back(this);
    for (ISceneNode* child : children)
        child->collectNodes(list);
}

std::vector<ISceneNode*> ISceneNode::collectDescendants()
{
    std::vector<ISceneNode*> list(children.begin(), children.end());
    for (size_t head = 0; head < list.size(); ++head)
        list.insert(list.end(), list[head]->children.begin(), list[head]->children.end());
    return list;
}

// --- Live scenes ---

void registerScene(ISceneNode* root)
{
    SceneRegistry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.roots.push_back(root);
}

void unregisterScene(ISceneNode* root)
{
    SceneRegistry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    std::erase(r.roots, root);
}

std::vector<ISceneNode*> liveScenes()
{
    SceneRegistry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    return r.roots;
}

void dumpScenes()
{
    SceneRegistry& r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    FILE* file = std::fopen("VQ.log", "a");
    if (!file)
        return;
    std::fputs("----------------SCENES DUMP\n", file);
    for (const ISceneNode* root : r.roots) {
        std::fputs("--SCENE ", file);
        std::fputs(root->fileName.c_str(), file);
        std::fputs("\n", file);
    }
    std::fputs("----------------SCENES DUMP END\n", file);
    std::fclose(file);
}

// --- Keys at the current time ---

namespace {

template <typename T>
T currentKey(ISceneNode& node, const std::string& name)
{
    SceneNodeAnimation& a = *node.animation;
    return a.keyAt<T>(name, std::max(a.keyIndexAt(), 0)).value;
}

}  // namespace

float currentKeyFloat(ISceneNode& node, const std::string& name)
{
    return currentKey<float>(node, name);
}

VQ::Vector2f currentKeyVector2(ISceneNode& node, const std::string& name)
{
    return currentKey<VQ::Vector2f>(node, name);
}

VQ::Color currentKeyColor(ISceneNode& node, const std::string& name)
{
    return currentKey<VQ::Color>(node, name);
}

bool currentKeyBool(ISceneNode& node, const std::string& name)
{
    return currentKey<bool>(node, name);
}

}  // namespace AE
