#pragma once
// How chips enter the board: at level start they fly in along animated
// paths, from the four outer corners (`ChipAppearenceCross`) or one after
// another from above the top centre (`ChipAppearenceLine`); a reshuffle
// (`ChipMixing`) moves the plain chips to new cells, each travelling out of
// the board and around it. The board applies one, updates it every frame
// and holds play back until it has finished.

#include <memory>
#include <vector>

#include "vector2.h"

namespace VQ {
class Animation;
}
class Chip;
class GameField;

class ChipAppearence {
public:
    explicit ChipAppearence(float speedValue) : speed(speedValue) {}
    virtual ~ChipAppearence();
    ChipAppearence(const ChipAppearence&) = delete;
    ChipAppearence& operator=(const ChipAppearence&) = delete;

    // Builds the entries for the chips now on the board.
    virtual void apply(GameField* field) = 0;
    // Advances every entry (moving its chip) and drops those that ended.
    void update(float dt);
    bool isFinished() const;

    // One chip's path; the animation drives `position`, which is written to
    // the chip after every step.
    struct Entry {
        Chip* chip;
        VQ::Vector2f position;
        std::unique_ptr<VQ::Animation> animation;
    };
    std::vector<std::unique_ptr<Entry>> entries;
    float speed;

protected:
    void clearEntries();
    // A new entry whose animation has these frame durations and keys.
    void addEntry(Chip* chip, const std::vector<float>& durations, const std::vector<VQ::Vector2f>& keys);
};

class ChipAppearenceCross : public ChipAppearence {
public:
    using ChipAppearence::ChipAppearence;
    void apply(GameField* field) override;
};

class ChipAppearenceLine : public ChipAppearence {
public:
    using ChipAppearence::ChipAppearence;
    void apply(GameField* field) override;
};

class ChipMixing : public ChipAppearence {
public:
    ChipMixing(float speedValue, int colourValue) : ChipAppearence(speedValue), colour(colourValue) {}
    void apply(GameField* field) override;

    int colour;

private:
    void addMoveAnimation(GameField* field, Chip* chip, int column, int row);
};
