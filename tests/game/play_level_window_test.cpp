// The level start window's preview of a level script: goal kinds, their
// counts and the panels they take.

#include <gtest/gtest.h>

#include <lua.hpp>

#include <string>
#include <vector>

#include "dialogs/play_level_window.h"
#include "game_helpers/goals_helper.h"
#include "lua_context.h"

namespace {

LevelPreview previewOf(const std::string& script, bool* found = nullptr)
{
    VQ::LuaContext lua;
    EXPECT_EQ(luaL_dostring(lua.state(), script.c_str()), 0) << script;
    LevelPreview preview;
    const bool ok = readLevelPreview(lua.state(), preview);
    if (found)
        *found = ok;
    EXPECT_EQ(lua_gettop(lua.state()), 0) << "the stack is left as found";
    return preview;
}

TEST(PlayLevelWindow, GoalCountsComeFromTheLevelScript)
{
    const LevelPreview preview = previewOf(
        "GameField = { TargetChips = 3, LevelLimitType = 1, LevelGoals = { 3, 5, 1 },"
        " Chips = { { Type = 'Falling' }, { Type = 'StrongWall' }, { Type = 'Wall' }, { Type = 'FallingGem' },"
        "           { Type = 'ChipUp' }, { Type = 'ChipUpper' }, 7 },"
        " Grid = { Cells = { { Solidity = 2 }, { Solidity = 1 }, {}, { Solidity = 3 } } } }");
    EXPECT_TRUE(preview.timeLimit);
    EXPECT_EQ(preview.counts[GOAL_FALLING], 5) << "TargetChips plus two falling chips";
    EXPECT_EQ(preview.counts[GOAL_STRONG_WALLS], 1);
    EXPECT_EQ(preview.counts[GOAL_WALLS], 1) << "a strong wall is never a wall";
    EXPECT_EQ(preview.counts[GOAL_CHIP_UP], 1) << "only the exact name";
    EXPECT_EQ(preview.counts[GOAL_TILES], 2) << "solidity above 1, default 1";
    EXPECT_EQ(preview.goalKinds[0], 3);
    EXPECT_EQ(preview.goalKinds[1], 5) << "a third goal is dropped";
}

TEST(PlayLevelWindow, GoalPanelsTakeKindsInTheWindowsOrder)
{
    const struct {
        const char* goals;
        std::vector<int> panels;
    } cases[] = {
        {"{ 5, 2 }", {GOAL_TILES, GOAL_STRONG_WALLS}},
        {"{ 1, 1 }", {GOAL_WALLS}},
        {"{ 6 }", {GOAL_CHIP_UP}},
        {"{}", {}},
        {"nil", {}},
        {"{ 4 }", {}},
    };
    for (const auto& c : cases) {
        const LevelPreview preview = previewOf(std::string("GameField = { LevelGoals = ") + c.goals + " }");
        EXPECT_FALSE(preview.timeLimit) << "a missing limit type is a move limit";
        EXPECT_EQ(goalPanelKinds(preview), c.panels) << c.goals;
    }
}

TEST(PlayLevelWindow, AScriptWithoutTheFieldTableGivesNoPreview)
{
    bool found = true;
    previewOf("Other = {}", &found);
    EXPECT_FALSE(found);
    EXPECT_EQ(boosterPrice(0), 110);
    EXPECT_EQ(boosterPrice(1), 50);
    EXPECT_EQ(boosterPrice(2), 75);
}

}  // namespace
