-- The currency shop.
-- Written by tools/ui_gen from its window list.

BuyValutaWindow = {
    id = "BuyValutaWindow", class = "UIWidget", position = { 603, 155 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "buy_valuta_window_xml",
          childs = {
            { id = "btnClose", class = "UIButton", position = { 468, 12 }, customClientRect = { 0, 0, 40, 40 },
              childs = {
                  { id = "btnCloseFace", class = "UISprite", imagename = "widget_sprites", tablename = "CloseButton" },
              } },
            { id = "list", class = "UISceneList", scene = "@parent/window/listArea", orient = "ver", scrolling = 3,
              position = { 50, 92 } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "BuyValutaWindow", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnClose", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnCloseFace", property = "transparency", duration = 0.25, value = 1 },
            { target = "list", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
