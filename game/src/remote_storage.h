#pragma once
// Where a remote copy of a social user's progress would live. This build
// has no server: the storage keeps its listeners and a user id of 0, and
// nothing calls the listeners, so the local files are the only storage.

#include <cstdint>
#include <map>
#include <vector>

#include "singleton.h"

class RemoteStorageListener {
public:
    virtual ~RemoteStorageListener() = default;
    // The data of the storage's current user has been loaded.
    virtual void onLoaded() {}
    // The data of `userId` has been saved; the other two arguments have no
    // meaning yet.
    virtual void onSaved(const uint64_t& userId, int, int) { (void)userId; }
};

class RemoteStorage : public VQ::Singleton<RemoteStorage> {
public:
    RemoteStorage() = default;

    std::vector<RemoteStorageListener*> listeners;  // not owned
    uint64_t userId = 0;
    // The friends' values (user id -> value) as the server last gave them;
    // always empty without one.
    std::map<uint64_t, int> friendValues;
};
