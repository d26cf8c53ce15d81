#include "ui/ui_scene_list.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "animationeditor/scene_node.h"
#include "fatal_error.h"
#include "ui/scrolling_helper.h"
#include "ui/ui_controller.h"
#include "ui/ui_manager.h"
#include "ui/ui_scene_node.h"

namespace VQ {

namespace {

const char* const FILE_TAG = "ui_scene_list";
// How far the pointer may move from its press before the list takes it
// as a drag rather than a click.
constexpr float DRAG_THRESHOLD = 16.5f;

bool startsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// "a" or "a/b" after the prefix; one value gives both.
Vector2f pairAfter(const std::string& text, size_t prefixLength)
{
    const char* start = text.c_str() + prefixLength;
    char* end = nullptr;
    const float first = std::strtof(start, &end);
    float second = first;
    if (end && *end == '/')
        second = std::strtof(end + 1, nullptr);
    return Vector2f(first, second);
}

UIWidget* rootOf(UIWidget* widget)
{
    while (widget->parent)
        widget = widget->parent;
    return widget;
}

// A node's size with its own scale (a group's size is scaled already).
Vector2f scaledSize(const AE::ISceneNode& node)
{
    const Vector2f own = node.getSize();
    if (node.kind() == AE::SCENE_NODE_GROUP)
        return own;
    return Vector2f(own.x * std::fabs(node.scaleX), own.y * std::fabs(node.scaleY));
}

}  // namespace

UIPointer currentPointer()
{
    UIPointer pointer;
    UIManager* manager = UIManager::instancePtr();
    if (!manager)
        return pointer;
    if (auto* pc = dynamic_cast<UIPCController*>(manager->controller())) {
        pointer.cursor = pc->cursor;
        pointer.pressPoint = pc->pressPoint;
        pointer.leftDown = pc->leftDown;
    }
    return pointer;
}

UISceneList::UISceneList(std::string name, UIWidget* parent, AE::ISceneNode* scene, int32_t type, bool ownsScene) :
    UIWidget(std::move(name), parent), type(type), scene(scene), ownsScene(ownsScene)
{
    // Held here until the list is whole, so that a fatal report below
    // leaves nothing behind.
    std::unique_ptr<AE::ISceneNode> owned(ownsScene ? scene : nullptr);
    this->ownsScene = false;
    if (scene)
        size = scene->getBoundsSize();
    listNode = scene ? scene->findNode("#list") : nullptr;
    if (!listNode)
        assertFailed("VQ", "Not found #list scene node!", FILE_TAG, 29);
    maskNode = scene->findNode("#mask");
    if (!maskNode)
        assertFailed("VQ", "Not found #mask scene node!", FILE_TAG, 30);

    if (AE::ISceneNode* item = scene->findNode("#item")) {
        padding = Vector2f(item->worldMatrix.m20 - listNode->worldMatrix.m20,
                           item->worldMatrix.m21 - listNode->worldMatrix.m21);
        if (item->parent) {
            item->parent->removeChild(item, true);
            delete item;
        }
    }
    maskSize = scaledSize(*maskNode);
    const int turn = int(maskNode->rotation);
    if (turn == 90 || turn == -90)
        std::swap(maskSize.x, maskSize.y);
    listNode->setPosition(0.0f, 0.0f);
    contentExtent = Vector2f(padding.x * 2.0f, padding.y * 2.0f);
    readListMarkers();
    if (type == BOOK)
        scrollingHelper = std::make_unique<BookScrollingHelper>(this, scene);
    else
        scrollingHelper = std::make_unique<StripScrollingHelper>(this, scene);
    this->ownsScene = owned.release() != nullptr;
}

UISceneList::~UISceneList()
{
    scrollingHelper.reset();
    for (UISceneListItem* item : mDoomed)
        delete item;
    for (UISceneListItem* item : items)
        delete item;
    if (ownsScene)
        delete scene;
}

void UISceneList::readListMarkers()
{
    for (const auto& marker : listNode->markers) {
        const std::string& n = marker->name;
        if (startsWith(n, "#indent:")) {
            itemSpacing = std::strtof(n.c_str() + 8, nullptr);
        } else if (startsWith(n, "#outside:")) {
            outside = std::strtof(n.c_str() + 9, nullptr);
        } else if (startsWith(n, "#correctionTime:")) {
            correctionTime = std::strtof(n.c_str() + 16, nullptr);
            if (!(correctionTime > 0.0f))
                correctionTime = 0.25f;
        } else if (startsWith(n, "#padding:")) {
            padding = pairAfter(n, 9);
        } else if (startsWith(n, "#area_scale:")) {
            const Vector2f scale = pairAfter(n, 12);
            maskSize = Vector2f(maskSize.x * scale.x, maskSize.y * scale.y);
        }
    }
}

size_t UISceneList::addItem(UISceneListItem* item)
{
    if (!item)
        return items.size();
    if (item->scene)
        listNode->addChild(item->scene, false);
    items.push_back(item);
    item->list = this;
    activeItem = nullptr;
    layout();
    return items.size();
}

void UISceneList::removeItem(UISceneListItem* item)
{
    const auto it = std::find(items.begin(), items.end(), item);
    if (it == items.end())
        return;
    item->list = nullptr;
    items.erase(it);
    activeItem = nullptr;
    layout();
}

void UISceneList::clearItems()
{
    activeItem = nullptr;
    std::vector<UISceneListItem*> gone;
    gone.swap(items);
    for (UISceneListItem* item : gone) {
        item->list = nullptr;
        // A listener may clear the list from inside an item's handling:
        // that item is still running.
        if (mUpdating)
            mDoomed.push_back(item);
        else
            delete item;
    }
    layout();
}

void UISceneList::layout()
{
    contentExtent = Vector2f(padding.x * 2.0f, padding.y * 2.0f);
    for (UISceneListItem* item : items) {
        if (item->scene)
            item->scene->setPosition(contentExtent.x - padding.x, contentExtent.y - padding.y);
        if (vertical)
            contentExtent.y += item->size.y + itemSpacing;
        else
            contentExtent.x += item->size.x + itemSpacing;
    }
    const float maskLength = along(maskSize);
    const float contentLength = along(contentExtent);
    if (!items.empty() && (outside > 0.0f || contentLength > maskLength))
        minScroll = std::min(maskLength - contentLength, 0.0f);
    // Only the transforms: a zero-time update would evaluate the keyed
    // places of the item scenes again.
    if (scene)
        scene->updateTransform();
}

bool UISceneList::needsScrolling() const
{
    return !items.empty() && (outside > 0.0f || along(contentExtent) > along(maskSize));
}

float UISceneList::scrollPosition() const
{
    return vertical ? listNode->posY : listNode->posX;
}

void UISceneList::setScrollPosition(float position)
{
    if (vertical)
        listNode->setPosition(listNode->posX, position);
    else
        listNode->setPosition(position, listNode->posY);
}

void UISceneList::setScrollPositionClamped(float position)
{
    const float p = std::clamp(position, minScroll - outside, std::max(outside, minScroll - outside));
    listNode->setPosition(vertical ? 0.0f : p, vertical ? p : 0.0f);
    correctionRemaining = 0.0f;
}

bool UISceneList::insideMask(const Vector2f& point) const
{
    const float left = maskNode->worldMatrix.m20;
    const float top = maskNode->worldMatrix.m21;
    return point.x >= left && point.x < left + maskSize.x && point.y >= top && point.y < top + maskSize.y;
}

bool UISceneList::hitTest(const Vector2f& point) const
{
    if (clipEnabled && !(point.x >= clipRect.left && point.x <= clipRect.right && point.y >= clipRect.top &&
                         point.y <= clipRect.bottom))
        return false;
    return scene && scene->hitTest(std::trunc(point.x), std::trunc(point.y), false);
}

void UISceneList::setVisible(bool on)
{
    visible = on;
    showSceneNode(scene, on);
}

void UISceneList::beginRender()
{
    if (scene && ownsScene)
        AE::renderScene(scene);
}

void UISceneList::onStateChanged(UIState* state)
{
    if (!state || !scene)
        return;
    if (AE::Marker* marker = scene->requireMarker(state->name))
        marker->start(true);
}

int32_t UISceneList::processMessage(uint32_t event)
{
    const uint32_t kind = UIEvent::kind(event);
    if (kind == UIEvent::WHEEL_UP || kind == UIEvent::WHEEL_DOWN)
        scrollingHelper->wheel(kind == UIEvent::WHEEL_UP);
    return 0;
}

void UISceneList::update(float dt)
{
    if (!rootOf(this)->shown)
        return;
    tintSceneNode(*scene, transparency);
    if (ownsScene) {
        scene->setPosition(absolutePosition());
        AE::ISceneNode::update(scene, dt);
    }
    UIManager* manager = UIManager::instancePtr();
    if (!manager || manager->topmostVisibleRoot() != rootOf(this))
        return;
    mUpdating = true;
    updatePointer(dt, currentPointer());
    mUpdating = false;
    std::vector<UISceneListItem*> doomed;
    doomed.swap(mDoomed);
    for (UISceneListItem* item : doomed)
        delete item;
}

void UISceneList::updatePointer(float dt, const UIPointer& pointer)
{
    const Vector2f cursor = pointer.cursor;
    if (activeItem) {
        bool left = false;
        if (!insideMask(cursor) || pointerDragging) {
            activeItem->leave();
            left = true;
        } else {
            if (!pointer.leftDown) {
                pressStart = cursor;
            } else {
                const float dx = cursor.x - pressStart.x;
                const float dy = cursor.y - pressStart.y;
                pointerDragging = std::sqrt(dx * dx + dy * dy) >= DRAG_THRESHOLD;
            }
            if (!pointerDragging) {
                const int result = activeItem->handlePointer(pointer);
                // A listener cleared the list: nothing is active any more.
                if (!activeItem)
                    return;
                left = result == 2;
            }
        }
        if (left) {
            activeItem = nullptr;
            pressStart = cursor;
            for (UISceneListListener* listener : std::vector<UISceneListListener*>(listListeners))
                listener->onItemDeactivated(this);
            pointerDragging = pointer.leftDown;
        }
    }
    if (!activeItem && !scrollingHelper->dragging && insideMask(cursor) && !pointerDragging) {
        // By index: a listener may clear the list.
        for (size_t i = 0; i < items.size(); ++i) {
            UISceneListItem* item = items[i];
            if (item->handlePointer(pointer) != 1)
                continue;
            activeItem = item;
            pressStart = cursor;
            if (!listListeners.empty())
                listListeners.front()->onItemActivated(this, item);
            return;
        }
    }
    if (!activeItem) {
        scrollingHelper->update(dt);
        if (!scrollingHelper->dragging) {
            if (pointer.leftDown) {
                pointerDragging = true;
            } else {
                pointerDragging = false;
                pressStart = cursor;
            }
        }
    }
    if (!scrollingHelper->dragging)
        springBack(dt);
}

void UISceneList::springBack(float dt)
{
    if (!needsScrolling())
        return;
    if (correctionRemaining > 0.0f) {
        correctionRemaining = std::max(correctionRemaining - dt, 0.0f);
        setScrollPosition(correctionTo - (correctionTo - correctionFrom) * (correctionRemaining / correctionTime));
        return;
    }
    const float position = scrollPosition();
    if (position > 0.0f)
        correctionTo = 0.0f;
    else if (position < minScroll)
        correctionTo = minScroll;
    else
        return;
    correctionFrom = position;
    correctionRemaining = correctionTime;
}

}  // namespace VQ
