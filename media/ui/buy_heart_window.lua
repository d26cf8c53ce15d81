-- The heart shop, opened from the map.
-- Written by tools/ui_gen from its window list.

BuyHeartWindow = {
    id = "BuyHeartWindow", class = "UIWidget", position = { 583, 275 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "buy_heart_window_xml",
          childs = {
            { id = "btnClose", class = "UIButton", position = { 508, 12 }, customClientRect = { 0, 0, 40, 40 },
              childs = {
                  { id = "btnCloseFace", class = "UISprite", imagename = "widget_sprites", tablename = "CloseButton" },
              } },
            { id = "buyGroup", class = "UIWidget", position = { 108, 336 },
              childs = {
                { id = "btnBuy", class = "UIButton", position = { 0, 0 }, customClientRect = { 0, 0, 160, 48 },
                  text = "#BUY_HEART_BUY", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
                  childs = {
                      { id = "btnBuyIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
                      { id = "btnBuyHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
                  },
                  states = {
                      { id = "onIdle", propertyChanges = {
                          { target = "btnBuyIdle", property = "transparency", duration = 0.15, value = 1 },
                          { target = "btnBuyHigh", property = "transparency", duration = 0.15, value = 0 } } },
                      { id = "onSelect", propertyChanges = {
                          { target = "btnBuyHigh", property = "transparency", duration = 0.15, value = 1 } } },
                  } },
              } },
            { id = "btnAskFriends", class = "UIButton", position = { 292, 336 }, customClientRect = { 0, 0, 160, 48 },
              text = "#BUY_HEART_ASK", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
              childs = {
                  { id = "btnAskFriendsIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
                  { id = "btnAskFriendsHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
              },
              states = {
                  { id = "onIdle", propertyChanges = {
                      { target = "btnAskFriendsIdle", property = "transparency", duration = 0.15, value = 1 },
                      { target = "btnAskFriendsHigh", property = "transparency", duration = 0.15, value = 0 } } },
                  { id = "onSelect", propertyChanges = {
                      { target = "btnAskFriendsHigh", property = "transparency", duration = 0.15, value = 1 } } },
              } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "BuyHeartWindow", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnClose", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnCloseFace", property = "transparency", duration = 0.25, value = 1 },
            { target = "buyGroup", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnBuy", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnAskFriends", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
