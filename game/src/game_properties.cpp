#include "game_properties.h"

GameProperties::GameProperties() : mProfile(std::make_unique<PlayerProfile>()) {}
