-- The level's limit panel: the scene "limit_panel_xml", hosted by the child
-- "scene", shows what is left of the moves or seconds; the invisible button
-- over its buy mark offers more (it stays off while nothing can be bought).
-- The panel fades in when shown. The level places the root at its "moves"
-- anchor. Not modal: the level's menu opens over it.

LimitHelper = {
    id = "limitHelper", class = "UIWidget", position = { 60, 150 }, modal = 0,
    childs = {
        { id = "scene", class = "UISceneNode", scene = "limit_panel_xml",
          states = { { id = "onIdle", propertyChanges = {
              { target = "scene", property = "transparency", duration = 0.25, value = 1 } } } } },
        { id = "btnBuy", class = "UIButton", position = { 150, 92 }, size = { 24, 24 } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "limitHelper", property = "transparency", duration = 0.25, value = 1 } } },
    },
}
