#pragma once
// Keyframe property animation: named parameters bound to fields of an owner
// (a sprite's position, angle, colour, source rectangle ...) move along a
// sequence of frames, each with its own duration. The owner binds the
// fields, loads or adds the frames, and calls `update` with the time step;
// every parameter then writes its interpolated value into its fields and
// calls its setters.

#include <cstddef>
#include <string>
#include <vector>

#include "color.h"
#include "rect.h"
#include "vector2.h"

namespace VQ {

class IFunction;
class LuaScript2;
class XmlDataReader;

class Animation {
public:
    // A parameter name carries one value type for the life of the animation.
    enum class ValueType { Float, Vector2, Color, Rect };

    // One parameter: its name, one key per frame, the fields it writes and
    // the callbacks to call after writing.
    class IContainer {
    public:
        IContainer(std::string name, ValueType type) : name(std::move(name)), mType(type) {}
        virtual ~IContainer();
        IContainer(const IContainer&) = delete;
        IContainer& operator=(const IContainer&) = delete;

        // Read this frame's key from the current XML element / the open Lua
        // frame table, under the parameter's name. A parameter the first
        // frame lacks is switched off; one a later frame lacks is fatal.
        virtual void loadKeyFromXml(XmlDataReader& reader) = 0;
        virtual void loadKeyFromLua(LuaScript2& script) = 0;
        // Writes the value between keys i and j at t (0..1) to every target.
        virtual void evaluate(int i, int j, float t) = 0;
        // No keys: appends a zero value; index < 0 (or past the keys):
        // appends a copy of the last key; else duplicates key `index` in place.
        virtual void appendKey(int index) = 0;
        virtual void clearKeys() = 0;
        // Nothing for an index past the keys.
        virtual void removeKey(unsigned index) = 0;
        // Same name, flags and keys; no targets, no setters.
        virtual IContainer* clone() const = 0;
        virtual size_t keyCount() const = 0;

        ValueType valueType() const { return mType; }
        void callSetters();

        std::string name;
        std::vector<IFunction*> setters;  // owned
        bool smooth = false;
        bool interpolate = true;

    private:
        ValueType mType;
    };

    template <typename T>
    class Container : public IContainer {
    public:
        explicit Container(std::string name);

        void loadKeyFromXml(XmlDataReader& reader) override;
        void loadKeyFromLua(LuaScript2& script) override;
        void evaluate(int i, int j, float t) override;
        void appendKey(int index) override;
        void clearKeys() override;
        void removeKey(unsigned index) override;
        IContainer* clone() const override;
        size_t keyCount() const override { return keys.size(); }

        std::vector<T*> targets;  // not owned
        std::vector<T> keys;
        bool enabled = true;
        bool firstKeyPending = true;

    private:
        template <typename Reader>
        void loadKey(Reader& reader);
    };

    Animation();
    // Clones the parameters (keys and flags, not their fields or setters):
    // the owner of the copy binds again.
    Animation(const Animation& other);
    Animation& operator=(const Animation&) = delete;
    ~Animation();

    // Adds `target` to the fields the parameter `name` writes, creating the
    // parameter when new. Rectangles are not interpolated. Binding a name
    // that holds another value type is fatal.
    void bindFloat(const std::string& name, float* target);
    void bindVector2(const std::string& name, Vector2f* target);
    void bindColor(const std::string& name, Color* target);
    void bindRect(const std::string& name, Rect* target);
    // The parameter `name` owns the callback and calls it after each write.
    // Without such a parameter the callback is not taken (the caller keeps
    // it).
    void bindSetter(const std::string& name, IFunction* setter);

    // Reads "Animation" (inside the global table `tableName` when not empty)
    // of a Lua script: "loop", "speedCoef" and the array "Frames" of tables
    // with "duration" and one key per bound parameter. Parameters must be
    // bound first. False when the script, a table, or a frame table is
    // missing (the animation may then be partly filled).
    bool load(const std::string& scriptName, const std::string& package, const std::string& tableName);
    // The same layout as XML: the element "Animation" under the reader's
    // cursor, "Frames" holding the entries "v0", "v1", ... The cursor is
    // left where it was.
    bool loadFromXml(XmlDataReader& reader);

    // Appends a frame; every parameter appends a copy of its last key.
    void addFrame(float duration);
    void clearFrames();

    void update(float dt);
    bool isFinished() const;

    // The key of parameter `name` for `frame`, to read or write. An unknown
    // name, a frame past the keys, or another value type is fatal. The
    // address is valid until keys are added or removed.
    float* floatKeyAt(const std::string& name, unsigned frame);
    Vector2f* vector2KeyAt(const std::string& name, unsigned frame);
    Color* colorKeyAt(const std::string& name, unsigned frame);
    Rect* rectKeyAt(const std::string& name, unsigned frame);

    size_t frameCount() const { return mDurations.size(); }
    const std::vector<float>& durations() const { return mDurations; }
    float totalDuration() const { return mTotal; }
    const std::vector<IContainer*>& parameters() const { return mParameters; }
    IContainer* findParameter(const std::string& name) const;

    float time = 0.0f;
    bool loop = false;
    bool playing = true;
    float speed = 1.0f;
    // The smooth flag given to parameters the bind operations create.
    bool smooth = false;
    // Play range in seconds; a negative `from` means none.
    float from = -1.0f;
    float to = -1.0f;

private:
    template <typename T>
    void bind(const std::string& name, T* target, bool interpolate);
    template <typename T>
    T* keyAt(const std::string& name, unsigned frame);
    template <typename Reader>
    void loadFrameKeys(Reader& reader);
    size_t frameIndexAt(float at) const;

    std::vector<IContainer*> mParameters;  // owned, in creation order
    std::vector<float> mDurations;
    float mTotal = 0.0f;
};

// The four value types; their code lives with the animation.
extern template class Animation::Container<float>;
extern template class Animation::Container<Vector2f>;
extern template class Animation::Container<Color>;
extern template class Animation::Container<Rect>;

}  // namespace VQ
