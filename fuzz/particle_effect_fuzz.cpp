// Reads arbitrary text as a particle effect file through the particle system
// and plays it: the effect is created, copied, moved and updated for 60
// frames of 1/60 s, drawn on the recording device, then saved and read back.
// The effect's sprites come from the shipped particle atlas. A fatal report
// (a malformed file, a curve without lines, a sprite that is not there) is
// turned into an exception, and the run goes on with a fresh particle
// system.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "config_manager.h"
#include "fatal_error.h"
#include "file_system.h"
#include "fuzz_engine.h"
#include "fuzz_support.h"
#include "log_system.h"
#include "notification_dispatcher.h"
#include "object_factory.h"
#include "particle_fx.h"
#include "particle_system.h"
#include "platform/recording_graphics_device.h"
#include "render_system.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "texture_manager.h"
#include "xml_cached_files_manager.h"
#include "xml_iarchive.h"
#include "xml_oarchive.h"

namespace {

constexpr float FRAME = 1.0f / 60.0f;
const char* const EFFECT = "fuzz_fx";

std::string gEffectPath;
VQ::RecordingGraphicsDevice* gDevice = nullptr;

void draw(VQ::ParticleFX& effect)
{
    VQ::RenderSystem* render = VQ::RenderSystem::instance();
    render->lockBatchBuffer();
    effect.draw();
    render->flushBatch();
    render->unlockBatchBuffer();
    gDevice->clearRecords();
}

std::string saved(VQ::ParticleFX* effect)
{
    VQ::XmlOArchive out;
    out.save(VQ::nvp("ParticleFX", effect));
    return out.text();
}

void play()
{
    VQ::ParticleSystem* particles = VQ::ParticleSystem::instance();
    VQ::ParticleFX* effect = particles->create(EFFECT);
    if (!effect)
        return;
    VQ::TextureManager::instance()->processQueues();
    VQ::ParticleFX* copy = particles->createCopy(effect);
    for (int frame = 0; frame < 60; ++frame) {
        effect->mPosition += VQ::Vector2f(9.0f, 4.0f);  // a flying effect
        effect->update(FRAME);
        copy->update(FRAME);
    }
    effect->setAlpha(0.5f);
    draw(*effect);
    draw(*copy);
    particles->release(copy);

    VQ::XmlIArchive in(saved(effect));
    VQ::ParticleFX* reread = nullptr;
    in.load(VQ::nvp("ParticleFX", reread));
    std::unique_ptr<VQ::ParticleFX> owned(reread);
    if (reread)
        saved(reread);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const std::string folder = FuzzSupport::enterScratchFolder("particle_effect_fuzz");
    for (const char* dir : {"media/images", "media/scripts", "media/particles"})
        std::filesystem::create_directories(dir);
    FuzzSupport::copyShipped("images/fx.png");
    FuzzSupport::copyShipped("scripts/fx_sprites.lua");
    FuzzSupport::copyShipped("scripts/fx_sprites.xml");
    gEffectPath = folder + "/media/particles/fuzz_fx.xml";
    gDevice = FuzzSupport::startRecordingEngine({{"fx_png", "images/fx.png"},
                                                 {"fx_sprites", "scripts/fx_sprites.lua"},
                                                 {"fx_sxml", "scripts/fx_sprites.xml"},
                                                 {EFFECT, "particles/fuzz_fx.xml"}});
    new VQ::ObjectFactory();
    VQ::setFatalErrorHook(FuzzSupport::throwOnFatal);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        std::ofstream out(gEffectPath, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    // A fresh manager reads the file again: no prototype or pooled effect
    // outlives an input.
    auto particles = std::make_unique<VQ::ParticleSystem>();
    try {
        play();
    } catch (const FuzzSupport::FatalRaised&) {
    }
    particles.reset();
    return 0;
}
