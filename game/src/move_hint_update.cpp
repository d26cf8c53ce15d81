// The hint's clock and picture: a settled, idle board is searched about a
// second after the player's last action, a board without a move is
// reported to the mode, and the move found is shown after `hintPeriod`.

#include "board_renderer.h"
#include "game_level.h"
#include "chip.h"
#include "chip_appearence.h"
#include "file_system.h"
#include "game_field.h"
#include "log_system.h"
#include "mode.h"
#include "move_hint.h"
#include "particle_fx.h"
#include "particle_system.h"

namespace {

const char* const HINT_EFFECT = "hint_fx";
// Seconds of idleness before the board is searched.
constexpr float SEARCH_DELAY = 1.0f;

}  // namespace

void MoveHint::loadEffect()
{
    effectRequested = true;
    VQ::FileSystem* files = VQ::FileSystem::instancePtr();
    VQ::ParticleSystem* particles = VQ::ParticleSystem::instancePtr();
    if (files && particles && files->contains("default", HINT_EFFECT)) {
        effect = particles->create(HINT_EFFECT);
        if (effect)
            return;
    }
    VQ::logIfPossible(VQ::formatString("WARNING: Particle effect '%s' not found; the move hint is not shown",
                                       HINT_EFFECT));
}

void MoveHint::update(float dt)
{
    if (!effectRequested)
        loadEffect();
    if ((field->appearance && field->appearance->isRunning()) || !field->active || field->levelBusyCount() > 0 ||
        field->moving)
        return;
    if (field->isUnsettled())
        return;
    if (shown && effect)
        effect->update(dt);
    if (field->idleTime <= SEARCH_DELAY || shown || field->isSuspended())
        return;
    if (positions.empty()) {
        FieldCell* pair[2];
        findMove(pair);
        if (!searched) {
            searched = true;
            if (!pair[0]) {
                if (Mode* mode = field->mode())
                    mode->onNoPossibleMoves();
                reset();
                return;
            }
            const float size = static_cast<float>(field->cellSize);
            for (const FieldCell* cell : pair)
                positions.emplace_back(size * cell->chip->x, size * cell->chip->y);
        }
    }
    if (field->idleTime < field->hintPeriod)
        return;
    if (!positions.empty()) {
        shown = true;
        if (effect)
            effect->restart();
    }
}

void MoveHint::draw()
{
    if (!shown || !effect)
        return;
    // One effect drawn at each hinted chip, faded in with the board.
    effect->setAlpha(field->level ? field->level->introProgress : 1.0f);
    for (const VQ::Vector2f& position : positions) {
        effect->mPosition = position;
        effect->draw();
    }
}
