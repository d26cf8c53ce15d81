#pragma once
// One particle effect: a position and an ordered list of emitters, with an
// optional keyframe animation that moves the position. Effects are read from
// their files once as prototypes and put into play as copies of them by the
// particle system; whoever holds a live effect advances, places and draws it.

#include <memory>
#include <string>
#include <vector>

#include "serializable.h"
#include "vector2.h"

namespace VQ {

class Animation;
class ParticleEmitter;

class ParticleFX : public ISerializable {
public:
    // What a file may ask for, far above any real effect: counts read past
    // these are cut to them (negative ones to 0) before anything is sized by
    // them.
    static constexpr int MAX_EMITTERS = 64;
    static constexpr int MAX_AFFECTORS = 64;
    // The particle records of all the effect's emitters together.
    static constexpr int MAX_PARTICLES = 8192;
    static constexpr int MAX_TRAIL_SEGMENTS = 64;
    static constexpr int MAX_CURVE_LINES = 16;

    ParticleFX();
    // The copy put into play: the emitters cloned and initialised, an
    // animation of its own, and the copy in the particle system's live list.
    ParticleFX(const ParticleFX& prototype);
    ParticleFX& operator=(const ParticleFX&) = delete;
    ~ParticleFX() override;

    // Once on a prototype after reading: the animation, then every emitter.
    virtual void init();
    void serialize(FieldVisitor& visitor) override;
    void load(XmlIArchive& archive) override;
    void save(XmlOArchive& archive) override;

    // Advances by `dt` (by 0 while not active).
    void update(float dt);
    // Animation time 0, every emitter empty, active. The animation-ended
    // flag is recomputed by the next update.
    void restart();
    void setAlpha(float alpha);
    // (Re)loads the animation from mAnimationFilename; none when empty or
    // when it does not load.
    void loadAnimation();
    // No animation afterwards, and so not ended either.
    void deleteAnimation();
    // Draws every emitter at the effect's position.
    void draw();

    bool animationEnded() const { return mAnimationEnded; }
    // True for an effect without emitters.
    bool allEmittersFinished() const;
    // What the particle system and the owners call finished.
    bool isFinished() const { return mAnimationEnded || allEmittersFinished(); }
    // Cuts the counts a file gave to the bounds above; true when any was
    // out of range.
    bool boundCounts();

    Vector2f mPosition;
    bool mDestroyIfDead = false;
    std::string mAnimationFilename;
    bool mAnimationEnded = false;
    bool mLoopedAnimation = true;
    // The resource name the effect was created under: pool and prototype key.
    std::string name;
    bool active = true;
    std::vector<ParticleEmitter*> mParticleEmitters;  // owned
    std::unique_ptr<Animation> animation;

private:
    template <typename Archive>
    void transferFields(Archive& archive);
};

}  // namespace VQ
