-- The tutorial's lesson sequences: each value names the lesson script of
-- one sequence, created in this table's order at start-up.
load = { "tutorial_basics_lua", "tutorial_bonus_lua", "tutorial_booster_lua" }
