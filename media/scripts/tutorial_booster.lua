-- The extra-moves booster, shown in the level start window once unlocked.
lessons = {
    {
        class = "PassiveBonusLesson",
        data = {
            bonus = "moves",
            text = "TUTORIAL_BOOSTER",
            hor = "90", ver = "90",
            maskFile = "tutorial_sprites", maskTable = "MaskSlot",
        },
    },
}
