#include "particle_affector.h"

#include <cmath>

#include "particle_emitter.h"
#include "random.h"
#include "field_visitor.h"
#include "xml_iarchive.h"
#include "xml_oarchive.h"

namespace VQ {

namespace {

constexpr float DEGREES_PER_RADIAN = 57.29578f;
constexpr float RADIANS_PER_DEGREE = 0.0174533f;

// a + rand() x (b - a) / 32767: one draw of the game's sequence.
float uniform(float a, float b)
{
    return a + float(VQ::rand()) * (b - a) / float(RAND_MAX_VALUE);
}

// Turns `point` about `centre` by `radians` (counter-clockwise in the
// positions' own axes, which run down the screen).
Vector2f turned(const Vector2f& point, const Vector2f& centre, float radians)
{
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    const Vector2f d = point - centre;
    return Vector2f(centre.x + d.x * c - d.y * s, centre.y + d.x * s + d.y * c);
}

// A uniform acceleration over one step: the distance covered, with the
// speed carried on to the next step.
float accelerate(float& speed, float force, float dt)
{
    const float distance = speed * dt + 0.5f * force * dt * dt;
    speed += force * dt;
    return distance;
}

}  // namespace

template <typename Data>
void ParticleAffectorWith<Data>::attach(ParticleEmitter* emitter)
{
    ParticleAffector::attach(emitter);
    const int count = emitter ? emitter->mMaxParticlesCount : 0;
    mData.assign(count > 0 ? size_t(count) : 0, Data{});
}

template <typename Data>
template <typename Body>
void ParticleAffectorWith<Data>::forEachLive(Body body)
{
    if (!mEmitter)
        return;
    std::vector<Particle>& particles = mEmitter->particles;
    // The data follows the pool's size; a record past it has none.
    const size_t n = std::min(particles.size(), mData.size());
    for (size_t i = 0; i < n; ++i)
        if (!particles[i].dead)
            body(particles[i], mData[i]);
}

// --- Gravity ---

void ParticleGravityAffector::spawn(int index)
{
    if (size_t(index) < mData.size())
        mData[size_t(index)].speed = 0.0f;
}

void ParticleGravityAffector::update(float dt)
{
    if (!mEmitter)
        return;
    const float force = mForce.getAverageValue(mEmitter->emitterPercent());
    forEachLive([&](Particle& particle, GravityData& data) {
        particle.position += mDirection * accelerate(data.speed, force, dt);
    });
}

template <typename Archive>
void ParticleGravityAffector::transferFields(Archive& archive)
{
    archive.transfer(nvp("mForce", mForce));
    archive.transfer(nvp("mDirection", mDirection));
}

VQ_SERIALIZED_BY_FIELDS(ParticleGravityAffector)

// --- Gravity point ---

void ParticleGravityPointAffector::spawn(int index)
{
    if (!mEmitter || size_t(index) >= mData.size())
        return;
    GravityPointData& data = mData[size_t(index)];
    data.speed = 0.0f;
    // In local mode particles live relative to the emitter origin.
    data.target = mEmitter->mGlobalCoords ? mEmitter->mPosition + mEmitter->effectPosition() : Vector2f();
}

void ParticleGravityPointAffector::update(float dt)
{
    if (!mEmitter)
        return;
    const float force = mForce.getAverageValue(mEmitter->emitterPercent());
    forEachLive([&](Particle& particle, GravityPointData& data) {
        Vector2f toward = data.target - particle.position;
        if (toward == Vector2f()) {
            const float x = 2.0f * float(VQ::rand()) / float(RAND_MAX_VALUE) - 1.0f;
            const float y = 2.0f * float(VQ::rand()) / float(RAND_MAX_VALUE) - 1.0f;
            toward = Vector2f(x, y);
        }
        toward.normalize();
        particle.position += toward * accelerate(data.speed, force, dt);
    });
}

template <typename Archive>
void ParticleGravityPointAffector::transferFields(Archive& archive)
{
    archive.transfer(nvp("mForce", mForce));
    archive.transfer(nvp("mMaxVelocity", mMaxVelocity));
}

VQ_SERIALIZED_BY_FIELDS(ParticleGravityPointAffector)

// --- Rotate ---

void ParticleRotateAffector::spawn(int index)
{
    if (!mEmitter || size_t(index) >= mData.size())
        return;
    RotateData& data = mData[size_t(index)];
    data.velocity = mInitialAngleVelocity.getAverageValue(mEmitter->emitterPercent());
    data.centre = mEmitter->mPosition + mEmitter->effectPosition();
    data.coefficient = uniform(mInitialRotateCoeffMin, mInitialRotateCoeffMax);
}

void ParticleRotateAffector::update(float dt)
{
    if (!mEmitter)
        return;
    const bool global = mEmitter->mGlobalCoords;
    forEachLive([&](Particle& particle, RotateData& data) {
        const float radians = dt * data.velocity * data.coefficient;
        particle.position = turned(particle.position, global ? data.centre : Vector2f(), radians);
    });
}

template <typename Archive>
void ParticleRotateAffector::transferFields(Archive& archive)
{
    archive.transfer(nvp("mInitialAngleVelocity", mInitialAngleVelocity));
    archive.transfer(nvp("mInitialRotateCoeffMin", mInitialRotateCoeffMin));
    archive.transfer(nvp("mInitialRotateCoeffMax", mInitialRotateCoeffMax));
}

VQ_SERIALIZED_BY_FIELDS(ParticleRotateAffector)

// --- Rotate sprite ---

void ParticleRotateSpriteAffector::spawn(int index)
{
    if (!mEmitter || size_t(index) >= mData.size())
        return;
    mEmitter->particles[size_t(index)].angle += uniform(mInitialMinAngle, mInitialMaxAngle);
    mData[size_t(index)].coefficient = uniform(mInitialRotateCoeffMin, mInitialRotateCoeffMax);
}

void ParticleRotateSpriteAffector::update(float dt)
{
    if (!mEmitter)
        return;
    const float velocity = mInitialAngleVelocity.getAverageValue(mEmitter->emitterPercent());
    forEachLive([&](Particle& particle, RotateSpriteData& data) { particle.angle += velocity * dt * data.coefficient; });
}

template <typename Archive>
void ParticleRotateSpriteAffector::transferFields(Archive& archive)
{
    archive.transfer(nvp("mInitialAngleVelocity", mInitialAngleVelocity));
    archive.transfer(nvp("mInitialMinAngle", mInitialMinAngle));
    archive.transfer(nvp("mInitialMaxAngle", mInitialMaxAngle));
    archive.transfer(nvp("mInitialRotateCoeffMin", mInitialRotateCoeffMin));
    archive.transfer(nvp("mInitialRotateCoeffMax", mInitialRotateCoeffMax));
}

VQ_SERIALIZED_BY_FIELDS(ParticleRotateSpriteAffector)

// --- Auto rotate ---

void ParticleAutoRotateAffector::spawn(int index)
{
    if (mEmitter && size_t(index) < mData.size())
        mData[size_t(index)].previous = mEmitter->particles[size_t(index)].position;
}

void ParticleAutoRotateAffector::update(float)
{
    forEachLive([&](Particle& particle, AutoRotateData& data) {
        const Vector2f d = particle.position - data.previous;
        const float length = d.length();
        if (length > 0.0005f) {
            const float ratio = d.x / length;
            float degrees = ratio <= -1.0f ? 180.0f : ratio >= 1.0f ? 0.0f : std::acos(ratio) * DEGREES_PER_RADIAN;
            if (d.y < 0.0f)
                degrees = 360.0f - degrees;
            particle.angle = mDiffAngle + degrees;
        }
        data.previous = particle.position;
    });
}

template <typename Archive>
void ParticleAutoRotateAffector::transferFields(Archive& archive)
{
    archive.transfer(nvp("mDiffAngle", mDiffAngle));
}

VQ_SERIALIZED_BY_FIELDS(ParticleAutoRotateAffector)

// --- Linear movement ---

void ParticleLinearMovementAffector::spawn(int index)
{
    if (!mEmitter || size_t(index) >= mData.size())
        return;
    LinearMovementData& data = mData[size_t(index)];
    // One draw for both components: the direction lies on the segment.
    const float e = float(VQ::rand()) / float(RAND_MAX_VALUE);
    data.direction = mInitialDirection.mMinVal + (mInitialDirection.mMaxVal - mInitialDirection.mMinVal) * e;
    data.velocity = mInitialVelocity.getAverageValue(mEmitter->emitterPercent());
}

void ParticleLinearMovementAffector::update(float dt)
{
    forEachLive([&](Particle& particle, LinearMovementData& data) {
        particle.position += data.direction * (dt * data.velocity);
    });
}

template <typename Archive>
void ParticleLinearMovementAffector::transferFields(Archive& archive)
{
    archive.transfer(nvp("mInitialDirection", mInitialDirection));
    archive.transfer(nvp("mInitialVelocity", mInitialVelocity));
}

VQ_SERIALIZED_BY_FIELDS(ParticleLinearMovementAffector)

// --- Graphic move ---

void ParticleGraphicMoveAffector::spawn(int index)
{
    const float draw = float(VQ::rand() % 360);
    if (size_t(index) < mData.size())
        mData[size_t(index)].angle = draw;
}

void ParticleGraphicMoveAffector::update(float dt)
{
    forEachLive([&](Particle& particle, GraphicMoveData& data) {
        const int percent = ParticleEmitter::lifePercent(particle);
        data.angle = mAngleGraphic.getAverageValue(percent);
        const float heading = data.angle + particle.angle;
        if (percent >= 100) {
            particle.angle = heading;
            data.angle = heading;
        }
        const float velocity = mVelocityGraphic.getAverageValue(percent);
        const float radians = heading * RADIANS_PER_DEGREE;
        particle.position += Vector2f(std::cos(radians), std::sin(radians)) * (velocity * dt);
    });
}

template <typename Archive>
void ParticleGraphicMoveAffector::transferFields(Archive& archive)
{
    archive.transfer(nvp("mAngleGraphic", mAngleGraphic));
    archive.transfer(nvp("mVelocityGraphic", mVelocityGraphic));
}

VQ_SERIALIZED_BY_FIELDS(ParticleGraphicMoveAffector)

template class ParticleAffectorWith<GravityData>;
template class ParticleAffectorWith<GravityPointData>;
template class ParticleAffectorWith<RotateData>;
template class ParticleAffectorWith<RotateSpriteData>;
template class ParticleAffectorWith<AutoRotateData>;
template class ParticleAffectorWith<LinearMovementData>;
template class ParticleAffectorWith<GraphicMoveData>;

}  // namespace VQ
