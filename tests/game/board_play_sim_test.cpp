// The board as a player meets it, through the headless board on the sample
// levels: special chips, the falling goal, the hint, a board without moves
// and replaying a game.

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <sstream>

#include "board_sim_fixture.h"
#include "drawable.h"
#include "move_hint.h"
#include "particle_emitter.h"
#include "particle_fx.h"
#include "task_manager.h"

namespace {

using Cell = std::pair<int, int>;

class BoardPlayTest : public BoardSimFixture::BoardSimTest {
protected:
    void startSettled(const std::string& level, uint32_t seed = 5)
    {
        start(level, seed);
        settle();
    }
    void settle()
    {
        float seconds = 0.0f;
        ASSERT_TRUE(mSim->settle(seconds));
    }
    // Plays the swap and settles; the lines printed meanwhile.
    std::vector<std::string> play(int c1, int r1, int c2, int r2)
    {
        const size_t mark = outputLines().size();
        mSim->execute("swap " + std::to_string(c1) + " " + std::to_string(r1) + " " + std::to_string(c2) + " " +
                      std::to_string(r2));
        settle();
        const std::vector<std::string> lines = outputLines();
        return std::vector<std::string>(lines.begin() + static_cast<long>(mark), lines.end());
    }
    static std::set<Cell> removedCells(const std::vector<std::string>& lines)
    {
        std::set<Cell> cells;
        for (const std::string& line : lines) {
            int column = 0, row = 0;
            if (std::sscanf(line.c_str(), "mode onChipDestroyed %d,%d", &column, &row) == 2)
                cells.insert({column, row});
        }
        return cells;
    }
    static int count(const std::vector<std::string>& lines, const std::string& prefix)
    {
        int n = 0;
        for (const std::string& line : lines)
            n += line.rfind(prefix, 0) == 0;
        return n;
    }
    std::vector<Cell> cellsNamed(const std::string& prefix)
    {
        std::vector<Cell> cells;
        for (int row = 1; row <= field().gridHeight; ++row)
            for (int column = 0; column < field().gridWidth; ++column)
                if (nameAt(column, row).rfind(prefix, 0) == 0)
                    cells.push_back({column, row});
        return cells;
    }
};

std::vector<Cell> block(int left, int top, int right, int bottom)
{
    std::vector<Cell> cells;
    for (int row = top; row <= bottom; ++row)
        for (int column = left; column <= right; ++column)
            cells.push_back({column, row});
    return cells;
}

TEST_F(BoardPlayTest, EachSpecialChipOfTheFixedLevelBlastsItsCells)
{
    struct Case {
        const char* what;
        int swap[4];
        std::vector<Cell> cells;  // all of them lose their chip
    };
    std::vector<Cell> star = block(0, 8, 8, 8);
    for (Cell cell : block(7, 1, 7, 9))
        star.push_back(cell);
    for (Cell cell : {Cell{8, 9}, Cell{6, 7}, Cell{5, 6}, Cell{4, 5}, Cell{3, 4}, Cell{1, 2}, Cell{0, 1}, Cell{6, 9},
                      Cell{8, 7}})
        star.push_back(cell);
    std::vector<Cell> cross = block(0, 3, 8, 5);
    for (Cell cell : block(2, 1, 4, 9))
        if (cell != Cell{2, 3})  // the chained chip loses its chain first
            cross.push_back(cell);
    cross.erase(std::find(cross.begin(), cross.end(), Cell{2, 3}));
    // The two-stage bomb stays for its second stage (the next test).
    std::vector<Cell> ring = block(4, 2, 6, 4);
    // So does the one in the wave's lane; its second stage falls before it
    // goes off.
    std::vector<Cell> lanes = block(7, 1, 8, 9);
    lanes.erase(std::find(lanes.begin(), lanes.end(), Cell{8, 6}));
    ring.erase(std::find(ring.begin(), ring.end(), Cell{5, 3}));
    const Case cases[] = {
        {"bomb", {1, 2, 2, 2}, {{0, 2}, {1, 2}, {2, 2}, {0, 3}, {1, 3}, {0, 4}, {1, 4}, {2, 4}}},
        {"two-stage bomb", {6, 3, 7, 3}, ring},
        {"horizontal wave", {1, 5, 2, 5}, block(0, 6, 8, 6)},
        {"three-lane vertical wave", {7, 3, 7, 4}, lanes},
        {"three-lane cross", {2, 5, 3, 5}, cross},
        {"super bomb", {0, 8, 0, 9}, {{1, 7}, {2, 7}, {3, 7}, {0, 8}, {1, 8}, {2, 8}, {3, 8}, {4, 8}, {0, 9}, {1, 9},
                                      {2, 9}, {3, 9}, {4, 9}}},
        {"star", {5, 8, 6, 8}, star},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startSettled("test_specials_lua");
        const std::vector<std::string> lines = play(c.swap[0], c.swap[1], c.swap[2], c.swap[3]);
        EXPECT_EQ(count(lines, "mode onPlayerMove"), 1);
        const std::set<Cell> removed = removedCells(lines);
        for (const Cell& cell : c.cells)
            EXPECT_TRUE(removed.count(cell)) << cell.first << "," << cell.second;
    }
}

TEST_F(BoardPlayTest, TheSmallBombBreaksTheWallAndTheChainBesideIt)
{
    startSettled("test_specials_lua");
    ASSERT_EQ(nameAt(0, 3), "Wall");
    ASSERT_EQ(nameAt(2, 3), "Chain_Y");
    Chip* chained = chipAt(2, 3);
    const std::vector<std::string> lines = play(1, 2, 2, 2);
    EXPECT_TRUE(removedCells(lines).count({0, 3}));
    EXPECT_EQ(count(lines, "mode addScore 4 30 0,3"), 1);   // the wall's layer
    EXPECT_EQ(count(lines, "mode addScore 2 30 2,3"), 1);   // the chain, not the chip
    EXPECT_FALSE(removedCells(lines).count({2, 3}));
    EXPECT_FALSE(chained->released);
    EXPECT_TRUE(chained->canFall());
}

TEST_F(BoardPlayTest, TheTwoStageBombGoesOffAgainAfterItsTimer)
{
    startSettled("test_specials_lua");
    const size_t mark = outputLines().size();
    mSim->execute("swap 6 3 7 3");
    bool sawSecondStage = false;
    for (int i = 0; i < 60 * 5; ++i) {
        mSim->frame();
        sawSecondStage = sawSecondStage || field().hasBombStage2Chip();
    }
    EXPECT_TRUE(sawSecondStage);
    EXPECT_FALSE(field().hasBombStage2Chip());
    const std::vector<std::string> lines = outputLines();
    const std::vector<std::string> after(lines.begin() + static_cast<long>(mark), lines.end());
    EXPECT_EQ(count(after, "mode addScore 10 "), 1);  // the first stage
    EXPECT_EQ(count(after, "mode addScore 11 "), 1);  // the second
}

// Idle means nothing changes without input: after a "settled", two seconds
// without a click leave the board as it was. Each game is replayed up to
// every one of its swaps, so that the check follows each "settled" just as
// the next swap would. The swaps reach the specials of the fixed level (the
// first sets off the two-stage bomb, whose second stage arms itself and
// counts down) and play the random ones.
TEST_F(BoardPlayTest, ASettledBoardStaysAsItIsWithoutInput)
{
    const struct {
        const char* level;
        uint32_t seed;
        std::vector<std::array<int, 4>> swaps;
    } games[] = {
        {"test_specials_lua", 5, {{6, 4, 5, 4}, {6, 3, 7, 3}, {1, 5, 2, 5}, {7, 3, 7, 4}, {1, 2, 2, 2}}},
        {"test_random_lua", 7, {{0, 2, 1, 2}, {3, 3, 4, 3}, {4, 5, 4, 6}, {2, 8, 3, 8}}},
        {"test_random_lua", 42, {{1, 1, 2, 1}, {3, 4, 3, 5}, {6, 6, 7, 6}}},
        {"test_no_moves_lua", 2, {{0, 1, 1, 1}}},
    };
    for (const auto& game : games) {
        for (size_t played = 0; played <= game.swaps.size(); ++played) {
            SCOPED_TRACE(testing::Message() << game.level << " seed " << game.seed << " after " << played
                                            << " swaps");
            start(game.level, game.seed);
            float seconds = 0.0f;
            ASSERT_TRUE(mSim->settle(seconds));
            for (size_t i = 0; i < played; ++i) {
                const std::array<int, 4>& swap = game.swaps[i];
                mSim->execute("swap " + std::to_string(swap[0]) + " " + std::to_string(swap[1]) + " " +
                              std::to_string(swap[2]) + " " + std::to_string(swap[3]));
                ASSERT_TRUE(mSim->settle(seconds));
            }
            auto dump = [&] {
                const size_t mark = mOut.str().size();
                mSim->execute("dump");
                return mOut.str().substr(mark);
            };
            const std::string before = dump();
            mSim->step(2.0f);
            EXPECT_EQ(dump(), before);
            mSim.reset();
        }
    }
}

TEST_F(BoardPlayTest, TheColourDestroyerTakesAColourOrTransformsItFirst)
{
    struct Case {
        const char* what;
        int swap[4];
        int colour;  // of the other chip
        std::vector<const char*> madeTypes;
    };
    const Case cases[] = {
        {"with a plain chip", {7, 6, 6, 6}, 1, {}},
        {"with a bomb", {7, 6, 8, 6}, 1, {"mode addScore 13 "}},
        {"with a wave", {7, 6, 7, 7}, 4, {"mode addScore 15 ", "mode addScore 16 "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        startSettled("test_specials_lua");
        int plain = 0;
        std::vector<Cell> ofColour;
        for (int row = 1; row <= field().gridHeight; ++row) {
            for (int column = 0; column < field().gridWidth; ++column) {
                Chip* chip = chipAt(column, row);
                if (chip->colour != c.colour)
                    continue;
                ofColour.push_back({column, row});
                plain += chip->layers.size() == 1 && chip->hasBehavior(BEHAVIOR_SIMPLE);
            }
        }
        const std::vector<std::string> lines = play(c.swap[0], c.swap[1], c.swap[2], c.swap[3]);
        EXPECT_EQ(count(lines, "mode onPlayerMove 7,6"), 1);
        if (c.madeTypes.empty()) {
            // Every chip of the colour went, from where it stood.
            const std::set<Cell> removed = removedCells(lines);
            for (const Cell& cell : ofColour)
                EXPECT_TRUE(removed.count(cell)) << cell.first << "," << cell.second;
        } else {
            // Every plain chip of the colour was made a bonus chip, and all
            // of them went off.
            int made = 0;
            for (const char* prefix : c.madeTypes)
                made += count(lines, prefix);
            EXPECT_GE(made, plain);
        }
        EXPECT_EQ(field().taskManager->count, 0);
    }
}

TEST_F(BoardPlayTest, TheFallingGoalLeavesAtTheFloorAndTheBoardPlaysOn)
{
    addLevel("goal_lua",
             "GameField = { AvailableChips = { 'Simple_R', 'Simple_G', 'Simple_B' },\n"
             "  Grid = { Cells = { { PosX = 1, PosY = 4, Solidity = 0 } } },\n"
             "  Chips = { { Type = 'FallingLevelGoal', PosX = 1, PosY = 1 },\n"
             "    { Type = 'Simple_R', PosX = 0, PosY = 1 }, { Type = 'Simple_G', PosX = 1, PosY = 2 },\n"
             "    { Type = 'Simple_B', PosX = 2, PosY = 1 }, { Type = 'Simple_G', PosX = 0, PosY = 2 },\n"
             "    { Type = 'Simple_B', PosX = 1, PosY = 3 }, { Type = 'Simple_R', PosX = 2, PosY = 2 },\n"
             "    { Type = 'Simple_B', PosX = 0, PosY = 3 }, { Type = 'Simple_G', PosX = 2, PosY = 3 },\n"
             "    { Type = 'Simple_R', PosX = 0, PosY = 4 }, { Type = 'Simple_G', PosX = 2, PosY = 4 } } }\n");
    useParameters(BoardSimFixture::parameters(3, 4));
    startSettled("goal_lua");
    ASSERT_EQ(nameAt(1, 1), "FallingLevelGoal");
    const size_t mark = outputLines().size();
    field().queueDestroyChipInCell(1, 3, 0.0f);
    field().queueDestroyChipInCell(1, 2, 0.0f);
    settle();
    const std::vector<std::string> lines = outputLines();
    const std::vector<std::string> after(lines.begin() + static_cast<long>(mark), lines.end());
    // Counted as gone with its goal layer, from the bottom cell.
    EXPECT_EQ(count(after, "mode onChipDestroyed 1,3 -1 8"), 1);
    EXPECT_EQ(count(after, "mode addScore 8 500 1,3"), 1);
    EXPECT_EQ(field().taskManager->count, 0);
    mSim->execute("click 0 1");
    EXPECT_NE(field().selectedChip, nullptr);
}

TEST_F(BoardPlayTest, TheHintShowsTheFirstMoveAfterTheConfiguredPeriod)
{
    startSettled("test_specials_lua");
    field().moveHint->reset();  // as a destroyed chip does
    FieldCell* pair[2];
    field().moveHint->findMove(pair);
    ASSERT_NE(pair[0], nullptr);
    mSim->step(4.9f);
    EXPECT_FALSE(field().moveHint->shown);
    mSim->step(0.2f);
    EXPECT_TRUE(field().moveHint->shown);
    ASSERT_EQ(field().moveHint->positions.size(), 2u);
    const float size = static_cast<float>(field().cellSize);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(field().moveHint->positions[i],
                  VQ::Vector2f(size * (pair[i]->column + 0.5f), size * (pair[i]->row + 0.5f)));
    // The shipped effect, restarted when shown and advanced from then on.
    VQ::ParticleFX* effect = field().moveHint->effect;
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->name, "hint_fx");
    mSim->step(1.0f);
    int alive = 0;
    for (const VQ::ParticleEmitter* emitter : effect->mParticleEmitters)
        alive += emitter->aliveCount;
    EXPECT_GT(alive, 0);
    for (const std::string& line : logLines())
        EXPECT_EQ(line.find("WARNING"), std::string::npos) << line;
}

TEST_F(BoardPlayTest, AMissingHintEffectIsReportedOnceAndTheHintRunsWithoutIt)
{
    removeResource("hint_fx");
    startSettled("test_specials_lua");
    mSim->step(6.0f);
    EXPECT_TRUE(field().moveHint->shown);
    EXPECT_EQ(field().moveHint->effect, nullptr);
    field().moveHint->draw();
    int warnings = 0;
    for (const std::string& line : logLines())
        warnings += line.rfind("WARNING: ", 0) == 0 && line.find("hint_fx") != std::string::npos;
    EXPECT_EQ(warnings, 1);
}

TEST_F(BoardPlayTest, ABoardWithoutMovesIsReportedEverySecondAndReshuffled)
{
    startSettled("test_no_moves_lua");
    // The entry has taken the idle clock past a second already: the report
    // comes as soon as the board has settled. From a fresh clock:
    field().moveHint->reset();
    const int first = countOutput("mode onNoPossibleMoves");
    EXPECT_LE(first, 1);
    mSim->step(0.9f);
    EXPECT_EQ(countOutput("mode onNoPossibleMoves"), first);
    mSim->step(0.2f);
    EXPECT_EQ(countOutput("mode onNoPossibleMoves"), first + 1);
    mSim->step(3.0f);
    EXPECT_EQ(countOutput("mode onNoPossibleMoves"), first + 4);

    ASSERT_TRUE(field().mixChips());
    EXPECT_TRUE(field().appearance->isRunning());
    settle();
    EXPECT_FALSE(anyReadyLine());
    FieldCell* pair[2];
    field().moveHint->findMove(pair);
    EXPECT_NE(pair[0], nullptr);
    const int reports = countOutput("mode onNoPossibleMoves");
    mSim->step(3.0f);
    EXPECT_EQ(countOutput("mode onNoPossibleMoves"), reports);
}

TEST_F(BoardPlayTest, WaveEffectsRunAlongTheLanesAndLeaveTheBoardWithinASecond)
{
    startSettled("test_specials_lua");
    mSim->execute("swap 1 5 2 5");  // the horizontal wave
    // Each drawable's own time: the board holds its effect list while a
    // reshuffle plays, so frames alone do not tell.
    std::map<Drawable*, float> lived;
    int busiest = 0;
    for (int frame = 0; frame < 600 && (frame < 30 || !field().effectDrawables.empty()); ++frame) {
        mSim->frame();
        for (const EffectDrawable& entry : field().effectDrawables) {
            auto* particles = dynamic_cast<ParticleFXDrawable*>(entry.drawable);
            ASSERT_NE(particles, nullptr);
            // The destroyed chips' bursts run beside the lanes.
            if (particles->name.rfind("wave_", 0) != 0)
                continue;
            if (particles->effect)
                lived[entry.drawable] = particles->effect->mParticleEmitters[0]->elapsed;
        }
        busiest = std::max(busiest, static_cast<int>(field().effectDrawables.size()));
    }
    EXPECT_GE(busiest, 4);
    EXPECT_GE(lived.size(), 8u);  // one a cell of the lane
    for (const auto& [drawable, seconds] : lived)
        EXPECT_LE(seconds, 1.0f);
    EXPECT_TRUE(field().effectDrawables.empty());
}

TEST_F(BoardPlayTest, TheSameSeedAndClicksGiveTheSameGame)
{
    const std::string commands[] = {"settle", "swap 7 6 8 6", "settle", "swap 1 2 2 2", "step 2", "dump",
                                    "swap 0 8 0 9", "settle", "dump"};
    std::string outputs[2];
    for (std::string& output : outputs) {
        std::ostringstream out;
        BoardSim::useSeed(11);
        {
            BoardSim sim(out);
            sim.start("media", "test_specials_lua");
            for (const std::string& command : commands)
                sim.execute(command);
        }
        output = out.str();
    }
    EXPECT_EQ(outputs[0], outputs[1]);
    EXPECT_GT(outputs[0].size(), 1000u);
}

}  // namespace

TEST_F(BoardPlayTest, AHundredSwapsPlayTheirSoundsToTheEndWithoutRunningOutOfHandles)
{
    startSettled("test_random_lua", 3);
    int swaps = 0;
    for (; swaps < 100 && mSim->playRandomUsefulSwap(); ++swaps)
        settle();
    EXPECT_GT(swaps, 20);
    const std::vector<std::string> log = logLines();
    EXPECT_EQ(std::count(log.begin(), log.end(), "ERROR: SoundManager::createSound Can't play sound"), 0);
}
