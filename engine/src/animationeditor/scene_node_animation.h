#pragma once
// The key-frame animation every scene node owns: 24 frames a second, one
// sorted list of key frame numbers shared by all tracks (track k's key i
// belongs to key frame i), and tracks bound by name to fields of the node.
// Evaluating the animation at its time writes every track's value into its
// fields. An optional easing animation carries the one float track
// "mLerpCoeff" that scales the interpolation parameter.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "color.h"
#include "vector2.h"

namespace VQ {
class LuaScript2;
}

namespace AE {

class DataStream;

class SceneNodeAnimation {
public:
    // One key of a track. `weight` places the Bezier handles along the
    // segment, `tangent` is the handle offset in value units and `smooth`
    // selects the Bezier form on this key's side.
    template <typename T>
    struct Key {
        T value{};
        T tangent{};
        float weight = 0.5f;
        uint32_t frame = 0;
        bool smooth = false;
    };

    // A track: one named, typed parameter with a key per key frame and the
    // fields it writes.
    class IContainer {
    public:
        explicit IContainer(std::string name) : name(std::move(name)) {}
        virtual ~IContainer() = default;
        IContainer(const IContainer&) = delete;
        IContainer& operator=(const IContainer&) = delete;

        // Appends a key read from the innermost open table of a data script
        // under the track's name. A name missing from the first key leaves
        // the track without keys and without effect; one missing after an
        // earlier key was loaded is the fatal "Failed to load animation
        // parameter %s".
        virtual void loadKey(VQ::LuaScript2& script, uint32_t frame) = 0;
        // Evaluates the segment from key `index` to key `next` at t and
        // writes the value to every target.
        virtual void apply(int index, int next, float t) = 0;
        // Appends a key holding the last key's value (zero without one).
        virtual void addKey(uint32_t frame, bool keepOrder) = 0;
        virtual void clearKeys() = 0;
        virtual void removeKey(int index) = 0;
        // Same type, name, flags and keys; no targets.
        virtual std::unique_ptr<IContainer> clone() const = 0;
        virtual bool moveKey(uint32_t oldFrame, uint32_t newFrame) = 0;
        // Stable, by frame.
        virtual void sortKeys() = 0;
        virtual void save(DataStream& stream) const = 0;
        virtual void load(DataStream& stream) = 0;
        virtual size_t keyCount() const = 0;

        std::string name;
        // False: each key's value holds until the next key.
        bool interpolate = true;
        // The parameter exists in the data loaded from a script.
        bool present = true;
        // No key has been loaded from a script yet.
        bool firstKey = true;
    };

    // The track of one value type: float, int, bool, VQ::Color or
    // VQ::Vector2f.
    template <typename T>
    class Container : public IContainer {
    public:
        explicit Container(std::string name) : IContainer(std::move(name)) {}

        void loadKey(VQ::LuaScript2& script, uint32_t frame) override;
        void apply(int index, int next, float t) override;
        void addKey(uint32_t frame, bool keepOrder) override;
        void clearKeys() override { keys.clear(); }
        void removeKey(int index) override;
        std::unique_ptr<IContainer> clone() const override;
        bool moveKey(uint32_t oldFrame, uint32_t newFrame) override;
        void sortKeys() override;
        void save(DataStream& stream) const override;
        void load(DataStream& stream) override;
        size_t keyCount() const override { return keys.size(); }

        // The value between keys i and j at t, without writing it.
        T evaluate(int i, int j, float t) const;

        std::vector<T*> targets;  // not owned
        std::vector<Key<T>> keys;
    };

    // The easing animation is created with it when asked (scene nodes do).
    explicit SceneNodeAnimation(bool withEasing);
    // Copies tracks (not their targets), key frames and the clock; the
    // owner of the copy binds its own fields again.
    SceneNodeAnimation(const SceneNodeAnimation& other);
    SceneNodeAnimation& operator=(const SceneNodeAnimation&) = delete;
    ~SceneNodeAnimation();

    // Advances the time (when playing) and evaluates every track; update(0)
    // evaluates at the current time. Nothing happens without key frames.
    void update(float dt);
    // Seconds, clamped at 0; nothing is evaluated.
    void setTime(float seconds) { time = seconds > 0.0f ? seconds : 0.0f; }
    bool isLooped() const { return looped && !keyFrames.empty(); }
    // The index of the key frame at or before the time, -1 before the first
    // of several. Needs at least one key frame.
    int keyIndexAt() const;
    // The interpolation parameter of segment `index`, eased when there is an
    // easing animation.
    float segmentParameter(bool beforeFirst, int index);

    // False when the frame is already a key frame; else every track gains a
    // key there.
    bool addKeyframe(uint32_t frame);
    // An invalid index changes nothing.
    void removeKeyframe(int index);
    // A collision moves the key frame on to the next free frame.
    bool moveKeyframe(uint32_t oldFrame, uint32_t newFrame);
    // -1 when the frame is not a key frame.
    int keyFrameIndex(uint32_t frame) const;

    // Binds a field to the named track, creating the track on first use; a
    // field bound twice is written twice. A name already carrying another
    // type is the fatal "Bad type specified".
    template <typename T>
    void bind(const std::string& name, T* field);
    void bind(const std::string& name, int* field, bool interpolate);
    template <typename T>
    void unbind(const std::string& name, T* field);

    // The key record, to read or write. An unknown name is the fatal "Failed
    // to find parameter with specified name", an index outside the keys
    // "Bad frameIndex specified", another type "Bad type specified".
    template <typename T>
    Key<T>& keyAt(const std::string& name, int index);
    Key<float>& floatKeyAt(const std::string& name, int index) { return keyAt<float>(name, index); }
    Key<VQ::Vector2f>& vector2KeyAt(const std::string& name, int index) { return keyAt<VQ::Vector2f>(name, index); }
    float& tangentAt(const std::string& name, int index) { return keyAt<float>(name, index).tangent; }
    float& weightAt(const std::string& name, int index) { return keyAt<float>(name, index).weight; }
    bool& smoothAt(const std::string& name, int index) { return keyAt<float>(name, index).smooth; }
    // The interpolate flag of an int track.
    bool& interpolationFlag(const std::string& name);

    IContainer* findTrack(const std::string& name) const;

    // Tracks (in order, without names or types), key frames, the clock and
    // the easing animation, as in the node's saved form. Reading refuses
    // counts the stream cannot hold and tracks whose key count differs from
    // the key frames, with the stream's fatal report.
    void write(DataStream& stream) const;
    void read(DataStream& stream);

    std::vector<std::unique_ptr<IContainer>> tracks;
    std::vector<uint32_t> keyFrames;
    bool looped = false;
    bool playing = true;
    float fps = 24.0f;
    bool isEasing = false;
    float time = 0.0f;
    uint32_t currentKeyFrame = 0;
    float length = 0.0f;
    float frameTime = 1.0f / 24.0f;
    std::unique_ptr<SceneNodeAnimation> easing;
    float lerpCoeff = 1.0f;

private:
    template <typename T>
    Container<T>& track(const std::string& name, bool interpolate);
    void createEasing();
    void readBody(DataStream& stream, bool allowEasing);
};

extern template class SceneNodeAnimation::Container<float>;
extern template class SceneNodeAnimation::Container<int>;
extern template class SceneNodeAnimation::Container<bool>;
extern template class SceneNodeAnimation::Container<VQ::Color>;
extern template class SceneNodeAnimation::Container<VQ::Vector2f>;

// The int form of linear interpolation: t in thousandths, computed in 64
// bits so that values of any size interpolate.
int32_t lerpInt(int32_t a, int32_t b, float t);
// t in 255ths, per channel.
VQ::Color lerpColor(const VQ::Color& a, const VQ::Color& b, float t);

}  // namespace AE
