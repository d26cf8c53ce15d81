#pragma once
// A UI scene test with what the game's windows reach for: a data folder of
// the test's own, the platform's settings, the game's properties with the
// player profile, the saver, remote storage, the store, the states and the
// dialog manager, made in the game's order and gone in the reverse.

#include <cstdlib>
#include <memory>
#include <string>

#include "dialogs/dialog_window.h"
#include "dialogs/dialog_window_manager.h"
#include "game_properties.h"
#include "game_state_manager.h"
#include "platform_config.h"
#include "player_profile.h"
#include "progress_saver.h"
#include "remote_storage.h"
#include "store.h"
#include "support/ui_scene_fixture.h"
#include "tutorial/tutorial_registry.h"

namespace TestSupport {

class GameWindowsTest : public UISceneTest {
protected:
    void SetUp() override
    {
        UISceneTest::SetUp();
        if (const char* old = getenv("XDG_DATA_HOME"))
            mOldDataHome = old;
        setenv("XDG_DATA_HOME", (mDir.path() + "/data").c_str(), 1);
        startSceneUI();
        mPlatform = std::make_unique<PlatformConfig>();
        mProperties = std::make_unique<GameProperties>();
        mSaver = std::make_unique<ProgressSaver>();
        mRemote = std::make_unique<RemoteStorage>();
        mStore = std::make_unique<Store>();
        mStates = std::make_unique<GameStateManager>(nullptr);
        mManager = std::make_unique<DialogWindowManager>();
    }
    void TearDown() override
    {
        mManager.reset();
        mStates.reset();
        mStore.reset();
        mRemote.reset();
        mSaver.reset();
        mProperties.reset();
        mPlatform.reset();
        TutorialRegistry::destroy();
        if (mOldDataHome.empty())
            unsetenv("XDG_DATA_HOME");
        else
            setenv("XDG_DATA_HOME", mOldDataHome.c_str(), 1);
        UISceneTest::TearDown();
    }

    PlayerProfile& profile() { return *mProperties->profile(); }
    static void finishShow(DialogWindow& w) { w.onMarkerFinished(w.showMarker); }
    static void finishHide(DialogWindow& w) { w.onMarkerFinished(w.hideMarker); }

    std::string mOldDataHome;
    std::unique_ptr<PlatformConfig> mPlatform;
    std::unique_ptr<GameProperties> mProperties;
    std::unique_ptr<ProgressSaver> mSaver;
    std::unique_ptr<RemoteStorage> mRemote;
    std::unique_ptr<Store> mStore;
    std::unique_ptr<GameStateManager> mStates;
    std::unique_ptr<DialogWindowManager> mManager;
};

}  // namespace TestSupport
