#include "particle_emitter.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "config_manager.h"
#include "object_factory.h"
#include "particle_affector.h"
#include "particle_fx.h"
#include "random.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "xml_cached_files_manager.h"
#include "xml_data_reader.h"
#include "field_visitor.h"
#include "xml_iarchive.h"
#include "xml_oarchive.h"

namespace VQ {

namespace {

// The period of an emitter that does not emit (1e11 as a float).
constexpr float NO_PERIOD = 99999997952.0f;

// Truncates toward zero; NaN gives 0 and the ends of the range saturate.
int saturatedInt(float value)
{
    if (!(value == value))
        return 0;
    if (value >= float(INT_MAX))
        return INT_MAX;
    if (value <= float(INT_MIN))
        return INT_MIN;
    return int(value);
}

// r: 0..1 inclusive, one draw of the game's sequence.
float unitDraw()
{
    return float(VQ::rand()) / float(RAND_MAX_VALUE);
}

// A reader handed back to the XML cache however the sprite load ends.
class CachedReader {
public:
    CachedReader(const std::string& package, const std::string& name)
        : mReader(XmlCachedFilesManager::instance()->getReader(package, name))
    {
    }
    ~CachedReader() { XmlCachedFilesManager::instance()->releaseReader(mReader); }
    CachedReader(const CachedReader&) = delete;
    CachedReader& operator=(const CachedReader&) = delete;

    // The cache never answers null: a reader with no document stands for a
    // file that is not there.
    bool found() const { return bool(mReader->currentNode()); }
    XmlDataReader& reader() { return *mReader; }

private:
    XmlDataReader* mReader;
};

}  // namespace

ParticleEmitter::ParticleEmitter() = default;

ParticleEmitter::ParticleEmitter(const ParticleEmitter& other)
    : ISerializable(other),
      mMinParticlesCount(other.mMinParticlesCount),
      mMaxParticlesCount(other.mMaxParticlesCount),
      mPosition(other.mPosition),
      mEmitRate(other.mEmitRate),
      mSpriteFileName(other.mSpriteFileName),
      mSpriteTableName(other.mSpriteTableName),
      mInitialLifeTime(other.mInitialLifeTime),
      mParticleColor(other.mParticleColor),
      mInitialScaleX(other.mInitialScaleX),
      mInitialScaleY(other.mInitialScaleY),
      mEmitterLifeTime(other.mEmitterLifeTime),
      mLooped(other.mLooped),
      mEmitterDelay(other.mEmitterDelay),
      mBlendMode(other.mBlendMode),
      mGlobalCoords(other.mGlobalCoords),
      mUseTails(other.mUseTails),
      mHeadSizeTex(other.mHeadSizeTex),
      mMaxSegments(other.mMaxSegments),
      mFadeSpeed(other.mFadeSpeed),
      mMinDistSegments(other.mMinDistSegments),
      mHeadSize(other.mHeadSize),
      poolSize(other.mMaxParticlesCount),
      elapsed(other.elapsed),
      spawnLimit(other.spawnLimit),
      enabled(other.enabled),
      ringSize(other.ringSize),
      trailRectWidth(other.trailRectWidth),
      trailRectHeight(other.trailRectHeight),
      trailRectLeft(other.trailRectLeft),
      trailRectTop(other.trailRectTop)
{
    if (other.sprite)
        sprite = SpriteManager<Sprite>::instance()->cloneSprite(other.sprite);
    mParticleAffectors.reserve(other.mParticleAffectors.size());
    for (const ParticleAffector* affector : other.mParticleAffectors)
        if (ParticleAffector* copy = ObjectFactory::instance()->cloneAffector(affector))
            mParticleAffectors.push_back(copy);
}

ParticleEmitter::~ParticleEmitter()
{
    for (ParticleAffector* affector : mParticleAffectors)
        delete affector;
    if (sprite) {
        if (SpriteManager<Sprite>* sprites = SpriteManager<Sprite>::instancePtr())
            sprites->releaseSprite(sprite);
    }
}

// ---------------------------------------------------------------------------
// Serialisation

template <typename Archive>
void ParticleEmitter::transferBase(Archive& archive)
{
    archive.transfer(nvp("mMinParticlesCount", mMinParticlesCount));
    archive.transfer(nvp("mMaxParticlesCount", mMaxParticlesCount));
    archive.transfer(nvp("mPosition", mPosition));
    archive.transfer(nvp("mEmitRate", mEmitRate));
    archive.transfer(nvp("mSpriteFileName", mSpriteFileName));
    archive.transfer(nvp("mSpriteTableName", mSpriteTableName));
    archive.transfer(nvp("mInitialLifeTime", mInitialLifeTime));
    archive.transfer(nvp("mParticleColor", mParticleColor));
    archive.transfer(nvp("mInitialScaleX", mInitialScaleX));
    archive.transfer(nvp("mInitialScaleY", mInitialScaleY));
    archive.transfer(nvp("mParticleAffectors", mParticleAffectors));
    archive.transfer(nvp("mEmitterLifeTime", mEmitterLifeTime));
    archive.transfer(nvp("mLooped", mLooped));
    archive.transfer(nvp("mEmitterDelay", mEmitterDelay));
    archive.transfer(nvp("mBlendMode", mBlendMode));
    archive.transfer(nvp("mGlobalCoords", mGlobalCoords));
    archive.transfer(nvp("mUseTails", mUseTails));
    archive.transfer(nvp("mHeadSizeTex", mHeadSizeTex));
    archive.transfer(nvp("mMaxSegments", mMaxSegments));
    archive.transfer(nvp("mFadeSpeed", mFadeSpeed));
    archive.transfer(nvp("mMinDistSegments", mMinDistSegments));
    archive.transfer(nvp("mHeadSize", mHeadSize));
}

template <typename Archive>
void ParticleEmitter::transferFields(Archive& archive)
{
    transferBase(archive);
}

VQ_SERIALIZED_BY_FIELDS(ParticleEmitter)

// ---------------------------------------------------------------------------
// Life cycle

void ParticleEmitter::init()
{
    particles.clear();
    particles.resize(size_t(std::max(mMaxParticlesCount, 0)));
    poolSize = int(particles.size());
    if (!sprite && !mSpriteFileName.empty() && !mSpriteTableName.empty())
        loadEmitterSprite();
    for (ParticleAffector* affector : mParticleAffectors)
        affector->attach(this);
    restart();
}

void ParticleEmitter::loadEmitterSprite()
{
    SpriteManager<Sprite>* sprites = SpriteManager<Sprite>::instance();
    std::unique_ptr<CachedReader> cached =
        std::make_unique<CachedReader>(ConfigManager::instance()->currentLanguage(), mSpriteFileName);
    if (!cached->found()) {
        cached.reset();
        cached = std::make_unique<CachedReader>("default", mSpriteFileName);
    }
    if (cached->found() && cached->reader().enterNode(mSpriteTableName))
        sprite = sprites->createSpriteFromXml(cached->reader());
    else
        sprite = sprites->createSpriteFromScript(mSpriteFileName, mSpriteTableName, "default");
}

void ParticleEmitter::rebuildFreeList()
{
    freeHead = -1;
    for (int i = int(particles.size()) - 1; i >= 0; --i) {
        if (!particles[size_t(i)].dead)
            continue;
        particles[size_t(i)].next = freeHead;
        freeHead = i;
    }
}

void ParticleEmitter::rebuildTails()
{
    ringSize = mMaxSegments + 7;
    for (Particle& particle : particles) {
        if (particle.tail)
            particle.tail->rebuild();
        else
            particle.tail = std::make_unique<ParticleTail>(this);
    }
    trailSegmentsBuilt = mMaxSegments;
}

void ParticleEmitter::restart()
{
    elapsed = 0.0f;
    accumulator = 0.0f;
    if (sprite)
        sprite->layoutGridVertices();
    for (Particle& particle : particles) {
        particle.dead = 1;
        particle.position = Vector2f();
        particle.angle = 0.0f;
        particle.remaining = 0.0f;
        particle.age = 0.0f;
        particle.scale = Vector2f(1.0f, 1.0f);
        particle.next = -1;
    }
    rebuildFreeList();
    if (mUseTails) {
        const Rect source = sprite && !sprite->sourceRects().empty() ? sprite->sourceRects()[0] : Rect();
        trailRectWidth = source.width();
        trailRectHeight = source.height();
        trailRectLeft = source.left;
        trailRectTop = source.top;
        rebuildTails();
    } else {
        for (Particle& particle : particles)
            particle.tail.reset();
    }
    aliveCount = 0;
    updateParticles(0.0f);
}

void ParticleEmitter::resizePool()
{
    if (mMaxParticlesCount < 0) {
        mMaxParticlesCount = poolSize;
        return;
    }
    const size_t count = size_t(mMaxParticlesCount);
    particles.resize(count);
    poolSize = mMaxParticlesCount;
    for (ParticleAffector* affector : mParticleAffectors)
        affector->resize(mMaxParticlesCount);
    if (mUseTails)
        for (Particle& particle : particles)
            if (!particle.tail)
                particle.tail = std::make_unique<ParticleTail>(this);
    rebuildFreeList();
}

bool ParticleEmitter::isFinished() const
{
    if (mLooped || elapsed < mEmitterLifeTime)
        return false;
    for (const Particle& particle : particles)
        if (!particle.dead)
            return false;
    return true;
}

// ---------------------------------------------------------------------------
// Time and emission

int ParticleEmitter::emitterPercent() const
{
    if (mEmitterLifeTime > 0.0f)
        return saturatedInt(elapsed * 100.0f / mEmitterLifeTime);
    return saturatedInt(elapsed * 10.0f);
}

int ParticleEmitter::lifePercent(const Particle& particle)
{
    const float span = particle.age + particle.remaining;
    if (span == 0.0f)
        return 0;
    return saturatedInt(100.0f * particle.age / span);
}

Vector2f ParticleEmitter::effectPosition() const
{
    return owner ? owner->mPosition : Vector2f();
}

bool ParticleEmitter::emitting() const
{
    if (owner && (owner->animationEnded() || owner->allEmittersFinished()))
        return false;
    if (!owner && isFinished())
        return false;
    return elapsed > mEmitterDelay && (mLooped || elapsed < mEmitterLifeTime);
}

void ParticleEmitter::update(float dt)
{
    if (!enabled)
        return;
    elapsed += dt;
    if (mEmitterLifeTime > 0.0f && mLooped && elapsed > mEmitterLifeTime)
        elapsed = 0.0f;
    if (emitting())
        emit(dt);
    updateParticles(dt);
    for (ParticleAffector* affector : mParticleAffectors)
        affector->update(dt);
}

void ParticleEmitter::emit(float dt)
{
    if (mEmitterLifeTime >= 0.0f && elapsed >= mEmitterLifeTime)
        return;
    accumulator += dt;
    const float rate = mEmitRate.getAverageValue(emitterPercent()) * emitCoefficient;
    const float period = rate > 0.0f ? 1.0f / rate : NO_PERIOD;
    while (accumulator > period) {
        // Full: owe nothing, so a death does not set off a burst.
        if (aliveCount >= mMaxParticlesCount || (spawnLimit >= 0 && aliveCount >= spawnLimit)) {
            accumulator = 0.0f;
            break;
        }
        // No record free this frame: keep only what is owed below one
        // period. Subtracting the period until nothing is owed would never
        // end at high rates, once the subtraction no longer changes the sum.
        if (freeHead == -1) {
            accumulator = period > 0.0f && std::isfinite(accumulator) ? std::fmod(accumulator, period) : 0.0f;
            break;
        }
        spawn(freeHead);
        if (period > 0.0f)
            accumulator -= period;
    }
}

void ParticleEmitter::spawn(int index)
{
    Particle& particle = particles[size_t(index)];
    freeHead = particle.next;
    const int percent = emitterPercent();
    particle.dead = 0;
    particle.remaining = mInitialLifeTime.getAverageValue(percent);
    particle.age = 0.0f;
    particle.color = mParticleColor.getAverageColor(0);
    particle.scale = Vector2f(mInitialScaleX.getAverageValue(0), mInitialScaleY.getAverageValue(0));
    particle.position = mPosition;
    particle.angle = 0.0f;
    particle.next = -1;
    if (mUseTails && particle.tail)
        particle.tail->clear();
    spawnOffset(index);
    // Placed in the world before the affectors see it, so that the ones
    // that remember where a particle started (auto rotate) remember the
    // point it is drawn at. This is a deliberate change of order: the
    // effect format's own order moves the particle after the affectors'
    // spawn, which measured a global particle's first auto-rotate angle
    // from its emitter-local point, a wrong first angle.
    if (mGlobalCoords)
        particle.position += mPosition + effectPosition();
    for (ParticleAffector* affector : mParticleAffectors)
        affector->spawn(index);
}

void ParticleEmitter::updateParticles(float dt)
{
    if (poolSize != mMaxParticlesCount)
        resizePool();
    if (mUseTails && trailSegmentsBuilt != mMaxSegments)
        rebuildTails();
    aliveCount = 0;
    const Vector2f origin = mPosition + effectPosition();
    for (size_t i = 0; i < particles.size(); ++i) {
        Particle& particle = particles[i];
        if (particle.dead)
            continue;
        particle.age += dt;
        particle.remaining -= dt;
        const int percent = lifePercent(particle);
        particle.color = mParticleColor.getValue(0, percent);
        particle.scale = Vector2f(mInitialScaleX.getValue(0, percent), mInitialScaleY.getValue(0, percent));
        if (particle.remaining <= 0.0f) {
            particle.dead = 1;
            particle.next = freeHead;
            freeHead = int(i);
        }
        if (mUseTails && particle.tail) {
            particle.tail->width = particle.scale.y * trailRectHeight;
            particle.tail->update(dt, mGlobalCoords ? particle.position : particle.position + origin);
        }
        if (!particle.dead)
            ++aliveCount;
    }
    trailSegmentsBuilt = mMaxSegments;
}

// ---------------------------------------------------------------------------
// Drawing

void ParticleEmitter::draw(const Vector2f& effectPos)
{
    if (!enabled || !sprite)
        return;
    sprite->setBlendMode(mBlendMode);
    const Vector2f size = sprite->size();
    for (Particle& particle : particles) {
        if (particle.dead)
            continue;
        Color color = particle.color;
        const float alpha = std::clamp(std::trunc(float(color.a) * opacity), 0.0f, 255.0f);
        color.a = uint8_t(alpha == alpha ? alpha : 0.0f);
        sprite->setColor(color);
        if (!mUseTails) {
            const Vector2f point = mGlobalCoords ? particle.position : effectPos + mPosition + particle.position;
            const Vector2f half(size.x * particle.scale.x * 0.5f, size.y * particle.scale.y * 0.5f);
            sprite->setRotationCenter(half);
            sprite->setPosition(point - half);
            sprite->setScale(particle.scale);
            sprite->setAngle(particle.angle);
            sprite->updateVertices();
            sprite->draw();
        } else if (particle.tail) {
            // The ribbon's corners are world points already.
            sprite->setRotationCenter(Vector2f());
            sprite->setPosition(Vector2f());
            sprite->setScale(Vector2f(1.0f, 1.0f));
            sprite->setAngle(0.0f);
            particle.tail->draw(*sprite);
        }
    }
}

// ---------------------------------------------------------------------------
// Shapes

template <typename Archive>
void ParticleBoxEmitter::transferFields(Archive& archive)
{
    archive.transfer(nvp("mRect", mRect));
    archive.transfer(nvp("mRectAngle", mRectAngle));
    transferBase(archive);
}

VQ_SERIALIZED_BY_FIELDS(ParticleBoxEmitter)

void ParticleBoxEmitter::spawnOffset(int index)
{
    const float r1 = unitDraw();
    const float r2 = unitDraw();
    const float u = mRect.left + r1 * (mRect.right - mRect.left);
    const float v = mRect.top + r2 * (mRect.bottom - mRect.top);
    const float a = mRectAngle * 0.0174533f;
    particles[size_t(index)].position = Vector2f(std::cos(a) * u - std::sin(a) * v, std::sin(a) * u + std::cos(a) * v);
}

template <typename Archive>
void ParticleQuadEmitter::transferFields(Archive& archive)
{
    archive.transfer(nvp("mPointLeftTop", mPointLeftTop));
    archive.transfer(nvp("mPointLeftBottom", mPointLeftBottom));
    archive.transfer(nvp("mPointRightTop", mPointRightTop));
    archive.transfer(nvp("mPointRightBottom", mPointRightBottom));
    transferBase(archive);
}

VQ_SERIALIZED_BY_FIELDS(ParticleQuadEmitter)

void ParticleQuadEmitter::spawnOffset(int index)
{
    const float r1 = unitDraw();
    const float r2 = unitDraw();
    const Vector2f& a = mPointLeftTop;
    const Vector2f& b = mPointLeftBottom;
    const Vector2f& c = mPointRightTop;
    const Vector2f& d = mPointRightBottom;
    const Vector2f p1 = b + (d - b) * r1;
    const Vector2f p2 = a + (c - a) * r1;
    const Vector2f q1 = b + (a - b) * r2;
    const Vector2f q2 = d + (c - d) * r2;
    const Vector2f q = q2 - q1;
    const Vector2f p = p2 - p1;
    const float denominator = q.y * p.x - q.x * p.y;
    // Parallel or collapsed lines cross nowhere: the particle starts at P1.
    if (denominator == 0.0f || !std::isfinite(denominator)) {
        particles[size_t(index)].position = p1;
        return;
    }
    const float t = (q.x * (p1.y - q1.y) - q.y * (p1.x - q1.x)) / denominator;
    particles[size_t(index)].position = p1 + p * t;
}

template <typename Archive>
void ParticleCircleEmitter::transferFields(Archive& archive)
{
    archive.transfer(nvp("mRadius", mRadius));
    transferBase(archive);
}

VQ_SERIALIZED_BY_FIELDS(ParticleCircleEmitter)

void ParticleCircleEmitter::spawnOffset(int index)
{
    const float r1 = unitDraw();
    const float r2 = unitDraw();
    const float a = r1 * 6.2831855f;
    const float d = r2 * mRadius;
    particles[size_t(index)].position = Vector2f(std::cos(a) * d, std::sin(a) * d);
}

}  // namespace VQ
