-- The tutorial's hint window: the bubble, the arrow and the close button
-- over the darkened screen; the game places the root on the point taught.
-- Written by tools/ui_gen.

TutorialWindow = {
    id = "TutorialWindow", class = "UIWidget", position = { 863, 485 },
    childs = {
        { id = "gui", class = "UISceneNode", scene = "tutorial_window_xml",
          childs = {
            { id = "btnClose", class = "UIButton", position = { -1800, -1000 },
              customClientRect = { 0, 0, 3600, 2000 } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "TutorialWindow", property = "transparency", duration = 0.2, value = 1 },
            { target = "gui", property = "transparency", duration = 0.2, value = 1 },
            { target = "btnClose", property = "transparency", duration = 0.2, value = 1 },
        } },
    },
    initialState = "onIdle",
}
