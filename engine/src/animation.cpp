#include "animation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <lua.hpp>

#include "fatal_error.h"
#include "function.h"
#include "log_system.h"
#include "lua_script_2.h"
#include "xml_data_reader.h"

namespace VQ {

namespace {

// Float to integer without undefined behaviour for values out of range.
int64_t truncateClamped(float value)
{
    constexpr float LIMIT = 1e15f;
    if (!(value > -LIMIT))
        return -int64_t(LIMIT);
    if (value > LIMIT)
        return int64_t(LIMIT);
    return int64_t(value);
}

// Each key type as a row of floats, so that one set of formulas serves all.
template <typename T>
struct KeyTraits;

template <>
struct KeyTraits<float> {
    static constexpr Animation::ValueType TYPE = Animation::ValueType::Float;
    static constexpr int COMPONENTS = 1;
    static float get(const float& value, int) { return value; }
    static void set(float& value, int, float component) { value = component; }
};

template <>
struct KeyTraits<Vector2f> {
    static constexpr Animation::ValueType TYPE = Animation::ValueType::Vector2;
    static constexpr int COMPONENTS = 2;
    static float get(const Vector2f& value, int c) { return c == 0 ? value.x : value.y; }
    static void set(Vector2f& value, int c, float component) { (c == 0 ? value.x : value.y) = component; }
};

template <>
struct KeyTraits<Rect> {
    static constexpr Animation::ValueType TYPE = Animation::ValueType::Rect;
    static constexpr int COMPONENTS = 4;
    static float& field(Rect& value, int c)
    {
        switch (c) {
        case 0:
            return value.left;
        case 1:
            return value.top;
        case 2:
            return value.right;
        default:
            return value.bottom;
        }
    }
    static float get(const Rect& value, int c) { return field(const_cast<Rect&>(value), c); }
    static void set(Rect& value, int c, float component) { field(value, c) = component; }
};

template <>
struct KeyTraits<Color> {
    static constexpr Animation::ValueType TYPE = Animation::ValueType::Color;
    static constexpr int COMPONENTS = 4;
    static uint8_t& channel(Color& value, int c)
    {
        switch (c) {
        case 0:
            return value.r;
        case 1:
            return value.g;
        case 2:
            return value.b;
        default:
            return value.a;
        }
    }
    static float get(const Color& value, int c) { return float(channel(const_cast<Color&>(value), c)); }
    // The curve's value truncated to an integer, kept as a byte.
    static void set(Color& value, int c, float component) { channel(value, c) = uint8_t(truncateClamped(component)); }
};

float mid(float p, float q)
{
    return p + (q - p) * 0.5f;
}

template <typename T>
T linearValue(const T& current, const T& next, float t)
{
    T value{};
    for (int c = 0; c < KeyTraits<T>::COMPONENTS; ++c) {
        const float a = KeyTraits<T>::get(current, c);
        const float b = KeyTraits<T>::get(next, c);
        KeyTraits<T>::set(value, c, (1.0f - t) * a + t * b);
    }
    return value;
}

// Colours blend in their own 8-bit arithmetic: each weight is a byte and a
// channel is ((weight + 1) * value) >> 8, so t = 0 and t = 1 give the keys.
template <>
Color linearValue<Color>(const Color& current, const Color& next, float t)
{
    auto weight = [](float s) {
        const auto k = uint8_t(truncateClamped(s * 255.0f));
        return Color::fromBytes(k, k, k, k);
    };
    return weight(t) * next + weight(1.0f - t) * current;
}

// A quadratic Bezier curve through the midpoints of the key polygon: it
// starts at the first key and ends at the last, and frames join without a
// corner.
template <typename T>
T smoothValue(const std::vector<T>& keys, size_t i, size_t j, float t)
{
    T value{};
    const size_t n = keys.size();
    for (int c = 0; c < KeyTraits<T>::COMPONENTS; ++c) {
        auto key = [&](size_t index) { return KeyTraits<T>::get(keys[index], c); };
        const float control = mid(key(i), key(j));
        const float start = i == 0 ? key(0) : mid(mid(key(i - 1), key(i)), control);
        const float end = j < n - 1 ? mid(control, mid(key(j), key(j + 1))) : key(j);
        const float u = 1.0f - t;
        KeyTraits<T>::set(value, c, u * u * start + 2.0f * t * u * control + t * t * end);
    }
    return value;
}

bool readKey(XmlDataReader& reader, const std::string& name, float& out)
{
    return reader.readFloat(name, out);
}

bool readKey(XmlDataReader& reader, const std::string& name, Vector2f& out)
{
    return reader.readVector2(name, out);
}

bool readKey(XmlDataReader& reader, const std::string& name, Color& out)
{
    return reader.readColor(name, out);
}

bool readKey(XmlDataReader& reader, const std::string& name, Rect& out)
{
    return reader.readRect(name, out);
}

bool readKey(LuaScript2& script, const std::string& name, float& out)
{
    return script.getFloat(name, out, 0.0f);
}

bool readKey(LuaScript2& script, const std::string& name, Vector2f& out)
{
    float xy[2];
    const bool read = script.getVector2(name, xy);
    out = Vector2f(xy[0], xy[1]);
    return read;
}

bool readKey(LuaScript2& script, const std::string& name, Color& out)
{
    return script.getColor(name, out);
}

bool readKey(LuaScript2& script, const std::string& name, Rect& out)
{
    float fields[4];
    const bool read = script.getRect(name, fields);
    out = Rect(fields[0], fields[1], fields[2], fields[3]);
    return read;
}

const char* valueTypeName(Animation::ValueType type)
{
    switch (type) {
    case Animation::ValueType::Float:
        return "float";
    case Animation::ValueType::Vector2:
        return "Vector2";
    case Animation::ValueType::Color:
        return "Color";
    default:
        return "Rect";
    }
}

// One name, one value type: a bind or key access with another type would
// otherwise write or read the parameter's storage as the wrong type.
void checkValueType(const Animation::IContainer& parameter, Animation::ValueType wanted, int line)
{
    if (parameter.valueType() != wanted) {
        assertFailed("VQ",
                     formatString("Animation parameter %s holds %s values, not %s", parameter.name.c_str(),
                                  valueTypeName(parameter.valueType()), valueTypeName(wanted)),
                     "animation", line);
    }
}

}  // namespace

Animation::IContainer::~IContainer()
{
    for (IFunction* setter : setters)
        delete setter;
}

void Animation::IContainer::callSetters()
{
    for (IFunction* setter : setters)
        setter->call();
}

template <typename T>
Animation::Container<T>::Container(std::string name) : IContainer(std::move(name), KeyTraits<T>::TYPE)
{
}

template <typename T>
template <typename Reader>
void Animation::Container<T>::loadKey(Reader& reader)
{
    if (!enabled)
        return;
    T value{};
    const bool read = readKey(reader, name, value);
    enabled = read;
    if (firstKeyPending || read) {
        if (read)
            keys.push_back(value);
        firstKeyPending = false;
        return;
    }
    assertFailed("VQ", formatString("Failed to load animation parameter %s", name.c_str()), "animation", 109);
}

template <typename T>
void Animation::Container<T>::loadKeyFromXml(XmlDataReader& reader)
{
    loadKey(reader);
}

template <typename T>
void Animation::Container<T>::loadKeyFromLua(LuaScript2& script)
{
    loadKey(script);
}

template <typename T>
void Animation::Container<T>::evaluate(int i, int j, float t)
{
    if (!enabled)
        return;
    // A parameter with fewer keys than the animation has frames (bound after
    // the frames were made) has no value for the missing ones: it writes
    // nothing there.
    const size_t n = keys.size();
    if (i < 0 || j < 0 || size_t(i) >= n || size_t(j) >= n)
        return;
    T value;
    if (!interpolate)
        value = keys[i];
    else if (smooth && n >= 3 && i != j)
        value = smoothValue(keys, size_t(i), size_t(j), t);
    else
        value = linearValue(keys[i], keys[j], t);
    for (T* target : targets)
        *target = value;
}

template <typename T>
void Animation::Container<T>::appendKey(int index)
{
    if (keys.empty()) {
        keys.push_back(T{});
    } else if (index < 0 || size_t(index) >= keys.size()) {
        const T last = keys.back();
        keys.push_back(last);
    } else {
        const T copy = keys[index];
        keys.insert(keys.begin() + index, copy);
    }
}

template <typename T>
void Animation::Container<T>::clearKeys()
{
    keys.clear();
}

template <typename T>
void Animation::Container<T>::removeKey(unsigned index)
{
    if (index < keys.size())
        keys.erase(keys.begin() + index);
}

template <typename T>
Animation::IContainer* Animation::Container<T>::clone() const
{
    auto* copy = new Container<T>(name);
    copy->smooth = smooth;
    copy->interpolate = interpolate;
    copy->keys = keys;
    copy->enabled = enabled;
    copy->firstKeyPending = firstKeyPending;
    return copy;
}

template class Animation::Container<float>;
template class Animation::Container<Vector2f>;
template class Animation::Container<Color>;
template class Animation::Container<Rect>;

Animation::Animation() = default;

Animation::Animation(const Animation& other) :
    time(other.time),
    loop(other.loop),
    playing(other.playing),
    speed(other.speed),
    smooth(other.smooth),
    from(other.from),
    to(other.to),
    mDurations(other.mDurations),
    mTotal(other.mTotal)
{
    for (const IContainer* parameter : other.mParameters)
        mParameters.push_back(parameter->clone());
}

Animation::~Animation()
{
    for (IContainer* parameter : mParameters)
        delete parameter;
}

Animation::IContainer* Animation::findParameter(const std::string& name) const
{
    for (IContainer* parameter : mParameters) {
        if (parameter->name == name)
            return parameter;
    }
    return nullptr;
}

template <typename T>
void Animation::bind(const std::string& name, T* target, bool interpolate)
{
    Container<T>* container;
    if (IContainer* existing = findParameter(name)) {
        checkValueType(*existing, KeyTraits<T>::TYPE, 370);
        container = static_cast<Container<T>*>(existing);
    } else {
        container = new Container<T>(name);
        container->smooth = smooth;
        mParameters.push_back(container);
    }
    container->interpolate = interpolate;
    container->targets.push_back(target);
}

void Animation::bindFloat(const std::string& name, float* target)
{
    bind(name, target, true);
}

void Animation::bindVector2(const std::string& name, Vector2f* target)
{
    bind(name, target, true);
}

void Animation::bindColor(const std::string& name, Color* target)
{
    bind(name, target, true);
}

void Animation::bindRect(const std::string& name, Rect* target)
{
    // A rectangle (a sprite's source rect) shows the current key unblended.
    bind(name, target, false);
}

void Animation::bindSetter(const std::string& name, IFunction* setter)
{
    if (IContainer* parameter = findParameter(name))
        parameter->setters.push_back(setter);
}

template <typename Reader>
void Animation::loadFrameKeys(Reader& reader)
{
    for (IContainer* parameter : mParameters) {
        if constexpr (std::is_same_v<Reader, LuaScript2>)
            parameter->loadKeyFromLua(reader);
        else
            parameter->loadKeyFromXml(reader);
    }
}

bool Animation::load(const std::string& scriptName, const std::string& package, const std::string& tableName)
{
    LuaScript2 script;
    if (!script.load(scriptName, package))
        return false;
    if (!tableName.empty() && !script.openTable(tableName))
        return false;
    if (!script.openTable("Animation"))
        return false;
    script.getBool("loop", loop);
    script.getFloat("speedCoef", speed, 1.0f);
    if (!script.openTable("Frames"))
        return false;

    lua_State* state = script.state();
    lua_pushnil(state);
    while (lua_next(state, -2) != 0) {
        if (!script.enterTable())
            return false;
        float duration = 0.0f;
        script.getFloat("duration", duration, 0.0f);
        mDurations.push_back(duration);
        mTotal += duration;
        loadFrameKeys(script);
        script.closeTable();
        lua_pop(state, 1);
    }
    // The state closes with the script; the tables need no closing.
    return true;
}

bool Animation::loadFromXml(XmlDataReader& reader)
{
    const pugi::xml_node start = reader.currentNode();
    if (!reader.enterNode("Animation"))
        return false;
    reader.readBool("loop", loop);
    if (!reader.readFloat("speedCoef", speed))
        speed = 1.0f;
    const bool hasFrames = reader.enterNode("Frames");
    if (hasFrames) {
        for (XmlArrayIterator it(reader); it != reader.arrayEnd(); it.next()) {
            float duration = 0.0f;
            reader.readFloat("duration", duration);
            mDurations.push_back(duration);
            mTotal += duration;
            loadFrameKeys(reader);
        }
    }
    reader.setCurrentNode(start);
    return hasFrames;
}

void Animation::addFrame(float duration)
{
    mDurations.push_back(duration);
    mTotal += duration;
    for (IContainer* parameter : mParameters)
        parameter->appendKey(-1);
}

void Animation::clearFrames()
{
    mDurations.clear();
    mTotal = 0.0f;
    for (IContainer* parameter : mParameters)
        parameter->clearKeys();
}

size_t Animation::frameIndexAt(float at) const
{
    float start = 0.0f;
    for (size_t i = 0; i < mDurations.size(); ++i) {
        if (start <= at && at < start + mDurations[i])
            return i;
        start += mDurations[i];
    }
    return mDurations.size() - 1;
}

void Animation::update(float dt)
{
    if (mDurations.empty())
        return;

    const bool hasRange = from >= 0.0f;
    float step = speed * dt;
    if (hasRange && to < from)
        step = -step;
    if (!playing)
        step = 0.0f;
    time += step;

    if (hasRange) {
        const bool forward = from < to;
        if (forward ? time > to : time < to)
            time = loop ? from : to;
    } else if (loop && time > mTotal) {
        // The remainder of time / total: time minus the whole rounds.
        if (mTotal > 0.0f)
            time = std::fmod(time, mTotal);
        else
            time = 0.0f;
    }

    const size_t i = frameIndexAt(time);
    const size_t j = std::min(i + 1, mDurations.size() - 1);
    float start = 0.0f;
    for (size_t k = 0; k < i; ++k)
        start += mDurations[k];
    float t = 1.0f;
    if (mDurations[i] > 0.0f)
        t = std::min((time - start) / mDurations[i], 1.0f);

    for (IContainer* parameter : mParameters) {
        parameter->evaluate(int(i), int(j), t);
        parameter->callSetters();
    }
}

bool Animation::isFinished() const
{
    if (loop)
        return false;
    if (from < 0.0f)
        return time >= mTotal;
    if (from < to)
        return time >= to;
    return time <= to;
}

template <typename T>
T* Animation::keyAt(const std::string& name, unsigned frame)
{
    IContainer* parameter = findParameter(name);
    if (!parameter)
        assertFailed("VQ", "Failed to find parameter with specified name", "animation", 360);
    checkValueType(*parameter, KeyTraits<T>::TYPE, 365);
    auto* container = static_cast<Container<T>*>(parameter);
    if (frame >= container->keys.size())
        assertFailed("VQ", "Bad frameid specified", "animation", 355);
    return &container->keys[frame];
}

float* Animation::floatKeyAt(const std::string& name, unsigned frame)
{
    return keyAt<float>(name, frame);
}

Vector2f* Animation::vector2KeyAt(const std::string& name, unsigned frame)
{
    return keyAt<Vector2f>(name, frame);
}

Color* Animation::colorKeyAt(const std::string& name, unsigned frame)
{
    return keyAt<Color>(name, frame);
}

Rect* Animation::rectKeyAt(const std::string& name, unsigned frame)
{
    return keyAt<Rect>(name, frame);
}

}  // namespace VQ
