#include "bonus_rules.h"

#include "game_helpers/bonus_chip_helper.h"
#include "game_helpers/bonus_gold_helper.h"
#include "game_helpers/level_end_helper.h"
#include "game_helpers/passive_bonus.h"
#include "game_state_manager.h"
#include "log_system.h"
#include "main_mode.h"
#include "player_profile.h"

BonusRules::BonusRules(std::ostream& out, MainMode& mode)
    : mOut(out), mMode(mode), mProfile(std::make_unique<PlayerProfile>())
{
}

BonusRules::~BonusRules() = default;

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

void BonusRules::onSetUp()
{
    if (mMode.bonusPanel && mMode.bonusPanel->profile != mProfile.get()) {
        mMode.bonusPanel->profile = mProfile.get();
        // Over the board's upper right, as the level's layout puts it.
        const VQ::Vector2f size = GameStateManager::instance()->getSceneSize();
        mMode.bonusPanel->position[0] = size.x - 260.0f;
        mMode.bonusPanel->position[1] = 170.0f;
        mMode.bonusPanel->applyOrientation();
    }
    if (mMode.boosters)
        mMode.boosters->profile = mProfile.get();
    if (mMode.levelEnd)
        mMode.levelEnd->profile = mProfile.get();
}

BonusChipHelper* BonusRules::fusion() const
{
    return mMode.bonusChips;
}

BonusGoldHelper* BonusRules::panel() const
{
    return mMode.bonusPanel;
}

PassiveBonusHelper* BonusRules::boosters() const
{
    return mMode.boosters;
}

LevelEndHelper* BonusRules::levelEnd() const
{
    return mMode.levelEnd;
}

bool BonusRules::execute(const std::string& command, std::istream& arguments)
{
    if (command == "bonus") {
        int kind = 0;
        if (!(arguments >> kind) || !mMode.bonusPanel)
            return false;
        const int slot = mMode.bonusPanel->slotOfKind(kind);
        if (slot < 0) {
            mOut << "bonus " << kind << " none\n";
            return true;
        }
        mMode.bonusPanel->press(slot);
        mOut << "bonus " << kind << '\n';
        return true;
    }
    if (command == "levelend" && mMode.levelEnd) {
        mMode.levelEnd->start(mMode.limit);
        return true;
    }
    return false;
}

void BonusRules::printState()
{
    if (BonusGoldHelper* panel = mMode.bonusPanel)
        for (int slot = 0; slot < panel->buttonCount; ++slot) {
            const int kind = panel->bonuses[static_cast<size_t>(slot)]->getType();
            mOut << VQ::formatString("bonus %d %d stock %d enabled %d", slot, kind,
                                     mProfile->bonusCounts[static_cast<size_t>(kind)],
                                     panel->buttons[static_cast<size_t>(slot)]->enabled ? 1 : 0)
                 << '\n';
        }
    if (mMode.boosters)
        for (const auto& booster : mMode.boosters->boosters)
            mOut << VQ::formatString("booster %d used %d", booster->getType(), booster->used ? 1 : 0) << '\n';
    if (mMode.levelEnd && mMode.levelEnd->started)
        mOut << VQ::formatString("levelend %d done %d", mMode.levelEnd->state, mMode.levelEnd->done ? 1 : 0)
             << '\n';
}

bool BonusRules::isBusy() const
{
    return mMode.bonusChips && mMode.bonusChips->isFusing();
}
