#include "animationeditor/scene_node_animation.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <type_traits>

#include "animationeditor/vector_stream.h"
#include "fatal_error.h"
#include "log_system.h"
#include "lua_script_2.h"

namespace AE {

namespace {

[[noreturn]] void animationFatal(const std::string& message, int line)
{
    VQ::assertFailed("VQ", message, "scene_node_animation", line);
}

// Float to integer without the undefined results of an out-of-range cast:
// NaN gives 0, anything beyond the range its nearest end.
int64_t truncSaturated(double v)
{
    if (!(v == v))
        return 0;
    if (v >= 9.0e18)
        return INT64_MAX;
    if (v <= -9.0e18)
        return INT64_MIN;
    return int64_t(v);
}

int32_t toInt32(int64_t v)
{
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// The colour with all four channels trunc(x * 255), kept to their low bits
// as colour arithmetic is.
VQ::Color weightColor(float x)
{
    const uint8_t c = uint8_t(truncSaturated(double(x * 255.0f)));
    return VQ::Color::fromBytes(c, c, c, c);
}

// The handle factors of a Bezier segment: both take key i's weight.
float leftHandle(float w, float t)
{
    return 1.0f - std::fabs(1.0f - w - t);
}

float rightHandle(float w, float t)
{
    return 1.0f - std::fabs(w - t);
}

struct Bernstein {
    float b0, b1, b2, b3;
    explicit Bernstein(float t)
    {
        const float u = 1.0f - t;
        b0 = u * u * u;
        b1 = 3.0f * t * u * u;
        b2 = 3.0f * t * t * u;
        b3 = t * t * t;
    }
    float curve(float p0, float p1, float p2, float p3) const { return b0 * p0 + b1 * p1 + b2 * p2 + b3 * p3; }
};

// --- The rules of each value type ---

template <typename T>
T linearValue(const T& a, const T& b, float t);

template <>
float linearValue(const float& a, const float& b, float t)
{
    return a == b ? a : a * (1.0f - t) + b * t;
}

template <>
int linearValue(const int& a, const int& b, float t)
{
    return a == b ? a : lerpInt(a, b, t);
}

template <>
bool linearValue(const bool& a, const bool& b, float t)
{
    return a == b ? a : ((1.0f - t) * float(a) + t * float(b)) != 0.0f;
}

template <>
VQ::Color linearValue(const VQ::Color& a, const VQ::Color& b, float t)
{
    return a == b ? a : lerpColor(a, b, t);
}

template <>
VQ::Vector2f linearValue(const VQ::Vector2f& a, const VQ::Vector2f& b, float t)
{
    if (a == b)
        return a;
    return {a.x * (1.0f - t) + b.x * t, a.y * (1.0f - t) + b.y * t};
}

using FloatKey = SceneNodeAnimation::Key<float>;

float bezierFloat(float p0, float tangentI, bool smoothI, float p3, float tangentJ, bool smoothJ, float w, float t)
{
    const float p1 = p0 + (smoothI ? leftHandle(w, t) * tangentI : 0.0f);
    const float p2 = p3 - (smoothJ ? rightHandle(w, t) * tangentJ : 0.0f);
    return Bernstein(t).curve(p0, p1, p2, p3);
}

template <typename T>
T bezierValue(const SceneNodeAnimation::Key<T>& ki, const SceneNodeAnimation::Key<T>& kj, float t);

template <>
float bezierValue(const FloatKey& ki, const FloatKey& kj, float t)
{
    return bezierFloat(ki.value, ki.tangent, ki.smooth, kj.value, kj.tangent, kj.smooth, ki.weight, t);
}

template <>
VQ::Vector2f bezierValue(const SceneNodeAnimation::Key<VQ::Vector2f>& ki,
                         const SceneNodeAnimation::Key<VQ::Vector2f>& kj, float t)
{
    return {bezierFloat(ki.value.x, ki.tangent.x, ki.smooth, kj.value.x, kj.tangent.x, kj.smooth, ki.weight, t),
            bezierFloat(ki.value.y, ki.tangent.y, ki.smooth, kj.value.y, kj.tangent.y, kj.smooth, ki.weight, t)};
}

template <>
int bezierValue(const SceneNodeAnimation::Key<int>& ki, const SceneNodeAnimation::Key<int>& kj, float t)
{
    // The handle offsets are whole numbers before they are added.
    const double p0 = ki.value;
    const double p3 = kj.value;
    const double p1 = p0 + (ki.smooth ? double(truncSaturated(double(leftHandle(ki.weight, t)) * ki.tangent)) : 0.0);
    const double p2 = p3 - (kj.smooth ? double(truncSaturated(double(rightHandle(ki.weight, t)) * kj.tangent)) : 0.0);
    const double u = 1.0 - t;
    const double value = u * u * u * p0 + 3.0 * t * u * u * p1 + 3.0 * t * t * u * p2 + double(t) * t * t * p3;
    return toInt32(truncSaturated(value));
}

template <>
VQ::Color bezierValue(const SceneNodeAnimation::Key<VQ::Color>& ki, const SceneNodeAnimation::Key<VQ::Color>& kj,
                      float t)
{
    const VQ::Color p0 = ki.value;
    const VQ::Color p3 = kj.value;
    const VQ::Color p1 = ki.smooth ? p0 + weightColor(leftHandle(ki.weight, t)) * ki.tangent : p0;
    const VQ::Color p2 = kj.smooth ? p3 - weightColor(rightHandle(ki.weight, t)) * kj.tangent : p3;
    const Bernstein b(t);
    return weightColor(b.b0) * p0 + weightColor(b.b1) * p1 + weightColor(b.b2) * p2 + weightColor(b.b3) * p3;
}

template <>
bool bezierValue(const SceneNodeAnimation::Key<bool>& ki, const SceneNodeAnimation::Key<bool>& kj, float t)
{
    const bool h1 = leftHandle(ki.weight, t) * float(ki.tangent) != 0.0f;
    const bool h2 = rightHandle(ki.weight, t) * float(kj.tangent) != 0.0f;
    const bool p0 = ki.value;
    const bool p3 = kj.value;
    const bool p1 = ki.smooth ? (p0 || h1) : p0;
    const bool p2 = kj.smooth ? (p3 != h2) : p3;
    const Bernstein b(t);
    return (p0 && b.b0 != 0.0f) || (p1 && b.b1 != 0.0f) || (p2 && b.b2 != 0.0f) || (p3 && b.b3 != 0.0f);
}

// --- Reading a key from a data script ---

bool readScriptValue(VQ::LuaScript2& script, const std::string& name, float& out)
{
    return script.getFloat(name, out, 0.0f);
}

bool readScriptValue(VQ::LuaScript2& script, const std::string& name, int& out)
{
    return script.getInt(name, out, 0);
}

bool readScriptValue(VQ::LuaScript2& script, const std::string& name, bool& out)
{
    return script.getBool(name, out);
}

bool readScriptValue(VQ::LuaScript2& script, const std::string& name, VQ::Color& out)
{
    return script.getColor(name, out);
}

bool readScriptValue(VQ::LuaScript2& script, const std::string& name, VQ::Vector2f& out)
{
    float xy[2] = {0.0f, 0.0f};
    const bool found = script.getVector2(name, xy);
    out = VQ::Vector2f(xy[0], xy[1]);
    return found;
}

// --- The key record in a stream: its in-memory form, pad bytes zeroed ---

template <typename T>
void writeKeyValue(DataStream& stream, const T& value)
{
    if constexpr (std::is_same_v<T, bool>)
        writeBool(stream, value);
    else
        writeValue(stream, value);
}

template <typename T>
T readKeyValue(DataStream& stream)
{
    if constexpr (std::is_same_v<T, bool>)
        return readBool(stream);
    else
        return readValue<T>(stream);
}

// A bool record pads its value and tangent to four bytes.
template <typename T>
constexpr size_t valuePadBytes = std::is_same_v<T, bool> ? 2 : 0;

template <typename T>
constexpr size_t keyRecordBytes = 2 * sizeof(T) + valuePadBytes<T> + 4 + 4 + 1 + 3;

static_assert(keyRecordBytes<float> == 20 && keyRecordBytes<int> == 20 && keyRecordBytes<VQ::Color> == 20);
static_assert(keyRecordBytes<VQ::Vector2f> == 28 && keyRecordBytes<bool> == 16);

}  // namespace

int32_t lerpInt(int32_t a, int32_t b, float t)
{
    const int64_t s = std::clamp<int64_t>(truncSaturated(double(t * 1000.0f)), -1000000, 1000000);
    return toInt32(((1000 - s) * int64_t(a) + s * int64_t(b)) * 1000 / 1000000);
}

VQ::Color lerpColor(const VQ::Color& a, const VQ::Color& b, float t)
{
    const int s = int(std::clamp<int64_t>(truncSaturated(double(t * 255.0f)), -65536, 65536));
    auto channel = [s](uint8_t x, uint8_t y) { return uint8_t((((256 - s) * x) >> 8) + (((s + 1) * y) >> 8)); };
    return VQ::Color::fromBytes(channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b), channel(a.a, b.a));
}

// --- Container<T> ---

template <typename T>
void SceneNodeAnimation::Container<T>::loadKey(VQ::LuaScript2& script, uint32_t frame)
{
    if (!present)
        return;
    T value{};
    present = readScriptValue(script, name, value);
    if (firstKey || present) {
        if (present) {
            Key<T> key;
            key.value = value;
            key.frame = frame;
            keys.push_back(key);
        }
        firstKey = false;
        return;
    }
    animationFatal(VQ::formatString("Failed to load animation parameter %s", name.c_str()), __LINE__);
}

template <typename T>
T SceneNodeAnimation::Container<T>::evaluate(int i, int j, float t) const
{
    const Key<T>& ki = keys[size_t(i)];
    const Key<T>& kj = keys[size_t(j)];
    if (!interpolate || keys.size() < 2)
        return ki.value;
    if ((!ki.smooth && !kj.smooth) || i == j)
        return linearValue(ki.value, kj.value, t);
    return bezierValue(ki, kj, t);
}

template <typename T>
void SceneNodeAnimation::Container<T>::apply(int index, int next, float t)
{
    // A track bound after its key frames were made has fewer keys than the
    // segment asks for: it stays without effect rather than read past them.
    if (!present || index < 0 || next < 0 || size_t(index) >= keys.size() || size_t(next) >= keys.size())
        return;
    const T value = evaluate(index, next, t == t ? t : 0.0f);
    for (T* target : targets)
        *target = value;
}

template <typename T>
void SceneNodeAnimation::Container<T>::addKey(uint32_t frame, bool keepOrder)
{
    Key<T> key;
    if (!keys.empty())
        key.value = keys.back().value;
    key.frame = frame;
    keys.push_back(key);
    if (!keepOrder)
        sortKeys();
}

template <typename T>
void SceneNodeAnimation::Container<T>::removeKey(int index)
{
    if (index >= 0 && size_t(index) < keys.size())
        keys.erase(keys.begin() + index);
    sortKeys();
}

template <typename T>
std::unique_ptr<SceneNodeAnimation::IContainer> SceneNodeAnimation::Container<T>::clone() const
{
    auto copy = std::make_unique<Container<T>>(name);
    copy->interpolate = interpolate;
    copy->present = present;
    copy->firstKey = firstKey;
    copy->keys = keys;
    return copy;
}

template <typename T>
bool SceneNodeAnimation::Container<T>::moveKey(uint32_t oldFrame, uint32_t newFrame)
{
    for (Key<T>& key : keys) {
        if (key.frame == oldFrame) {
            key.frame = newFrame;
            sortKeys();
            return true;
        }
    }
    return false;
}

template <typename T>
void SceneNodeAnimation::Container<T>::sortKeys()
{
    std::stable_sort(keys.begin(), keys.end(), [](const Key<T>& a, const Key<T>& b) { return a.frame < b.frame; });
}

template <typename T>
void SceneNodeAnimation::Container<T>::save(DataStream& stream) const
{
    writeValue<int32_t>(stream, int32_t(keys.size()));
    for (const Key<T>& key : keys) {
        writeKeyValue(stream, key.value);
        writeKeyValue(stream, key.tangent);
        writeZeros(stream, valuePadBytes<T>);
        writeValue(stream, key.weight);
        writeValue(stream, key.frame);
        writeBool(stream, key.smooth);
        writeZeros(stream, 3);
    }
    writeBool(stream, present);
    writeBool(stream, firstKey);
}

template <typename T>
void SceneNodeAnimation::Container<T>::load(DataStream& stream)
{
    keys.clear();
    const int32_t count = readValue<int32_t>(stream);
    if (count < 0)
        reportReadOutOfRange(__LINE__);
    requireBytes(stream, uint64_t(count) * keyRecordBytes<T>);
    keys.resize(size_t(count));
    for (Key<T>& key : keys) {
        key.value = readKeyValue<T>(stream);
        key.tangent = readKeyValue<T>(stream);
        skipBytes(stream, valuePadBytes<T>);
        key.weight = readValue<float>(stream);
        key.frame = readValue<uint32_t>(stream);
        key.smooth = readBool(stream);
        skipBytes(stream, 3);
    }
    present = readBool(stream);
    firstKey = readBool(stream);
}

template class SceneNodeAnimation::Container<float>;
template class SceneNodeAnimation::Container<int>;
template class SceneNodeAnimation::Container<bool>;
template class SceneNodeAnimation::Container<VQ::Color>;
template class SceneNodeAnimation::Container<VQ::Vector2f>;

// --- SceneNodeAnimation ---

SceneNodeAnimation::SceneNodeAnimation(bool withEasing)
{
    if (withEasing)
        createEasing();
}

SceneNodeAnimation::SceneNodeAnimation(const SceneNodeAnimation& other)
    : keyFrames(other.keyFrames),
      looped(other.looped),
      playing(other.playing),
      fps(other.fps),
      isEasing(other.isEasing),
      time(other.time),
      currentKeyFrame(other.currentKeyFrame),
      length(other.length),
      frameTime(other.frameTime)
{
    tracks.reserve(other.tracks.size());
    for (const auto& t : other.tracks)
        tracks.push_back(t->clone());
    if (other.easing) {
        easing = std::make_unique<SceneNodeAnimation>(*other.easing);
        easing->bind<float>("mLerpCoeff", &lerpCoeff);
    }
}

SceneNodeAnimation::~SceneNodeAnimation() = default;

void SceneNodeAnimation::createEasing()
{
    easing = std::make_unique<SceneNodeAnimation>(false);
    easing->isEasing = true;
    easing->bind<float>("mLerpCoeff", &lerpCoeff);
}

void SceneNodeAnimation::update(float dt)
{
    if (keyFrames.empty())
        return;
    length = frameTime * float(keyFrames.back());
    if (playing)
        time += dt;
    if (looped && length < time) {
        if (length > 0.0f)
            time -= length * std::trunc(time / length);
        else
            time = 0.0f;
    }
    const int count = int(keyFrames.size());
    const int e = keyIndexAt();
    const bool beforeFirst = e < 0;
    const int i = std::max(e, 0);
    const int j = std::min(e + 1, count - 1);
    currentKeyFrame = keyFrames[size_t(i)];
    const float t = segmentParameter(beforeFirst, i);
    for (const auto& track : tracks)
        track->apply(i, j, t);
}

int SceneNodeAnimation::keyIndexAt() const
{
    const size_t count = keyFrames.size();
    if (count <= 1)
        return 0;
    for (size_t i = 0; i + 1 < count; ++i) {
        const float ki = frameTime * float(keyFrames[i]);
        const float kn = frameTime * float(keyFrames[i + 1]);
        if (ki <= time && time < kn)
            return int(i);
        if (time < ki)
            return -1;
    }
    return int(count - 1);
}

float SceneNodeAnimation::segmentParameter(bool beforeFirst, int index)
{
    const float local = time - frameTime * float(currentKeyFrame);
    float span = 0.0f;
    if (index >= 0 && size_t(index) + 1 < keyFrames.size())
        span = (1.0f / fps) * float(int64_t(keyFrames[size_t(index) + 1]) - int64_t(keyFrames[size_t(index)]));
    float t = std::fabs(span) > FLT_EPSILON ? std::min(local / span, 1.0f) : 1.0f;
    if (beforeFirst)
        t = 0.0f;
    if (easing) {
        easing->time = std::max(time, 0.0f);
        easing->update(0.0f);
        if (easing->keyFrames.empty())
            lerpCoeff = 1.0f;
        t = lerpCoeff * t;
        // Written so that a NaN from a damaged stream lands on 0.
        t = t > 0.0f ? std::min(t, 1.0f) : 0.0f;
    }
    return t;
}

int SceneNodeAnimation::keyFrameIndex(uint32_t frame) const
{
    const auto it = std::find(keyFrames.begin(), keyFrames.end(), frame);
    return it == keyFrames.end() ? -1 : int(it - keyFrames.begin());
}

bool SceneNodeAnimation::addKeyframe(uint32_t frame)
{
    if (keyFrameIndex(frame) >= 0)
        return false;
    for (const auto& track : tracks)
        track->addKey(frame, false);
    keyFrames.push_back(frame);
    std::stable_sort(keyFrames.begin(), keyFrames.end());
    return true;
}

void SceneNodeAnimation::removeKeyframe(int index)
{
    if (index < 0 || size_t(index) >= keyFrames.size())
        return;
    keyFrames.erase(keyFrames.begin() + index);
    for (const auto& track : tracks)
        track->removeKey(index);
}

bool SceneNodeAnimation::moveKeyframe(uint32_t oldFrame, uint32_t newFrame)
{
    const int index = keyFrameIndex(oldFrame);
    if (oldFrame == newFrame || index < 0)
        return false;
    while (keyFrameIndex(newFrame) >= 0)
        ++newFrame;
    keyFrames[size_t(index)] = newFrame;
    for (const auto& track : tracks)
        track->moveKey(oldFrame, newFrame);
    std::stable_sort(keyFrames.begin(), keyFrames.end());
    return true;
}

SceneNodeAnimation::IContainer* SceneNodeAnimation::findTrack(const std::string& name) const
{
    for (const auto& track : tracks)
        if (track->name == name)
            return track.get();
    return nullptr;
}

template <typename T>
SceneNodeAnimation::Container<T>& SceneNodeAnimation::track(const std::string& name, bool interpolate)
{
    Container<T>* found = nullptr;
    if (IContainer* existing = findTrack(name)) {
        found = dynamic_cast<Container<T>*>(existing);
        if (!found)
            animationFatal("Bad type specified", __LINE__);
    } else {
        auto created = std::make_unique<Container<T>>(name);
        found = created.get();
        tracks.push_back(std::move(created));
    }
    found->interpolate = interpolate;
    return *found;
}

template <typename T>
void SceneNodeAnimation::bind(const std::string& name, T* field)
{
    static_assert(!std::is_same_v<T, int>, "int tracks say whether they interpolate");
    track<T>(name, !std::is_same_v<T, bool>).targets.push_back(field);
}

void SceneNodeAnimation::bind(const std::string& name, int* field, bool interpolate)
{
    track<int>(name, interpolate).targets.push_back(field);
}

template <typename T>
void SceneNodeAnimation::unbind(const std::string& name, T* field)
{
    IContainer* existing = findTrack(name);
    if (!existing)
        return;
    auto* typed = dynamic_cast<Container<T>*>(existing);
    if (!typed)
        animationFatal("Bad type specified", __LINE__);
    std::vector<T*>& targets = typed->targets;
    for (size_t i = 0; i < targets.size();) {
        if (targets[i] == field) {
            targets[i] = targets.back();
            targets.pop_back();
        } else {
            ++i;
        }
    }
}

template <typename T>
SceneNodeAnimation::Key<T>& SceneNodeAnimation::keyAt(const std::string& name, int index)
{
    IContainer* existing = findTrack(name);
    if (!existing)
        animationFatal("Failed to find parameter with specified name", __LINE__);
    auto* typed = dynamic_cast<Container<T>*>(existing);
    if (!typed)
        animationFatal("Bad type specified", __LINE__);
    if (index < 0 || size_t(index) >= typed->keys.size())
        animationFatal("Bad frameIndex specified", __LINE__);
    return typed->keys[size_t(index)];
}

bool& SceneNodeAnimation::interpolationFlag(const std::string& name)
{
    IContainer* existing = findTrack(name);
    if (!existing)
        animationFatal("Failed to find parameter with specified name", __LINE__);
    if (!dynamic_cast<Container<int>*>(existing))
        animationFatal("Bad type specified", __LINE__);
    return existing->interpolate;
}

template void SceneNodeAnimation::bind<float>(const std::string&, float*);
template void SceneNodeAnimation::bind<bool>(const std::string&, bool*);
template void SceneNodeAnimation::bind<VQ::Color>(const std::string&, VQ::Color*);
template void SceneNodeAnimation::bind<VQ::Vector2f>(const std::string&, VQ::Vector2f*);
template void SceneNodeAnimation::unbind<float>(const std::string&, float*);
template void SceneNodeAnimation::unbind<int>(const std::string&, int*);
template void SceneNodeAnimation::unbind<bool>(const std::string&, bool*);
template void SceneNodeAnimation::unbind<VQ::Color>(const std::string&, VQ::Color*);
template void SceneNodeAnimation::unbind<VQ::Vector2f>(const std::string&, VQ::Vector2f*);
template SceneNodeAnimation::Key<float>& SceneNodeAnimation::keyAt<float>(const std::string&, int);
template SceneNodeAnimation::Key<int>& SceneNodeAnimation::keyAt<int>(const std::string&, int);
template SceneNodeAnimation::Key<bool>& SceneNodeAnimation::keyAt<bool>(const std::string&, int);
template SceneNodeAnimation::Key<VQ::Color>& SceneNodeAnimation::keyAt<VQ::Color>(const std::string&, int);
template SceneNodeAnimation::Key<VQ::Vector2f>& SceneNodeAnimation::keyAt<VQ::Vector2f>(const std::string&, int);

// --- The saved form ---

void SceneNodeAnimation::write(DataStream& stream) const
{
    for (const auto& track : tracks)
        track->save(stream);
    writeValue<int32_t>(stream, int32_t(keyFrames.size()));
    for (uint32_t frame : keyFrames)
        writeValue(stream, frame);
    writeBool(stream, looped);
    writeBool(stream, playing);
    writeValue(stream, fps);
    writeBool(stream, isEasing);
    writeValue(stream, time);
    writeValue(stream, currentKeyFrame);
    writeValue(stream, length);
    writeValue(stream, frameTime);
    writeValue(stream, lerpCoeff);
    writeBool(stream, easing != nullptr);
    if (easing)
        easing->write(stream);
}

void SceneNodeAnimation::read(DataStream& stream)
{
    // An easing animation has no easing of its own: nothing writes one, and
    // refusing it keeps a damaged stream from nesting reads without end.
    readBody(stream, !isEasing);
}

void SceneNodeAnimation::readBody(DataStream& stream, bool allowEasing)
{
    for (const auto& track : tracks)
        track->load(stream);
    const int32_t count = readValue<int32_t>(stream);
    if (count < 0)
        reportReadOutOfRange(__LINE__);
    requireBytes(stream, uint64_t(count) * sizeof(uint32_t));
    keyFrames.resize(size_t(count));
    for (uint32_t& frame : keyFrames)
        frame = readValue<uint32_t>(stream);
    looped = readBool(stream);
    playing = readBool(stream);
    fps = readValue<float>(stream);
    isEasing = readBool(stream);
    time = readValue<float>(stream);
    currentKeyFrame = readValue<uint32_t>(stream);
    length = readValue<float>(stream);
    frameTime = readValue<float>(stream);
    lerpCoeff = readValue<float>(stream);
    if (readBool(stream)) {
        if (!allowEasing)
            reportReadOutOfRange(__LINE__);
        createEasing();
        easing->readBody(stream, false);
    }
    // Every evaluation indexes the tracks' keys by key frame. A track left
    // without keys because its script never named it is the one exception:
    // it has no effect.
    for (const auto& track : tracks) {
        const bool unused = !track->present && track->keyCount() == 0;
        if (track->keyCount() != keyFrames.size() && !unused)
            reportReadOutOfRange(__LINE__);
    }
}

}  // namespace AE
