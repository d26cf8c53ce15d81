#include "dialogs/scroll_bar.h"

#include <algorithm>
#include <cmath>

#include "animationeditor/scene_node.h"
#include "input_manager.h"
#include "render_system.h"

ScrollBar::ScrollBar(AE::ISceneNode* bar) : bar(bar)
{
    if (!bar)
        return;
    thumb = bar->findNode("#thumb");
    if (thumb == bar)
        thumb = nullptr;
    thumbs = bar->getMarker("#thumbs");
    const std::vector<uint32_t>& frames = bar->animation->keyFrames;
    trackLength = frames.empty() ? 0.0f : static_cast<float>(frames.back()) * bar->animation->frameTime;
    vertical = bar->getMarker("#ver") != nullptr;
}

void ScrollBar::setValue(float newValue)
{
    value = std::clamp(newValue, 0.0f, 1.0f);
    seekThumbs();
}

void ScrollBar::seekThumbs()
{
    if (!thumbs)
        return;
    for (const AE::MarkerEntry& entry : thumbs->entries) {
        if (entry.node)
            entry.node->setTime(trackLength * value, entry.recursive);
    }
}

void ScrollBar::update()
{
    VQ::InputManager* input = VQ::InputManager::instancePtr();
    VQ::MouseDevice* mouse = input ? input->mouse() : nullptr;
    if (!mouse || !bar)
        return;
    if (const VQ::RenderSystem* render = VQ::RenderSystem::instancePtr()) {
        const VQ::Vector2<int32_t> p = render->screenToWorkspace(mouse->x, mouse->y);
        mouse->workspacePosition = VQ::Vector2f(static_cast<float>(p.x), static_cast<float>(p.y));
    }
    const VQ::Vector2f cursor = mouse->workspacePosition;
    if (!active || !(mouse->left & 0x80) || !bar->hitTest(cursor.x, cursor.y, false))
        return;
    if (!thumb || thumb->animation->keyFrames.size() < 2)
        return;
    AE::SceneNodeAnimation& animation = *thumb->animation;
    const char* axisTrack = vertical ? "posY" : "posX";
    if (!animation.findTrack(axisTrack) || !animation.findTrack("pivotPoint"))
        return;
    const auto axis = [&](const VQ::Vector2f& v) { return vertical ? v.y : v.x; };
    const int last = static_cast<int>(animation.keyFrames.size()) - 1;
    const float p0 = axis(animation.vector2KeyAt("pivotPoint", 0).value);
    const float p1 = axis(animation.vector2KeyAt("pivotPoint", 1).value);
    const float k0 = animation.floatKeyAt(axisTrack, 0).value;
    const float kn = animation.floatKeyAt(axisTrack, last).value;
    const VQ::Matrix3& m = thumb->worldMatrix;
    const float scale = vertical ? std::hypot(m.m10, m.m11) : std::hypot(m.m00, m.m01);
    const VQ::Vector2f parent = thumb->parent ? thumb->parent->worldPosition : VQ::Vector2f(0.0f, 0.0f);
    const float c = axis(cursor) - axis(parent);
    const float start = (k0 + p0) * scale;
    const float end = (kn + p1) * scale;
    const float span = std::fabs(end - start);
    // A track of no length cannot place the cursor on it.
    if (span <= 0.0f)
        return;
    value = std::clamp((c - start) / span, 0.0f, 1.0f);
    if (listener)
        listener->onScroll(this, value);
    seekThumbs();
}
