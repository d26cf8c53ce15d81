#pragma once
// A particle effect drawn at the widget's place, faded with the widget. The
// effect is taken from the particle system at creation and handed back
// when the widget goes; a host without an effect shows nothing.

#include <string>

#include "ui/ui_widget.h"

namespace VQ {

class ParticleFX;

class UIParticleFX : public UIWidget {
public:
    // Takes the effect `filename` from the particle system (none without
    // one, or when the effect cannot be read).
    UIParticleFX(std::string name, UIWidget* parent, const std::string& filename);
    ~UIParticleFX() override;

    int32_t getType() const override { return TYPE_PARTICLE_FX; }
    void beginRender() override;
    void update(float dt) override;

    ParticleFX* effect = nullptr;
};

}  // namespace VQ
