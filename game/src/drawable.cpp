#include "drawable.h"

PlaceholderDrawable::PlaceholderDrawable(std::string kindName, std::string resourceName, std::string tableName,
                                         int layerValue)
    : kind(std::move(kindName)), resource(std::move(resourceName)), table(std::move(tableName))
{
    layer = layerValue;
}

Drawable* PlaceholderDrawable::clone() const
{
    auto* copy = new PlaceholderDrawable(kind, resource, table, layer);
    copy->restartOnShow = restartOnShow;
    return copy;
}

Drawable* createDrawable(const std::string& type, const std::string& resource, const std::string& third,
                         int layer, const std::string& suffix)
{
    // Sprite tables are named per colour; particle effects ignore the third
    // value; scenes keep their cue text, whose markers are formatted later.
    if (type == "Sprite" || type == "AnimSprite")
        return new PlaceholderDrawable(type, resource, third + suffix, layer);
    if (type == "ParticleFX")
        return new PlaceholderDrawable(type, resource, std::string(), layer);
    if (type == "Scene")
        return new PlaceholderDrawable(type, resource, third, layer);
    return nullptr;
}
