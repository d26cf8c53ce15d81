#pragma once
// The game's persistent state: the game modes, the one running, and the
// player's profile.

#include <memory>

#include "player_profile.h"
#include "singleton.h"

class GameProperties : public VQ::Singleton<GameProperties> {
public:
    GameProperties();

    PlayerProfile* profile() const { return mProfile.get(); }

private:
    std::unique_ptr<PlayerProfile> mProfile;
};
