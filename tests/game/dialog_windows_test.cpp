// The dialog windows over small scenes of the test's own: the manager's
// stack and queue, windows given up and deleted, listeners that go away,
// buttons that act only on a shown window, a script without its button, and
// the volume slider's scroll bar.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>

#include "animationeditor/scene_node.h"
#include "dialogs/confirm_window.h"
#include "dialogs/dialog_window_manager.h"
#include "dialogs/scroll_bar.h"
#include "game_state_manager.h"
#include "support/ui_scene_fixture.h"

using namespace TestSupport;
using namespace TestSupport::SceneXml;

namespace {

class DialogWindowsTest : public UISceneTest {
protected:
    void SetUp() override
    {
        UISceneTest::SetUp();
        addScene("tw_xml", group("window", 100, 100, frames({{0, 100, 100, 0}, {8, 100, 100, 1}})) +
                               markers(marker("init", {{"window", 0, 0}}) + marker("show", {{"window", 0, 8}}) +
                                       marker("hide", {{"window", 8, 0}})));
        addLua("tw_ui", "TW = { id = 'TW', class = 'UIWidget', childs = {\n"
                        "  { id = 'gui', class = 'UISceneNode', scene = 'tw_xml', childs = {\n"
                        "    { id = 'btnAccept', class = 'UIButton', customClientRect = { 0, 0, 40, 40 } },\n"
                        "    { id = 'btnReject', class = 'UIButton', customClientRect = { 0, 0, 40, 40 } } } } } }\n");
        startSceneUI();
        mStates = std::make_unique<GameStateManager>(nullptr);
        mManager = std::make_unique<DialogWindowManager>();
    }
    void TearDown() override
    {
        mWindows.clear();
        mManager.reset();
        mStates.reset();
        UISceneTest::TearDown();
    }

    DialogWindow* window(const std::string& name)
    {
        auto& slot = mWindows[name];
        if (!slot)
            slot = std::make_unique<DialogWindow>("tw_ui", "TW", "gui");
        return slot.get();
    }
    // The stack bottom first, then "|" and the pending window.
    std::string lists()
    {
        std::string out;
        for (DialogWindow* w : mManager->shownStack)
            out += nameOf(w);
        out += "|";
        if (mManager->pendingWindow)
            out += nameOf(mManager->pendingWindow);
        return out;
    }
    std::string nameOf(DialogWindow* w)
    {
        for (auto& [name, slot] : mWindows)
            if (slot.get() == w)
                return name;
        return "?";
    }

    std::unique_ptr<GameStateManager> mStates;
    std::unique_ptr<DialogWindowManager> mManager;
    std::map<std::string, std::unique_ptr<DialogWindow>> mWindows;
};

// Steps such as "a q" (show queued), "a !" (show at once), "a shown" (its
// show marker ends), "a hide", "a hidden" (its hide marker ends).
struct QueueCase {
    const char* name;
    const char* steps;
    const char* lists;  // after the steps: the stack, "|", the pending window
    const char* states;  // the state of a, b, c
    bool active;
};

const QueueCase QUEUE_CASES[] = {
    {"queued with nothing open opens at once", "a q", "a|", "2 1 1", true},
    {"queued over a shown window waits and hides it", "a q,a shown,b q", "a|b", "3 1 1", true},
    {"the hidden window lets the pending one open", "a q,a shown,b q,a hidden", "b|", "1 2 1", true},
    {"of two queued only the later opens", "a q,a shown,b q,c q,a hidden", "c|", "1 1 2", true},
    {"queued while the top still shows leaves it open", "a q,b q,a shown", "a|b", "0 1 1", true},
    {"and opens once the top is closed by its own buttons", "a q,b q,a shown,a hide,a hidden", "b|", "1 2 1", true},
    {"with two on the stack the queued one waits for both", "a !,a shown,b !,b shown,c q,b hidden", "a|c", "0 1 1",
     true},
    {"and opens after the second", "a !,a shown,b !,b shown,c q,b hidden,a hide,a hidden", "c|", "1 1 2", true},
    {"showing twice pushes once", "a !,a !,a shown,a !", "a|", "0 1 1", true},
    {"a hide before the show has ended is ignored", "a !,a hide", "a|", "2 1 1", true},
    {"nothing is active once the last has hidden", "a q,a shown,a hide,a hidden", "|", "1 1 1", false},
};

}  // namespace

TEST_F(DialogWindowsTest, TheManagerStacksAndQueuesAsTheTableSays)
{
    for (const QueueCase& c : QUEUE_CASES) {
        mWindows.clear();
        mManager->update(0.0f);
        for (const char* name : {"a", "b", "c"})
            window(name);
        std::stringstream steps(c.steps);
        std::string step;
        while (std::getline(steps, step, ',')) {
            DialogWindow* w = window(step.substr(0, 1));
            const std::string what = step.substr(2);
            if (what == "q")
                w->show(true);
            else if (what == "!")
                w->show(false);
            else if (what == "shown")
                w->onMarkerFinished(w->showMarker);
            else if (what == "hide")
                w->hide();
            else if (what == "hidden")
                w->onMarkerFinished(w->hideMarker);
        }
        EXPECT_EQ(lists(), c.lists) << c.name;
        const std::string states = std::to_string(window("a")->state) + " " + std::to_string(window("b")->state) +
                                   " " + std::to_string(window("c")->state);
        EXPECT_EQ(states, c.states) << c.name;
        EXPECT_EQ(mManager->hasActiveWindow(), c.active) << c.name;
    }
}

TEST_F(DialogWindowsTest, AMarkedWindowLeavesEveryListAndIsDeletedAtTheNextUpdate)
{
    auto* shown = new DialogWindow("tw_ui", "TW", "gui");
    auto* pending = new DialogWindow("tw_ui", "TW", "gui");
    DialogWindow* kept = window("k");
    shown->show(false);
    shown->onMarkerFinished(shown->showMarker);
    pending->show(true);
    ASSERT_EQ(mManager->pendingWindow, pending);
    shown->removalMark = true;
    pending->removalMark = true;
    // Marked but not yet updated: still listed.
    EXPECT_EQ(mManager->windows.size(), 3u);
    mManager->update(0.0f);
    EXPECT_EQ(mManager->windows, std::vector<DialogWindow*>{kept});
    EXPECT_TRUE(mManager->shownStack.empty());
    EXPECT_EQ(mManager->pendingWindow, nullptr);
    EXPECT_FALSE(mManager->hasActiveWindow());
    // (ASan reports the two windows if they were not deleted.)

    // One still marked when the manager goes is deleted with it.
    (new DialogWindow("tw_ui", "TW", "gui"))->removalMark = true;
    mWindows.clear();
    mManager.reset();
}

namespace {

struct CountingListener : DialogWindowListener {
    explicit CountingListener(int& calls) : calls(calls) {}
    void onShown(DialogWindow*) override { ++calls; }
    void onHidden(DialogWindow*) override { ++calls; }
    int& calls;
};

}  // namespace

TEST_F(DialogWindowsTest, ADeletedListenerIsNeverCalledByTheWindowsItListenedTo)
{
    int gone = 0;
    int kept = 0;
    auto listener = std::make_unique<CountingListener>(gone);
    CountingListener stays(kept);
    for (const char* name : {"a", "b"}) {
        window(name)->addListener(listener.get());
        window(name)->addListener(&stays);
    }
    listener.reset();
    for (const char* name : {"a", "b"}) {
        DialogWindow* w = window(name);
        EXPECT_EQ(w->listeners.size(), 1u);
        w->show(false);
        w->onMarkerFinished(w->showMarker);
        w->hide();
        w->onMarkerFinished(w->hideMarker);
    }
    EXPECT_EQ(gone, 0);
    EXPECT_EQ(kept, 4);
}

TEST_F(DialogWindowsTest, ButtonsActOnlyOnAShownWindow)
{
    ConfirmWindow question("TW", "tw_ui");
    VQ::UIWidget* accept = question.requireWidget("btnAccept");
    question.show(false);
    EXPECT_FALSE(accept->enabled);
    question.result = 7;
    question.accept();
    EXPECT_EQ(question.result, 7);
    EXPECT_EQ(question.state, DialogWindow::SHOWING);

    question.onMarkerFinished(question.showMarker);
    EXPECT_TRUE(accept->enabled);
    question.reject();
    EXPECT_EQ(question.result, ConfirmWindow::REJECTED);
    EXPECT_EQ(question.state, DialogWindow::HIDING);
    EXPECT_FALSE(accept->enabled);
    question.accept();
    EXPECT_EQ(question.result, ConfirmWindow::REJECTED);
}

TEST_F(DialogWindowsTest, AScriptWithoutABoundButtonIsAFatalReportNamingIt)
{
    const VQ::FatalReport report = catchFatal([] {
        DialogWindow window("tw_ui", "TW", "gui");
        window.requireWidget("btnMissing");
    });
    EXPECT_NE(report.description.find("btnMissing"), std::string::npos) << report.description;
    EXPECT_NE(report.description.find("tw_ui"), std::string::npos) << report.description;
}

// --- The scroll bar ---

namespace {

class ScrollBarTest : public UISceneTest {
protected:
    // A bar at (100, 200): the thumb keyed from x 0 to 200 over frames 0 to
    // 12, the bar's own key frames 0 and 12, the marker "#thumbs" on the
    // thumb; `extra` adds markers to the bar.
    void build(const std::string& extraMarkers = "", int lastFrame = 12, float thumbEnd = 200)
    {
        const std::string thumb =
            "<Object type=\"Sprite\" name=\"#thumb\" filename=\"widget_sprites\" tablename=\"SliderThumb\">"
            "<Parameters " + values(0, -16, 1) + " Enable=\"1\"/>" +
            frames({{0, 0, -16}, {lastFrame, thumbEnd, -16}}) + "</Object>" +
            // The strip that takes the presses, from x 90 to 354.
            "<Object type=\"Sprite\" name=\"hit\" filename=\"widget_sprites\" tablename=\"SliderTrack\">"
            "<Parameters " + values(-10, -21, 0, 1.2f, 3.0f) + " Enable=\"1\"/></Object>";
        addScene("bar_xml", group("#musicBar", 100, 200,
                                  frames({{0, 100, 200}, {lastFrame, 100, 200}}) + children(thumb) +
                                      markers(marker("#thumbs", {{"#thumb", 0, lastFrame}}) + extraMarkers)));
        startSceneUI();
        mScene.reset(AE::loadScene("bar_xml"));
        ASSERT_TRUE(mScene);
        AE::ISceneNode::update(mScene.get(), 0.0f);
        mBar = std::make_unique<ScrollBar>(mScene->findNode("#musicBar"));
        mBar->listener = &mListener;
        mBar->active = true;
    }
    void TearDown() override
    {
        mBar.reset();
        mScene.reset();
        UISceneTest::TearDown();
    }
    // The left button held at (x, y) for a frame, then the bar's update.
    void pressAt(float x, float y)
    {
        VQ::MouseDevice& mouse = *mInput->mouse();
        mouse.x = int32_t(x);
        mouse.y = int32_t(y);
        mouse.left = 0x80;
        mBar->update();
    }

    struct Listener : ScrollBarListener {
        void onScroll(ScrollBar*, float value) override { told.push_back(value); }
        std::vector<float> told;
    };

    std::unique_ptr<AE::ISceneNode> mScene;
    std::unique_ptr<ScrollBar> mBar;
    Listener mListener;
};

}  // namespace

TEST_F(ScrollBarTest, SetValueSeeksTheThumbsToTheirShareOfTheTrackClampedToOne)
{
    build();
    EXPECT_FALSE(mBar->vertical);
    EXPECT_FLOAT_EQ(mBar->trackLength, 0.5f);
    mBar->setValue(0.5f);
    EXPECT_FLOAT_EQ(mBar->thumb->animation->time, 0.25f);
    mBar->setValue(1.7f);
    EXPECT_FLOAT_EQ(mBar->value, 1.0f);
    EXPECT_FLOAT_EQ(mBar->thumb->animation->time, 0.5f);
    mBar->setValue(-1.0f);
    EXPECT_FLOAT_EQ(mBar->value, 0.0f);
    EXPECT_TRUE(mListener.told.empty());
}

TEST_F(ScrollBarTest, PressesFollowTheCursorAlongXWithinZeroAndOne)
{
    build();
    const float y = 200;  // the thumb's middle row
    struct Press {
        float x;
        float value;
    };
    // The thumb's key 0 stands at the bar (x 100), its last key 200 further.
    for (const Press& p : {Press{200, 0.5f}, Press{110, 0.05f}, Press{100 + 16, 0.08f}, Press{95, 0.0f}}) {
        pressAt(p.x, y);
        ASSERT_FALSE(mListener.told.empty()) << p.x;
        EXPECT_NEAR(mListener.told.back(), p.value, 0.01f) << p.x;
        EXPECT_NEAR(mBar->thumb->animation->time, 0.5f * p.value, 0.01f) << p.x;
    }
    // Past the track's end, still on the strip, gives 1.
    pressAt(100 + 200 + 30, y);
    EXPECT_FLOAT_EQ(mListener.told.back(), 1.0f);
}

TEST_F(ScrollBarTest, AnInactiveBarOrAZeroSpanIgnoresTheMouse)
{
    build("", 12, 0);
    pressAt(105, 200);
    EXPECT_TRUE(mListener.told.empty());
    EXPECT_FLOAT_EQ(mBar->value, 0.0f);
    mBar->active = false;
    mBar->setValue(0.3f);
    pressAt(105, 200);
    EXPECT_TRUE(mListener.told.empty());
    EXPECT_FLOAT_EQ(mBar->value, 0.3f);
}

TEST_F(ScrollBarTest, AVerMarkerMakesTheBarVertical)
{
    build(marker("#ver"));
    EXPECT_TRUE(mBar->vertical);
}
