#pragma once
// A scrollable list drawn entirely by an animation scene: the items are laid
// out under the scene's node "#list", which moves inside the visible window
// "#mask". Each item is a small scene of its own whose nodes named "#btn:",
// "#text:" and "#icon:" are its buttons, texts and icons; windows fill the
// list and listen to the buttons. A scrolling helper moves the list, as a
// strip with inertia or as a book by pages. Numbers a scene file cannot
// otherwise hold travel in marker names ("#indent:", "#padding:",
// "#outside:", "#correctionTime:", "#area_scale:" on "#list", "#size:" on an
// item's root).

#include <memory>
#include <string>
#include <vector>

#include "ui/ui_widget.h"

namespace AE {
class ISceneNode;
class TextSceneNode;
}  // namespace AE

namespace VQ {

class ScrollingHelper;
class Sprite;
class UISceneList;
class UISceneListItem;

class UISceneListItemListener {
public:
    virtual ~UISceneListItemListener() = default;
    // A button element of the item was clicked; `element` is its name
    // without "#btn:".
    virtual void onElementClicked(UISceneListItem* item, const std::string& element) = 0;
};

// Told when the pointer starts and stops interacting with an item.
class UISceneListListener {
public:
    virtual ~UISceneListListener() = default;
    virtual void onItemActivated(UISceneList* list, UISceneListItem* item) { (void)list, (void)item; }
    virtual void onItemDeactivated(UISceneList* list) { (void)list; }
};

// The pointer as the UI controller saw it this frame.
struct UIPointer {
    Vector2f cursor{0.0f, 0.0f};
    Vector2f pressPoint{0.0f, 0.0f};
    bool leftDown = false;
};
UIPointer currentPointer();

// The state names of scene buttons, by number.
enum SceneButtonState { SCENE_REGULAR = 0, SCENE_SELECT = 1, SCENE_PRESSED = 2, SCENE_IGNORED = 3 };
// The transition of a scene button from one state to another: the node's
// markers stop (rewound or where they are), then its marker "from>to"
// starts, logged when missing.
void changeSceneButtonState(AE::ISceneNode* node, int from, int to, bool rewind);
// The point hits the node's tree (whole-number coordinates).
bool sceneNodeHit(AE::ISceneNode* node, const Vector2f& point);

class UISceneListItem {
public:
    enum ElementKind { BUTTON, TEXT, ICON };
    struct Element {
        ElementKind kind = BUTTON;
        std::string name;  // after its prefix
        AE::ISceneNode* node = nullptr;
        int state = SCENE_REGULAR;
        bool interactive = false;
        void setState(int newState);
    };

    // The item of a loaded scene (owned until the item joins a list).
    UISceneListItem(const std::string& sceneName, const std::string& itemName);
    // The item of an existing node.
    UISceneListItem(const std::string& itemName, AE::ISceneNode* node);
    // Deletes the scene too when the item is in no list. Virtual: windows
    // fill lists with rows of their own kinds, and the list deletes them.
    virtual ~UISceneListItem();
    UISceneListItem(const UISceneListItem&) = delete;
    UISceneListItem& operator=(const UISceneListItem&) = delete;

    // Fatal when the item has no text or icon element of that name.
    void setTextSlot(const std::string& element, const std::u16string& text);
    void setTextSlotLocalized(const std::string& element, bool localized);
    void setIconSlot(const std::string& element, Sprite* sprite);
    void addListener(UISceneListItemListener* listener);

    // 0 nothing new, 1 an element became hovered, 2 the hovered element
    // was left.
    int handlePointer(const UIPointer& pointer);
    // The hovered element back to regular, none hovered.
    void leave();

    AE::ISceneNode* scene = nullptr;
    std::string name;
    UISceneList* list = nullptr;
    Vector2f lastPointer{0.0f, 0.0f};
    std::vector<std::unique_ptr<Element>> elements;
    Element* hoveredElement = nullptr;
    std::vector<UISceneListItemListener*> listeners;
    Vector2f size{100.0f, 100.0f};

private:
    void build();
    AE::TextSceneNode* textSlot(const std::string& element, int line);
};

class UISceneList : public UIWidget {
public:
    enum ListType { STRIP = 0, BOOK = 1 };

    // `scene` with the nodes "#list" and "#mask" (fatal without them).
    UISceneList(std::string name, UIWidget* parent, AE::ISceneNode* scene, int32_t type, bool ownsScene);
    ~UISceneList() override;

    bool hitTest(const Vector2f& point) const override;
    void setVisible(bool on) override;
    int32_t getType() const override { return TYPE_SCENE_LIST; }
    void beginRender() override;
    void update(float dt) override;
    void onStateChanged(UIState* state) override;
    int32_t processMessage(uint32_t event) override;

    // Takes the item; returns the number of items.
    size_t addItem(UISceneListItem* item);
    // Hands the item back to the caller.
    void removeItem(UISceneListItem* item);
    // Deletes every item (after the present update, when a listener asks
    // during it).
    void clearItems();
    void layout();

    // --- For the scrolling helpers ---
    bool needsScrolling() const;
    // The list node's coordinate along the orientation.
    float scrollPosition() const;
    // Within minScroll - outside .. outside, the other coordinate 0, the
    // spring-back cancelled.
    void setScrollPositionClamped(float position);
    // Without clamping; the other coordinate kept.
    void setScrollPosition(float position);
    bool insideMask(const Vector2f& point) const;
    // The coordinate of a point along the orientation.
    float along(const Vector2f& point) const { return vertical ? point.y : point.x; }

    int32_t type;
    std::unique_ptr<ScrollingHelper> scrollingHelper;
    AE::ISceneNode* scene;
    AE::ISceneNode* maskNode = nullptr;
    AE::ISceneNode* listNode = nullptr;
    std::vector<UISceneListItem*> items;  // owned
    UISceneListItem* activeItem = nullptr;
    Vector2f padding{0.0f, 0.0f};
    float itemSpacing = 0.0f;
    Vector2f maskSize{0.0f, 0.0f};
    Vector2f contentExtent{0.0f, 0.0f};
    uint32_t scrollFlags = 0;
    float minScroll = 0.0f;
    bool vertical = false;
    float outside = 0.0f;
    float correctionTime = 0.25f;
    float correctionRemaining = 0.0f;
    float correctionFrom = 0.0f;
    float correctionTo = 0.0f;
    std::vector<UISceneListListener*> listListeners;
    bool pointerDragging = false;
    Vector2f pressStart{0.0f, 0.0f};
    bool ownsScene;

private:
    void readListMarkers();
    void updatePointer(float dt, const UIPointer& pointer);
    void springBack(float dt);
    void deleteItem(UISceneListItem* item);

    bool mUpdating = false;
    // Cleared by a listener during the update; deleted when it returns.
    std::vector<UISceneListItem*> mDoomed;
};

}  // namespace VQ
