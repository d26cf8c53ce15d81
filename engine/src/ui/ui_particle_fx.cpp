#include "ui/ui_particle_fx.h"

#include "particle_emitter.h"
#include "particle_fx.h"
#include "particle_system.h"

namespace VQ {

UIParticleFX::UIParticleFX(std::string name, UIWidget* parent, const std::string& filename) :
    UIWidget(std::move(name), parent)
{
    if (ParticleSystem* particles = ParticleSystem::instancePtr())
        effect = particles->create(filename);
}

UIParticleFX::~UIParticleFX()
{
    if (effect)
        if (ParticleSystem* particles = ParticleSystem::instancePtr())
            particles->release(effect);
}

void UIParticleFX::update(float dt)
{
    if (effect && transparency > 0.0f)
        effect->update(dt);
}

void UIParticleFX::beginRender()
{
    if (!effect || transparency <= 0.01f)
        return;
    effect->setAlpha(float(color.a) / 255.0f * transparency);
    effect->mPosition = absolutePosition();
    effect->draw();
}

}  // namespace VQ
