#pragma once
// The simple bitmap font the engine writes its own texts with (the base
// loading screen's "FPS" and "Loading..." lines).

#include <string>

#include "color.h"

namespace VQ {

class Font {
public:
    Font() = default;

    // Reads the font description `name` of package "default".
    void load(const std::string& name) { (void)name; }

    // Draws `text` from (x, y) on; `scale` spaces the glyphs.
    void drawText(float x, float y, const std::string& text, float scale, const Color& color)
    {
        (void)x;
        (void)y;
        (void)text;
        (void)scale;
        (void)color;
    }
};

}  // namespace VQ
