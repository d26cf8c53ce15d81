#pragma once
// The level's bonus panel, boosters and end-of-level run as the mode sets
// them up: created with the other rule components, made ready once the
// board holds the level, the boosters started when the level begins.

class BonusGoldHelper;
class GoalsHelper;
class LevelEndHelper;
class LimitHelper;
class PassiveBonusHelper;

// The bonus panel's scene.
extern const char* const BONUS_PANEL_SCENE;

// Once the board holds the level: each of them reset (null ones skipped),
// then the boosters armed in the profile join `boosters` (the moves
// booster only with a limit) and are laid out.
void prepareLevelBonuses(BonusGoldHelper* panel, PassiveBonusHelper* boosters, LevelEndHelper* levelEnd,
                         LimitHelper* limit, GoalsHelper* goals);
