#include <gtest/gtest.h>

#include <memory>

#include "board_fixture.h"
#include "game_event.h"
#include "tutorial/tutorial_registry.h"

namespace {

using BoardFixture::makeLayer;

class GameEventTest : public ::testing::Test {
protected:
    void TearDown() override { TutorialRegistry::destroy(); }
};

}  // namespace

// With no lesson to hand it to, every event is taken, deleted and allowed.
TEST_F(GameEventTest, AnEventNobodyWaitsForIsDeletedAndAllowed)
{
    TutorialRegistry* tutorial = TutorialRegistry::instance();
    EXPECT_TRUE(tutorial->dispatchEvent(new GameEvent(GameEvent::ORIENTATION_CHANGED)));
    EXPECT_TRUE(tutorial->dispatchEvent(new BeginLevelGameEvent("level_1_lua")));
    EXPECT_TRUE(tutorial->dispatchEvent(new PlayLevelWindowGameEvent(nullptr)));
    EXPECT_TRUE(tutorial->dispatchEvent(new BonusEvent(2, BonusEvent::BOUGHT)));
    EXPECT_TRUE(tutorial->dispatchEvent(nullptr));
    auto* refused = new GameEvent(GameEvent::ORIENTATION_CHANGED);
    refused->allowed = false;
    EXPECT_FALSE(tutorial->dispatchEvent(refused));

    const BonusEvent bonus(3, BonusEvent::PRESSED_WITH_BONUS);
    EXPECT_EQ(bonus.type, GameEvent::BONUS);
    EXPECT_FALSE(bonus.consumed);
    EXPECT_TRUE(bonus.allowed);
    EXPECT_EQ(bonus.bonusKind, 3);
    EXPECT_EQ(bonus.action, 2);
    EXPECT_EQ(BeginLevelGameEvent("x").type, 0);
    EXPECT_STREQ(GAME_LEVEL_EFFECT_SCENES[EFFECT_NO_POSSIBLE_MOVES], "no_possible_moves_effect_xml");
}

// The destroyed chip's snapshot outlives the chip and the board's snapshot:
// the event keeps a copy of its own, type list included.
TEST_F(GameEventTest, ADestroyedChipsEventOwnsItsSnapshot)
{
    auto chip = std::make_unique<Chip>();
    chip->x = 3.5f;
    chip->y = 6.5f;
    chip->colour = 2;
    chip->layers.add(makeLayer(BEHAVIOR_SIMPLE));
    chip->layers.add(makeLayer(BEHAVIOR_FALLING_LEVEL_GOAL));
    auto snapshot = std::make_unique<ChipSnapshot>(*chip);
    auto* event = new DestroyChipGameEvent(*snapshot);
    snapshot.reset();
    chip.reset();

    EXPECT_EQ(event->type, GameEvent::DESTROY_CHIP);
    EXPECT_EQ(event->snapshot.column, 3);
    EXPECT_EQ(event->snapshot.row, 6);
    EXPECT_EQ(event->snapshot.colour, 2);
    EXPECT_EQ(event->snapshot.types, (std::vector<int>{BEHAVIOR_SIMPLE, BEHAVIOR_FALLING_LEVEL_GOAL}));
    EXPECT_TRUE(TutorialRegistry::instance()->dispatchEvent(event));
}
