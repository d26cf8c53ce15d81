-- The in-level menu.
-- Written by tools/ui_gen from its window list.

InGameMenu = {
    id = "InGameMenu", class = "UIWidget", position = { 563, 305 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "ingame_menu_xml",
          childs = {
            { id = "btnClose", class = "UIButton", position = { 548, 12 }, customClientRect = { 0, 0, 40, 40 },
              childs = {
                  { id = "btnCloseFace", class = "UISprite", imagename = "widget_sprites", tablename = "CloseButton" },
              } },
            { id = "btnHelp", class = "UIButton", position = { 36, 276 }, customClientRect = { 0, 0, 160, 48 },
              text = "#MENU_HELP", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
              childs = {
                  { id = "btnHelpIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
                  { id = "btnHelpHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
              },
              states = {
                  { id = "onIdle", propertyChanges = {
                      { target = "btnHelpIdle", property = "transparency", duration = 0.15, value = 1 },
                      { target = "btnHelpHigh", property = "transparency", duration = 0.15, value = 0 } } },
                  { id = "onSelect", propertyChanges = {
                      { target = "btnHelpHigh", property = "transparency", duration = 0.15, value = 1 } } },
              } },
            { id = "btnMap", class = "UIButton", position = { 220, 276 }, customClientRect = { 0, 0, 160, 48 },
              text = "#INGAME_MENU_MAP", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
              childs = {
                  { id = "btnMapIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
                  { id = "btnMapHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
              },
              states = {
                  { id = "onIdle", propertyChanges = {
                      { target = "btnMapIdle", property = "transparency", duration = 0.15, value = 1 },
                      { target = "btnMapHigh", property = "transparency", duration = 0.15, value = 0 } } },
                  { id = "onSelect", propertyChanges = {
                      { target = "btnMapHigh", property = "transparency", duration = 0.15, value = 1 } } },
              } },
            { id = "btnAccept", class = "UIButton", position = { 404, 276 }, customClientRect = { 0, 0, 160, 48 },
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
            { target = "InGameMenu", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnClose", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnCloseFace", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnHelp", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnMap", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnAccept", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
