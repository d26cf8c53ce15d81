#include "game_helpers/passive_bonus.h"

#include <algorithm>
#include <set>

#include "behavior.h"
#include "chip.h"
#include "chip_manager.h"
#include "game_field.h"
#include "game_helpers/bonus.h"
#include "game_helpers/bonus_chip_helper.h"
#include "game_helpers/limit_helper.h"
#include "game_level.h"
#include "log_system.h"
#include "move_hint.h"
#include "player_profile.h"
#include "random.h"
#include "tutorial/tutorial_registry.h"

namespace {

constexpr float BOOSTER_GAP = 10.0f;
constexpr int BOOSTER_CHIPS = 3;
constexpr float BOOSTER_FALL_PAUSE = 0.3f;

int levelBusy()
{
    const GameLevel* level = currentGameLevel();
    return level ? level->busyCount : 0;
}

void setBoardFlowing(bool on)
{
    if (GameField* field = currentGameField()) {
        field->spawnEnabled = on;
        field->gravityEnabled = on;
    }
}

bool allLayersMultiColoured(const Chip& chip)
{
    for (const Behavior* layer : chip.layers.objects)
        if (!layer->MultipleColors)
            return false;
    return true;
}

// A colour among those the level's chips are drawn from; the chip's own
// when the level offers none.
int offeredColour(const ChipManager& chips, int fallback)
{
    std::vector<int> colours;
    for (const ChipPrototype* prototype : chips.dropCandidates)
        if (prototype && prototype->colour >= 0 &&
            std::find(colours.begin(), colours.end(), prototype->colour) == colours.end())
            colours.push_back(prototype->colour);
    if (colours.empty())
        return fallback;
    return colours[static_cast<size_t>(VQ::rand()) % colours.size()];
}

}  // namespace

// --- PassiveBonus ---

PassiveBonus::~PassiveBonus()
{
    forgetSceneEffect(effect, this);
}

void PassiveBonus::start()
{
    if (!blocked && !tutorialLessonActive() && levelBusy() <= 0)
        run();
    else
        pendingStart = true;
}

void PassiveBonus::update(float)
{
    if (used || !pendingStart || blocked || tutorialLessonActive() || levelBusy() > 0)
        return;
    GameField* field = currentGameField();
    if (!field || field->isUnsettled() || field->moving)
        return;
    pendingStart = false;
    run();
}

void PassiveBonus::run()
{
    if (GameLevel* level = currentGameLevel())
        ++level->busyCount;
    if (holder)
        holder->blockOthers(this, true);
    started = true;
    setBoardFlowing(false);
    effect = playBonusScene(marker(), this);
    if (!effect)
        onSceneEffectFinished(nullptr);
}

void PassiveBonus::onSceneEffectFinished(SceneEffect*)
{
    effect = nullptr;
    act();
    if (GameLevel* level = currentGameLevel())
        level->releaseBusy();
    // The moves booster stops the board's flow as the others do; it is
    // given back by all three, or a lone moves booster would leave the
    // board frozen until the next swap.
    setBoardFlowing(true);
    if (PlayerProfile* profile = holder ? holder->profile : gameProfile())
        profile->passiveBonusArmed[static_cast<size_t>(getType())] = 0;
    used = true;
    if (holder)
        holder->blockOthers(this, false);
}

// --- the boosters ---

void placeBoosterChips(bool bombs)
{
    GameField* field = currentGameField();
    if (!field || !field->chipManager)
        return;
    std::vector<Chip*> candidates;
    for (const auto& owned : field->chipManager->chips) {
        Chip* chip = owned.get();
        if (!chip->released && chip->layers.size() == 1 && chip->layers.top()->type == BEHAVIOR_SIMPLE)
            candidates.push_back(chip);
    }
    for (int placed = 0; placed < BOOSTER_CHIPS && !candidates.empty(); ++placed) {
        const size_t index = static_cast<size_t>(VQ::rand()) % candidates.size();
        Chip* chip = candidates[index];
        candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(index));
        const int colour = allLayersMultiColoured(*chip) ? chip->colour : offeredColour(*field->chipManager, chip->colour);
        const char* letter = bonusColourLetter(colour);
        // An uncoloured chip has no letter to name a bomb by.
        if (bombs && !*letter)
            continue;
        FieldCell* cell = field->cellAt(chip->x, chip->y);
        if (!cell || cell->chip != chip)
            continue;
        if (chip->layers.top()->LevelGoal) {
            for (int guard = 0; guard < 8 && !chip->released; ++guard)
                chip->destroyInField(field, false, true);
        } else {
            field->addDestroyDrawables(chip);
            chip->layers.popTopAndDestroy(field, chip, true);
            if (field->moveHint)
                field->moveHint->reset();
            if (chip->layers.size() == 0) {
                chip->released = true;
                chip->layers.deleteAll();
                field->holdTime = BOOSTER_FALL_PAUSE;
            }
        }
        const std::string name = bombs ? VQ::formatString("Bomb_%s", letter) : std::string("DestroyColor");
        putChipInCell(*field, *cell, name);
    }
}

bool ColorPassiveBonus::act()
{
    placeBoosterChips(false);
    return true;
}

MovesPassiveBonus::MovesPassiveBonus(LimitHelper* limitHelper, GoalsHelper* goalsHelper)
    : limit(limitHelper), goals(goalsHelper), timed(limitHelper && limitHelper->getType() == 2)
{
}

bool MovesPassiveBonus::act()
{
    if (auto* moves = dynamic_cast<MoveLimitHelper*>(limit))
        moves->addMoves(5);
    else if (auto* timer = dynamic_cast<TimerHelper*>(limit))
        timer->addTime(15.0f);
    return false;
}

bool BoomPassiveBonus::act()
{
    placeBoosterChips(true);
    return true;
}

// --- PassiveBonusHelper ---

PassiveBonusHelper::PassiveBonusHelper() : profile(gameProfile()) {}

PassiveBonusHelper::~PassiveBonusHelper() = default;

void PassiveBonusHelper::add(PassiveBonus* booster)
{
    std::unique_ptr<PassiveBonus> owned(booster);
    if (!booster || boosters.size() >= CAPACITY)
        return;
    booster->holder = this;
    boosters.push_back(std::move(owned));
}

void PassiveBonusHelper::layoutBonuses()
{
    if (boosters.empty())
        return;
    float total = BOOSTER_GAP * static_cast<float>(boosters.size() - 1);
    for (const auto& booster : boosters)
        total += booster->getSize().x;
    float x = -total / 2.0f;
    for (const auto& booster : boosters) {
        booster->position[0] = position[0] + x;
        booster->position[1] = position[1];
        x += booster->getSize().x + BOOSTER_GAP;
    }
}

void PassiveBonusHelper::startAll()
{
    if (!enabled)
        return;
    for (const auto& booster : std::vector<PassiveBonus*>([this] {
             std::vector<PassiveBonus*> list;
             for (const auto& owned : boosters)
                 list.push_back(owned.get());
             return list;
         }()))
        if (!booster->used && !booster->started && !booster->pendingStart)
            booster->start();
}

void PassiveBonusHelper::update(float dt)
{
    for (const auto& booster : boosters)
        booster->update(dt);
}

void PassiveBonusHelper::drawOverField()
{
    for (const auto& booster : boosters)
        booster->draw();
}

void PassiveBonusHelper::reset()
{
    enabled = true;
    boosters.clear();
}

void PassiveBonusHelper::blockOthers(const PassiveBonus* running, bool block)
{
    for (const auto& booster : boosters)
        if (booster.get() != running)
            booster->blocked = block;
}

void armBoosters(PassiveBonusHelper& boosters, LimitHelper* limit, GoalsHelper* goals)
{
    const PlayerProfile* profile = boosters.profile;
    if (!profile)
        return;
    if (profile->passiveBonusArmed[BOOSTER_COLOR])
        boosters.add(new ColorPassiveBonus());
    if (profile->passiveBonusArmed[BOOSTER_MOVES] && limit)
        boosters.add(new MovesPassiveBonus(limit, goals));
    if (profile->passiveBonusArmed[BOOSTER_BOMB])
        boosters.add(new BoomPassiveBonus());
    boosters.layoutBonuses();
}
