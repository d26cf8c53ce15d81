#include "progress_saver.h"

#include "game_properties.h"

bool ProgressSaver::saveNow()
{
    RemoteStorage::checkInstance();
    return GameProperties::instance()->save();
}

void ProgressSaver::notifyChanged()
{
    RemoteStorage::checkInstance();
}

void ProgressSaver::onLoaded()
{
    const uint64_t remoteId = RemoteStorage::instance()->userId;
    GameProperties* properties = GameProperties::instance();
    const uint64_t profileId = properties->profile()->profileId;
    if (profileId != 0) {
        if (profileId == remoteId)
            return;
        properties->save();
        // The user's own file carries its id in its "profile" section.
        if (properties->load(remoteId))
            return;
    }
    // An unbound profile, with its progress, becomes the user's; so does the
    // fresh profile left by a user without a readable file.
    properties->profile()->profileId = remoteId;
}

void ProgressSaver::onSaved(const uint64_t& userId, int, int)
{
    if (userId != GameProperties::instance()->profile()->profileId)
        return;
    RemoteStorage::checkInstance();
    GameProperties::instance()->save();
}
