-- The heart shop, opened from the map.
-- Written by tools/ui_gen from its window list.

BuyHeartWindow = {
    id = "BuyHeartWindow", class = "UIWidget", position = { 583, 285 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "buy_heart_window_xml",
          childs = {
            { id = "btnClose", class = "UIButton", position = { 508, 12 }, customClientRect = { 0, 0, 40, 40 },
              childs = {
                  { id = "btnCloseFace", class = "UISprite", imagename = "widget_sprites", tablename = "CloseButton" },
              } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "BuyHeartWindow", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnClose", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnCloseFace", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
