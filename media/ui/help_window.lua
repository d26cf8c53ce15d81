-- The help page: swapping, special chips and goals.
-- Written by tools/ui_gen from its window list.

HelpWindow = {
    id = "HelpWindow", class = "UIWidget", position = { 503, 235 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "help_window_xml",
          childs = {
            { id = "btnClose", class = "UIButton", position = { 668, 12 }, customClientRect = { 0, 0, 40, 40 },
              childs = {
                  { id = "btnCloseFace", class = "UISprite", imagename = "widget_sprites", tablename = "CloseButton" },
              } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "HelpWindow", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnClose", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnCloseFace", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
