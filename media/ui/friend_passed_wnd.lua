-- A friend's score passed on a level.
-- Written by tools/ui_gen from its window list.

FriendPassedWnd = {
    id = "FriendPassedWnd", class = "UIWidget", position = { 563, 275 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "friend_passed_wnd_xml",
          childs = {
            { id = "btnClose", class = "UIButton", position = { 548, 12 }, customClientRect = { 0, 0, 40, 40 },
              childs = {
                  { id = "btnCloseFace", class = "UISprite", imagename = "widget_sprites", tablename = "CloseButton" },
              } },
            { id = "btnSend", class = "UIButton", position = { 220, 336 }, customClientRect = { 0, 0, 160, 48 },
              text = "#FRIEND_PASSED_SEND", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
              childs = {
                  { id = "btnSendIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
                  { id = "btnSendHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
              },
              states = {
                  { id = "onIdle", propertyChanges = {
                      { target = "btnSendIdle", property = "transparency", duration = 0.15, value = 1 },
                      { target = "btnSendHigh", property = "transparency", duration = 0.15, value = 0 } } },
                  { id = "onSelect", propertyChanges = {
                      { target = "btnSendHigh", property = "transparency", duration = 0.15, value = 1 } } },
              } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "FriendPassedWnd", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnClose", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnCloseFace", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnSend", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
