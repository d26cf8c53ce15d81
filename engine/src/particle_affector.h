#pragma once
// Particle affectors: behaviours plugged into an emitter. Each keeps data of
// its own per particle record, fills it when a particle is spawned and moves
// or turns the emitter's live particles every frame, after the emitter has
// aged them. Effect files name the kind by its class name; the object
// factory makes and copies them by that name.

#include <vector>

#include "serializable.h"
#include "timed_value_interval.h"
#include "vector2.h"

namespace VQ {

class ParticleEmitter;

class ParticleAffector : public ISerializable {
public:
    ParticleAffector() = default;
    // Takes over the emitter link only; the per-particle data is made again
    // when the copy is attached.
    ParticleAffector(const ParticleAffector& other) = default;
    ParticleAffector& operator=(const ParticleAffector&) = delete;
    ~ParticleAffector() override = default;

    virtual void update(float dt) { (void)dt; }
    virtual void spawn(int index) { (void)index; }
    // Remembers the emitter and sizes the per-particle data to its pool.
    virtual void attach(ParticleEmitter* emitter) { mEmitter = emitter; }
    virtual void resize(int count) { (void)count; }
    void serialize(FieldVisitor&) override {}
    void load(XmlIArchive&) override {}
    void save(XmlOArchive&) override {}
    virtual const char* getClassName() const { return "ParticleAffector"; }
    // The float curves the affector reads (for bounding what a file declares).
    virtual void collectCurves(std::vector<TimedValueInterval<float>*>& out) { (void)out; }

    ParticleEmitter* mEmitter = nullptr;  // not owned
};

// The shared shape of every kind: one `Data` per pool record, zeroed when
// attached, kept over a resize up to the smaller count.
template <typename Data>
class ParticleAffectorWith : public ParticleAffector {
public:
    ParticleAffectorWith() = default;
    ParticleAffectorWith(const ParticleAffectorWith& other) : ParticleAffector(other) {}

    void attach(ParticleEmitter* emitter) override;
    void resize(int count) override { mData.resize(count > 0 ? size_t(count) : 0); }
    size_t dataSize() const { return mData.size(); }

protected:
    // Calls `body(index, particle, data)` for every live particle.
    template <typename Body>
    void forEachLive(Body body);

    std::vector<Data> mData;
};

struct GravityData {
    float speed = 0.0f;
};

// A constant pull along `mDirection` (not normalised), its strength over the
// emitter's time.
class ParticleGravityAffector : public ParticleAffectorWith<GravityData> {
public:
    void update(float dt) override;
    void spawn(int index) override;
    void serialize(FieldVisitor& visitor) override;
    void load(XmlIArchive& archive) override;
    void save(XmlOArchive& archive) override;
    const char* getClassName() const override { return "ParticleGravityAffector"; }
    void collectCurves(std::vector<TimedValueInterval<float>*>& out) override { out.push_back(&mForce); }

    TimedValueInterval<float> mForce{0.0f, 5.0f};
    Vector2f mDirection{0.0f, 1.0f};

private:
    template <typename Archive>
    void transferFields(Archive& archive);
};

struct GravityPointData {
    float speed = 0.0f;
    Vector2f target;
};

// A pull towards the emitter's origin as it stood when the particle was born.
class ParticleGravityPointAffector : public ParticleAffectorWith<GravityPointData> {
public:
    void update(float dt) override;
    void spawn(int index) override;
    void serialize(FieldVisitor& visitor) override;
    void load(XmlIArchive& archive) override;
    void save(XmlOArchive& archive) override;
    const char* getClassName() const override { return "ParticleGravityPointAffector"; }
    void collectCurves(std::vector<TimedValueInterval<float>*>& out) override { out.push_back(&mForce); }

    TimedValueInterval<float> mForce{-10.0f, 10.0f};
    float mMaxVelocity = 5.0f;  // carried, not used by the motion

private:
    template <typename Archive>
    void transferFields(Archive& archive);
};

struct RotateData {
    float velocity = 0.0f;
    Vector2f centre;
    float coefficient = 1.0f;
};

// Particles circle the emitter's origin (radians per second times a random
// coefficient of their own).
class ParticleRotateAffector : public ParticleAffectorWith<RotateData> {
public:
    void update(float dt) override;
    void spawn(int index) override;
    void serialize(FieldVisitor& visitor) override;
    void load(XmlIArchive& archive) override;
    void save(XmlOArchive& archive) override;
    const char* getClassName() const override { return "ParticleRotateAffector"; }
    void collectCurves(std::vector<TimedValueInterval<float>*>& out) override
    {
        out.push_back(&mInitialAngleVelocity);
    }

    TimedValueInterval<float> mInitialAngleVelocity{0.0f, 3.1415927f};
    float mInitialRotateCoeffMin = -1.0f;
    float mInitialRotateCoeffMax = 1.0f;

private:
    template <typename Archive>
    void transferFields(Archive& archive);
};

struct RotateSpriteData {
    float coefficient = 1.0f;
};

// Spins each particle's sprite (degrees per second), from a random start
// angle.
class ParticleRotateSpriteAffector : public ParticleAffectorWith<RotateSpriteData> {
public:
    void update(float dt) override;
    void spawn(int index) override;
    void serialize(FieldVisitor& visitor) override;
    void load(XmlIArchive& archive) override;
    void save(XmlOArchive& archive) override;
    const char* getClassName() const override { return "ParticleRotateSpriteAffector"; }
    void collectCurves(std::vector<TimedValueInterval<float>*>& out) override
    {
        out.push_back(&mInitialAngleVelocity);
    }

    TimedValueInterval<float> mInitialAngleVelocity{0.0f, 3.1415927f};
    float mInitialMinAngle = 0.0f;
    float mInitialMaxAngle = 360.0f;
    float mInitialRotateCoeffMin = -1.0f;
    float mInitialRotateCoeffMax = 1.0f;

private:
    template <typename Archive>
    void transferFields(Archive& archive);
};

struct AutoRotateData {
    Vector2f previous;
};

// Turns each particle's sprite to face the way it moves, plus `mDiffAngle`.
class ParticleAutoRotateAffector : public ParticleAffectorWith<AutoRotateData> {
public:
    void update(float dt) override;
    void spawn(int index) override;
    void serialize(FieldVisitor& visitor) override;
    void load(XmlIArchive& archive) override;
    void save(XmlOArchive& archive) override;
    const char* getClassName() const override { return "ParticleAutoRotateAffector"; }

    float mDiffAngle = 0.0f;

private:
    template <typename Archive>
    void transferFields(Archive& archive);
};

struct LinearMovementData {
    Vector2f direction;
    float velocity = 0.0f;
};

// A straight flight: a direction drawn on the segment between the range's
// ends, a speed from the curve at birth.
class ParticleLinearMovementAffector : public ParticleAffectorWith<LinearMovementData> {
public:
    void update(float dt) override;
    void spawn(int index) override;
    void serialize(FieldVisitor& visitor) override;
    void load(XmlIArchive& archive) override;
    void save(XmlOArchive& archive) override;
    const char* getClassName() const override { return "ParticleLinearMovementAffector"; }
    void collectCurves(std::vector<TimedValueInterval<float>*>& out) override
    {
        out.push_back(&mInitialVelocity);
    }

    ValueRange<Vector2f> mInitialDirection;
    TimedValueInterval<float> mInitialVelocity{0.0f, 100.0f};

private:
    template <typename Archive>
    void transferFields(Archive& archive);
};

struct GraphicMoveData {
    float angle = 0.0f;
};

// Heading and speed drawn over the particle's life by two curves; the
// heading is relative to the particle's sprite angle.
class ParticleGraphicMoveAffector : public ParticleAffectorWith<GraphicMoveData> {
public:
    void update(float dt) override;
    void spawn(int index) override;
    void serialize(FieldVisitor& visitor) override;
    void load(XmlIArchive& archive) override;
    void save(XmlOArchive& archive) override;
    const char* getClassName() const override { return "ParticleGraphicMoveAffector"; }
    void collectCurves(std::vector<TimedValueInterval<float>*>& out) override
    {
        out.push_back(&mAngleGraphic);
        out.push_back(&mVelocityGraphic);
    }

    TimedValueInterval<float> mAngleGraphic{-500.0f, 500.0f};
    TimedValueInterval<float> mVelocityGraphic{-500.0f, 500.0f};

private:
    template <typename Archive>
    void transferFields(Archive& archive);
};

}  // namespace VQ
