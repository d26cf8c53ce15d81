-- The first levels' lessons: the first swap, the moves counter, a bomb and
-- its blast, and the stars.
lessons = {
    {
        class = "DestroyChipLesson",
        data = {
            level = "level_1_lua",
            text = "TUTORIAL_SWAP",
            -- The first of the level's ready swaps: red lines up in row 2.
            -- The hint points from the right at the red gem, its bubble
            -- beside the pair rather than over the rows below it.
            chips = { { x = 3, y = 2 }, { x = 2, y = 2 } },
            hor = "180", ver = "180",
            maskFile = "tutorial_sprites", maskTable = "MaskPair",
            padding = { 24, 24 },
            offset = { 0, 0 },
        },
    },
    {
        class = "InfoLesson",
        data = {
            level = "level_1_lua",
            -- The middle of the moves counter, whose panel the level lays
            -- out from the field scene's "moves" anchor.
            targetH = { 472, 201 }, targetV = { 800, 211 },
            text = "TUTORIAL_MOVES",
            hor = "180", ver = "270",
            maskFile = "tutorial_sprites", maskTable = "MaskRound",
            padding = { 0, 0 },
            maskOffset = { -100, -100 },
        },
    },
    {
        class = "MultiLesson",
        data = {
            {
                class = "DestroyChipLesson",
                data = {
                    level = "level_2_lua",
                    text = "TUTORIAL_BOMB_SWAP",
                    -- The bomb and the gem it trades places with to join
                    -- the red line of column 5.
                    chips = { { x = 4, y = 5 }, { x = 5, y = 5 } },
                    hor = "90", ver = "90",
                    maskFile = "tutorial_sprites", maskTable = "MaskPair",
                    padding = { 24, 24 },
                    offset = { 0, 0 },
                },
            },
            {
                class = "InfoLesson",
                data = {
                    level = "level_2_lua",
                    isCell = true,
                    targetH = { 5, 5 }, targetV = { 5, 5 },
                    text = "TUTORIAL_BOMB",
                    hor = "90", ver = "90",
                    maskFile = "tutorial_sprites", maskTable = "MaskRound",
                    padding = { 0, 0 },
                    maskOffset = { -100, -100 },
                },
            },
        },
    },
    {
        class = "InfoLesson",
        data = {
            level = "level_3_lua",
            text = "TUTORIAL_STARS",
        },
    },
}
