#pragma once
// A game mode that takes no part in the game: it prints one line for every
// call the board makes of it ("mode NAME ARGS", cells written "C,R") and
// answers false wherever a result is asked. The arguments:
//   addScore TYPE SCORE C,R            onChipDestroyed C,R COLOUR TYPES
//   onTileHit C,R SOLIDITY_LEFT        onNeighbourDestroyed C,R C,R
//   onMatch row C,R ... column C,R ... onPlayerMove / onBonusSwap C,R C,R
// (TYPES: the layer types, bottom first, joined by "/"; chips by the cell
// under their position.) With the level's rules on (`rules` set), the
// calls are handed to them as well.

#include <memory>
#include <ostream>

#include "bonus_rules.h"
#include "level_rules.h"
#include "mode.h"

class RecordingMode : public Mode {
public:
    explicit RecordingMode(std::ostream& out) : mOut(out) {}

    void prepareLevel() override;
    void onLevelBegin() override;
    void onPlayerMove(FieldCell* a, FieldCell* b) override;
    void save(AE::DataStream&) override {}
    void load(AE::DataStream&) override {}
    void setupLevelRules(VQ::LuaContext&) override;
    void onNoPossibleMoves() override;
    void onChipDestroyed(const ChipSnapshot& snapshot) override;
    void addScore(const DestroyResult& result, Chip* chip) override;
    void onTileHit(FieldCell* cell) override;
    bool onNeighbourDestroyed(Chip* destroyed, Chip* neighbour) override;
    bool hasLevelBegun() override { return mLevelBegun; }
    bool onMatch(const ChipSelection& selection) override;
    bool onBonusSwap(Chip* a, Chip* b) override;
    // As the campaign mode answers: 1 a moves limit, 2 a time limit, 4 the
    // bonus panel, 5 the ice, 6 the boosters, 7 the goals.
    GameHelper* getHelper(int kind) override;

    // Null without --rules.
    std::unique_ptr<LevelRules> rules;
    // The bonus rules that play beside them (also null without --rules).
    std::unique_ptr<BonusRules> bonusRules;

private:
    std::ostream& mOut;
    bool mLevelBegun = false;
};
