#pragma once
// One piece on the board: a position in cell units, a colour, a stack of
// behaviour layers, the selector that finds its lines, a user-data
// dictionary and the movement and presentation state the board keeps on it.
// Chips live in the chip manager's pool and are reused after a reset.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "behavior.h"
#include "user_data.h"

class ChipPrototype;
class ChipSelector;
class GameField;

// The speed a chip is given at reset and when it starts to fall.
constexpr float CHIP_START_FALL_SPEED = 7.5f;

class Chip {
public:
    Chip();
    ~Chip();
    Chip(const Chip&) = delete;
    Chip& operator=(const Chip&) = delete;

    void reset();
    // Nothing for a null prototype.
    void applyPrototype(const ChipPrototype* prototype);

    bool canFall() const;
    bool canIterateWithGroup() const;
    bool hasBehavior(int type) const;
    bool isSwappable() const;
    void playIdleMarker(const std::string& name);

    // Removes the top layer (the one way a chip loses layers), with its
    // sound, actions and score; a chip left without layers is released,
    // hits its tile, is reported to the mode and holds its column a while.
    // Nothing for a released chip or one already hit in this pass.
    void destroyInField(GameField* field, bool notifyNeighbours, bool force);
    // This chip's answer to a destroyed neighbour: walls lose a layer.
    void onNeighbourDestroyed(Chip* destroyed, GameField* field, bool force);

    void setUserData(const std::string& key, const DataSlot& slot);
    // A copy of the entry; an empty slot when the key is absent.
    DataSlot getUserData(const std::string& key) const;
    bool hasUserData(const std::string& key) const;
    // The integer entry, or `fallback` when the key is absent.
    int getIntData(const std::string& key, int fallback = 0) const;

    // Order of resets, landings and swaps; set back to 0 at every level load.
    static inline int32_t landingCounter = 0;

    float x = 0.0f, y = 0.0f;
    bool selected = false;
    bool released = false;
    float targetX = 0.0f, targetY = 0.0f;
    float fallSpeed = CHIP_START_FALL_SPEED;
    float wobbleX = 0.0f, wobbleY = 0.0f;
    float pushX = 0.0f, pushY = 0.0f;
    float wobbleTotal = 0.0f, wobbleLeft = 0.0f;
    float spin = 0.0f;
    BehaviorsGroup layers;
    int32_t colour = -1;
    ChipSelector* selector = nullptr;
    int32_t radius = 1;
    bool hitThisPass = false;
    int32_t detonateCounter = 0;
    UserDataMap userData;
    int32_t falling = 0;
    int32_t landingStamp = 0;
    // What the chip was made from; null for a chip built by hand.
    const ChipPrototype* prototype = nullptr;
};

// A chip's identity at the moment it was destroyed or fused.
struct ChipSnapshot {
    explicit ChipSnapshot(const Chip& chip);
    bool hasAnyBehavior(std::initializer_list<int> wanted) const;

    int32_t column;
    int32_t row;
    int32_t colour;
    std::vector<int> types;
    int32_t levelGoals;
    Chip* chip;
};
