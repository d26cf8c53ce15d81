-- The credits.
-- Written by tools/ui_gen from its window list.

AuthorsWindow = {
    id = "AuthorsWindow", class = "UIWidget", position = { 563, 275 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "authors_window_xml",
          childs = {
            { id = "btnClose", class = "UIButton", position = { 548, 12 }, customClientRect = { 0, 0, 40, 40 },
              childs = {
                  { id = "btnCloseFace", class = "UISprite", imagename = "widget_sprites", tablename = "CloseButton" },
              } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "AuthorsWindow", property = "transparency", duration = 0.25, value = 1 },
            { target = "gui", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnClose", property = "transparency", duration = 0.25, value = 1 },
            { target = "btnCloseFace", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
