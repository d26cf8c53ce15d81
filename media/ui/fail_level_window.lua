-- The lost level's window.
-- Written by tools/ui_gen from its window list.

FailLevelWindow = {
    id = "FailLevelWindow", class = "UIWidget", position = { 543, 285 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "fail_level_window_xml",
          childs = {
            { id = "btnClose", class = "UIButton", position = { 588, 12 }, customClientRect = { 0, 0, 40, 40 },
              childs = {
                  { id = "btnCloseFace", class = "UISprite", imagename = "widget_sprites", tablename = "CloseButton" },
              } },
            { id = "btnReplay", class = "UIButton", position = { 240, 316 }, customClientRect = { 0, 0, 160, 48 },
              text = "#FAIL_REPLAY", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
              childs = {
                  { id = "btnReplayIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
                  { id = "btnReplayHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
              },
              states = {
                  { id = "onIdle", propertyChanges = {
                      { target = "btnReplayIdle", property = "transparency", duration = 0.15, value = 1 },
                      { target = "btnReplayHigh", property = "transparency", duration = 0.15, value = 0 } } },
                  { id = "onSelect", propertyChanges = {
                      { target = "btnReplayHigh", property = "transparency", duration = 0.15, value = 1 } } },
              } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "FailLevelWindow", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnClose", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnCloseFace", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnReplay", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
