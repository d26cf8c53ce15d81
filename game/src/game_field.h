#pragma once
// The board: a grid of cells, each holding at most one chip, the level's
// configuration, its task manager, pending fall delays, the drawables shown
// over the board and the links to the level, its renderer and the chip
// manager. Columns run 0 .. gridWidth - 1 left to right, rows 0 .. gridHeight
// top to bottom; row 0 is the spawn row above the play area. A chip resting
// in cell (c, r) sits at (c + 0.5, r + 0.5) in cell units.
//
// One board exists per played level: the level state constructs it, loads
// the level script into it, hands it every frame's time step and deletes it
// with the level.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "animation.h"
#include "color.h"
#include "vector2.h"

class BoardRenderer;
class Chip;
class ChipAppearence;
class ChipManager;
class Drawable;
class GameField;
class GameLevel;
class Mode;
class MoveHint;
class TaskManager;
struct lua_State;

struct FieldCell {
    FieldCell();
    ~FieldCell();
    FieldCell(FieldCell&&) noexcept;
    FieldCell& operator=(FieldCell&&) noexcept;

    Chip* chip = nullptr;  // not owned
    // A falling chip is on its way here.
    bool reserved = false;
    uint8_t column = 0;
    uint8_t row = 0;
    // 0 a hole, 1 a plain cell, n > 1 a tile with n - 1 layers to break.
    int solidity = 1;
    // The fly-in at level start; null once the next level is built.
    std::unique_ptr<VQ::Animation> appearAnimation;
    VQ::Vector2f screenPosition{0.0f, 0.0f};  // board pixels
    VQ::Vector2f scale{0.0f, 0.0f};
    float angle = 0.0f;  // degrees
    VQ::Color color{};
};

// While it lasts, nothing above `row` in `column` falls and nothing spawns
// into the column.
struct FallDelay {
    float timeLeft;
    int column;
    int row;
};

// A drawable shown over the board (destroy and wave effects), owned.
struct EffectDrawable {
    Drawable* drawable;
    float x, y;  // board pixels
    int order;
};

// The level's chip entry animations; one of them runs at a time.
struct AppearanceSequence {
    explicit AppearanceSequence(GameField* owner) : field(owner) {}
    ~AppearanceSequence() { clear(); }
    AppearanceSequence(const AppearanceSequence&) = delete;
    AppearanceSequence& operator=(const AppearanceSequence&) = delete;

    void clear();
    ChipAppearence* currentAppearance() const;
    // The current appearance exists and has not finished.
    bool isRunning() const;

    std::vector<ChipAppearence*> appearances;  // owned
    GameField* field;
    unsigned current = 0;
};

class GameField {
public:
    static constexpr float FALL_DELAY = 0.23f;
    static constexpr float MATCH_DESTROY_DELAY = 0.12f;

    // A bare grid without configuration or parts, for code that only needs
    // cells and chips (selectors and their tests).
    GameField();
    // The board of a level: links the chip manager, builds its parts and
    // reads "gamefield_lua"; no level is loaded yet.
    explicit GameField(GameLevel* owner);
    ~GameField();
    GameField(const GameField&) = delete;
    GameField& operator=(const GameField&) = delete;

    // False when the level cannot be loaded: logged, and the board keeps no
    // rows and stays inactive.
    bool loadLevel(const std::string& levelName);
    void readParameters();
    void clearBoard();
    void countGoalUnits();

    // The frame step.
    void update(float dt);
    bool isSuspended() const { return suspendTime > 0.0f; }
    void relinkChips();
    int findTopCellRow(int column) const;
    FieldCell* findLandingCell(Chip* chip, int column, int row);
    void updateFallingChip(Chip* chip, float dt);
    void moveFallingChip(Chip* chip, float dt);
    void spawnChip(FieldCell* cell, int column, int topRow);
    void updateChipWobbles(float dt);
    void updateEffectDrawables(float dt);
    void updateCellAnimations(float dt);

    // The player's click on a cell (column, row), handed over by the level
    // state once per update while the button is down over the board.
    void onCellClicked(const int cell[2]);
    // Destroys the chip resting in the cell after `delay` (rule bonuses).
    void queueDestroyChipInCell(int column, int row, float delay);
    // Destroys the chip resting in the cell now; nothing for a chip passing by.
    void destroyChipAt(int column, int row);
    // Starts a reshuffle of the plain chips; false when there are too few.
    bool mixChips();
    bool hasBombStage2Chip() const;
    // Screen pixels of a point in cell units.
    void cellToScreen(float out[2], const float cell[2]) const;
    // Builds the eight wave effect templates.
    void createWaveEffects();
    // Shows a copy of waveEffects[effectIndex] in the cell.
    void spawnWaveEffect(FieldCell* cell, int effectIndex);

    // One hit on a tile.
    void reduceCell(FieldCell* cell);
    // Hits the four orthogonal neighbours of a destroyed chip.
    void hitNeighbours(Chip* chip);
    // Shows the destroy drawables of the chip's top layer.
    void addDestroyDrawables(Chip* chip);
    // One match pass; true when a line was taken by the mode or destroyed.
    bool runMatchPass(bool force);
    // The rule components' scan before they step: the match pass without
    // telling the neighbours of the destroyed chips, skipped while the level
    // is busy; true when it found a line.
    bool runSettlingScan();
    // Some existing cell in the play rows is empty or holds a falling chip.
    bool isUnsettled() const;
    // Nothing on the board changes without input: the level is loaded and
    // its entry done, no task is pending, nothing falls, every playable cell
    // is filled and no armed bomb is counting down.
    bool isIdle() const;

    // The board as built: rows 0 .. lastRow(), columns 0 .. columnCount() - 1.
    // Both equal the configured grid once a level has loaded and leave every
    // walk empty when none has (a level that failed keeps no rows).
    int lastRow() const { return static_cast<int>(rows.size()) - 1; }
    int columnCount() const { return rows.empty() ? 0 : static_cast<int>(rows.front().size()); }
    // Replaces the cells with gridHeight + 1 rows of gridWidth default cells.
    void buildGrid();
    // The cell at (column, row), or null outside the grid. Inline: the match
    // scan asks for every cell around every chip, every frame.
    FieldCell* cellAt(int column, int row)
    {
        // Negative numbers become too large as unsigned ones.
        if (static_cast<size_t>(row) >= rows.size() || static_cast<size_t>(column) >= rows[row].size())
            return nullptr;
        return &rows[row][column];
    }
    const FieldCell* cellAt(int column, int row) const { return const_cast<GameField*>(this)->cellAt(column, row); }
    // The cell under a position in cell units (truncated), or null.
    FieldCell* cellAt(float x, float y);

    // The mode playing the level, or null.
    Mode* mode() const;
    // The level's busy counter; 0 without a level.
    int levelBusyCount() const;

    bool drawBehaviors = true;
    ChipManager* chipManager = nullptr;
    std::vector<FallDelay> fallDelays;
    std::vector<std::vector<FieldCell>> rows;
    Chip* selectedChip = nullptr;
    int gridWidth = 0;
    int gridHeight = 0;
    int cellSize = 0;
    float chipInitialMovingSpeed = 0.0f;
    float suspendTime = 0.0f;
    std::unique_ptr<TaskManager> taskManager;
    float chipAcceleration = 0.0f;
    float maxChipOffset = 0.0f;
    bool active = false;
    bool spawnEnabled = false;
    bool gravityEnabled = false;
    float fallShaking = 0.0f;
    float fallShakingTime = 0.0f;
    float boomShakePower = 0.0f;
    float boomShakeTime = 0.0f;
    GameLevel* level = nullptr;
    float chipHotspotPeriod = 0.0f;
    float chipHotspotAnimationSpeed = 1.0f;
    float hotspotTime = 0.0f;
    float cellHotspotPeriod = 0.0f;
    float progressbarFlaskHeight = 0.0f;
    int goalUnits = 0;
    std::string levelName;
    std::vector<EffectDrawable> effectDrawables;
    std::unique_ptr<AppearanceSequence> appearance;
    float idleTime = 0.0f;
    std::unique_ptr<MoveHint> moveHint;
    float hintPeriod = 0.0f;
    float chipHotspotDelayCoeff = 1.0f;
    bool moving = false;
    float comboTimerInitialValue = 0.0f;
    float comboTimerAttenuation = 0.0f;
    int lastClickedColumn = 0;
    int lastClickedRow = 0;
    BoardRenderer* renderer = nullptr;  // not owned
    int tileSound = 0;
    bool levelBeginReported = false;
    bool tileSoundPlayed = false;
    float holdTime = 0.0f;
    // The wave lanes' effects: two each of horizontal, vertical and the two
    // diagonals.
    std::vector<std::unique_ptr<Drawable>> waveEffects;
    // Cell-unit points where the renderer makes torch flicker; nothing
    // fills it yet.
    std::vector<VQ::Vector2f> torchPositions;
    static constexpr int WAVE_EFFECT_LAYER = 20;

private:
    // The cell of a request from outside the board, in rows firstRow ..
    // gridHeight; null while the board is inactive or outside the grid.
    FieldCell* inputCell(int column, int row, int firstRow);
    void initialize();
    // False (with the error logged) when the level cannot be played.
    bool readLevelTables(lua_State* state, int table);
    void readCells(lua_State* state, int cells);
    void readAvailableChips(lua_State* state, int list);
    void placeLevelChips(lua_State* state, int list);
    void buildCellAppearAnimations();
    void startAppearance();
    void deleteEffectDrawables();
    void runMatchScan(bool& found, bool notifyNeighbours);
    void spawnChips();
    void runIdleActionsOfPool(float dt);
};
