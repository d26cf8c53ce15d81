#pragma once
// The node of a widget tree: name, placement relative to the parent, size,
// transparency, flags, clipping, named states and optional components. A
// widget changes its look only through its states; showing, hiding,
// enabling and disabling are state changes ("onIdle", "onHide",
// "onDisable"). The widget classes derive from it and override its virtual
// operations; trees are built from UI scripts and kept by the UI manager.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "color.h"
#include "function.h"
#include "rect.h"
#include "vector2.h"
#include "ui/ui_state.h"

namespace VQ {

class LuaScript2;
class UIPCController;
class UIWidget;

// The callbacks of one signal of one widget. The UI manager queues the list
// itself (not copies) and runs it after the input dispatch.
using UICallbackList = std::vector<std::unique_ptr<IFunction>>;

// An extension attached to a widget and told of its life events. Built by
// factories registered with the UI manager under a class name.
class UIComponent {
public:
    virtual ~UIComponent() = default;
    // Reads the component's keys from the open table.
    virtual void load(LuaScript2& script) { (void)script; }
    virtual void render() {}
    virtual void update(float dt) { (void)dt; }
    virtual void onStateChanged(UIState* state) { (void)state; }
    virtual void onShow() {}
    virtual void onShowForcibly() {}
    virtual void onHide() {}
    virtual void onHideOnOutsideClick() {}
    virtual void onHideForcibly() {}
    virtual void onEnable() {}
    virtual void onDisable() {}

    UIWidget* owner = nullptr;
};

class UIComponentFactory {
public:
    virtual ~UIComponentFactory() = default;
    // A new component, or null.
    virtual std::unique_ptr<UIComponent> create() = 0;
};

class UIWidget {
public:
    // The values of getType.
    enum Type : int32_t {
        TYPE_WIDGET = 0,
        TYPE_BUTTON = 1,
        TYPE_CHECK_BOX = 2,
        TYPE_LABEL = 3,
        TYPE_LIST_VIEW = 4,
        TYPE_PARTICLE_FX = 5,
        TYPE_PROGRESS_BAR = 6,
        TYPE_SCENE_NODE = 7,
        TYPE_SPRITE = 9,
        TYPE_TEXT_EDIT = 10,
        TYPE_SCENE_LIST = 11,
    };

    // Does not add the widget to the parent's children (the builder does).
    UIWidget(std::string name, UIWidget* parent);
    // Deletes the states, the children and the components; a widget the UI
    // manager still refers to (shown stack, capture) is forgotten there.
    virtual ~UIWidget();
    UIWidget(const UIWidget&) = delete;
    UIWidget& operator=(const UIWidget&) = delete;

    virtual Vector2f getSize() const { return size; }
    // Takes the callback; the base knows no signal and deletes it.
    virtual void connect(const std::string& signal, std::unique_ptr<IFunction> function);
    // The event of the input controller (kind in the low 16 bits).
    virtual int32_t processMessage(uint32_t event);
    // `point` in workspace coordinates.
    virtual bool hitTest(const Vector2f& point) const;
    // Sets the rectangle on the widget and every descendant.
    virtual void setClipRect(const Rect& rect);
    virtual void setVisible(bool on) { visible = on; }
    virtual int32_t getType() const { return TYPE_WIDGET; }
    // Draw the widget's own content, before and after its children.
    virtual void beginRender() {}
    virtual void endRender() {}
    virtual void update(float dt) { (void)dt; }
    // Reads the keys common to every class from the open table; a key that
    // is missing keeps the field.
    virtual void loadProperties(LuaScript2& script);
    virtual void onStateChanged(UIState* state) { (void)state; }
    virtual void onClipChanged() {}

    // --- Queries ---
    Vector2f absolutePosition() const;
    // The extent of the widget and its descendants from its absolute
    // position.
    Vector2f contentBounds() const;
    bool isClippedOut() const;
    // The widget itself when it has the name, else the first match of a
    // depth-first search through the children.
    UIWidget* findChild(const std::string& childName);
    bool isDescendant(const UIWidget* widget) const;
    // 1 (nothing changes) when `child` is a direct child already; else 0,
    // the child inserted before `index` or appended.
    int32_t insertChild(UIWidget* child, size_t index);
    // Takes `child` out of the children without deleting it; false when it
    // is not a direct child.
    bool detachChild(UIWidget* child);

    // --- Walks ---
    void render();
    void updateTree(float dt);
    void clearDrawn();

    // --- States ---
    void setState(const std::string& stateName);
    void setStateForcibly(const std::string& stateName);
    // Takes the state unless one of the name exists (then the offered one
    // is deleted) and applies it at once.
    void addState(const std::string& stateName, std::unique_ptr<UIState> state);
    void setCurrentState(UIState* state);
    void addDefaultIdleState();
    void addDefaultHideState();
    UIState* findState(const std::string& stateName) const;

    // --- Showing and enabling ---
    void show();
    void showForcibly();
    void hide();
    void hideOnOutsideClick();
    void hideForcibly();
    void enable();
    void disable();

    void addComponent(std::unique_ptr<UIComponent> component);

    // A subtree taken out of this widget's tree: the widget drops what
    // points into it (its states' changes; the classes their own links).
    virtual void forgetSubtree(const UIWidget* gone);

    std::string name;
    UIWidget* parent;
    std::vector<UIWidget*> children;  // owned
    Vector2f position{0.0f, 0.0f};
    Vector2f offset{0.0f, 0.0f};
    Vector2f size{0.0f, 0.0f};
    float transparency = 1.0f;
    bool hovered = false;
    bool shown = true;
    bool modal = true;
    Rect clipRect;
    bool clipEnabled = false;
    float hideStateDuration = 0.25f;
    bool notSelecting = false;
    std::map<std::string, std::unique_ptr<UIState>> states;
    UIState* currentState = nullptr;
    bool visible = true;
    bool enabled = true;
    Color color{0xFFFFFFFFu};
    int32_t tabOrder = -1;
    int32_t defaultChildTabOrder = -1;
    uint8_t hotkey = 0;
    int32_t tabNavigation = 0;
    bool drawn = false;
    int32_t processMessageReturnValue = 0;
    Rect customRect;  // x1, y1, x2, y2 from the absolute position
    bool customRectEnabled = false;
    bool deleteMark = false;
    bool hideWidgetOnOutsideClick = false;
    std::vector<std::unique_ptr<UIComponent>> components;

protected:
    // Appends to a signal's list unless the function is there already.
    static void appendCallback(UICallbackList& list, std::unique_ptr<IFunction> function);
    // Queues the list with the UI manager, to run after the dispatch.
    static void emit(UICallbackList& list);
    // Takes the list out of the UI manager's queue (a destructor's duty).
    static void forgetSignal(UICallbackList& list);
    // The pointer capture of the press-release pattern of the classes.
    void capturePointer();
    void releasePointer();
    static void playClickSound();
    // The pointer of the UI manager's controller; null while the manager has
    // another kind of controller (or there is no manager).
    static const UIPCController* pointerInput();

private:
    void applyState(const std::string& stateName, bool forcibly);
    void afterHide();
    template <typename F>
    void forEachComponent(F f)
    {
        for (const auto& component : components)
            f(*component);
    }
};

}  // namespace VQ
