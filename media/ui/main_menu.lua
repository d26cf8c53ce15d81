-- The main menu: the dusk backdrop with the lantern, the game's title, the
-- buttons that call the menu's script commands, the version and the
-- copyright line.

local function menuButton(id, y, textKey)
    return { id = id, class = "UIButton", position = { 783, y }, customClientRect = { 0, 0, 160, 48 },
        text = textKey, fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
        childs = {
            { id = id .. "Idle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
            { id = id .. "High", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
        },
        states = {
            { id = "onIdle", propertyChanges = {
                { target = id .. "Idle", property = "transparency", duration = 0, value = 1 },
                { target = id .. "High", property = "transparency", duration = 0.15, value = 0 } } },
            { id = "onSelect", propertyChanges = {
                { target = id .. "High", property = "transparency", duration = 0.15, value = 1 } } },
        } }
end

MainMenu = {
    id = "mainMenu", class = "UIWidget", position = { 0, 0 }, size = { 1726, 970 },
    childs = {
        { id = "sky", class = "UISprite", imagename = "menu_sprites", tablename = "Sky", size = { 1726, 970 } },
        { id = "hills", class = "UISprite", imagename = "menu_sprites", tablename = "Hills",
          position = { 0, 534 }, size = { 1726, 436 } },
        { id = "lantern", class = "UISprite", imagename = "menu_sprites", tablename = "Lantern",
          position = { 1290, 420 } },
        { id = "menuPanel", class = "UISprite", imagename = "widget_sprites", tablename = "Panel",
          position = { 653, 250 }, size = { 420, 430 } },
        { id = "ribbon", class = "UISprite", imagename = "widget_sprites", tablename = "TitleRibbon",
          position = { 713, 228 } },
        { id = "title", class = "UILabel", text = "#APP_WINDOW_TITLE", fontPreset = "font_presets_lua:title",
          position = { 733, 232 }, size = { 260, 48 } },
        menuButton("btnStart", 350, "#MENU_PLAY"),
        menuButton("btnOptions", 425, "#MENU_OPTIONS"),
        menuButton("btnFacebook", 500, "#MENU_CONNECT"),
        menuButton("btnExit", 575, "#MENU_EXIT"),
        { id = "#version", class = "UILabel", text = "v1.1", fontPreset = "font_presets_lua:small",
          position = { 24, 930 }, size = { 200, 30 } },
        { id = "#copyright", class = "UILabel", text = "#MENU_COPYRIGHT", fontPreset = "font_presets_lua:small",
          position = { 1402, 930 }, size = { 300, 30 }, halign = 2 },
    },
    initialState = "onIdle",
    events = {
        { element = "btnStart", slot = "clicked", command = "activateMode:MainMode" },
        { element = "btnOptions", slot = "clicked", command = "showOptions" },
        { element = "btnExit", slot = "clicked", command = "exit" },
        { element = "btnFacebook", slot = "clicked", command = "connectFacebook" },
    },
}

-- Shown, every piece is there at once (the loading screen was before it):
-- the root's "onIdle" brings each child to full opacity.
do
    local changes = { { target = "mainMenu", property = "transparency", duration = 0, value = 1 } }
    for _, child in ipairs(MainMenu.childs) do
        table.insert(changes, { target = child.id, property = "transparency", duration = 0, value = 1 })
    end
    MainMenu.states = { { id = "onIdle", propertyChanges = changes } }
end
