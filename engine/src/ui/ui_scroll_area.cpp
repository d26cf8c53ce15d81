#include "ui/ui_scroll_area.h"

#include <cmath>

#include "ui/ui_controller.h"
#include "ui/ui_manager.h"
#include "ui/ui_progress_bar.h"
#include "ui/ui_script_keys.h"

namespace VQ {

namespace {

constexpr float BAR_CHANGE = 0.0001f;

UIProgressBar* barNamed(UIWidget* from, const std::string& name)
{
    return from ? dynamic_cast<UIProgressBar*>(from->findChild(name)) : nullptr;
}

}  // namespace

void UIScrollArea::loadProperties(LuaScript2& script)
{
    UIWidget::loadProperties(script);
    loadScrollKeys(script);
}

void UIScrollArea::loadScrollKeys(LuaScript2& script)
{
    UIKeys::readString(script, "progressBar", progressBarName);
    UIKeys::readVector(script, "size", viewportSize);
    std::string orientation;
    if (UIKeys::readString(script, "orientation", orientation))
        horizontal = orientation == "hor";
    // Read for the scripts' sake; the bar alone moves kinetically.
    bool kinetic = false;
    float kineticSpeed = 0.0f;
    UIKeys::readFlag(script, "kinetic", kinetic);
    UIKeys::readFloat(script, "kineticSpeed", kineticSpeed);
}

int32_t UIScrollArea::processMessage(uint32_t event)
{
    if (!progressBar)
        return 0;
    const uint32_t kind = UIEvent::kind(event);
    if (kind == UIEvent::WHEEL_UP)
        progressBar->setValue(progressBar->value - progressBar->step);
    else if (kind == UIEvent::WHEEL_DOWN)
        progressBar->setValue(progressBar->value + progressBar->step);
    return 0;
}

UIProgressBar* UIScrollArea::findBar()
{
    if (progressBarName.empty())
        return nullptr;
    if (parent) {
        if (UIProgressBar* found = barNamed(parent, progressBarName))
            return found;
        return barNamed(parent->parent, progressBarName);
    }
    if (UIManager* manager = UIManager::instancePtr())
        for (UIWidget* root : manager->roots())
            if (UIProgressBar* found = barNamed(root, progressBarName))
                return found;
    return nullptr;
}

void UIScrollArea::resolveBar()
{
    barResolved = true;
    progressBar = findBar();
    if (progressBar) {
        progressBar->setValue(0.0f);
        progressBar->value = 0.0f;
        progressBar->targetValue = 0.0f;
        lastBarValue = 0.0f;
    } else {
        scrollPosition = 0.0f;
    }
    previousPosition = 0.0f;
    contentExtent = contentBounds();
    const Vector2f at = absolutePosition();
    setClipRect(Rect(at.x, at.y, at.x + viewportSize.x, at.y + viewportSize.y));
}

void UIScrollArea::update(float dt)
{
    (void)dt;
    if (!barResolved)
        resolveBar();
    if (progressBar) {
        const float length = horizontal ? contentExtent.x : contentExtent.y;
        // A non-kinetic bar moved by the wheel or by code changes only its
        // value, so that is watched too.
        const bool moved = progressBar->dragging || std::fabs(progressBar->targetValue - lastBarValue) > BAR_CHANGE ||
                           std::fabs(progressBar->value - lastBarValue) > BAR_CHANGE;
        if (moved) {
            float range = length - (horizontal ? viewportSize.x : viewportSize.y);
            if (range < 0.0f) {
                progressBar->setValueAt(0.0f);
                range = 0.0f;
            }
            lastBarValue = progressBar->value;
            scrollPosition = progressBar->value * range;
        }
    }
    const float d = scrollPosition - previousPosition;
    previousPosition = scrollPosition;
    if (d == 0.0f)
        return;
    for (UIWidget* child : children) {
        if (horizontal)
            child->position.x -= d;
        else
            child->position.y -= d;
    }
}

void UIScrollArea::forgetSubtree(const UIWidget* gone)
{
    UIWidget::forgetSubtree(gone);
    if (progressBar && (progressBar == gone || gone->isDescendant(progressBar)))
        progressBar = nullptr;
}

}  // namespace VQ
