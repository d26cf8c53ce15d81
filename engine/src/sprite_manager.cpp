#include "sprite_manager.h"

#include <algorithm>
#include <memory>

#include "fast_sprite.h"
#include "sprite.h"

namespace VQ {

template <typename T>
SpriteManager<T>::~SpriteManager()
{
    releaseAll();
}

template <typename T>
T* SpriteManager<T>::adopt(T* sprite)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    mSprites.push_back(sprite);
    return sprite;
}

// Each create holds the mutex from start to end, as the loaders inside take
// their own locks after it.
template <typename T>
T* SpriteManager<T>::createSpriteFromScript(const std::string& script, const std::string& table,
                                           const std::string& package)
    requires SPRITES
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    auto sprite = std::make_unique<T>();
    sprite->loadFromScript(script, package, table);
    return adopt(sprite.release());
}

template <typename T>
T* SpriteManager<T>::tryCreateSpriteFromScript(const std::string& script, const std::string& table,
                                              const std::string& package)
    requires SPRITES
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    auto sprite = std::make_unique<T>();
    if (sprite->tryLoadFromScript(script, package, table) != 0)
        return nullptr;
    return adopt(sprite.release());
}

template <typename T>
T* SpriteManager<T>::createSpriteFromTable(LuaScript2& script)
    requires SPRITES
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    auto sprite = std::make_unique<T>();
    sprite->loadFromTable(script);
    return adopt(sprite.release());
}

template <typename T>
T* SpriteManager<T>::createSpriteFromXml(XmlDataReader& reader)
    requires SPRITES
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    auto sprite = std::make_unique<T>();
    sprite->loadFromXml(reader);
    return adopt(sprite.release());
}

template <typename T>
T* SpriteManager<T>::createSpriteFromTexture(Texture* texture)
    requires SPRITES
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    auto sprite = std::make_unique<T>();
    sprite->setTexture(texture);
    return adopt(sprite.release());
}

template <typename T>
T* SpriteManager<T>::cloneSprite(const T* source)
    requires SPRITES
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    return adopt(new T(*source));
}

template <typename T>
T* SpriteManager<T>::createSprite(const std::string& script, const std::string& table, const std::string& package)
    requires FAST_SPRITES
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    auto sprite = std::make_unique<T>();
    sprite->loadFromScript(script, table, package);
    return adopt(sprite.release());
}

template <typename T>
T* SpriteManager<T>::createSpriteFromImage(const std::string& image, const std::string& package)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    auto sprite = std::make_unique<T>();
    sprite->loadTexture(image, package);
    return adopt(sprite.release());
}

template <typename T>
void SpriteManager<T>::releaseSprite(T* sprite)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    auto it = std::find(mSprites.begin(), mSprites.end(), sprite);
    if (it == mSprites.end() || !sprite)
        return;
    mSprites.erase(it);
    delete sprite;
}

template <typename T>
void SpriteManager<T>::releaseAll()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    for (T* sprite : mSprites)
        delete sprite;
    mSprites.clear();
}

template <typename T>
size_t SpriteManager<T>::spriteCount()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    return mSprites.size();
}

template class SpriteManager<Sprite>;
template class SpriteManager<FastSprite>;

}  // namespace VQ
