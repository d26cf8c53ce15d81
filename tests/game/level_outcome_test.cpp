// What the campaign makes of a won level: the records, stars, silver and
// unlocks a win gives, and where the game goes once the win window closes
// (the map with its walk and award, a cut-scene, or the main menu after the
// catalogue's last level).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "game_state.h"
#include "game_state_manager.h"
#include "main_mode.h"
#include "main_mode_map_state.h"
#include "movie_state.h"
#include "player_profile.h"
#include "store.h"
#include "support/game_sandbox.h"
#include "support/save_fixture.h"

using namespace TestSupport;

namespace {

// A state that only answers to its name: the test reads where the game was
// sent from the manager's pending state.
class NamedState : public IGameState {
public:
    explicit NamedState(std::string name) : mName(std::move(name)) {}
    void load() override { setLoaded(true); }
    void unload() override { setLoaded(false); }
    void update(float) override {}
    void draw() override {}
    std::string getName() const override { return mName; }

private:
    std::string mName;
};

class LevelOutcomeTest : public SaveFolderTest {
protected:
    void SetUp() override
    {
        SaveFolderTest::SetUp();
        // One part of three levels, then a part of one.
        writeContent("main_mode.lua", "episodes = { { mapScene = 'm', parts = {\n"
                                      "  { levels = { { file = 'a' }, { file = 'b' }, { file = 'c' } } },\n"
                                      "  { levels = { { file = 'd' } } } } } }\n");
        mFileSystem->filesOfPackage("default")["main_mode_lua"] = "main_mode.lua";
        createSavers();
        mMode = std::make_unique<MainMode>("");
        mMode->mapState = &mMap;
        for (LevelInfo* level : {at(0), at(1), at(2), at(3)}) {
            level->starScores[0] = 1000;
            level->starScores[1] = 2000;
            level->starScores[2] = 2500;
        }
        mMode->currentLevel = at(0);
    }
    void TearDown() override
    {
        mMode.reset();
        SaveFolderTest::TearDown();
    }
    LevelInfo* at(int index)
    {
        const int part = index < 3 ? 0 : 1;
        return mMode->episodes[0]->parts[part]->levels[index - part * 3];
    }

    MainModeMapState mMap{nullptr};
    std::unique_ptr<MainMode> mMode;
};

}  // namespace

TEST_F(LevelOutcomeTest, AWinKeepsTheBestScoreCountsOnlyTheStarsGainedAndPaysASilverAThousand)
{
    struct Case {
        bool replay;
        int bestBefore;
        int score;
        int best;
        int gained;
        int silver;
    };
    const Case cases[] = {
        {false, 0, 12345, 12345, 3, 12},
        {false, 0, 999, 999, 0, 0},
        // A replay from one star to three gains two.
        {true, 1500, 2500, 2500, 2, 2},
        // A worse replay keeps the best score and gains nothing.
        {true, 2500, 1500, 2500, 0, 1},
        {false, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.score);
        LevelInfo& level = *at(0);
        level.bestScore = c.bestBefore;
        level.completed = c.replay;
        mMode->replay = c.replay;
        mMode->levelStarted = true;
        mMode->episodeIndex = mMode->partIndex = mMode->levelIndex = 0;
        mMode->lives = 2;
        profile().silver = 100;
        profile().levelStars = 5;
        profile().levelWon = 0;
        mMap.awardFlight = false;

        mMode->recordWin(c.score);
        EXPECT_EQ(level.bestScore, c.best);
        EXPECT_TRUE(level.completed);
        EXPECT_FALSE(mMode->levelStarted);
        EXPECT_EQ(mMode->silverReward, c.silver);
        EXPECT_EQ(profile().silver, 100 + c.silver);
        EXPECT_EQ(profile().levelStars, 5 + c.gained);
        EXPECT_EQ(profile().levelWon, 1);
        EXPECT_EQ(mMode->lives, 3);
        EXPECT_TRUE(mMap.awardFlight);
        EXPECT_EQ(mMap.pendingStars, c.gained);
        // Only a first win moves the player on.
        EXPECT_EQ(mMode->levelIndex, c.replay ? 0 : 1);
    }
    // The silver reached the saved profile.
    const std::unique_ptr<PlayerProfile> saved = profileIn(saveBytes("profile_0.dat"));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->silver, 100);
}

TEST_F(LevelOutcomeTest, TheStoreUnlocksItsBonusesAtTheirLevelsOnce)
{
    Store store;
    for (int i = 0; i < 12; ++i)
        mMode->episodes[0]->parts[0]->levels.push_back(new LevelInfo());
    LevelInfo* level = mMode->episodes[0]->parts[0]->levels[5];
    mMode->currentLevel = level;

    // Level 5 gives the one-shot bonus 2, never twice.
    level->id = 5;
    profile().unlockedBonuses = {0};
    mMode->recordWin(100);
    mMode->recordWin(100);
    EXPECT_EQ(profile().unlockedBonuses, (std::vector<int32_t>{0, 2}));
    EXPECT_TRUE(profile().unlockedPassiveBonuses.empty());

    // Level 11 the booster 1.
    level->id = 11;
    mMode->recordWin(100);
    EXPECT_EQ(profile().unlockedPassiveBonuses, (std::vector<int32_t>{1}));
    EXPECT_EQ(profile().unlockedBonuses, (std::vector<int32_t>{0, 2}));

    level->id = 4;
    mMode->recordWin(100);
    EXPECT_EQ(profile().unlockedBonuses, (std::vector<int32_t>{0, 2}));
    EXPECT_EQ(profile().unlockedPassiveBonuses, (std::vector<int32_t>{1}));
}

TEST_F(LevelOutcomeTest, TheClosedWinWindowLeadsToTheMapACutSceneOrAfterTheLastLevelTheMainMenu)
{
    struct Case {
        const char* name;
        int level;
        bool replay;
        const char* movie;
        int32_t result;
        const char* state;
        bool walk;
        bool autoAdvance;
        bool saved;
    };
    const Case cases[] = {
        {"next", 0, false, "", 1, "MainModeMap", true, true, true},
        {"close", 0, false, "", 0, "MainModeMap", true, false, true},
        {"replay", 1, true, "story_xml", 1, "MainModeMap", true, true, true},
        {"cut-scene", 1, false, "story_xml", 0, "MovieState", true, false, true},
        {"cut-scene after the last", 3, false, "story_xml", 1, "MovieState", false, false, true},
        {"last level", 3, false, "", 1, "MainMenu", false, false, false},
        {"last level replayed", 3, true, "", 1, "MainModeMap", false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GameStateManager states(nullptr);
        NamedState map("MainModeMap");
        NamedState menu("MainMenu");
        MovieState movie;
        states.registerState(&map);
        states.registerState(&menu);
        states.registerState(&movie);
        states.movie = &movie;
        states.updating = true;

        std::filesystem::remove(savePath("profile_0.dat"));
        mMode->currentLevel = at(c.level);
        at(c.level)->movieScene = c.movie;
        mMode->replay = c.replay;
        mMode->silverReward = 7;
        mMap.walkPending = mMap.autoAdvance = mMap.walkToNewLevel = mMap.awardFlight = false;
        mMap.pendingSilver = 0;

        mMode->leaveWonLevel(c.result);
        ASSERT_NE(states.pending, nullptr);
        EXPECT_EQ(states.pending->getName(), c.state);
        EXPECT_EQ(mMap.walkPending, c.walk);
        EXPECT_EQ(mMap.autoAdvance, c.autoAdvance);
        EXPECT_EQ(mMap.walkToNewLevel, c.walk && !c.replay);
        EXPECT_EQ(mMap.awardFlight, c.saved);
        EXPECT_EQ(mMap.pendingSilver, c.saved ? 7 : 0);
        EXPECT_EQ(std::filesystem::exists(savePath("profile_0.dat")), c.saved);
        if (std::string(c.state) == "MovieState") {
            EXPECT_EQ(movie.sceneName, "story_xml");
            EXPECT_EQ(movie.listener, mMode.get());
        }
        states.unregisterState(&map);
        states.unregisterState(&menu);
        states.unregisterState(&movie);
        states.movie = nullptr;
        states.pending = nullptr;
    }
}
