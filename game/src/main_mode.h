#pragma once
// The campaign: the episodes, parts and levels of "main_mode_lua" with each
// level's star scores, the player's position and progress in them (saved
// as the "MainMode" section of the profile file), and the choice of the
// level to play.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/dialog_window.h"
#include "facebook_message_dispatcher.h"
#include "game_helpers/limit_helper.h"
#include "mode.h"
#include "movie_state.h"

class BonusChipHelper;
class BonusGoldHelper;
class ChainBombHelper;
class ChipGeneratorHelper;
class ChipUpHelper;
class CutscenesWindow;
class FailLevelWindow;
class GameField;
class GoalsHelper;
class IceHelper;
class IngameMenuWindow;
class LevelEndHelper;
class MainModeMapState;
class PassiveBonusHelper;
class PlayLevelWindow;
class ProgressHelper;
class ScoreTextHelper;
class WinLevelWindow;

struct LevelInfo {
    // Leading star scores reached by the best score: 0 to 3.
    int stars() const;

    int id = 0;
    std::string file;
    bool completed = false;
    // A localisation key when true, else the text to show.
    std::string title;
    bool titleIsKey = false;
    std::string back1;
    std::string back2;
    std::string movieScene;
    int bestScore = 0;
    int starScores[3] = {500, 1000, 2000};
};

struct PartInfo {
    ~PartInfo();

    std::vector<LevelInfo*> levels;  // owned
    std::string openMarker;
    bool locked = true;
    int id = 0;
};

struct EpisodeInfo {
    ~EpisodeInfo();

    std::vector<PartInfo*> parts;  // owned
    std::string mapScene;
    int id = 0;
};

struct FriendValue {
    uint64_t userId = 0;
    int value = 0;
    bool operator==(const FriendValue&) const = default;
};

class MainMode : public Mode,
                 public MovieStateListener,
                 public FacebookMessageListener,
                 public LimitHelperListener,
                 public DialogWindowListener {
public:
    static constexpr int MAX_LIVES = 5;
    static constexpr uint32_t SAVE_VERSION = 12;
    static constexpr const char* SECTION = "MainMode";
    static constexpr const char* CATALOGUE = "main_mode_lua";

    // Reads the catalogue; `suffix` is appended to every level file name.
    explicit MainMode(std::string suffix);
    ~MainMode() override;
    MainMode(const MainMode&) = delete;
    MainMode& operator=(const MainMode&) = delete;

    // Creates the map state and registers it with the state manager.
    void start() override;
    void save(AE::DataStream& stream) override;
    void load(AE::DataStream& stream) override;
    void resetProgress(bool) override;
    bool hasLevelBegun() override { return levelBegun; }

    // The level at (episode, part, level) becomes the current one and the
    // game goes to the level; false, with nothing changed, when the
    // catalogue has no such level.
    bool selectLevel(int episode, int part, int level);
    // The position moves to the first level not completed; true when it is
    // not the very first level or progress was already made.
    bool updatePosition();
    // Every level completed (true for a part without levels).
    static bool isPartCompleted(const PartInfo& part);
    // Every part open and completed.
    static bool isEpisodeCompleted(const EpisodeInfo& episode);
    // The friends with a value, at most five with the player's own entry,
    // highest value first.
    std::vector<FriendValue> friendsRanking() const;
    // The friends without a value yet.
    std::vector<uint64_t> friendsWithoutValue() const;
    void addLife();
    // The level at (episode, part, level); null outside the catalogue.
    LevelInfo* levelAt(int episode, int part, int level) const;
    // The section length the current catalogue gives.
    size_t sectionBytes() const;

    std::string suffix;
    std::vector<EpisodeInfo*> episodes;  // owned
    int episodeIndex = 0;
    int partIndex = 0;
    int levelIndex = 0;
    bool hasProgress = false;
    int lives = MAX_LIVES;
    int64_t lastLifeChange = 0;
    int extraMoves = 0;

    MainModeMapState* mapState = nullptr;  // owned by the state manager
    LevelInfo* currentLevel = nullptr;  // not owned
    std::string levelScript;
    bool levelBegun = false;

    // --- The level's rules: set-up, the board's and the limit's hooks, the
    // frame's Escape and the reshuffle (main_mode_rules.cpp) ---
    void onStateEnter(const std::string& name) override;
    void onStateLeave(const std::string& name) override;
    void setupLevelRules(VQ::LuaContext& script) override;
    void prepareLevel() override;
    void onLevelBegin() override;
    void onLevelLoadFailed() override;
    void layoutLevelUi(bool portrait) override;
    void update(float dt) override;
    void onPlayerMove(FieldCell* a, FieldCell* b) override;
    void addScore(const DestroyResult& result, Chip* chip) override;
    void onTileHit(FieldCell* cell) override;
    void onChipDestroyed(const ChipSnapshot& snapshot) override;
    void onNoPossibleMoves() override;
    bool onNeighbourDestroyed(Chip* destroyed, Chip* neighbour) override;
    GameHelper* getHelper(int kind) override;
    bool onMatch(const ChipSelection& selection) override;
    bool onBonusSwap(Chip* a, Chip* b) override;
    void onEffectPlayed(GameLevelEffect effect) override;
    void onMessage(const SocialMessage* message) override;
    void onLimitShown() override;
    void onLimitReached() override {}
    void onLimitChanged(int previous, int current) override;
    void onTimerStarted() override;
    // The score goal (the goals' third slot) counts from 0 up to the first
    // star score.
    void setScoreGoal();
    // The limit is a timer.
    TimerHelper* timer() const;

    // Deletes the components, in the order of leaving a level.
    void deleteLevelRules();

    // Owned; null between levels.
    GoalsHelper* goals = nullptr;
    ProgressHelper* progress = nullptr;
    BonusChipHelper* bonusChips = nullptr;
    LimitHelper* limit = nullptr;
    ScoreTextHelper* scoreText = nullptr;
    IceHelper* ice = nullptr;
    ChainBombHelper* chainBombs = nullptr;
    ChipGeneratorHelper* generators = nullptr;
    ChipUpHelper* chipUp = nullptr;
    BonusGoldHelper* bonusPanel = nullptr;
    PassiveBonusHelper* boosters = nullptr;
    LevelEndHelper* levelEnd = nullptr;
    bool levelStarted = false;
    bool shuffling = false;
    bool limitShown = false;
    bool replay = false;
    bool winRunning = false;
    bool failPending = false;
    // The goals check has held the board for the win in this level.
    bool goalsMet = false;
    // After a tile hit or a destroyed chip: met goals of a level with goal
    // kinds hold the board for the win.
    void checkGoals();
    void addPoints(int points);
    // The limit is used up, the board is quiet and the goals are unmet.
    bool isLost(GameField& field) const;
    // The won level's records, rewards and window.
    void finishWin();
    // What a win of `score` gives: unlocks, the best score and stars, the
    // position, silver and a life, and the map's award.
    void recordWin(int score);
    // The bonus panel stops answering and its buttons go back to rest.
    void holdBonusPanel();
    // The level's id is the highest of the catalogue.
    bool isLastLevel(const LevelInfo& level) const;
    // The silver given for the last win.
    int silverReward = 0;
    // --- end of the level's rules ---

    // --- Navigation and the mode's windows: activation from the main menu,
    // the way to the map, the in-level menu and what follows a closed
    // window (main_mode.cpp) ---
    // Creates the windows, registers "newGame", becomes the current mode
    // and goes to the map, or through the intro first without progress.
    void activate() override;
    // Gives the windows up (the manager deletes them) and stops being the
    // current mode.
    void deactivate() override;
    void goToMap();
    // The intro has ended: the player has progress now.
    void onMovieFinished() override;
    void showIngameMenu() override;
    void onHidden(DialogWindow* window) override;
    // The win window has closed with `result`: cut-scene, map or main menu.
    void leaveWonLevel(int32_t result);
    // The script command: the current level again.
    void newGame();
    // The same level again, rebuilt.
    void restartLevel() override;

    // Owned from activate to deactivate.
    WinLevelWindow* winWindow = nullptr;
    FailLevelWindow* failWindow = nullptr;
    IngameMenuWindow* ingameMenu = nullptr;
    CutscenesWindow* cutscenesWindow = nullptr;
    PlayLevelWindow* playLevelWindow = nullptr;
    // --- end of navigation ---

private:
    void releaseWindows();
    void clearCatalogue();
    void readCatalogue();
    void readStarScores(LevelInfo& level) const;
    // The first part opens; a part behind a locked one is locked, its
    // levels not completed and without a best score.
    void normaliseLocks();
    std::vector<PartInfo*> allParts() const;
};
