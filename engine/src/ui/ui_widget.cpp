#include "ui/ui_widget.h"

#include <algorithm>

#include "lua_script_2.h"
#include "sound_system/sound_manager.h"
#include "ui/ui_controller.h"
#include "ui/ui_manager.h"
#include "ui/ui_script_keys.h"

namespace VQ {

namespace {

const std::string ON_IDLE = "onIdle";
const std::string ON_HIDE = "onHide";
const std::string ON_DISABLE = "onDisable";
const std::string ON_SELECT = "onSelect";

UIManager* manager()
{
    return UIManager::instancePtr();
}

}  // namespace

UIWidget::UIWidget(std::string name, UIWidget* parent) : name(std::move(name)), parent(parent) {}

UIWidget::~UIWidget()
{
    if (UIManager* m = manager())
        m->forgetWidget(this);
    states.clear();
    for (UIWidget* child : children)
        delete child;
    children.clear();
    components.clear();
}

void UIWidget::connect(const std::string& signal, std::unique_ptr<IFunction> function)
{
    (void)signal;
    function.reset();
}

int32_t UIWidget::processMessage(uint32_t event)
{
    (void)event;
    return processMessageReturnValue;
}

bool UIWidget::hitTest(const Vector2f& point) const
{
    if (notSelecting)
        return false;
    const Vector2f at = absolutePosition();
    Rect box;
    if (customRectEnabled) {
        box = Rect(at.x + customRect.left, at.y + customRect.top, at.x + customRect.right, at.y + customRect.bottom);
    } else {
        const Vector2f extent = getSize();
        box = Rect(at.x, at.y, at.x + extent.x, at.y + extent.y);
    }
    bool clipHolds = true;
    if (clipEnabled) {
        const bool intersects = box.left <= clipRect.right && box.right >= clipRect.left &&
                                box.top <= clipRect.bottom && box.bottom >= clipRect.top;
        const bool pointInClip = point.x >= clipRect.left && point.x <= clipRect.right && point.y >= clipRect.top &&
                                 point.y <= clipRect.bottom;
        clipHolds = intersects && pointInClip;
    }
    const bool inside = point.x >= box.left && point.x <= box.right && point.y >= box.top && point.y <= box.bottom;
    if (inside && clipHolds)
        return true;
    if (customRectEnabled)
        return false;
    for (const UIWidget* child : children)
        if (child->hitTest(point))
            return true;
    return false;
}

void UIWidget::setClipRect(const Rect& rect)
{
    clipRect = rect;
    clipEnabled = true;
    for (UIWidget* child : children)
        child->setClipRect(rect);
    onClipChanged();
}

void UIWidget::loadProperties(LuaScript2& script)
{
    UIKeys::readVector(script, "position", position);
    UIKeys::readFlag(script, "modal", modal);
    float duration = 0.0f;
    if (UIKeys::readFloat(script, "hideStateDuration", duration)) {
        hideStateDuration = duration;
        for (UIWidget* child : children)
            child->hideStateDuration = duration;
    }
    customRectEnabled = UIKeys::readRect(script, "customClientRect", customRect);
    bool on = enabled;
    if (UIKeys::readFlag(script, "enabled", on) && on != enabled) {
        if (on)
            enable();
        else
            disable();
    }
    UIKeys::readFlag(script, "notSelecting", notSelecting);
    UIKeys::readInt(script, "tabOrder", tabOrder);
    UIKeys::readInt(script, "hotkey", hotkey);
    UIKeys::readInt(script, "defaultChildTabOrder", defaultChildTabOrder);
    UIKeys::readInt(script, "tabNavigation", tabNavigation);
    UIKeys::readInt(script, "processMessageReturnValue", processMessageReturnValue);
    UIKeys::readFlag(script, "enableCustomContentRect", customRectEnabled);
    UIKeys::readRect(script, "customContentRect", customRect);
    UIKeys::readFlag(script, "hideWidgetOnOutsideClick", hideWidgetOnOutsideClick);
}

Vector2f UIWidget::absolutePosition() const
{
    Vector2f at = parent ? parent->absolutePosition() : Vector2f(0.0f, 0.0f);
    return Vector2f(at.x + position.x + offset.x, at.y + position.y + offset.y);
}

Vector2f UIWidget::contentBounds() const
{
    const Vector2f at = absolutePosition();
    float right = at.x + size.x;
    float bottom = at.y + size.y;
    for (const UIWidget* child : children) {
        const Vector2f childAt = child->absolutePosition();
        const Vector2f childBounds = child->contentBounds();
        right = std::max(right, childAt.x + childBounds.x);
        bottom = std::max(bottom, childAt.y + childBounds.y);
    }
    return Vector2f(right - at.x, bottom - at.y);
}

bool UIWidget::isClippedOut() const
{
    if (!clipEnabled)
        return false;
    const Vector2f at = absolutePosition();
    const Vector2f bounds = contentBounds();
    const float right = at.x + bounds.x;
    const float bottom = at.y + bounds.y;
    return clipRect.left > right || clipRect.right < at.x || clipRect.top > bottom || clipRect.bottom < at.y;
}

UIWidget* UIWidget::findChild(const std::string& childName)
{
    if (name == childName)
        return this;
    for (UIWidget* child : children)
        if (UIWidget* found = child->findChild(childName))
            return found;
    return nullptr;
}

bool UIWidget::isDescendant(const UIWidget* widget) const
{
    for (const UIWidget* child : children)
        if (child == widget || child->isDescendant(widget))
            return true;
    return false;
}

int32_t UIWidget::insertChild(UIWidget* child, size_t index)
{
    if (std::find(children.begin(), children.end(), child) != children.end())
        return 1;
    child->parent = this;
    if (index >= children.size())
        children.push_back(child);
    else
        children.insert(children.begin() + std::ptrdiff_t(index), child);
    return 0;
}

bool UIWidget::detachChild(UIWidget* child)
{
    const auto it = std::find(children.begin(), children.end(), child);
    if (it == children.end())
        return false;
    children.erase(it);
    child->parent = nullptr;
    return true;
}

void UIWidget::render()
{
    if (!visible || drawn)
        return;
    const bool ownContent = transparency > 0.0f;
    if (ownContent) {
        beginRender();
        forEachComponent([](UIComponent& c) { c.render(); });
    }
    // By index: drawing may not change the children, but a component of a
    // game might.
    for (size_t i = 0; i < children.size(); ++i)
        children[i]->render();
    if (ownContent)
        endRender();
    drawn = true;
}

void UIWidget::updateTree(float dt)
{
    if (currentState)
        for (const auto& change : currentState->changes)
            change->update(dt);
    update(dt);
    forEachComponent([dt](UIComponent& c) { c.update(dt); });
    for (size_t i = 0; i < children.size(); ++i)
        children[i]->updateTree(dt);
}

void UIWidget::clearDrawn()
{
    drawn = false;
    for (UIWidget* child : children)
        child->clearDrawn();
}

UIState* UIWidget::findState(const std::string& stateName) const
{
    const auto it = states.find(stateName);
    return it == states.end() ? nullptr : it->second.get();
}

void UIWidget::applyState(const std::string& requested, bool forcibly)
{
    std::string stateName = requested;
    if (!enabled) {
        if (stateName == ON_SELECT)
            return;
        if (stateName == ON_IDLE)
            stateName = ON_DISABLE;
    }
    if (stateName != ON_SELECT)
        hovered = false;
    if (UIState* state = findState(stateName)) {
        setCurrentState(state);
        for (const auto& change : state->changes) {
            if (forcibly)
                change->finish();
            else
                change->start();
        }
        shown = stateName != ON_HIDE;
    }
    if (stateName == ON_IDLE || stateName == ON_HIDE)
        for (size_t i = 0; i < children.size(); ++i)
            children[i]->applyState(stateName, forcibly);
}

void UIWidget::setState(const std::string& stateName)
{
    applyState(stateName, false);
}

void UIWidget::setStateForcibly(const std::string& stateName)
{
    applyState(stateName, true);
}

void UIWidget::setCurrentState(UIState* state)
{
    if (state == currentState)
        return;
    currentState = state;
    onStateChanged(state);
    forEachComponent([state](UIComponent& c) { c.onStateChanged(state); });
}

void UIWidget::addState(const std::string& stateName, std::unique_ptr<UIState> state)
{
    if (states.count(stateName))
        return;
    UIState* added = state.get();
    states[stateName] = std::move(state);
    if (!enabled)
        return;
    if (stateName != ON_SELECT)
        hovered = false;
    setCurrentState(added);
    for (const auto& change : added->changes)
        change->finish();
    shown = stateName != ON_HIDE;
    if (stateName == ON_IDLE || stateName == ON_HIDE)
        for (size_t i = 0; i < children.size(); ++i)
            children[i]->setStateForcibly(stateName);
}

void UIWidget::addDefaultIdleState()
{
    if (states.count(ON_IDLE))
        return;
    auto state = std::make_unique<UIState>(ON_IDLE);
    state->add(std::make_unique<UIState::PropertyChange<float>>(this, &transparency, 0.25f, 1.0f));
    addState(ON_IDLE, std::move(state));
}

void UIWidget::addDefaultHideState()
{
    if (states.count(ON_HIDE))
        return;
    auto state = std::make_unique<UIState>(ON_HIDE);
    state->add(std::make_unique<UIState::PropertyChange<float>>(this, &transparency, hideStateDuration, 0.0f));
    addState(ON_HIDE, std::move(state));
    for (size_t i = 0; i < children.size(); ++i) {
        children[i]->hideStateDuration = hideStateDuration;
        children[i]->addDefaultHideState();
    }
}

void UIWidget::show()
{
    setState(enabled ? ON_IDLE : ON_DISABLE);
    forEachComponent([](UIComponent& c) { c.onShow(); });
    if (UIManager* m = manager())
        m->showRoot(this);
}

void UIWidget::showForcibly()
{
    setStateForcibly(enabled ? ON_IDLE : ON_DISABLE);
    forEachComponent([](UIComponent& c) { c.onShowForcibly(); });
    if (UIManager* m = manager())
        m->showRoot(this);
}

void UIWidget::afterHide()
{
    if (UIManager* m = manager())
        m->onWidgetHidden(this);
}

void UIWidget::hide()
{
    setState(ON_HIDE);
    forEachComponent([](UIComponent& c) { c.onHide(); });
    afterHide();
}

void UIWidget::hideOnOutsideClick()
{
    setState(ON_HIDE);
    forEachComponent([](UIComponent& c) { c.onHideOnOutsideClick(); });
    afterHide();
}

void UIWidget::hideForcibly()
{
    setStateForcibly(ON_HIDE);
    forEachComponent([](UIComponent& c) { c.onHideForcibly(); });
    afterHide();
}

void UIWidget::enable()
{
    enabled = true;
    setStateForcibly(ON_IDLE);
    forEachComponent([](UIComponent& c) { c.onEnable(); });
}

void UIWidget::disable()
{
    setStateForcibly(ON_DISABLE);
    enabled = false;
    forEachComponent([](UIComponent& c) { c.onDisable(); });
}

void UIWidget::addComponent(std::unique_ptr<UIComponent> component)
{
    if (!component)
        return;
    for (const auto& held : components)
        if (held == component)
            return;
    components.push_back(std::move(component));
}

void UIWidget::forgetSubtree(const UIWidget* gone)
{
    for (auto& [stateName, state] : states) {
        auto& changes = state->changes;
        changes.erase(std::remove_if(changes.begin(), changes.end(),
                                     [gone](const std::unique_ptr<UIState::IPropertyChange>& change) {
                                         return change->widget == gone || gone->isDescendant(change->widget);
                                     }),
                      changes.end());
    }
}

void UIWidget::appendCallback(UICallbackList& list, std::unique_ptr<IFunction> function)
{
    if (!function)
        return;
    for (const auto& held : list)
        if (held.get() == function.get())
            return;
    list.push_back(std::move(function));
}

void UIWidget::emit(UICallbackList& list)
{
    if (UIManager* m = manager())
        m->queueSignal(list);
}

void UIWidget::forgetSignal(UICallbackList& list)
{
    if (UIManager* m = manager())
        m->forgetSignal(list);
}

void UIWidget::capturePointer()
{
    if (UIManager* m = manager())
        if (!m->capturedWidget)
            m->capturedWidget = this;
}

void UIWidget::releasePointer()
{
    if (UIManager* m = manager())
        if (m->capturedWidget == this)
            m->capturedWidget = nullptr;
}

const UIPCController* UIWidget::pointerInput()
{
    const UIManager* m = manager();
    return m ? dynamic_cast<const UIPCController*>(m->controller()) : nullptr;
}

void UIWidget::playClickSound()
{
    UIManager* m = manager();
    if (m && SoundManager::exists())
        SoundManager::instance()->playByName(m->clickSoundName);
}

}  // namespace VQ
