// Scene lists: layout by the list node's markers, items and their elements,
// clicks against drags, the spring-back, the strip's inertia, wheel and
// scroll bar, the book's pages and buttons, and the fatal reports.

#include <gtest/gtest.h>

#include "support/ui_scene_fixture.h"
#include "ui/scrolling_helper.h"
#include "ui/ui_controller.h"
#include "ui/ui_scene_list.h"

using namespace TestSupport;
using namespace TestSupport::SceneXml;
using namespace VQ;

namespace {

// Every state marker of a scene button, empty.
std::string buttonMarkers()
{
    std::string list;
    for (const char* from : {"regular", "select", "pressed"}) {
        list += marker(from);
        for (const char* to : {"regular", "select", "pressed"})
            if (std::string(from) != to)
                list += marker(std::string(from) + ">" + to);
    }
    return markers(list);
}

// A mask of 100 x 100 (a group is 64 units at scale 1) and a list node.
std::string listScene(const std::string& listMarkers, const std::string& extra = "")
{
    return group("#mask", 0, 0, "", 1.5625f, 1.5625f) + group("#list", 0, 0, markers(listMarkers)) + extra +
           markers(marker("onIdle") + marker("onHide"));
}

struct Clicks : UISceneListItemListener {
    void onElementClicked(UISceneListItem* item, const std::string& element) override
    {
        clicked.push_back(item->name + ":" + element);
        if (clearOnClick)
            item->list->clearItems();
    }
    std::vector<std::string> clicked;
    bool clearOnClick = false;
};

class UISceneListTest : public UISceneTest {
protected:
    void SetUp() override
    {
        UISceneTest::SetUp();
        addScene("row_xml", sprite("#btn:buy", "test_atlas_sprites", "Arrow", 0, 0, buttonMarkers(), 0.5f) +
                                text("#text:title", 40, 0) +
                                sprite("#icon:pic", "test_atlas_sprites", "Arrow", 40, 20, "", 0.25f) +
                                markers(marker("#size:80/50")));
        addScene("page_xml", group("face", 0, 0) + markers(marker("#size:100")));
        addScene("bare_item_xml", group("face", 0, 0));
        addScene("strip_xml", listScene(marker("#indent:5") + marker("#padding:10/20") + marker("#outside:40") +
                                        marker("#correctionTime:0")));
        // The thumb travels from y 0 to 80 over frames 4 to 20; frames 0
        // and 24 are the pulls beyond the ends.
        addScene("barred_xml",
                 listScene(marker("#outside:40"),
                           group("#scroll_bar", 120, 0,
                                 frames({{0, 120, 0}, {4, 120, 0}, {20, 120, 0}, {24, 120, 0}}) +
                                     children(sprite("#thumb", "test_atlas_sprites", "Arrow", 0, 0,
                                                     frames({{0, 0, -10}, {4, 0, 0}, {20, 0, 80}, {24, 0, 90}}) +
                                                         buttonMarkers(),
                                                     0.25f)) +
                                     markers("<marker><name>#thumbs</name><playList><entry name=\"#thumb\" "
                                             "from=\"0\" to=\"24\"/></playList></marker>"))));
        std::string pages;
        std::string pageMarkers;
        for (int i = 1; i <= 4; ++i) {
            const std::string id = "#page" + std::to_string(i);
            pages += sprite(id, "test_atlas_sprites", "Arrow", float(i * 20), 0, buttonMarkers(), 0.25f);
            pageMarkers += marker(id);
        }
        addScene("book_xml",
                 listScene("", group("#page_bar", 0, 120, children(pages) + markers(pageMarkers)) +
                                   sprite("#btn_end", "test_atlas_sprites", "Arrow", 200, 0, buttonMarkers(), 0.5f) +
                                   sprite("#btn_next", "test_atlas_sprites", "Arrow", 200, 50, buttonMarkers(), 0.5f)));
        addScene("plain_xml", listScene(""));
        addScene("no_list_xml", group("#mask", 0, 0));
        addScene("no_mask_xml", group("#list", 0, 0));
        addScene("bad_bar_xml", listScene("", group("#scroll_bar", 0, 0, frames({{0, 0, 0}}))));
        addScene("thumbless_bar_xml", listScene("", group("#scroll_bar", 0, 0, frames({{0, 0, 0}, {8, 0, 0}}))));
        addLua("lists_ui", R"(
function shown(t)
    t.states = { { id = "onIdle", propertyChanges = { { target = t.id, property = "transparency", duration = 0, value = 1 } } } }
    t.initialState = "onIdle"
    return t
end
Strip = shown { id = "strip", class = "UISceneList", scene = "strip_xml", orient = "ver", scrolling = 3,
          items = { { scene = "row_xml", id = "a" }, { scene = "row_xml", id = "b" }, { scene = "row_xml", id = "c" },
                    { scene = "no_such_xml", id = "lost" } } }
Barred = shown { id = "barred", class = "UISceneList", scene = "barred_xml", orient = "ver", scrolling = 3,
           items = { { scene = "page_xml" }, { scene = "page_xml" }, { scene = "page_xml" } } }
Book = shown { id = "book", class = "UISceneList", scene = "book_xml", type = "book", orient = "hor", scrolling = 3,
         items = { { scene = "page_xml", id = "p1" }, { scene = "page_xml", id = "p2" }, { scene = "page_xml", id = "p3" },
                   { scene = "page_xml", id = "p4" }, { scene = "page_xml", id = "p5" } } }
Short = shown { id = "short", class = "UISceneList", scene = "plain_xml", orient = "hor", items = { { scene = "bare_item_xml" } } }
NoList = { id = "x", class = "UISceneList", scene = "no_list_xml" }
NoMask = { id = "x", class = "UISceneList", scene = "no_mask_xml" }
NoScene = { id = "x", class = "UISceneList", scene = "nowhere_xml" }
BadBar = { id = "x", class = "UISceneList", scene = "bad_bar_xml" }
ThumblessBar = { id = "x", class = "UISceneList", scene = "thumbless_bar_xml" }
)");
        startSceneUI();
    }
    UISceneList* list(const std::string& table)
    {
        UIWidget* root = load("lists_ui", table);
        root->show();
        return dynamic_cast<UISceneList*>(root);
    }
    static float y(const UISceneListItem* item) { return item->scene->posY; }
    // Frames until every animation has ended.
    void settle()
    {
        for (int i = 0; i < 20; ++i)
            frame(500, 500, false, {}, 0.1f);
    }
};

TEST_F(UISceneListTest, ItemsAreLaidOutByTheListsMarkers)
{
    UISceneList* l = list("Strip");
    ASSERT_EQ(l->items.size(), 3u);  // the missing scene is logged and left out
    EXPECT_EQ(countLogLines("ERROR: Can't load scene node from no_such_xml!"), 1);
    EXPECT_EQ(l->padding, Vector2f(10, 20));
    EXPECT_FLOAT_EQ(l->itemSpacing, 5);
    EXPECT_FLOAT_EQ(l->outside, 40);
    EXPECT_FLOAT_EQ(l->correctionTime, 0.25f);  // 0 gives the default
    EXPECT_EQ(l->maskSize, Vector2f(100, 100));
    EXPECT_EQ(l->items[0]->size, Vector2f(80, 50));
    EXPECT_EQ(l->items[0]->name, "a");
    EXPECT_FLOAT_EQ(y(l->items[0]), 20);
    EXPECT_FLOAT_EQ(y(l->items[1]), 75);
    EXPECT_FLOAT_EQ(y(l->items[2]), 130);
    EXPECT_FLOAT_EQ(l->items[2]->scene->posX, 10);
    EXPECT_FLOAT_EQ(l->contentExtent.y, 205);
    EXPECT_FLOAT_EQ(l->minScroll, -105);
    EXPECT_TRUE(l->needsScrolling());

    // Elements: the button answers the pointer, text and icon do not.
    ASSERT_EQ(l->items[0]->elements.size(), 3u);
    EXPECT_TRUE(l->items[0]->elements[0]->interactive);
    EXPECT_FALSE(l->items[0]->elements[1]->interactive);
    l->items[0]->setTextSlot("title", u"Lantern oil");
    l->items[0]->setIconSlot("pic", nullptr);

    // Removing hands the item back; the list closes up.
    UISceneListItem* middle = l->items[1];
    l->removeItem(middle);
    EXPECT_EQ(middle->list, nullptr);
    EXPECT_FLOAT_EQ(y(l->items[1]), 75);
    delete middle;
    l->clearItems();
    EXPECT_TRUE(l->items.empty());
    EXPECT_FALSE(l->needsScrolling());

    // Without "#size:" an item is 100 x 100; a short list keeps minScroll.
    UISceneList* s = list("Short");
    EXPECT_EQ(s->items[0]->size, Vector2f(100, 100));
    EXPECT_FLOAT_EQ(s->minScroll, 0);
    EXPECT_EQ(s->items[0]->name, "bare_item_xml");
}

TEST_F(UISceneListTest, ARelease16UnitsFromThePressClicksOnceAndOneOf17Drags)
{
    struct Case {
        float moveTo;
        size_t clicks;
    };
    for (const Case& c : {Case{46, 1}, Case{47, 0}}) {
        SCOPED_TRACE(c.moveTo);
        UISceneList* l = list("Strip");
        Clicks clicks;
        for (UISceneListItem* item : l->items)
            item->addListener(&clicks);
        l->items[0]->addListener(&clicks);  // once only
        frame(20, 30, false, {}, 0.02f);
        EXPECT_EQ(l->activeItem, l->items[0]);
        frame(20, 30, true, {}, 0.02f);
        EXPECT_EQ(l->items[0]->elements[0]->state, SCENE_PRESSED);
        frame(20, c.moveTo, true, {}, 0.02f);
        frame(20, c.moveTo, true, {}, 0.02f);
        frame(20, c.moveTo, false, {}, 0.02f);
        EXPECT_EQ(clicks.clicked.size(), c.clicks);
        if (c.clicks) {
            EXPECT_EQ(clicks.clicked[0], "a:buy");
        }
        frame(500, 500, false, {}, 0.02f);
        mUI->removeRoot(l);
    }
}

TEST_F(UISceneListTest, AListenerMayClearTheListFromItsClick)
{
    UISceneList* l = list("Strip");
    Clicks clicks;
    clicks.clearOnClick = true;
    l->items[0]->addListener(&clicks);
    frame(20, 30, false, {}, 0.02f);
    frame(20, 30, true, {}, 0.02f);
    frame(20, 30, false, {}, 0.02f);
    EXPECT_EQ(clicks.clicked.size(), 1u);
    EXPECT_TRUE(l->items.empty());
    EXPECT_EQ(l->activeItem, nullptr);
    frame(20, 30, false, {}, 0.02f);
}

TEST_F(UISceneListTest, PulledBeyondItsStartTheListSpringsBackLinearly)
{
    UISceneList* l = list("Strip");
    frame(95, 10, false, {}, 0.05f);
    frame(95, 10, true, {}, 0.05f);
    frame(95, 10, true, {}, 0.05f);  // the drag begins
    frame(95, 50, true, {}, 0.05f);
    frame(95, 60, true, {}, 0.05f);
    EXPECT_FLOAT_EQ(l->scrollPosition(), 40);  // held at "#outside:"
    frame(95, 60, false, {}, 0.05f);           // no speed: the pointer stood still
    const float expected[] = {32, 24, 16, 8, 0, 0};
    for (float e : expected) {
        frame(95, 60, false, {}, 0.05f);
        EXPECT_NEAR(l->scrollPosition(), e, 1e-3f);
    }
}

TEST_F(UISceneListTest, AStripCoastsAt390UnitsASecondLosing866PerMille)
{
    UISceneList* l = list("Strip");
    auto* strip = dynamic_cast<StripScrollingHelper*>(l->scrollingHelper.get());
    ASSERT_NE(strip, nullptr);
    frame(95, 90, false, {}, 0.02f);
    frame(95, 90, true, {}, 0.02f);
    frame(95, 90, true, {}, 0.02f);
    frame(95, 80, true, {}, 0.02f);
    frame(95, 70, false, {}, 0.02f);  // 10 units in the last frame
    // 390 at the release, then one step of its decay in the same update.
    float speed = 390.0f * (1.0f - 4.33f * 0.02f);
    EXPECT_NEAR(strip->velocity.y, speed, 0.01f);
    EXPECT_TRUE(strip->inertia);
    float position = l->scrollPosition();
    int frames = 0;
    while (strip->inertia && frames < 100) {
        frame(95, 70, false, {}, 0.02f);
        const float step = speed * 0.02f;
        speed -= 4.33f * step;
        if (speed < 60.0f)
            speed = 0.0f;
        position -= step;
        EXPECT_NEAR(l->scrollPosition(), position, 0.01f);
        EXPECT_NEAR(strip->velocity.y, speed, 0.01f);
        ++frames;
    }
    EXPECT_EQ(strip->velocity.y, 0.0f);
    EXPECT_GT(frames, 5);
    EXPECT_LT(frames, 100);
}

TEST_F(UISceneListTest, TheWheelSteps24WithinOutsideOfEitherEnd)
{
    UISceneList* l = list("Strip");
    frame(50, 50, false, {}, 0.0f);
    const float down[] = {-24, -48, -72, -96, -120, -144, -145, -145};
    for (float e : down) {
        l->processMessage(UIEvent::WHEEL_DOWN);
        EXPECT_FLOAT_EQ(l->scrollPosition(), e);
    }
    l->setScrollPositionClamped(0);
    l->processMessage(UIEvent::WHEEL_UP);
    l->processMessage(UIEvent::WHEEL_UP);
    EXPECT_FLOAT_EQ(l->scrollPosition(), 40);
    // Without the wheel's flag nothing moves.
    l->scrollFlags = 2;
    l->processMessage(UIEvent::WHEEL_DOWN);
    EXPECT_FLOAT_EQ(l->scrollPosition(), 40);
}

TEST_F(UISceneListTest, TheScrollBarFollowsTheContentAndItsThumbDragsIt)
{
    UISceneList* l = list("Barred");
    auto* strip = dynamic_cast<StripScrollingHelper*>(l->scrollingHelper.get());
    ASSERT_NE(strip->scrollBar, nullptr);
    StripScrollingHelper::ScrollBar& bar = *strip->scrollBar;
    EXPECT_NEAR(bar.trackStart, 4.0f / 24, 1e-5f);
    EXPECT_NEAR(bar.trackEnd, 24.0f / 24, 1e-5f);
    EXPECT_FLOAT_EQ(bar.thumbStart, -10);
    EXPECT_FLOAT_EQ(bar.thumbRange, 100);
    EXPECT_FLOAT_EQ(l->minScroll, -200);

    // Half-way through the content: half-way along the track.
    l->setScrollPositionClamped(-100);
    frame(500, 500, false, {}, 0.0f);
    EXPECT_NEAR(bar.thumb->animation->time, 12.0f / 24, 1e-4f);
    frame(500, 500, false, {}, 0.0f);  // the scene evaluates it
    EXPECT_NEAR(bar.thumb->posY, 40, 1e-3f);

    // The thumb (16 x 16 at (120, 40)) is taken and pulled down 20.
    frame(125, 45, false, {}, 0.0f);
    EXPECT_EQ(bar.thumbState, SCENE_SELECT);
    frame(125, 45, true, {}, 0.02f);
    EXPECT_EQ(bar.thumbState, SCENE_PRESSED);
    EXPECT_TRUE(strip->dragging);
    frame(125, 65, true, {}, 0.02f);
    // r = (40 - -10 + 20) / 100
    EXPECT_NEAR(l->scrollPosition(), -200 * 0.7f, 1e-3f);
    frame(300, 65, false, {}, 0.02f);
    EXPECT_EQ(bar.thumbState, SCENE_REGULAR);
    EXPECT_FALSE(strip->dragging);
}

TEST_F(UISceneListTest, ABookSettlesOnTheNearestPage)
{
    struct Case {
        float drag;  // of a page, forwards
        float page;
    };
    for (const Case& c : {Case{0.5f, 3}, Case{0.4f, 2}}) {
        SCOPED_TRACE(c.drag);
        UISceneList* l = list("Book");
        auto* book = dynamic_cast<BookScrollingHelper*>(l->scrollingHelper.get());
        EXPECT_FLOAT_EQ(book->pageLength, 100);
        EXPECT_EQ(book->lastPage(), 4);
        l->setScrollPositionClamped(-200);
        frame(60, 50, false, {}, 0.02f);
        frame(60, 50, true, {}, 0.02f);
        frame(60, 50, true, {}, 0.02f);
        frame(60 - c.drag * 100, 50, true, {}, 0.02f);
        EXPECT_NEAR(l->scrollPosition(), -200 - c.drag * 100, 1e-3f);
        frame(60 - c.drag * 100, 50, false, {}, 0.02f);
        EXPECT_FLOAT_EQ(book->targetPage, c.page);
        for (int i = 0; i < 20; ++i)
            frame(60 - c.drag * 100, 50, false, {}, 0.02f);
        EXPECT_NEAR(l->scrollPosition(), -100 * c.page, 1e-3f);
        EXPECT_EQ(book->pageBar->currentPage, int(c.page));
        mUI->removeRoot(l);
    }
}

TEST_F(UISceneListTest, BookButtonsGoToPagesTakingListTimeAPage)
{
    UISceneList* l = list("Book");
    auto* book = dynamic_cast<BookScrollingHelper*>(l->scrollingHelper.get());
    ASSERT_EQ(book->buttons.size(), 2u);
    EXPECT_EQ(book->buttons[0]->node->name, "#btn_next");  // the fixed order
    ASSERT_EQ(book->pageBar->pages.size(), 4u);

    // "#btn_end" (at 200, 0): hovered, then pressed once.
    frame(210, 10, false, {}, 0.0f);
    EXPECT_EQ(book->buttons[1]->state, SCENE_SELECT);
    frame(210, 10, true, {}, 0.0f);
    EXPECT_FLOAT_EQ(book->targetPage, 4);
    EXPECT_NEAR(book->animRemaining, 4 * 0.18f, 1e-5f);
    frame(210, 10, true, {}, 0.0f);
    settle();
    EXPECT_FLOAT_EQ(l->scrollPosition(), -400);
    // "#btn_next" on the last page stays there.
    book->nextPage();
    EXPECT_FLOAT_EQ(book->targetPage, 4);

    // Three pages back: three times listTime, linear on the way.
    book->goToPage(1);
    EXPECT_NEAR(book->animRemaining, 3 * 0.18f, 1e-5f);
    for (int i = 0; i < 8; ++i)
        frame(500, 500, false, {}, 0.06f);
    EXPECT_NEAR(l->scrollPosition(), -100 - 300.0f * 0.06f / 0.54f, 1e-2f);
    frame(500, 500, false, {}, 0.06f);
    EXPECT_NEAR(l->scrollPosition(), -100, 1e-3f);
    book->goToPage(0);
    settle();
    book->previousPage();
    EXPECT_FLOAT_EQ(book->targetPage, 0);

    // A page of the page bar goes to its page when released on it.
    frame(65, 125, false, {}, 0.0f);
    frame(65, 125, true, {}, 0.0f);
    frame(65, 125, false, {}, 0.0f);
    EXPECT_FLOAT_EQ(book->targetPage, 2);
}

TEST_F(UISceneListTest, MissingPartsAreFatal)
{
    struct Case {
        const char* table;
        const char* text;
        const char* file;
        int line;
    };
    const Case cases[] = {
        {"NoList", "Not found #list scene node!", "ui_scene_list", 29},
        {"NoScene", "Not found #list scene node!", "ui_scene_list", 29},
        {"NoMask", "Not found #mask scene node!", "ui_scene_list", 30},
        {"BadBar", "Progress bar must be contains 2 or 4 key frames!", "strip_scrolling_helper", 37},
        {"ThumblessBar", "Progress bar does not contain any thumbs!", "strip_scrolling_helper", 45},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        const FatalReport report = catchFatal([&] { load("lists_ui", c.table); });
        EXPECT_EQ(report.description, c.text);
        EXPECT_EQ(report.file, std::string(c.file));
        EXPECT_EQ(report.line, c.line);
    }
    EXPECT_EQ(countLogLines("ERROR: Can't load scene node from nowhere_xml!"), 1);

    UISceneList* l = list("Strip");
    UISceneListItem* item = l->items[0];
    const struct {
        std::function<void()> call;
        const char* text;
        int line;
    } slots[] = {
        {[&] { item->setTextSlot("pic", u"x"); }, "Not found pic text slot!", 107},
        {[&] { item->setTextSlotLocalized("nothing", true); }, "Not found nothing text slot!", 123},
        {[&] { item->setIconSlot("title", nullptr); }, "Not found title icon slot!", 139},
    };
    for (const auto& s : slots) {
        const FatalReport report = catchFatal(s.call);
        EXPECT_EQ(report.description, s.text);
        EXPECT_EQ(report.file, std::string("ui_scene_list_item"));
        EXPECT_EQ(report.line, s.line);
    }
}

}  // namespace
