List = { id = "list", class = "UIListView", position = { 200, 150 }, size = { 220, 120 }, progressBar = "listBar",
         selectionImagename = "widget_sprites", selectionTablename = "ListSelection", lineHeight = 32,
         fontPreset = "font_presets_lua:label", initialState = "onIdle",
         childs = {
           { id = "childScrollArea", class = "UIScrollArea", childs = {
               { id = "i0", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow" },
               { id = "i1", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", position = { 0, 40 } },
               { id = "i2", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", position = { 0, 80 } },
               { id = "i3", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", position = { 0, 120 } },
           } },
           { id = "listBar", class = "UIProgressBar", position = { 230, 0 }, orientation = 1, kinetic = 1 },
         } }
Bare = { id = "bare", class = "UIListView", orientation = "hor", size = { 100, 40 },
         childs = { { id = "childScrollArea", class = "UIWidget" } } }
Sparkle = { id = "sparkle", class = "UIParticleFX", filename = "ui_sparkle_fx", position = { 500, 300 },
            initialState = "onIdle",
            states = { { id = "onIdle", propertyChanges = { { target = "sparkle", property = "transparency", duration = 0.2, value = 1 } } } } }
NoFile = { id = "nofile", class = "UIParticleFX" }
