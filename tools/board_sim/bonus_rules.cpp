#include "bonus_rules.h"

#include <istream>

#include "game_helpers/bonus_chip_helper.h"
#include "game_helpers/bonus_gold_helper.h"
#include "game_helpers/level_bonus_setup.h"
#include "game_helpers/level_end_helper.h"
#include "game_helpers/passive_bonus.h"
#include "game_level.h"
#include "game_state_manager.h"
#include "level_rules.h"
#include "log_system.h"
#include "player_profile.h"

BonusRules::BonusRules(std::ostream& out, GameLevel& level, Mode& mode, LevelRules& rules)
    : mOut(out), mLevel(level), mMode(mode), mRules(rules), mProfile(std::make_unique<PlayerProfile>())
{
}

BonusRules::~BonusRules()
{
    if (LimitHelper* limit = mRules.limit())
        limit->removeListener(this);
}

void BonusRules::setStock(const std::array<int, 4>& stock)
{
    mProfile->unlockedBonuses = {0, 1, 2, 3};
    for (size_t kind = 0; kind < stock.size(); ++kind)
        mProfile->bonusCounts[kind] = stock[kind];
}

void BonusRules::setBoosters(const std::array<int, 3>& armed)
{
    for (size_t kind = 0; kind < armed.size(); ++kind)
        mProfile->passiveBonusArmed[kind] = armed[kind] ? 1 : 0;
}

void BonusRules::setupLevelRules()
{
    // The mode's order of creation: the fusions, the panel, the boosters;
    // the end run last.
    if (!mFusion) {
        mFusion = std::make_unique<BonusChipHelper>(&mMode);
        mLevel.addHelper(mFusion.get());
        mPanel = std::make_unique<BonusGoldHelper>(BONUS_PANEL_SCENE, mRules.goals());
        mPanel->profile = mProfile.get();
        mLevel.addHelper(mPanel.get());
        // Over the board's upper right, as the level's layout puts it.
        const VQ::Vector2f size = GameStateManager::instance()->getSceneSize();
        mPanel->position[0] = size.x - 260.0f;
        mPanel->position[1] = 170.0f;
        mPanel->applyOrientation();
        mBoosters = std::make_unique<PassiveBonusHelper>();
        mBoosters->profile = mProfile.get();
        mLevel.addHelper(mBoosters.get());
        mLevelEnd = std::make_unique<LevelEndHelper>();
        mLevelEnd->profile = mProfile.get();
        mLevel.addHelper(mLevelEnd.get());
    }
    if (LimitHelper* limit = mRules.limit())
        limit->addListener(this);
}

void BonusRules::prepareLevel()
{
    prepareLevelBonuses(mPanel.get(), mBoosters.get(), mLevelEnd.get(), mRules.limit(), mRules.goals());
    mBoostersStarted = false;
}

void BonusRules::onLevelBegin()
{
    // Without a limit the boosters start with the level; else once the
    // limit has landed.
    if (!mRules.limit() && mBoosters && !mBoostersStarted) {
        mBoostersStarted = true;
        mBoosters->startAll();
    }
}

void BonusRules::onLimitShown()
{
    if (mBoosters && !mBoostersStarted) {
        mBoostersStarted = true;
        mBoosters->startAll();
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

bool BonusRules::execute(const std::string& command, std::istream& arguments)
{
    if (command == "bonus") {
        int kind = 0;
        if (!(arguments >> kind) || !mPanel)
            return false;
        const int slot = mPanel->slotOfKind(kind);
        if (slot < 0) {
            mOut << "bonus " << kind << " none\n";
            return true;
        }
        mPanel->press(slot);
        mOut << "bonus " << kind << '\n';
        return true;
    }
    if (command == "levelend" && mLevelEnd) {
        mLevelEnd->start(mRules.limit());
        return true;
    }
    return false;
}

void BonusRules::printState()
{
    if (mPanel)
        for (int slot = 0; slot < mPanel->buttonCount; ++slot) {
            const int kind = mPanel->bonuses[static_cast<size_t>(slot)]->getType();
            mOut << VQ::formatString("bonus %d %d stock %d enabled %d", slot, kind,
                                     mProfile->bonusCounts[static_cast<size_t>(kind)],
                                     mPanel->buttons[static_cast<size_t>(slot)]->enabled ? 1 : 0)
                 << '\n';
        }
    if (mBoosters)
        for (const auto& booster : mBoosters->boosters)
            mOut << VQ::formatString("booster %d used %d", booster->getType(), booster->used ? 1 : 0) << '\n';
    if (mLevelEnd && mLevelEnd->started)
        mOut << VQ::formatString("levelend %d done %d", mLevelEnd->state, mLevelEnd->done ? 1 : 0) << '\n';
}

bool BonusRules::isBusy() const
{
    return mFusion && mFusion->isFusing();
}
