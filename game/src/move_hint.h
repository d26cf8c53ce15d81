#pragma once
// The idle move hint: which two neighbouring chips can be swapped to make a
// line. The same search tells a board without any possible move, and the
// level loader uses it to reject starting placements without a move.

#include <vector>

#include "vector2.h"

namespace VQ {
class ParticleFX;
}
class Chip;
class GameField;
struct FieldCell;

class MoveHint {
public:
    explicit MoveHint(GameField* field);
    // Hands the effect back to the particle system.
    ~MoveHint();
    MoveHint(const MoveHint&) = delete;
    MoveHint& operator=(const MoveHint&) = delete;

    // Once a frame, before the rest of the board's frame.
    void update(float dt);
    // Draws the effect at both hinted chips while the hint is shown.
    void draw();
    // Forgets the hint and restarts the board's idle clock.
    void reset();
    // The first useful swap, rows from the top, each cell with its right
    // and then its lower neighbour; (null, null) when there is none.
    void findMove(FieldCell* out[2]);
    bool isUsefulSwap(FieldCell* a, FieldCell* b);

    // Board-pixel positions of the two hinted chips; empty while none.
    std::vector<VQ::Vector2f> positions;
    GameField* field;
    bool shown = false;
    bool searched = false;
    // "hint_fx", made by the first update (the board is built before the
    // content is all there in tests); null when the content lacks it: the
    // hint then has no picture.
    VQ::ParticleFX* effect = nullptr;
    bool effectRequested = false;

private:
    void loadEffect();
};

// Bonus chips that are worth swapping with each other without a line.
bool isHintSpecialChip(const Chip* chip);
