#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "animationeditor/marker.h"
#include "animationeditor/scene_node.h"
#include "config_manager.h"
#include "engine_allocators.h"
#include "game_application.h"
#include "game_level.h"
#include "game_properties.h"
#include "game_state_manager.h"
#include "job_manager.h"
#include "lex_binded_function_manager.h"
#include "logo_game_state.h"
#include "mode.h"
#include "movie_state.h"
#include "object_factory.h"
#include "particle_system.h"
#include "render_system.h"
#include "sprite.h"
#include "scene_layout.h"
#include "support/save_fixture.h"
#include "support/shipped_content_fixture.h"
#include "support/ui_fixture.h"
#include "tutorial/tutorial_registry.h"
#include "xml_cached_files_manager.h"

using namespace TestSupport;

namespace {

using Log = std::vector<std::string>;

// A state that loads at once and records what is done to it.
class FakeState : public IGameState {
public:
    FakeState(std::string name, Log& log) : mName(std::move(name)), mLog(log) {}
    ~FakeState() override { mLog.push_back(mName + " deleted"); }

    void load() override
    {
        mLog.push_back(mName + " load");
        setLoaded(true);
    }
    void unload() override { setLoaded(false); }
    void update(float dt) override
    {
        mLog.push_back(mName + " update " + std::to_string(dt).substr(0, 5));
        if (onUpdate)
            onUpdate();
    }
    void draw() override {}
    void onActivate() override { mLog.push_back(mName + " activate"); }
    void onDeactivate() override { mLog.push_back(mName + " deactivate"); }
    std::string getName() const override { return mName; }
    void applyOrientation(bool portrait) override { mLog.push_back(mName + (portrait ? " portrait" : " landscape")); }

    std::function<void()> onUpdate;

private:
    std::string mName;
    Log& mLog;
};

class RecordingMode : public Mode {
public:
    explicit RecordingMode(Log& log) : mLog(log) {}
    void deactivate() override
    {
        mLog.push_back("mode deactivate");
        Mode::deactivate();
    }
    void onStateLeave(const std::string& name) override { mLog.push_back("mode leave " + name); }
    void layoutLevelUi(bool portrait) override { mLog.push_back(portrait ? "mode portrait" : "mode landscape"); }
    void save(AE::DataStream&) override {}
    void load(AE::DataStream&) override {}
    bool hasLevelBegun() override { return false; }
    bool onMatch(const ChipSelection&) override { return false; }
    bool onBonusSwap(Chip*, Chip*) override { return false; }

private:
    Log& mLog;
};

}  // namespace

// --- The state manager and the application's frame, over fake states ---

class StateManagerTest : public ::testing::Test {
protected:
    GameStateManager mStates{nullptr};
    Log mLog;
    FakeState mLogo{"Logo", mLog};
    FakeState mMenu{"MainMenu", mLog};
};

TEST_F(StateManagerTest, TheFirstRegisteredStateIsCurrentWithoutBeingLoaded)
{
    mStates.registerState(&mLogo);
    mStates.registerState(&mMenu);
    EXPECT_EQ(mStates.getCurrent(), &mLogo);
    EXPECT_FALSE(mLogo.isLoaded());
    EXPECT_TRUE(mLog.empty());

    // An unknown name switches nothing.
    mStates.setState("MainModeMap");
    EXPECT_EQ(mStates.getCurrent(), &mLogo);
    EXPECT_TRUE(mLog.empty());

    // A state going away leaves the map.
    {
        FakeState passing("Passing", mLog);
        mStates.registerState(&passing);
        EXPECT_EQ(mStates.findState("Passing"), &passing);
    }
    EXPECT_EQ(mStates.findState("Passing"), nullptr);
}

TEST_F(StateManagerTest, SwitchesDeactivateTheOldStateAndLoadOrActivateTheNew)
{
    mStates.registerState(&mLogo);
    mStates.registerState(&mMenu);
    mStates.setState("Logo");
    mStates.setState("MainMenu");
    mStates.setState("Logo");
    mStates.setState("Logo");
    const Log expected = {"Logo load",       "Logo deactivate", "MainMenu load",
                          "MainMenu deactivate", "Logo activate", "Logo activate"};
    EXPECT_EQ(mLog, expected);
    EXPECT_EQ(mStates.getPending(), nullptr);
}

TEST_F(StateManagerTest, ASwitchAskedForDuringAnUpdateWaitsForTheNextFrameAndTheLastOneWins)
{
    FakeState map("Map", mLog);
    mStates.registerState(&mLogo);
    mStates.registerState(&mMenu);
    mStates.registerState(&map);
    mStates.setState("Logo");
    mLog.clear();
    mLogo.onUpdate = [&] {
        mStates.setState("Map");
        mStates.setState("MainMenu");
    };

    // A one-second stall reaches the states as 0.033 s.
    runStateFrame(mStates, GameApplication::gameStep(1.0f));
    EXPECT_EQ(mStates.getCurrent(), &mLogo);
    EXPECT_EQ(mStates.getPending(), &mMenu);
    EXPECT_FALSE(mStates.updating);

    // The next frame switches and updates no state.
    runStateFrame(mStates, 0.016f);
    runStateFrame(mStates, 0.016f);
    const Log expected = {"Logo update 0.033", "Logo deactivate", "MainMenu load", "MainMenu update 0.016"};
    EXPECT_EQ(mLog, expected);
}

TEST(GameStepTest, TheFrameTimeIsCappedAt33Milliseconds)
{
    const std::pair<float, float> cases[] = {{0.0f, 0.0f}, {0.016f, 0.016f}, {0.033f, 0.033f},
                                             {0.05f, 0.033f}, {0.1f, 0.033f}, {1.0f, 0.033f}};
    for (const auto& [frame, step] : cases)
        EXPECT_FLOAT_EQ(GameApplication::gameStep(frame), step) << frame;
}

// --- Cases that need the configuration, the profile and a mode ---

class StateManagerModeTest : public SaveFolderTest {
protected:
    void SetUp() override
    {
        SaveFolderTest::SetUp();
        usePlatform(1);
    }
    void TearDown() override
    {
        TutorialRegistry::destroy();
        SaveFolderTest::TearDown();
    }
    void setPlatformSize(int width, int height)
    {
        if (!VQ::ConfigManager::exists()) {
            writeContent("config.lua", "config = { platforms = { { name = \"pc\", directories = {}, resolution = { 1726, 970 } } }, "
                                       "currentPlatform = \"pc\", currentLanguage = \"en\" }\n");
            loadConfig();
        }
        auto* platform = const_cast<VQ::Platform*>(VQ::ConfigManager::instance()->currentPlatform());
        platform->width = width;
        platform->height = height;
    }
};

TEST_F(StateManagerModeTest, TheSceneSizeOfASquareWorkspaceFollowsTheOrientation)
{
    GameStateManager states(nullptr);
    struct Case {
        int width, height;
        bool portrait;
        VQ::Vector2f size;
    };
    const Case cases[] = {
        {1024, 1024, false, {1726, 970}},
        {1024, 1024, true, {970, 1726}},
        {1280, 720, false, {1280, 720}},
        {1280, 720, true, {1280, 720}},
        {970, 1726, false, {970, 1726}},
    };
    for (const Case& c : cases) {
        setPlatformSize(c.width, c.height);
        states.portrait = c.portrait;
        EXPECT_EQ(states.getSceneSize(), c.size) << c.width << " x " << c.height << " " << c.portrait;
    }
}

TEST_F(StateManagerModeTest, LeavingAStateTellsTheModeAndTheMainMenuEndsIt)
{
    Log log;
    GameProperties properties;
    RecordingMode mode(log);
    GameStateManager states(nullptr);
    FakeState logo("Logo", log);
    FakeState menu("MainMenu", log);
    states.registerState(&logo);
    states.registerState(&menu);
    states.setState("Logo");
    mode.activate();

    // The current, loaded state again: left, then activated, not deactivated.
    states.setState("Logo");
    states.setState("MainMenu");
    EXPECT_EQ(properties.currentMode, nullptr);
    // The menu again, already current: the mode still ends.
    mode.activate();
    states.setState("MainMenu");
    const Log expected = {"Logo load",     "mode leave Logo", "Logo activate",       "Logo deactivate",
                          "mode leave Logo", "MainMenu load",   "mode deactivate",     "mode leave MainMenu",
                          "MainMenu activate", "mode deactivate"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(properties.currentMode, nullptr);
}

TEST_F(StateManagerModeTest, AnOrientationChangeReachesTheLoadedStateAndTheModeWhenThereIsOne)
{
    Log log;
    GameProperties properties;
    GameStateManager states(nullptr);
    FakeState logo("Logo", log);
    FakeState menu("MainMenu", log);
    states.registerState(&logo);
    states.registerState(&menu);

    // Not loaded yet: the state is not told; there is no mode.
    notifyOrientation(states, true);
    EXPECT_TRUE(states.isPortrait());
    EXPECT_TRUE(log.empty());

    states.setState("Logo");
    log.clear();
    notifyOrientation(states, false);
    RecordingMode mode(log);
    mode.activate();
    notifyOrientation(states, true);
    const Log expected = {"Logo landscape", "Logo portrait", "mode portrait"};
    EXPECT_EQ(log, expected);
    mode.deactivate();
}

// --- The logo ---

TEST(LogoFadeTest, EachLogoFadesInOverItsFirstSecondAndOutOverItsLast)
{
    struct Case {
        float duration, elapsed, fade;
    };
    const Case cases[] = {
        {3.0f, 0.0f, 0.0f},  {3.0f, 0.5f, 0.5f}, {3.0f, 1.0f, 1.0f},      {3.0f, 1.5f, 1.0f},
        {3.0f, 2.0f, 1.0f},  {3.0f, 2.5f, 0.5f}, {0.5f, 0.25f, 0.0625f},  {0.5f, 0.1f, 0.04f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(LogoGameState::fadeLevel(c.elapsed, c.duration), c.fade, 1e-6f)
            << c.duration << " at " << c.elapsed;
}

TEST(LogoPlacementTest, APictureCoversTheSceneMeasuredOnItsWidth)
{
    struct Case {
        VQ::Vector2f picture, scene;
        float scale;
        VQ::Vector2f topLeft;
    };
    const Case cases[] = {
        {{512, 256}, {1726, 970}, 1726.0f / 512.0f, {0.0f, 53.5f}},
        {{864, 486}, {1726, 970}, 1726.0f / 864.0f, {0.0f, 485.0f - 243.0f * 1726.0f / 864.0f}},
        // Portrait: the longer side is the height, still measured on the width.
        {{864, 486}, {970, 1726}, 1726.0f / 864.0f, {485.0f - 863.0f, 863.0f - 243.0f * 1726.0f / 864.0f}},
    };
    for (const Case& c : cases) {
        float scale = 0.0f;
        VQ::Vector2f topLeft;
        LogoGameState::placePicture(c.picture, c.scene, scale, topLeft);
        EXPECT_FLOAT_EQ(scale, c.scale);
        EXPECT_NEAR(topLeft.x, c.topLeft.x, 1e-3f);
        EXPECT_NEAR(topLeft.y, c.topLeft.y, 1e-3f);
    }
}

class LogoStateTest : public UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        // The logo file is read into a block of the stack allocator.
        mAllocators = std::make_unique<VQ::EngineAllocators>();
        mAllocators->setUp();
    }
    void TearDown() override
    {
        mLogo.unload();
        mManager.reset();
        mAllocators.reset();
        UITest::TearDown();
    }
    void start(const std::string& logoXml)
    {
        addImage("card_png", 64, 32, [](uint32_t, uint32_t) { return 0xFF806040u; });
        // Empty: no file at all.
        if (logoXml.empty())
            std::filesystem::remove(contentPath("scenes/logo.xml"));
        else
            writeContent("scenes/logo.xml", logoXml);
        startUI();
        mManager = std::make_unique<GameStateManager>(nullptr);
        mManager->registerState(&mLogo);
        mManager->registerState(&mMenu);
        mManager->setState("LogoGameState");
    }
    void click(bool down) { frame(10, 10, down); }

    std::unique_ptr<VQ::EngineAllocators> mAllocators;
    Log mLog;
    LogoGameState mLogo;
    FakeState mMenu{"MainMenu", mLog};
    std::unique_ptr<GameStateManager> mManager;
};

TEST_F(LogoStateTest, TheSequenceIsReadWithItsSkipFlags)
{
    start(R"(<root>
        <a file="card_png" duration="3" esc="0x1"/>
        <b file="card_png" duration="2.5" esc="1"/>
        <c file="card_png" duration="1"/>
        <d file="card_png" esc="0"/>
        <e file="no_such_picture.png" duration="2"/>
    </root>)");
    ASSERT_TRUE(mLogo.isLoaded());
    ASSERT_EQ(mLogo.count, 5);
    const int skippable[] = {1, 1, 0, 0, 1};
    const float duration[] = {3.0f, 2.5f, 1.0f, 0.0f, 2.0f};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(mLogo.items[size_t(i)].skippable, skippable[i]) << i;
        EXPECT_FLOAT_EQ(mLogo.items[size_t(i)].duration, duration[i]) << i;
        // A picture that is nowhere has no sprite.
        EXPECT_EQ(mLogo.items[size_t(i)].sprite != nullptr, i != 4) << i;
    }
}

TEST_F(LogoStateTest, AClickSkipsAtOnceAndTheNextLogoRunsInTheSameFrame)
{
    start(R"(<root><a file="card_png" duration="3" esc="1"/><b file="card_png" duration="3"/></root>)");
    mLogo.update(0.5f);
    EXPECT_FLOAT_EQ(mLogo.items[0].elapsed, 0.5f);
    click(true);
    mLogo.update(0.25f);
    EXPECT_EQ(mLogo.current, 1);
    EXPECT_FLOAT_EQ(mLogo.items[1].elapsed, 0.25f);
    // The second logo is not skippable: a click changes nothing.
    click(false);
    click(true);
    mLogo.update(0.25f);
    EXPECT_EQ(mLogo.current, 1);
    EXPECT_FLOAT_EQ(mLogo.items[1].elapsed, 0.5f);
    // Its time runs out, then the menu follows.
    mLogo.update(2.6f);
    EXPECT_EQ(mLogo.current, 2);
    mLogo.update(0.016f);
    EXPECT_EQ(mManager->getCurrent(), &mMenu);
    EXPECT_FALSE(mLogo.isLoaded());
    EXPECT_EQ(mRender->fadeLevel(), 1.0f);
}

TEST_F(LogoStateTest, WithoutItsFileTheMenuFollowsAtTheFirstUpdate)
{
    start("");
    EXPECT_TRUE(mLogo.isLoaded());
    EXPECT_EQ(mLogo.count, 0);
    mLogo.update(0.016f);
    EXPECT_EQ(mManager->getCurrent(), &mMenu);
    bool logged = false;
    for (const std::string& line : splitLines(readFile(mDir.file("VQ.log"))))
        logged = logged || stripLogPrefix(line) == "Failed to load logo.xml";
    EXPECT_TRUE(logged);
}

TEST_F(LogoStateTest, DrawingSetsTheFadeOfTheCurrentLogo)
{
    start(R"(<root><a file="card_png" duration="3" esc="1"/></root>)");
    mLogo.update(0.5f);
    mLogo.draw();
    EXPECT_FLOAT_EQ(mRender->fadeLevel(), 0.5f);
    mLogo.update(1.0f);
    mLogo.draw();
    EXPECT_FLOAT_EQ(mRender->fadeLevel(), 1.0f);
}

// --- The cut-scene ---

namespace {

// A scene of one node "n" with ten frames and the given markers, each
// playing "n" over `frames` frames (entries "from-to").
std::string movieScene(const std::vector<std::pair<std::string, std::string>>& markers)
{
    std::string xml = R"(<Scene><Object name="n">
      <Parameters X="0" Y="0" Z="0" angle="0" scaleX="1" scaleY="1" R="1" G="1" B="1" A="1" PivotPointX="0" PivotPointY="0" Enable="1"/>
      <frames loop="0">
        <frame StartFrame="0"><Attributes X="0" Y="0" Z="0" angle="0" scaleX="1" scaleY="1" R="1" G="1" B="1" A="1" PivotPointX="0" PivotPointY="0"/></frame>
        <frame StartFrame="10"><Attributes X="100" Y="0" Z="0" angle="0" scaleX="1" scaleY="1" R="1" G="1" B="1" A="1" PivotPointX="0" PivotPointY="0"/></frame>
      </frames></Object><markers>)";
    for (const auto& [name, range] : markers) {
        const size_t dash = range.find('-');
        xml += "<marker><name>" + name + "</name><playList><entry name=\"n\" from=\"" + range.substr(0, dash) +
               "\" to=\"" + range.substr(dash + 1) + "\"/></playList></marker>";
    }
    return xml + "</markers></Scene>";
}

class CountingListener : public MovieStateListener {
public:
    void onMovieFinished() override { ++finished; }
    int finished = 0;
};

}  // namespace

class MovieStateTest : public UITest {
protected:
    void TearDown() override
    {
        mMovie.unload();
        mManager.reset();
        mParticles.reset();
        mXmlCache.reset();
        mFactory.reset();
        UITest::TearDown();
    }
    void start()
    {
        startUI();
        // The intro's lanterns shed embers: its scene holds particle effects.
        mFactory = std::make_unique<VQ::ObjectFactory>();
        mParticles = std::make_unique<VQ::ParticleSystem>();
        mParticles->liveUpdating = false;
        mXmlCache = std::make_unique<VQ::XmlCachedFilesManager>();
        mManager = std::make_unique<GameStateManager>(nullptr);
    }
    void play(const std::string& scene)
    {
        mMovie.unload();
        mMovie.sceneName = scene;
        mMovie.listener = &mListener;
        mMovie.initialize();
    }
    void clickRelease()
    {
        frame(5, 5, true);
        mMovie.update(0.0f);
        frame(5, 5, false);
        mMovie.update(0.0f);
        // The release is over: later updates see no click.
        frame(5, 5, false);
    }
    std::vector<std::string> partNames() const
    {
        std::vector<std::string> names;
        for (const MovieState::Part& part : mMovie.parts)
            names.push_back(part.marker->name + (part.autoNext ? " auto" : ""));
        return names;
    }

    std::unique_ptr<VQ::ObjectFactory> mFactory;
    std::unique_ptr<VQ::ParticleSystem> mParticles;
    std::unique_ptr<VQ::XmlCachedFilesManager> mXmlCache;
    MovieState mMovie;
    CountingListener mListener;
    std::unique_ptr<GameStateManager> mManager;
};

TEST_F(MovieStateTest, PartsRunUntilTheFirstMissingNumber)
{
    addXml("gaps_xml", movieScene({{"#part:1", "0-5"}, {"#part:2a", "5-10"}, {"#part:4", "0-10"}}));
    addXml("plain_first_xml", movieScene({{"#part:1a", "0-2"}, {"#part:1", "0-5"}}));
    addXml("none_xml", movieScene({{"#part:2", "0-5"}}));
    start();
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"gaps_xml", {"#part:1", "#part:2a auto"}},
        // The plain form is looked for first.
        {"plain_first_xml", {"#part:1"}},
        {"none_xml", {}},
        {"dialog_1_xml", {"#part:1", "#part:2", "#part:3"}},
    };
    for (const auto& [scene, parts] : cases) {
        play(scene);
        EXPECT_TRUE(mMovie.isLoaded());
        EXPECT_EQ(partNames(), parts) << scene;
    }
}

TEST_F(MovieStateTest, AClickMovesOnAndAPartThatEndsByItselfPassesOn)
{
    addXml("chain_xml", movieScene({{"init", "0-0"}, {"#part:1", "0-5"}, {"#part:2a", "5-10"}}));
    start();
    play("chain_xml");
    EXPECT_EQ(mMovie.currentPart, 0);
    EXPECT_EQ(mMovie.parts[0].marker->state, AE::Marker::PLAYING);

    // The intro's own click only clears the flag.
    mMovie.skipNextClick = true;
    clickRelease();
    EXPECT_EQ(mMovie.currentPart, 0);
    EXPECT_FALSE(mMovie.skipNextClick);

    clickRelease();
    EXPECT_EQ(mMovie.currentPart, 1);
    EXPECT_EQ(mListener.finished, 0);
    // Part 2 ends by itself: there is no part 3, so the listener hears of it.
    for (int i = 0; i < 30 && mListener.finished == 0; ++i)
        mMovie.update(0.05f);
    EXPECT_EQ(mListener.finished, 1);
    EXPECT_EQ(mMovie.currentPart, 1);
}

TEST_F(MovieStateTest, APartNotYetRunShowsItsEndFramesWhenClickedPast)
{
    addXml("two_xml", movieScene({{"#part:1", "0-5"}, {"#part:2", "5-10"}}));
    start();
    play("two_xml");
    AE::Marker* first = mMovie.parts[0].marker;
    first->stop(true);
    first->elapsed = 0.0f;
    mMovie.nextPart();
    AE::ISceneNode* node = mMovie.scene->findNode("n");
    ASSERT_NE(node, nullptr);
    // Frame 5 of ten frames over 100 units.
    EXPECT_NEAR(node->posX, 50.0f, 1.0f);
    EXPECT_EQ(mMovie.currentPart, 1);
}

TEST_F(MovieStateTest, ASceneWithoutPartsOrThatFailsToLoadEndsAtTheFirstClick)
{
    addXml("none_xml", movieScene({{"init", "0-5"}}));
    start();
    for (const char* scene : {"none_xml", "missing_scene_xml"}) {
        mListener.finished = 0;
        play(scene);
        EXPECT_TRUE(mMovie.isLoaded()) << scene;
        mMovie.update(0.1f);
        EXPECT_EQ(mListener.finished, 0) << scene;
        clickRelease();
        EXPECT_EQ(mListener.finished, 1) << scene;
    }
    bool named = false;
    for (const std::string& line : splitLines(readFile(mDir.file("VQ.log"))))
        named = named || (line.find("ERROR: ") != std::string::npos && line.find("missing_scene_xml") != std::string::npos);
    EXPECT_TRUE(named);
}

// --- The manager of the game itself ---

TEST_F(LogoStateTest, TheGamesManagerRegistersItsStatesLoadsTheLogoAndTakesItsCommandAway)
{
    startUI();
    {
        // The cut-scene state loads in a job.
        VQ::JobManager jobs;
        GameStateManager game;
        for (const char* name : {"LogoGameState", "MovieState", "MainMenu", "GameLevel"})
            EXPECT_NE(game.findState(name), nullptr) << name;
        EXPECT_EQ(game.getCurrent()->getName(), "LogoGameState");
        EXPECT_TRUE(game.getCurrent()->isLoaded());
        EXPECT_NE(mFunctions->find("setState"), nullptr);
        // The command switches states by name.
        mFunctions->find("setState")->bind({"MovieState"})->call();
        EXPECT_EQ(game.getCurrent(), static_cast<IGameState*>(game.getMovieState()));
    }
    EXPECT_EQ(mFunctions->find("setState"), nullptr);
}

// --- The loading screen in both orientations ---

using LoadingSceneLayout = ShippedContentTest;

TEST_F(LoadingSceneLayout, ThePortraitPlacingsFitTheNarrowSceneAndTheLandscapeOnesComeBack)
{
    GameStateManager states(nullptr);
    std::unique_ptr<AE::ISceneNode> scene(AE::loadScene("loading_scene_xml"));
    ASSERT_NE(scene, nullptr);
    struct Case {
        const char* node;
        float x, y, scaleX;
    };
    const Case portrait[] = {
        {"sky", -24, -16, 63.625f}, {"hills", -27, 1290, 2.37f}, {"lantern_anchor", -378, 300, 1},
        {"gems", 153, 1000, 1},     {"loading", 310, 1110, 1.4f},
    };
    const Case landscape[] = {
        {"sky", -24, -16, 110.875f}, {"hills", -27, 538, 4.12f}, {"lantern_anchor", 0, 0, 1},
        {"gems", 531, 700, 1},       {"loading", 688, 810, 1.4f},
    };
    for (const bool upright : {true, false}) {
        states.portrait = upright;
        applySceneNodeLayout(scene.get());
        for (const Case& c : upright ? portrait : landscape) {
            AE::ISceneNode* node = scene->findNode(c.node);
            ASSERT_NE(node, nullptr) << c.node;
            EXPECT_FLOAT_EQ(node->posX, c.x) << c.node << " " << upright;
            EXPECT_FLOAT_EQ(node->posY, c.y) << c.node << " " << upright;
            EXPECT_FLOAT_EQ(node->scaleX, c.scaleX) << c.node << " " << upright;
        }
    }
}
