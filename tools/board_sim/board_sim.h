#pragma once
// Plays one level on a board without window or sound (the board's sounds go
// to the silent device and end in game time): brings up the engine
// parts the board needs over a content root, loads the level with a
// recording mode and a renderer that draws nothing, and takes commands:
//   click C R          the cell handed to the board, as the level state does
//   swap C1 R1 C2 R2   two clicks
//   step S             S seconds of game time in frames of 1/60 s
//   settle             frames until the board is idle and no fusion
//                      slides (at most 60 s):
//                      "settled T" (game seconds) or "not settled"
//   dump               "board W H", then rows 1 .. H: "#" a hole, "." an
//                      empty cell, else the chip's prototype name; "+N"
//                      after a tile with N layers left
//   quit
// With drawing on (--draw), the real board renderer takes the null one's
// place, the board fades in over its first two seconds, and two more
// commands draw:
//   shot FILE          one frame of the board, centred on a dark backdrop,
//                      saved as PNG: "shot FILE"
//   distortion 0|1     the screen distortion pass off or on
// With the level's rules on (--rules), the limit, the goals, the score bar
// and the floating scores play with the board (see level_rules.h for the
// lines they print), and two more commands answer:
//   rules              the limit, the three goal counters, the score, busy
//   layers             as dump, each chip written as its layer types,
//                      bottom first, joined by "/"
// and the bonus rules' commands and lines (see bonus_rules.h).

#include <array>
#include <cstdint>
#include <optional>
#include <memory>
#include <ostream>
#include <string>

#include "board_drawing.h"
#include "board_renderer.h"
#include "game_state_manager.h"
#include "game_level.h"
#include "headless_engine.h"
#include "recording_mode.h"

class ChipManager;
class GameField;

// The board as `dump` prints it: "board W H", then one line per play row.
void dumpBoard(const GameField& field, std::ostream& out);

class BoardSim {
public:
    static constexpr float FRAME = 1.0f / 60.0f;
    static constexpr float SETTLE_LIMIT = 60.0f;

    explicit BoardSim(std::ostream& out);
    ~BoardSim();
    BoardSim(const BoardSim&) = delete;
    BoardSim& operator=(const BoardSim&) = delete;

    // Seeds the random sequence with `seed`, and makes every reseeding from
    // the performance counter read a counter that starts at `seed` and
    // moves on by one per read, so that a run replays byte for byte.
    static void useSeed(uint32_t seed);

    // Before start: draw with the real renderer.
    void enableDrawing() { mDrawingWanted = true; }
    // Before start: play the level under its rules.
    void enableRules() { mRulesWanted = true; }
    // Before start, with the rules: the stock of the four bonuses (all
    // unlocked) and the three boosters' flags (see bonus_rules.h).
    void setBonusStock(const std::array<int, 4>& stock) { mStock = stock; }
    void setBoosters(const std::array<int, 3>& armed) { mBoosters = armed; }
    LevelRules* rules() { return mMode.rules.get(); }
    // The engine over `contentRoot` ("VQ.log" goes to the working folder),
    // the board, and the level script `level`. False when drawing was asked
    // for and no OpenGL window can be made.
    bool start(const std::string& contentRoot, const std::string& level);
    // One command line; false for "quit". An unknown or malformed command is
    // reported on the output and ignored.
    bool execute(const std::string& line);

    void frame();
    void step(float seconds);
    // Nothing to do: GameField::isIdle.
    bool isIdle() const;
    // Frames until idle; false after SETTLE_LIMIT seconds. `seconds` receives
    // the game time it took.
    bool settle(float& seconds);
    void dump();
    // As dump, with the chips' layer types.
    void dumpLayers();

    // For benchmarks, in place of the player's two clicks: exchanges the
    // chips of a useful swap drawn at random and runs the forced match pass.
    // False when the board has no useful swap.
    bool playRandomUsefulSwap();

    GameField& field() { return *mField; }
    NullBoardRenderer& renderer() { return mRenderer; }
    // The renderer the board draws through: the null one, or the real one
    // with drawing on.
    BoardRenderer& activeRenderer() { return mBoardRenderer ? *mBoardRenderer : mRenderer; }
    BoardDrawing* drawing() { return mDrawing.get(); }
    GameLevel& level() { return mLevel; }
    RecordingMode& mode() { return mMode; }
    // Game seconds played since the start.
    double gameTime() const { return mFrames * static_cast<double>(FRAME); }

private:
    void click(int column, int row);

    std::ostream& mOut;
    std::unique_ptr<HeadlessEngine> mEngine;
    std::unique_ptr<ChipManager> mChips;
    RecordingMode mMode;
    GameLevel mLevel;
    NullBoardRenderer mRenderer;
    bool mDrawingWanted = false;
    bool mRulesWanted = false;
    std::optional<std::array<int, 4>> mStock;
    std::optional<std::array<int, 3>> mBoosters;
    // The interface the rules' panels are built in.
    struct Interface;
    std::unique_ptr<Interface> mInterface;
    std::unique_ptr<GameStateManager> mStates;
    std::unique_ptr<BoardDrawing> mDrawing;
    std::unique_ptr<GameField> mField;
    std::unique_ptr<BoardRenderer> mBoardRenderer;
    int64_t mFrames = 0;
};
