-- The won level's window.
-- Written by tools/ui_gen from its window list.

WinLevelWindow = {
    id = "WinLevelWindow", class = "UIWidget", position = { 543, 265 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "win_level_window_xml",
          childs = {
            { id = "btnClose", class = "UIButton", position = { 588, 12 }, customClientRect = { 0, 0, 40, 40 },
              childs = {
                  { id = "btnCloseFace", class = "UISprite", imagename = "widget_sprites", tablename = "CloseButton" },
              } },
            { id = "btnNext", class = "UIButton", position = { 240, 356 }, customClientRect = { 0, 0, 160, 48 },
              text = "#WIN_NEXT", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
              childs = {
                  { id = "btnNextIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
                  { id = "btnNextHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
              },
              states = {
                  { id = "onIdle", propertyChanges = {
                      { target = "btnNextIdle", property = "transparency", duration = 0.15, value = 1 },
                      { target = "btnNextHigh", property = "transparency", duration = 0.15, value = 0 } } },
                  { id = "onSelect", propertyChanges = {
                      { target = "btnNextHigh", property = "transparency", duration = 0.15, value = 1 } } },
              } },
            { id = "leftListFriends", class = "UISceneList", scene = "@parent/window/leftListFriends_node", orient = "ver", position = { 668, 93 }, customClientRect = { 0, 0, 150, 294 } },
            { id = "bottomListFriends", class = "UISceneList", scene = "@parent/window/bottomListFriends_node", orient = "hor", position = { 34, 480 }, customClientRect = { 0, 0, 572, 120 } },
            { id = "facebook_btn_left", class = "UIWidget", position = { 664, 180 },
              childs = {
                  { id = "facebook_btn_leftEmblem", class = "UISprite", position = { 16, 0 }, imagename = "social_sprites", tablename = "FriendsEmblem" },
              } },
            { id = "facebook_btn_bottom", class = "UIWidget", position = { 120, 488 },
              childs = {
                  { id = "facebook_btn_bottomEmblem", class = "UISprite", position = { 136, 0 }, imagename = "social_sprites", tablename = "FriendsEmblem" },
              } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "WinLevelWindow", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnClose", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnCloseFace", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnNext", property = "transparency", duration = 0.25, value = 1 },
            { target = "leftListFriends", property = "transparency", duration = 0.25, value = 1 },
            { target = "bottomListFriends", property = "transparency", duration = 0.25, value = 1 },
            { target = "facebook_btn_left", property = "transparency", duration = 0.25, value = 1 },
            { target = "facebook_btn_leftEmblem", property = "transparency", duration = 0.25, value = 1 },
            { target = "facebook_btn_bottom", property = "transparency", duration = 0.25, value = 1 },
            { target = "facebook_btn_bottomEmblem", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
