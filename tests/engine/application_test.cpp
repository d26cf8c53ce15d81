#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "application.h"
#include "file_system.h"
#include "job_manager.h"
#include "lex_binded_function_manager.h"
#include "log_system.h"
#include "notification_dispatcher.h"
#include "support/game_sandbox.h"
#include "timer_manager.h"
#include "ui/text_manager.h"
#include "ui/ui_font_manager.h"

using namespace TestSupport;

namespace {

class CountingApplication : public Application {
public:
    void update() override { ++updates; }
    void render() override { ++renders; }
    void updateWhileLoading() override { ++loadingUpdates; }
    void renderWhileLoading() override { ++loadingRenders; }

    int updates = 0;
    int renders = 0;
    int loadingUpdates = 0;
    int loadingRenders = 0;
};

class RecordingListener : public VQ::NotificationListener {
public:
    void onNotification(const VQ::Notification& notification) override { ids.push_back(notification.id); }
    std::vector<uint32_t> ids;
};

std::atomic<bool> gReleaseJob{false};

void blockUntilReleased()
{
    while (!gReleaseJob.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// The engine brought up in-process on the sample content, in a working
// folder of its own.
class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mOldCwd = std::filesystem::current_path();
        std::filesystem::current_path(mSandbox.path());
        mOldContentRoot = VQ::contentRoot();
        VQ::contentRoot() = "./media/";
        mApp = std::make_unique<CountingApplication>();
    }

    void TearDown() override
    {
        if (mApp) {
            mApp->shutdownEngine();
            mApp.reset();
        }
        VQ::contentRoot() = mOldContentRoot;
        std::filesystem::current_path(mOldCwd);
    }

    GameSandbox mSandbox;
    std::filesystem::path mOldCwd;
    std::string mOldContentRoot;
    std::unique_ptr<CountingApplication> mApp;
};

}  // namespace

TEST_F(ApplicationTest, WhileAJobRunsOnlyTheLoadingScreenIsUpdatedAndDrawn)
{
    EXPECT_TRUE(mApp->initialised);
    EXPECT_TRUE(mApp->active);
    gReleaseJob = false;
    VQ::Job* job = VQ::JobManager::instance()->addJob(std::make_unique<VQ::Function<ApplicationTest>>(blockUntilReleased));
    job->start();

    mApp->frameUpdate();
    mApp->frameRender();
    EXPECT_EQ(mApp->loadingUpdates, 1);
    EXPECT_EQ(mApp->loadingRenders, 1);
    EXPECT_EQ(mApp->updates, 0);
    EXPECT_EQ(mApp->renders, 0);

    gReleaseJob = true;
    while (job->isRunning())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    mApp->frameUpdate();
    mApp->frameRender();
    EXPECT_EQ(mApp->loadingUpdates, 1);
    EXPECT_EQ(mApp->updates, 1);
    EXPECT_EQ(mApp->renders, 1);
}

TEST_F(ApplicationTest, NothingTicksWhileInactive)
{
    RecordingListener listener;
    VQ::EngineNotificationDispatcher::instance()->addListener(&listener);

    mApp->frameUpdate();
    mApp->onDeactivate();
    const uint64_t lastTick = VQ::TimerManager::instance()->lastCounter();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    mApp->frameUpdate();
    mApp->frameRender();
    EXPECT_EQ(VQ::TimerManager::instance()->lastCounter(), lastTick);
    EXPECT_EQ(mApp->updates, 1);
    EXPECT_EQ(mApp->renders, 0);

    // The first active frame gets the whole inactive time as its step.
    mApp->onActivate();
    mApp->frameUpdate();
    EXPECT_EQ(mApp->updates, 2);
    EXPECT_GE(VQ::TimerManager::instance()->frameTime(), 0.02f);

    mApp->onActivate();  // already active: no second notification
    EXPECT_EQ(listener.ids, (std::vector<uint32_t>{VQ::NOTIFICATION_APP_DEACTIVATED, VQ::NOTIFICATION_APP_ACTIVATED}));
    VQ::EngineNotificationDispatcher::instance()->removeListener(&listener);
}

TEST_F(ApplicationTest, StartsEveryManagerAndRemovesThemAll)
{
    EXPECT_EQ(VQ::TextManager::instance()->text("APP_WINDOW_TITLE"), u"Lanterra");
    for (const char* command : {"show", "hide", "showForcibly", "hideForcibly"})
        EXPECT_NE(VQ::LexBindedFunctionManager::instance()->find(command), nullptr) << command;

    mApp->shutdownEngine();
    EXPECT_FALSE(mApp->initialised);
    EXPECT_FALSE(VQ::LogSystem::exists());
    EXPECT_FALSE(VQ::TextManager::exists());
    EXPECT_FALSE(VQ::UIFontManager::exists());
    EXPECT_FALSE(VQ::LexBindedFunctionManager::exists());
    EXPECT_FALSE(VQ::EngineNotificationDispatcher::exists());
    EXPECT_FALSE(VQ::FileSystem::exists());
    mApp.reset();
}
