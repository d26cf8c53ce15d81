#include "animationeditor/particle_scene_node.h"

#include <algorithm>

#include "animationeditor/data_stream.h"
#include "animationeditor/scene_stencil.h"
#include "file_system.h"
#include "particle_emitter.h"
#include "particle_fx.h"
#include "particle_system.h"
#include "render_system.h"

namespace AE {

ParticleSceneNode::ParticleSceneNode()
{
    bindParticleTracks();
    VQ::ParticleSystem::instance()->liveUpdating = false;
}

ParticleSceneNode::ParticleSceneNode(const ParticleSceneNode& source, ISceneNode* newParent)
    : ISceneNode(source, newParent),
      emitCoef(source.emitCoef),
      play(source.play != 0 ? 1 : 0),
      stencil(source.stencil),
      distortion(source.distortion)
{
    if (source.effect) {
        effect = VQ::ParticleSystem::instance()->createCopy(source.effect);
        effect->mPosition = worldPosition;
    }
    bindParticleTracks();
}

ParticleSceneNode::~ParticleSceneNode()
{
    releaseEffect();
}

ISceneNode* ParticleSceneNode::clone(ISceneNode* newParent) const
{
    return new ParticleSceneNode(*this, newParent);
}

void ParticleSceneNode::bindParticleTracks()
{
    animation->bind("emitCoef", &emitCoef);
    animation->bind("play", &play, false);
}

void ParticleSceneNode::releaseEffect()
{
    if (effect)
        VQ::ParticleSystem::instance()->release(effect);
    effect = nullptr;
}

bool ParticleSceneNode::setEffect(const std::string& effectName)
{
    releaseEffect();
    effect = createEffect(effectName);
    fileName = effectName;
    return effect != nullptr;
}

VQ::ParticleFX* ParticleSceneNode::createEffect(const std::string& effectName)
{
    // The particle system stops the program for a file it cannot open; a
    // scene naming a missing effect only shows nothing there.
    if (!VQ::FileSystem::exists() || !VQ::FileSystem::instance()->contains("default", effectName))
        return nullptr;
    return VQ::ParticleSystem::instance()->create(effectName);
}

// --- Per frame ---

void ParticleSceneNode::updateDerived(float dt)
{
    ISceneNode::updateDerived(dt);
    if (!effect)
        return;
    effect->active = play != 0;
    if (enabled && playing) {
        effect->mPosition = VQ::Vector2f(worldMatrix.m20, worldMatrix.m21);
        effect->update(dt);
    }
}

void ParticleSceneNode::setTime(float seconds, bool recursive)
{
    ISceneNode::setTime(seconds, recursive);
    if (!effect)
        return;
    effect->restart();
    effect->update(seconds);
}

void ParticleSceneNode::render()
{
    if (!effect || !enabled)
        return;
    if (effectsLevel != 0 && worldColor.a <= 1)
        return;
    VQ::RenderSystem* renderSystem = VQ::RenderSystem::instance();
    if (stencil)
        beginStencilDrawing(*this);
    if (distortion)
        renderSystem->beginDistortion();
    applyCamera();
    if (effectsLevel > 0)
        effect->setAlpha(float(worldColor.a) * (1.0f / 255.0f));
    for (VQ::ParticleEmitter* emitter : effect->mParticleEmitters)
        emitter->setEmitCoefficient(emitCoef);
    for (VQ::ParticleEmitter* emitter : effect->mParticleEmitters)
        emitter->draw(effect->mPosition);
    if (stencil) {
        renderSystem->flushBatch();
        endStencilDrawing();
    }
    if (distortion)
        renderSystem->endDistortion();
}

// --- Key frames ---

void ParticleSceneNode::writeKeyFrame(float x, float y, float z, float emitFactor, float pivotX, float pivotY,
                                      int32_t playValue, uint32_t frame)
{
    SceneNodeAnimation& a = *animation;
    a.addKeyframe(frame);
    const int i = a.keyFrameIndex(frame);
    a.keyAt<float>("posX", i).value = x;
    a.keyAt<float>("posY", i).value = y;
    a.keyAt<float>("emitCoef", i).value = emitFactor;
    a.keyAt<VQ::Vector2f>("pivotPoint", i).value = VQ::Vector2f(pivotX, pivotY);
    a.keyAt<float>("posZ", i).value = z;
    a.keyAt<int>("play", i).value = playValue;
    a.keyAt<float>("scaleX", i).value = 1.0f;
    a.keyAt<float>("scaleY", i).value = 1.0f;
    a.keyAt<float>("shear00", i).value = shear.m00;
    a.keyAt<float>("shear01", i).value = shear.m01;
    a.keyAt<float>("shear10", i).value = shear.m10;
    a.keyAt<float>("shear11", i).value = shear.m11;
}

void ParticleSceneNode::storeKeyFrameAt(float frame)
{
    writeKeyFrame(posX, posY, posZ, emitCoef, pivotPoint.x, pivotPoint.y, play, uint32_t(frame));
}

void ParticleSceneNode::storeKeyFrame(uint32_t frame)
{
    ISceneNode::storeKeyFrame(frame);
    writeKeyFrame(posX, posY, posZ, emitCoef, pivotPoint.x, pivotPoint.y, play, frame);
}

void ParticleSceneNode::copyKeyFrame(uint32_t fromFrame, uint32_t toFrame)
{
    if (hasKeyFrame(toFrame) || !hasKeyFrame(fromFrame))
        return;
    SceneNodeAnimation& a = *animation;
    const int i = a.keyFrameIndex(fromFrame);
    const VQ::Vector2f pivot = a.keyAt<VQ::Vector2f>("pivotPoint", i).value;
    writeKeyFrame(a.keyAt<float>("posX", i).value, a.keyAt<float>("posY", i).value, a.keyAt<float>("posZ", i).value,
                  a.keyAt<float>("emitCoef", i).value, pivot.x, pivot.y, a.keyAt<int>("play", i).value, toFrame);
}

void ParticleSceneNode::insertKeyFrame(uint32_t frame)
{
    if (hasKeyFrame(frame))
        return;
    // Without a key frame there is no key to take the values from.
    if (animation->keyFrames.empty()) {
        storeKeyFrameAt(float(frame));
        return;
    }
    const VQ::Vector2f pivot = currentKeyVector2(*this, "pivotPoint");
    const int playValue = animation->keyAt<int>("play", std::max(animation->keyIndexAt(), 0)).value;
    writeKeyFrame(currentKeyFloat(*this, "posX"), currentKeyFloat(*this, "posY"), currentKeyFloat(*this, "posZ"),
                  currentKeyFloat(*this, "emitCoef"), pivot.x, pivot.y, playValue, frame);
}

void ParticleSceneNode::applyFrameData(uint32_t frame, const IFrameData& data)
{
    ISceneNode::applyFrameData(frame, data);
    SceneNodeAnimation& a = *animation;
    const int i = a.keyFrameIndex(frame);
    ParticleFrameData values;
    if (const auto* own = dynamic_cast<const ParticleFrameData*>(&data)) {
        values = *own;
    } else {
        values.emitCoef = previousKeyValue(*this, "emitCoef", i, emitCoef);
        values.play = previousKeyValue(*this, "play", i, int(play));
    }
    a.keyAt<float>("emitCoef", i).value = values.emitCoef;
    a.keyAt<int>("play", i).value = values.play;
}

std::unique_ptr<IFrameData> ParticleSceneNode::createFrameData(uint32_t frame, bool world)
{
    return captureFrameData<ParticleFrameData>(*this, frame, world);
}

// --- Node data ---

void ParticleSceneNode::fillNodeData(ISceneNodeData& base, bool bake)
{
    ISceneNode::fillNodeData(base, bake);
    if (auto* data = dynamic_cast<ParticleSceneNodeData*>(&base)) {
        data->emitCoef = emitCoef;
        data->play = play;
        data->stencil = stencil;
        data->distortion = distortion;
    }
}

std::unique_ptr<ISceneNodeData> ParticleSceneNode::createNodeData(bool bake)
{
    return makeNodeData<ParticleSceneNodeData>(*this, bake);
}

void ParticleSceneNode::setNodeData(const ISceneNodeData& base)
{
    ISceneNode::setNodeData(base);
    if (const auto* data = dynamic_cast<const ParticleSceneNodeData*>(&base)) {
        emitCoef = data->emitCoef;
        play = data->play;
        stencil = data->stencil;
        distortion = data->distortion;
    }
}

// --- Saved form ---

void ParticleSceneNode::save(DataStream& stream, bool bake)
{
    ISceneNode::save(stream, bake);
    writeValue(stream, emitCoef);
    writeValue(stream, play);
    writeBool(stream, stencil);
    writeBool(stream, distortion);
}

void ParticleSceneNode::load(DataStream& stream)
{
    ISceneNode::load(stream);
    emitCoef = readValue<float>(stream);
    play = readValue<int32_t>(stream);
    stencil = readBool(stream);
    distortion = readBool(stream);
    releaseEffect();
    effect = createEffect(fileName);
}

}  // namespace AE
