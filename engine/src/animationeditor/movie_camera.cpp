#include "animationeditor/movie_camera.h"

#include <algorithm>

#include "animationeditor/data_stream.h"
#include "animationeditor/vector_stream.h"

namespace AE {

MovieCamera::MovieCamera()
{
    parallaxEnabled = false;
}

MovieCamera::MovieCamera(const MovieCamera& source, ISceneNode* newParent)
    : ISceneNode(source, newParent),
      view(source.view),
      time(source.time),
      nextActivationTime(source.nextActivationTime),
      activationIndex(source.activationIndex),
      priority(source.priority),
      activationFrames(source.activationFrames),
      parallaxCoef(source.parallaxCoef)
{
}

ISceneNode* MovieCamera::clone(ISceneNode* newParent) const
{
    return new MovieCamera(*this, newParent);
}

bool MovieCamera::treeSelectsCamera() const
{
    return parent ? parent->rootSelectsCamera() : selectsCamera;
}

void MovieCamera::updateDerived(float dt)
{
    view.position = VQ::Vector2f(-posX, -posY);
    view.angle = rotation;
    view.scale = VQ::Vector2f(scaleX, scaleY);
    if (!playing || !treeSelectsCamera())
        return;
    time += dt;
    const size_t count = activationFrames.size();
    if (size_t(activationIndex) < count && nextActivationTime < time) {
        priority = nextActivationTime;
        activationIndex += 1.0f;
        if (size_t(activationIndex) < count)
            nextActivationTime = float(activationFrames[size_t(activationIndex)]) / animation->fps;
    }
}

void MovieCamera::setRotation(float degrees)
{
    ISceneNode::setRotation(degrees);
    view.angle = degrees;
}

void MovieCamera::setScaleX(float scale)
{
    ISceneNode::setScaleX(scale);
    view.scale.x = scale;
}

void MovieCamera::setScaleY(float scale)
{
    ISceneNode::setScaleY(scale);
    view.scale.y = scale;
}

void MovieCamera::setPosition(const VQ::Vector2f& position)
{
    posX = position.x;
    posY = position.y;
    view.position = VQ::Vector2f(-worldPosition.x, -worldPosition.y);
}

// --- Activation frames ---

void MovieCamera::addActivationFrame(int32_t frame)
{
    if (frame < 0 || !hasKeyFrame(uint32_t(frame)))
        return;
    if (std::find(activationFrames.begin(), activationFrames.end(), frame) != activationFrames.end())
        return;
    activationFrames.push_back(frame);
    std::sort(activationFrames.begin(), activationFrames.end());
    seekActivation();
}

void MovieCamera::removeActivationFrame(int32_t frame)
{
    const auto it = std::find(activationFrames.begin(), activationFrames.end(), frame);
    if (it != activationFrames.end()) {
        activationFrames.erase(it);
        seekActivation();
    }
}

void MovieCamera::writeKeyFrame(float degrees, uint32_t frame, const VQ::Vector2f& position,
                                const VQ::Vector2f& scale)
{
    SceneNodeAnimation& a = *animation;
    a.addKeyframe(frame);
    const int i = a.keyFrameIndex(frame);
    a.keyAt<float>("posX", i).value = position.x;
    a.keyAt<float>("posY", i).value = position.y;
    a.keyAt<float>("rotation", i).value = degrees;
    a.keyAt<float>("scaleX", i).value = scale.x;
    a.keyAt<float>("scaleY", i).value = scale.y;
    a.keyAt<float>("shear00", i).value = shear.m00;
    a.keyAt<float>("shear01", i).value = shear.m01;
    a.keyAt<float>("shear10", i).value = shear.m10;
    a.keyAt<float>("shear11", i).value = shear.m11;
    if (!parent)
        return;
    const MovieCamera* active = parent->parent ? parent->getActiveCamera() : parent->activeCamera;
    if (active == this)
        addActivationFrame(int32_t(frame));
}

void MovieCamera::storeKeyFrame(uint32_t frame)
{
    writeKeyFrame(rotation, frame, VQ::Vector2f(posX, posY), VQ::Vector2f(scaleX, scaleY));
}

void MovieCamera::removeKeyFrame(uint32_t frame)
{
    ISceneNode::removeKeyFrame(frame);
    removeActivationFrame(int32_t(frame));
}

void MovieCamera::moveKeyFrame(uint32_t oldFrame, uint32_t newFrame)
{
    animation->moveKeyframe(oldFrame, newFrame);
    const auto it = std::find(activationFrames.begin(), activationFrames.end(), int32_t(oldFrame));
    if (it != activationFrames.end()) {
        *it = int32_t(newFrame);
        std::sort(activationFrames.begin(), activationFrames.end());
        seekActivation();
    }
}

// --- Time ---

void MovieCamera::setTime(float seconds, bool recursive)
{
    time = seconds;
    ISceneNode::setTime(seconds, recursive);
    chooseCameraAt();
    seekActivation();
}

void MovieCamera::seekActivation()
{
    priority = 0.0f;
    activationIndex = 0.0f;
    const float fps = animation->fps;
    for (size_t k = 0; k < activationFrames.size(); ++k) {
        const float b = float(activationFrames[k]) / fps;
        if (time <= b) {
            nextActivationTime = b;
            activationIndex = float(k);
            return;
        }
        priority = b;
    }
    activationIndex = float(activationFrames.size());
}

void MovieCamera::chooseCameraAt()
{
    if (!parent || !treeSelectsCamera())
        return;
    const int32_t f = int32_t(animation->fps * time);
    MovieCamera* winner = nullptr;
    int32_t best = 0;
    for (ISceneNode* child : parent->children) {
        auto* camera = dynamic_cast<MovieCamera*>(child);
        if (!camera || camera->activationFrames.empty() || camera->activationFrames.front() > f)
            continue;
        int32_t latest = camera->activationFrames.front();
        for (int32_t frame : camera->activationFrames)
            if (frame <= f)
                latest = frame;
        const int32_t d = f - latest;
        if (!winner || d <= best) {
            winner = camera;
            best = d;
        }
    }
    parent->activeCamera = winner;
}

// --- Node data ---

void MovieCamera::fillNodeData(ISceneNodeData& base, bool bake)
{
    ISceneNode::fillNodeData(base, bake);
    auto* data = dynamic_cast<CameraData*>(&base);
    if (!data)
        return;
    data->view = view;
    data->time = time;
    data->parallaxCoef = parallaxCoef;
    data->activationFrames = activationFrames;
    data->frameCount = int32_t(activationFrames.size());
}

std::unique_ptr<ISceneNodeData> MovieCamera::createNodeData(bool bake)
{
    return makeNodeData<CameraData>(*this, bake);
}

void MovieCamera::setNodeData(const ISceneNodeData& base)
{
    ISceneNode::setNodeData(base);
    const auto* data = dynamic_cast<const CameraData*>(&base);
    if (!data)
        return;
    view = data->view;
    time = data->time;
    parallaxCoef = data->parallaxCoef;
    activationFrames = data->activationFrames;
    seekActivation();
}

// --- Saved form ---

void MovieCamera::save(DataStream& stream, bool bake)
{
    ISceneNode::save(stream, bake);
    writeValue(stream, view.position.x);
    writeValue(stream, view.position.y);
    writeValue(stream, view.scale.x);
    writeValue(stream, view.scale.y);
    writeValue(stream, view.angle);
    writeBool(stream, view.hasMatrix);
    writeZeros(stream, 3);
    for (const auto& row : view.matrix)
        for (float value : row)
            writeValue(stream, value);
    writeValue(stream, time);
    writeValue(stream, nextActivationTime);
    writeValue(stream, activationIndex);
    writeValue(stream, priority);
    writeValue<int32_t>(stream, int32_t(activationFrames.size()));
    for (int32_t frame : activationFrames)
        writeValue(stream, frame);
    writeValue(stream, parallaxCoef);
}

void MovieCamera::load(DataStream& stream)
{
    ISceneNode::load(stream);
    view.position.x = readValue<float>(stream);
    view.position.y = readValue<float>(stream);
    view.scale.x = readValue<float>(stream);
    view.scale.y = readValue<float>(stream);
    view.angle = readValue<float>(stream);
    view.hasMatrix = readBool(stream);
    skipBytes(stream, 3);
    for (auto& row : view.matrix)
        for (float& value : row)
            value = readValue<float>(stream);
    time = readValue<float>(stream);
    nextActivationTime = readValue<float>(stream);
    activationIndex = readValue<float>(stream);
    priority = readValue<float>(stream);
    const int32_t count = readValue<int32_t>(stream);
    if (count < 0)
        reportReadOutOfRange(__LINE__);
    requireBytes(stream, uint64_t(count) * 4 + 4);
    activationFrames.clear();
    activationFrames.reserve(size_t(count));
    for (int32_t k = 0; k < count; ++k)
        activationFrames.push_back(readValue<int32_t>(stream));
    parallaxCoef = readValue<float>(stream);
}

}  // namespace AE
