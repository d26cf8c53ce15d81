// The level result windows over a small scene of the test's own: the win
// window's count-up with its coin bursts, closing it early, its stars, the
// fail window's buttons, the out-of-moves offer, and the one-value
// formatter of localised texts.
#include <gtest/gtest.h>

#include <memory>

#include "animationeditor/marker.h"
#include "animationeditor/scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "dialogs/dialog_window_manager.h"
#include "dialogs/fail_level_window.h"
#include "dialogs/nomoves_level_window.h"
#include "dialogs/win_level_window.h"
#include "game_helpers/goals_helper.h"
#include "game_state_manager.h"
#include "localized_format.h"
#include "main_mode.h"
#include "player_profile.h"
#include "support/ui_scene_fixture.h"
#include "ui/text_manager.h"

using namespace TestSupport;
using namespace TestSupport::SceneXml;

namespace {

const std::string BUTTONS = "    { id = 'btnClose', class = 'UIButton', customClientRect = { 0, 0, 40, 40 } },\n"
                            "    { id = 'btnNext', class = 'UIButton', customClientRect = { 0, 0, 40, 40 } },\n"
                            "    { id = 'btnReplay', class = 'UIButton', customClientRect = { 0, 0, 40, 40 } } } } } }\n";

class ResultWindowsTest : public UISceneTest {
protected:
    void SetUp() override
    {
        UISceneTest::SetUp();
        const std::string window =
            group("window", 100, 100,
                  frames({{0, 100, 100, 0}, {8, 100, 100, 1}}) +
                      children(text("#score", 0, 0) + text("#money", 0, 30) + text("#levelNum", 0, 60) +
                               group("burst", 0, 90, frames({{0, 0, 90, 0}, {4, 0, 90, 1}})) +
                               star(1) + star(2) + star(3)));
        std::string common = marker("init", {{"window", 0, 0}}) + marker("show", {{"window", 0, 8}}) +
                             marker("hide", {{"window", 8, 0}}) + marker("leftPanel") + marker("bottomPanel") +
                             marker("stars0", {{"window", 8, 8}}) + marker("stars1", {{"star1", 0, 8}}) +
                             marker("stars2", {{"star1", 0, 8}, {"star2", 0, 8}}) +
                             marker("stars3", {{"star1", 0, 8}, {"star2", 0, 8}, {"star3", 0, 8}});
        std::string bursts;
        for (int i = 0; i < 3; ++i)
            bursts += marker("silverEffect[" + std::to_string(i) + "]", {{"burst", 0, 4}});
        addScene("wl_xml", window + markers(common + bursts + marker("#effectCount:3")));
        addScene("fl_xml", window + markers(common));
        addLua("win_level_window_ui", "WinLevelWindow = { id = 'WinLevelWindow', class = 'UIWidget', childs = {\n"
                                      "  { id = 'gui', class = 'UISceneNode', scene = 'wl_xml', childs = {\n" +
                                          BUTTONS);
        addLua("fail_level_window_ui", "FailLevelWindow = { id = 'FailLevelWindow', class = 'UIWidget', childs = {\n"
                                       "  { id = 'gui', class = 'UISceneNode', scene = 'fl_xml', childs = {\n" +
                                           BUTTONS);
        startSceneUI();
        mStates = std::make_unique<GameStateManager>(nullptr);
        mManager = std::make_unique<DialogWindowManager>();
        mLevel.title = "7";
        mLevel.starScores[0] = 500;
        mLevel.starScores[1] = 1000;
        mLevel.starScores[2] = 2000;
    }
    void TearDown() override
    {
        mWin.reset();
        mFail.reset();
        mManager.reset();
        mStates.reset();
        UISceneTest::TearDown();
    }

    // A star lit (alpha 1) by the markers of its count, dark at frame 0.
    static std::string star(int index)
    {
        return group("star" + std::to_string(index), 20.0f * float(index), 120,
                     frames({{0, 20.0f * float(index), 120, 0}, {8, 20.0f * float(index), 120, 1}}));
    }
    static std::string textOf(DialogWindow& window, const std::string& name)
    {
        auto* node = dynamic_cast<AE::TextSceneNode*>(window.sceneNode(name));
        return node ? VQ::wideToAnsi(node->rawText) : "none";
    }
    WinLevelWindow& win()
    {
        if (!mWin)
            mWin = std::make_unique<WinLevelWindow>();
        return *mWin;
    }
    // Opened and fully shown; the stars marker has not finished yet.
    WinLevelWindow& shownWin(int score, int coins)
    {
        WinLevelWindow& w = win();
        w.open(&mLevel, score, coins);
        w.onMarkerFinished(w.showMarker);
        return w;
    }

    std::unique_ptr<GameStateManager> mStates;
    std::unique_ptr<DialogWindowManager> mManager;
    std::unique_ptr<WinLevelWindow> mWin;
    std::unique_ptr<FailLevelWindow> mFail;
    LevelInfo mLevel;
};

}  // namespace

TEST_F(ResultWindowsTest, TheCoinsCountUpInStepsOfTenOrMoreWithABurstEachWrappingAfterTheCount)
{
    WinLevelWindow& w = shownWin(1234, 57);
    EXPECT_EQ(w.state, DialogWindow::SHOWN);
    EXPECT_EQ(w.stars, 2);
    EXPECT_EQ(w.effectCount, 3);
    EXPECT_EQ(textOf(w, "#money"), "0");
    // Nothing counts before the stars have been lit.
    w.update(0.5f);
    EXPECT_EQ(textOf(w, "#score"), "0");
    w.onMarkerFinished(w.scene->getMarker("stars2"));
    ASSERT_EQ(w.phase, 1);

    std::vector<int> shown = {0};
    std::vector<int> bursts;
    for (int frame = 0; frame < 70 && w.phase == 1; ++frame) {
        const int index = w.effectIndex;
        w.update(1.0f / 30.0f);
        const int money = std::stoi(textOf(w, "#money"));
        if (money != shown.back()) {
            shown.push_back(money);
            bursts.push_back(index);
            EXPECT_EQ(w.scene->getMarker("silverEffect[" + std::to_string(index) + "]")->getState(),
                      AE::Marker::PLAYING);
            EXPECT_EQ(w.effectIndex, (index + 1) % 3);
        }
    }
    EXPECT_EQ(w.phase, 2);
    EXPECT_EQ(textOf(w, "#score"), "1234");
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown.back(), 57);
    for (size_t i = 1; i + 1 < shown.size(); ++i)
        EXPECT_GE(shown[i] - shown[i - 1], 10) << i;
    for (size_t i = 0; i < bursts.size(); ++i)
        EXPECT_EQ(bursts[i], int(i % 3));
}

TEST_F(ResultWindowsTest, ClosingWhileTheStarsPlayShowsTheFinalFiguresAtTheNextUpdate)
{
    WinLevelWindow& w = shownWin(4321, 12);
    w.close();
    EXPECT_EQ(w.result, WinLevelWindow::CLOSED);
    EXPECT_EQ(w.state, DialogWindow::HIDING);
    EXPECT_EQ(w.phase, 1);
    w.update(1.0f / 30.0f);
    EXPECT_EQ(textOf(w, "#score"), "4321");
    EXPECT_EQ(textOf(w, "#money"), "12");
    EXPECT_EQ(w.phase, 2);
}

TEST_F(ResultWindowsTest, TheStarsAreThoseOfTheScoreOrOfTheBestScoreForMinusOne)
{
    const struct {
        int score, best, stars;
    } cases[] = {{499, 0, 0}, {500, 0, 1}, {1999, 0, 2}, {2000, 0, 3}, {-1, 1000, 2}, {-1, 0, 0}, {99999, 0, 3}};
    for (const auto& c : cases) {
        mLevel.bestScore = c.best;
        WinLevelWindow& w = win();
        w.open(&mLevel, c.score, 0);
        EXPECT_EQ(w.stars, c.stars) << c.score << " " << c.best;
    }
    // Thresholds are counted from the first and stop at the first above.
    mLevel.starScores[1] = 5000;
    EXPECT_EQ(WinLevelWindow::starsReached(mLevel, 3000), 1);
}

TEST_F(ResultWindowsTest, EachOpeningLightsOnlyItsOwnStarsAndCountsFromZero)
{
    // Two wins in one session on the reused window: 3 stars, then 2.
    const auto litStars = [this](int score, int coins) {
        WinLevelWindow& w = shownWin(score, coins);
        w.scene->getMarker("stars" + std::to_string(w.stars))->skipToEnd();
        w.onMarkerFinished(w.scene->getMarker("stars" + std::to_string(w.stars)));
        EXPECT_EQ(textOf(w, "#score"), "0");
        EXPECT_EQ(textOf(w, "#money"), "0");
        w.update(WinLevelWindow::COUNT_TIME);
        EXPECT_EQ(textOf(w, "#score"), std::to_string(score));
        EXPECT_EQ(textOf(w, "#money"), std::to_string(coins));
        std::string lit;
        for (int i = 1; i <= 3; ++i)
            lit += w.sceneNode("star" + std::to_string(i))->getColor().a == 255 ? '*' : '.';
        w.next();
        w.onMarkerFinished(w.hideMarker);
        mManager->update(0.0f);
        return lit;
    };
    EXPECT_EQ(litStars(2500, 40), "***");
    EXPECT_EQ(litStars(1200, 15), "**.");
    EXPECT_EQ(litStars(600, 5), "*..");
}

TEST_F(ResultWindowsTest, TheEffectCountIsReadFromTheFirstMarkerNamingIt)
{
    EXPECT_EQ(WinLevelWindow::effectCountOf(*win().scene), 3);
    AE::ISceneNode plain;
    EXPECT_EQ(WinLevelWindow::effectCountOf(plain), 0);
    plain.addMarker(std::make_unique<AE::Marker>("#effectCount:12x4"));
    plain.addMarker(std::make_unique<AE::Marker>("#effectCount:5"));
    EXPECT_EQ(WinLevelWindow::effectCountOf(plain), 12);

    // Without a count no burst plays.
    win().effectCount = 0;
    WinLevelWindow& w = shownWin(1000, 40);
    w.hide();
    w.update(0.1f);
    EXPECT_EQ(textOf(w, "#money"), "40");
    EXPECT_EQ(w.effectIndex, 0);
    EXPECT_NE(w.scene->getMarker("silverEffect[0]")->getState(), AE::Marker::PLAYING);
}

TEST_F(ResultWindowsTest, TheFailWindowReplaysWithZeroAndClosesWithOne)
{
    mFail = std::make_unique<FailLevelWindow>();
    for (const auto& [button, wanted] : {std::pair{&FailLevelWindow::replay, FailLevelWindow::REPLAY},
                                         std::pair{&FailLevelWindow::close, FailLevelWindow::CLOSED}}) {
        mFail->result = 7;
        mFail->open(&mLevel, 250);
        // Not yet shown: the buttons do nothing.
        (mFail.get()->*button)();
        EXPECT_EQ(mFail->result, 7);
        mFail->onMarkerFinished(mFail->showMarker);
        (mFail.get()->*button)();
        EXPECT_EQ(mFail->result, wanted);
        mFail->onMarkerFinished(mFail->hideMarker);
        mManager->update(0.0f);
    }
    EXPECT_EQ(FailLevelWindow::REPLAY, 0);
    EXPECT_EQ(FailLevelWindow::CLOSED, 1);
}

TEST(LocalizedFormat, OnlyTheFirstConversionTakesTheValueAndOtherPercentSignsStay)
{
    const struct {
        const char* format;
        const char* out;
    } cases[] = {{"Level %s", "Level 7"},       {"%d points", "7 points"}, {"%s and %s", "7 and %s"},
                 {"100% sure: %d", "100% sure: 7"}, {"%x %n %%", "%x %n %%"}, {"no value", "no value"},
                 {"ends with %", "ends with %"}};
    for (const auto& c : cases)
        EXPECT_EQ(substituteOne(c.format, "7"), c.out) << c.format;
}

// --- The out-of-moves offer ---

namespace {

class NomovesWindowTest : public UISceneTest {
protected:
    void SetUp() override
    {
        UISceneTest::SetUp();
        const auto panel = [](const std::string& name, float y) {
            return group(name, 0, y,
                         children(group("icon", 0, 0) + group("check", 40, 0) + group("uncheck", 40, 0) +
                                  text("text", 80, 0)));
        };
        const std::string window =
            group("window", 100, 100,
                  frames({{0, 100, 100, 0}, {8, 100, 100, 1}}) +
                      children(panel("target1", 0) + panel("target2", 50) + text("#score_target_text", 0, 100) +
                               text("#gold", 0, 130) + text("#silver", 0, 160) + text("#levelNum", 0, 190) +
                               text("#title", 0, 220) + text("#price", 0, 250) + group("#limit_icon", 0, 280)));
        addScene("nm_xml", window + markers(marker("init", {{"window", 0, 0}}) + marker("show", {{"window", 0, 8}}) +
                                            marker("hide", {{"window", 8, 0}}) + marker("goals1", {{"target1", 0, 8}}) +
                                            marker("goals2", {{"target2", 0, 8}})));
        addLua("nomoves_level_window_ui",
               "NomovesLevelWindow = { id = 'NomovesLevelWindow', class = 'UIWidget', childs = {\n"
               "  { id = 'gui', class = 'UISceneNode', scene = 'nm_xml', childs = {\n"
               "    { id = 'btnContinue', class = 'UIButton', customClientRect = { 0, 0, 40, 40 } },\n"
               "    { id = 'btnEndLevel', class = 'UIButton', customClientRect = { 0, 0, 40, 40 } } } } } }\n");
        startSceneUI();
        mStates = std::make_unique<GameStateManager>(nullptr);
        mManager = std::make_unique<DialogWindowManager>();
        mWindow = std::make_unique<NomovesLevelWindow>();
        mWindow->profile = &mProfile;
        // Set up as a level would, then disabled as a fresh scene keeps them
        // until a goal takes them.
        mWindow->target1->setEnabled(false);
        mWindow->target2->setEnabled(false);
    }
    void TearDown() override
    {
        mWindow.reset();
        mManager.reset();
        mStates.reset();
        UISceneTest::TearDown();
    }
    std::string textOf(const std::string& name, AE::ISceneNode* under = nullptr)
    {
        AE::ISceneNode* node = under ? under->findNode(name) : mWindow->sceneNode(name);
        auto* shown = dynamic_cast<AE::TextSceneNode*>(node);
        return shown ? VQ::wideToAnsi(shown->rawText) : "none";
    }
    bool enabled(AE::ISceneNode* panel, const std::string& child) { return panel->findNode(child)->enabled; }
    void shown()
    {
        mWindow->onMarkerFinished(mWindow->showMarker);
        ASSERT_EQ(mWindow->state, DialogWindow::SHOWN);
    }

    std::unique_ptr<GameStateManager> mStates;
    std::unique_ptr<DialogWindowManager> mManager;
    std::unique_ptr<NomovesLevelWindow> mWindow;
    PlayerProfile mProfile;
};

}  // namespace

TEST_F(NomovesWindowTest, OneGoalShowsOnlyTheFirstPanelWithItsProgressTickedWhenMet)
{
    NomovesLevelWindow& w = *mWindow;
    w.setGoals(GOAL_WALLS, 10, 0, 0, 1500);
    EXPECT_EQ(w.panelsInUse, 1);
    EXPECT_TRUE(w.target1->enabled);
    EXPECT_FALSE(w.target2->enabled);
    EXPECT_EQ(w.scene->getMarker("goals1")->getState(), AE::Marker::PLAYING);
    EXPECT_NE(w.scene->getMarker("goals2")->getState(), AE::Marker::PLAYING);
    EXPECT_FALSE(w.scoreTargetText->enabled);

    const std::string unused = textOf("text", w.target2);
    const struct {
        int progress;
        const char* text;
        bool met;
    } cases[] = {{7, "7/10", false}, {10, "10/10", true}, {0, "0/10", false}, {12, "12/10", false}};
    for (const auto& c : cases) {
        w.open(c.progress, 99);
        EXPECT_EQ(textOf("text", w.target1), c.text);
        EXPECT_EQ(enabled(w.target1, "check"), c.met) << c.progress;
        EXPECT_EQ(enabled(w.target1, "uncheck"), !c.met) << c.progress;
    }
    // The unused panel is left as it was.
    EXPECT_EQ(textOf("text", w.target2), unused);
}

TEST_F(NomovesWindowTest, TwoGoalsFillBothPanelsAndNoGoalShowsTheScoreTarget)
{
    NomovesLevelWindow& w = *mWindow;
    // A kind of 0 first leaves the first panel to the second goal.
    w.setGoals(0, 5, GOAL_TILES, 8, 1500);
    EXPECT_EQ(w.panelsInUse, 1);
    w.open(8, 3);
    EXPECT_EQ(textOf("text", w.target1), "8/5");

    w.setGoals(GOAL_WALLS, 10, GOAL_TILES, 4, 1500);
    EXPECT_EQ(w.panelsInUse, 2);
    EXPECT_EQ(w.scene->getMarker("goals2")->getState(), AE::Marker::PLAYING);
    w.open(7, 4);
    EXPECT_EQ(textOf("text", w.target1), "7/10");
    EXPECT_EQ(textOf("text", w.target2), "4/4");
    EXPECT_TRUE(enabled(w.target2, "check"));

    w.setGoals(0, 0, 0, 0, 1500);
    EXPECT_EQ(w.panelsInUse, 0);
    EXPECT_TRUE(w.scoreTargetText->enabled);
    EXPECT_NE(textOf("#score_target_text").find("1500"), std::string::npos) << textOf("#score_target_text");
}

TEST_F(NomovesWindowTest, ContinuingCostsThePriceOfTheLimitKindAndIsIgnoredWithoutEnoughSilver)
{
    struct Case {
        int kind;
        int silver;
        const char* price;
        int result;
        int silverAfter;
        int bought;
    };
    const Case cases[] = {
        {1, 3, "4", -1, 3, 0}, {1, 4, "4", 1, 0, 15}, {2, 9, "4", 1, 5, 15},
        {0, 249, "250", -1, 249, 0}, {0, 250, "250", 1, 0, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + " " + std::to_string(c.silver));
        NomovesLevelWindow& w = *mWindow;
        w.setLimitKind(c.kind);
        EXPECT_EQ(textOf("#price"), c.price);
        mProfile.silver = c.silver;
        w.result = -1;
        w.amountBought = 0;
        w.setGoals(GOAL_WALLS, 10, 0, 0, 0);
        w.open(3, 0);
        // Not yet shown: the click is not taken.
        w.buy();
        EXPECT_EQ(mProfile.silver, c.silver);
        shown();
        w.update(0.0f);
        EXPECT_EQ(textOf("#silver"), std::to_string(c.silver));
        w.buy();
        EXPECT_EQ(w.result, c.result);
        EXPECT_EQ(mProfile.silver, c.silverAfter);
        EXPECT_EQ(w.amountBought, c.bought);
        EXPECT_EQ(w.state, c.result == 1 ? DialogWindow::HIDING : DialogWindow::SHOWN);
        if (w.state == DialogWindow::SHOWN)
            w.endLevel();
        EXPECT_EQ(w.result, c.result == 1 ? 1 : 0);
        w.onMarkerFinished(w.hideMarker);
        mManager->update(0.0f);
    }
}
