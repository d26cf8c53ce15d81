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
template <typename Load>
T* SpriteManager<T>::createWith(Load load)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    auto sprite = std::make_unique<T>();
    if (!load(*sprite))
        return nullptr;
    return adopt(sprite.release());
}

template <typename T>
T* SpriteManager<T>::createSpriteFromScript(const std::string& script, const std::string& table,
                                           const std::string& package)
    requires std::is_same_v<T, Sprite>
{
    return createWith([&](T& sprite) {
        sprite.loadFromScript(script, package, table);
        return true;
    });
}

template <typename T>
T* SpriteManager<T>::tryCreateSpriteFromScript(const std::string& script, const std::string& table,
                                              const std::string& package)
    requires std::is_same_v<T, Sprite>
{
    return createWith([&](T& sprite) { return sprite.tryLoadFromScript(script, package, table) == 0; });
}

template <typename T>
T* SpriteManager<T>::createSpriteFromTable(LuaScript2& script)
    requires std::is_same_v<T, Sprite>
{
    return createWith([&](T& sprite) {
        sprite.loadFromTable(script);
        return true;
    });
}

template <typename T>
T* SpriteManager<T>::createSpriteFromXml(XmlDataReader& reader)
    requires std::is_same_v<T, Sprite>
{
    return createWith([&](T& sprite) {
        sprite.loadFromXml(reader);
        return true;
    });
}

template <typename T>
T* SpriteManager<T>::createSpriteFromTexture(Texture* texture)
    requires std::is_same_v<T, Sprite>
{
    return createWith([&](T& sprite) {
        sprite.setTexture(texture);
        return true;
    });
}

template <typename T>
T* SpriteManager<T>::cloneSprite(const T* source)
    requires std::is_same_v<T, Sprite>
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    return adopt(new T(*source));
}

template <typename T>
T* SpriteManager<T>::createSprite(const std::string& script, const std::string& table, const std::string& package)
    requires std::is_same_v<T, FastSprite>
{
    return createWith([&](T& sprite) {
        sprite.loadFromScript(script, table, package);
        return true;
    });
}

template <typename T>
T* SpriteManager<T>::createSpriteFromImage(const std::string& image, const std::string& package)
{
    return createWith([&](T& sprite) {
        sprite.loadTexture(image, package);
        return true;
    });
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

// Member by member rather than the whole class: some compilers (clang 14)
// would otherwise instantiate the members whose constraints exclude T.
#define VQ_SPRITE_MANAGER_COMMON(T)                                                                \
    template SpriteManager<T>::~SpriteManager();                                                   \
    template T* SpriteManager<T>::createSpriteFromImage(const std::string&, const std::string&);  \
    template void SpriteManager<T>::releaseSprite(T*);                                             \
    template void SpriteManager<T>::releaseAll();                                                  \
    template size_t SpriteManager<T>::spriteCount();
VQ_SPRITE_MANAGER_COMMON(Sprite)
VQ_SPRITE_MANAGER_COMMON(FastSprite)
#undef VQ_SPRITE_MANAGER_COMMON
template Sprite* SpriteManager<Sprite>::createSpriteFromScript(const std::string&, const std::string&,
                                                               const std::string&);
template Sprite* SpriteManager<Sprite>::tryCreateSpriteFromScript(const std::string&, const std::string&,
                                                                  const std::string&);
template Sprite* SpriteManager<Sprite>::createSpriteFromTable(LuaScript2&);
template Sprite* SpriteManager<Sprite>::createSpriteFromXml(XmlDataReader&);
template Sprite* SpriteManager<Sprite>::createSpriteFromTexture(Texture*);
template Sprite* SpriteManager<Sprite>::cloneSprite(const Sprite*);
template FastSprite* SpriteManager<FastSprite>::createSprite(const std::string&, const std::string&,
                                                             const std::string&);

}  // namespace VQ
