#include <gtest/gtest.h>

#include "board_fixture.h"
#include "behavior.h"
#include "chip.h"
#include "game_field.h"
#include "support/test_support.h"

#include "test_drawable.h"

namespace {

using BoardFixture::makeLayer;

// Registers layers for the test and clears the registry afterwards.
struct RegistryScope {
    ~RegistryScope() { clearBehaviorPrototypes(); }
};

TEST(Behavior, TypeNamesMapExactlyThenByCellPrefix)
{
    const std::pair<const char*, int> cases[] = {
        {"Simple", 1},      {"Chain", 2},          {"DChain", 3},        {"Wall", 4},
        {"DWall", 5},       {"CWall", 6},          {"StrongWall", 7},    {"FallingLevelGoal", 8},
        {"ChipUp", 9},      {"BombStage1", 10},    {"BombStage2", 11},   {"DestroyColor", 12},
        {"SimpleBomb", 13}, {"WaveDSide", 14},     {"WaveVer", 15},      {"WaveHor", 16},
        {"Cross", 17},      {"SuperBomb", 18},     {"SuperWaveDSide", 19}, {"SuperWaveVer", 20},
        {"SuperWaveVerF", 20}, {"SuperWaveHor", 21}, {"SuperCross", 22}, {"Star", 23},
        {"SuperStar", 24},  {"Storm", 25},         {"Cell", 26},         {"CellTile2", 26},
        {"Ice", 27},        {"IceChip1", 28},      {"IceChip2", 29},     {"IceChip3", 30},
        {"ChainBomb", 31},  {"ChipGenerator", 32}, {"StuffChip", 33},    {"AnyBonus", 34},
        {"Bomb", 1},        {"", 1},               {"simple", 1},        {"Cel", 1},
        {"Chain_R", 1},
    };
    for (const auto& [name, type] : cases)
        EXPECT_EQ(behaviorTypeFromName(name), type) << name;
}

TEST(Behavior, RegistryKeepsFirstAndCreatePrefersExactColour)
{
    RegistryScope scope;
    Behavior chainAnyColour;
    chainAnyColour.type = BEHAVIOR_CHAIN;
    chainAnyColour.score = 10;
    registerBehaviorPrototype(chainAnyColour, 1);
    Behavior chainRed = chainAnyColour;
    chainRed.score = 20;
    registerBehaviorPrototype(chainRed, 0);
    Behavior duplicate = chainAnyColour;
    duplicate.score = 99;
    registerBehaviorPrototype(duplicate, 1);
    ASSERT_EQ(behaviorRegistry().size(), 2u);

    std::unique_ptr<Behavior> red(createBehavior(BEHAVIOR_CHAIN, 0));
    EXPECT_EQ(red->score, 20);
    std::unique_ptr<Behavior> green(createBehavior(BEHAVIOR_CHAIN, 1));
    EXPECT_EQ(green->score, 10);
    // No entry of that colour: the first of the type.
    std::unique_ptr<Behavior> blue(createBehavior(BEHAVIOR_CHAIN, 2));
    EXPECT_EQ(blue->score, 10);
    EXPECT_NE(blue.get(), behaviorRegistry()[0].prototype);

    const VQ::FatalReport report = TestSupport::catchFatal([] { createBehavior(BEHAVIOR_ICE, -1); });
    EXPECT_EQ(report.description, "Failed to create behavior");
    EXPECT_EQ(report.file, "Behavior");
    EXPECT_EQ(report.line, 373);
}

TEST(Behavior, CopyClonesActionsAndDrawables)
{
    Behavior layer;
    layer.type = BEHAVIOR_WAVE_HOR;
    layer.score = 50;
    layer.destroySound = 7;
    layer.CanFalling = false;
    layer.OnDestroyActions.add(createActionByName("WaveHor"));
    layer.OnIdleDrawables.add(new TestDrawable(3));
    layer.OnIdleDrawables.setRestartOnShow(false);

    Behavior copy(layer);
    EXPECT_EQ(copy.type, BEHAVIOR_WAVE_HOR);
    EXPECT_EQ(copy.score, 50);
    EXPECT_EQ(copy.destroySound, 7u);
    EXPECT_FALSE(copy.CanFalling);
    ASSERT_EQ(copy.OnDestroyActions.size(), 1u);
    EXPECT_NE(copy.OnDestroyActions.objects.front(), layer.OnDestroyActions.objects.front());
    auto* wave = dynamic_cast<WaveAction*>(copy.OnDestroyActions.objects.front());
    ASSERT_NE(wave, nullptr);
    EXPECT_EQ(wave->mask, 10);
    ASSERT_EQ(copy.OnIdleDrawables.size(), 1u);
    Drawable* drawable = copy.OnIdleDrawables.objects.front();
    EXPECT_NE(drawable, layer.OnIdleDrawables.objects.front());
    EXPECT_EQ(drawable->layer, 3);
    EXPECT_FALSE(drawable->restartOnShow);
}

TEST(Behavior, PopTopAndDestroyRefusesUnlessForced)
{
    GameField field;
    Chip chip;
    EXPECT_EQ(chip.layers.popTopAndDestroy(&field, &chip, false).type, 0);

    chip.layers.add(makeLayer(BEHAVIOR_SIMPLE));
    Behavior* wall = makeLayer(BEHAVIOR_WALL, false);
    wall->score = 30;
    wall->OnDestroyActions.add(createActionByName("CanNotBeDestoyed"));
    wall->OnDestroyActions.add(createActionByName("Boom"));
    chip.layers.add(wall);

    DestroyResult refused = chip.layers.popTopAndDestroy(&field, &chip, false);
    EXPECT_EQ(refused.type, 0);
    EXPECT_EQ(refused.score, 0);
    ASSERT_EQ(chip.layers.size(), 2u);
    EXPECT_EQ(chip.layers.top(), wall);

    DestroyResult forced = chip.layers.popTopAndDestroy(&field, &chip, true);
    EXPECT_EQ(forced.type, BEHAVIOR_WALL);
    EXPECT_EQ(forced.score, 30);
    ASSERT_EQ(chip.layers.size(), 1u);

    DestroyResult plain = chip.layers.popTopAndDestroy(&field, &chip, false);
    EXPECT_EQ(plain.type, BEHAVIOR_SIMPLE);
    EXPECT_TRUE(chip.layers.empty());
}

TEST(Behavior, GroupQueriesAndRunAll)
{
    BehaviorsGroup group;
    EXPECT_TRUE(group.canFall());
    EXPECT_EQ(group.countLevelGoals(), 0);
    Behavior* goal = makeLayer(BEHAVIOR_FALLING_LEVEL_GOAL);
    goal->LevelGoal = true;
    group.add(goal);
    group.add(makeLayer(BEHAVIOR_CHAIN, false));
    EXPECT_FALSE(group.canFall());
    EXPECT_EQ(group.countLevelGoals(), 1);

    // Every action runs even after a refusal; the result is their AND.
    ActionsGroup actions;
    EXPECT_TRUE(actions.runAll(nullptr, nullptr, 0.0f));
    auto* timer = new DestroyTimerAction(1.0f);
    actions.add(new CanNotBeDestoyed());
    actions.add(timer);
    EXPECT_FALSE(actions.runAll(nullptr, nullptr, 0.25f));
    EXPECT_FLOAT_EQ(timer->seconds, 0.75f);

    // remove unlinks without deleting.
    actions.remove(timer);
    EXPECT_EQ(actions.size(), 1u);
    delete timer;
}

TEST(Behavior, DrawStatesFollowSelectionHotspotAndDetonation)
{
    GameField field;
    field.chipHotspotAnimationSpeed = 1.0f;
    field.chipHotspotDelayCoeff = 1.0f;
    Behavior layer;
    auto addDrawable = [](DrawablesGroup& group) {
        Drawable* drawable = new TestDrawable();
        group.add(drawable);
        return drawable;
    };
    Drawable* idle = addDrawable(layer.OnIdleDrawables);
    Drawable* hot = addDrawable(layer.HotspotDrawables);
    Drawable* select = addDrawable(layer.OnSelectDrawables);
    Drawable* inGroup = addDrawable(layer.InGroupDrawables);
    Drawable* detonate = addDrawable(layer.OnDetonateDrawables);
    inGroup->setVisible(true);

    Chip chip;
    chip.x = 2.5f;  // the band reaches (2, 1) after (2 + 1) * 1 / 2 = 1.5 s
    chip.y = 1.5f;
    struct Case {
        const char* what;
        bool selected;
        float hotspotTime;
        int detonateCounter;
        std::vector<DrawablesGroup*> drawn;
        bool idleVisible, hotVisible, selectVisible, detonateVisible;
    };
    const Case cases[] = {
        {"idle before the band", false, 1.4f, 0, {&layer.OnIdleDrawables}, true, false, false, false},
        {"hot while the band passes", false, 1.5f, 0, {&layer.HotspotDrawables}, false, true, false, false},
        {"idle once it has passed", false, 2.5f, 0, {&layer.OnIdleDrawables}, true, false, false, false},
        {"selected", true, 1.5f, 0, {&layer.OnSelectDrawables}, false, false, true, false},
        {"about to detonate", false, 0.0f, 1,
         {&layer.OnIdleDrawables, &layer.OnDetonateDrawables}, true, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        chip.selected = c.selected;
        chip.detonateCounter = c.detonateCounter;
        field.hotspotTime = c.hotspotTime;
        EXPECT_EQ(layer.groupsToDraw(field, chip, 0.5f), c.drawn);
        EXPECT_EQ(idle->visible, c.idleVisible);
        EXPECT_EQ(hot->visible, c.hotVisible);
        EXPECT_EQ(select->visible, c.selectVisible);
        EXPECT_EQ(detonate->visible, c.detonateVisible);
        EXPECT_FALSE(inGroup->visible);
        for (DrawablesGroup* group : c.drawn)
            EXPECT_EQ(group->objects.front()->alpha, 0.5f);
    }

    // Without hotspot drawables a layer is never hot; selected without select
    // drawables shows the idle ones.
    layer.HotspotDrawables.deleteAll();
    layer.OnSelectDrawables.deleteAll();
    chip.selected = false;
    chip.detonateCounter = 0;
    field.hotspotTime = 1.5f;
    EXPECT_EQ(layer.groupsToDraw(field, chip, 1.0f), std::vector<DrawablesGroup*>{&layer.OnIdleDrawables});
    chip.selected = true;
    EXPECT_EQ(layer.groupsToDraw(field, chip, 1.0f), std::vector<DrawablesGroup*>{&layer.OnIdleDrawables});
}

}  // namespace
