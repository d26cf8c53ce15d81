-- Widget tables shared by several windows, built into them by "instance".

-- A lantern-amber button whose looks fade into each other: idle,
-- highlighted under the pointer, pressed while held.
SharedButton = {
    id = "sharedButton", class = "UIButton",
    text = "#GALLERY_SHARED", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
    childs = {
        { id = "sharedIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
        { id = "sharedHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
        { id = "sharedPress", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonPressed" },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "sharedIdle", property = "transparency", duration = 0.15, value = 1 },
            { target = "sharedHigh", property = "transparency", duration = 0.15, value = 0 },
            { target = "sharedPress", property = "transparency", duration = 0.1, value = 0 },
        } },
        { id = "onSelect", propertyChanges = {
            { target = "sharedHigh", property = "transparency", duration = 0.15, value = 1 },
            { target = "sharedPress", property = "transparency", duration = 0.1, value = 0 },
        } },
        { id = "onPress", propertyChanges = {
            { target = "sharedPress", property = "transparency", duration = 0.05, value = 1 },
        } },
    },
}
