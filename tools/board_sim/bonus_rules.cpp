#include "bonus_rules.h"

#include "game_helpers/bonus_chip_helper.h"
#include "game_level.h"
#include "level_rules.h"

BonusRules::BonusRules(std::ostream& out, GameLevel& level, Mode& mode, LevelRules& rules)
    : mOut(out), mLevel(level), mMode(mode), mRules(rules)
{
}

BonusRules::~BonusRules() = default;

void BonusRules::setupLevelRules()
{
    if (!mFusion) {
        mFusion = std::make_unique<BonusChipHelper>(&mMode);
        mLevel.addHelper(mFusion.get());
    }
}

bool BonusRules::onMatch(const ChipSelection& selection)
{
    return mFusion && mFusion->onMatch(selection);
}

bool BonusRules::onBonusSwap(Chip* a, Chip* b)
{
    return mFusion && mFusion->onBonusSwap(a, b);
}

bool BonusRules::isBusy() const
{
    return mFusion && mFusion->isFusing();
}
