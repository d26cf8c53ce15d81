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

-- Drawable entries: { type, resource, table or cues, layer, no-suffix }.
-- Per-colour layers append their colour suffix to sprite tables ("gem" is
-- drawn from "gem_R" ...), unless the fifth value is 1. Layer values order
-- a chip's pieces: the detonation glow 4, the selection frame 5, the chip
-- 10, the glint 15, overlays 20, destroy bursts 30.
local function sprite(name, order, shared)
    return { "Sprite", "chips_sprites", name, order or 10, shared and 1 or 0 }
end

local function burst(name)
    return { "ParticleFX", name, "", 30 }
end

-- The look of a chip drawn from the atlas picture `art`: idle, selected
-- (framed), glinting when the hotspot band passes, glowing while it waits
-- to go off, and a burst when destroyed.
local function look(art, blast)
    return {
        OnIdleDrawables = { sprite(art) },
        OnSelectDrawables = { sprite("selection", 5, true), sprite(art) },
        HotspotDrawables = { sprite(art), sprite("glint", 15, true) },
        OnDetonateDrawables = { sprite("detonate", 4, true) },
        OnDestroyDrawables = { burst(blast or "chip_burst_fx") },
    }
end

-- A layer that stays in place (walls, chains, the goal): no frame, no glint.
local function fixedLook(art, order)
    return {
        OnIdleDrawables = { sprite(art, order) },
        OnDestroyDrawables = { burst("chip_burst_fx") },
    }
end

-- The layer's own keys with its look added.
local function with(drawables, layer)
    for key, value in pairs(drawables) do
        layer[key] = value
    end
    return layer
end

ChipPrototypes = {
    -- The six plain colours.
    {
        Name = "Simple",
        DropRate = 1,
        GamePoints = 10,
        Behavior = {
            with(look("gem"), { Name = "Simple", MultipleColors = 1, score = 20, onDestroySound = "chip_destroy_sound" }),
        },
    },

    -- The two-stage bomb made from crossing lines: it blasts once, stays as
    -- its second stage and blasts again shortly after.
    {
        Name = "Bomb",
        GamePoints = 50,
        Behavior = {
            with(look("bomb", "bonus_burst_fx"), {
                Name = "BombStage1", MultipleColors = 1, score = 60, onDestroySound = "bomb_sound",
                OnDestroyActions = { "Boom", "AddBehavior:BombStage2" },
            }),
        },
    },
    {
        Name = "BombStage2",
        Behavior = {
            with(look("bomb2", "bonus_burst_fx"), {
                Name = "BombStage2", MultipleColors = 1, score = 60, onDestroySound = "bomb_sound",
                CanIterateWithGroup = 0,
                OnIdleActions = { "DestroyTimer:0.8" },
                OnDestroyActions = { "Boom" },
            }),
        },
    },

    -- One-stage bombs, "SimpleBomb_R" ...
    {
        Name = "SimpleBomb",
        GamePoints = 40,
        Behavior = {
            with(look("simple_bomb", "bonus_burst_fx"), {
                Name = "SimpleBomb", MultipleColors = 1, score = 60, onDestroySound = "bomb_sound",
                OnDestroyActions = { "Boom" },
            }),
        },
    },

    -- Waves along a row or a column.
    {
        Name = "WaveHor",
        GamePoints = 40,
        Behavior = {
            with(look("wave_hor", "bonus_burst_fx"), {
                Name = "WaveHor", MultipleColors = 1, score = 60, onDestroySound = "bomb_sound",
                OnDestroyActions = { "WaveHor" },
            }),
        },
    },
    {
        Name = "WaveVer",
        GamePoints = 40,
        Behavior = {
            with(look("wave_ver", "bonus_burst_fx"), {
                Name = "WaveVer", MultipleColors = 1, score = 60, onDestroySound = "bomb_sound",
                OnDestroyActions = { "WaveVer" },
            }),
        },
    },

    -- What two fused bonus chips become; they go off at once.
    {
        Name = "SuperBomb",
        GamePoints = 100,
        Behavior = {
            with(look("super_bomb", "bonus_burst_fx"), {
                Name = "SuperBomb", MultipleColors = 1, score = 150, onDestroySound = "bomb_sound",
                OnDestroyActions = { "SuperBoom" },
            }),
        },
    },
    {
        Name = "SuperWaveVer",
        GamePoints = 100,
        Behavior = {
            with(look("super_wave_ver", "bonus_burst_fx"), {
                Name = "SuperWaveVer", MultipleColors = 1, score = 150, onDestroySound = "bomb_sound",
                OnDestroyActions = { "SuperWaveVer" },
            }),
        },
    },
    {
        Name = "SuperWaveDSide",
        GamePoints = 100,
        Behavior = {
            with(look("super_wave_dside", "bonus_burst_fx"), {
                Name = "SuperWaveDSide", MultipleColors = 1, score = 150, onDestroySound = "bomb_sound",
                OnDestroyActions = { "SuperCross" },
            }),
        },
    },
    {
        Name = "Star",
        GamePoints = 100,
        Behavior = {
            with(look("star", "bonus_burst_fx"), {
                Name = "Star", MultipleColors = 1, score = 150, onDestroySound = "bomb_sound",
                OnDestroyActions = { "Star" },
            }),
        },
    },

    -- Made from a line of five: destroys every chip of one colour. It has no
    -- colour of its own and joins no line.
    {
        Name = "DestroyColor",
        GamePoints = 100,
        Selector = "AllChipsSameGroupSelector",
        Behavior = {
            with(look("destroy_color", "bonus_burst_fx"), {
                Name = "DestroyColor", MultipleColors = 0, CanIterateWithGroup = 0, score = 100,
                onDestroySound = "bomb_sound",
                OnDestroyActions = { "ColorDestroyer" },
            }),
        },
    },

    -- Walls: they stay where they stand and take one hit per layer; the
    -- walls goal counts them.
    {
        Name = "Wall",
        Behavior = {
            with(fixedLook("wall"), { Name = "Wall", MultipleColors = 0, CanFalling = 0, CanIterateWithGroup = 0, LevelGoal = 1, score = 30,
                    onDestroySound = "chip_destroy_sound" }),
        },
    },
    {
        Name = "DWall",
        Behavior = {
            with(fixedLook("wall"), { Name = "Wall", MultipleColors = 0, CanFalling = 0, CanIterateWithGroup = 0, LevelGoal = 1, score = 30,
                    onDestroySound = "chip_destroy_sound" }),
            with(fixedLook("dwall"), { Name = "DWall", MultipleColors = 0, CanFalling = 0, CanIterateWithGroup = 0, LevelGoal = 1, score = 30,
                    onDestroySound = "chip_destroy_sound" }),
        },
    },
    -- A wall in one of the six colours, "CWall_R" ...
    {
        Name = "CWall",
        Behavior = {
            with(fixedLook("cwall"), { Name = "CWall", MultipleColors = 1, CanFalling = 0, CanIterateWithGroup = 0, LevelGoal = 1, score = 40,
                    onDestroySound = "chip_destroy_sound" }),
        },
    },

    -- An iron wall: no neighbour's fall dents it, only a blast breaks it; the
    -- strong walls goal counts it.
    {
        Name = "StrongWall",
        Behavior = {
            {
                Name = "StrongWall", MultipleColors = 0, CanFalling = 0, CanIterateWithGroup = 0, LevelGoal = 1,
                score = 60, onDestroySound = "chip_destroy_sound",
                OnIdleDrawables = { { "Sprite", "targets_sprites", "s_strong_wall_ui_p_psd", 10, 1 } },
                OnDestroyDrawables = { burst("chip_burst_fx") },
            },
        },
    },

    -- A plain chip held in place by a chain until the chain is broken.
    {
        Name = "Chain",
        Behavior = {
            with(look("gem"), { Name = "Simple", MultipleColors = 1, score = 20, onDestroySound = "chip_destroy_sound" }),
            with(fixedLook("chain", 20), { Name = "Chain", MultipleColors = 0, CanFalling = 0, score = 30,
                    onDestroySound = "chip_destroy_sound" }),
        },
    },

    -- The level goal brought down to the bottom of the board: no blast
    -- removes it, it leaves the board when it reaches the floor.
    {
        Name = "FallingLevelGoal",
        Behavior = {
            with(fixedLook("lantern"), {
                Name = "FallingLevelGoal", MultipleColors = 0, CanIterateWithGroup = 0, LevelGoal = 1,
                score = 500,
                OnIdleActions = { "DestroyIfFloorIsReached" },
                OnDestroyActions = { "CanNotBeDestoyed" },
            }),
        },
    },
    -- Chain bomb: stays where it stands and shows on its counter plate the
    -- steps left before it throws chains at plain chips ("#limit").
    {
        Name = "ChainBomb",
        Behavior = {
            {
                Name = "ChainBomb", MultipleColors = 1, CanFalling = 0, CanIterateWithGroup = 0, score = 60,
                onDestroySound = "bomb_sound",
                OnIdleDrawables = { { "Scene", "chain_bomb_chip_xml", "", 10 } },
                OnDestroyDrawables = { burst("bonus_burst_fx") },
            },
        },
    },

    -- A mossy spring that turns plain chips near it into moss ("generate").
    {
        Name = "ChipGenerator",
        Behavior = {
            {
                Name = "ChipGenerator", MultipleColors = 0, CanFalling = 0, CanIterateWithGroup = 0, score = 60,
                onDestroySound = "chip_destroy_sound",
                OnIdleDrawables = { { "Scene", "generator_chip_xml", "", 10 } },
                OnDestroyDrawables = { burst("chip_burst_fx") },
            },
        },
    },

    -- A clump of moss: joins no line, goes with any chip destroyed beside it.
    {
        Name = "StuffChip",
        Behavior = {
            with(fixedLook("stuff"), { Name = "StuffChip", MultipleColors = 0, CanIterateWithGroup = 0, score = 30,
                    onDestroySound = "chip_destroy_sound" }),
        },
    },

    -- A gem in a bubble that climbs a row after every move; the rising
    -- chips goal counts it.
    {
        Name = "ChipUp",
        Behavior = {
            {
                Name = "ChipUp", MultipleColors = 1, LevelGoal = 1, score = 100,
                onDestroySound = "chip_destroy_sound",
                OnIdleDrawables = { sprite("chip_up"), { "Scene", "chip_up_chip_xml", "", 15 } },
                OnSelectDrawables = { sprite("selection", 5, true), sprite("chip_up") },
                OnDestroyDrawables = { burst("chip_burst_fx") },
            },
        },
    },

    -- An ice source: a crystal block that freezes the chips around it.
    {
        Name = "Ice",
        Behavior = {
            with(fixedLook("ice"), { Name = "Ice", MultipleColors = 0, CanFalling = 0, CanIterateWithGroup = 0,
                    score = 60, onDestroySound = "chip_destroy_sound" }),
        },
    },

    -- Plain chips under one to three stages of frost; the frost layers
    -- read here are the ones the ice adds while it spreads.
    {
        Name = "IceChip1",
        Behavior = {
            with(look("gem"), { Name = "Simple", MultipleColors = 1, score = 20, onDestroySound = "chip_destroy_sound" }),
            with(fixedLook("ice1", 20), { Name = "IceChip1", MultipleColors = 0, CanFalling = 0, score = 20,
                    onDestroySound = "chip_destroy_sound" }),
        },
    },
    {
        Name = "IceChip2",
        Behavior = {
            with(look("gem"), { Name = "Simple", MultipleColors = 1, score = 20, onDestroySound = "chip_destroy_sound" }),
            with(fixedLook("ice2", 20), { Name = "IceChip2", MultipleColors = 0, CanFalling = 0, score = 20,
                    onDestroySound = "chip_destroy_sound" }),
        },
    },
    {
        Name = "IceChip3",
        Behavior = {
            with(look("gem"), { Name = "Simple", MultipleColors = 1, score = 20, onDestroySound = "chip_destroy_sound" }),
            with(fixedLook("ice3", 20), { Name = "IceChip3", MultipleColors = 0, CanFalling = 0, score = 20,
                    onDestroySound = "chip_destroy_sound" }),
        },
    },
}
