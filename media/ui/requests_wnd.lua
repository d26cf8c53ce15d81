-- The friends' requests, opened by the map's mail button.
-- Written by tools/ui_gen from its window list.

RequestsWnd = {
    id = "RequestsWnd", class = "UIWidget", position = { 563, 235 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "requests_wnd_xml",
          childs = {
            { id = "btnClose", class = "UIButton", position = { 548, 12 }, customClientRect = { 0, 0, 40, 40 },
              childs = {
                  { id = "btnCloseFace", class = "UISprite", imagename = "widget_sprites", tablename = "CloseButton" },
              } },
            { id = "btnSelectAll", class = "UIButton", position = { 128, 416 }, customClientRect = { 0, 0, 160, 48 },
              text = "#REQUESTS_SELECT_ALL", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
              childs = {
                  { id = "btnSelectAllIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
                  { id = "btnSelectAllHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
              },
              states = {
                  { id = "onIdle", propertyChanges = {
                      { target = "btnSelectAllIdle", property = "transparency", duration = 0.15, value = 1 },
                      { target = "btnSelectAllHigh", property = "transparency", duration = 0.15, value = 0 } } },
                  { id = "onSelect", propertyChanges = {
                      { target = "btnSelectAllHigh", property = "transparency", duration = 0.15, value = 1 } } },
              } },
            { id = "btnOk", class = "UIButton", position = { 312, 416 }, customClientRect = { 0, 0, 160, 48 },
              text = "#REQUESTS_ACCEPT", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
              childs = {
                  { id = "btnOkIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
                  { id = "btnOkHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
              },
              states = {
                  { id = "onIdle", propertyChanges = {
                      { target = "btnOkIdle", property = "transparency", duration = 0.15, value = 1 },
                      { target = "btnOkHigh", property = "transparency", duration = 0.15, value = 0 } } },
                  { id = "onSelect", propertyChanges = {
                      { target = "btnOkHigh", property = "transparency", duration = 0.15, value = 1 } } },
              } },
            { id = "requests_list", class = "UISceneList", scene = "@parent/window/requestsList", orient = "ver", position = { 40, 112 }, customClientRect = { 0, 0, 520, 260 } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "RequestsWnd", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnClose", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnCloseFace", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnSelectAll", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnOk", property = "transparency", duration = 0.25, value = 1 },
            { target = "requests_list", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
