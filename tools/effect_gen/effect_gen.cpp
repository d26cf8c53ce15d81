// Builds the particle effects of the sample content with the engine's own
// classes and writes each through the XML output archive, so that the files
// are exactly what the engine saves:
//
//     effect_gen <media folder>
//
// Writes particles/<name>.xml for every effect below (the same bytes on
// every run). Sizes are board pixels: a cell is 80 pixels wide, and an
// effect's origin is where its owner places it (a chip's centre, a tile's
// corner, the head of a flying effect). Colours keep to the game's palette:
// lantern amber and gold, with pale blue-white for the waves.

#include <cstdio>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "color.h"
#include "object_factory.h"
#include "particle_affector.h"
#include "particle_emitter.h"
#include "particle_fx.h"
#include "particle_system.h"
#include "render_data.h"
#include "xml_oarchive.h"

namespace {

using VQ::Color;
using VQ::Vector2f;
using FloatCurve = VQ::TimedValueInterval<float>;
using ColorCurve = VQ::TimedValueInterval<Color>;

// A curve through the keys {percent, value}, in order.
FloatCurve curve(std::initializer_list<std::pair<int, float>> keys)
{
    FloatCurve c;
    c.mMinValue = keys.begin()->second;
    c.mMaxValue = keys.begin()->second;
    for (const auto& [time, value] : keys) {
        c.addValue(0, time, value);
        c.mMinValue = std::min(c.mMinValue, value);
        c.mMaxValue = std::max(c.mMaxValue, value);
    }
    return c;
}

FloatCurve flat(float value)
{
    return curve({{0, value}, {100, value}});
}

// One colour whose alpha follows the keys {percent, alpha}. The particle
// code reads its curves every 4 percent up to 96, so a fade-out that must
// reach nothing ends by then.
ColorCurve fade(uint8_t r, uint8_t g, uint8_t b, std::initializer_list<std::pair<int, int>> alphas)
{
    ColorCurve c;
    c.mMinValue = Color::fromBytes(r, g, b, 0);
    c.mMaxValue = Color::fromBytes(r, g, b, 255);
    for (const auto& [time, alpha] : alphas)
        c.addValue(0, time, Color::fromBytes(r, g, b, uint8_t(alpha)));
    return c;
}

constexpr int BLEND_ALPHA = VQ::BLEND_ALPHA;
constexpr int BLEND_ADD = VQ::BLEND_ADD;

// The settings every emitter of these effects shares; each effect sets the
// rest.
template <typename Emitter>
Emitter* emitter(VQ::ParticleFX& effect, const char* sprite, int maxParticles, float rate, float life)
{
    auto* e = new Emitter();
    e->mSpriteFileName = "fx_sprites";
    e->mSpriteTableName = sprite;
    e->mMaxParticlesCount = maxParticles;
    e->mEmitRate = flat(rate);
    e->mInitialLifeTime = flat(life);
    e->mBlendMode = BLEND_ADD;
    effect.mParticleEmitters.push_back(e);
    return e;
}

// Spawned for `seconds`, then left to run out.
void burst(VQ::ParticleEmitter* e, float seconds)
{
    e->mLooped = false;
    e->mEmitterLifeTime = seconds;
}

void scale(VQ::ParticleEmitter* e, FloatCurve x, FloatCurve y)
{
    e->mInitialScaleX = std::move(x);
    e->mInitialScaleY = std::move(y);
}

void scale(VQ::ParticleEmitter* e, const FloatCurve& both)
{
    scale(e, both, both);
}

template <typename Affector>
Affector* add(VQ::ParticleEmitter* e)
{
    auto* a = new Affector();
    e->mParticleAffectors.push_back(a);
    return a;
}

// Every particle turned to a fixed angle, without spinning.
void turnTo(VQ::ParticleEmitter* e, float degrees)
{
    auto* turn = add<VQ::ParticleRotateSpriteAffector>(e);
    turn->mInitialAngleVelocity = flat(0.0f);
    turn->mInitialMinAngle = degrees;
    turn->mInitialMaxAngle = degrees;
    turn->mInitialRotateCoeffMin = 1.0f;
    turn->mInitialRotateCoeffMax = 1.0f;
}

// --- The move hint: a golden pulse and sparkles circling the chip ---

void buildHint(VQ::ParticleFX& fx)
{
    auto* glow = emitter<VQ::ParticlePointEmitter>(fx, "Glow", 4, 3.0f, 1.0f);
    scale(glow, curve({{0, 1.0f}, {100, 1.2f}}));
    glow->mParticleColor = fade(255, 196, 72, {{0, 0}, {30, 150}, {88, 0}});

    auto* pulse = emitter<VQ::ParticlePointEmitter>(fx, "Ring", 2, 1.25f, 1.0f);
    scale(pulse, curve({{0, 0.55f}, {100, 1.15f}}));
    pulse->mParticleColor = fade(255, 206, 96, {{0, 0}, {15, 220}, {88, 0}});

    auto* sparkles = emitter<VQ::ParticleCircleEmitter>(fx, "Sparkle", 12, 8.0f, 1.1f);
    sparkles->mRadius = 28.0f;
    scale(sparkles, curve({{0, 0.2f}, {30, 0.5f}, {88, 0.15f}}));
    sparkles->mParticleColor = fade(255, 236, 170, {{0, 0}, {20, 255}, {88, 0}});
    auto* orbit = add<VQ::ParticleRotateAffector>(sparkles);
    orbit->mInitialAngleVelocity = flat(2.4f);
    orbit->mInitialRotateCoeffMin = 0.8f;
    orbit->mInitialRotateCoeffMax = 1.2f;
    auto* twinkle = add<VQ::ParticleRotateSpriteAffector>(sparkles);
    twinkle->mInitialAngleVelocity = flat(90.0f);
    twinkle->mInitialMinAngle = 0.0f;
    twinkle->mInitialMaxAngle = 90.0f;
}

// --- The waves: blue-white streaks along a lane through one cell ---

// `angle` turns the lane (0 along the row, 90 down the column, 45 from the
// top left, -45 from the top right); `direction` is the lane's unit vector.
void buildWave(VQ::ParticleFX& fx, float angle, Vector2f direction)
{
    auto* beam = emitter<VQ::ParticlePointEmitter>(fx, "Glow", 3, 14.0f, 0.35f);
    burst(beam, 0.15f);
    scale(beam, curve({{0, 2.2f}, {100, 2.8f}}), curve({{0, 0.16f}, {100, 0.06f}}));
    beam->mParticleColor = fade(220, 236, 255, {{0, 0}, {15, 240}, {88, 0}});
    turnTo(beam, angle);

    auto* streaks = emitter<VQ::ParticleBoxEmitter>(fx, "Glow", 16, 60.0f, 0.3f);
    streaks->mRect = VQ::Rect(-40, -10, 40, 10);
    streaks->mRectAngle = angle;
    burst(streaks, 0.2f);
    scale(streaks, curve({{0, 0.6f}, {40, 1.4f}, {100, 0.9f}}), curve({{0, 0.22f}, {100, 0.12f}}));
    streaks->mParticleColor = fade(205, 228, 255, {{0, 255}, {88, 0}});
    auto* motion = add<VQ::ParticleLinearMovementAffector>(streaks);
    motion->mInitialDirection.mMinVal = direction * -1.0f;
    motion->mInitialDirection.mMaxVal = direction;
    motion->mInitialVelocity = flat(260.0f);
    turnTo(streaks, angle);

    auto* flash = emitter<VQ::ParticlePointEmitter>(fx, "Glow", 2, 20.0f, 0.35f);
    burst(flash, 0.1f);
    scale(flash, curve({{0, 1.5f}, {100, 1.1f}}), curve({{0, 0.5f}, {100, 0.2f}}));
    flash->mParticleColor = fade(170, 200, 255, {{0, 200}, {88, 0}});
    turnTo(flash, angle);
}

// --- The tile explosion: shards thrown up and falling, dust, a flash ring.
// The board places the effect on the tile's corner; the emitters stand half
// a cell in, on the tile's centre. ---

void buildTileExplosion(VQ::ParticleFX& fx)
{
    const Vector2f centre(40, 40);
    auto* shards = emitter<VQ::ParticleQuadEmitter>(fx, "Shard", 14, 100.0f, 0.8f);
    shards->mPosition = centre;
    shards->mPointLeftTop = Vector2f(-28, -28);
    shards->mPointLeftBottom = Vector2f(-28, 28);
    shards->mPointRightTop = Vector2f(28, -28);
    shards->mPointRightBottom = Vector2f(28, 28);
    shards->mBlendMode = BLEND_ALPHA;
    burst(shards, 0.12f);
    scale(shards, curve({{0, 0.9f}, {100, 0.6f}}));
    shards->mParticleColor = fade(255, 255, 255, {{0, 255}, {70, 255}, {88, 0}});
    auto* thrown = add<VQ::ParticleLinearMovementAffector>(shards);
    thrown->mInitialDirection.mMinVal = Vector2f(-1, -1);
    thrown->mInitialDirection.mMaxVal = Vector2f(1, -1);
    thrown->mInitialVelocity = flat(160.0f);
    auto* fall = add<VQ::ParticleGravityAffector>(shards);
    fall->mForce = flat(900.0f);
    auto* spin = add<VQ::ParticleRotateSpriteAffector>(shards);
    spin->mInitialAngleVelocity = flat(360.0f);
    spin->mInitialRotateCoeffMin = -1.5f;
    spin->mInitialRotateCoeffMax = 1.5f;

    auto* dust = emitter<VQ::ParticleCircleEmitter>(fx, "Dust", 8, 80.0f, 0.7f);
    dust->mPosition = centre;
    dust->mRadius = 18.0f;
    dust->mBlendMode = BLEND_ALPHA;
    burst(dust, 0.1f);
    scale(dust, curve({{0, 0.35f}, {100, 1.0f}}));
    dust->mParticleColor = fade(214, 186, 150, {{0, 150}, {88, 0}});
    auto* spread = add<VQ::ParticleGravityPointAffector>(dust);
    spread->mForce = flat(-120.0f);  // away from the tile's centre

    auto* ring = emitter<VQ::ParticlePointEmitter>(fx, "Ring", 2, 20.0f, 0.35f);
    ring->mPosition = centre;
    burst(ring, 0.06f);
    scale(ring, curve({{0, 0.3f}, {100, 1.3f}}));
    ring->mParticleColor = fade(255, 170, 60, {{0, 220}, {88, 0}});
}

// --- The comet of the meteor bonus: it flies down a column; the head glows,
// sparks stay where they were shed, a ribbon follows. ---

void buildMeteorite(VQ::ParticleFX& fx)
{
    auto* head = emitter<VQ::ParticlePointEmitter>(fx, "Glow", 6, 30.0f, 0.2f);
    scale(head, curve({{0, 1.0f}, {100, 0.8f}}));
    head->mParticleColor = fade(255, 214, 120, {{0, 230}, {88, 0}});

    auto* core = emitter<VQ::ParticlePointEmitter>(fx, "Sparkle", 3, 12.0f, 0.25f);
    scale(core, flat(0.6f));
    core->mParticleColor = fade(255, 246, 220, {{0, 255}, {88, 0}});
    auto* spin = add<VQ::ParticleRotateSpriteAffector>(core);
    spin->mInitialAngleVelocity = flat(240.0f);

    auto* sparks = emitter<VQ::ParticleCircleEmitter>(fx, "Ember", 60, 70.0f, 0.6f);
    sparks->mRadius = 10.0f;
    sparks->mGlobalCoords = true;
    scale(sparks, curve({{0, 0.6f}, {100, 0.3f}}), curve({{0, 0.35f}, {100, 0.15f}}));
    sparks->mParticleColor = fade(255, 170, 60, {{0, 255}, {88, 0}});
    auto* drift = add<VQ::ParticleLinearMovementAffector>(sparks);
    drift->mInitialDirection.mMinVal = Vector2f(-1, -0.6f);
    drift->mInitialDirection.mMaxVal = Vector2f(1, -0.6f);
    drift->mInitialVelocity = flat(90.0f);
    auto* sink = add<VQ::ParticleGravityAffector>(sparks);
    sink->mForce = flat(200.0f);
    add<VQ::ParticleAutoRotateAffector>(sparks);

    // One long-lived particle on the head: as the effect moves, its world
    // point draws the ribbon.
    auto* trail = emitter<VQ::ParticlePointEmitter>(fx, "Trail", 1, 100.0f, 30.0f);
    trail->mUseTails = true;
    scale(trail, flat(1.0f), flat(1.1f));
    trail->mParticleColor = fade(255, 190, 90, {{0, 230}, {100, 230}});
    trail->mHeadSize = 20;
    trail->mHeadSizeTex = 16;
    trail->mMaxSegments = 14;
    // A faster fade would eat the new ribbon's first segments before they
    // grow; once the ribbon is long, it shrinks as fast as the comet flies.
    trail->mFadeSpeed = 40.0f;
    trail->mMinDistSegments = 14.0f;
}

// --- The lightning of the light bonus: it flies along a row; bolts left in
// the world crackle out on jittered ribbons. ---

void buildLight(VQ::ParticleFX& fx)
{
    auto* bolts = emitter<VQ::ParticlePointEmitter>(fx, "Trail", 36, 70.0f, 0.28f);
    bolts->mGlobalCoords = true;
    bolts->mUseTails = true;
    scale(bolts, flat(1.0f), curve({{0, 0.5f}, {100, 0.25f}}));
    bolts->mParticleColor = fade(255, 244, 214, {{0, 255}, {88, 0}});
    bolts->mHeadSize = 6;
    bolts->mHeadSizeTex = 16;
    bolts->mMaxSegments = 12;
    bolts->mFadeSpeed = 50.0f;
    bolts->mMinDistSegments = 2.0f;
    auto* heading = add<VQ::ParticleRotateSpriteAffector>(bolts);
    heading->mInitialAngleVelocity = flat(0.0f);
    auto* jitter = add<VQ::ParticleGraphicMoveAffector>(bolts);
    // Two keys at one percent switch at once: the bolt breaks into sharp
    // zigzags instead of bending.
    jitter->mAngleGraphic = curve({{0, 40},    {12, 40},  {12, -45}, {26, -45}, {26, 50},  {38, 50},
                                   {38, -35}, {52, -35}, {52, 45},  {64, 45},  {64, -50}, {78, -50},
                                   {78, 35},  {100, 35}});
    jitter->mVelocityGraphic = flat(420.0f);

    // The air the bolt passed through glows a moment longer.
    auto* afterglow = emitter<VQ::ParticlePointEmitter>(fx, "Glow", 30, 80.0f, 0.3f);
    afterglow->mGlobalCoords = true;
    scale(afterglow, curve({{0, 0.7f}, {100, 0.4f}}));
    afterglow->mParticleColor = fade(200, 190, 255, {{0, 90}, {88, 0}});

    auto* glow = emitter<VQ::ParticlePointEmitter>(fx, "Glow", 8, 30.0f, 0.2f);
    scale(glow, curve({{0, 0.9f}, {100, 0.6f}}));
    glow->mParticleColor = fade(232, 222, 255, {{0, 200}, {88, 0}});
}

// --- The destroy bursts: a chip's layer goes in a flash of light and
// sparks. Drawn at the cell's corner; the emitters stand on its centre. ---

void buildChipBurst(VQ::ParticleFX& fx, float size)
{
    const Vector2f centre(40, 40);
    auto* flash = emitter<VQ::ParticlePointEmitter>(fx, "Glow", 2, 30.0f, 0.3f);
    flash->mPosition = centre;
    burst(flash, 0.05f);
    scale(flash, curve({{0, 0.8f * size}, {100, 1.5f * size}}));
    flash->mParticleColor = fade(255, 226, 150, {{0, 230}, {88, 0}});

    auto* sparks = emitter<VQ::ParticleCircleEmitter>(fx, "Sparkle", int(10 * size), 120.0f * size, 0.45f);
    sparks->mPosition = centre;
    sparks->mRadius = 14.0f * size;
    burst(sparks, 0.08f);
    scale(sparks, curve({{0, 0.45f}, {100, 0.15f}}));
    sparks->mParticleColor = fade(255, 240, 200, {{0, 255}, {88, 0}});
    auto* outwards = add<VQ::ParticleGravityPointAffector>(sparks);
    outwards->mForce = flat(-420.0f * size);

    auto* embers = emitter<VQ::ParticleCircleEmitter>(fx, "Ember", int(8 * size), 90.0f * size, 0.6f);
    embers->mPosition = centre;
    embers->mRadius = 10.0f * size;
    burst(embers, 0.1f);
    scale(embers, curve({{0, 0.5f}, {100, 0.2f}}));
    embers->mParticleColor = fade(255, 160, 60, {{0, 255}, {88, 0}});
    auto* thrown = add<VQ::ParticleLinearMovementAffector>(embers);
    thrown->mInitialDirection.mMinVal = Vector2f(-1, -1);
    thrown->mInitialDirection.mMaxVal = Vector2f(1, -0.3f);
    thrown->mInitialVelocity = flat(130.0f * size);
    auto* fall = add<VQ::ParticleGravityAffector>(embers);
    fall->mForce = flat(500.0f);
}

// --- The embers of the loading screen's lantern: sparks rising from its
// top, drifting sideways and fading as they climb. Scene
// pixels: the effect stands on the lantern's cap. ---

void buildLanternEmbers(VQ::ParticleFX& fx)
{
    auto* embers = emitter<VQ::ParticleCircleEmitter>(fx, "Ember", 48, 12.0f, 2.6f);
    embers->mRadius = 14.0f;
    embers->mGlobalCoords = true;
    scale(embers, curve({{0, 0.7f}, {100, 0.3f}}), curve({{0, 0.45f}, {100, 0.2f}}));
    embers->mParticleColor = fade(255, 186, 80, {{0, 0}, {8, 255}, {60, 200}, {88, 0}});
    auto* rise = add<VQ::ParticleLinearMovementAffector>(embers);
    rise->mInitialDirection.mMinVal = Vector2f(-0.35f, -1);
    rise->mInitialDirection.mMaxVal = Vector2f(0.35f, -1);
    rise->mInitialVelocity = flat(55.0f);
    auto* lift = add<VQ::ParticleGravityAffector>(embers);
    lift->mForce = flat(-12.0f);
    add<VQ::ParticleAutoRotateAffector>(embers);

    auto* sparks = emitter<VQ::ParticlePointEmitter>(fx, "Sparkle", 8, 2.5f, 1.4f);
    sparks->mGlobalCoords = true;
    scale(sparks, curve({{0, 0.3f}, {100, 0.1f}}));
    sparks->mParticleColor = fade(255, 230, 160, {{0, 0}, {10, 255}, {88, 0}});
    auto* up = add<VQ::ParticleLinearMovementAffector>(sparks);
    up->mInitialDirection.mMinVal = Vector2f(-0.2f, -1);
    up->mInitialDirection.mMaxVal = Vector2f(0.2f, -1);
    up->mInitialVelocity = flat(80.0f);
    auto* twinkle = add<VQ::ParticleRotateSpriteAffector>(sparks);
    twinkle->mInitialAngleVelocity = flat(180.0f);
}

// --- The interface's sparkle: a warm glow with stars twinkling around it,
// endless, for a widget to host. Workspace pixels around the widget's
// corner. Panels are light parchment, on which added light washes out, so
// the stars and motes are laid on in deep amber instead. ---

void buildUiSparkle(VQ::ParticleFX& fx)
{
    auto* glow = emitter<VQ::ParticlePointEmitter>(fx, "Glow", 3, 2.0f, 1.4f);
    scale(glow, curve({{0, 0.9f}, {50, 1.25f}, {100, 0.9f}}));
    glow->mParticleColor = fade(255, 190, 80, {{0, 0}, {35, 110}, {88, 0}});

    auto* stars = emitter<VQ::ParticleCircleEmitter>(fx, "Sparkle", 18, 10.0f, 1.2f);
    stars->mRadius = 34.0f;
    stars->mBlendMode = BLEND_ALPHA;
    scale(stars, curve({{0, 0.15f}, {35, 0.6f}, {88, 0.1f}}));
    stars->mParticleColor = fade(236, 150, 30, {{0, 0}, {25, 255}, {88, 0}});
    auto* orbit = add<VQ::ParticleRotateAffector>(stars);
    orbit->mInitialAngleVelocity = flat(1.2f);
    orbit->mInitialRotateCoeffMin = 0.7f;
    orbit->mInitialRotateCoeffMax = 1.3f;
    auto* twinkle = add<VQ::ParticleRotateSpriteAffector>(stars);
    twinkle->mInitialAngleVelocity = flat(120.0f);
    twinkle->mInitialMinAngle = 0.0f;
    twinkle->mInitialMaxAngle = 90.0f;

    auto* motes = emitter<VQ::ParticleCircleEmitter>(fx, "Ember", 14, 7.0f, 1.6f);
    motes->mRadius = 20.0f;
    motes->mBlendMode = BLEND_ALPHA;
    scale(motes, curve({{0, 0.35f}, {100, 0.15f}}), curve({{0, 0.25f}, {100, 0.1f}}));
    motes->mParticleColor = fade(214, 120, 24, {{0, 0}, {15, 230}, {88, 0}});
    auto* rise = add<VQ::ParticleLinearMovementAffector>(motes);
    rise->mInitialDirection.mMinVal = Vector2f(-0.4f, -1);
    rise->mInitialDirection.mMaxVal = Vector2f(0.4f, -1);
    rise->mInitialVelocity = flat(28.0f);
    add<VQ::ParticleAutoRotateAffector>(motes);
}

struct Effect {
    const char* name;
    std::function<void(VQ::ParticleFX&)> build;
};

bool writeEffect(const std::string& media, const Effect& effect)
{
    VQ::ParticleFX fx;
    effect.build(fx);
    VQ::XmlOArchive archive;
    VQ::ParticleFX* saved = &fx;
    archive.save(VQ::nvp("ParticleFX", saved));
    const std::string path = media + "/particles/" + effect.name + ".xml";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" << archive.text();
    if (!out) {
        std::fprintf(stderr, "effect_gen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: effect_gen <media folder>\n");
        return 2;
    }
    // The classes' keys, as the effect files name them.
    VQ::ObjectFactory factory;
    VQ::ParticleSystem particles;
    const std::vector<Effect> effects = {
        {"hint_fx", buildHint},
        {"wave_hor_fx", [](VQ::ParticleFX& fx) { buildWave(fx, 0.0f, Vector2f(1, 0)); }},
        {"wave_ver_fx", [](VQ::ParticleFX& fx) { buildWave(fx, 90.0f, Vector2f(0, 1)); }},
        {"wave_tl_fx", [](VQ::ParticleFX& fx) { buildWave(fx, 45.0f, Vector2f(0.70710678f, 0.70710678f)); }},
        {"wave_tr_fx", [](VQ::ParticleFX& fx) { buildWave(fx, -45.0f, Vector2f(0.70710678f, -0.70710678f)); }},
        {"explosion_orange_tile_fx", buildTileExplosion},
        {"meteorite_fx", buildMeteorite},
        {"light_fx", buildLight},
        {"chip_burst_fx", [](VQ::ParticleFX& fx) { buildChipBurst(fx, 1.0f); }},
        {"bonus_burst_fx", [](VQ::ParticleFX& fx) { buildChipBurst(fx, 2.0f); }},
        {"lantern_embers_fx", buildLanternEmbers},
        {"ui_sparkle_fx", buildUiSparkle},
    };
    for (const Effect& effect : effects)
        if (!writeEffect(argv[1], effect))
            return 1;
    return 0;
}
