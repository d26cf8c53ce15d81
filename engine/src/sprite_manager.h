#pragma once
// The owners of every sprite: one manager per sprite kind, created at engine
// start-up; sprites are made and released through them so that whatever the
// game never released is still freed at shut-down. Scenes are built on
// loading threads, so each manager guards its list with its own mutex.

#include <mutex>
#include <vector>

#include "singleton.h"

namespace VQ {

class Sprite;
class FastSprite;

template <typename T>
class SpriteManager : public Singleton<SpriteManager<T>> {
public:
    SpriteManager() = default;

private:
    std::vector<T*> mSprites;
    std::recursive_mutex mMutex;
};

}  // namespace VQ
