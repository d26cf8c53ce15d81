#include "ui/ui_progress_bar.h"

#include <algorithm>
#include <cmath>

#include "fast_sprite.h"
#include "ui/ui_controller.h"
#include "ui/ui_script_keys.h"
#include "ui/ui_sprite.h"

namespace VQ {

namespace {

// The swing's update: value += d x speed x 500 x max(d² / L, 0.02) x dt.
// Once the factor on d passes 2 the swing grows from step to step, so a
// long UI frame is taken in steps no longer than the game's own frame.
constexpr float MAX_KINETIC_STEP = 1.0f / 60.0f;
constexpr float FLOAT_EPSILON = 1.1920929e-7f;

UISprite* spriteNamed(UIWidget& from, const std::string& name)
{
    return dynamic_cast<UISprite*>(from.findChild(name));
}

}  // namespace

void UIProgressBar::setValue(float v)
{
    v = std::clamp(v, 0.0f, 1.0f);
    if (kinetic)
        targetValue = v;
    else
        value = v;
}

void UIProgressBar::setValueAt(float v)
{
    v = std::clamp(v, 0.0f, 1.0f);
    if (kinetic)
        targetValue = v;
    value = v;
}

int32_t UIProgressBar::processMessage(uint32_t event)
{
    if (UIEvent::kind(event) == UIEvent::POINTER_HELD && !locked) {
        dragging = true;
        capturePointer();
    } else {
        dragging = false;
        releasePointer();
    }
    return 0;
}

void UIProgressBar::moveKinetically(float dt)
{
    const float length = std::fabs(trackLength) > FLOAT_EPSILON ? trackLength : 1e-10f;
    const int steps = dt > 0.0f ? int(std::ceil(dt / MAX_KINETIC_STEP - 1e-3f)) : 0;
    const float each = steps > 0 ? dt / float(steps) : 0.0f;
    for (int i = 0; i < steps; ++i) {
        const float d = targetValue - value;
        value += d * kineticSpeed * 500.0f * std::max(d * d / length, 0.02f) * each;
    }
}

void UIProgressBar::update(float dt)
{
    if (kinetic)
        moveKinetically(dt);
    if (trackLength < 0.0f) {
        const Vector2f bounds = contentBounds();
        trackLength = (horizontal() ? bounds.x : bounds.y) - lrOffsets.x - lrOffsets.y;
    }
    // A track of no length has no place to map the pointer to.
    if (dragging && trackLength > 0.0f)
        if (const UIPCController* input = pointerInput()) {
            const Vector2f at = absolutePosition();
            const float p = horizontal() ? input->cursor.x - at.x : input->cursor.y - at.y;
            setValue(std::max(p, 0.0f) / trackLength);
        }
    resolveChildren();
    cropBar();
    placeThumb();
}

void UIProgressBar::resolveChildren()
{
    if (!barResolved) {
        bar = spriteNamed(*this, barName);
        barResolved = true;
        if (bar && bar->sprite) {
            barSourceRect = bar->sprite->getSourceRect();
            barFullSize = bar->sprite->size;
        }
    }
    if (!thumbResolved) {
        thumb = spriteNamed(*this, thumbName);
        thumbResolved = true;
    }
}

void UIProgressBar::cropBar()
{
    if (!bar || !bar->sprite)
        return;
    const float a = lrOffsets.x;
    const float b = lrOffsets.y;
    const Rect& full = barSourceRect;
    FastSprite& sprite = *bar->sprite;
    // The start cap always shows; the end cap never does.
    if (horizontal()) {
        sprite.size = Vector2f((barFullSize.x - a - b) * value + a, barFullSize.y);
        sprite.setSourceRect(0, Rect(full.left, full.top, (full.right - full.left - a - b) * value + full.left + a,
                                     full.bottom));
    } else {
        sprite.size = Vector2f(barFullSize.x, (barFullSize.y - a - b) * value + a);
        sprite.setSourceRect(0, Rect(full.left, full.top, full.right,
                                     (full.bottom - full.top - a - b) * value + full.top + a));
    }
}

void UIProgressBar::placeThumb()
{
    if (!thumb || !thumb->sprite)
        return;
    const float a = lrOffsets.x;
    const float half = (horizontal() ? thumb->sprite->size.x : thumb->sprite->size.y) * 0.5f;
    const float along = std::min(std::max(value * trackLength + a - half, a), trackLength - half);
    if (horizontal())
        thumb->position.x = along;
    else
        thumb->position.y = along;
}

void UIProgressBar::loadProperties(LuaScript2& script)
{
    UIWidget::loadProperties(script);
    if (UIKeys::readString(script, "bar", barName))
        barResolved = false;
    UIKeys::readVector(script, "lrOffsets", lrOffsets);
    if (UIKeys::readString(script, "thumb", thumbName))
        thumbResolved = false;
    UIKeys::readUInt(script, "orientation", orientation);
    UIKeys::readFlag(script, "kinetic", kinetic);
    UIKeys::readFloat(script, "kineticSpeed", kineticSpeed);
    UIKeys::readFloat(script, "step", step);
    UIKeys::readFlag(script, "locked", locked);
}

void UIProgressBar::forgetSubtree(const UIWidget* gone)
{
    UIWidget::forgetSubtree(gone);
    auto within = [gone](const UIWidget* w) { return w && (w == gone || gone->isDescendant(w)); };
    if (within(bar))
        bar = nullptr;
    if (within(thumb))
        thumb = nullptr;
}

}  // namespace VQ
