-- The time-limited offer of the map's top panel.
-- Written by tools/ui_gen from its window list.

HolidayPurchaseWindow = {
    id = "HolidayPurchaseWindow", class = "UIWidget", position = { 563, 265 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "holiday_purchase_window_xml",
          childs = {
            { id = "btnClose", class = "UIButton", position = { 548, 12 }, customClientRect = { 0, 0, 40, 40 },
              childs = {
                  { id = "btnCloseFace", class = "UISprite", imagename = "widget_sprites", tablename = "CloseButton" },
              } },
            { id = "btnBuy", class = "UIButton", position = { 220, 356 }, customClientRect = { 0, 0, 160, 48 },
              text = "#SHOP_BUY", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
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
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "HolidayPurchaseWindow", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnClose", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnCloseFace", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnBuy", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
