Host = { id = "host", class = "UISceneNode", scene = "scene_window_xml", position = { 100, 100 }, scale = { 1, 1 },
         states = { { id = "onIdle", propertyChanges = { { target = "host", property = "transparency", duration = 0, value = 1 } } },
                    { id = "onSelect", propertyChanges = { { target = "inner", property = "offset", duration = 0.1, value = { 0, -8 } } } } },
         childs = { { id = "inner", class = "UISceneNode", scene = "@parent/window/lamp" },
                    { id = "lost", class = "UISceneNode", scene = "@parent/nowhere" },
                    { id = "bare", class = "UISceneNode", scene = "@parent" } } }
Missing = { id = "missing", class = "UISceneNode", scene = "no_scene_xml" }
