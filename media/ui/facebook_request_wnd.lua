-- The friends' requests, opened by the map's mail button.
-- Written by tools/ui_gen from its window list.

FacebookRequestWnd = {
    id = "FacebookRequestWnd", class = "UIWidget", position = { 563, 245 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "facebook_request_wnd_xml",
          childs = {
            { id = "btnClose", class = "UIButton", position = { 548, 12 }, customClientRect = { 0, 0, 40, 40 },
              childs = {
                  { id = "btnCloseFace", class = "UISprite", imagename = "widget_sprites", tablename = "CloseButton" },
              } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "FacebookRequestWnd", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnClose", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnCloseFace", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
