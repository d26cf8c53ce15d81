// The map's progress after a won level, stepped by hand on a map without
// its scene: the award flights' timeline, the walk's arrival with and
// without auto-advance, and a gate that opens once its stars are owned.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "animationeditor/scene_node.h"
#include "main_mode.h"
#include "main_mode_map_state.h"
#include "player_profile.h"
#include "store.h"
#include "support/save_fixture.h"

namespace {

constexpr float DT = 0.01f;

// The game's save folder, profile and an empty catalogue; each test builds
// its own episode.
class MapProgress : public TestSupport::SaveFolderTest {
protected:
    void SetUp() override
    {
        SaveFolderTest::SetUp();
        writeContent("main_mode.lua", "episodes = {}\n");
        mFileSystem->filesOfPackage("default")["main_mode_lua"] = "main_mode.lua";
        createSavers();
    }
};

// A map of the first episode with parts of `sizes` levels, all open.
struct MapFixture {
    explicit MapFixture(std::vector<int> sizes) : mode(""), map(&mode)
    {
        auto* episode = new EpisodeInfo();
        mode.episodes.push_back(episode);
        int id = 0;
        for (int size : sizes) {
            auto* part = new PartInfo();
            part->id = id++;
            part->locked = false;
            for (int i = 0; i < size; ++i)
                part->levels.push_back(new LevelInfo());
            episode->parts.push_back(part);
            MapPartView view;
            view.part = part;
            view.levelNodes.assign(size_t(size), nullptr);
            map.partViews.push_back(view);
        }
        mode.episodeIndex = 0;
        map.displayedEpisode = 0;
    }
    ~MapFixture() { map.partViews.clear(); }

    MainMode mode;
    MainModeMapState map;
};

TEST_F(MapProgress, StarsFlyOneAfterAnotherThenAllSilverOnceAfterAPause)
{
    MapFixture f({3});
    AE::ISceneNode star;
    AE::ISceneNode silver;
    star.setEnabled(false);
    silver.setEnabled(false);
    f.map.starAward = &star;
    f.map.silverAward = &silver;
    f.map.awardFlight = true;
    f.map.pendingStars = 3;
    f.map.pendingSilver = 250;
    // Each change of the flying award, with the time it came.
    std::vector<std::pair<std::string, float>> changes;
    std::string flying = "none";
    float t = 0.0f;
    // Fine steps: each arrival takes a frame of its own.
    const float step = 0.001f;
    while (f.map.awardFlight && t < 10.0f) {
        f.map.updateAwards(step);
        t += step;
        const std::string now = star.enabled ? "star" : (silver.enabled && f.map.flightDelay <= 0.0f ? "silver"
                                                                                                      : "none");
        if (now != flying) {
            changes.emplace_back(now, t);
            flying = now;
        }
    }
    ASSERT_FALSE(f.map.awardFlight);
    ASSERT_GE(changes.size(), 3u);
    EXPECT_EQ(changes[0].first, "star");
    EXPECT_EQ(f.map.pendingStars, 0);
    EXPECT_EQ(f.map.pendingSilver, 0);
    int starFlights = 0;
    int silverFlights = 0;
    float silverStart = 0.0f;
    for (size_t i = 0; i < changes.size(); ++i) {
        starFlights += changes[i].first == "star";
        if (changes[i].first == "silver") {
            ++silverFlights;
            silverStart = changes[i].second;
        }
    }
    // The star award stays on from one star to the next: one change for
    // three flights of 0.42 s; then 0.9 s of pause, one silver flight.
    EXPECT_EQ(starFlights, 1);
    EXPECT_EQ(silverFlights, 1);
    EXPECT_NEAR(silverStart, 3 * 0.42f + 0.9f, 0.02f);
    EXPECT_NEAR(t, 3 * 0.42f + 0.9f + 0.42f, 0.02f);
}

TEST_F(MapProgress, AfterTheWalkAutoAdvanceOpensTheNextLevelAndStopsAtTheCataloguesEnd)
{
    const struct {
        int part, level;
        int openedPart, openedLevel;  // -1: nothing opened
    } cases[] = {
        {0, 0, 0, 1},
        {0, 2, 1, 0},   // the next part's first level
        {1, 1, -1, -1}, // the last level of the last part
    };
    for (const auto& c : cases) {
        MapFixture f({3, 2});
        f.map.playerPart = c.part;
        f.map.playerLevel = c.level;
        f.map.autoAdvance = true;
        f.map.walkState = 4;
        f.map.updateWalk(DT);
        EXPECT_EQ(f.map.walkState, 0);
        if (c.openedPart < 0) {
            EXPECT_FALSE(f.map.autoAdvance);
            EXPECT_EQ(f.map.selectedLevel, -1) << "nothing opens";
        } else {
            EXPECT_EQ(f.map.selectedPart, c.openedPart) << c.part << " " << c.level;
            EXPECT_EQ(f.map.selectedLevel, c.openedLevel) << c.part << " " << c.level;
        }
    }
    // Without auto-advance the arrival opens nothing.
    MapFixture f({3, 2});
    f.map.playerPart = 0;
    f.map.playerLevel = 0;
    f.map.walkState = 4;
    f.map.updateWalk(DT);
    EXPECT_EQ(f.map.walkState, 0);
    EXPECT_EQ(f.map.selectedLevel, -1);
}

TEST_F(MapProgress, AWalkToALevelTheMapCannotShowArrivesAtOnce)
{
    MapFixture f({3});
    f.mode.partIndex = 0;
    f.mode.levelIndex = 1;
    f.map.playerPart = 0;
    f.map.playerLevel = 0;
    f.map.walkPending = true;
    f.map.walkToNewLevel = true;
    f.map.beginWalk();
    EXPECT_FALSE(f.map.walkPending);
    EXPECT_EQ(f.map.walkState, 4) << "no medallion to walk to";
    // Not the current episode on show: the walk waits.
    MapFixture other({3});
    other.map.displayedEpisode = 1;
    other.map.walkPending = true;
    other.map.beginWalk();
    EXPECT_TRUE(other.map.walkPending);
    EXPECT_EQ(other.map.walkState, 0);
}

TEST_F(MapProgress, AGateOpensWhenItsPriceIsOwnedAndTheWalkGoesOnBehindIt)
{
    Store store;
    // The gate of part 1 costs 40 stars.
    for (const int stars : {40, 39}) {
        profile().levelStars = stars;
        MapFixture f({3, 2});
        PartInfo* gated = f.mode.episodes[0]->parts[1];
        gated->id = 1;
        gated->locked = true;
        f.mode.partIndex = 1;
        f.mode.levelIndex = 0;
        f.map.checkGate();
        if (stars < 40) {
            EXPECT_EQ(f.map.gateState, 0) << "not enough stars";
            EXPECT_TRUE(gated->locked);
            continue;
        }
        ASSERT_EQ(f.map.gateState, 1) << "the camera pans to the gate";
        f.map.updateGate(0.3f);
        EXPECT_EQ(f.map.gateState, 1);
        f.map.updateGate(0.3f);
        // A gate without its opening marker opens at once.
        EXPECT_EQ(f.map.gateState, 3);
        f.map.updateGate(DT);
        EXPECT_EQ(f.map.gateState, 0);
        EXPECT_FALSE(gated->locked);
        EXPECT_EQ(f.map.playerPart, 0);
        EXPECT_EQ(f.map.playerLevel, 2) << "from the last level before the gate";
        EXPECT_EQ(f.map.walkState, 4) << "the walk began (and, without medallions, arrived)";
    }
}

}  // namespace
