#pragma once
// The campaign's level map, the game state "MainModeMap": one episode of
// the catalogue as an animated map scene with a medallion per level, a gate
// before each part that needs stars, the player's lantern-bearer on the
// level reached and the top panel with the player's silver and stars. Built
// by a job on every activation, so that it always shows the mode's
// progress; the player drags, flings and wheels it through its camera and
// steps between episodes with the two signposts.

#include <memory>
#include <string>
#include <vector>

#include "animationeditor/marker.h"
#include "dialogs/dialog_window.h"
#include "game_state.h"
#include "map_button.h"
#include "map_camera.h"
#include "vector2.h"

namespace AE {
class ISceneNode;
class MovieCamera;
class TextSceneNode;
}  // namespace AE
namespace VQ {
class UIWidget;
}

class MainMode;
struct PartInfo;
class MapMenuWindow;
class BlockerMessageWindow;
class HolidayPurchaseWindow;
class BuyHeartWindow;
class FacebookRequestWnd;
class HelpRandomFriendsWnd;
class EverydayBonusWindow;
struct SocialRequest;

// What the map built for one part: its level medallions (one slot per level
// of the part, null where the map scene has no place for it) and its gate.
struct MapPartView {
    std::vector<AE::ISceneNode*> levelNodes;
    AE::ISceneNode* blocker = nullptr;
    PartInfo* part = nullptr;
};

class MainModeMapState : public IGameState,
                         public AE::MarkerListener,
                         public DialogWindowListener,
                         public MapButtonListener {
public:
    static constexpr const char* NAME = "MainModeMap";
    static constexpr float SOCIAL_REFRESH_SECONDS = 60.0f;

    // The long-lived windows are made here (when the interface exists);
    // nothing is built yet.
    explicit MainModeMapState(MainMode* mode);
    ~MainModeMapState() override;

    void load() override { initializeAsync(); }
    void unload() override;
    void update(float dt) override;
    void draw() override;
    // The map is built again on every activation.
    void onActivate() override { initializeAsync(); }
    void onDeactivate() override { unload(); }
    std::string getName() const override { return NAME; }
    void applyOrientation(bool portrait) override;

    void onMarkerFinished(AE::Marker* marker) override;
    void onHidden(DialogWindow* window) override;
    void onButtonClicked(MapButton* button) override;

    // Starts the build job.
    void initializeAsync();
    // The job's body; nothing when already loaded.
    void build();
    // The part of the build that makes `episodeScene` for `episode`: the
    // map, its awards, medallions, camera, figure and gates, their looks
    // and the lit road.
    void buildEpisodeScene();
    void stepEpisode(int index);
    void onRequestsChanged(const std::vector<SocialRequest>& requests);

    // Camera.
    void readCameraBounds();
    VQ::Vector2f cameraTargetForLevel(int part, int level) const;
    void updateCamera(float dt);
    void placeCamera();

    // Buttons, walk, gate and awards.
    void refreshLevelButtons();
    bool handleMapInput();
    void openLevelWindow(int part, int level);
    void beginWalk();
    void updateWalk(float dt);
    void checkGate();
    void updateGate(float dt);
    void updateAwards(float dt);
    static constexpr float WALK_SECONDS = 0.6f;
    static constexpr float FLIGHT_SECONDS = 0.42f;
    static constexpr float SILVER_DELAY = 0.9f;

    // Social decorations.
    void refreshSocial();
    void showFriendsAtLevel(AE::ISceneNode* node);

    // The script-bound commands.
    void showMenu();
    void showMail();
    void showBuyGoldWindow();
    void showBuySilverWindow();
    void showBuyStarsWindow();
    void buyHolidayPurchase();

    // The medallion of a level in a view; null outside or where missing.
    AE::ISceneNode* levelNode(int part, int level) const;
    // The player may move the map: no walk, no gate and no award flight.
    bool idle() const { return walkState == 0 && gateState == 0 && !awardFlight; }

    MainMode* mode;  // not owned
    int displayedEpisode = -1;
    struct EpisodeInfo* episode = nullptr;
    AE::ISceneNode* episodeScene = nullptr;  // owned
    AE::ISceneNode* playerScene = nullptr;   // in episodeScene
    VQ::UIWidget* mapInterface = nullptr;    // the UI manager's
    AE::ISceneNode* guiScene = nullptr;
    AE::ISceneNode* topPanel = nullptr;
    AE::TextSceneNode* timeText = nullptr;
    AE::TextSceneNode* heartText = nullptr;
    AE::TextSceneNode* silverText = nullptr;
    AE::TextSceneNode* goldText = nullptr;
    AE::TextSceneNode* starsText = nullptr;
    AE::ISceneNode* actionPanel = nullptr;
    AE::TextSceneNode* actionTitle = nullptr;
    AE::TextSceneNode* actionTime = nullptr;
    AE::ISceneNode* silverIcon = nullptr;
    AE::ISceneNode* starIcon = nullptr;
    std::vector<MapPartView> partViews;
    int selectedPart = 0;
    int selectedLevel = -1;
    int playerPart = -1;
    int playerLevel = -1;

    // Made by every build, given up (marked) by unload.
    MapMenuWindow* mapMenu = nullptr;
    BlockerMessageWindow* blockerMessage = nullptr;
    HolidayPurchaseWindow* holidayPurchase = nullptr;
    // Made at construction, deleted by the destructor.
    std::unique_ptr<BuyHeartWindow> buyHeart;
    std::unique_ptr<FacebookRequestWnd> requestsWindow;
    std::unique_ptr<HelpRandomFriendsWnd> helpFriendsWindow;
    std::unique_ptr<EverydayBonusWindow> everydayBonus;

    std::unique_ptr<MapButton> prevEpisodeButton;
    std::unique_ptr<MapButton> nextEpisodeButton;
    // The button clicked in this frame's button updates; the step runs
    // after them, not inside a button's own update.
    int pendingEpisode = -1;
    bool helpFriendsShown = false;
    bool ownPhotoShown = false;
    bool friendsShown = false;
    float socialTimer = 0.0f;

    // Camera.
    AE::MovieCamera* cameraNode = nullptr;
    VQ::Vector2f cameraPosition{0.0f, 0.0f};
    MapCamera camera;
    int cameraJump = 0;

    // Set by the mode after a level; the walk, the gate and the awards.
    AE::ISceneNode* hoveredLevel = nullptr;
    bool walkPending = false;
    bool walkToNewLevel = false;
    bool autoAdvance = false;
    int walkState = 0;
    float walkTime = 0.0f;
    VQ::Vector2f figureStart{0.0f, 0.0f};
    VQ::Vector2f figureTarget{0.0f, 0.0f};
    VQ::Vector2f cameraTarget{0.0f, 0.0f};
    AE::Marker* awaitedMarker = nullptr;
    int gateState = 0;
    AE::Marker* gateMarker = nullptr;
    bool awardFlight = false;
    int pendingStars = 0;
    int pendingSilver = 0;
    float flightTime = 0.0f;
    float flightDelay = 0.0f;
    AE::ISceneNode* starAward = nullptr;
    AE::ISceneNode* silverAward = nullptr;

private:
    // The "#user" point of a level's medallion; `fallback` without one.
    VQ::Vector2f userPoint(int part, int level, VQ::Vector2f fallback) const;
    // The map point under a workspace point, through the map camera.
    VQ::Vector2f mapPoint(VQ::Vector2f workspace) const;
    // The camera moved along the straight pan from `cameraPosition` to
    // `cameraTarget`; true once it arrived.
    bool panCamera(float dt);
    void registerCommands();
    void unregisterCommands();
    void buildLevelButtons();
    void buildBlockers();
    void startOpenMarkers();
    void setCounters(int silver, int stars);
    // "scroll_open" plays backwards exactly when there are no requests.
    void setMailScroll(bool empty);
    // The everyday bonus's reward of the profile's day, on its window's close.
    void grantEverydayBonus();

    bool previousEscapeDown = false;
};

// How a level's medallion looks: its stars (0 to 3) once completed, else
// locked (in a locked part, or after a level not yet completed) or open.
constexpr int LEVEL_LOCKED = -1;
constexpr int LEVEL_OPEN = -2;
int levelLook(const PartInfo& part, size_t index);
// A medallion lights up under the mouse: its part is open and it is the
// first level or follows a completed one.
bool levelHoverable(const PartInfo& part, size_t index);
// A click on a medallion opens its start window: it is completed, or its
// part is open and it is not past the mode's current level.
bool levelClickOpens(const PartInfo& part, size_t index, int currentLevel);

// The open markers the map starts for the episode it shows: the mode's
// current episode starts those of its parts before `partIndex`; an earlier
// (complete) episode those of all its parts but the last; a later one none.
int openMarkerCount(int displayedEpisode, int episodeIndex, int partIndex, int partCount);
