#pragma once
// The small typed dictionary every chip (and every chip record of a level
// script) carries: markers such as "lock", chip pointers handed from one step
// to the next ("destroyer", "swappedChip") and per-chip counters ("limit").

#include <map>
#include <string>

class Chip;

class IDataContainer {
public:
    virtual ~IDataContainer() = default;
    virtual int asInt() const { return 0; }
    virtual float asFloat() const { return 0.0f; }
    virtual bool asBool() const { return false; }
    virtual std::string asString() const { return std::string(); }
    // A new copy of the same class, owned by the caller.
    virtual IDataContainer* clone() const = 0;
};

template <typename T>
class TDataContainer;

template <>
class TDataContainer<int> : public IDataContainer {
public:
    explicit TDataContainer(int v) : value(v) {}
    int asInt() const override { return value; }
    float asFloat() const override { return static_cast<float>(value); }
    bool asBool() const override { return value != 0; }
    std::string asString() const override;
    IDataContainer* clone() const override { return new TDataContainer<int>(value); }
    int value;
};

template <>
class TDataContainer<std::string> : public IDataContainer {
public:
    explicit TDataContainer(std::string v) : value(std::move(v)) {}
    int asInt() const override;
    float asFloat() const override;
    // Only the exact text "true".
    bool asBool() const override { return value == "true"; }
    std::string asString() const override { return value; }
    IDataContainer* clone() const override { return new TDataContainer<std::string>(value); }
    std::string value;
};

// Reads as zero/empty through every accessor; only chipPointer gives it back.
template <typename T>
class TUserContainer : public IDataContainer {
public:
    explicit TUserContainer(T v) : value(v) {}
    IDataContainer* clone() const override { return new TUserContainer<T>(value); }
    T value;
};

// One dictionary entry: an owned value and the code of what it holds.
class DataSlot {
public:
    enum Kind { Empty = 0, Integer = 1, String = 4, UserPointer = 5 };

    DataSlot() = default;
    DataSlot(int v) : value(new TDataContainer<int>(v)), kind(Integer) {}
    DataSlot(const std::string& v) : value(new TDataContainer<std::string>(v)), kind(String) {}
    DataSlot(const char* v) : value(new TDataContainer<std::string>(v)), kind(String) {}
    DataSlot(const DataSlot& other) { *this = other; }
    DataSlot& operator=(const DataSlot& other);
    ~DataSlot() { delete value; }

    void setChip(Chip* chip);
    // The held chip for a kind-5 slot holding a chip pointer; null otherwise.
    Chip* chipPointer() const;
    // The held integer; 0 for an empty slot or one of another kind.
    int asInt() const { return value ? value->asInt() : 0; }

    IDataContainer* value = nullptr;
    int kind = Empty;
};

// A slot holding a chip pointer ("destroyer", "swappedChip").
inline DataSlot chipSlot(Chip* chip)
{
    DataSlot slot;
    slot.setChip(chip);
    return slot;
}

// Ordered by plain byte-wise key order; owns the values through its slots.
using UserDataMap = std::map<std::string, DataSlot>;
