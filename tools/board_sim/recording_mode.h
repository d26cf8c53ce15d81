#pragma once
// A game mode that takes no part in the game: it prints one line for every
// call the board makes of it ("mode NAME ARGS", cells written "C,R") and
// answers false wherever a result is asked. The arguments:
//   addScore TYPE SCORE C,R            onChipDestroyed C,R COLOUR TYPES
//   onTileHit C,R SOLIDITY_LEFT        onNeighbourDestroyed C,R C,R
//   onMatch row C,R ... column C,R ... onPlayerMove / onBonusSwap C,R C,R
// (TYPES: the layer types, bottom first, joined by "/"; chips by the cell
// under their position.) With the level's rules on (`campaign` set), the
// calls go on to the campaign mode, which plays the level as in the game.

#include <memory>
#include <ostream>

#include "bonus_rules.h"
#include "level_rules.h"
#include "main_mode.h"
#include "mode.h"

class RecordingMode : public Mode {
public:
    explicit RecordingMode(std::ostream& out) : mOut(out) {}

    void prepareLevel() override;
    void update(float dt) override;
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
    // The campaign mode's components (the bonus panel asks for the limit).
    GameHelper* getHelper(int kind) override;

    // Null without --rules.
    std::unique_ptr<MainMode> campaign;
    // The level being played, for the campaign: its star scores as the
    // level script gives them (0 where it gives none).
    LevelInfo level;
    // What the rules print, and the fusion's view (null without --rules).
    std::unique_ptr<LevelRules> rules;
    std::unique_ptr<BonusRules> bonusRules;

private:
    std::ostream& mOut;
    bool mLevelBegun = false;
};
