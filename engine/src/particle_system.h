#pragma once
// The one owner of the particle effects. An effect file is read once into a
// prototype; `create` hands out copies of it, effects handed back wait in a
// pool per name and are handed out again (restarted) before any new copy is
// made. The manager keeps the live effects, advances them while live
// updating is on, and runs a short list of fire-and-forget layer effects
// (tile explosions) that it advances, draws by layer and pools by itself.
//
// Constructing it registers the emitter and affector classes with the object
// factory, which must exist first. Loading threads create and release effects
// while the main thread draws, so every operation holds a recursive mutex
// (the copy constructor of an effect takes it again to become live).

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "singleton.h"

namespace VQ {

class ParticleFX;

struct LayerEffect {
    ParticleFX* effect = nullptr;
    int layer = 0;
};

class ParticleSystem : public Singleton<ParticleSystem> {
public:
    // Effects kept in the pool per name; one released past it is deleted.
    // Without a bound, a copy per tile explosion would pool one effect more
    // per explosion for the whole session.
    static constexpr int POOL_LIMIT = 32;
    // The longest step an update takes.
    static constexpr float MAX_STEP = 0.1f;

    ParticleSystem();
    // Deletes the pooled effects, the prototypes, then the live effects.
    ~ParticleSystem() override;

    // A live effect of that name, owned by the manager until released: a
    // pooled one (restarted), else a copy of the prototype, else the file is
    // read first (package "default", "ParticleFX" under "root"). Null only
    // when the file could not be read whole; a missing or malformed file is
    // the archive's fatal report.
    ParticleFX* create(const std::string& name);
    // A new live copy of `source`, restarted.
    ParticleFX* createCopy(ParticleFX* source);
    // Hands an effect back to the pool (null is ignored; one already pooled
    // is ignored with a warning). The caller must not use it afterwards.
    void release(ParticleFX* effect);

    // One frame with the timer's step (capped at MAX_STEP).
    void update();
    void update(float frameTime);
    // The layer list owns `effect` (live) from now on and releases it when
    // it has finished.
    void addLayerEffect(ParticleFX* effect, int layer);
    // Draws the layer effects queued under `layer` at opacity `alpha`.
    void drawLayer(int layer, float alpha);

    // Called by the effect copy constructor: the effect becomes live (once).
    void registerLive(ParticleFX* effect);

    std::recursive_mutex& mutex() { return mMutex; }
    // For tests and diagnostics; hold the mutex while reading them where
    // other threads may create or release effects.
    const std::vector<ParticleFX*>& liveEffects() const { return mLive; }
    const std::vector<LayerEffect>& layerEffects() const { return mLayerEffects; }
    size_t pooledCount(const std::string& name) const { return mPool.count(name); }
    ParticleFX* prototype(const std::string& name) const;

    // While on, `update` advances and reaps the live effects. The game
    // switches it off at start-up; owners then advance their own effects.
    std::atomic<bool> liveUpdating{true};

private:
    bool isPooled(const ParticleFX* effect) const;
    bool inLayerList(const ParticleFX* effect) const;
    void updateLayerEffects(float dt);
    void removeLive(const ParticleFX* effect);

    std::multimap<std::string, ParticleFX*> mPool;
    std::vector<ParticleFX*> mLive;
    std::map<std::string, ParticleFX*> mPrototypes;
    std::vector<LayerEffect> mLayerEffects;
    int mPoolLimit = POOL_LIMIT;
    std::recursive_mutex mMutex;
};

}  // namespace VQ
