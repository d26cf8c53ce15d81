-- The message on a closed way of the map.
-- Written by tools/ui_gen from its window list.

BlockerMessageWindow = {
    id = "BlockerMessageWindow", class = "UIWidget", position = { 583, 325 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "blocker_message_window_xml",
          childs = {
            { id = "btnClose", class = "UIButton", position = { 508, 12 }, customClientRect = { 0, 0, 40, 40 },
              childs = {
                  { id = "btnCloseFace", class = "UISprite", imagename = "widget_sprites", tablename = "CloseButton" },
              } },
            { id = "btnBuyStars", class = "UIButton", position = { 200, 236 }, customClientRect = { 0, 0, 160, 48 },
              text = "#BLOCKER_BUY_STARS", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
              childs = {
                  { id = "btnBuyStarsIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
                  { id = "btnBuyStarsHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
              },
              states = {
                  { id = "onIdle", propertyChanges = {
                      { target = "btnBuyStarsIdle", property = "transparency", duration = 0.15, value = 1 },
                      { target = "btnBuyStarsHigh", property = "transparency", duration = 0.15, value = 0 } } },
                  { id = "onSelect", propertyChanges = {
                      { target = "btnBuyStarsHigh", property = "transparency", duration = 0.15, value = 1 } } },
              } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "BlockerMessageWindow", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnClose", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnCloseFace", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnBuyStars", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
