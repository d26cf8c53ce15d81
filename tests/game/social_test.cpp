// The offline friends over the shipped content: the message bus and its
// deliveries, the session with its fixed friends and requests, the photo
// worker, the data file, and the windows and rows that show them.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>

#include "animationeditor/scene_node.h"
#include "dialogs/dialog_window_manager.h"
#include "dialogs/facebook_message_wnd.h"
#include "dialogs/facebook_request_wnd.h"
#include "dialogs/friend_passed_wnd.h"
#include "dialogs/help_random_friends_wnd.h"
#include "dialogs/social_rows.h"
#include "facebook_data_saver.h"
#include "facebook_data_streamer.h"
#include "facebook_integration.h"
#include "game_properties.h"
#include "game_state_manager.h"
#include "main_mode.h"
#include "platform_config.h"
#include "player_profile.h"
#include "progress_saver.h"
#include "remote_storage.h"
#include "save_file.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "store.h"
#include "support/game_windows_fixture.h"
#include "support/ui_scene_fixture.h"
#include "tutorial/tutorial_registry.h"
#include "ui/ui_widget.h"

using namespace TestSupport;

namespace {

// Records what reaches it and can act during a delivery.
struct Ear : FacebookMessageListener {
    void onMessage(const SocialMessage* message) override
    {
        heard.push_back(message->type);
        if (onHear)
            onHear();
    }
    std::vector<int32_t> heard;
    std::function<void()> onHear;
};

class SocialTest : public GameWindowsTest {
protected:
    void SetUp() override
    {
        GameWindowsTest::SetUp();
        mSocial = std::make_unique<FacebookIntegration>();
    }
    void TearDown() override
    {
        // As the application: the worker stops before the layer goes.
        delete FacebookDataStreamer::instancePtr();
        mSocial.reset();
        delete FacebookMessageDispatcher::instancePtr();
        GameWindowsTest::TearDown();
    }

    FacebookMessageDispatcher& bus() { return *FacebookMessageDispatcher::instance(); }
    void send(int32_t type)
    {
        SocialMessage message;
        message.type = type;
        bus().dispatch(&message);
    }
    MainMode& campaign() { return dynamic_cast<MainMode&>(*mProperties->modes.at("MainMode")); }
    // The fixed requests as the session sends them.
    std::vector<SocialRequest> offlineRequests()
    {
        struct Catch : FacebookMessageListener {
            void onMessage(const SocialMessage* m) override
            {
                if (m->type == SOCIAL_REQUESTS)
                    requests = m->requests;
            }
            std::vector<SocialRequest> requests;
        } mail;
        bus().addListener(&mail);
        mSocial->loadRequests();
        return mail.requests;
    }
    static bool on(AE::ISceneNode* node) { return node && node->enabled; }

    std::unique_ptr<FacebookIntegration> mSocial;
};

}  // namespace

// --- The bus ---

TEST_F(SocialTest, ALogoutAlwaysReachesTheListenersAndAnyOtherMessageOnlyWhileLoggedIn)
{
    Ear ear;
    bus().addListener(&ear);
    bus().addListener(&ear);
    EXPECT_EQ(std::count(bus().listeners.begin(), bus().listeners.end(), &ear), 1);
    send(SOCIAL_REQUESTS);
    send(SOCIAL_LOGGED_OUT);
    EXPECT_EQ(ear.heard, (std::vector<int32_t>{SOCIAL_LOGGED_OUT}));
    mSocial->loggedIn = 1;
    send(SOCIAL_REQUESTS);
    EXPECT_EQ(ear.heard, (std::vector<int32_t>{SOCIAL_LOGGED_OUT, SOCIAL_REQUESTS})) << "heard once";
}

TEST_F(SocialTest, ADeliverySkipsAListenerRemovedDuringItAndLeavesOneAddedForTheNext)
{
    Ear first, removed, added;
    bus().addListener(&first);
    bus().addListener(&removed);
    first.onHear = [&] {
        bus().removeListener(&removed);
        bus().addListener(&added);
    };
    send(SOCIAL_LOGGED_OUT);
    EXPECT_EQ(first.heard.size(), 1u);
    EXPECT_TRUE(removed.heard.empty());
    EXPECT_TRUE(added.heard.empty());
    first.onHear = nullptr;
    send(SOCIAL_LOGGED_OUT);
    EXPECT_EQ(added.heard.size(), 1u);
}

// --- The session ---

TEST_F(SocialTest, ALoginTellsEveryListenerAndBringsThePlayerAndTheFixedFriends)
{
    Ear ear;
    bus().addListener(&ear);
    mSocial->openSession();
    // The friends arrive while the login is still being delivered.
    EXPECT_EQ(ear.heard, (std::vector<int32_t>{SOCIAL_FRIENDS_READY, SOCIAL_LOGGED_IN}));
    ASSERT_EQ(mSocial->friends.size(), 29u);
    EXPECT_TRUE(mSocial->userLoaded && mSocial->friendsLoaded);
    EXPECT_EQ(mSocial->currentUser.idText, "0");
    EXPECT_EQ(mSocial->friends[0]->fullName, u"Friend1 Friend1");
    EXPECT_EQ(mSocial->friends[0]->askable, 1);
    EXPECT_EQ(mSocial->friends[1]->askable, 0);
    for (const SocialUser* user : mSocial->friends)
        EXPECT_TRUE(user->photo && user->photoLoaded);

    struct Case {
        uint64_t id;
        const SocialUser* found;
    };
    for (const Case& c : {Case{0, &mSocial->currentUser}, Case{2, mSocial->friends[1]}, Case{99, nullptr}})
        EXPECT_EQ(mSocial->findUser(c.id), c.found) << c.id;
}

TEST_F(SocialTest, ALogoutDeletesEveryFriendAndReleasesEveryPhoto)
{
    auto* sprites = VQ::SpriteManager<VQ::Sprite>::instance();
    const size_t before = sprites->spriteCount();
    mSocial->openSession();
    EXPECT_EQ(sprites->spriteCount(), before + 29);
    mSocial->closeSession();
    EXPECT_EQ(sprites->spriteCount(), before);
    EXPECT_TRUE(mSocial->friends.empty());
    EXPECT_FALSE(mSocial->loggedIn || mSocial->userLoaded || mSocial->friendsLoaded);
    EXPECT_EQ(mSocial->findUser(1), nullptr);
}

TEST_F(SocialTest, TheFixedRequestsComeOnlyWhileLoggedIn)
{
    EXPECT_TRUE(offlineRequests().empty());
    mSocial->openSession();
    const std::vector<SocialRequest> requests = offlineRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1].id, "1");
    EXPECT_EQ(requests[1].senderId, 2u);
    EXPECT_EQ(requests[1].senderName, u"Friend2 Friend2");
    EXPECT_EQ(requests[2].params, "<?xml version=\"1.0\"?>\n<params type=\"giveLife\" value=\"1\" />\n");
}

TEST_F(SocialTest, AnAnswerMatchingAnAnsweredRequestCompletesItsUserOnce)
{
    mSocial->openSession();
    Ear ear;
    bus().addListener(&ear);
    SocialUser& friend1 = *mSocial->friends[0];
    friend1.pendingRequests = 1;
    SocialMessage answer;
    answer.type = SOCIAL_ANSWER;
    answer.group.userId = 1;
    answer.group.requestId = "r";
    bus().dispatch(&answer);
    EXPECT_EQ(friend1.answeredRequestIds, (std::vector<std::string>{"r"}));
    EXPECT_EQ(friend1.pendingRequests, 1);
    bus().dispatch(&answer);
    EXPECT_EQ(friend1.requestState, 2);
    EXPECT_EQ(friend1.requestGroups.size(), 2u);
    EXPECT_EQ(std::count(ear.heard.begin(), ear.heard.end(), SOCIAL_ALL_ANSWERED), 1);

    SocialMessage removal;
    removal.type = SOCIAL_REQUEST_REMOVED;
    removal.userId = 1;
    removal.removedRequestId = "r";
    bus().dispatch(&removal);
    EXPECT_EQ(friend1.requestGroups.size(), 1u);
    EXPECT_TRUE(friend1.answeredRequestIds.empty());
}

// --- The photo worker and the data file ---

TEST_F(SocialTest, TheWorkerCountsThePhotosStillWantedLessOne)
{
    FacebookDataStreamer& streamer = *FacebookDataStreamer::instance();
    EXPECT_EQ(streamer.process(1), 0) << "nobody logged in";
    mSocial->openSession();
    EXPECT_EQ(streamer.process(1), 0) << "only the player waits";
    {
        std::lock_guard guard(mSocial->friends[0]->lock);
        mSocial->friends[0]->photoLoaded = 0;
    }
    EXPECT_EQ(streamer.process(1), 1) << "two wait";
    // A photo no longer wanted is released by the pass.
    {
        std::lock_guard guard(mSocial->friends[1]->lock);
        mSocial->friends[1]->photoWanted = 0;
    }
    EXPECT_EQ(streamer.process(0), 0);
    std::lock_guard guard(mSocial->friends[1]->lock);
    EXPECT_EQ(mSocial->friends[1]->photo, nullptr);
    EXPECT_EQ(mSocial->friends[1]->photoLoaded, 0);
}

TEST_F(SocialTest, TheWorkerStartsOnceAndEndsCleanlyAcrossALogoutAndTheShutDown)
{
    FacebookDataStreamer& streamer = *FacebookDataStreamer::instance();
    mSocial->openSession();
    EXPECT_TRUE(streamer.started && streamer.threadCreated);
    EXPECT_EQ(streamer.start(), 1) << "a second start";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    mSocial->closeSession();
    mSocial->openSession();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    // The tear-down deletes the streamer with the worker running: it joins.
}

TEST_F(SocialTest, AStreamerNeverStartedEndsWithoutAThread)
{
    FacebookDataStreamer& streamer = *FacebookDataStreamer::instance();
    EXPECT_FALSE(streamer.started || streamer.threadCreated);
}

TEST_F(SocialTest, TheDataFileHoldsTheCountOfNoRecords)
{
    FacebookDataSaver saver;
    saver.save();
    std::ifstream file(SaveFile::path("facebook_data.dat"), std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0, 0, 0, 0, 0x41, 0, 0, 0, 0, 0, 0, 0}));
}

// --- The windows and rows ---

TEST_F(SocialTest, TheMessageWindowFollowsTheLoginAndCannotBeClosedWhileWaiting)
{
    FacebookMessageWnd window;
    window.setMode(window.waitMode, FacebookMessageWnd::WAITING);
    window.show(false);
    finishShow(window);
    EXPECT_FALSE(window.closeButton->visible);
    window.close();
    EXPECT_EQ(window.state, DialogWindow::SHOWN) << "waiting";

    struct Case {
        int32_t type;
        AE::ISceneNode* mode;
        int32_t state;
    };
    mSocial->loggedIn = 1;
    for (const Case& c : {Case{SOCIAL_LOGGED_IN, window.successMode, FacebookMessageWnd::SUCCESS},
                          Case{SOCIAL_LOGIN_FAILED, window.failedMode, FacebookMessageWnd::FAILED},
                          Case{SOCIAL_LOGGED_OUT, window.closedMode, FacebookMessageWnd::LOGGED_OUT}}) {
        send(c.type);
        EXPECT_EQ(window.messageState, c.state) << c.type;
        EXPECT_TRUE(on(c.mode)) << c.type;
        EXPECT_FALSE(on(window.waitMode)) << c.type;
        EXPECT_TRUE(window.closeButton->visible) << c.type;
    }
    window.close();
    EXPECT_EQ(window.state, DialogWindow::HIDING);
}

TEST_F(SocialTest, TheLogoutQuestionLogsOutAndWritesTheDataFile)
{
    FacebookDataSaver saver;
    FacebookMessageWnd window;
    mSocial->openSession();
    window.logout();
    EXPECT_TRUE(mSocial->loggedIn) << "no question asked";
    window.setMode(window.questionMode, FacebookMessageWnd::SUCCESS);
    window.logout();
    EXPECT_FALSE(mSocial->loggedIn);
    EXPECT_EQ(window.messageState, FacebookMessageWnd::LOGGED_OUT);
    EXPECT_EQ(SaveFile::payloadSize("facebook_data.dat"), 4);
}

TEST_F(SocialTest, AcceptingTheRequestsGrantsALifeAndExtraMovesAndEmptiesTheList)
{
    mSocial->openSession();
    FacebookRequestWnd window;
    std::vector<SocialRequest> requests = offlineRequests();
    SocialRequest stranger = requests[0];
    stranger.senderId = 99;
    requests.push_back(stranger);
    window.setRequests(requests);
    ASSERT_EQ(window.list->items.size(), 3u) << "a stranger gets no row";
    auto* second = dynamic_cast<RequestItem*>(window.list->items[1]);
    auto* third = dynamic_cast<RequestItem*>(window.list->items[2]);
    EXPECT_EQ(second->kind, "takeSteps");
    EXPECT_EQ(third->kind, "giveLife");
    EXPECT_FALSE(window.empty());

    campaign().lives = 3;
    campaign().extraMoves = 0;
    for (VQ::UISceneListItem* row : window.list->items)
        setTreeEnabled(window.rowCheck(row), true);
    window.acceptChecked();
    EXPECT_EQ(campaign().lives, 4);
    EXPECT_EQ(campaign().extraMoves, 3);
    EXPECT_TRUE(window.empty());

    // A full set of lives stays full; an unmarked row stays.
    campaign().lives = MainMode::MAX_LIVES;
    window.setRequests(offlineRequests());
    setTreeEnabled(window.rowCheck(window.list->items[1]), false);
    window.acceptChecked();
    EXPECT_EQ(campaign().lives, MainMode::MAX_LIVES);
    ASSERT_EQ(window.list->items.size(), 1u);
    EXPECT_EQ(dynamic_cast<RequestItem*>(window.list->items[0])->requestId, "1");
}

TEST_F(SocialTest, TheSelectAllMarkFollowsTheRowsAndTurnsThemAllOverItself)
{
    mSocial->openSession();
    FacebookRequestWnd window;
    window.setRequests(offlineRequests());
    std::vector<VQ::UISceneListItem*> rows = window.list->items;
    ASSERT_EQ(rows.size(), 3u);
    window.selectAll();
    EXPECT_TRUE(on(window.thumb));
    for (VQ::UISceneListItem* row : rows)
        EXPECT_TRUE(on(window.rowCheck(row)));

    auto* first = dynamic_cast<RequestItem*>(rows[0]);
    first->onElementClicked(first, "row");
    EXPECT_FALSE(on(first->check));
    EXPECT_FALSE(on(window.thumb)) << "a cleared mark";
    first->onElementClicked(first, "row");
    EXPECT_TRUE(on(window.thumb)) << "every row marked again";

    window.selectAll();
    EXPECT_FALSE(on(window.thumb));
    for (VQ::UISceneListItem* row : rows)
        EXPECT_FALSE(on(window.rowCheck(row)));
    window.ok();
    EXPECT_EQ(window.list->items.size(), 3u) << "nothing marked, nothing accepted";
}

TEST_F(SocialTest, TheHelpWindowOffersTheOneAskableFriendAndPreparesItsId)
{
    HelpRandomFriendsWnd window;
    window.open();
    EXPECT_EQ(window.state, DialogWindow::HIDDEN) << "nobody askable while logged out";
    mSocial->openSession();
    window.open();
    ASSERT_EQ(window.list->items.size(), 1u);
    auto* row = dynamic_cast<HelpItem*>(window.list->items[0]);
    EXPECT_EQ(row->user, mSocial->friends[0]);
    EXPECT_TRUE(on(window.thumb));
    setTreeEnabled(row->check, true);
    window.askForMoves();
    EXPECT_EQ(window.preparedIds, "1");
    EXPECT_EQ(window.preparedParams, makeRequestParams("takeSteps"));
}

TEST_F(SocialTest, APlayersCardShowsNoHeartOrCheckAndTakesNoClick)
{
    mSocial->openSession();
    UserItemController player(false, 10, &mSocial->currentUser, true);
    for (UserItem* row : {player.sideRow, player.bottomRow}) {
        EXPECT_FALSE(on(row->scene->findNode("#heart")));
        EXPECT_FALSE(on(row->scene->findNode("#check")));
        EXPECT_TRUE(row->listeners.empty());
    }
    UserItemController friend1(false, 5, mSocial->friends[0], false);
    EXPECT_TRUE(on(friend1.sideRow->scene->findNode("#heart")));
    EXPECT_FALSE(on(friend1.sideRow->scene->findNode("#check")));
    friend1.onElementClicked(friend1.sideRow, "card");
    EXPECT_TRUE(friend1.requestSent);
    EXPECT_EQ(friend1.preparedParams, makeRequestParams("takeLife"));
    // A sent request turns the heart into the check.
    SocialMessage sent;
    sent.type = SOCIAL_REQUEST_SENT;
    bus().dispatch(&sent);
    EXPECT_FALSE(on(friend1.bottomRow->scene->findNode("#heart")));
    EXPECT_TRUE(on(friend1.bottomRow->scene->findNode("#check")));
}

TEST_F(SocialTest, PassingAFriendUnknownToTheLayerShowsNoPortraitButStillOpens)
{
    mSocial->openSession();
    FriendPassedWnd window;
    LevelInfo level;
    level.id = 4;
    window.open(&level, 1234, FriendValue{99, 500});
    EXPECT_EQ(window.user, nullptr);
    window.send();
    EXPECT_EQ(window.feedName, "I finished level 5!");
    EXPECT_EQ(window.feedCaption, "My new record: 1234");
}
