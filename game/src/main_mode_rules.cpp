// The campaign mode's side of a level being played: the rule components it
// builds from the level script, where it lays them out, and what every call
// of the board and the limit adds to score, goals and components.

#include <lua.hpp>

#include "chip.h"
#include "dialogs/fail_level_window.h"
#include "game_event.h"
#include "game_field.h"
#include "game_helpers/bonus_chip_helper.h"
#include "game_helpers/bonus_gold_helper.h"
#include "game_helpers/chain_bomb_helper.h"
#include "game_helpers/chip_generator_helper.h"
#include "game_helpers/chip_up_helper.h"
#include "game_helpers/goals_helper.h"
#include "game_helpers/ice_helper.h"
#include "game_helpers/level_bonus_setup.h"
#include "game_helpers/level_end_helper.h"
#include "game_helpers/passive_bonus.h"
#include "game_helpers/progress_helper.h"
#include "game_helpers/score_text_helper.h"
#include "game_level.h"
#include "game_state_manager.h"
#include "input_manager.h"
#include "lua_context.h"
#include "main_mode.h"
#include "platform/input_sdl.h"
#include "task.h"
#include "task_manager.h"
#include "tutorial/tutorial_registry.h"
#include "ui/ui_widget.h"

namespace {

constexpr const char* LEVEL_STATE = "GameLevel";

GameLevel* level()
{
    return GameStateManager::exists() ? GameStateManager::instance()->getGameLevel() : nullptr;
}

GameField* board()
{
    GameLevel* current = level();
    return current ? current->field : nullptr;
}

bool portrait()
{
    return GameStateManager::exists() && GameStateManager::instance()->isPortrait();
}

// The registry owns the event; without one (the headless board) it goes.
void tellTutorial(GameEvent* event)
{
    if (TutorialRegistry::exists())
        TutorialRegistry::instance()->dispatchEvent(event);
    else
        delete event;
}

// A number, or a string holding one; 0 otherwise. `present` is false for nil.
float numberField(lua_State* state, int table, const char* key, bool& present)
{
    lua_getfield(state, table, key);
    present = !lua_isnil(state, -1);
    const float value = lua_isnumber(state, -1) ? static_cast<float>(lua_tonumber(state, -1)) : 0.0f;
    lua_pop(state, 1);
    return value;
}

void setPriority(GameHelper* helper, int priority, bool& changed)
{
    if (helper->priority != priority) {
        helper->priority = priority;
        changed = true;
    }
}

// Lets the timer run again a moment after the reshuffle began.
class RunTimerTask : public Task {
public:
    explicit RunTimerTask(TimerHelper* timer) : timer(timer)
    {
        delay = 0.1f;
        blockWhileRunning = false;
        blockWhileDelayed = true;
    }

    bool run(float) override
    {
        timer->running = true;
        timer->tellListeners([](LimitHelperListener& listener) { listener.onTimerStarted(); });
        return true;
    }

    TimerHelper* timer;  // not owned; the level outlives its board's tasks
};

}  // namespace

void MainMode::onStateEnter(const std::string& name)
{
    GameLevel* current = level();
    if (name != LEVEL_STATE || !current || !currentLevel)
        return;
    current->loadBackgroundScene(currentLevel->back1);
    current->loadFieldScene(currentLevel->back2);
    current->startLevel(levelScript);
}

void MainMode::onStateLeave(const std::string& name)
{
    if (name == LEVEL_STATE)
        deleteLevelRules();
}

void MainMode::deleteLevelRules()
{
    // Each leaves the level's list from its destructor.
    delete goals;
    goals = nullptr;
    delete progress;
    progress = nullptr;
    delete bonusChips;
    bonusChips = nullptr;
    delete scoreText;
    scoreText = nullptr;
    delete limit;
    limit = nullptr;
    delete bonusPanel;
    bonusPanel = nullptr;
    delete boosters;
    boosters = nullptr;
    delete ice;
    ice = nullptr;
    delete chainBombs;
    chainBombs = nullptr;
    delete generators;
    generators = nullptr;
    delete chipUp;
    chipUp = nullptr;
    delete levelEnd;
    levelEnd = nullptr;
}

TimerHelper* MainMode::timer() const
{
    return dynamic_cast<TimerHelper*>(limit);
}

void MainMode::setScoreGoal()
{
    GoalsHelper::Counter& score = goals->counters[2];
    score.kind = GOAL_SCORE;
    score.target = currentLevel ? currentLevel->starScores[0] : 0;
    score.count = 0;
    score.shown = 0;
    score.timer = -1.0f;
}

void MainMode::setupLevelRules(VQ::LuaContext& script)
{
    GameLevel* current = level();
    if (!goals) {
        // All at priority 0: the list keeps this order until the layout
        // gives them their anchors' depths.
        goals = new GoalsHelper("goals_dial_scene_xml");
        current->addHelper(goals);
        progress = new ProgressHelper("score_scene_xml");
        current->addHelper(progress);
        // The fusion reports to the mode the board reports to.
        bonusChips = new BonusChipHelper(current->mode ? current->mode : this);
        current->addHelper(bonusChips);
        bonusPanel = new BonusGoldHelper(BONUS_PANEL_SCENE, goals);
        current->addHelper(bonusPanel);
        scoreText = new ScoreTextHelper();
        current->addHelper(scoreText);
        boosters = new PassiveBonusHelper();
        current->addHelper(boosters);
        ice = new IceHelper();
        current->addHelper(ice);
        chainBombs = new ChainBombHelper();
        current->addHelper(chainBombs);
        generators = new ChipGeneratorHelper();
        current->addHelper(generators);
        chipUp = new ChipUpHelper();
        current->addHelper(chipUp);
        levelEnd = new LevelEndHelper();
        current->addHelper(levelEnd);
    }
    layoutLevelUi(portrait());
    const int* stars = currentLevel ? currentLevel->starScores : nullptr;
    if (stars)
        progress->setThresholds(stars[0], stars[1] - stars[0], stars[2] - stars[1]);
    else
        progress->setThresholds(0, 0, 0);
    setScoreGoal();
    goals->update(0.0f);
    goals->readLevelGoals(script);
    ice->readLevelSettings(script);

    lua_State* state = script.state();
    VQ::LuaStackGuard guard(state);
    lua_getglobal(state, "GameField");
    const int table = lua_gettop(state);
    float value = 0.0f;
    int kind = 0;
    if (lua_istable(state, table)) {
        bool present = false;
        value = numberField(state, table, "LevelLimit", present);
        if (!present)
            value = numberField(state, table, "LevelTime", present);
        kind = static_cast<int>(numberField(state, table, "LevelLimitType", present));
    }
    if (value == 0.0f)
        return;
    delete limit;
    limit = nullptr;
    if (kind == 0) {
        limit = new MoveLimitHelper("LimitHelper", "limit_helper_ui", static_cast<int>(value) + extraMoves, 0.6f);
        extraMoves = 0;
    } else {
        limit = new TimerHelper("LimitHelper", "limit_helper_ui", value, 1.0f);
        if (!limit->hasListener(ice))
            limit->addListener(ice);
    }
    if (!limit->hasListener(this))
        limit->addListener(this);
    current->addHelper(limit);
}

void MainMode::prepareLevel()
{
    shuffling = false;
    if (progress)
        progress->reset();
    if (goals) {
        goals->reset();
        setScoreGoal();
    }
    // The boosters armed in the profile join the boosters' panel (colour;
    // moves, on a level with a limit; bomb).
    prepareLevelBonuses(bonusPanel, boosters, levelEnd, limit, goals);
    if (chainBombs)
        chainBombs->collectChainBombs();
    if (generators)
        generators->collectGenerators();
    limitShown = false;
    goalsMet = false;
    layoutLevelUi(portrait());
}

void MainMode::onLevelBegin()
{
    failPending = false;
    winRunning = false;
    replay = currentLevel && currentLevel->completed;
    if (chipUp)
        chipUp->collectChips();
    levelStarted = false;
    if (GameLevel* current = level(); current && current->interfaceRoot && !current->interfaceRoot->enabled)
        current->interfaceRoot->enable();
    if (TimerHelper* clock = timer())
        clock->running = false;
    if (limit) {
        limit->start();
    } else {
        tellTutorial(new BeginLevelGameEvent(levelScript));
        if (boosters)
            boosters->startAll();
    }
    levelBegun = true;
}

void MainMode::onLimitShown()
{
    if (limitShown)
        return;
    tellTutorial(new BeginLevelGameEvent(levelScript));
    if (boosters)
        boosters->startAll();
    limitShown = true;
}

void MainMode::onLimitChanged(int previous, int current)
{
    // The chain bombs count the seconds down.
    if (current < previous && timer() && chainBombs)
        chainBombs->stepPending = true;
}

void MainMode::onTimerStarted()
{
    levelStarted = true;
}

void MainMode::layoutLevelUi(bool isPortrait)
{
    (void)isPortrait;
    GameLevel* current = level();
    if (!progress || !current || !current->fieldScene)
        return;
    bool changed = false;
    const GameLevel::Anchor score = current->anchor("score");
    if (progress->scene)
        progress->scene->setPosition(score.x, score.y);
    setPriority(progress, score.depth, changed);
    const GameLevel::Anchor goalsAnchor = current->anchor("goals");
    if (goals->scene)
        goals->scene->setPosition(goalsAnchor.x, goalsAnchor.y);
    setPriority(goals, goalsAnchor.depth, changed);
    if (limit) {
        const GameLevel::Anchor moves = current->anchor("moves");
        if (limit->root)
            limit->root->offset = VQ::Vector2f(moves.x, moves.y);
        setPriority(limit, moves.depth, changed);
        const GameLevel::Anchor centre = current->anchor("fieldCenter");
        const float at[2] = {centre.x, centre.y};
        limit->setPosition(at);
    }
    if (bonusPanel) {
        // Position only: the panel has no rotation to take.
        const GameLevel::Anchor at = current->anchor("bonusPanel");
        setPriority(bonusPanel, at.depth, changed);
        bonusPanel->position[0] = at.x;
        bonusPanel->position[1] = at.y;
        bonusPanel->applyOrientation();
    }
    if (boosters) {
        const GameLevel::Anchor at = current->anchor("passiveBonusPanel");
        boosters->position[0] = at.x;
        boosters->position[1] = at.y;
        boosters->layoutBonuses();
        setPriority(boosters, at.depth, changed);
    }
    if (changed)
        current->sortHelpers();
}

void MainMode::update(float dt)
{
    (void)dt;
    VQ::InputManager* input = VQ::InputManager::instancePtr();
    const VQ::KeyboardDevice* keys = input ? input->keyboard() : nullptr;
    const uint8_t escape = VQ::VirtualKey::ESCAPE;
    if (keys && (keys->previous[escape] & 0x80) && !(keys->current[escape] & 0x80) && !winRunning && !failPending &&
        !(TutorialRegistry::exists() && TutorialRegistry::instance()->isLessonActive())) {
        if (GameLevel* current = level())
            current->showIngameMenu();
    }
    // The outcome is judged only while the mode is active with its result
    // windows; the headless board plays on past a level's end.
    if (!levelStarted || !winWindow || !failWindow)
        return;
    GameLevel* current = level();
    GameField* field = board();
    if (!current || !field || !goals || !progress)
        return;

    const bool limitUsedUp = limit && limit->isLimitReached();
    if (limitUsedUp) {
        if (boosters) {
            for (const auto& booster : boosters->boosters)
                if (booster->started && !booster->used)
                    return;
        }
        if (current->busyCount <= 0)
            ++current->busyCount;
        if (field->isUnsettled())
            return;
        if (!failPending) {
            failPending = isLost(*field);
            if (failPending) {
                current->playEffect(EFFECT_FAIL);
                holdBonusPanel();
            }
        }
    }
    if (field->taskManager->count > 0 || failPending)
        return;

    if (!goals->isComplete() || shuffling || field->isSuspended() || !field->fallDelays.empty() || !levelStarted)
        return;
    if (!winRunning && !current->effectMarker) {
        if (current->interfaceRoot && current->interfaceRoot->enabled)
            current->interfaceRoot->disable();
        ++current->busyCount;
        holdBonusPanel();
        winRunning = true;
        if (levelEnd)
            levelEnd->start(limit);
        if (boosters)
            boosters->enabled = false;
    }
    if (field->fallDelays.empty() && winRunning && (!levelEnd || (levelEnd->started && levelEnd->done)) &&
        progress->shownScore == progress->score)
        finishWin();
}

bool MainMode::isLost(GameField& field) const
{
    const bool goalsReached = goals->hasNoGoals() ? progress->score >= currentLevel->starScores[0] : goals->isComplete();
    if (field.taskManager->count > 0 || !field.fallDelays.empty() || (bonusChips && bonusChips->isFusing()) ||
        field.isUnsettled() || goalsReached || field.hasBombStage2Chip())
        return false;
    // A line found here starts its destruction and the cascade goes on.
    return !field.runMatchPass(true);
}

void MainMode::holdBonusPanel()
{
    if (bonusPanel)
        bonusPanel->hold();
}

void MainMode::onPlayerMove(FieldCell*, FieldCell* b)
{
    if (TimerHelper* clock = timer()) {
        clock->running = true;
        clock->tellListeners([](LimitHelperListener& listener) { listener.onTimerStarted(); });
    } else {
        if (chainBombs)
            chainBombs->stepPending = true;
        if (generators)
            generators->stepPending = true;
    }
    if (limit)
        limit->consume();
    if (ice && !ice->timed)
        ice->spreadPending = true;
    if (chipUp) {
        GameField* field = board();
        chipUp->raisePending = field && field->taskManager->count > 0;
        if (!chipUp->raisePending)
            chipUp->raiseChips();
    }
    shuffling = false;
    if (scoreText && b)
        scoreText->setPosition(b->column, b->row);
}

void MainMode::addPoints(int points)
{
    progress->setScore(progress->score + points);
    GoalsHelper::Counter& score = goals->counters[2];
    score.count += points;
    if (score.timer == 0.0f)
        score.timer = goals->countDuration;
    scoreText->addScore(points);
}

void MainMode::addScore(const DestroyResult& result, Chip* chip)
{
    if (result.type == 0 || !progress)
        return;
    levelStarted = true;
    addPoints(result.score);
    if (chip)
        scoreText->setPosition(static_cast<int>(chip->x), static_cast<int>(chip->y));
}

void MainMode::onTileHit(FieldCell* cell)
{
    if (!progress || !cell)
        return;
    // The cell's solidity is already the one left after the hit.
    const int kind = cell->solidity;
    addPoints(kind == 1 || kind == 2 ? 500 : 0);
    if (kind == 1) {
        if (goals->counters[0].kind == GOAL_TILES)
            goals->addGoalProgress(0);
        else if (goals->counters[1].kind == GOAL_TILES)
            goals->addGoalProgress(1);
    }
    checkGoals();
}

void MainMode::onChipDestroyed(const ChipSnapshot& snapshot)
{
    if (goals) {
        goals->onChipDestroyed(snapshot);
        checkGoals();
    }
    tellTutorial(new DestroyChipGameEvent(snapshot));
    if (chipUp)
        chipUp->forget(snapshot.chip);
    if (chainBombs)
        chainBombs->onChipDestroyed(snapshot.chip);
}

void MainMode::checkGoals()
{
    // Once: the win that follows holds the board from here on.
    if (goalsMet || !goals->isComplete() || goals->hasNoGoals())
        return;
    goalsMet = true;
    if (GameLevel* current = level())
        ++current->busyCount;
}

void MainMode::onNoPossibleMoves()
{
    GameLevel* current = level();
    if (!current || current->introRunning || shuffling || (limit && limit->isLimitReached()))
        return;
    shuffling = true;
    current->playEffect(EFFECT_NO_POSSIBLE_MOVES);
    if (TimerHelper* clock = timer())
        clock->running = false;
}

void MainMode::onEffectPlayed(GameLevelEffect effect)
{
    if (effect == EFFECT_FAIL) {
        if (failWindow)
            failWindow->open(currentLevel, progress ? progress->score : 0);
        if (GameLevel* current = level())
            ++current->busyCount;
        return;
    }
    if (effect != EFFECT_NO_POSSIBLE_MOVES)
        return;
    GameField* field = board();
    if (!field)
        return;
    field->mixChips();
    shuffling = false;
    if (TimerHelper* clock = timer())
        field->taskManager->addTask(new RunTimerTask(clock));
}

bool MainMode::onNeighbourDestroyed(Chip* destroyed, Chip* neighbour)
{
    return (ice && ice->onNeighbourDestroyed(neighbour, destroyed)) ||
           (generators && generators->onNeighbourDestroyed(neighbour));
}

GameHelper* MainMode::getHelper(int kind)
{
    switch (kind) {
    case 1:
        return dynamic_cast<MoveLimitHelper*>(limit);
    case 2:
        return timer();
    case 5:
        return ice;
    case 7:
        return goals;
    case 4:
        return bonusPanel;
    case 6:
        return boosters;
    default:
        return nullptr;
    }
}

bool MainMode::onMatch(const ChipSelection& selection)
{
    return bonusChips && bonusChips->onMatch(selection);
}

bool MainMode::onBonusSwap(Chip* a, Chip* b)
{
    return bonusChips && bonusChips->onBonusSwap(a, b);
}

