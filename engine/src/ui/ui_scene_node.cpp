#include "ui/ui_scene_node.h"

#include <algorithm>
#include <cmath>

#include "animationeditor/scene_node.h"
#include "log_system.h"

namespace VQ {

AE::ISceneNode* findInEnclosingScenes(UIWidget* from, const std::string& path)
{
    for (UIWidget* widget = from; widget; widget = widget->parent) {
        if (widget->getType() != UIWidget::TYPE_SCENE_NODE)
            continue;
        auto* host = static_cast<UISceneNode*>(widget);
        if (!host->node)
            continue;
        if (AE::ISceneNode* found = host->node->findByPath(path))
            return found;
    }
    return nullptr;
}

AE::ISceneNode* resolveWidgetScene(UIWidget* parent, const std::string& scene, bool& owned)
{
    AE::ISceneNode* found = nullptr;
    owned = false;
    if (scene.find("@parent") == std::string::npos) {
        found = AE::loadScene(scene);
        owned = found != nullptr;
    } else {
        const std::string path = scene.size() > 7 ? scene.substr(7) : std::string();
        if (!path.empty())
            found = findInEnclosingScenes(parent, path);
    }
    if (!found)
        log(formatString("ERROR: Can't load scene node from %s!", scene.c_str()));
    return found;
}

void tintSceneNode(AE::ISceneNode& node, float transparency)
{
    Color own = node.color;
    own.a = uint8_t(std::clamp(std::trunc(transparency * 255.0f), 0.0f, 255.0f));
    node.color = own;
    node.worldColor = node.parent ? node.parent->worldColor * own : own;
}

bool hitSceneNode(AE::ISceneNode* node, const UIWidget& widget, const Vector2f& point)
{
    if (!node || !node->visible)
        return false;
    if (widget.clipEnabled && !(point.x >= widget.clipRect.left && point.x <= widget.clipRect.right &&
                                point.y >= widget.clipRect.top && point.y <= widget.clipRect.bottom))
        return false;
    return node->hitTest(std::trunc(point.x), std::trunc(point.y), false);
}

void playStateMarker(AE::ISceneNode* node, const UIWidget& widget, const UIState* state)
{
    if (!node || !state)
        return;
    for (const auto& entry : widget.states)
        if (AE::Marker* marker = node->getMarker(entry.first))
            marker->stop(true);
    if (AE::Marker* marker = node->requireMarker(state->name))
        marker->start(true);
}

void showSceneNode(AE::ISceneNode* node, bool on)
{
    if (!node)
        return;
    node->visible = on;
    for (AE::ISceneNode* child : node->children)
        child->setEnabled(on);
}

UISceneNode::UISceneNode(std::string name, UIWidget* parent, AE::ISceneNode* node, bool ownsNode) :
    UIWidget(std::move(name), parent), node(node), ownsNode(node && ownsNode)
{
    if (!node)
        return;
    size = node->getBoundsSize();
    node->play(true);
}

UISceneNode::~UISceneNode()
{
    if (ownsNode)
        delete node;
}

bool UISceneNode::hitTest(const Vector2f& point) const
{
    return hitSceneNode(node, *this, point);
}

void UISceneNode::setVisible(bool on)
{
    visible = on;
    showSceneNode(node, on);
}

void UISceneNode::beginRender()
{
    if (node && ownsNode)
        AE::renderScene(node);
}

void UISceneNode::update(float dt)
{
    if (!node)
        return;
    tintSceneNode(*node, transparency);
    if (ownsNode) {
        node->setPosition(absolutePosition());
        AE::ISceneNode::update(node, dt);
        return;
    }
    // A zero-time update of the scene would evaluate the keyed position
    // again and lose the offset: only the transforms are rebuilt, and the
    // node goes back to its place in its own scene.
    const float x = node->posX;
    const float y = node->posY;
    node->posX = x + offset.x;
    node->posY = y + offset.y;
    node->updateTransform();
    node->posX = x;
    node->posY = y;
}

void UISceneNode::onStateChanged(UIState* state)
{
    playStateMarker(node, *this, state);
}

}  // namespace VQ
