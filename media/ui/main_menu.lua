-- The main menu: its root hosts the title scene "main_menu_xml" (the dusk,
-- the swaying lantern, the panel, the version and copyright lines); the
-- buttons over it call the menu's script commands.

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
    id = "mainMenu", class = "UISceneNode", scene = "main_menu_xml", position = { 0, 0 },
    childs = {
        menuButton("btnStart", 399, "#MENU_PLAY"),
        menuButton("btnOptions", 467, "#MENU_OPTIONS"),
        menuButton("btnExit", 535, "#MENU_EXIT"),
        menuButton("btnFacebook", 603, "#MENU_CONNECT"),
    },
    initialState = "onIdle",
    events = {
        { element = "btnStart", slot = "clicked", command = "activateMode:MainMode" },
        { element = "btnOptions", slot = "clicked", command = "showOptions" },
        { element = "btnExit", slot = "clicked", command = "exit" },
        { element = "btnFacebook", slot = "clicked", command = "connectFacebook" },
    },
}

-- Shown, every piece is there at once (the loading screen was before it).
do
    local changes = { { target = "mainMenu", property = "transparency", duration = 0, value = 1 } }
    for _, child in ipairs(MainMenu.childs) do
        table.insert(changes, { target = child.id, property = "transparency", duration = 0, value = 1 })
    end
    MainMenu.states = { { id = "onIdle", propertyChanges = changes } }
end
