#pragma once
// How a scene list's "#list" node moves inside its mask. The strip scrolls
// continuously: the content follows the pointer, coasts with a decaying
// inertia after release, steps with the wheel and drives a scroll bar drawn
// by the list's scene ("#scroll_bar"). The book turns pages of the mask's
// length: a drag settles on the nearest page, the scene's buttons
// ("#btn_next", "#btn_prev", "#btn_begin", "#btn_end") and its page bar
// ("#page_bar") go to pages.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "vector2.h"

namespace AE {
class ISceneNode;
}

namespace VQ {

class UISceneList;
struct UIPointer;

class ScrollingHelper {
public:
    explicit ScrollingHelper(UISceneList* list) : list(list) {}
    virtual ~ScrollingHelper() = default;
    ScrollingHelper(const ScrollingHelper&) = delete;
    ScrollingHelper& operator=(const ScrollingHelper&) = delete;

    virtual void update(float dt) = 0;
    virtual void wheel(bool up) = 0;
    virtual void scrollTo(float offset) { (void)offset; }

    UISceneList* list;  // not owned
    bool dragging = false;
};

class StripScrollingHelper : public ScrollingHelper {
public:
    // The scroll bar of the scene's "#scroll_bar" (fatal when its animation
    // has not 2 to 4 key frames or it lists no thumbs).
    class ScrollBar {
    public:
        ScrollBar(AE::ISceneNode* bar, StripScrollingHelper* helper);
        void update(const UIPointer& pointer);
        void setThumbState(int state);

        AE::ISceneNode* barNode;
        StripScrollingHelper* helper;
        std::vector<std::pair<AE::ISceneNode*, bool>> thumbs;  // node, recursive
        float trackStart = 0.0f;
        float trackEnd = 0.0f;
        AE::ISceneNode* thumb = nullptr;
        float thumbStart = 0.0f;
        float thumbRange = 0.0f;
        Vector2f thumbLastPointer{0.0f, 0.0f};
        int thumbState = 0;

    private:
        void thumbStep(const UIPointer& pointer);
    };

    StripScrollingHelper(UISceneList* list, AE::ISceneNode* scene);
    ~StripScrollingHelper() override;

    void update(float dt) override;
    void wheel(bool up) override;
    void scrollTo(float offset) override;

    std::unique_ptr<ScrollBar> scrollBar;
    Vector2f lastPointer{0.0f, 0.0f};
    Vector2f velocity{0.0f, 0.0f};
    bool inertia = false;

private:
    void dragStep(float dt, const UIPointer& pointer);
    void inertiaStep(float dt);
};

class BookScrollingHelper : public ScrollingHelper {
public:
    struct Button {
        BookScrollingHelper* helper;
        AE::ISceneNode* node;
        int state = 0;
        void setState(int newState);
    };
    // The page bar of the scene's "#page_bar": one page record per node
    // "#page1", "#page2", ...
    class PageBar {
    public:
        struct Page {
            AE::ISceneNode* node;
            int state = 0;
            int id;
        };
        explicit PageBar(AE::ISceneNode* bar);
        void showPage(int page);
        // The pointer on the pages; a released page goes to its page.
        void input(const UIPointer& pointer, BookScrollingHelper& helper);

        AE::ISceneNode* barNode;
        int currentPage = 0;
        Page* activePage = nullptr;
        std::vector<std::unique_ptr<Page>> pages;
    };

    BookScrollingHelper(UISceneList* list, AE::ISceneNode* scene);
    ~BookScrollingHelper() override;

    void update(float dt) override;
    void wheel(bool up) override;

    int lastPage() const;
    void goToPage(int page);
    void nextPage();
    void previousPage();

    Vector2f pressPoint{0.0f, 0.0f};
    Vector2f dragStartPosition{0.0f, 0.0f};
    float pageLength = 0.0f;
    float toScrolling = 0.45f;
    float listTime = 0.18f;
    float animRemaining = 0.0f;
    float currentPage = 0.0f;
    float targetPage = 0.0f;
    std::unique_ptr<PageBar> pageBar;
    std::vector<std::unique_ptr<Button>> buttons;

private:
    // The position in pages; 0 when a page has no length (a single page).
    float pagesScrolled() const;
    void startAnimation();
    void dragStep(const UIPointer& pointer);
    void animationStep(float dt);
};

}  // namespace VQ
