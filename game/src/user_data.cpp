#include "user_data.h"

#include <cstdlib>

#include "log_system.h"

std::string TDataContainer<int>::asString() const
{
    return VQ::intToString(value);
}

int TDataContainer<std::string>::asInt() const
{
    return std::atoi(value.c_str());
}

float TDataContainer<std::string>::asFloat() const
{
    return static_cast<float>(std::atof(value.c_str()));
}

DataSlot& DataSlot::operator=(const DataSlot& other)
{
    if (this == &other)
        return *this;
    IDataContainer* copy = other.value ? other.value->clone() : nullptr;
    delete value;
    value = copy;
    kind = other.kind;
    return *this;
}

void DataSlot::setChip(Chip* chip)
{
    delete value;
    value = new TUserContainer<Chip*>(chip);
    kind = UserPointer;
}

Chip* DataSlot::chipPointer() const
{
    if (kind != UserPointer)
        return nullptr;
    auto* held = dynamic_cast<TUserContainer<Chip*>*>(value);
    return held ? held->value : nullptr;
}
