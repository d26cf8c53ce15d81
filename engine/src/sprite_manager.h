#pragma once
// The owners of every sprite: one manager per sprite kind, created at engine
// start-up; sprites are made and released through them, so whatever the game
// never released is still freed at shut-down. Scenes and windows are built
// on loading threads while the main thread draws, so each manager guards its
// list with its own recursive mutex (taken before the texture manager's and
// the file system's, which the loaders take inside it).

#include <mutex>
#include <string>
#include <type_traits>
#include <vector>

#include "singleton.h"

namespace VQ {

class FastSprite;
class LuaScript2;
class Sprite;
class Texture;
class XmlDataReader;

template <typename T>
class SpriteManager : public Singleton<SpriteManager<T>> {

public:
    SpriteManager() = default;
    // Deletes every sprite still listed.
    ~SpriteManager() override;

    // --- Sprites (fatal when a description or image cannot be loaded) ---
    T* createSpriteFromScript(const std::string& script, const std::string& table, const std::string& package)
        requires std::is_same_v<T, Sprite>;
    // Null (one logged error) when the script or table is missing.
    T* tryCreateSpriteFromScript(const std::string& script, const std::string& table, const std::string& package)
        requires std::is_same_v<T, Sprite>;
    T* createSpriteFromTable(LuaScript2& script) requires std::is_same_v<T, Sprite>;
    T* createSpriteFromXml(XmlDataReader& reader) requires std::is_same_v<T, Sprite>;
    // A null texture gives a 32 x 32 untextured sprite.
    T* createSpriteFromTexture(Texture* texture) requires std::is_same_v<T, Sprite>;
    T* cloneSprite(const T* sprite) requires std::is_same_v<T, Sprite>;

    // --- Fast sprites ---
    T* createSprite(const std::string& script, const std::string& table, const std::string& package)
        requires std::is_same_v<T, FastSprite>;

    // --- Both ---
    T* createSpriteFromImage(const std::string& image, const std::string& package);
    // Deletes the sprite; a pointer the manager does not hold is ignored.
    void releaseSprite(T* sprite);
    void releaseAll();
    size_t spriteCount();

private:
    // Lists a sprite once it is fully built, so a loader that stops with a
    // fatal report never leaves a half-built one behind.
    T* adopt(T* sprite);
    // A new sprite built by `load` under the mutex, adopted when `load`
    // returns true (deleted otherwise).
    template <typename Load>
    T* createWith(Load load);

    std::vector<T*> mSprites;
    std::recursive_mutex mMutex;
};

// The members are instantiated one by one in sprite_manager.cpp for the two
// sprite kinds.

}  // namespace VQ
