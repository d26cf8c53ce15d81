// The game mode's part of the social layer: a logout forgets the friends
// asked for lives, and the friends' requests go to the map.
#include "facebook_message_dispatcher.h"
#include "game_properties.h"
#include "main_mode.h"
#include "main_mode_map_state.h"
#include "player_profile.h"

void MainMode::onMessage(const SocialMessage* message)
{
    if (message->type == SOCIAL_LOGGED_OUT) {
        if (PlayerProfile* player = GameProperties::instance()->profile())
            player->clearFriendEntries();
    } else if (message->type == SOCIAL_REQUESTS && mapState) {
        mapState->onRequestsChanged(message->requests);
    }
}
