#include "chip.h"

#include <algorithm>

#include "chip_prototype.h"

Chip::Chip()
{
    reset();
}

Chip::~Chip()
{
    reset();
}

void Chip::reset()
{
    x = 0.5f;
    y = 0.5f;
    selected = false;
    released = false;
    fallSpeed = CHIP_START_FALL_SPEED;
    wobbleX = wobbleY = 0.0f;
    pushX = pushY = 0.0f;
    wobbleTotal = wobbleLeft = 0.0f;
    layers.deleteAll();
    selector = nullptr;
    radius = 1;
    hitThisPass = false;
    detonateCounter = 0;
    userData.clear();
    falling = 0;
    landingStamp = landingCounter++;
    prototype = nullptr;
}

void Chip::applyPrototype(const ChipPrototype* prototype)
{
    if (!prototype)
        return;
    reset();
    colour = prototype->colour;
    layers = prototype->layers;
    this->prototype = prototype;
    selector = prototype->selector;
}

bool Chip::canFall() const
{
    return layers.canFall();
}

bool Chip::canIterateWithGroup() const
{
    for (const Behavior* layer : layers.objects)
        if (!layer->CanIterateWithGroup)
            return false;
    return true;
}

bool Chip::hasBehavior(int type) const
{
    for (const Behavior* layer : layers.objects)
        if (layer->type == type)
            return true;
    return false;
}

bool Chip::isSwappable() const
{
    if (!canFall())
        return false;
    for (int type : {BEHAVIOR_SIMPLE, BEHAVIOR_BOMB_STAGE1, BEHAVIOR_WAVE_DSIDE, BEHAVIOR_WAVE_HOR,
                     BEHAVIOR_WAVE_VER, BEHAVIOR_DESTROY_COLOR})
        if (hasBehavior(type))
            return true;
    return false;
}

void Chip::playIdleMarker(const std::string& name)
{
    for (Behavior* layer : layers.objects)
        layer->playIdleMarker(name);
}

void Chip::setUserData(const std::string& key, const DataSlot& slot)
{
    userData[key] = slot;
}

DataSlot Chip::getUserData(const std::string& key) const
{
    auto it = userData.find(key);
    return it == userData.end() ? DataSlot() : it->second;
}

bool Chip::hasUserData(const std::string& key) const
{
    return userData.count(key) != 0;
}

int Chip::getIntData(const std::string& key, int fallback) const
{
    auto found = userData.find(key);
    return found == userData.end() ? fallback : found->second.asInt();
}

ChipSnapshot::ChipSnapshot(const Chip& source)
    : column(static_cast<int32_t>(source.x)),
      row(static_cast<int32_t>(source.y)),
      colour(source.colour),
      levelGoals(source.layers.countLevelGoals()),
      chip(const_cast<Chip*>(&source))
{
    for (const Behavior* layer : source.layers.objects)
        types.push_back(layer->type);
}

bool ChipSnapshot::hasAnyBehavior(std::initializer_list<int> wanted) const
{
    for (int type : wanted)
        if (std::find(types.begin(), types.end(), type) != types.end())
            return true;
    return false;
}
