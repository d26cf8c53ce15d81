#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "animationeditor/scene_node.h"
#include "animationeditor/sprite_scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "fatal_error.h"
#include "log_system.h"
#include "ui/ui_scene_list.h"

namespace VQ {

namespace {

const char* const FILE_TAG = "ui_scene_list_item";
const char* const STATE_NAMES[] = {"regular", "select", "pressed"};

const char* stateName(int state)
{
    return state >= 0 && state < 3 ? STATE_NAMES[state] : "";
}

}  // namespace

void changeSceneButtonState(AE::ISceneNode* node, int from, int to, bool rewind)
{
    if (!node)
        return;
    node->stopMarkers(false, rewind);
    if (AE::Marker* marker = node->requireMarker(std::string(stateName(from)) + ">" + stateName(to)))
        marker->start(true);
}

bool sceneNodeHit(AE::ISceneNode* node, const Vector2f& point)
{
    return node && node->hitTest(std::trunc(point.x), std::trunc(point.y), false);
}

void UISceneListItem::Element::setState(int newState)
{
    if (newState == state)
        return;
    changeSceneButtonState(node, state, newState, false);
    state = newState;
}

UISceneListItem::UISceneListItem(const std::string& sceneName, const std::string& itemName) :
    scene(AE::loadScene(sceneName)), name(itemName)
{
    if (!scene)
        log(formatString("ERROR: Can't load scene node from %s!", sceneName.c_str()));
    build();
}

UISceneListItem::UISceneListItem(const std::string& itemName, AE::ISceneNode* node) : scene(node), name(itemName)
{
    build();
}

UISceneListItem::~UISceneListItem()
{
    elements.clear();
    if (!list)
        delete scene;
}

void UISceneListItem::build()
{
    if (!scene)
        return;
    std::vector<AE::ISceneNode*> nodes;
    scene->collectNodes(nodes);
    for (AE::ISceneNode* node : nodes) {
        static const struct {
            const char* prefix;
            ElementKind kind;
        } kinds[] = {{"#btn:", BUTTON}, {"#text:", TEXT}, {"#icon:", ICON}};
        for (const auto& k : kinds) {
            const size_t length = std::char_traits<char>::length(k.prefix);
            if (node->name.compare(0, length, k.prefix) != 0)
                continue;
            auto element = std::make_unique<Element>();
            element->kind = k.kind;
            element->name = node->name.substr(length);
            element->node = node;
            if (AE::Marker* regular = node->requireMarker("regular")) {
                if (regular->elapsed == 0.0f)
                    regular->start(true);
                regular->applyEndFrames();
            }
            element->interactive = node->requireMarker("regular>select") || node->requireMarker("select>pressed");
            elements.push_back(std::move(element));
            break;
        }
    }
    for (const auto& marker : scene->markers) {
        if (marker->name.compare(0, 6, "#size:") != 0)
            continue;
        const char* start = marker->name.c_str() + 6;
        char* end = nullptr;
        size.x = std::strtof(start, &end);
        size.y = end && *end == '/' ? std::strtof(end + 1, nullptr) : size.x;
        break;
    }
    if (name.empty())
        name = scene->name;
}

AE::TextSceneNode* UISceneListItem::textSlot(const std::string& element, int line)
{
    for (const auto& e : elements)
        if (e->kind == TEXT && e->name == element && e->node->kind() == AE::SCENE_NODE_TEXT)
            return static_cast<AE::TextSceneNode*>(e->node);
    assertFailed("VQ", formatString("Not found %s text slot!", element.c_str()), FILE_TAG, line);
}

void UISceneListItem::setTextSlot(const std::string& element, const std::u16string& text)
{
    AE::TextSceneNode* node = textSlot(element, 107);
    node->rawText = text;
    node->updateText();
}

void UISceneListItem::setTextSlotLocalized(const std::string& element, bool localized)
{
    AE::TextSceneNode* node = textSlot(element, 123);
    node->localized = localized;
    node->updateText();
}

void UISceneListItem::setIconSlot(const std::string& element, Sprite* sprite)
{
    for (const auto& e : elements)
        if (e->kind == ICON && e->name == element && e->node->kind() == AE::SCENE_NODE_SPRITE) {
            static_cast<AE::SpriteSceneNode*>(e->node)->setSprite(sprite);
            return;
        }
    assertFailed("VQ", formatString("Not found %s icon slot!", element.c_str()), FILE_TAG, 139);
}

void UISceneListItem::addListener(UISceneListItemListener* listener)
{
    if (listener && std::find(listeners.begin(), listeners.end(), listener) == listeners.end())
        listeners.push_back(listener);
}

void UISceneListItem::leave()
{
    if (!hoveredElement)
        return;
    hoveredElement->setState(SCENE_REGULAR);
    hoveredElement = nullptr;
}

int UISceneListItem::handlePointer(const UIPointer& pointer)
{
    if (hoveredElement) {
        Element* element = hoveredElement;
        if (!element->node->visible || element->node->getWorldColor().a == 0) {
            hoveredElement = nullptr;
            return 2;
        }
        lastPointer = pointer.cursor;
        if (sceneNodeHit(element->node, pointer.cursor)) {
            if (element->state != SCENE_PRESSED) {
                if (pointer.leftDown)
                    element->setState(SCENE_PRESSED);
            } else if (!pointer.leftDown) {
                element->setState(SCENE_SELECT);
                if (element->kind == BUTTON)
                    for (UISceneListItemListener* listener : std::vector<UISceneListItemListener*>(listeners))
                        listener->onElementClicked(this, element->name);
            }
            return 0;
        }
        if (pointer.leftDown)
            return 0;
        element->setState(SCENE_REGULAR);
        hoveredElement = nullptr;
        return 2;
    }
    for (const auto& element : elements) {
        if (!element->interactive || element->state == SCENE_IGNORED || !sceneNodeHit(element->node, pointer.cursor))
            continue;
        element->setState(SCENE_SELECT);
        hoveredElement = element.get();
        lastPointer = pointer.cursor;
        return 1;
    }
    return 0;
}

}  // namespace VQ
