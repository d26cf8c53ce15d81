#include "game_helpers/chain_bomb_helper.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "animationeditor/scene_node.h"
#include "animationeditor/text_scene_node.h"
#include "behavior.h"
#include "board_renderer.h"
#include "chip.h"
#include "chip_manager.h"
#include "field_scene.h"
#include "game_field.h"
#include "game_level.h"
#include "task_manager.h"

ChainBombHelper::ChainBombHelper() : destroyScene(loadFieldScene("chain_bomb_destroy_scene_xml")) {}

ChainBombHelper::~ChainBombHelper()
{
    detachFlights();
}

void ChainBombHelper::detachFlights()
{
    // Flights still on the board's list would tell a forgotten listener;
    // those no longer listed were deleted with the list.
    GameField* field = currentGameField();
    if (field && field->renderer) {
        const auto& listed = field->renderer->effectList().effects;
        for (auto& [flight, target] : flights)
            if (std::find(listed.begin(), listed.end(), flight) != listed.end())
                std::erase(flight->listeners, static_cast<SceneFlyingEffectListener*>(this));
    }
    flights.clear();
}

void ChainBombHelper::showCount(Chip* bomb, int count)
{
    const std::string text = std::to_string(count);
    for (Behavior* layer : bomb->layers.objects) {
        if (layer->type != BEHAVIOR_CHAIN_BOMB)
            continue;
        for (AE::ISceneNode* root : layer->idleSceneRoots())
            if (auto* node = dynamic_cast<AE::TextSceneNode*>(root->findNode("#limit")))
                node->setText(text);
    }
}

void ChainBombHelper::collectChainBombs()
{
    reset();
    GameField* field = currentGameField();
    if (field && field->chipManager)
        for (const auto& owned : field->chipManager->chips) {
            Chip* chip = owned.get();
            if (chip->released || !chip->hasBehavior(BEHAVIOR_CHAIN_BOMB))
                continue;
            chainBombs.push_back(chip);
            const int limit = chip->getIntData("limit");
            chip->setUserData("left", DataSlot(limit));
            showCount(chip, limit);
        }
    stepPending = false;
}

void ChainBombHelper::reset()
{
    chainBombs.clear();
    detachFlights();
    effects.clear();
}

void ChainBombHelper::onChipDestroyed(Chip* chip)
{
    std::erase(chainBombs, chip);
    for (auto& [flight, target] : flights)
        if (target == chip)
            target = nullptr;
}

void ChainBombHelper::update(float)
{
    if (!takeSettledStep(stepPending))
        return;
    step();
}

void ChainBombHelper::step()
{
    GameField* field = currentGameField();
    if (!field || !field->chipManager)
        return;
    std::vector<Chip*> candidates;
    for (const auto& owned : field->chipManager->chips) {
        Chip* chip = owned.get();
        if (!chip->released && chip->layers.size() < 2 && chip->hasBehavior(BEHAVIOR_SIMPLE))
            candidates.push_back(chip);
    }
    for (Chip* bomb : chainBombs) {
        int left = bomb->getIntData("left") - 1;
        if (left == 0) {
            throwChains(bomb, bomb->getIntData("chains"), candidates);
            left = bomb->getIntData("limit");
        }
        showCount(bomb, left);
        bomb->setUserData("left", DataSlot(left));
    }
}

void ChainBombHelper::throwChains(Chip* bomb, int count, std::vector<Chip*>& candidates)
{
    GameField* field = currentGameField();
    const float size = static_cast<float>(field->cellSize);
    count = std::min(count, static_cast<int>(candidates.size()));
    for (int i = 0; i < count; ++i) {
        const size_t index = static_cast<size_t>(std::rand()) % candidates.size();
        Chip* target = candidates[index];
        candidates.erase(candidates.begin() + static_cast<long>(index));
        auto* flight = new SceneFlyingEffect("chain_twining_scene_xml", FLIGHT_LAYER, {bomb->x * size, bomb->y * size},
                                             {target->x * size, target->y * size});
        flight->startMarker("init");
        flight->prepare();
        flight->addListener(this);
        flights[flight] = target;
        if (field->renderer)
            field->renderer->effectList().add(flight);
        if (GameLevel* level = currentGameLevel())
            ++level->busyCount;
    }
    holdBoardWhileFlying();
}

void ChainBombHelper::holdBoardWhileFlying()
{
    GameField* field = currentGameField();
    if (!field)
        return;
    const bool quiet = flights.empty() && effects.empty();
    field->gravityEnabled = quiet;
    field->spawnEnabled = quiet;
}

void ChainBombHelper::onSceneEffectFinished(SceneEffect* effect)
{
    effects.erase(effect);
    holdBoardWhileFlying();
}

void ChainBombHelper::onSceneFlyingEffectFinished(SceneFlyingEffect* flight)
{
    if (GameLevel* level = currentGameLevel())
        level->releaseBusy();
    auto found = flights.find(flight);
    if (found == flights.end())
        return;
    Chip* target = found->second;
    // A target destroyed in flight (and maybe reused by the pool) gets no chain.
    if (target && !target->released)
        target->layers.add(createBehavior(BEHAVIOR_CHAIN, target->colour));
    flights.erase(found);
    holdBoardWhileFlying();
}
