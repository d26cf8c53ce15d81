#pragma once
// The working part of a particle effect: a fixed pool of particle records
// recycled through a free list, spawned at a rate given by a curve, aged,
// tinted and scaled by curves over their life, moved by affectors and drawn
// with one shared sprite (or as trail ribbons). The shapes (subclasses) only
// decide where a particle starts.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "color.h"
#include "particle_tail.h"
#include "rect.h"
#include "serializable.h"
#include "timed_value_interval.h"
#include "vector2.h"

namespace VQ {

class ParticleAffector;
class ParticleFX;
class Sprite;

struct Particle {
    uint8_t dead = 1;
    // Relative to the emitter origin in local mode; world coordinates in
    // global mode.
    Vector2f position;
    float angle = 0.0f;  // degrees, the sprite's rotation
    float remaining = 0.0f;
    float age = 0.0f;
    Color color;
    Vector2f scale{1.0f, 1.0f};
    std::unique_ptr<ParticleTail> tail;  // trails only
    int next = -1;                       // free list
};

class ParticleEmitter : public ISerializable {
public:
    ParticleEmitter();
    // Every serialised field, curve and affector (cloned through the object
    // factory), the sprite (cloned); no pool until `init`.
    ParticleEmitter(const ParticleEmitter& other);
    ParticleEmitter& operator=(const ParticleEmitter&) = delete;
    ~ParticleEmitter() override;

    // After loading or copying: a pool of mMaxParticlesCount free records,
    // the sprite, the affectors attached, then `restart`.
    virtual void init();
    void serialize(FieldVisitor& visitor) override;
    void load(XmlIArchive& archive) override;
    void save(XmlOArchive& archive) override;
    virtual const char* getClassName() const { return "ParticleEmitter"; }
    // Where the new particle `index` starts (overwrites its position).
    virtual void spawnOffset(int index) { (void)index; }

    // Empty and from time 0.
    void restart();
    void update(float dt);
    // Every live particle, relative to the effect at `effectPosition`.
    void draw(const Vector2f& effectPosition);
    // Not looped, its life over and every particle gone.
    bool isFinished() const;
    void setAlpha(float value) { opacity = value; }
    void setEmitCoefficient(float value) { emitCoefficient = value; }
    // To mMaxParticlesCount records (a negative count takes the pool's),
    // keeping the first records and the affectors' data for them.
    void resizePool();

    // Percent of the emitter's life (of 10 s when endless); saturates.
    int emitterPercent() const;
    // Percent of the particle's life; 0 before it has any.
    static int lifePercent(const Particle& particle);
    // The owner effect's position; (0, 0) without one.
    Vector2f effectPosition() const;
    bool isAlive(int index) const { return particles[size_t(index)].dead == 0; }

    // --- Serialised ---
    int mMinParticlesCount = 0;
    int mMaxParticlesCount = 0;
    Vector2f mPosition;
    TimedValueInterval<float> mEmitRate{0.0f, 100.0f};
    std::string mSpriteFileName;
    std::string mSpriteTableName;
    TimedValueInterval<float> mInitialLifeTime{0.0f, 5.0f};
    TimedValueInterval<Color> mParticleColor{Color(1.0f, 1.0f, 1.0f, 1.0f), Color(0.0f, 0.0f, 0.0f, 0.0f)};
    TimedValueInterval<float> mInitialScaleX{0.0f, 2.0f};
    TimedValueInterval<float> mInitialScaleY{0.0f, 2.0f};
    std::vector<ParticleAffector*> mParticleAffectors;  // owned
    float mEmitterLifeTime = -1.0f;
    bool mLooped = true;
    float mEmitterDelay = 0.0f;
    int mBlendMode = 0;
    bool mGlobalCoords = false;
    bool mUseTails = false;
    int mHeadSizeTex = 0;
    int mMaxSegments = 17;
    float mFadeSpeed = 0.0f;
    float mMinDistSegments = 10.0f;
    int mHeadSize = 0;

    // --- Run time ---
    Sprite* sprite = nullptr;  // owned, through the sprite manager
    std::vector<Particle> particles;
    int poolSize = 0;
    int aliveCount = 0;
    int freeHead = -1;
    float elapsed = 0.0f;
    float accumulator = 0.0f;
    float emitCoefficient = 1.0f;
    int spawnLimit = -1;
    float opacity = 1.0f;
    ParticleFX* owner = nullptr;  // not owned
    bool enabled = true;
    // Trails: the ring size, the sprite's first source rectangle (width,
    // height, left, top) and the segment count the rings were built for.
    int ringSize = 9;
    float trailRectWidth = 0.0f;
    float trailRectHeight = 0.0f;
    float trailRectLeft = 0.0f;
    float trailRectTop = 0.0f;
    int trailSegmentsBuilt = -1;

protected:
    // The 22 fields every emitter passes after its shape's own.
    template <typename Archive>
    void transferBase(Archive& archive);

private:
    template <typename Archive>
    void transferFields(Archive& archive);
    bool emitting() const;
    void emit(float dt);
    void spawn(int index);
    void updateParticles(float dt);
    void rebuildFreeList();
    void rebuildTails();
    void loadEmitterSprite();
};

// A point: every particle starts at the emitter origin.
class ParticlePointEmitter : public ParticleEmitter {
public:
    const char* getClassName() const override { return "ParticlePointEmitter"; }
    void spawnOffset(int index) override { particles[size_t(index)].position = Vector2f(); }
};

// A rectangle turned about the emitter origin by `mRectAngle` degrees.
class ParticleBoxEmitter : public ParticleEmitter {
public:
    void serialize(FieldVisitor& visitor) override;
    void load(XmlIArchive& archive) override;
    void save(XmlOArchive& archive) override;
    const char* getClassName() const override { return "ParticleBoxEmitter"; }
    void spawnOffset(int index) override;

    Rect mRect;
    float mRectAngle = 0.0f;

private:
    template <typename Archive>
    void transferFields(Archive& archive);
};

// Any four-cornered shape: a point where two lines through it cross.
class ParticleQuadEmitter : public ParticleEmitter {
public:
    void serialize(FieldVisitor& visitor) override;
    void load(XmlIArchive& archive) override;
    void save(XmlOArchive& archive) override;
    const char* getClassName() const override { return "ParticleQuadEmitter"; }
    void spawnOffset(int index) override;

    Vector2f mPointLeftTop;
    Vector2f mPointLeftBottom;
    Vector2f mPointRightTop;
    Vector2f mPointRightBottom;

private:
    template <typename Archive>
    void transferFields(Archive& archive);
};

// A disc; the distance from the centre is uniform, so particles crowd
// towards the middle.
class ParticleCircleEmitter : public ParticleEmitter {
public:
    void serialize(FieldVisitor& visitor) override;
    void load(XmlIArchive& archive) override;
    void save(XmlOArchive& archive) override;
    const char* getClassName() const override { return "ParticleCircleEmitter"; }
    void spawnOffset(int index) override;

    float mRadius = 0.0f;

private:
    template <typename Archive>
    void transferFields(Archive& archive);
};

}  // namespace VQ
