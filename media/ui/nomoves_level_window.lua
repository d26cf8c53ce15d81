-- The offer of more moves or time when a level runs out.
-- Written by tools/ui_gen from its window list.

NomovesLevelWindow = {
    id = "NomovesLevelWindow", class = "UIWidget", position = { 543, 275 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "nomoves_level_window_xml",
          childs = {
            { id = "btnEndLevel", class = "UIButton", position = { 148, 336 }, customClientRect = { 0, 0, 160, 48 },
              text = "#NOMOVES_END_LEVEL", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
              childs = {
                  { id = "btnEndLevelIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
                  { id = "btnEndLevelHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
              },
              states = {
                  { id = "onIdle", propertyChanges = {
                      { target = "btnEndLevelIdle", property = "transparency", duration = 0.15, value = 1 },
                      { target = "btnEndLevelHigh", property = "transparency", duration = 0.15, value = 0 } } },
                  { id = "onSelect", propertyChanges = {
                      { target = "btnEndLevelHigh", property = "transparency", duration = 0.15, value = 1 } } },
              } },
            { id = "btnContinue", class = "UIButton", position = { 332, 336 }, customClientRect = { 0, 0, 160, 48 },
              text = "#NOMOVES_CONTINUE", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
              childs = {
                  { id = "btnContinueIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
                  { id = "btnContinueHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
              },
              states = {
                  { id = "onIdle", propertyChanges = {
                      { target = "btnContinueIdle", property = "transparency", duration = 0.15, value = 1 },
                      { target = "btnContinueHigh", property = "transparency", duration = 0.15, value = 0 } } },
                  { id = "onSelect", propertyChanges = {
                      { target = "btnContinueHigh", property = "transparency", duration = 0.15, value = 1 } } },
              } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "NomovesLevelWindow", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnEndLevel", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnContinue", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
