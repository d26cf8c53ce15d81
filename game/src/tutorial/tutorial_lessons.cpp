#include "tutorial/tutorial_lessons.h"

#include <algorithm>
#include <lua.hpp>

#include "animationeditor/scene_node.h"
#include "dialogs/play_level_window.h"
#include "game_event.h"
#include "game_field.h"
#include "game_field_renderer.h"
#include "game_helpers/bonus_gold_helper.h"
#include "game_level.h"
#include "game_properties.h"
#include "game_state_manager.h"
#include "log_system.h"
#include "lua_script_2.h"
#include "main_mode.h"
#include "player_profile.h"
#include "sprite.h"
#include "tutorial/tutorial_sequence.h"
#include "tutorial/tutorial_window.h"
#include "ui/ui_widget.h"
#include "utils.h"

namespace {

TutorialGame gGame;
TutorialGame* gInstalled = nullptr;

GameLevel* level()
{
    const GameStateManager* states = GameStateManager::instancePtr();
    return states ? states->getGameLevel() : nullptr;
}

MainMode* mainMode()
{
    GameLevel* current = level();
    return current ? dynamic_cast<MainMode*>(current->mode) : nullptr;
}

BonusGoldHelper* bonusPanel()
{
    MainMode* mode = mainMode();
    return mode ? dynamic_cast<BonusGoldHelper*>(mode->getHelper(4)) : nullptr;
}

// --- Reading the "data" tables ---

std::string stringOr(VQ::LuaScript2& script, const std::string& key, const std::string& fallback = "")
{
    std::string value;
    return script.getString(key, value) ? value : fallback;
}

// Elements 1 and 2 of the table `key`, numbers or numeric strings; false
// (and (0, 0)) when it is missing.
bool readPair(VQ::LuaScript2& script, const std::string& key, VQ::Vector2f& out)
{
    out = VQ::Vector2f(0.0f, 0.0f);
    if (!script.openTable(key))
        return false;
    float x = 0.0f, y = 0.0f;
    script.floatAt(1, x);
    script.floatAt(2, y);
    script.closeTable();
    out = VQ::Vector2f(x, y);
    return true;
}

// A Lua boolean, or a number other than 0.
bool readFlag(VQ::LuaScript2& script, const std::string& key)
{
    lua_State* state = script.state();
    script.pushField(key);
    const bool on = lua_isnumber(state, -1) ? lua_tonumber(state, -1) != 0.0 : lua_toboolean(state, -1) != 0;
    lua_pop(state, 1);
    return on;
}

// A pair for both orientations under `both`, or else one under each of
// `landscape` and `portrait`.
void readOrientedPair(VQ::LuaScript2& script, const std::string& both, const std::string& landscape,
                      const std::string& portrait, VQ::Vector2f out[2])
{
    if (readPair(script, both, out[0])) {
        out[1] = out[0];
        return;
    }
    readPair(script, landscape, out[0]);
    readPair(script, portrait, out[1]);
}

int kindOf(const std::string& name, std::initializer_list<const char*> names, const char* key)
{
    int kind = 0;
    for (const char* known : names) {
        if (name == known)
            return kind;
        ++kind;
    }
    VQ::log(VQ::formatString("ERROR: the tutorial knows no %s \"%s\"", key, name.c_str()));
    return -1;
}

bool contains(const std::vector<int32_t>& list, int32_t value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool levelMatches(const std::string& level, const GameEvent* event)
{
    return level.empty() || level == static_cast<const BeginLevelGameEvent*>(event)->levelScript;
}

MaskBlackout* makeMask(const LessonMask& mask)
{
    auto* blackout = new MaskBlackout(mask.file, mask.table);
    blackout->maskPadding = mask.padding;
    blackout->setOffsets(mask.offsets[0], mask.offsets[1]);
    return blackout;
}

}  // namespace

// --- The game's side ---

TutorialGame& TutorialGame::current()
{
    return gInstalled ? *gInstalled : gGame;
}

void TutorialGame::install(TutorialGame* game)
{
    gInstalled = game;
}

bool TutorialGame::levelLoaded() const
{
    const GameLevel* current = level();
    return current && current->isLoaded();
}

int TutorialGame::levelBusyCount() const
{
    const GameLevel* current = level();
    return current ? current->busyCount : 0;
}

bool TutorialGame::levelCompleted() const
{
    const MainMode* mode = mainMode();
    return mode && mode->currentLevel && mode->currentLevel->completed;
}

std::string TutorialGame::levelScript() const
{
    const MainMode* mode = mainMode();
    return mode ? mode->levelScript : std::string();
}

void TutorialGame::setLevelUiEnabled(bool on)
{
    GameLevel* current = level();
    VQ::UIWidget* ui = current ? current->interfaceRoot : nullptr;
    if (!ui || ui->enabled == on)
        return;
    if (on)
        ui->enable();
    else
        ui->disable();
}

VQ::Vector2f TutorialGame::boardOrigin() const
{
    const GameLevel* current = level();
    return current && current->renderer ? current->renderer->boardOrigin() : VQ::Vector2f(0.0f, 0.0f);
}

float TutorialGame::cellSize() const
{
    const GameLevel* current = level();
    return current && current->field ? static_cast<float>(current->field->cellSize) : 0.0f;
}

VQ::Vector2f TutorialGame::anchor(const std::string& name) const
{
    const GameLevel* current = level();
    if (!current)
        return VQ::Vector2f(0.0f, 0.0f);
    const GameLevel::Anchor at = current->anchor(name);
    return VQ::Vector2f(at.x, at.y);
}

VQ::Vector2f TutorialGame::bonusButtonCenter(int kind) const
{
    const BonusGoldHelper* panel = bonusPanel();
    return panel ? panel->getButtonCenter(kind) : VQ::Vector2f(0.0f, 0.0f);
}

void TutorialGame::showFreeBonusWindow(int kind)
{
    if (BonusGoldHelper* panel = bonusPanel())
        panel->showFreeBonusWindow(kind);
}

void TutorialGame::activateBonus(int kind)
{
    if (BonusGoldHelper* panel = bonusPanel())
        panel->activateBonus(kind);
}

bool TutorialGame::boosterSlot(PlayLevelWindow* window, int kind, VQ::Vector2f& position, VQ::Vector2f& size) const
{
    if (!window)
        return false;
    for (int i = 0; i < 3; ++i) {
        if (window->slotKinds[static_cast<size_t>(i)] != kind)
            continue;
        AE::ISceneNode* slotNode = window->sceneNode(VQ::formatString("#bonus%d", i));
        AE::ISceneNode* target = slotNode ? slotNode->findNode("regular") : nullptr;
        if (!target)
            target = slotNode;
        if (!target)
            return false;
        position = target->worldPosition;
        size = target->getSize();
        return true;
    }
    return false;
}

PlayerProfile* TutorialGame::profile() const
{
    return GameProperties::exists() ? GameProperties::instance()->profile() : nullptr;
}

void TutorialGame::setSilver(int value)
{
    if (PlayerProfile* player = profile())
        player->setSilver(value);
}

void TutorialGame::saveProfile()
{
    if (GameProperties::exists())
        GameProperties::instance()->save();
}

bool TutorialGame::isPortrait() const
{
    const GameStateManager* states = GameStateManager::instancePtr();
    return states && states->isPortrait();
}

VQ::Vector2f TutorialGame::cellPoint(int column, int row) const
{
    const VQ::Vector2f origin = boardOrigin();
    const float size = cellSize();
    return VQ::Vector2f(origin.x + size * (static_cast<float>(column) + 0.5f),
                        origin.y + size * (static_cast<float>(row) + 0.5f));
}

// --- Construction by class name ---

std::unique_ptr<TutorialLesson> createTutorialLesson(const std::string& className, VQ::LuaScript2& script,
                                                     TutorialLessonListener* owner)
{
    if (className == "DestroyChipLesson")
        return std::make_unique<DestroyChipTutorialLesson>(script, owner);
    if (className == "MultiLesson")
        return std::make_unique<MultiTutorialLesson>(script, owner);
    if (className == "InfoLesson")
        return std::make_unique<InfoTutorialLesson>(script, owner);
    if (className == "BonusLesson")
        return std::make_unique<BonusTutorialLesson>(script, owner);
    if (className == "PassiveBonusLesson")
        return std::make_unique<PassiveBonusTutorialLesson>(script, owner);
    return nullptr;
}

// --- Window lessons ---

WindowTutorialLesson::WindowTutorialLesson(TutorialLessonListener* owner) : TutorialLesson(owner) {}

WindowTutorialLesson::~WindowTutorialLesson()
{
    deleteWindow();
}

void WindowTutorialLesson::deleteWindow()
{
    delete window;
    window = nullptr;
}

// --- DestroyChipLesson ---

DestroyChipTutorialLesson::DestroyChipTutorialLesson(VQ::LuaScript2& script, TutorialLessonListener* owner) :
    WindowTutorialLesson(owner)
{
    text = stringOr(script, "text");
    level = stringOr(script, "level");
    hor = stringOr(script, "hor", "90");
    ver = stringOr(script, "ver", "90");
    mask.file = stringOr(script, "maskFile");
    mask.table = stringOr(script, "maskTable");
    readPair(script, "padding", mask.padding);
    readPair(script, "offset", mask.offsets[0]);
    mask.offsets[1] = mask.offsets[0];
    if (script.openTable("chips")) {
        for (int i = 1;; ++i) {
            lua_State* state = script.state();
            lua_rawgeti(state, -1, i);
            if (!lua_istable(state, -1)) {
                lua_pop(state, 1);
                break;
            }
            int x = 0, y = 0;
            script.enterTable();
            script.getInt("x", x, 0);
            script.getInt("y", y, 0);
            script.closeTable();
            lua_pop(state, 1);
            chips.push_back({x, y});
        }
        script.closeTable();
    }
}

void DestroyChipTutorialLesson::onEvent(GameEvent* event)
{
    switch (event->type) {
    case GameEvent::BEGIN_LEVEL:
        if (state != IDLE || static_cast<BeginLevelGameEvent*>(event)->levelScript != level)
            return;
        shown = false;
        setState(ACTIVE);
        // Nothing to point at: a lesson that would refuse every cell for
        // ever ends at once instead.
        if (chips.empty()) {
            setState(DONE);
            return;
        }
        update(0.0f);
        return;
    case GameEvent::DESTROY_CHIP: {
        if (state != ACTIVE)
            return;
        const ChipSnapshot& gone = static_cast<DestroyChipGameEvent*>(event)->snapshot;
        for (const Cell& chip : chips) {
            if (chip.column != gone.column || chip.row != gone.row)
                continue;
            if (window)
                window->close();
            TutorialGame::current().setLevelUiEnabled(true);
        }
        return;
    }
    case GameEvent::ORIENTATION_CHANGED:
        if (window && !chips.empty()) {
            window->placeArrow(TutorialGame::current().cellPoint(chips.front().column, chips.front().row));
            placeMask();
        }
        return;
    default:
        return;
    }
}

void DestroyChipTutorialLesson::placeMask()
{
    if (!window || !window->blackoutRenderer->blackout || chips.empty())
        return;
    int column = chips.front().column, row = chips.front().row;
    for (const Cell& chip : chips) {
        column = std::min(column, chip.column);
        row = std::min(row, chip.row);
    }
    const TutorialGame& game = TutorialGame::current();
    const VQ::Vector2f origin = game.boardOrigin();
    const float size = game.cellSize();
    window->blackoutRenderer->blackout->setOrigin(
        VQ::Vector2f(origin.x + size * static_cast<float>(column), origin.y + size * static_cast<float>(row)));
}

void DestroyChipTutorialLesson::update(float dt)
{
    (void)dt;
    TutorialGame& game = TutorialGame::current();
    if (state != ACTIVE || shown || game.levelBusyCount() > 0)
        return;
    if (game.levelCompleted()) {
        setState(DONE);
        return;
    }
    shown = true;
    game.setLevelUiEnabled(false);
    window = new TutorialWindow(true, false, this);
    window->setArrowMarkers(hor, ver);
    window->setText(text);
    if (mask.file.empty())
        return;
    window->setBlackout(makeMask(mask));
    window->open(game.cellPoint(chips.front().column, chips.front().row));
    placeMask();
}

bool DestroyChipTutorialLesson::isCellAllowed(const int cell[2]) const
{
    if (state != ACTIVE)
        return true;
    for (const Cell& chip : chips)
        if (chip.column == cell[0] && chip.row == cell[1])
            return true;
    return false;
}

void DestroyChipTutorialLesson::onWindowClosed()
{
    deleteWindow();
    setState(DONE);
}

// --- InfoLesson ---

InfoTutorialLesson::InfoTutorialLesson(VQ::LuaScript2& script, TutorialLessonListener* owner) :
    WindowTutorialLesson(owner)
{
    level = stringOr(script, "level");
    isCell = readFlag(script, "isCell");
    if (!isCell)
        slot = stringOr(script, "slot");
    if (slot.empty())
        readOrientedPair(script, "target", "targetH", "targetV", targets);
    text = stringOr(script, "text");
    hor = stringOr(script, "hor", "90");
    ver = stringOr(script, "ver", "90");
    if (targets[0].x != 0.0f || targets[0].y != 0.0f || !slot.empty()) {
        mask.file = stringOr(script, "maskFile");
        mask.table = stringOr(script, "maskTable");
        readPair(script, "padding", mask.padding);
        readOrientedPair(script, "maskOffset", "horMaskOffset", "verMaskOffset", mask.offsets);
    }
}

VQ::Vector2f InfoTutorialLesson::targetPoint() const
{
    const TutorialGame& game = TutorialGame::current();
    if (!slot.empty())
        return game.anchor(slot);
    const VQ::Vector2f& target = targets[game.isPortrait() ? 1 : 0];
    if (isCell)
        return game.cellPoint(static_cast<int>(target.x), static_cast<int>(target.y));
    return target;
}

void InfoTutorialLesson::show()
{
    if (window)
        return;
    const VQ::Vector2f point = targetPoint();
    // A target without a mask image darkens evenly rather than failing.
    Blackout* blackout = nullptr;
    if ((targets[0].x != 0.0f || targets[0].y != 0.0f || !slot.empty()) && !mask.file.empty())
        blackout = makeMask(mask);
    else
        blackout = new SolidBlackout();
    window = new TutorialWindow(point.x != 0.0f || point.y != 0.0f, true, this);
    window->setArrowMarkers(hor, ver);
    window->setText(text);
    window->setBlackout(blackout);
    window->open(point);
    setState(ACTIVE);
}

void InfoTutorialLesson::onEvent(GameEvent* event)
{
    TutorialGame& game = TutorialGame::current();
    if (event->type == GameEvent::BEGIN_LEVEL) {
        if (state != IDLE || !levelMatches(level, event))
            return;
        if (game.levelCompleted()) {
            setState(DONE);
            game.setLevelUiEnabled(true);
            return;
        }
        show();
        game.setLevelUiEnabled(false);
    } else if (event->type == GameEvent::ORIENTATION_CHANGED && window) {
        window->placeArrow(targetPoint());
    }
}

void InfoTutorialLesson::onBecomeCurrent()
{
    TutorialGame& game = TutorialGame::current();
    if (state != IDLE || !game.levelLoaded() || !(level.empty() || level == game.levelScript()))
        return;
    if (game.levelCompleted())
        setState(DONE);
    else
        show();
}

bool InfoTutorialLesson::isCellAllowed(const int cell[2]) const
{
    (void)cell;
    return state != ACTIVE;
}

void InfoTutorialLesson::onWindowClosed()
{
    // The next lesson may open its own window from here.
    TutorialWindow* closed = window;
    window = nullptr;
    setState(DONE);
    delete closed;
    TutorialGame::current().setLevelUiEnabled(true);
}

// --- BonusLesson ---

BonusTutorialLesson::BonusTutorialLesson(VQ::LuaScript2& script, TutorialLessonListener* owner) :
    WindowTutorialLesson(owner)
{
    bonusKind = kindOf(stringOr(script, "bonusType"), {"comet", "light", "arrow", "detonator"}, "bonusType");
    hor = stringOr(script, "hor1", "90");
    ver = stringOr(script, "ver1", "90");
    hor2 = stringOr(script, "hor2", "90");
    ver2 = stringOr(script, "ver2", "90");
    text1 = stringOr(script, "text1");
    text2 = stringOr(script, "text2");
    level = stringOr(script, "level");
    mask.file = stringOr(script, "maskFile");
    mask.table = stringOr(script, "maskTable");
    readOrientedPair(script, "maskOffset", "horMaskOffset", "verMaskOffset", mask.offsets);
}

std::string BonusTutorialLesson::coinsFlag() const
{
    return VQ::formatString("MoneyHasBeenIssued:%s", bonusKind >= 0 ? NAMES[bonusKind] : "");
}

void BonusTutorialLesson::setState(int s)
{
    if (s == IDLE)
        step = 0;
    TutorialLesson::setState(s);
}

void BonusTutorialLesson::openWindow(const std::string& landscape, const std::string& portrait,
                                     const std::string& text)
{
    deleteWindow();
    window = new TutorialWindow(true, false, this);
    window->setArrowMarkers(landscape, portrait);
    if (!mask.file.empty())
        window->setBlackout(makeMask(mask));
    window->setText(text);
    window->open(TutorialGame::current().bonusButtonCenter(bonusKind));
}

void BonusTutorialLesson::placeAgain()
{
    if (window && (step == 0 || step == 2))
        window->placeArrow(TutorialGame::current().bonusButtonCenter(bonusKind));
}

void BonusTutorialLesson::onEvent(GameEvent* event)
{
    TutorialGame& game = TutorialGame::current();
    switch (event->type) {
    case GameEvent::BEGIN_LEVEL: {
        if (state != IDLE || !levelMatches(level, event))
            return;
        if (bonusKind < 0) {
            setState(DONE);
            return;
        }
        PlayerProfile* player = game.profile();
        if (!player || !contains(player->unlockedBonuses, bonusKind))
            return;
        if (game.levelCompleted() || player->bonusCounts[static_cast<size_t>(bonusKind)] > 0 ||
            player->hasFlag(coinsFlag())) {
            setState(DONE);
            return;
        }
        openWindow(hor, ver, text1);
        setState(ACTIVE);
        placeAgain();
        return;
    }
    case GameEvent::ORIENTATION_CHANGED:
        placeAgain();
        return;
    case GameEvent::BONUS: {
        const auto* bonus = static_cast<BonusEvent*>(event);
        if (state == IDLE || bonus->bonusKind != bonusKind)
            return;
        if (bonus->action == BonusEvent::PRESSED_WITHOUT_BONUS || bonus->action == BonusEvent::PRESSED_WITH_BONUS) {
            if (window)
                window->close();
        } else if (bonus->action == BonusEvent::BOUGHT) {
            openWindow(hor2, ver2, text2);
            if (PlayerProfile* player = game.profile())
                player->bonusPurchases[static_cast<size_t>(bonusKind)].count = 1;
            step = 2;
        }
        return;
    }
    default:
        return;
    }
}

bool BonusTutorialLesson::isCellAllowed(const int cell[2]) const
{
    (void)cell;
    return !(window && window->isShown());
}

void BonusTutorialLesson::onWindowClosed()
{
    TutorialGame& game = TutorialGame::current();
    if (step == 0) {
        PlayerProfile* player = game.profile();
        if (player && !player->hasFlag(coinsFlag())) {
            game.setSilver(player->silver + COINS[bonusKind]);
            player->flags[coinsFlag()] = "true";
            game.saveProfile();
        }
        TutorialWindow* closed = window;
        window = nullptr;
        delete closed;
        step = 1;
        game.showFreeBonusWindow(bonusKind);
    } else if (step == 2) {
        TutorialWindow* closed = window;
        window = nullptr;
        delete closed;
        step = 3;
        game.activateBonus(bonusKind);
        setState(DONE);
        game.saveProfile();
    }
}

// --- PassiveBonusLesson ---

PassiveBonusTutorialLesson::PassiveBonusTutorialLesson(VQ::LuaScript2& script, TutorialLessonListener* owner) :
    WindowTutorialLesson(owner)
{
    booster = kindOf(stringOr(script, "bonus"), {"color", "moves", "boom"}, "bonus");
    hor = stringOr(script, "hor", "90");
    ver = stringOr(script, "ver", "90");
    text = stringOr(script, "text");
    mask.file = stringOr(script, "maskFile");
    mask.table = stringOr(script, "maskTable");
}

void PassiveBonusTutorialLesson::onEvent(GameEvent* event)
{
    TutorialGame& game = TutorialGame::current();
    if (event->type == GameEvent::ORIENTATION_CHANGED) {
        if (window && state == ACTIVE)
            window->placeArrow(point);
        return;
    }
    if (event->type != GameEvent::PLAY_LEVEL_WINDOW || state != IDLE)
        return;
    if (booster < 0) {
        setState(DONE);
        return;
    }
    PlayerProfile* player = game.profile();
    if (!player || !contains(player->unlockedPassiveBonuses, booster))
        return;
    if (player->newPassiveBonus == 0) {
        setState(DONE);
        return;
    }
    VQ::Vector2f target, size;
    if (!game.boosterSlot(static_cast<PlayLevelWindowGameEvent*>(event)->window, booster, target, size)) {
        VQ::log(VQ::formatString("WARNING: no booster slot shows the booster %d", booster));
        return;
    }
    setState(ACTIVE);
    window = new TutorialWindow(true, true, this);
    window->setArrowMarkers(hor, ver);
    window->setText(text);
    if (!mask.file.empty()) {
        MaskBlackout* blackout = makeMask(mask);
        const VQ::Vector2f maskSize = blackout->sprite ? blackout->sprite->size() : VQ::Vector2f(0.0f, 0.0f);
        const VQ::Vector2f centred(-maskSize.x / 2.0f, -maskSize.y / 2.0f);
        blackout->setOffsets(centred, centred);
        window->setBlackout(blackout);
    }
    window->setAura(false);
    point = VQ::Vector2f(target.x - 5.0f + size.x / 2.0f, target.y + size.y / 2.0f);
    window->open(point);
}

void PassiveBonusTutorialLesson::onWindowClosed()
{
    if (PlayerProfile* player = TutorialGame::current().profile())
        player->newPassiveBonus = 0;
    TutorialWindow* closed = window;
    window = nullptr;
    setState(DONE);
    delete closed;
}

// --- MultiLesson ---

namespace {

bool multiLessonKind(const std::string& className)
{
    return className == "DestroyChipLesson" || className == "InfoLesson" || className == "BonusLesson";
}

}  // namespace

MultiTutorialLesson::MultiTutorialLesson(VQ::LuaScript2& script, TutorialLessonListener* owner) :
    TutorialLesson(owner)
{
    lessons = readLessonEntries(script, this, multiLessonKind);
    // Without sub-lessons the lesson is done; its owner learns it when the
    // lesson is first asked to act, since the owner is still being built.
    if (lessons.empty()) {
        state = DONE;
        index = -1;
    }
}

void MultiTutorialLesson::onEvent(GameEvent* event)
{
    if (lessons.empty()) {
        setState(DONE);
        return;
    }
    if (index < 0 || index >= static_cast<int32_t>(lessons.size()))
        return;
    lessons[static_cast<size_t>(index)]->onEvent(event);
    if (index >= 0 && index < static_cast<int32_t>(lessons.size()) &&
        lessons[static_cast<size_t>(index)]->state == ACTIVE)
        setState(ACTIVE);
}

void MultiTutorialLesson::onBecomeCurrent()
{
    if (lessons.empty())
        setState(DONE);
}

void MultiTutorialLesson::onLessonFinished()
{
    ++index;
    setState(IDLE);
    if (index < static_cast<int32_t>(lessons.size())) {
        TutorialLesson* next = lessons[static_cast<size_t>(index)].get();
        next->onBecomeCurrent();
        // A sub-lesson that shows on becoming current holds the game as any
        // active lesson does.
        if (next->state == ACTIVE)
            setState(ACTIVE);
        return;
    }
    index = -1;
    setState(DONE);
}

void MultiTutorialLesson::update(float dt)
{
    if (index >= 0 && index < static_cast<int32_t>(lessons.size()))
        lessons[static_cast<size_t>(index)]->update(dt);
}

bool MultiTutorialLesson::isCellAllowed(const int cell[2]) const
{
    if (index < 0 || index >= static_cast<int32_t>(lessons.size()))
        return true;
    return lessons[static_cast<size_t>(index)]->isCellAllowed(cell);
}

void MultiTutorialLesson::reset()
{
    index = lessons.empty() ? -1 : 0;
    for (const std::unique_ptr<TutorialLesson>& lesson : lessons)
        lesson->setState(IDLE);
}
