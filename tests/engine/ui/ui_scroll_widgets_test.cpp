// The progress bar (cropping, thumb, dragging, kinetic swing), the scroll
// area (viewport, clipping, bar and wheel), the list view's selection and
// the particle host, built from UI scripts and driven through the input
// controller.

#include <gtest/gtest.h>

#include <cmath>

#include "fast_sprite.h"
#include "object_factory.h"
#include "particle_fx.h"
#include "particle_system.h"
#include "sprite.h"
#include "support/ui_fixture.h"
#include "ui/ui_list_view.h"
#include "ui/ui_particle_fx.h"
#include "ui/ui_progress_bar.h"
#include "ui/ui_scroll_area.h"
#include "ui/ui_sprite.h"
#include "xml_cached_files_manager.h"

using namespace TestSupport;
using namespace VQ;

namespace {

class UIScrollWidgetsTest : public UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        // A fill 200 x 20 whose source starts at x 10, its upright twin and
        // a 20 x 20 knob, all over the widget atlas.
        addLua("bars_sprites", R"(
Fill = { Image0 = "widget_png", Package0 = "default", SrcRect0 = { 10, 30, 210, 50 } }
FillV = { Image0 = "widget_png", Package0 = "default", SrcRect0 = { 10, 30, 30, 230 } }
Knob = { Image0 = "widget_png", Package0 = "default", SrcRect0 = { 424, 40, 444, 60 } }
)");
        addLua("scroll_ui", R"(
-- Only a root with a state "onIdle" is shown.
Bar = { id = "bar", class = "UIProgressBar", position = { 100, 100 }, bar = "fill", thumb = "knob",
        lrOffsets = { 10, 10 }, states = { { id = "onIdle", propertyChanges = { { target = "bar", property = "transparency", duration = 0, value = 1 } } } },
        childs = { { id = "fill", class = "UISprite", imagename = "bars_sprites", tablename = "Fill" },
                   { id = "knob", class = "UISprite", imagename = "bars_sprites", tablename = "Knob" } } }
Upright = { id = "upright", class = "UIProgressBar", bar = "fill", orientation = 1, lrOffsets = { 10, 10 },
            childs = { { id = "fill", class = "UISprite", imagename = "bars_sprites", tablename = "FillV" } } }
Locked = { id = "locked", class = "UIProgressBar", position = { 100, 100 }, bar = "fill", locked = 1,
           states = { { id = "onIdle", propertyChanges = { { target = "locked", property = "transparency", duration = 0, value = 1 } } } },
           childs = { { id = "fill", class = "UISprite", imagename = "bars_sprites", tablename = "Fill" } } }
-- "bar" and "thumb" name widgets that are no sprites: they count as missing.
WrongChildren = { id = "wrong", class = "UIProgressBar", bar = "fill", thumb = "knob",
                  childs = { { id = "fill", class = "UIWidget" }, { id = "knob", class = "UILabel" } } }
Scroll = { id = "scrollRoot", class = "UIWidget", states = { { id = "onIdle", propertyChanges = { { target = "scrollRoot", property = "transparency", duration = 0, value = 1 } } } }, childs = {
    { id = "area", class = "UIScrollArea", position = { 10, 20 }, size = { 200, 100 }, progressBar = "scrollBar",
      childs = {
        { id = "row0", class = "UISprite", imagename = "bars_sprites", tablename = "Fill", size = { 200, 100 } },
        { id = "row1", class = "UISprite", imagename = "bars_sprites", tablename = "Fill", size = { 200, 100 }, position = { 0, 100 } },
        { id = "row2", class = "UISprite", imagename = "bars_sprites", tablename = "Fill", size = { 200, 100 }, position = { 0, 200 } },
        { id = "row3", class = "UISprite", imagename = "bars_sprites", tablename = "Fill", size = { 200, 100 }, position = { 0, 300 } },
      } },
    { id = "scrollBar", class = "UIProgressBar", position = { 220, 20 }, orientation = 1 },
    { id = "shortArea", class = "UIScrollArea", position = { 400, 20 }, size = { 200, 100 }, progressBar = "shortBar",
      childs = { { id = "shortRow", class = "UISprite", imagename = "bars_sprites", tablename = "Fill", size = { 200, 50 } } } },
    { id = "shortBar", class = "UIProgressBar", position = { 610, 20 }, orientation = 1 },
} }
-- The bar's name is taken by a plain widget: the area has no bar.
NotABar = { id = "notABarRoot", class = "UIWidget", states = { { id = "onIdle", propertyChanges = { { target = "notABarRoot", property = "transparency", duration = 0, value = 1 } } } }, childs = {
    { id = "area", class = "UIScrollArea", size = { 200, 100 }, progressBar = "plain",
      childs = { { id = "row", class = "UISprite", imagename = "bars_sprites", tablename = "Fill", size = { 200, 400 } } } },
    { id = "plain", class = "UIWidget" },
} }
List = { id = "listRoot", class = "UIWidget", states = { { id = "onIdle", propertyChanges = { { target = "listRoot", property = "transparency", duration = 0, value = 1 } } } }, childs = {
    { id = "list", class = "UIListView", position = { 100, 100 }, size = { 200, 90 }, progressBar = "listBar",
      selectionImagename = "widget_sprites", selectionTablename = "ListSelection", lineHeight = 30,
      childs = { { id = "childScrollArea", class = "UIScrollArea", childs = {
          { id = "i0", class = "UISprite", imagename = "bars_sprites", tablename = "Fill", size = { 200, 20 } },
          { id = "i1", class = "UISprite", imagename = "bars_sprites", tablename = "Fill", size = { 200, 20 }, position = { 0, 30 } },
          { id = "i2", class = "UISprite", imagename = "bars_sprites", tablename = "Fill", size = { 200, 20 }, position = { 0, 60 } },
      } } } },
    { id = "listBar", class = "UIProgressBar", position = { 310, 100 }, orientation = 1 },
} }
-- No scroll area given (or one of the wrong class): the builder makes one.
BareList = { id = "bare", class = "UIListView", size = { 120, 60 }, orientation = "hor",
             childs = { { id = "childScrollArea", class = "UIWidget" } } }
Sparkle = { id = "sparkle", class = "UIParticleFX", filename = "hint_fx", position = { 300, 200 }, initialState = "onIdle",
            states = { { id = "onIdle", propertyChanges = { { target = "sparkle", property = "transparency", duration = 0, value = 1 } } } } }
NoFile = { id = "nofile", class = "UIParticleFX" }
)");
        startUI();
    }

    void TearDown() override
    {
        mUI.reset();
        mParticles.reset();
        if (mXmlCache)
            mXmlCache->purge();
        mXmlCache.reset();
        mFactory.reset();
        UITest::TearDown();
    }

    void startParticles()
    {
        mFactory = std::make_unique<ObjectFactory>();
        mParticles = std::make_unique<ParticleSystem>();
        mParticles->liveUpdating = false;
        mXmlCache = std::make_unique<XmlCachedFilesManager>();
    }

    template <typename T>
    T* loadShown(const std::string& table)
    {
        UIWidget* root = load("scroll_ui", table);
        root->showForcibly();
        EXPECT_TRUE(root->shown) << table;
        return dynamic_cast<T*>(root);
    }

    // A frame with the wheel turned: -1 down, 1 up.
    void wheel(float x, float y, int turn) { frame(x, y, false, {}, 0.0f, false, turn); }

    std::unique_ptr<ObjectFactory> mFactory;
    std::unique_ptr<ParticleSystem> mParticles;
    std::unique_ptr<XmlCachedFilesManager> mXmlCache;
};

}  // namespace

TEST_F(UIScrollWidgetsTest, TheBarShowsItsStartCapAndCropsTheRestToTheValue)
{
    auto* bar = loadShown<UIProgressBar>("Bar");
    ASSERT_NE(bar, nullptr);
    mUI->update(0.0f);
    ASSERT_NE(bar->bar, nullptr);
    ASSERT_NE(bar->thumb, nullptr);
    EXPECT_EQ(bar->barFullSize, Vector2f(200, 20));
    EXPECT_EQ(bar->barSourceRect, Rect(10, 30, 210, 50));
    // The content is 200 wide, less both caps.
    EXPECT_FLOAT_EQ(bar->trackLength, 180.0f);
    struct Case {
        float value;
        float width;      // the sprite's, and its source's from the left edge
        float thumbLeft;  // never left of the start cap nor past track - half
    };
    const Case cases[] = {{-0.5f, 10, 10}, {0.0f, 10, 10}, {0.5f, 100, 90}, {1.0f, 190, 170}, {2.0f, 190, 170}};
    for (const Case& c : cases) {
        bar->setValue(c.value);
        mUI->update(0.0f);
        const FastSprite& sprite = *bar->bar->sprite;
        EXPECT_FLOAT_EQ(sprite.size.x, c.width) << c.value;
        EXPECT_FLOAT_EQ(sprite.size.y, 20.0f) << c.value;
        EXPECT_EQ(sprite.getSourceRect(), Rect(10, 30, 10 + c.width, 50)) << c.value;
        EXPECT_FLOAT_EQ(bar->thumb->position.x, c.thumbLeft) << c.value;
        EXPECT_FLOAT_EQ(bar->thumb->position.y, 0.0f) << c.value;
    }

    // Upright, the fill grows downwards from its top cap.
    auto* upright = dynamic_cast<UIProgressBar*>(load("scroll_ui", "Upright"));
    upright->setValueAt(0.5f);
    mUI->update(0.0f);
    EXPECT_EQ(upright->bar->sprite->size, Vector2f(20, 100));
    EXPECT_EQ(upright->bar->sprite->getSourceRect(), Rect(10, 30, 30, 130));

    // Children of other classes count as missing: the bar only keeps a value.
    auto* wrong = dynamic_cast<UIProgressBar*>(load("scroll_ui", "WrongChildren"));
    wrong->setValue(0.5f);
    mUI->update(0.0f);
    EXPECT_EQ(wrong->bar, nullptr);
    EXPECT_EQ(wrong->thumb, nullptr);
    EXPECT_FLOAT_EQ(wrong->value, 0.5f);
}

TEST_F(UIScrollWidgetsTest, DraggingFollowsThePointerWithinTheTrack)
{
    auto* bar = loadShown<UIProgressBar>("Bar");
    mUI->update(0.0f);
    // Press on the fill, 50 right of the bar's left edge, and hold.
    frame(150, 110, true);
    frame(150, 110, true);
    EXPECT_TRUE(bar->dragging);
    EXPECT_EQ(mUI->capturedWidget, bar);
    EXPECT_NEAR(bar->value, 50.0f / 180.0f, 1e-5f);
    // Beyond either end of the track: 0 or 1, whatever lies there.
    frame(-300, 500, true);
    EXPECT_FLOAT_EQ(bar->value, 0.0f);
    frame(1500, -20, true);
    EXPECT_FLOAT_EQ(bar->value, 1.0f);
    // The release ends the drag and gives the pointer back.
    frame(1500, -20, false);
    EXPECT_FALSE(bar->dragging);
    EXPECT_EQ(mUI->capturedWidget, nullptr);
    frame(150, 110, false);
    EXPECT_FLOAT_EQ(bar->value, 1.0f);

    // Any event but a held press stops a drag.
    bar->processMessage(UIEvent::POINTER_HELD);
    EXPECT_TRUE(bar->dragging);
    bar->processMessage(UIEvent::WHEEL_UP);
    EXPECT_FALSE(bar->dragging);
}

TEST_F(UIScrollWidgetsTest, ALockedBarNeverDrags)
{
    auto* bar = loadShown<UIProgressBar>("Locked");
    mUI->update(0.0f);
    bar->setValue(0.3f);
    frame(150, 110, true);
    frame(190, 110, true);
    frame(250, 110, true);
    EXPECT_FALSE(bar->dragging);
    EXPECT_EQ(mUI->capturedWidget, nullptr);
    EXPECT_FLOAT_EQ(bar->value, 0.3f);
}

TEST_F(UIScrollWidgetsTest, ADragOnATrackOfNoLengthChangesNothing)
{
    // No content and no caps: a track 0 long.
    UIProgressBar bar("empty", nullptr);
    bar.value = 0.3f;
    bar.dragging = true;
    bar.update(0.016f);
    EXPECT_FLOAT_EQ(bar.trackLength, 0.0f);
    EXPECT_FLOAT_EQ(bar.value, 0.3f);
}

TEST_F(UIScrollWidgetsTest, AKineticBarSwingsToItsTargetInFrameSizedSteps)
{
    auto kineticBar = [] {
        auto bar = std::make_unique<UIProgressBar>("k", nullptr);
        bar->kinetic = true;
        bar->kineticSpeed = 10.0f;
        bar->trackLength = 300.0f;
        bar->setValue(1.0f);
        return bar;
    };
    // The 0.02 floor: 100 x d x dt, so one 16 ms frame passes the target.
    auto paced = kineticBar();
    EXPECT_FLOAT_EQ(paced->targetValue, 1.0f);
    EXPECT_FLOAT_EQ(paced->value, 0.0f);
    paced->update(0.016f);
    EXPECT_NEAR(paced->value, 1.6f, 1e-5f);
    paced->update(0.016f);
    EXPECT_NEAR(paced->value, 1.6f - 0.6f * 1.6f, 1e-5f);
    // A long frame is taken in steps of at most 1/60 s: the same as two
    // frames of half its length, and the swing still dies down.
    auto whole = kineticBar();
    auto halves = kineticBar();
    whole->update(1.0f / 30.0f);
    halves->update(1.0f / 60.0f);
    halves->update(1.0f / 60.0f);
    EXPECT_NEAR(whole->value, halves->value, 1e-5f);
    auto slow = kineticBar();
    float previousMiss = 1.0f;
    for (int i = 0; i < 10; ++i) {
        slow->update(0.1f);
        const float miss = std::fabs(slow->value - 1.0f);
        EXPECT_LE(miss, previousMiss) << i;
        previousMiss = miss;
    }
    EXPECT_LT(previousMiss, 0.01f);
    // setValueAt jumps, kinetic or not.
    slow->setValueAt(0.25f);
    EXPECT_FLOAT_EQ(slow->value, 0.25f);
    EXPECT_FLOAT_EQ(slow->targetValue, 0.25f);
}

TEST_F(UIScrollWidgetsTest, TheAreaScrollsItsContentByTheBarAndClipsItToTheViewport)
{
    UIWidget* root = loadShown<UIWidget>("Scroll");
    auto* area = find<UIScrollArea>(root, "area");
    auto* bar = find<UIProgressBar>(root, "scrollBar");
    UIWidget* row0 = root->findChild("row0");
    UIWidget* row3 = root->findChild("row3");
    mUI->update(0.0f);
    EXPECT_EQ(area->progressBar, bar);
    EXPECT_EQ(area->contentExtent, Vector2f(200, 400));
    EXPECT_EQ(area->clipRect, Rect(10, 20, 210, 120));
    EXPECT_TRUE(row3->clipEnabled);
    EXPECT_EQ(row3->clipRect, Rect(10, 20, 210, 120));

    // Half-way moves the content up by half of 400 - 100; the end brings
    // the last row's bottom to the viewport's.
    bar->setValueAt(0.5f);
    mUI->update(0.0f);
    EXPECT_FLOAT_EQ(row0->position.y, -150.0f);
    bar->setValueAt(1.0f);
    mUI->update(0.0f);
    EXPECT_FLOAT_EQ(row0->position.y, -300.0f);
    EXPECT_FLOAT_EQ(row3->absolutePosition().y + 100.0f, 120.0f);

    // The wheel over the content steps the bar by 0.15, clamped; the
    // content follows in the same frame.
    bar->setValueAt(0.0f);
    mUI->update(0.0f);
    wheel(100, 60, -1);
    EXPECT_FLOAT_EQ(bar->value, 0.15f);
    EXPECT_FLOAT_EQ(row0->position.y, -45.0f);
    wheel(100, 60, 1);
    wheel(100, 60, 1);
    EXPECT_FLOAT_EQ(bar->value, 0.0f);
    bar->setValueAt(0.9f);
    wheel(100, 60, -1);
    EXPECT_FLOAT_EQ(bar->value, 1.0f);
    // Outside the viewport nothing of the content is hit, though a row lies
    // there.
    bar->setValueAt(0.0f);
    mUI->update(0.0f);
    UIWidget* row1 = root->findChild("row1");
    EXPECT_FALSE(row1->hitTest(Vector2f(100, 150)));
    EXPECT_FALSE(area->hitTest(Vector2f(100, 150)));
    EXPECT_TRUE(area->hitTest(Vector2f(100, 60)));

    // Content shorter than its viewport: a moved bar goes back to 0.
    auto* shortBar = find<UIProgressBar>(root, "shortBar");
    shortBar->setValue(0.5f);
    mUI->update(0.0f);
    EXPECT_FLOAT_EQ(shortBar->value, 0.0f);
    EXPECT_FLOAT_EQ(root->findChild("shortRow")->position.y, 0.0f);
}

TEST_F(UIScrollWidgetsTest, AnAreaWhoseBarNameIsNoBarOnlyClips)
{
    UIWidget* root = loadShown<UIWidget>("NotABar");
    auto* area = find<UIScrollArea>(root, "area");
    mUI->update(0.0f);
    EXPECT_EQ(area->progressBar, nullptr);
    EXPECT_TRUE(area->clipEnabled);
    wheel(50, 50, -1);
    EXPECT_FLOAT_EQ(root->findChild("row")->position.y, 0.0f);
}

TEST_F(UIScrollWidgetsTest, AReleaseOverAnItemSelectsItAndTheHighlightFollows)
{
    UIWidget* root = loadShown<UIWidget>("List");
    auto* list = find<UIListView>(root, "list");
    ASSERT_NE(list->scrollArea, nullptr);
    EXPECT_EQ(list->scrollArea->name, "childScrollArea");
    EXPECT_EQ(list->scrollArea->viewportSize, Vector2f(200, 90));
    EXPECT_EQ(list->scrollArea->progressBarName, "listBar");
    ASSERT_NE(list->selectionSprite, nullptr);
    mUI->update(0.0f);
    EXPECT_EQ(list->size, Vector2f(200, 90));
    EXPECT_EQ(list->selectedIndex, -1);

    // The second item lies at y 130..150.
    click(150, 140);
    EXPECT_EQ(list->selectedIndex, 1);
    EXPECT_EQ(mUI->capturedWidget, nullptr);
    // Highlight: centred on the row of lineHeight 30 and the viewport's width.
    const Vector2f highlight = list->selectionSprite->size();
    EXPECT_EQ(list->selectionSprite->position(),
              Vector2f(100 + 100 - highlight.x * 0.5f, 130 + 15 - highlight.y * 0.5f));
    EXPECT_TRUE(list->selectionSprite->clipEnabled());
    EXPECT_EQ(list->selectionSprite->clipRect(), Rect(100, 100, 300, 190));

    // Between items, and outside the list: the selection stays.
    click(150, 125);
    EXPECT_EQ(list->selectedIndex, 1);
    click(150, 400);
    EXPECT_EQ(list->selectedIndex, 1);
    click(150, 165);
    EXPECT_EQ(list->selectedIndex, 2);

    // An index past the items becomes the last at the next update.
    list->selectedIndex = 7;
    mUI->update(0.0f);
    EXPECT_EQ(list->selectedIndex, 2);
}

TEST_F(UIScrollWidgetsTest, TheBuilderGivesAListViewAScrollAreaOfItsOwnKeys)
{
    UIWidget* bare = load("scroll_ui", "BareList");
    auto* list = dynamic_cast<UIListView*>(bare);
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list->scrollArea, nullptr);
    // The plain widget of that name is no scroll area; a new one follows it.
    EXPECT_EQ(list->children.size(), 2u);
    EXPECT_EQ(list->children[1], list->scrollArea);
    EXPECT_EQ(list->scrollArea->viewportSize, Vector2f(120, 60));
    EXPECT_TRUE(list->scrollArea->horizontal);
    EXPECT_NE(list->scrollArea->findState("onIdle"), nullptr);
    // The default text style: centred, in the system font.
    EXPECT_EQ(list->textPreset.halign, 1u);
    EXPECT_EQ(list->textPreset.valign, 1u);
    EXPECT_NE(list->textPreset.font, nullptr);
}

TEST_F(UIScrollWidgetsTest, AParticleHostRunsAndDrawsItsEffectAtItsPlace)
{
    startParticles();
    auto* host = loadShown<UIParticleFX>("Sparkle");
    ASSERT_NE(host, nullptr);
    ASSERT_NE(host->effect, nullptr);
    EXPECT_EQ(host->getType(), UIWidget::TYPE_PARTICLE_FX);
    for (int i = 0; i < 30; ++i)
        mUI->update(1.0f / 60.0f);
    createQueuedTextures();
    const auto vertices = drawn([&] { host->render(); });
    EXPECT_FALSE(vertices.empty());
    EXPECT_EQ(host->effect->mPosition, Vector2f(300, 200));
    // Faded out, it neither runs nor draws.
    host->clearDrawn();
    host->transparency = 0.005f;
    EXPECT_TRUE(drawn([&] { host->render(); }).empty());
    // Deleted, it hands its effect back to the pool.
    mUI->removeRoot(host);
    EXPECT_EQ(mParticles->pooledCount("hint_fx"), 1u);
}

TEST_F(UIScrollWidgetsTest, AParticleHostWithoutAnEffectShowsNothing)
{
    // No particle system: the host has no effect.
    auto* host = loadShown<UIParticleFX>("Sparkle");
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->effect, nullptr);
    mUI->update(0.1f);
    EXPECT_TRUE(drawn([&] { host->render(); }).empty());
}

TEST_F(UIScrollWidgetsTest, AParticleHostWithoutFileNameIsFatal)
{
    startParticles();
    const FatalReport report = catchFatal([&] { load("scroll_ui", "NoFile"); });
    EXPECT_EQ(report.name, "VQ");
    EXPECT_EQ(report.description, "Failed to read filename for UIParticleFX");
    EXPECT_EQ(report.file, "ui_manager");
    EXPECT_EQ(report.line, 398);
    EXPECT_TRUE(mUI->roots().empty());
}
