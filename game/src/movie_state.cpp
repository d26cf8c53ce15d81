#include "movie_state.h"

#include <memory>

#include "animationeditor/scene_node.h"
#include "function.h"
#include "game_state_manager.h"
#include "input_manager.h"
#include "job_manager.h"
#include "log_system.h"
#include "scene_layout.h"
#include "ui/ui_manager.h"
#include "utils.h"
#include "video_player.h"

namespace {

bool videoPlaying()
{
    const VQ::VideoPlayer* player = VQ::VideoPlayer::instancePtr();
    return player && player->slotCount() != 0;
}

}  // namespace

std::vector<MovieState::Part> collectMovieParts(AE::ISceneNode* scene)
{
    std::vector<MovieState::Part> parts;
    if (!scene)
        return parts;
    for (int n = 1;; ++n) {
        if (AE::Marker* plain = scene->getMarker(VQ::formatString("#part:%d", n))) {
            parts.push_back({plain, false});
        } else if (AE::Marker* chained = scene->getMarker(VQ::formatString("#part:%da", n))) {
            parts.push_back({chained, true});
        } else {
            break;
        }
    }
    return parts;
}

MovieState::~MovieState()
{
    unload();
}

void MovieState::initializeAsync()
{
    VQ::log("void MovieState::initializeAsync() -begin");
    VQ::JobManager::instance()
        ->addJob(std::make_unique<VQ::Function<MovieState>>(this, &MovieState::initialize))
        ->start();
    VQ::log("void MovieState::initializeAsync() -end");
}

void MovieState::initialize()
{
    if (isLoaded())
        return;
    currentPart = 0;
    scene = AE::loadScene(sceneName);
    if (!scene)
        VQ::log(VQ::formatString("ERROR: the cut-scene %s could not be loaded", sceneName.c_str()));
    parts = collectMovieParts(scene);
    waitingForVideo = videoPlaying();
    if (!waitingForVideo)
        startParts();
    setLoaded(true);
    applyOrientation(GameStateManager::instance()->isPortrait());
}

void MovieState::startParts()
{
    // A scene without parts starts nothing; the first click ends it.
    if (!scene || parts.empty())
        return;
    if (AE::Marker* init = scene->getMarker("init"))
        init->start(true);
    AE::Marker* marker = parts[static_cast<size_t>(currentPart)].marker;
    marker->addListener(this);
    marker->start(true);
}

void MovieState::update(float dt)
{
    if (!isLoaded())
        return;
    if (waitingForVideo && !videoPlaying()) {
        startParts();
        waitingForVideo = false;
    }
    if (scene)
        AE::ISceneNode::update(scene, dt);
    if (VQ::InputManager::instance()->leftButtonReleased()) {
        if (skipNextClick)
            skipNextClick = false;
        else
            nextPart();
    }
}

void MovieState::nextPart()
{
    if (currentPart + 1 < static_cast<int>(parts.size())) {
        AE::Marker* previous = parts[static_cast<size_t>(currentPart)].marker;
        ++currentPart;
        previous->removeListener(this);
        if (previous->elapsed == 0.0f)
            previous->start(true);
        previous->applyEndFrames();
        previous->stop(false);
        AE::Marker* next = parts[static_cast<size_t>(currentPart)].marker;
        next->addListener(this);
        next->start(true);
        return;
    }
    if (listener)
        listener->onMovieFinished();
}

void MovieState::onMarkerFinished(AE::Marker* marker)
{
    marker->removeListener(this);
    if (currentPart < static_cast<int>(parts.size()) && parts[static_cast<size_t>(currentPart)].autoNext)
        nextPart();
}

void MovieState::draw()
{
    if (!isLoaded())
        return;
    if (scene)
        AE::renderScene(scene);
    VQ::UIManager::instance()->render();
}

void MovieState::applyOrientation(bool portrait)
{
    (void)portrait;
    if (isLoaded())
        applySceneNodeLayout(scene);
}

void MovieState::unload()
{
    if (!isLoaded())
        return;
    setLoaded(false);
    delete scene;
    scene = nullptr;
    parts.clear();
}
