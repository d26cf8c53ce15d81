-- The options window, opened from the main menu.
-- Written by tools/ui_gen from its window list.

OptionsWindow = {
    id = "OptionsWindow", class = "UIWidget", position = { 563, 275 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "options_window_xml",
          childs = {
            { id = "btnClose", class = "UIButton", position = { 548, 12 }, customClientRect = { 0, 0, 40, 40 },
              childs = {
                  { id = "btnCloseFace", class = "UISprite", imagename = "widget_sprites", tablename = "CloseButton" },
              } },
            { id = "btnReset", class = "UIButton", position = { 128, 336 }, customClientRect = { 0, 0, 160, 48 },
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
            { id = "btnAccept", class = "UIButton", position = { 312, 336 }, customClientRect = { 0, 0, 160, 48 },
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
            { id = "checkFullScreen", class = "UICheckBox", position = { 78, 214 }, thumb = "checkFullScreenTick",
              childs = {
                  { id = "checkFullScreenFace", class = "UISprite", imagename = "widget_sprites", tablename = "CheckBox" },
                  { id = "checkFullScreenTick", class = "UISprite", imagename = "widget_sprites", tablename = "CheckTick" },
              } },
            { id = "checkGameCursor", class = "UICheckBox", position = { 78, 262 }, thumb = "checkGameCursorTick",
              childs = {
                  { id = "checkGameCursorFace", class = "UISprite", imagename = "widget_sprites", tablename = "CheckBox" },
                  { id = "checkGameCursorTick", class = "UISprite", imagename = "widget_sprites", tablename = "CheckTick" },
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
            { target = "checkFullScreen", property = "transparency", duration = 0.25, value = 1 },
            { target = "checkFullScreenFace", property = "transparency", duration = 0.25, value = 1 },
            { target = "checkGameCursor", property = "transparency", duration = 0.25, value = 1 },
            { target = "checkGameCursorFace", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
