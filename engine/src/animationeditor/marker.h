#pragma once
// A marker is a named section of a scene: entries, each playing one node
// (and optionally its subtree) from one frame to another, forwards or
// backwards, once or in a loop. Game code starts markers by name and learns
// of their end through MarkerListener. A marker belongs to the node in whose
// list it stands (usually the scene's root).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace AE {

class ISceneNode;
class Marker;

class MarkerListener {
public:
    virtual ~MarkerListener() = default;
    // Told once when a marker the listener was added to finishes. The
    // marker is still written after this returns: its owner node must not
    // be deleted from here.
    virtual void onMarkerFinished(Marker* marker) { (void)marker; }
};

struct MarkerEntry {
    ISceneNode* node = nullptr;  // not owned
    int32_t from = -1;           // -1: the node's current time
    int32_t to = -1;             // -1: open end, the node just plays on
    bool recursive = false;      // play, stop and seek the subtree with it
    bool looped = false;
    // `elapsed` at which the entry ends; -1 once brought to its end.
    float endTime = 0.0f;
};

class Marker {
public:
    enum State { PLAYING = 0, FINISHED = 1, STOPPED = 2, PAUSED = 3 };

    explicit Marker(std::string name) : name(std::move(name)) {}
    // Every entry's node stops playing; listeners are not told.
    ~Marker();
    Marker(const Marker&) = delete;
    Marker& operator=(const Marker&) = delete;

    // Nothing for a missing node or a node that already has an entry.
    void addEntry(ISceneNode* node, int32_t from, int32_t to, bool recursive, bool looped);
    // Drops the entries of the node and of every node under it.
    void removeNode(ISceneNode* node);

    // A fresh start (forced, or from stopped) rewinds every entry to its
    // start frame; otherwise the entries resume where they are.
    void start(bool force);
    // Stops the nodes of every entry (all), or only of the finite, not
    // looped ones; paused when the marker had run, else stopped.
    void stop(bool all);
    void update(float dt);
    // Swaps the direction. A playing marker runs each finite entry back
    // for the time it had run, at most the entry's own span.
    void setReverse(bool reverse);
    // Puts every finite, not looped entry on its end frame, stopped.
    void applyEndFrames();
    // Finished at once with every entry at its end; listeners not told.
    void skipToEnd();
    // The marker's copy for another tree: each entry re-pointed at the node
    // of the same path under `newRoot` (dropped when there is none).
    static std::unique_ptr<Marker> copyToScene(ISceneNode* newRoot, const Marker& source,
                                               const ISceneNode* sourceRoot);

    void addListener(MarkerListener* listener);
    void removeListener(MarkerListener* listener);

    void setState(State s) { state = s; }
    State getState() const { return state; }

    std::vector<MarkerEntry> entries;
    std::string name;
    float elapsed = 0.0f;
    State state = STOPPED;
    bool updating = false;
    bool reverse = false;
    std::vector<MarkerListener*> listeners;  // not owned
};

}  // namespace AE
