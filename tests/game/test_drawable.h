#pragma once
// A drawable that draws nothing and counts its copies alive, for tests of
// the code that holds drawables.

#include <utility>
#include <vector>

#include "drawable.h"

class TestDrawable : public Drawable {
public:
    explicit TestDrawable(int layerValue = 0)
    {
        layer = layerValue;
        ++alive;
    }
    ~TestDrawable() override { --alive; }
    void draw(int x, int y) override { drawnAt.push_back({x, y}); }
    Drawable* clone() const override
    {
        auto* copy = new TestDrawable(layer);
        copy->restartOnShow = restartOnShow;
        return copy;
    }
    bool isAlive() override { return true; }
    void update(float) override {}

    std::vector<std::pair<int, int>> drawnAt;
    static inline int alive = 0;
};
