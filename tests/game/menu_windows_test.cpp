// The menu and message windows over their shipped scripts, with a player
// profile of the test's own: the in-level menu's volumes and results, its
// sliders under the help window, the everyday gifts, and the main menu's
// commands.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "animationeditor/mesh_scene_node.h"
#include "animationeditor/scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "dialogs/confirm_window.h"
#include "dialogs/dialog_window_manager.h"
#include "dialogs/everyday_bonus_window.h"
#include "dialogs/help_window.h"
#include "dialogs/ingame_menu_window.h"
#include "dialogs/options_window.h"
#include "dialogs/reset_question_window.h"
#include "main_mode.h"
#include "ui/ui_button.h"
#include "ui/ui_scene_node.h"
#include "game_properties.h"
#include "game_state_manager.h"
#include "game_time.h"
#include "main_menu.h"
#include "platform_config.h"
#include "player_profile.h"
#include "progress_saver.h"
#include "remote_storage.h"
#include "store.h"
#include "support/game_windows_fixture.h"
#include "support/ui_scene_fixture.h"
#include "tutorial/tutorial_registry.h"
#include "utils.h"

using namespace TestSupport;

namespace {

class MenuWindowsTest : public GameWindowsTest {};

}  // namespace

TEST_F(MenuWindowsTest, TheInLevelMenuPutsBackOrKeepsTheVolumesAndGoesOnPlaying)
{
    struct Case {
        void (IngameMenuWindow::*button)();
        float sound;  // after the button
    };
    for (const Case& c : {Case{&IngameMenuWindow::close, 0.6f}, Case{&IngameMenuWindow::accept, 0.2f}}) {
        IngameMenuWindow menu;
        profile().setMusicVolume(0.8f);
        profile().setSoundVolume(0.6f);
        menu.open();
        finishShow(menu);
        EXPECT_FLOAT_EQ(menu.sliders.sound->value, 0.6f);
        menu.onScroll(menu.sliders.sound.get(), 0.2f);
        EXPECT_FLOAT_EQ(profile().soundVolume, 0.2f);
        (menu.*c.button)();
        EXPECT_FLOAT_EQ(profile().soundVolume, c.sound);
        EXPECT_FLOAT_EQ(profile().musicVolume, 0.8f);
        EXPECT_EQ(menu.state, DialogWindow::HIDING);
        EXPECT_EQ(menu.result, 1);
        finishHide(menu);
    }
}

TEST_F(MenuWindowsTest, LeavingTheLevelAsksFirstAndOnlyAnAcceptedQuestionGivesZero)
{
    for (const bool acceptIt : {false, true}) {
        IngameMenuWindow menu;
        menu.open();
        finishShow(menu);
        menu.goToMap();
        ConfirmWindow& question = *menu.exitQuestion;
        EXPECT_EQ(mManager->topWindow(), &question);
        finishShow(question);
        acceptIt ? question.accept() : question.reject();
        finishHide(question);
        EXPECT_EQ(menu.result, acceptIt ? 0 : 1);
        EXPECT_EQ(menu.state, acceptIt ? DialogWindow::HIDING : DialogWindow::SHOWN);
    }
}

TEST_F(MenuWindowsTest, ASliderIgnoresTheMouseWhileTheHelpIsAboveItsMenu)
{
    IngameMenuWindow menu;
    profile().setSoundVolume(0.6f);
    menu.open();
    finishShow(menu);
    frame(-100, -100, false);
    AE::ISceneNode* track = menu.sceneNode("soundBarTrack");
    ASSERT_NE(track, nullptr);
    const float x = track->worldPosition.x + 20;
    const float y = track->worldPosition.y + 7;

    menu.help->open();
    finishShow(*menu.help);
    mInput->mouse()->x = int32_t(x);
    mInput->mouse()->y = int32_t(y);
    mInput->mouse()->left = 0x80;
    mManager->update(0.0f);
    EXPECT_FLOAT_EQ(profile().soundVolume, 0.6f);

    menu.help->close();
    finishHide(*menu.help);
    mManager->update(0.0f);
    EXPECT_LT(profile().soundVolume, 0.2f);
}

TEST_F(MenuWindowsTest, TheEverydayGiftsAreTheStoresFiveDays)
{
    EverydayBonusWindow gifts;
    const char* expected[][2] = {{"50", ""}, {"100", ""}, {"150", ""}, {"200", ""}, {"250", "5"}};
    for (int d = 1; d <= 5; ++d) {
        AE::ISceneNode* day = gifts.sceneNode(VQ::formatString("#day_%d", d));
        ASSERT_NE(day, nullptr) << d;
        auto* silver = dynamic_cast<AE::TextSceneNode*>(day->findNode("#amount_s"));
        auto* gold = dynamic_cast<AE::TextSceneNode*>(day->findNode("#amount_g"));
        ASSERT_TRUE(silver && gold) << d;
        EXPECT_EQ(silver->rawText, VQ::ansiToWide(expected[d - 1][0])) << d;
        EXPECT_EQ(gold->rawText, VQ::ansiToWide(expected[d - 1][1])) << d;
    }
}

TEST_F(MenuWindowsTest, EveryBuildOfTheMainMenuRegistersItsCommandsAndUnloadRemovesThemAll)
{
    const char* commands[] = {"exit", "activateMode", "showOptions", "connectFacebook", "showPartner"};
    MainMenu menu;
    for (int build = 0; build < 2; ++build) {
        menu.initialize();
        for (const char* name : commands)
            EXPECT_NE(mFunctions->find(name), nullptr) << name << " build " << build;
        EXPECT_NE(menu.exitQuestion, nullptr);
        menu.unload();
        for (const char* name : commands)
            EXPECT_EQ(mFunctions->find(name), nullptr) << name << " build " << build;
        EXPECT_EQ(menu.exitQuestion, nullptr);
        mManager->update(0.0f);
    }
}

TEST_F(MenuWindowsTest, EveryBuildOfTheMainMenuTurnsItsMeshNodesIntoPlayingMeshes)
{
    MainMenu menu;
    for (int build = 0; build < 2; ++build) {
        menu.initialize();
        auto* host = dynamic_cast<VQ::UISceneNode*>(menu.root);
        ASSERT_TRUE(host && host->node);
        std::vector<AE::ISceneNode*> nodes;
        host->node->collectNodes(nodes);
        int meshes = 0;
        for (AE::ISceneNode* node : nodes) {
            if (node->name.rfind("#mesh:", 0) != 0)
                continue;
            auto* mesh = dynamic_cast<AE::MeshSceneNode*>(node);
            EXPECT_TRUE(mesh && mesh->visible && mesh->playing) << node->name << " build " << build;
            ++meshes;
        }
        // The shipped menu's banner and water.
        EXPECT_EQ(meshes, 2) << "build " << build;
        menu.unload();
        mManager->update(0.0f);
    }
}

TEST_F(MenuWindowsTest, TheOptionsCheckBoxesActAtOnceAndOnlyTheVolumesGoBack)
{
    OptionsWindow options;
    profile().gameCursor = 1;
    profile().setMusicVolume(0.7f);
    options.open();
    finishShow(options);
    auto* box = dynamic_cast<VQ::UICheckBox*>(options.root->findChild("checkGameCursor"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isChecked);
    box->isChecked = false;
    options.onScroll(options.sliders.music.get(), 0.1f);
    mManager->update(0.0f);
    EXPECT_EQ(profile().gameCursor, 0);
    options.close();
    EXPECT_EQ(profile().gameCursor, 0);
    EXPECT_FLOAT_EQ(profile().musicVolume, 0.7f);
    finishHide(options);
}

TEST_F(MenuWindowsTest, TheResetQuestionCountsDownTheHoldAndReopensUnaccepted)
{
    static int64_t now = 1000;
    setTimeSource([] { return now; });
    ResetQuestionWindow question;
    auto* timer = dynamic_cast<AE::TextSceneNode*>(question.timer);
    ASSERT_NE(timer, nullptr);
    question.show(false);
    // The window fully faded in, as the hold's hit test asks.
    question.showMarker->skipToEnd();
    frame(-100, -100, false);
    finishShow(question);
    const AE::ISceneNode* hold = question.acceptNode;
    VQ::MouseDevice& mouse = *mInput->mouse();
    // The hold node's first picture, a little inside its corner.
    const VQ::Vector2f at = hold->children.front()->worldPosition + VQ::Vector2f(10, 10);
    mouse.x = int32_t(at.x);
    mouse.y = int32_t(at.y);
    mouse.previousLeft = 0;
    mouse.left = 0x80;
    question.update(0.0f);
    ASSERT_TRUE(question.holding);
    EXPECT_TRUE(question.timer->enabled);
    mouse.previousLeft = 0x80;
    for (const char* shown : {"3", "2", "1"}) {
        question.update(0.0f);
        EXPECT_EQ(timer->rawText, VQ::ansiToWide(shown));
        EXPECT_EQ(question.result, 1);
        ++now;
    }
    question.update(0.0f);
    EXPECT_EQ(timer->rawText, u"0");
    EXPECT_EQ(question.result, 0);
    EXPECT_EQ(question.state, DialogWindow::HIDING);
    finishHide(question);

    question.show(false);
    EXPECT_EQ(question.result, 1);
    EXPECT_FALSE(question.timer->enabled);
    setTimeSource(nullptr);
}

namespace {

// A lesson that waits; the reset puts it back to idle.
class WaitingLesson : public TutorialLesson {
public:
    WaitingLesson() : TutorialLesson(nullptr) {}
    void onEvent(GameEvent* event) override { (void)event; }
};

}  // namespace

TEST_F(MenuWindowsTest, AnAcceptedResetQuestionAlsoTakesTheTutorialBackToItsFirstLesson)
{
    std::vector<std::unique_ptr<TutorialLesson>> lessons;
    lessons.push_back(std::make_unique<WaitingLesson>());
    lessons.push_back(std::make_unique<WaitingLesson>());
    auto* sequence = new TutorialSequence("lessons", std::move(lessons));
    TutorialRegistry::instance()->add(sequence);
    sequence->index = 1;
    sequence->current = sequence->lessons[1].get();
    sequence->current->setState(TutorialLesson::ACTIVE);
    profile().silver = 777;

    OptionsWindow options;
    // Not accepted: nothing goes back.
    options.resetQuestion->result = 1;
    options.onHidden(options.resetQuestion);
    EXPECT_EQ(sequence->index, 1);

    options.resetQuestion->result = 0;
    options.onHidden(options.resetQuestion);
    EXPECT_EQ(sequence->index, 0);
    EXPECT_EQ(sequence->current, sequence->lessons[0].get());
    EXPECT_EQ(sequence->lessons[1]->state, TutorialLesson::IDLE);
    EXPECT_EQ(profile().silver, PlayerProfile::START_SILVER);
}

TEST_F(MenuWindowsTest, TheCampaignActivatesWithItsWindowsAndGivesThemUpOnLeaving)
{
    Mode* campaign = mProperties->modes.count("MainMode") ? mProperties->modes["MainMode"].get() : nullptr;
    auto* mode = dynamic_cast<MainMode*>(campaign);
    ASSERT_NE(mode, nullptr);
    mode->activate();
    EXPECT_EQ(mProperties->currentMode, mode);
    EXPECT_TRUE(mode->winWindow && mode->failWindow && mode->ingameMenu && mode->playLevelWindow &&
                mode->cutscenesWindow);
    EXPECT_NE(mFunctions->find("newGame"), nullptr);
    const size_t windows = mManager->windows.size();
    mode->deactivate();
    EXPECT_EQ(mProperties->currentMode, nullptr);
    EXPECT_EQ(mode->ingameMenu, nullptr);
    mManager->update(0.0f);
    // The five, the menu's question and help, and the start window's
    // booster bubble.
    EXPECT_EQ(mManager->windows.size(), windows - 8);
}
