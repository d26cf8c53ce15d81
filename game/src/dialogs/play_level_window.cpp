#include "dialogs/play_level_window.h"

#include <lua.hpp>

#include <algorithm>
#include <string>

#include "animationeditor/marker.h"
#include "animationeditor/scene_node.h"
#include "animationeditor/sprite_scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "dialogs/info_passive_bonus_window.h"
#include "fatal_error.h"
#include "game_event.h"
#include "game_helpers/goals_helper.h"
#include "game_helpers/passive_bonus.h"
#include "game_properties.h"
#include "log_system.h"
#include "localized_format.h"
#include "lua_context.h"
#include "main_mode.h"
#include "player_profile.h"
#include "progress_saver.h"
#include "scene_markers.h"
#include "tutorial/tutorial_registry.h"
#include "ui/ui_widget.h"
#include "utils.h"


namespace {

PlayerProfile* profile()
{
    return GameProperties::exists() ? GameProperties::instance()->profile() : nullptr;
}

// Calls `each` with every value of the table on the top of the stack.
template <typename F>
void forEachValue(lua_State* state, F each)
{
    const int table = lua_gettop(state);
    lua_pushnil(state);
    while (lua_next(state, table) != 0) {
        each();
        lua_pop(state, 1);
    }
}

int numberField(lua_State* state, int table, const char* name, int fallback)
{
    lua_getfield(state, table, name);
    const int value = lua_type(state, -1) == LUA_TNUMBER ? static_cast<int>(lua_tonumber(state, -1)) : fallback;
    lua_pop(state, 1);
    return value;
}

void setNodeText(AE::ISceneNode* node, const std::string& text)
{
    if (auto* label = dynamic_cast<AE::TextSceneNode*>(node))
        label->setText(text);
}

}  // namespace

bool readLevelPreview(lua_State* state, LevelPreview& preview)
{
    VQ::LuaStackGuard guard(state);
    lua_getglobal(state, "GameField");
    if (!lua_istable(state, -1))
        return false;
    const int field = lua_gettop(state);
    LevelPreview read;
    read.targetChips = numberField(state, field, "TargetChips", 0);
    read.timeLimit = numberField(state, field, "LevelLimitType", 0) != 0;
    lua_getfield(state, field, "LevelGoals");
    if (lua_istable(state, -1)) {
        // The window has room for two goal kinds; any further ones are dropped.
        size_t n = 0;
        forEachValue(state, [&] {
            if (n < 2 && lua_type(state, -1) == LUA_TNUMBER)
                read.goalKinds[n++] = static_cast<int>(lua_tonumber(state, -1));
        });
    }
    lua_pop(state, 1);
    read.counts[GOAL_FALLING] = read.targetChips;
    lua_getfield(state, field, "Chips");
    if (lua_istable(state, -1)) {
        forEachValue(state, [&] {
            if (!lua_istable(state, -1))
                return;
            lua_getfield(state, -1, "Type");
            const std::string type = lua_type(state, -1) == LUA_TSTRING ? lua_tostring(state, -1) : "";
            lua_pop(state, 1);
            if (type.find("StrongWall") != std::string::npos)
                ++read.counts[GOAL_STRONG_WALLS];
            else if (type.find("Wall") != std::string::npos)
                ++read.counts[GOAL_WALLS];
            else if (type.find("Falling") != std::string::npos)
                ++read.counts[GOAL_FALLING];
            else if (type == "ChipUp")
                ++read.counts[GOAL_CHIP_UP];
        });
    }
    lua_pop(state, 1);
    lua_getfield(state, field, "Grid");
    if (lua_istable(state, -1)) {
        lua_getfield(state, -1, "Cells");
        if (lua_istable(state, -1)) {
            forEachValue(state, [&] {
                if (lua_istable(state, -1) && numberField(state, lua_gettop(state), "Solidity", 1) > 1)
                    ++read.counts[GOAL_TILES];
            });
        }
        lua_pop(state, 1);
    }
    lua_pop(state, 1);
    preview = read;
    return true;
}

std::vector<int> goalPanelKinds(const LevelPreview& preview)
{
    std::vector<int> kinds;
    for (int kind : {GOAL_WALLS, GOAL_TILES, GOAL_FALLING, GOAL_STRONG_WALLS, GOAL_CHIP_UP})
        if (kinds.size() < 2 && (preview.goalKinds[0] == kind || preview.goalKinds[1] == kind))
            kinds.push_back(kind);
    return kinds;
}

int boosterPrice(int kind)
{
    switch (kind) {
    case BOOSTER_COLOR:
        return 110;
    case BOOSTER_MOVES:
        return 50;
    case BOOSTER_BOMB:
        return 75;
    default:
        return 0;
    }
}

PlayLevelWindow::PlayLevelWindow() : DialogWindow("play_level_window_ui", "PlayLevelWindow", "gui")
{
    bindButton("btnPlay", this, &PlayLevelWindow::play);
    bindButton("btnClose", this, &PlayLevelWindow::close);
    friendPanels.attach(this);
    bindButton("btnBonusBuy1", this, &PlayLevelWindow::clickSlot0);
    bindButton("btnBonusBuy2", this, &PlayLevelWindow::clickSlot1);
    bindButton("btnBonusBuy3", this, &PlayLevelWindow::clickSlot2);
    info = new InfoPassiveBonusWindow();
    info->addListener(this);
}

PlayLevelWindow::~PlayLevelWindow()
{
    info->removeListener(this);
    info->removalMark = true;
}

void PlayLevelWindow::open(LevelInfo* record, bool currencyPanel)
{
    if (!record)
        return;
    level = record;
    result = CLOSED;
    const std::string name = record->file + (mode ? mode->suffix : std::string()) + "_lua";
    VQ::LuaContext script;
    if (!script.runFile(name))
        VQ::assertFailed("VQ", VQ::formatString("Not found %s level file!", name.c_str()),
                         "..\\src\\dialogs\\play_level_window", 116);
    if (!readLevelPreview(script.state(), preview))
        return;
    if (AE::ISceneNode* icon = sceneNode("#time_limit_icon"))
        icon->setEnabled(preview.timeLimit);
    fillSlots();
    fillGoals();
    starCount = record->stars();
    if (scene)
        if (AE::Marker* stars = scene->requireMarker("stars0"))
            stars->start(true);
    setNodeText(sceneNode("#levelNum"), formatLocalized("LEVEL_NUM", record->title));
    friendPanels.rewind();
    setSocialButtons(socialSessionOpen());
    showCurrencyPanel = currencyPanel;
    if (showCurrencyPanel)
        startMarkerIfPresent(scene, "show_valuta_panel");
    fillFriendRows();
    show(true);
}

void PlayLevelWindow::fillGoals()
{
    AE::ISceneNode* panels[2] = {sceneNode("#target1"), sceneNode("#target2")};
    const std::vector<int> kinds = goalPanelKinds(preview);
    for (size_t i = 0; i < kinds.size(); ++i) {
        if (!panels[i])
            continue;
        if (auto* icon = dynamic_cast<AE::SpriteSceneNode*>(panels[i]->findNode("#icon")))
            icon->loadSprite("targets_sprites", goalTypeSpriteName(kinds[i]));
        setNodeText(panels[i]->findNode("#text"),
                    formatLocalized(goalTypeTextKey(kinds[i]), preview.counts[kinds[i]]));
        panels[i]->setEnabled(true);
    }
    AE::ISceneNode* scoreTarget = sceneNode("#score_target_text");
    if (kinds.empty()) {
        if (scoreTarget) {
            scoreTarget->setEnabled(true);
            setNodeText(scoreTarget, formatLocalized("SCORE_TARGET", level->starScores[0]));
        }
        for (AE::ISceneNode* panel : panels)
            if (panel)
                panel->setEnabled(false);
        return;
    }
    if (scoreTarget)
        scoreTarget->setEnabled(false);
    if (kinds.size() == 1) {
        startMarkerIfPresent(scene, "goals1");
        if (panels[1])
            panels[1]->setEnabled(false);
    } else {
        startMarkerIfPresent(scene, "goals2");
    }
}

void PlayLevelWindow::fillSlots()
{
    PlayerProfile* player = profile();
    slotKinds = {-1, -1, -1};
    int n = 0;
    if (player)
        while (n < 3 && n < static_cast<int>(player->unlockedPassiveBonuses.size()) &&
               player->unlockedPassiveBonuses[n] != -1) {
            slotKinds[n] = player->unlockedPassiveBonuses[n];
            ++n;
        }
    startMarkerIfPresent(scene, VQ::formatString("bonuses%d", n));
    for (int i = 0; i < 3; ++i) {
        AE::ISceneNode* slot = sceneNode(VQ::formatString("#bonus%d", i));
        if (!slot)
            continue;
        slot->setEnabled(i < n);
        if (i >= n)
            continue;
        const int kind = slotKinds[i];
        if (auto* face = dynamic_cast<AE::SpriteSceneNode*>(slot->findNode("regular")))
            face->loadSprite("ui_sprites", boosterLook(kind, preview.timeLimit).slotSprite);
        const bool armed = kind >= 0 && kind < BOOSTER_KIND_COUNT && player->passiveBonusArmed[kind] != 0;
        // A slot without the marker skips the jump rather than failing.
        skipMarkerToEnd(slot, armed ? "buy" : "sell");
    }
}

void PlayLevelWindow::clickSlot(int index)
{
    if (state != SHOWN || index < 0 || index > 2)
        return;
    const int kind = slotKinds[index];
    PlayerProfile* player = profile();
    if (!player || kind < 0 || kind >= BOOSTER_KIND_COUNT)
        return;
    if (player->passiveBonusArmed[kind] != 0) {
        player->passiveBonusPurchases[kind].count -= 1;
        player->passiveBonusArmed[kind] = 0;
        player->silver = std::max(player->silver + boosterPrice(kind), 0);
        if (ProgressSaver::exists())
            ProgressSaver::instance()->saveNow();
        startMarkerIfPresent(sceneNode(VQ::formatString("#bonus%d", index)), "sell");
        return;
    }
    if (!info)
        return;
    static const char* const placements[] = {"left", "center", "right"};
    info->timeLimit = preview.timeLimit;
    info->open(kind, placements[index]);
    infoSlot = index;
    anchorInfo();
}

void PlayLevelWindow::anchorInfo()
{
    AE::ISceneNode* slot = sceneNode(VQ::formatString("#bonus%d", infoSlot));
    AE::ISceneNode* face = slot ? slot->findNode("regular") : nullptr;
    if (!face || !info)
        return;
    const float halfWidth = face->getSize().x * face->scaleX / 2.0f;
    info->anchorAt(VQ::Vector2f(face->worldPosition.x + halfWidth, face->worldPosition.y));
}

void PlayLevelWindow::refreshScene()
{
    DialogWindow::refreshScene();
    if (info && info->state != HIDDEN)
        anchorInfo();
}

void PlayLevelWindow::onHidden(DialogWindow* window)
{
    if (window != info || info->result != InfoPassiveBonusWindow::BOUGHT)
        return;
    for (int i = 0; i < 3; ++i)
        if (slotKinds[i] == info->kind)
            startMarkerIfPresent(sceneNode(VQ::formatString("#bonus%d", i)), "buy");
}

void PlayLevelWindow::hide()
{
    if (state == SHOWN && showCurrencyPanel)
        startMarkerIfPresent(scene, "hide_valuta_panel");
    DialogWindow::hide();
}

void PlayLevelWindow::update(float dt)
{
    (void)dt;
    // The slots' row is laid out by the number of slots: the buttons stay
    // on the faces.
    for (int i = 0; i < 3; ++i) {
        AE::ISceneNode* slot = sceneNode(VQ::formatString("#bonus%d", i));
        placeWidgetOver(root, VQ::formatString("btnBonusBuy%d", i + 1), slot ? slot->findNode("socket") : nullptr);
    }
    if (showCurrencyPanel)
        if (PlayerProfile* player = profile())
            setNodeText(sceneNode("#silver"), VQ::formatString("%d", player->silver));
}

void PlayLevelWindow::onMarkerFinished(AE::Marker* marker)
{
    if (marker && marker->name == "show") {
        if (TutorialRegistry::exists())
            TutorialRegistry::instance()->dispatchEvent(new PlayLevelWindowGameEvent(this));
        if (state != SHOWN) {
            state = SHOWN;
            setButtonsEnabled(true, root);
        }
        if (scene)
            if (AE::Marker* stars = scene->requireMarker(VQ::formatString("stars%d", starCount)))
                stars->start(true);
    }
    DialogWindow::onMarkerFinished(marker);
}

void PlayLevelWindow::play()
{
    if (state != SHOWN)
        return;
    result = PLAY;
    hide();
}

void PlayLevelWindow::close()
{
    hide();
}
