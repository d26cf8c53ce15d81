#include "timed_value_interval.h"

#include <algorithm>
#include <cstdint>

#include "fatal_error.h"
#include "vector2.h"
#include "field_visitor.h"
#include "xml_iarchive.h"
#include "xml_oarchive.h"

namespace VQ {

namespace {

const char* const FILE_TAG = "timed_value_interval";

// wa x a + wb x b; colours weigh each channel by a colour of the weight.
float weigh(float wa, float a, float wb, float b)
{
    return wa * a + wb * b;
}

Color weigh(float wa, const Color& a, float wb, const Color& b)
{
    return Color(wa) * a + Color(wb) * b;
}

float boundsOf(float, int which)
{
    return which ? 100.0f : 0.0f;
}

Color boundsOf(const Color&, int which)
{
    const uint8_t v = which ? 100 : 0;
    return Color::fromBytes(v, v, v, v);
}

// Line i of a flat reset: min + (half - i x step).
float resetValue(float minValue, float maxValue, int lines, int i)
{
    const float range = maxValue - minValue;
    const float step = range / float(lines);
    const float half = range * 0.5f;
    return minValue + (half - float(i) * step);
}

Color resetValue(const Color& minValue, const Color& maxValue, int lines, int i)
{
    const Color range = maxValue - minValue;
    const Color half = range / Color::fromBytes(2, 2, 2, 2);
    const uint8_t n = uint8_t(lines);
    const Color step = range / Color::fromBytes(n, n, n, n);
    const uint8_t k = uint8_t(i);
    return minValue + (half - Color::fromBytes(k, k, k, k) * step);
}

}  // namespace

template <typename T>
template <typename Archive>
void TimedValueInterval<T>::timevalue::transferFields(Archive& archive)
{
    archive.transfer(nvp("time", time));
    archive.transfer(nvp("value", value));
}

template <typename T>
void TimedValueInterval<T>::timevalue::serialize(FieldVisitor& visitor)
{
    transferFields(visitor);
}

template <typename T>
void TimedValueInterval<T>::timevalue::load(XmlIArchive& archive)
{
    transferFields(archive);
}

template <typename T>
void TimedValueInterval<T>::timevalue::save(XmlOArchive& archive)
{
    transferFields(archive);
}

template <typename T>
TimedValueInterval<T>::TimedValueInterval() : mMinValue(boundsOf(T{}, 0)), mMaxValue(boundsOf(T{}, 1))
{
}

template <typename T>
TimedValueInterval<T>::TimedValueInterval(const T& minValue, const T& maxValue)
    : mMinValue(minValue), mMaxValue(maxValue)
{
    resetLines();
}

template <typename T>
TimedValueInterval<T>::TimedValueInterval(const TimedValueInterval& other) : ISerializable(other)
{
    *this = other;
}

template <typename T>
TimedValueInterval<T>& TimedValueInterval<T>::operator=(const TimedValueInterval& other)
{
    if (this == &other)
        return *this;
    mLinesCount = other.mLinesCount;
    mMinValue = other.mMinValue;
    mMaxValue = other.mMaxValue;
    mSingleLine = other.mSingleLine;
    mDirty = true;
    clearValues();
    mValues.resize(size_t(std::max(mLinesCount, 0)));
    if (mValues.size() < other.mValues.size())
        mValues.resize(other.mValues.size());
    for (size_t line = 0; line < other.mValues.size(); ++line) {
        mValues[line].reserve(other.mValues[line].size());
        for (const timevalue* key : other.mValues[line])
            mValues[line].push_back(new timevalue(key->time, key->value));
    }
    return *this;
}

template <typename T>
TimedValueInterval<T>::~TimedValueInterval()
{
    clearValues();
}

template <typename T>
void TimedValueInterval<T>::addValue(int line, int time, const T& value)
{
    if (line != 0)
        assertFailed("VQ", "[TimedValueInterval] Only one line supported", FILE_TAG, 201);
    if (mValues.empty())
        mValues.emplace_back();
    mValues[0].push_back(new timevalue(time, value));
}

template <typename T>
void TimedValueInterval<T>::resetLines()
{
    clearValues();
    if (mLinesCount > 0)
        mValues.resize(size_t(mLinesCount));
    for (int i = 0; i < mLinesCount; ++i) {
        const T v = resetValue(mMinValue, mMaxValue, mLinesCount, i);
        addValue(i, 0, v);
        addValue(i, 100, v);
    }
}

template <typename T>
void TimedValueInterval<T>::clearValues()
{
    for (std::vector<timevalue*>& line : mValues)
        for (timevalue* key : line)
            delete key;
    mValues.clear();
}

template <typename T>
T TimedValueInterval<T>::calcValue(int line, int percent) const
{
    if (line >= mLinesCount)
        assertFailed("VQ", "", FILE_TAG, 265);
    if (line < 0 || size_t(line) >= mValues.size())
        return T{};
    const std::vector<timevalue*>& keys = mValues[size_t(line)];
    if (keys.empty())
        return T{};
    if (keys.size() == 1)
        return keys[0]->value;

    const timevalue* prev = nullptr;
    const timevalue* earliest = nullptr;
    const timevalue* next = nullptr;
    for (const timevalue* key : keys) {
        if (key->time <= percent && (!prev || key->time >= prev->time))
            prev = key;
        if (!earliest || key->time < earliest->time)
            earliest = key;
        if (key->time > percent && (!next || key->time < next->time))
            next = key;
    }
    if (!prev)
        prev = earliest;
    if (!next)
        next = prev;
    if (next->time == prev->time)
        return prev->value;
    // In 64 bits: times and percents from a file may lie anywhere in the
    // integer range.
    const float t = float(int64_t(next->time) - percent) / float(int64_t(next->time) - prev->time);
    return weigh(1.0f - t, next->value, t, prev->value);
}

template <typename T>
T TimedValueInterval<T>::getValue(int line, int percent)
{
    if (mDirty) {
        for (int k = 0; k < CACHE_SIZE; ++k)
            mCache[k] = calcValue(line, 4 * k);
        mDirty = false;
    }
    const int i = std::clamp(percent >> 2, 0, CACHE_SIZE - 1);
    const int j = std::min(i + 1, CACHE_SIZE - 1);
    const float x = i == j ? 1.0f : float(int64_t(percent) - 4 * i) * 0.25f;
    return weigh(1.0f - x, mCache[i], x, mCache[j]);
}

template <>
float TimedValueInterval<float>::getAverageValue(int percent)
{
    const int n = averagedLines();
    float sum = 0.0f;
    for (int i = 0; i < n; ++i)
        sum += getValue(i, percent);
    return sum / float(n);
}

template <>
Color TimedValueInterval<Color>::getAverageColor(int percent)
{
    const int n = averagedLines();
    if (n <= 0)
        return calcValue(0, percent);  // the curve's own report: it has no line
    Color sum;
    for (int i = 0; i < n; ++i)
        sum = sum + getValue(i, percent);
    const uint8_t d = uint8_t(n);
    return sum / Color::fromBytes(d, d, d, d);
}

template <typename T>
template <typename Archive>
void TimedValueInterval<T>::transferFields(Archive& archive)
{
    archive.transfer(nvp("mValues", mValues));
    archive.transfer(nvp("mLinesCount", mLinesCount));
    archive.transfer(nvp("mMinValue", mMinValue));
    archive.transfer(nvp("mMaxValue", mMaxValue));
    archive.transfer(nvp("mSingleLine", mSingleLine));
}

template <typename T>
void TimedValueInterval<T>::serialize(FieldVisitor& visitor)
{
    transferFields(visitor);
}

template <typename T>
void TimedValueInterval<T>::load(XmlIArchive& archive)
{
    clearValues();
    transferFields(archive);
}

template <typename T>
void TimedValueInterval<T>::save(XmlOArchive& archive)
{
    transferFields(archive);
}

template class TimedValueInterval<float>;
template class TimedValueInterval<Color>;

template <typename T>
template <typename Archive>
void ValueRange<T>::transferFields(Archive& archive)
{
    archive.transfer(nvp("mMinVal", mMinVal));
    archive.transfer(nvp("mMaxVal", mMaxVal));
}

template <typename T>
void ValueRange<T>::serialize(FieldVisitor& visitor)
{
    transferFields(visitor);
}

template <typename T>
void ValueRange<T>::load(XmlIArchive& archive)
{
    transferFields(archive);
}

template <typename T>
void ValueRange<T>::save(XmlOArchive& archive)
{
    transferFields(archive);
}

template class ValueRange<Vector2f>;

}  // namespace VQ
