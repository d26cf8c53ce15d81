-- The social login message window.
-- Written by tools/ui_gen from its window list.

FacebookMessageWnd = {
    id = "FacebookMessageWnd", class = "UIWidget", position = { 603, 335 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "facebook_message_wnd_xml",
          childs = {
            { id = "btnClose", class = "UIButton", position = { 468, 12 }, customClientRect = { 0, 0, 40, 40 },
              childs = {
                  { id = "btnCloseFace", class = "UISprite", imagename = "widget_sprites", tablename = "CloseButton" },
              } },
            { id = "btnLogout", class = "UIButton", position = { 180, 216 }, customClientRect = { 0, 0, 160, 48 },
              text = "#SOCIAL_LOGOUT", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
              childs = {
                  { id = "btnLogoutIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
                  { id = "btnLogoutHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
              },
              states = {
                  { id = "onIdle", propertyChanges = {
                      { target = "btnLogoutIdle", property = "transparency", duration = 0.15, value = 1 },
                      { target = "btnLogoutHigh", property = "transparency", duration = 0.15, value = 0 } } },
                  { id = "onSelect", propertyChanges = {
                      { target = "btnLogoutHigh", property = "transparency", duration = 0.15, value = 1 } } },
              } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "FacebookMessageWnd", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnClose", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnCloseFace", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnLogout", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
