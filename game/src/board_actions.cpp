// The actions whose work lies on the board itself (blasts, waves, the colour
// destroyer, leaving the board, shaking the background). Until the board's
// destroy operations exist they do nothing and agree, so a layer carrying
// them is destroyed like any other.
#include "action.h"

bool BoomAction::run(GameField*, Chip*, float)
{
    return true;
}

bool WaveAction::run(GameField*, Chip*, float)
{
    return true;
}

bool DestroyIfFloorIsReached::run(GameField*, Chip*, float)
{
    return true;
}

bool ColorDestroyer::run(GameField*, Chip*, float)
{
    return true;
}

bool ShakeBackField::run(GameField*, Chip*, float)
{
    return true;
}
