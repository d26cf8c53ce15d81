-- The everyday gifts of five days.
-- Written by tools/ui_gen from its window list.

EverydayBonusWindow = {
    id = "EverydayBonusWindow", class = "UIWidget", position = { 483, 285 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "everyday_bonus_window_xml",
          childs = {
            { id = "btnOk", class = "UIButton", position = { 300, 316 }, customClientRect = { 0, 0, 160, 48 },
              text = "#BUTTON_OK", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
              childs = {
                  { id = "btnOkIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
                  { id = "btnOkHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
              },
              states = {
                  { id = "onIdle", propertyChanges = {
                      { target = "btnOkIdle", property = "transparency", duration = 0.15, value = 1 },
                      { target = "btnOkHigh", property = "transparency", duration = 0.15, value = 0 } } },
                  { id = "onSelect", propertyChanges = {
                      { target = "btnOkHigh", property = "transparency", duration = 0.15, value = 1 } } },
              } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "EverydayBonusWindow", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnOk", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
