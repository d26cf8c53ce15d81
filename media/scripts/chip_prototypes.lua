-- Chip prototypes: every chip on the board is made from one of these.
--
-- A prototype is a stack of behaviour layers, bottom first. When its first
-- layer has MultipleColors = 1 it is read six times, once per colour, and
-- named with the suffixes _R, _G, _B, _M, _Y and _O ("Simple_R" ...).
-- Flags are numbers (1 or 0); DropRate only matters for the six plain
-- colours, which are the only chips drawn at random.
--
-- Layer keys: Name (its type), MultipleColors, CanFalling,
-- CanIterateWithGroup, LevelGoal, score, onDestroySound, OnDestroyActions,
-- OnIdleActions and the drawable lists OnIdleDrawables, OnSelectDrawables,
-- OnDestroyDrawables, HotspotDrawables, InGroupDrawables,
-- OnDetonateDrawables.

ChipPrototypes = {
    -- The six plain colours.
    {
        Name = "Simple",
        DropRate = 1,
        GamePoints = 10,
        Behavior = {
            { Name = "Simple", MultipleColors = 1, score = 20, onDestroySound = "chip_destroy_sound" },
        },
    },

    -- The two-stage bomb made from crossing lines: it blasts once, stays as
    -- its second stage and blasts again shortly after.
    {
        Name = "Bomb",
        GamePoints = 50,
        Behavior = {
            {
                Name = "BombStage1", MultipleColors = 1, score = 60, onDestroySound = "bomb_sound",
                OnDestroyActions = { "Boom", "AddBehavior:BombStage2" },
            },
        },
    },
    {
        Name = "BombStage2",
        Behavior = {
            {
                Name = "BombStage2", MultipleColors = 1, score = 60, onDestroySound = "bomb_sound",
                CanIterateWithGroup = 0,
                OnIdleActions = { "DestroyTimer:0.8" },
                OnDestroyActions = { "Boom" },
            },
        },
    },

    -- One-stage bombs, "SimpleBomb_R" ...
    {
        Name = "SimpleBomb",
        GamePoints = 40,
        Behavior = {
            {
                Name = "SimpleBomb", MultipleColors = 1, score = 60, onDestroySound = "bomb_sound",
                OnDestroyActions = { "Boom" },
            },
        },
    },

    -- Waves along a row or a column.
    {
        Name = "WaveHor",
        GamePoints = 40,
        Behavior = {
            {
                Name = "WaveHor", MultipleColors = 1, score = 60, onDestroySound = "bomb_sound",
                OnDestroyActions = { "WaveHor" },
            },
        },
    },
    {
        Name = "WaveVer",
        GamePoints = 40,
        Behavior = {
            {
                Name = "WaveVer", MultipleColors = 1, score = 60, onDestroySound = "bomb_sound",
                OnDestroyActions = { "WaveVer" },
            },
        },
    },

    -- What two fused bonus chips become; they go off at once.
    {
        Name = "SuperBomb",
        GamePoints = 100,
        Behavior = {
            {
                Name = "SuperBomb", MultipleColors = 1, score = 150, onDestroySound = "bomb_sound",
                OnDestroyActions = { "SuperBoom" },
            },
        },
    },
    {
        Name = "SuperWaveVer",
        GamePoints = 100,
        Behavior = {
            {
                Name = "SuperWaveVer", MultipleColors = 1, score = 150, onDestroySound = "bomb_sound",
                OnDestroyActions = { "SuperWaveVer" },
            },
        },
    },
    {
        Name = "SuperWaveDSide",
        GamePoints = 100,
        Behavior = {
            {
                Name = "SuperWaveDSide", MultipleColors = 1, score = 150, onDestroySound = "bomb_sound",
                OnDestroyActions = { "SuperCross" },
            },
        },
    },
    {
        Name = "Star",
        GamePoints = 100,
        Behavior = {
            {
                Name = "Star", MultipleColors = 1, score = 150, onDestroySound = "bomb_sound",
                OnDestroyActions = { "Star" },
            },
        },
    },

    -- Made from a line of five: destroys every chip of one colour. It has no
    -- colour of its own and joins no line.
    {
        Name = "DestroyColor",
        GamePoints = 100,
        Selector = "AllChipsSameGroupSelector",
        Behavior = {
            {
                Name = "DestroyColor", MultipleColors = 0, CanIterateWithGroup = 0, score = 100,
                onDestroySound = "bomb_sound",
                OnDestroyActions = { "ColorDestroyer" },
            },
        },
    },

    -- Walls: they stay where they stand and take one hit per layer.
    {
        Name = "Wall",
        Behavior = {
            { Name = "Wall", MultipleColors = 0, CanFalling = 0, CanIterateWithGroup = 0, score = 30,
                    onDestroySound = "chip_destroy_sound" },
        },
    },
    {
        Name = "DWall",
        Behavior = {
            { Name = "Wall", MultipleColors = 0, CanFalling = 0, CanIterateWithGroup = 0, score = 30,
                    onDestroySound = "chip_destroy_sound" },
            { Name = "DWall", MultipleColors = 0, CanFalling = 0, CanIterateWithGroup = 0, score = 30,
                    onDestroySound = "chip_destroy_sound" },
        },
    },
    -- A wall in one of the six colours, "CWall_R" ...
    {
        Name = "CWall",
        Behavior = {
            { Name = "CWall", MultipleColors = 1, CanFalling = 0, CanIterateWithGroup = 0, score = 40,
                    onDestroySound = "chip_destroy_sound" },
        },
    },

    -- A plain chip held in place by a chain until the chain is broken.
    {
        Name = "Chain",
        Behavior = {
            { Name = "Simple", MultipleColors = 1, score = 20, onDestroySound = "chip_destroy_sound" },
            { Name = "Chain", MultipleColors = 0, CanFalling = 0, score = 30,
                    onDestroySound = "chip_destroy_sound" },
        },
    },

    -- The level goal brought down to the bottom of the board: no blast
    -- removes it, it leaves the board when it reaches the floor.
    {
        Name = "FallingLevelGoal",
        Behavior = {
            {
                Name = "FallingLevelGoal", MultipleColors = 0, CanIterateWithGroup = 0, LevelGoal = 1,
                score = 500,
                OnIdleActions = { "DestroyIfFloorIsReached" },
                OnDestroyActions = { "CanNotBeDestoyed" },
            },
        },
    },
}
