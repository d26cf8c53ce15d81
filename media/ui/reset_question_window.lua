-- The question before the progress is reset; its accept button is held.
-- Written by tools/ui_gen from its window list.

ResetQuestionWindow = {
    id = "ResetQuestionWindow", class = "UIWidget", position = { 603, 325 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "reset_question_window_xml",
          childs = {
            { id = "btnReject", class = "UIButton", position = { 272, 236 }, customClientRect = { 0, 0, 160, 48 },
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
            { target = "ResetQuestionWindow", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnReject", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
