#include <gtest/gtest.h>

#include "board_fixture.h"
#include "chip.h"
#include "chip_prototype.h"
#include "chip_selector.h"

namespace {

using BoardFixture::makeLayer;

TEST(Chip, NewAndResetChipsTakeTheResetValues)
{
    Chip chip;
    EXPECT_EQ(chip.colour, -1);
    EXPECT_EQ(chip.spin, 0.0f);
    const int firstStamp = chip.landingStamp;

    chip.x = 4.5f;
    chip.y = 2.5f;
    chip.colour = 3;
    chip.spin = 12.5f;
    chip.targetX = 4.5f;
    chip.targetY = 6.5f;
    chip.selected = chip.released = chip.hitThisPass = true;
    chip.fallSpeed = 20.0f;
    chip.wobbleLeft = chip.wobbleTotal = 0.6f;
    chip.pushX = 1.0f;
    chip.radius = 3;
    chip.detonateCounter = 2;
    chip.falling = 1;
    chip.selector = createChipSelector("NearestChipSameGroupSelector");
    chip.layers.add(makeLayer(BEHAVIOR_SIMPLE));
    chip.setUserData("limit", 4);

    chip.reset();
    EXPECT_EQ(chip.x, 0.5f);
    EXPECT_EQ(chip.y, 0.5f);
    EXPECT_FALSE(chip.selected || chip.released || chip.hitThisPass);
    EXPECT_EQ(chip.fallSpeed, 7.5f);
    EXPECT_EQ(chip.wobbleLeft, 0.0f);
    EXPECT_EQ(chip.pushX, 0.0f);
    EXPECT_EQ(chip.radius, 1);
    EXPECT_EQ(chip.detonateCounter, 0);
    EXPECT_EQ(chip.falling, 0);
    EXPECT_EQ(chip.selector, nullptr);
    EXPECT_TRUE(chip.layers.empty());
    EXPECT_TRUE(chip.userData.empty());
    EXPECT_EQ(chip.landingStamp, firstStamp + 1);
    // Kept across a reset.
    EXPECT_EQ(chip.colour, 3);
    EXPECT_EQ(chip.spin, 12.5f);
    EXPECT_EQ(chip.targetX, 4.5f);
    EXPECT_EQ(chip.targetY, 6.5f);
}

TEST(Chip, ApplyPrototypeCopiesLayersColourAndSelector)
{
    ChipPrototype prototype;
    prototype.colour = 2;
    prototype.selector = createChipSelector("AllChipsSameGroupSelector");
    prototype.layers.add(makeLayer(BEHAVIOR_SIMPLE));
    prototype.layers.add(makeLayer(BEHAVIOR_CHAIN, false));

    Chip chip;
    chip.x = 3.5f;
    chip.applyPrototype(nullptr);
    EXPECT_EQ(chip.x, 3.5f);

    chip.applyPrototype(&prototype);
    EXPECT_EQ(chip.x, 0.5f);
    EXPECT_EQ(chip.colour, 2);
    EXPECT_EQ(chip.selector, prototype.selector);
    ASSERT_EQ(chip.layers.size(), 2u);
    EXPECT_NE(chip.layers.objects.front(), prototype.layers.objects.front());
    EXPECT_EQ(chip.layers.objects.front()->type, BEHAVIOR_SIMPLE);
    EXPECT_EQ(chip.layers.objects.back()->type, BEHAVIOR_CHAIN);
}

TEST(Chip, QueriesOverTheLayerStack)
{
    struct Case {
        const char* what;
        std::vector<Behavior*> layers;
        bool canFall;
        bool canIterate;
        bool swappable;
    };
    const Case cases[] = {
        {"no layers", {}, true, true, false},
        {"a plain chip", {makeLayer(BEHAVIOR_SIMPLE)}, true, true, true},
        {"a wave", {makeLayer(BEHAVIOR_WAVE_HOR)}, true, true, true},
        {"a wall", {makeLayer(BEHAVIOR_WALL, false, false)}, false, false, false},
        {"a chained plain chip", {makeLayer(BEHAVIOR_SIMPLE), makeLayer(BEHAVIOR_CHAIN, false)}, false, true, false},
        {"a falling goal", {makeLayer(BEHAVIOR_FALLING_LEVEL_GOAL, true, false)}, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Chip chip;
        for (Behavior* layer : c.layers)
            chip.layers.add(layer);
        EXPECT_EQ(chip.canFall(), c.canFall);
        EXPECT_EQ(chip.canIterateWithGroup(), c.canIterate);
        EXPECT_EQ(chip.isSwappable(), c.swappable);
    }
}

TEST(Chip, SnapshotRecordsCellColourTypesAndGoals)
{
    Chip chip;
    chip.x = 3.5f;
    chip.y = 7.5f;
    chip.colour = 4;
    chip.layers.add(makeLayer(BEHAVIOR_SIMPLE));
    Behavior* goal = makeLayer(BEHAVIOR_FALLING_LEVEL_GOAL);
    goal->LevelGoal = true;
    chip.layers.add(goal);

    const ChipSnapshot snapshot(chip);
    EXPECT_EQ(snapshot.column, 3);
    EXPECT_EQ(snapshot.row, 7);
    EXPECT_EQ(snapshot.colour, 4);
    EXPECT_EQ(snapshot.types, (std::vector<int>{BEHAVIOR_SIMPLE, BEHAVIOR_FALLING_LEVEL_GOAL}));
    EXPECT_EQ(snapshot.levelGoals, 1);
    EXPECT_EQ(snapshot.chip, &chip);
    EXPECT_TRUE(snapshot.hasAnyBehavior({BEHAVIOR_WALL, BEHAVIOR_FALLING_LEVEL_GOAL}));
    EXPECT_FALSE(snapshot.hasAnyBehavior({BEHAVIOR_WALL, BEHAVIOR_CHAIN}));
}

}  // namespace
