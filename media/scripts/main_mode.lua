-- The campaign: episodes of parts of levels, played in this order. Levels
-- are only ever appended after the ones here, never inserted: the saved
-- progress, the store's unlocks and the tutorial count on the order.
--
-- A level: "file" (the level script is file .. suffix .. "_lua"), "title"
-- (shown as written, or a localisation key after "#"; the file name when
-- missing), the background scene "back1" and the board's scene "back2"
-- (each kept from the level before within a part when empty), and an
-- optional "movieScene". A part: its "levels" and the map's "openMarker".
-- An episode: its "parts" and its "mapScene".
local function numbered(first, last)
    local levels = {}
    for n = first, last do
        table.insert(levels, { file = "level_" .. n, title = tostring(n) })
    end
    return levels
end

local firstPart = numbered(1, 15)
firstPart[1].back1 = "level_back_1_xml"
firstPart[1].back2 = "level_field_xml"

episodes = {
    {
        mapScene = "map_ep1_xml",
        parts = {
            { levels = firstPart },
        },
    },
}
