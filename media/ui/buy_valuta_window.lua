-- The currency shop.
-- Written by tools/ui_gen from its window list.

BuyValutaWindow = {
    id = "BuyValutaWindow", class = "UIWidget", position = { 543, 245 },
    childs = {
        { id = "gui", class = "UIWidget", size = { 640, 480 },
          childs = {
            { id = "frame", class = "UISprite", imagename = "widget_sprites", tablename = "Panel", size = { 640, 480 } },
            { id = "ribbon", class = "UISprite", imagename = "widget_sprites", tablename = "TitleRibbon", position = { 170, -20 } },
            { id = "#title", class = "UILabel", text = "#WINDOW_SHOPPING_CURRENCY_TITLE", fontPreset = "font_presets_lua:title", position = { 190, -16 }, size = { 260, 48 } },
            { id = "btnClose", class = "UIButton", position = { 588, 12 }, customClientRect = { 0, 0, 40, 40 },
              childs = {
                  { id = "btnCloseFace", class = "UISprite", imagename = "widget_sprites", tablename = "CloseButton" },
              } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "BuyValutaWindow", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "frame", property = "transparency", duration = 0.25, value = 1 },
            { target = "ribbon", property = "transparency", duration = 0.25, value = 1 },
            { target = "#title", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnClose", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnCloseFace", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
