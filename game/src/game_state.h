#pragma once
// A top-level state of the game (the logo, the main menu, the map, a
// cut-scene, a level), owned by the state manager under its name.

#include <atomic>
#include <string>

class IGameState {
public:
    IGameState() = default;
    // Unregisters the state from the manager, when the manager exists.
    virtual ~IGameState();
    IGameState(const IGameState&) = delete;
    IGameState& operator=(const IGameState&) = delete;

    // Builds the state, at once or by starting a background job; sets
    // `loaded` when done.
    virtual void load() = 0;
    // Releases what load built; clears `loaded`.
    virtual void unload() = 0;
    virtual void update(float dt) = 0;
    virtual void draw() = 0;
    // Current again while still loaded.
    virtual void onActivate() {}
    // Another state becomes current.
    virtual void onDeactivate() {}
    virtual std::string getName() const = 0;
    virtual void applyOrientation(bool portrait) { (void)portrait; }

    bool isLoaded() const { return loaded.load(std::memory_order_acquire); }
    // A loading job sets the flag as its last write; the main thread reads
    // the state's fields only after seeing it.
    void setLoaded(bool value) { loaded.store(value, std::memory_order_release); }

    std::atomic<bool> loaded{false};
};
