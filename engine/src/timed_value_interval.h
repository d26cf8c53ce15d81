#pragma once
// A keyed curve over an integer percent 0 to 100: how a particle value
// (emission rate, life, colour, scale, a force) changes over a span of time.
// A curve holds lines of keys {time, value}; only line 0 is ever built, but
// files may carry more. Evaluation interpolates linearly between keys; the
// particle code reads a cache of 25 samples (every 4 percent), filled on the
// first cached read after construction or assignment.

#include <vector>

#include "color.h"
#include "serializable.h"

namespace VQ {

template <typename T>
class TimedValueInterval : public ISerializable {
public:
    // One key, owned by the line that holds it.
    class timevalue : public ISerializable {
    public:
        timevalue() = default;
        timevalue(int keyTime, const T& keyValue) : time(keyTime), value(keyValue) {}
        void serialize(FieldVisitor& visitor) override;
        void load(XmlIArchive& archive) override;
        void save(XmlOArchive& archive) override;

        int time = 0;
        T value{};

    private:
        template <typename Archive>
        void transferFields(Archive& archive);
    };

    static constexpr int CACHE_SIZE = 25;

    // One declared line and none stored; bounds 0 and 100 (every channel for
    // colours). Meant to be filled by `load`.
    TimedValueInterval();
    // One flat line halfway between the bounds.
    TimedValueInterval(const T& minValue, const T& maxValue);
    TimedValueInterval(const TimedValueInterval& other);
    // A deep copy of the keys; the cache is refilled on the next read.
    TimedValueInterval& operator=(const TimedValueInterval& other);
    ~TimedValueInterval() override;

    // Appends a key to line 0 (any other line is fatal); keys stay in the
    // order added and the cache is left as it is.
    void addValue(int line, int time, const T& value);
    // The exact value of `line` at `percent`. A line at or past the declared
    // count is fatal; a declared line the curve does not store gives 0.
    T calcValue(int line, int percent) const;
    // The cached value: the samples are those of the line named when the
    // cache was filled, whatever line later reads name.
    T getValue(int line, int percent);
    // The float value the particle code uses for rates and initial values:
    // the mean of the lines' cached values (line 0 alone when single-line).
    // (Float curves only.)
    float getAverageValue(int percent);
    // The colour mean of the lines at `percent`, byte by byte with wrap-around.
    // A curve with no lines gives its own fatal report.
    // (Colour curves only.)
    Color getAverageColor(int percent);

    // Clears the keys and lays a flat line halfway between the bounds for
    // every declared line (a second line is the `addValue` fatal report).
    void resetLines();
    // Deletes every key and line; the declared count stays.
    void clearValues();

    void serialize(FieldVisitor& visitor) override;
    void load(XmlIArchive& archive) override;
    void save(XmlOArchive& archive) override;

    // How many lines a mean reads: 1 for a single-line curve, else the count.
    int averagedLines() const { return mSingleLine && mLinesCount >= 1 ? 1 : mLinesCount; }

    std::vector<std::vector<timevalue*>> mValues;
    int mLinesCount = 1;
    T mMinValue{};
    T mMaxValue{};
    bool mSingleLine = false;

private:
    template <typename Archive>
    void transferFields(Archive& archive);

    T mCache[CACHE_SIZE]{};
    bool mDirty = true;
};

template <>
float TimedValueInterval<float>::getAverageValue(int percent);
template <>
Color TimedValueInterval<Color>::getAverageColor(int percent);

extern template class TimedValueInterval<float>;
extern template class TimedValueInterval<Color>;

// A pair of bounds read and written as one object.
template <typename T>
class ValueRange : public ISerializable {
public:
    void serialize(FieldVisitor& visitor) override;
    void load(XmlIArchive& archive) override;
    void save(XmlOArchive& archive) override;

    T mMinVal{};
    T mMaxVal{};

private:
    template <typename Archive>
    void transferFields(Archive& archive);
};

}  // namespace VQ
