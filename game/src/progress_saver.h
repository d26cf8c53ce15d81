#pragma once
// The one entry through which game code stores the player's changed
// progress at once, and the listener that binds the profile to the remote
// storage's user.

#include "remote_storage.h"
#include "singleton.h"

class ProgressSaver : public VQ::Singleton<ProgressSaver>, public RemoteStorageListener {
public:
    ProgressSaver() = default;

    // Both profile files are written now; the result of GameProperties::save.
    bool saveNow();
    // Marks the progress changed; the remote storage has nothing to do with
    // it yet.
    void notifyChanged();

    // The profile becomes the remote user's: when it belonged to another
    // user it is saved first and the user's own file is loaded.
    void onLoaded() override;
    // A remote save of the profile's user is mirrored into the local files.
    void onSaved(const uint64_t& userId, int, int) override;
};
