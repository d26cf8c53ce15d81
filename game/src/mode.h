#pragma once
// A game mode: the rule set that turns levels into a campaign. The level
// state, the board and the rule components call the current mode through
// this interface; the base does nothing and answers false or null where a
// result is asked.

#include <memory>
#include <string>

#include "behavior.h"

namespace AE {
class DataStream;
}
namespace VQ {
class LuaContext;
}
class Chip;
class GameHelper;
struct ChipSelection;
struct ChipSnapshot;
struct FieldCell;
struct ModeDescriptor;
enum GameLevelEffect : int;

class Mode {
public:
    virtual ~Mode() = default;
    // Makes this the current mode of GameProperties / leaves it (the
    // current mode becomes null).
    virtual void activate();
    virtual void deactivate();
    // Once, after all modes exist.
    virtual void start() {}
    // The board holds the new level.
    virtual void prepareLevel() {}
    // The board could not load the level (already logged); the level state
    // stays on an empty board unless the mode leaves it.
    virtual void onLevelLoadFailed() {}
    // The board's entry animation has ended.
    virtual void onLevelBegin() {}
    virtual void update(float) {}
    // A swap was kept; after it, `a` holds the chip that came from `b`.
    virtual void onPlayerMove(FieldCell*, FieldCell*) {}
    virtual void onEffectPlayed(GameLevelEffect) {}
    virtual void onStateEnter(const std::string&) {}
    virtual void onStateLeave(const std::string&) {}
    virtual void save(AE::DataStream& stream) = 0;
    virtual void load(AE::DataStream& stream) = 0;
    // Reads the level rules from the level script that has just run.
    virtual void setupLevelRules(VQ::LuaContext&) {}
    virtual void onNoPossibleMoves() {}
    // A chip left the board or lost its last layer.
    virtual void onChipDestroyed(const ChipSnapshot&) {}
    // A chip layer was destroyed.
    virtual void addScore(const DestroyResult&, Chip*) {}
    virtual void layoutLevelUi(bool) {}
    // A cell's tile lost a layer; its solidity is already lowered.
    virtual void onTileHit(FieldCell*) {}
    virtual void resetProgress(bool) {}
    virtual void restartLevel() {}
    virtual void showIngameMenu() {}
    // True when the neighbour of a destroyed chip is not hit.
    virtual bool onNeighbourDestroyed(Chip*, Chip*) { return false; }
    virtual GameHelper* getHelper(int) { return nullptr; }
    virtual bool hasLevelBegun() = 0;
    // Offered every run of more than two chips; true when the mode took it.
    virtual bool onMatch(const ChipSelection& selection) = 0;
    // Offered every clicked pair; true when the mode took it (no swap).
    virtual bool onBonusSwap(Chip* a, Chip* b) = 0;
};

// The mode a platform configuration entry names: "MainMode" gives the
// campaign mode (with the entry's "suffix"), any other class name no mode.
std::unique_ptr<Mode> createMode(const ModeDescriptor& descriptor);
