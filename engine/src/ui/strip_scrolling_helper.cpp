#include <algorithm>
#include <cmath>

#include "animationeditor/scene_node.h"
#include "fatal_error.h"
#include "ui/scrolling_helper.h"
#include "ui/ui_scene_list.h"

namespace VQ {

namespace {

const char* const FILE_TAG = "strip_scrolling_helper";
// Share of the last frame's pointer speed the content keeps after release.
constexpr float RELEASE_SPEED = 0.78f;
// Deceleration: the speed loses this times its own step each frame.
constexpr float FRICTION = 4.33f;
// Below this speed (units per second) the content stops.
constexpr float STOP_SPEED = 60.0f;
constexpr float WHEEL_STEP = 24.0f;

}  // namespace

StripScrollingHelper::ScrollBar::ScrollBar(AE::ISceneNode* bar, StripScrollingHelper* helper) :
    barNode(bar), helper(helper)
{
    barNode->visible = true;
    for (AE::ISceneNode* child : barNode->children)
        child->setEnabled(true);
    for (const auto& marker : barNode->markers)
        if (marker->name == "#thumbs")
            for (const AE::MarkerEntry& entry : marker->entries)
                thumbs.emplace_back(entry.node, entry.recursive);
    const std::vector<uint32_t>& keys = barNode->animation->keyFrames;
    if (keys.size() < 2 || keys.size() > 4)
        assertFailed("VQ", "Progress bar must be contains 2 or 4 key frames!", FILE_TAG, 37);
    const float frameTime = barNode->animation->frameTime;
    trackStart = keys.size() == 2 ? 0.0f : frameTime * float(keys[1]);
    trackEnd = frameTime * float(keys.back());
    if (thumbs.empty())
        assertFailed("VQ", "Progress bar does not contain any thumbs!", FILE_TAG, 45);
    for (const auto& [node, recursive] : thumbs)
        node->setTime(trackStart, recursive);

    thumb = barNode->findNode("#thumb");
    if (!thumb)
        return;
    AE::SceneNodeAnimation& anim = *thumb->animation;
    const int last = int(anim.keyFrames.size()) - 1;
    const float dx = anim.floatKeyAt("posX", last).value - anim.floatKeyAt("posX", 0).value;
    const float dy = anim.floatKeyAt("posY", last).value - anim.floatKeyAt("posY", 0).value;
    if (std::fabs(dx) > std::fabs(dy)) {
        thumbStart = anim.floatKeyAt("posX", 0).value;
        thumbRange = std::fabs(dx);
    } else {
        thumbStart = anim.floatKeyAt("posY", 0).value;
        thumbRange = std::fabs(dy);
    }
    if (AE::Marker* regular = thumb->requireMarker("regular"))
        regular->start(true);
    thumbState = 0;
}

void StripScrollingHelper::ScrollBar::setThumbState(int state)
{
    if (state == thumbState)
        return;
    changeSceneButtonState(thumb, thumbState, state, false);
    thumbState = state;
    helper->dragging = state == SCENE_PRESSED;
}

void StripScrollingHelper::ScrollBar::update(const UIPointer& pointer)
{
    UISceneList& list = *helper->list;
    const float p = list.scrollPosition();
    float t;
    if (p > 0.0f && list.outside > 0.0f)
        t = trackStart * (1.0f - p / list.outside);
    else if (p < list.minScroll && list.outside > 0.0f)
        t = trackEnd - trackStart * (1.0f - (list.minScroll - p) / list.outside);
    else if (list.minScroll == 0.0f)
        t = trackStart;
    else
        t = trackStart + (trackEnd - 2.0f * trackStart) * std::clamp(p / list.minScroll, 0.0f, 1.0f);
    for (const auto& [node, recursive] : thumbs)
        node->setTime(t, recursive);
    if (thumb && !(helper->dragging && thumbState == SCENE_REGULAR))
        thumbStep(pointer);
}

void StripScrollingHelper::ScrollBar::thumbStep(const UIPointer& pointer)
{
    const bool hit = sceneNodeHit(thumb, pointer.cursor);
    switch (thumbState) {
    case SCENE_REGULAR:
        if (hit)
            setThumbState(SCENE_SELECT);
        break;
    case SCENE_SELECT:
        if (pointer.leftDown) {
            thumbLastPointer = pointer.cursor;
            setThumbState(SCENE_PRESSED);
        } else if (!hit) {
            setThumbState(SCENE_REGULAR);
        }
        break;
    default: {
        if (!pointer.leftDown) {
            setThumbState(hit ? SCENE_SELECT : SCENE_REGULAR);
            break;
        }
        UISceneList& list = *helper->list;
        // A thumb without travel cannot be dragged.
        if (thumbRange > 0.0f) {
            const float at = list.vertical ? thumb->posY : thumb->posX;
            const float moved = list.along(pointer.cursor) - list.along(thumbLastPointer);
            const float r = std::clamp((at - thumbStart + moved) / thumbRange, 0.0f, 1.0f);
            list.setScrollPositionClamped(list.minScroll * r);
        }
        thumbLastPointer = pointer.cursor;
        break;
    }
    }
}

StripScrollingHelper::StripScrollingHelper(UISceneList* list, AE::ISceneNode* scene) : ScrollingHelper(list)
{
    if (AE::ISceneNode* bar = scene->findNode("#scroll_bar"))
        scrollBar = std::make_unique<ScrollBar>(bar, this);
    if (AE::ISceneNode* pages = scene->findNode("#page_bar"))
        pages->setEnabled(false);
    inertia = false;
}

StripScrollingHelper::~StripScrollingHelper() = default;

void StripScrollingHelper::update(float dt)
{
    if (!list->needsScrolling())
        return;
    const UIPointer pointer = currentPointer();
    if (list->scrollFlags & 2u)
        dragStep(dt, pointer);
    if (scrollBar)
        scrollBar->update(pointer);
    inertiaStep(dt);
}

void StripScrollingHelper::dragStep(float dt, const UIPointer& pointer)
{
    if (!dragging) {
        if (pointer.leftDown && list->pointerDragging) {
            lastPointer = pointer.cursor;
            dragging = list->insideMask(pointer.cursor);
        }
        return;
    }
    if (scrollBar && scrollBar->thumbState != SCENE_REGULAR)
        return;
    if (pointer.leftDown) {
        const float moved = list->along(pointer.cursor) - list->along(lastPointer);
        list->setScrollPositionClamped(list->scrollPosition() + moved);
        lastPointer = pointer.cursor;
        return;
    }
    // A release in a frame of no time has no speed.
    if (dt > 0.0f)
        velocity = Vector2f((lastPointer.x - pointer.cursor.x) / dt * RELEASE_SPEED,
                            (lastPointer.y - pointer.cursor.y) / dt * RELEASE_SPEED);
    else
        velocity = Vector2f(0.0f, 0.0f);
    inertia = velocity.x != 0.0f || velocity.y != 0.0f;
    dragging = false;
}

void StripScrollingHelper::inertiaStep(float dt)
{
    if (!inertia)
        return;
    const Vector2f step(velocity.x * dt, velocity.y * dt);
    list->setScrollPositionClamped(list->scrollPosition() - list->along(step));
    velocity = Vector2f(velocity.x - FRICTION * step.x, velocity.y - FRICTION * step.y);
    if (std::fabs(velocity.x) < STOP_SPEED)
        velocity.x = 0.0f;
    if (std::fabs(velocity.y) < STOP_SPEED)
        velocity.y = 0.0f;
    inertia = velocity.x != 0.0f || velocity.y != 0.0f;
    const float low = list->minScroll - list->outside;
    const float high = list->outside;
    const AE::ISceneNode& node = *list->listNode;
    if (node.posX < low || node.posX > high || node.posY < low || node.posY > high)
        inertia = false;
}

void StripScrollingHelper::wheel(bool up)
{
    if (dragging || !(list->scrollFlags & 1u))
        return;
    const UIPointer pointer = currentPointer();
    if (list->insideMask(pointer.cursor) || !scrollBar || sceneNodeHit(scrollBar->barNode, pointer.cursor))
        list->setScrollPositionClamped(list->scrollPosition() + (up ? WHEEL_STEP : -WHEEL_STEP));
}

void StripScrollingHelper::scrollTo(float offset)
{
    const float p = std::clamp(-offset, list->minScroll, 0.0f);
    list->listNode->setPosition(list->vertical ? 0.0f : p, list->vertical ? p : 0.0f);
    list->correctionRemaining = 0.0f;
}

}  // namespace VQ
