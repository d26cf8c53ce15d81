#pragma once
// The cut-scene state ("MovieState"): plays a scene whose story is split into
// parts, each a marker "#part:N" (or "#part:Na", which passes on by itself
// when it ends); a click moves to the next part, and after the last the
// listener decides where the game goes. The scene is built by a job.

#include <string>
#include <vector>

#include "animationeditor/marker.h"
#include "game_state.h"

namespace AE {
class ISceneNode;
}

class MovieStateListener {
public:
    virtual ~MovieStateListener() = default;
    virtual void onMovieFinished() = 0;
};

class MovieState : public IGameState, public AE::MarkerListener {
public:
    struct Part {
        AE::Marker* marker = nullptr;  // the scene's
        bool autoNext = false;
    };

    MovieState() = default;
    ~MovieState() override;

    void load() override { initializeAsync(); }
    void unload() override;
    void update(float dt) override;
    void draw() override;
    void onActivate() override { initializeAsync(); }
    void onDeactivate() override { unload(); }
    std::string getName() const override { return "MovieState"; }
    void applyOrientation(bool portrait) override;
    void onMarkerFinished(AE::Marker* marker) override;

    void initializeAsync();
    // The job's body; runs on the job's thread (tests call it directly).
    void initialize();
    void nextPart();

    std::string sceneName;
    AE::ISceneNode* scene = nullptr;  // owned
    int currentPart = 0;
    std::vector<Part> parts;
    bool skipNextClick = false;
    MovieStateListener* listener = nullptr;  // not owned
    bool waitingForVideo = false;

private:
    // "init" and the current part; nothing when there is no part.
    void startParts();
};

// The parts of a scene in order: "#part:N" or "#part:Na" for N = 1, 2, ...
// up to the first number that has neither.
std::vector<MovieState::Part> collectMovieParts(AE::ISceneNode* scene);
