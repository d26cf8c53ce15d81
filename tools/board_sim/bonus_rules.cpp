#include "bonus_rules.h"

#include "game_helpers/bonus_chip_helper.h"
#include "main_mode.h"

BonusChipHelper* BonusRules::fusion() const
{
    return mMode.bonusChips;
}

bool BonusRules::isBusy() const
{
    return mMode.bonusChips && mMode.bonusChips->isFusing();
}
