-- The question before a level is left.
-- Written by tools/ui_gen from its window list.

ConfirmExitLevelWindow = {
    id = "ConfirmExitLevelWindow", class = "UIWidget", position = { 603, 335 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "confirm_exit_level_window_xml",
          childs = {
            { id = "btnAccept", class = "UIButton", position = { 88, 216 }, customClientRect = { 0, 0, 160, 48 },
              text = "#BUTTON_YES", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
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
            { id = "btnReject", class = "UIButton", position = { 272, 216 }, customClientRect = { 0, 0, 160, 48 },
              text = "#BUTTON_NO", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
              childs = {
                  { id = "btnRejectIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
                  { id = "btnRejectHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
              },
              states = {
                  { id = "onIdle", propertyChanges = {
                      { target = "btnRejectIdle", property = "transparency", duration = 0.15, value = 1 },
                      { target = "btnRejectHigh", property = "transparency", duration = 0.15, value = 0 } } },
                  { id = "onSelect", propertyChanges = {
                      { target = "btnRejectHigh", property = "transparency", duration = 0.15, value = 1 } } },
              } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "ConfirmExitLevelWindow", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnAccept", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnReject", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
