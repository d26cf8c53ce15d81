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
    static constexpr bool SPRITES = std::is_same_v<T, Sprite>;
    static constexpr bool FAST_SPRITES = std::is_same_v<T, FastSprite>;

public:
    SpriteManager() = default;
    // Deletes every sprite still listed.
    ~SpriteManager() override;

    // --- Sprites (fatal when a description or image cannot be loaded) ---
    T* createSpriteFromScript(const std::string& script, const std::string& table, const std::string& package)
        requires SPRITES;
    // Null (one logged error) when the script or table is missing.
    T* tryCreateSpriteFromScript(const std::string& script, const std::string& table, const std::string& package)
        requires SPRITES;
    T* createSpriteFromTable(LuaScript2& script) requires SPRITES;
    T* createSpriteFromXml(XmlDataReader& reader) requires SPRITES;
    // A null texture gives a 32 x 32 untextured sprite.
    T* createSpriteFromTexture(Texture* texture) requires SPRITES;
    T* cloneSprite(const T* sprite) requires SPRITES;

    // --- Fast sprites ---
    T* createSprite(const std::string& script, const std::string& table, const std::string& package)
        requires FAST_SPRITES;

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

    std::vector<T*> mSprites;
    std::recursive_mutex mMutex;
};

extern template class SpriteManager<Sprite>;
extern template class SpriteManager<FastSprite>;

}  // namespace VQ
