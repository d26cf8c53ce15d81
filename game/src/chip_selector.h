#pragma once
// Finds, for one chip on the board, the horizontal and vertical runs of
// same-coloured chips it belongs to. Every prototype names its selector;
// selectors are shared through a process-wide cache by name.

#include <vector>

class Chip;
class GameField;

struct ChipSelection {
    std::vector<Chip*> rowRun;
    std::vector<Chip*> columnRun;
};

// Sum of the runs of three or more (a chip in both counts twice).
int matchCount(const ChipSelection& selection);

class ChipSelector {
public:
    virtual ~ChipSelector() = default;
    virtual bool isAllChipsSelector() const = 0;
    virtual const char* name() const = 0;
    virtual ChipSelection select(GameField* field, Chip* chip) = 0;
};

// Its chips never start a line themselves, though they join their
// neighbours' lines.
class AllChipsSameGroupSelector : public ChipSelector {
public:
    bool isAllChipsSelector() const override { return true; }
    const char* name() const override { return "AllChipsSameGroupSelector"; }
    ChipSelection select(GameField*, Chip*) override { return {}; }
};

// The chip's own runs, or the larger crossing selection of a chip in them.
class NearestChipSameGroupSelector : public ChipSelector {
public:
    bool isAllChipsSelector() const override { return false; }
    const char* name() const override { return "NearestChipSameGroupSelector"; }
    ChipSelection select(GameField* field, Chip* chip) override;
};

// The runs through `chip` itself; empty when it cannot start a selection or
// no run reaches three.
ChipSelection collectRuns(GameField* field, Chip* chip);

// The cached selector of that name, made on first use: "AllChipsSameGroupSelector"
// exactly gives that kind, any other name the nearest-chip kind.
ChipSelector* createChipSelector(const char* name);
void clearChipSelectorCache();
