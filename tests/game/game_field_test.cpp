#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "board_sim_fixture.h"
#include "board_tasks.h"
#include "drawable.h"
#include "field_tasks.h"
#include "game_field.h"
#include "move_hint.h"
#include "sound_system/sound_manager.h"
#include "sound_system/sound_oal.h"
#include "support/test_support.h"
#include "task_manager.h"

using namespace BoardSimFixture;

#include "test_drawable.h"

namespace {

class GameFieldTest : public BoardSimTest {};

std::vector<std::string> linesFrom(const std::vector<std::string>& lines, const std::vector<std::string>& wanted)
{
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (std::find(wanted.begin(), wanted.end(), line) != wanted.end())
            found.push_back(line);
    return found;
}

TEST_F(GameFieldTest, RandomStartLevelLoadsWhereTheLevelPutsItsCells)
{
    start("test_random_lua", 7);
    GameField& board = field();
    ASSERT_TRUE(board.active);
    EXPECT_EQ(board.gridWidth, 9);
    EXPECT_EQ(board.gridHeight, 9);
    EXPECT_EQ(board.rows.size(), 10u);
    EXPECT_EQ(board.cellAt(0, 1)->solidity, 0);
    EXPECT_EQ(board.cellAt(8, 1)->solidity, 0);
    EXPECT_EQ(board.cellAt(0, 1)->chip, nullptr);
    EXPECT_EQ(board.cellAt(2, 9)->solidity, 2);
    EXPECT_EQ(board.cellAt(3, 7)->solidity, 3);
    EXPECT_EQ(board.cellAt(1, 9)->solidity, 1);
    EXPECT_EQ(nameAt(1, 5), "Wall");
    EXPECT_EQ(nameAt(2, 5), "DWall");
    EXPECT_EQ(nameAt(6, 5), "CWall_R");
    EXPECT_EQ(nameAt(3, 3), "Chain_B");
    EXPECT_EQ(nameAt(4, 1), "FallingLevelGoal");
    // Every playable cell holds a chip, none of them in a ready line.
    for (int row = 1; row <= 9; ++row)
        for (int column = 0; column < 9; ++column)
            EXPECT_EQ(board.cellAt(column, row)->chip != nullptr, board.cellAt(column, row)->solidity > 0);
    // Tiles: ten of one layer, two of two; one falling goal; the walls'
    // layers (two walls, a double wall, a coloured wall).
    EXPECT_EQ(board.goalUnits, 10 + 4 + 1 + 5);

    EXPECT_EQ(linesFrom(logLines(), {"void GameField::initialize() -begin", "ChipManager initialized...",
                                     "void GameField::initialize() -end", "Loading level 'test_random_lua'",
                                     "Loading done."}),
              (std::vector<std::string>{"void GameField::initialize() -begin", "ChipManager initialized...",
                                        "void GameField::initialize() -end", "Loading level 'test_random_lua'",
                                        "Loading done."}));
    EXPECT_EQ(outputLines(), std::vector<std::string>{"mode setupLevelRules"});
    EXPECT_EQ(renderer().cellHighlightBuilds, 1);
    EXPECT_EQ(renderer().drawListClears, 1);

    // Once the chips stand in their cells: no ready line, a move to make.
    ASSERT_NO_FATAL_FAILURE(finishEntry());
    EXPECT_FALSE(anyReadyLine());
    EXPECT_EQ(board.taskManager->count, 0);
    FieldCell* move[2];
    board.moveHint->findMove(move);
    EXPECT_NE(move[0], nullptr);
    EXPECT_EQ(outputLines(), (std::vector<std::string>{"mode setupLevelRules", "mode onLevelBegin"}));
}

TEST_F(GameFieldTest, LevelScriptsAreReadAsTheirKeysSay)
{
    useParameters(parameters(4, 3));
    addLevel("shapes_lua", R"(
        GameField = {
            Grid = { Cells = {
                { PosX = 0, PosY = 0, Solidity = 0 },     -- row 0 cannot be shaped
                { PosX = 1, PosY = 3, Solidity = "0" },   -- the last row can; numeric text
                { PosX = 2, PosY = 2 },                   -- no solidity: plain
                { PosX = 3, PosY = 1, Solidity = 3.9 },   -- truncated
                { PosX = 4, PosY = 1, Solidity = 0 },     -- outside
                "not a table",
            } },
            AvailableChips = { "Simple_R", "Simple_G", "NoSuchChip", {} },
            Chips = {
                { Type = "Simple_B", PosX = 0, PosY = 1 },
                { Type = "Simple_B", PosX = 1, PosY = 0 },   -- row 0: dropped
                { Type = "Simple_B", PosX = 9, PosY = 1 },   -- outside: dropped
                { PosX = 2, PosY = 1 },                      -- no type: skipped
                { Type = "ChainBomb_R", PosX = 1, PosY = 1, data = { limit = 5, chains = "2", other = 1 } },
                { Type = "ChipGenerator", PosX = 2, PosY = 3, Radius = "3", data = { limit = 4, radius = 2 } },
                { Type = "ChipGeneratorX", PosX = 3, PosY = 3, data = { limit = 4 } },
                -- No move on this board: every placement attempt makes it again.
                { Type = "FallingLevelGoal", PosX = 3, PosY = 2 },
            },
        })");
    // Prototypes that read level data.
    const std::string prototypes = (media() / "scripts/chip_prototypes.lua").string();
    TestSupport::writeFile(prototypes, TestSupport::readFile(prototypes) + R"(
        for _, name in ipairs({ "ChainBomb", "ChipGenerator", "ChipGeneratorX" }) do
            table.insert(ChipPrototypes, { Name = name, Behavior = { { Name = "Simple", MultipleColors = name == "ChainBomb" and 1 or 0 } } })
        end)");
    start("shapes_lua");
    GameField& board = field();
    EXPECT_EQ(board.cellAt(0, 0)->solidity, 1);
    EXPECT_EQ(board.cellAt(1, 3)->solidity, 0);
    EXPECT_EQ(board.cellAt(2, 2)->solidity, 1);
    EXPECT_EQ(board.cellAt(3, 1)->solidity, 3);
    EXPECT_EQ(board.chipManager->available.size(), 2u);
    EXPECT_EQ(nameAt(0, 1), "Simple_B");
    EXPECT_EQ(board.cellAt(1, 0)->chip, nullptr);
    EXPECT_EQ(board.cellAt(2, 1)->chip, nullptr);
    // The tile's two layers and the one goal on the board.
    EXPECT_EQ(board.goalUnits, 2 + 1);

    Chip* chainBomb = chipAt(1, 1);
    ASSERT_NE(chainBomb, nullptr);
    EXPECT_EQ(chainBomb->userData.size(), 2u);
    EXPECT_EQ(chainBomb->getUserData("limit").value->asInt(), 5);
    EXPECT_EQ(chainBomb->getUserData("chains").value->asInt(), 2);
    Chip* generator = chipAt(2, 3);
    ASSERT_NE(generator, nullptr);
    EXPECT_EQ(generator->radius, 3);
    EXPECT_EQ(generator->getUserData("radius").value->asInt(), 2);
    EXPECT_EQ(generator->getUserData("limit").value->asInt(), 4);
    ASSERT_NE(chipAt(3, 3), nullptr);
    EXPECT_TRUE(chipAt(3, 3)->userData.empty());
}

TEST_F(GameFieldTest, BrokenLevelsAreReportedAndLeaveTheBoardStill)
{
    struct Case {
        const char* name;
        const char* text;  // null: no such resource
        const char* error;
    } cases[] = {
        {"missing_lua", nullptr, "ERROR: Level 'missing_lua' could not be loaded or run (not found)"},
        {"syntax_lua", "GameField = {",
         "ERROR: Level 'syntax_lua' could not be loaded or run: [string \"syntax_lua\"]:1: unexpected symbol near "
         "'<eof>'"},
        {"throws_lua", "error('broken')",
         "ERROR: Level 'throws_lua' could not be loaded or run: [string \"throws_lua\"]:1: broken"},
        {"number_lua", "GameField = 3", "ERROR: Level 'number_lua' has no GameField table"},
        {"nogrid_lua", "GameField = { Chips = { { Type = 'Simple_R', PosX = 0, PosY = 1 } } }",
         "ERROR: Level 'nogrid_lua' has no Grid table"},
    };
    for (const Case& c : cases)
        if (c.text)
            addLevel(c.name, c.text);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        start(c.name);
        EXPECT_EQ(field().lastRow(), -1);
        EXPECT_EQ(field().columnCount(), 0);
        const std::vector<std::string> log = logLines();
        EXPECT_NE(std::find(log.begin(), log.end(), c.error), log.end());
        EXPECT_FALSE(field().active);
        // The grid's sizes stand but it has no cells: input from outside
        // the board is ignored, whatever cell it names.
        GameField& board = field();
        for (const auto& [column, row] : {std::pair{0, 1}, {1, 1}, {0, 0}, {8, 9}, {-1, 2}, {400, 1}}) {
            const int cell[2] = {column, row};
            board.onCellClicked(cell);
            board.queueDestroyChipInCell(column, row, 0.0f);
            board.destroyChipAt(column, row);
            destroyChipInCell(&board, board.cellAt(column, row), nullptr, 0.0f, 0.0f);
        }
        EXPECT_EQ(board.selectedChip, nullptr);
        EXPECT_EQ(board.taskManager->count, 0);
        EXPECT_FALSE(board.mixChips());
        EXPECT_FALSE(board.runMatchPass(true));
        for (const char* command : {"click 0 1", "swap 0 1 1 1", "step 0.5", "dump"})
            EXPECT_TRUE(mSim->execute(command));
        for (int i = 0; i < 10; ++i)
            mSim->frame();
        float seconds = 0.0f;
        EXPECT_FALSE(mSim->settle(seconds));
        mSim.reset();
    }
}

TEST_F(GameFieldTest, BadGridSizesAreFatal)
{
    const char* bad[] = {"gridWidth = 0", "gridWidth = 257", "gridHeight = 0", "gridHeight = 256", "cellSize = 0"};
    for (const char* setting : bad) {
        SCOPED_TRACE(setting);
        useParameters(std::string("Parameters = { ") + setting + " }");
        const VQ::FatalReport report = TestSupport::catchFatal([&] { start("test_random_lua"); });
        EXPECT_EQ(report.file, "GameField");
        EXPECT_EQ(report.line, 247);
        EXPECT_NE(report.description.find("Failed to load config file"), std::string::npos);
        mSim.reset();
    }
    addLevel("plain_lua", "GameField = { Grid = {} }");
    for (const char* limits : {"gridWidth = 256, gridHeight = 2, cellSize = 1", "gridWidth = 1, gridHeight = 255"}) {
        useParameters(std::string("Parameters = { ") + limits + " }");
        EXPECT_EQ(TestSupport::catchFatal([&] { start("plain_lua"); }).line, -1) << limits;
        EXPECT_TRUE(field().active);
        mSim.reset();
    }
    useParameters("Settings = {}");
    EXPECT_EQ(TestSupport::catchFatal([&] { start("plain_lua"); }).line, 248);
}

TEST_F(GameFieldTest, MissingParametersKeepTheirDefaults)
{
    useParameters("Parameters = { cellSize = 'big' }");
    addLevel("plain_lua", "GameField = { Grid = {} }");
    start("plain_lua");
    EXPECT_EQ(field().gridWidth, 21);
    EXPECT_EQ(field().rows.size(), 16u);
    EXPECT_EQ(field().cellSize, 43);
    EXPECT_FLOAT_EQ(field().chipAcceleration, 20.0f);
    EXPECT_FLOAT_EQ(field().fallShakingTime, 0.15f);
    EXPECT_TRUE(field().drawBehaviors);
    // The cell at column 0, row 1 waits longest before flying in.
    EXPECT_FLOAT_EQ(field().cellAt(0, 1)->appearAnimation->durations()[0], 1.0f - 1.0f / 36.0f);
}

// Each cell flies in from up and left, turning and growing, and comes to
// rest in its place, whole and opaque.
TEST_F(GameFieldTest, CellsFlyInToTheirPlaces)
{
    start("test_random_lua", 7);
    const float size = static_cast<float>(field().cellSize);
    FieldCell* cell = field().cellAt(3, 2);
    VQ::Animation& flight = *cell->appearAnimation;
    const VQ::Vector2f at(size * 3, size * 2);
    const VQ::Vector2f away(at.x - 256, at.y - 128);
    const VQ::Color clear(0x00FFFFFFu), opaque(0xFFFFFFFFu);
    const struct {
        VQ::Vector2f pos, scale;
        float angle;
        VQ::Color color;
    } keys[] = {
        {away, {0, 0}, 180, clear},
        {away, {0, 0}, 180, clear},
        {{at.x, at.y - 128}, {0.5f, 0.5f}, 90, clear},
        {at, {1, 1}, 0, opaque},
    };
    for (unsigned frame = 0; frame < 4; ++frame) {
        SCOPED_TRACE(frame);
        EXPECT_EQ(*flight.vector2KeyAt("pos", frame), keys[frame].pos);
        EXPECT_EQ(*flight.vector2KeyAt("scale", frame), keys[frame].scale);
        EXPECT_FLOAT_EQ(*flight.floatKeyAt("angle", frame), keys[frame].angle);
        EXPECT_EQ(*flight.colorKeyAt("color", frame), keys[frame].color);
    }
    for (int i = 0; i < 120; ++i)
        mSim->frame();
    EXPECT_EQ(cell->screenPosition, at);
    EXPECT_EQ(cell->scale, VQ::Vector2f(1, 1));
    EXPECT_FLOAT_EQ(cell->angle, 0.0f);
    EXPECT_EQ(cell->color, opaque);
}

// However many tiles are hit in a frame, their sound plays once; the next
// frame's hits play it again.
TEST_F(GameFieldTest, TheTileSoundPlaysOnceAFrame)
{
    addLevel("tiles_lua", "GameField = { Grid = { Cells = { { PosX = 0, PosY = 1, Solidity = 4 }, "
                          "{ PosX = 1, PosY = 1, Solidity = 4 }, { PosX = 2, PosY = 1, Solidity = 4 } } } }");
    start("tiles_lua", 3);
    GameField& board = field();
    auto playingTileSounds = [&] {
        int count = 0;
        for (int handle = 1; handle < VQ::SoundManager::MAX_SOUNDS; ++handle)
            if (const VQ::SoundOal* sound = VQ::SoundManager::instance()->sound(handle))
                count += sound->resource == VQ::SoundManager::instance()->resource(board.tileSound);
        return count;
    };
    ASSERT_NE(board.tileSound, 0);
    ASSERT_EQ(playingTileSounds(), 0);
    for (int column = 0; column < 3; ++column)
        board.reduceCell(board.cellAt(column, 1));
    EXPECT_EQ(playingTileSounds(), 1);
    mSim->frame();
    for (int column = 0; column < 3; ++column)
        board.reduceCell(board.cellAt(column, 1));
    EXPECT_EQ(playingTileSounds(), 2);
    EXPECT_EQ(board.cellAt(2, 1)->solidity, 2);
}

TEST_F(GameFieldTest, ABoardWithoutStartChipsFillsBySpawningAndSettles)
{
    addLevel("empty_lua", R"(
        GameField = {
            Grid = { Cells = { { PosX = 4, PosY = 5, Solidity = 0 }, { PosX = 0, PosY = 9, Solidity = 0 } } },
            AvailableChips = { "Simple_R", "Simple_G", "Simple_B", "Simple_Y" },
        })");
    BoardSim& sim = start("empty_lua", 3);
    float seconds = 0.0f;
    ASSERT_TRUE(sim.settle(seconds));
    EXPECT_GT(seconds, 1.0f);
    for (int row = 1; row <= 9; ++row)
        for (int column = 0; column < 9; ++column) {
            const FieldCell* cell = field().cellAt(column, row);
            EXPECT_EQ(cell->chip != nullptr, cell->solidity > 0) << column << "," << row;
        }
    EXPECT_FALSE(anyReadyLine());
    EXPECT_TRUE(field().taskManager->tasks.empty());
}

// One column, a chip on top of four empty cells.
class OneColumnTest : public GameFieldTest {
protected:
    void SetUp() override
    {
        GameFieldTest::SetUp();
        useParameters(parameters(1, 5));
        addLevel("column_lua", R"(
            GameField = {
                Grid = {},
                AvailableChips = { "Simple_R" },
                Chips = { { Type = "Simple_G", PosX = 0, PosY = 1 } },
            })");
        start("column_lua");
        // No spawning: the one colour would make lines of its own.
        field().spawnEnabled = false;
        mChip = chipAt(0, 1);
        ASSERT_NE(mChip, nullptr);
    }
    // Frames of `dt` until the entry is over.
    void runEntry(float dt)
    {
        for (int i = 0; i < 1000 && !field().levelBeginReported; ++i)
            field().update(dt);
    }
    Chip* mChip = nullptr;
};

TEST_F(OneColumnTest, AFallAcceleratesAndEndsWithAWobble)
{
    // Wait for the entry with the chip held, then let it go.
    field().gravityEnabled = false;
    runEntry(0.016f);
    ASSERT_FALSE(mChip->falling);
    field().gravityEnabled = true;
    field().update(0.016f);
    ASSERT_TRUE(mChip->falling);
    EXPECT_FLOAT_EQ(mChip->targetY, 5.5f);
    EXPECT_TRUE(field().cellAt(0, 5)->reserved);
    EXPECT_NEAR(mChip->y, 1.5f + 0.12512f, 1e-5);
    EXPECT_NEAR(mChip->fallSpeed, 7.82f, 1e-5);
    EXPECT_TRUE(field().moving);

    for (int i = 0; i < 100 && mChip->falling; ++i)
        field().update(0.016f);
    EXPECT_FALSE(mChip->falling);
    EXPECT_FLOAT_EQ(mChip->y, 5.5f);
    EXPECT_FALSE(field().cellAt(0, 5)->reserved);
    EXPECT_EQ(field().cellAt(0, 5)->chip, mChip);
    EXPECT_FLOAT_EQ(mChip->fallSpeed, 7.5f);
    EXPECT_FLOAT_EQ(mChip->pushY, 0.08f);
    EXPECT_FLOAT_EQ(mChip->wobbleTotal, 0.15f);
    EXPECT_FLOAT_EQ(mChip->wobbleLeft, 0.15f);
    field().update(0.05f);
    const float k = 1.0f - 0.1f / 0.15f;
    EXPECT_NEAR(mChip->wobbleY, 0.08f * std::sin(6.2831855f * k) * (1.0f - k), 1e-5);
    field().update(0.2f);
    EXPECT_EQ(mChip->wobbleY, 0.0f);
}

TEST_F(OneColumnTest, AFallDelayHoldsTheChipsAboveForAQuarterSecond)
{
    runEntry(1.0f / 60.0f);
    for (int i = 0; i < 200 && (mChip->falling || mChip->y < 5.0f); ++i)
        mSim->frame();
    ASSERT_FLOAT_EQ(mChip->y, 5.5f);
    // A chip on the landed one, and the landed one destroyed.
    Chip* above = field().chipManager->createChip("Simple_B", 0, 4, 1, {});
    field().relinkChips();
    mChip->destroyInField(&field(), false, false);
    ASSERT_TRUE(mChip->released);
    ASSERT_EQ(field().fallDelays.size(), 1u);
    EXPECT_FLOAT_EQ(field().fallDelays[0].timeLeft, 0.23f);
    EXPECT_EQ(field().fallDelays[0].row, 5);
    field().spawnEnabled = true;
    int frames = 0;
    while (above->y == 4.5f && frames < 60) {
        mSim->frame();
        ++frames;
        if (above->y == 4.5f) {
            EXPECT_EQ(field().cellAt(0, 1)->chip, nullptr) << "spawned into a held column";
        }
    }
    // The delay runs out in the 14th frame (0.2333 s), which moves the chip.
    EXPECT_EQ(frames, 14);
    EXPECT_TRUE(field().fallDelays.empty());
}

// A line of three on a tile, with walls above and below it:
//   row 1:  G     Wall     CWall_R  CWall_G  B
//   row 2:  B     R        R(+1)    R        G
//   row 3:  Y     DWall    Chain_B  Y        B
class DestroyTest : public GameFieldTest {
protected:
    void SetUp() override
    {
        GameFieldTest::SetUp();
        useParameters(parameters(5, 3));
        addLevel("line_lua", R"(
            local layout = {
                { "Simple_G", "Wall", "CWall_R", "CWall_G", "Simple_B" },
                { "Simple_B", "Simple_R", "Simple_R", "Simple_R", "Simple_G" },
                { "Simple_Y", "DWall", "Chain_B", "Simple_Y", "Simple_B" },
            }
            GameField = {
                Grid = { Cells = { { PosX = 2, PosY = 2, Solidity = 2 } } },
                AvailableChips = { "Simple_R", "Simple_G", "Simple_B", "Simple_Y" },
                Chips = {},
            }
            for row, names in ipairs(layout) do
                for column, name in ipairs(names) do
                    table.insert(GameField.Chips, { Type = name, PosX = column - 1, PosY = row })
                end
            end)");
        start("line_lua");
        ASSERT_NO_FATAL_FAILURE(finishEntry());
    }
};

TEST_F(DestroyTest, TheMatchPassDestroysALineAndHitsItsTileAndWalls)
{
    // The entry's last frame ran the match pass.
    EXPECT_EQ(countOutput("mode onMatch row 1,2 2,2 3,2"), 1);
    TaskManager& tasks = *field().taskManager;
    ASSERT_EQ(tasks.count, 3);
    for (Task* task : tasks.tasks) {
        auto* destroy = dynamic_cast<DestroyChipTask*>(task);
        ASSERT_NE(destroy, nullptr);
        EXPECT_TRUE(destroy->notifyNeighbours);
        EXPECT_TRUE(destroy->blockWhileRunning && destroy->blockWhileDelayed);
        EXPECT_NEAR(destroy->delay, 0.12f, 1e-6);
        EXPECT_EQ(destroy->chip->getUserData("lock").value->asString(), "1");
    }
    Chip* wall = chipAt(1, 1);
    Chip* redWall = chipAt(2, 1);
    Chip* greenWall = chipAt(3, 1);
    Chip* doubleWall = chipAt(1, 3);
    Chip* chained = chipAt(2, 3);
    Chip* middle = chipAt(2, 2);

    mSim->step(0.1f);
    EXPECT_FALSE(middle->released);
    mSim->step(0.05f);
    EXPECT_TRUE(middle->released);
    EXPECT_EQ(field().cellAt(2, 2)->solidity, 1);
    EXPECT_EQ(countOutput("mode onTileHit 2,2 1"), 1);
    EXPECT_EQ(renderer().tileExplosions.size(), 1u);
    EXPECT_EQ(countOutput("mode onChipDestroyed"), 3 + 2);

    EXPECT_TRUE(wall->released || wall->layers.empty());
    EXPECT_TRUE(redWall->layers.empty());
    EXPECT_EQ(greenWall->layers.size(), 1u);
    EXPECT_EQ(doubleWall->layers.size(), 1u);
    EXPECT_EQ(doubleWall->layers.top()->type, BEHAVIOR_WALL);
    EXPECT_EQ(chained->layers.size(), 2u);
    // Each destroyed chip holds its column for a while.
    EXPECT_EQ(field().fallDelays.size(), 3u);

    float seconds = 0.0f;
    EXPECT_TRUE(mSim->settle(seconds));
    EXPECT_FALSE(anyReadyLine());
}

TEST_F(DestroyTest, ChipsLoseOneLayerAtATime)
{
    Chip* chained = chipAt(2, 3);
    Chip* gone = chipAt(2, 1);
    mSim->step(0.2f);
    ASSERT_TRUE(gone->released);
    chained->hitThisPass = false;
    chained->destroyInField(&field(), false, false);
    EXPECT_FALSE(chained->released);
    EXPECT_EQ(chained->layers.size(), 1u);
    EXPECT_EQ(field().cellAt(2, 3)->chip, chained);
    // No fall delay and no tile hit for a layer that leaves the chip.
    EXPECT_EQ(field().fallDelays.size(), 3u);
    // Destroying a released chip does nothing.
    const std::string before = mOut.str();
    gone->destroyInField(&field(), true, true);
    EXPECT_EQ(mOut.str(), before);
}

TEST_F(DestroyTest, ALayerlessNeighbourIsReportedOnce)
{
    Chip* wall = chipAt(1, 1);
    Chip* left = chipAt(1, 2);
    left->layers.deleteAll();
    wall->onNeighbourDestroyed(left, &field(), false);
    ASSERT_TRUE(wall->layers.empty());
    EXPECT_EQ(countOutput("mode onChipDestroyed 1,1"), 1);
    // Hit again in a later pass, before the relink frees its cell.
    wall->hitThisPass = false;
    wall->onNeighbourDestroyed(left, &field(), true);
    EXPECT_EQ(countOutput("mode onChipDestroyed 1,1"), 1);
}

TEST_F(DestroyTest, EffectDrawablesGoWithTheBoard)
{
    const int before = TestDrawable::alive;
    field().effectDrawables.push_back({new TestDrawable(), 0.0f, 0.0f, 0});
    ASSERT_EQ(TestDrawable::alive, before + 1);
    mSim.reset();
    EXPECT_EQ(TestDrawable::alive, before);
}

TEST(GameFieldCells, CellAtTruncatesAndRejectsPositionsOutsideTheGrid)
{
    GameField field;
    field.gridWidth = 21;
    field.gridHeight = 15;
    field.buildGrid();
    struct Case {
        float x, y;
        int column, row;  // -1: none
    } cases[] = {
        {3.9f, 0.2f, 3, 0}, {-0.5f, 2.0f, 0, 2}, {21.0f, 1.0f, -1, -1}, {20.99f, 15.99f, 20, 15},
        {1.0f, 16.0f, -1, -1}, {-1.0f, 1.0f, -1, -1}, {1e20f, 1.0f, -1, -1}, {NAN, 1.0f, -1, -1},
    };
    for (const Case& c : cases) {
        const FieldCell* cell = field.cellAt(c.x, c.y);
        if (c.column < 0) {
            EXPECT_EQ(cell, nullptr) << c.x << "," << c.y;
        } else {
            ASSERT_NE(cell, nullptr) << c.x << "," << c.y;
            EXPECT_EQ(cell->column, c.column);
            EXPECT_EQ(cell->row, c.row);
        }
    }
}

}  // namespace
