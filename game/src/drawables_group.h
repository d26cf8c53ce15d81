#pragma once
// The owning list of drawables a chip layer keeps for one of its states.

#include <string>
#include <vector>

#include "drawable.h"
#include "objects_group.h"

namespace VQ {
class LuaScript2;
}

class BoardRenderer;
class Chip;

class DrawablesGroup : public OwningObjectsGroup<Drawable> {
public:
    DrawablesGroup() = default;
    DrawablesGroup(const DrawablesGroup& other);
    DrawablesGroup& operator=(const DrawablesGroup& other);

    void add(Drawable* drawable) override;
    void remove(Drawable* drawable) override;
    void deleteAll() override;

    // Queues every drawable on the renderer at (x, y), unclipped; the
    // renderer draws the frame's queue in layer order.
    virtual void draw(BoardRenderer& renderer, Chip* chip, int x, int y);
    void setVisible(bool flag);
    void setAlpha(float value);
    void setRestartOnShow(bool flag);
    // Advances, in list order, the drawables whose update does something.
    void update(float dt);
    // Reads the array of drawable entries of the table on the stack top;
    // entries that yield no drawable are skipped.
    void load(VQ::LuaScript2& script, const std::string& suffix);

private:
    void collectUpdating();

    // Every board frame updates every layer of every chip, and most drawables
    // are still sprites: walking only these, packed, keeps that cheap.
    std::vector<Drawable*> updating;
};

// Reads the entry table on the stack top: {type, resource, third, layer,
// no-suffix flag}; null when it names no known kind.
Drawable* loadDrawableEntry(VQ::LuaScript2& script, const std::string& suffix);
