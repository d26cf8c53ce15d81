#include <gtest/gtest.h>

#include <memory>

#include "action.h"
#include "board_fixture.h"
#include "chip.h"

namespace {

enum Kind { NONE, BOOM, WAVE, TIMER, ADD, CANNOT, FLOOR, COLOR, SHAKE };

TEST(ActionFactory, TextsGiveActionsWithTheirParameters)
{
    struct Case {
        const char* text;
        Kind kind;
        int a;            // super, mask or type
        int b;            // wave super
        float seconds;    // timer
        const char* marker;
    };
    const Case cases[] = {
        {"Boom", BOOM, 0, 0, 0, ""},
        {"SuperBoom", BOOM, 1, 0, 0, ""},
        {"Boom2", NONE, 0, 0, 0, ""},
        {"boom", NONE, 0, 0, 0, ""},
        {"WaveHor", WAVE, 10, 0, 0, ""},
        {"WaveVer", WAVE, 5, 0, 0, ""},
        {"Cross", WAVE, 15, 0, 0, ""},
        {"SuperWaveHor", WAVE, 10, 1, 0, ""},
        {"SuperWaveVer", WAVE, 5, 1, 0, ""},
        {"SuperCross", WAVE, 15, 1, 0, ""},
        {"Star", WAVE, 31, 0, 0, ""},
        {"WaveFull", WAVE, 31, 0, 0, ""},
        {"SuperStar", WAVE, 31, 1, 0, ""},
        {"WaveDiagonal", WAVE, 16, 0, 0, ""},
        {"WaveHor ", NONE, 0, 0, 0, ""},
        {"AddBehavior:Chain", ADD, BEHAVIOR_CHAIN, 0, 0, ""},
        {"AddBehaviorLayer:Ice", ADD, BEHAVIOR_ICE, 0, 0, ""},
        {"AddBehavior:Unknown", ADD, BEHAVIOR_SIMPLE, 0, 0, ""},
        {"AddBehavior", NONE, 0, 0, 0, ""},
        {"DestroyTimer:2.5", TIMER, 0, 0, 2.5f, ""},
        {"DestroyTimer:abc", TIMER, 0, 0, 0.0f, ""},
        {"DestroyTimer", NONE, 0, 0, 0, ""},
        {"CanNotBeDestoyed", CANNOT, 0, 0, 0, ""},
        {"CanNotBeDestroyed", NONE, 0, 0, 0, ""},
        {"DestroyIfFloorIsReached", FLOOR, 0, 0, 0, ""},
        {"ColorDestroyer", COLOR, 0, 0, 0, ""},
        {"ShakeField:shake_big", SHAKE, 0, 0, 0, "shake_big"},
        {"ShakeField:a:b", SHAKE, 0, 0, 0, "a:b"},
        {"ShakeField", NONE, 0, 0, 0, ""},
        {"", NONE, 0, 0, 0, ""},
    };
    // The action of a text, and its clone alike: the same kind with the same
    // parameters.
    auto expectParameters = [](const Case& c, const Action* action) {
        switch (c.kind) {
        case NONE:
            EXPECT_EQ(action, nullptr);
            break;
        case BOOM: {
            auto* boom = dynamic_cast<const BoomAction*>(action);
            ASSERT_NE(boom, nullptr);
            EXPECT_EQ(boom->super, c.a);
            break;
        }
        case WAVE: {
            auto* wave = dynamic_cast<const WaveAction*>(action);
            ASSERT_NE(wave, nullptr);
            EXPECT_EQ(wave->mask, c.a);
            EXPECT_EQ(wave->super, c.b);
            break;
        }
        case TIMER: {
            auto* timer = dynamic_cast<const DestroyTimerAction*>(action);
            ASSERT_NE(timer, nullptr);
            EXPECT_FLOAT_EQ(timer->seconds, c.seconds);
            break;
        }
        case ADD: {
            auto* add = dynamic_cast<const AddBehavior*>(action);
            ASSERT_NE(add, nullptr);
            EXPECT_EQ(add->type, c.a);
            break;
        }
        case CANNOT:
            EXPECT_NE(dynamic_cast<const CanNotBeDestoyed*>(action), nullptr);
            break;
        case FLOOR: {
            auto* floor = dynamic_cast<const DestroyIfFloorIsReached*>(action);
            ASSERT_NE(floor, nullptr);
            EXPECT_EQ(floor->lock, nullptr);
            break;
        }
        case COLOR:
            EXPECT_NE(dynamic_cast<const ColorDestroyer*>(action), nullptr);
            break;
        case SHAKE: {
            auto* shake = dynamic_cast<const ShakeBackField*>(action);
            ASSERT_NE(shake, nullptr);
            EXPECT_EQ(shake->markerName, c.marker);
            break;
        }
        }
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::unique_ptr<Action> action(createActionByName(c.text));
        expectParameters(c, action.get());
        if (action) {
            SCOPED_TRACE("clone");
            std::unique_ptr<Action> copy(action->clone());
            Action& original = *action;
            Action& cloned = *copy;
            EXPECT_EQ(typeid(cloned), typeid(original));
            expectParameters(c, copy.get());
        }
    }
}

TEST(Actions, TimerCountsDownAndAddBehaviorStacksARegisteredLayer)
{
    DestroyTimerAction timer(0.5f);
    EXPECT_TRUE(timer.run(nullptr, nullptr, 0.3f));
    std::unique_ptr<Action> copy(timer.clone());
    EXPECT_FALSE(timer.run(nullptr, nullptr, 0.3f));
    // The clone carries the seconds left when it was made.
    EXPECT_FLOAT_EQ(static_cast<DestroyTimerAction*>(copy.get())->seconds, 0.2f);

    Behavior chain;
    chain.type = BEHAVIOR_CHAIN;
    chain.CanFalling = false;
    registerBehaviorPrototype(chain, 3);
    Chip chip;
    chip.colour = 3;
    chip.layers.add(BoardFixture::makeLayer(BEHAVIOR_SIMPLE));
    std::unique_ptr<Action> add(createActionByName("AddBehavior:Chain"));
    EXPECT_TRUE(add->run(nullptr, &chip, 0.0f));
    ASSERT_EQ(chip.layers.size(), 2u);
    EXPECT_EQ(chip.layers.top()->type, BEHAVIOR_CHAIN);
    EXPECT_FALSE(chip.canFall());
    clearBehaviorPrototypes();
}

}  // namespace
