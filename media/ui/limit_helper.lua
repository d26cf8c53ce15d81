-- The level's limit panel: the scene "limit_panel_xml" shows what is left of
-- the moves or seconds; the invisible button over its buy mark offers more
-- (it stays off while nothing can be bought). The level places the root at
-- its "moves" anchor.

LimitHelper = {
    id = "limitHelper", class = "UIWidget", position = { 60, 150 },
    childs = {
        { id = "scene", class = "UIWidget" },
        { id = "btnBuy", class = "UIButton", position = { 150, 92 }, size = { 24, 24 } },
    },
}
