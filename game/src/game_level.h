#pragma once
// The level state ("GameLevel"): one level being played. A background job
// builds the board, its renderer, the framed field scene, the interface and
// the result-effect scenes while the loading scene shows; then every frame
// the state turns the held mouse button into board clicks, runs the mode,
// the rule components and the board, and draws them in their layers. The
// busy counter is how the rest of the level holds the player's input back.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "animationeditor/marker.h"
#include "animationeditor/scene_node.h"
#include "game_event.h"
#include "game_state.h"

namespace VQ {
class UIWidget;
}
class GameField;
class GameFieldRenderer;
class GameHelper;
class GoalsHelper;
class Mode;
class MoveLimitHelper;

// The pulsing banner of the last five moves of a moves limit.
class MoveWarning {
public:
    // Loads "move_warning_xml", laid out for `portrait` and stopped.
    explicit MoveWarning(bool portrait);
    ~MoveWarning();
    MoveWarning(const MoveWarning&) = delete;
    MoveWarning& operator=(const MoveWarning&) = delete;

    // Starts the marker of the moves left ("5" to "0") once per count.
    void update();

    MoveLimitHelper* limit = nullptr;  // not owned; null on a timed level
    std::unique_ptr<AE::ISceneNode> scene;
    int lastShown = -1;
    bool portrait = false;
    GoalsHelper* goals = nullptr;  // not owned
};

class GameLevel : public IGameState, public AE::MarkerListener {
public:
    // A layout anchor of the field scene: world position, depth, rotation.
    struct Anchor {
        float x = 0.0f;
        float y = 0.0f;
        int depth = 0;
        float rotation = 0.0f;
    };

    GameLevel() = default;
    ~GameLevel() override;

    // Starts the load job (initializeAsync).
    void load() override { initializeAsync(); }
    void unload() override;
    void update(float dt) override;
    void draw() override;
    void onActivate() override;
    void onDeactivate() override;
    std::string getName() const override { return "GameLevel"; }
    void applyOrientation(bool portrait) override;

    void initializeAsync();
    // The job's body.
    void loadBody();

    // Loads the level into the board and begins it.
    void startLevel(const std::string& levelScript);
    void loadBackgroundScene(const std::string& name);
    void loadFieldScene(const std::string& name);
    void playEffect(GameLevelEffect effect);
    void setAmbientVolume(float volume);
    // The anchor "@h:NAME" (landscape) or "@v:NAME" (portrait) of the field
    // scene; a missing one is fatal.
    Anchor anchor(const std::string& name) const;
    // Plays a shake marker of the field scene (the board moves with
    // "#game_field" until it ends).
    void playShake(const std::string& markerName);
    // The script command "showIngameMenu".
    void showIngameMenu();
    // The click road: a point relative to the board's origin.
    void clickAt(float x, float y);

    void onMarkerFinished(AE::Marker* marker) override;

    // Lowers the busy counter by one, never below 0.
    void releaseBusy()
    {
        if (busyCount > 0)
            --busyCount;
    }

    // Adds a component once; the list stays in ascending priority, ties in
    // the order they were added.
    void addHelper(GameHelper* helper);
    // Takes the component's first entry out; nothing when it has none.
    void removeHelper(GameHelper* helper);
    // After a component's priority changed.
    void sortHelpers();

    Mode* mode = nullptr;  // not owned
    // Owned while loaded by the job; tools that play a board without the
    // state set it to a board of their own.
    GameField* field = nullptr;
    GameFieldRenderer* renderer = nullptr;
    // Above 0: the level is busy.
    int busyCount = 0;
    // The board's entry, 0 to 1; the renderer fades the board in by it.
    float introProgress = 1.0f;
    bool introRunning = false;
    // The marker of the level effect scene while it plays; null otherwise.
    AE::Marker* effectMarker = nullptr;
    // Not owned: the mode owns the components.
    std::vector<GameHelper*> helpers;

    std::unique_ptr<AE::ISceneNode> backgroundScene;
    std::unique_ptr<AE::ISceneNode> fieldScene;
    AE::ISceneNode* fieldNode = nullptr;      // "#game_field" of fieldScene
    AE::Marker* shakeMarker = nullptr;        // of fieldScene, while it plays
    std::array<std::unique_ptr<AE::ISceneNode>, GAME_LEVEL_EFFECT_COUNT> effectScenes;
    AE::ISceneNode* currentEffectScene = nullptr;
    GameLevelEffect currentEffect = EFFECT_WIN;
    VQ::UIWidget* interfaceRoot = nullptr;  // the UI manager owns the tree
    std::unique_ptr<MoveWarning> moveWarning;
    bool clickedThisUpdate = false;
    // The board could not load the level (set in the load job); the first
    // update hands the failure to the mode.
    bool levelLoadFailed = false;
    int levelsStarted = 0;
    int ambientResource = 0;
    int ambientHandle = 0;
    bool needsLayout = false;
    // The level fades in or out: the bonus panel takes no press meanwhile.
    // Nothing sets it yet.
    bool fading = false;

private:
    // The board's origin from the board node: its row 0 is the spawn row
    // above the play area.
    void takeOriginFromFieldNode();
    void stopAmbient();
};
