-- The options window, opened from the main menu.
-- Written by tools/ui_gen from its window list.

OptionsWindow = {
    id = "OptionsWindow", class = "UIWidget", position = { 583, 285 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "options_window_xml",
          childs = {
            { id = "btnClose", class = "UIButton", position = { 508, 12 }, customClientRect = { 0, 0, 40, 40 },
              childs = {
                  { id = "btnCloseFace", class = "UISprite", imagename = "widget_sprites", tablename = "CloseButton" },
              } },
            { id = "btnReset", class = "UIButton", position = { 108, 316 }, customClientRect = { 0, 0, 160, 48 },
              text = "#OPTIONS_RESET", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
              childs = {
                  { id = "btnResetIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
                  { id = "btnResetHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
              },
              states = {
                  { id = "onIdle", propertyChanges = {
                      { target = "btnResetIdle", property = "transparency", duration = 0.15, value = 1 },
                      { target = "btnResetHigh", property = "transparency", duration = 0.15, value = 0 } } },
                  { id = "onSelect", propertyChanges = {
                      { target = "btnResetHigh", property = "transparency", duration = 0.15, value = 1 } } },
              } },
            { id = "btnAccept", class = "UIButton", position = { 292, 316 }, customClientRect = { 0, 0, 160, 48 },
              text = "#BUTTON_OK", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
              childs = {
                  { id = "btnAcceptIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
                  { id = "btnAcceptHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
              },
              states = {
                  { id = "onIdle", propertyChanges = {
                      { target = "btnAcceptIdle", property = "transparency", duration = 0.15, value = 1 },
                      { target = "btnAcceptHigh", property = "transparency", duration = 0.15, value = 0 } } },
                  { id = "onSelect", propertyChanges = {
                      { target = "btnAcceptHigh", property = "transparency", duration = 0.15, value = 1 } } },
              } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "OptionsWindow", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnClose", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnCloseFace", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnReset", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnAccept", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
