-- The level start window.
-- Written by tools/ui_gen from its window list.

PlayLevelWindow = {
    id = "PlayLevelWindow", class = "UIWidget", position = { 543, 205 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "play_level_window_xml",
          childs = {
            { id = "btnClose", class = "UIButton", position = { 588, 12 }, customClientRect = { 0, 0, 40, 40 },
              childs = {
                  { id = "btnCloseFace", class = "UISprite", imagename = "widget_sprites", tablename = "CloseButton" },
              } },
            { id = "btnPlay", class = "UIButton", position = { 240, 476 }, customClientRect = { 0, 0, 160, 48 },
              text = "#PLAY_LEVEL_PLAY", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
              childs = {
                  { id = "btnPlayIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
                  { id = "btnPlayHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
              },
              states = {
                  { id = "onIdle", propertyChanges = {
                      { target = "btnPlayIdle", property = "transparency", duration = 0.15, value = 1 },
                      { target = "btnPlayHigh", property = "transparency", duration = 0.15, value = 0 } } },
                  { id = "onSelect", propertyChanges = {
                      { target = "btnPlayHigh", property = "transparency", duration = 0.15, value = 1 } } },
              } },
            { id = "btnBonusBuy1", class = "UIButton", position = { 136, 340 }, customClientRect = { 0, 0, 96, 96 } },
            { id = "btnBonusBuy2", class = "UIButton", position = { 272, 340 }, customClientRect = { 0, 0, 96, 96 } },
            { id = "btnBonusBuy3", class = "UIButton", position = { 408, 340 }, customClientRect = { 0, 0, 96, 96 } },
            { id = "leftListFriends", class = "UISceneList", scene = "@parent/window/leftListFriends_node", orient = "ver", position = { -180, 127 }, customClientRect = { 0, 0, 150, 346 } },
            { id = "bottomListFriends", class = "UISceneList", scene = "@parent/window/bottomListFriends_node", orient = "hor", position = { 34, 600 }, customClientRect = { 0, 0, 572, 120 } },
            { id = "facebook_btn_left", class = "UIWidget", position = { -184, 240 },
              childs = {
                  { id = "facebook_btn_leftEmblem", class = "UISprite", position = { 16, 0 }, imagename = "social_sprites", tablename = "FriendsEmblem" },
              } },
            { id = "facebook_btn_bottom", class = "UIWidget", position = { 120, 608 },
              childs = {
                  { id = "facebook_btn_bottomEmblem", class = "UISprite", position = { 136, 0 }, imagename = "social_sprites", tablename = "FriendsEmblem" },
              } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "PlayLevelWindow", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnClose", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnCloseFace", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnPlay", property = "transparency", duration = 0.25, value = 1 },
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
