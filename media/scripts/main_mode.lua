-- The campaign: episodes of parts of levels, played in this order. Levels
-- are only ever appended after the ones here, never inserted: the saved
-- progress, the store's unlocks and the tutorial count on the order.
--
-- A level: "file" (the level script is file .. suffix .. "_lua"), "title"
-- (shown as written, or a localisation key after "#"; the file name when
-- missing), the background scene "back1" and the board's scene "back2"
-- (each kept from the level before within a part when empty), and an
-- optional "movieScene". A part: its "levels" and the map's "openMarker"
-- (the map plays it once the part is done: the road on lights up).
-- An episode: its "parts" and its "mapScene".
-- Levels titled by their number in the campaign, from `first` on.
local function numbered(files, first)
    local levels = {}
    for i, file in ipairs(files) do
        table.insert(levels, { file = file, title = tostring(first + i - 1) })
    end
    return levels
end

local firstFiles = {}
for n = 1, 15 do
    table.insert(firstFiles, "level_" .. n)
end
local firstPart = numbered(firstFiles, 1)
firstPart[1].back1 = "level_back_1_xml"
firstPart[1].back2 = "level_field_xml"
-- The story goes on after the first road's sixth lantern.
firstPart[6].movieScene = "dialog_2_xml"

-- The level rules: each limit and each goal on a level of its own.
local rulesPart = numbered({ "rules_moves", "rules_time", "goal_walls", "goal_tiles", "goal_falling",
    "goal_strong_walls", "rules_no_limit" }, 16)
rulesPart[1].back1 = "level_back_1_xml"
rulesPart[1].back2 = "level_field_xml"

-- The living blockers: chain bombs, generators, rising chips and ice.
local blockersPart = numbered({ "blocker_chain_bomb", "blocker_generator", "blocker_rising", "blocker_ice",
    "blocker_ice_timed" }, 23)
blockersPart[1].back1 = "level_back_1_xml"
blockersPart[1].back2 = "level_field_xml"

-- The bonus chips: the fusions and the end-of-level run.
local bonusPart = numbered({ "bonus_fusion", "bonus_end_run" }, 28)
bonusPart[1].back1 = "level_back_1_xml"
bonusPart[1].back2 = "level_field_xml"

-- The snowy pass of the second episode, played by night above the harbour.
local snowPart = numbered({ "snow_1", "snow_2", "snow_3", "snow_4", "snow_5" }, 30)
snowPart[1].back1 = "level_back_2_xml"
snowPart[1].back2 = "level_field_xml"

episodes = {
    {
        mapScene = "map_ep1_xml",
        parts = {
            { levels = firstPart, openMarker = "open_part1" },
            { levels = rulesPart, openMarker = "open_part2" },
            { levels = blockersPart, openMarker = "open_part3" },
            { levels = bonusPart, openMarker = "open_part4" },
        },
    },
    {
        mapScene = "map_ep2_xml",
        parts = {
            { levels = snowPart, openMarker = "open_snow" },
        },
    },
}
