-- The arrows bonus, met on level 7 once the store has unlocked it: coins
-- for it once, a free first purchase and its first use.
lessons = {
    {
        class = "BonusLesson",
        data = {
            bonusType = "arrow",
            level = "level_7_lua",
            text1 = "TUTORIAL_ARROW_1",
            text2 = "TUTORIAL_ARROW_2",
            -- The bubble below the panel's button.
            hor1 = "270", ver1 = "90",
            hor2 = "270", ver2 = "90",
            maskFile = "tutorial_sprites", maskTable = "MaskRound",
            maskOffset = { -100, -100 },
        },
    },
}
