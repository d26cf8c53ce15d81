#pragma once
// Long runs turn into bonus chips: the matched chips slide onto one of them
// and a bonus chip takes its cell (five in a line a colour destroyer, an L
// or T a bomb, four a wave along the swap). Two bonus chips swapped with
// each other fuse into a super chip that goes off at once.

#include <memory>
#include <string>
#include <vector>

#include "game_helper.h"
#include "task.h"

namespace AE {
class ISceneNode;
}
class Chip;
class GameField;
class Mode;
struct ChipSelection;
struct FieldCell;

// The colour letter of a bonus chip's name; "" outside the six colours.
const char* bonusColourLetter(int colour);
// A chip that a fusion sets off rather than slides: a bomb or a wave.
bool isBonusChip(const Chip* chip);

class BonusChipHelper : public GameHelper {
public:
    static constexpr float SLIDE_TIME = 0.28f;
    static constexpr float LAYER_STEP = 0.13f;
    static constexpr float SUPER_CHIP_DELAY = 1.2f;

    explicit BonusChipHelper(Mode* mode);
    ~BonusChipHelper() override;

    // A run the board's match pass offers; true when it became a fusion.
    bool onMatch(const ChipSelection& selection);
    // Two clicked chips; true when they fused (the board does not swap them).
    bool onBonusSwap(Chip* selected, Chip* clicked);
    bool isFusing() const { return slideTimer > 0.0f; }
    void update(float dt) override;

    void startFusion(const std::string& kind, bool coloured, const std::vector<Chip*>& chips, FieldCell* anchor,
                     int colour);
    void finishFusion();

    Mode* mode;  // not owned
    std::vector<Chip*> fusingChips;
    std::vector<FieldCell*> fusingCells;
    // Where each fusing chip started its slide, in cell units.
    std::vector<float> slideStarts;
    std::string kind;
    bool coloured = false;
    float slideTimer = 0.0f;
    FieldCell* anchorCell = nullptr;
    int colour = -1;
    int fusionSound = 0;
    std::unique_ptr<AE::ISceneNode> mergeScene;
};

// A fusion that waits for the outer layers of its chips to go, or for the
// running slide to end; blocks the board while it waits.
class FusionChipsTask : public Task {
public:
    FusionChipsTask(BonusChipHelper* helper, const std::string& kind, bool coloured, std::vector<Chip*> chips,
                    FieldCell* anchor, int colour);
    bool run(float dt) override;
    int getType() override { return 2; }

    FieldCell* anchor;
    int colour;
    std::string kind;
    bool coloured;
    std::vector<Chip*> chips;
    BonusChipHelper* helper;
};

// One bonus chip sliding onto the other; at the end the super chip takes
// the target's cell and goes off a little later.
class FusionBonusTask : public Task {
public:
    FusionBonusTask(Chip* moving, Chip* target, GameField* field, const std::string& kind);
    bool run(float dt) override;
    int getType() override { return 1; }

    Chip* moving;
    Chip* target;
    GameField* field;
    std::string kind;
    float remaining = BonusChipHelper::SLIDE_TIME;
    float offset[2];
    float targetCentre[2];
};
