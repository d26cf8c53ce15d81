-- The level map's interface: the top panel with the player's stars and
-- silver, the menu and mail buttons and the star shop's button, over
-- the map. The scene "map_interface_xml" draws it all; the buttons here are
-- the areas that take the clicks.
-- Written by tools/ui_gen.

MapInterface = {
    id = "gui", class = "UISceneNode", scene = "map_interface_xml", position = { 0, 0 },
    childs = {
        { id = "btnMenu", class = "UIButton", position = { 1101, 22 }, customClientRect = { 0, 0, 72, 72 } },
        { id = "btnMail", class = "UIButton", position = { 459, 22 }, customClientRect = { 0, 0, 72, 72 } },
        { id = "btnBuyStars", class = "UIButton", position = { 781, 36 }, customClientRect = { 0, 0, 44, 44 } },
        { id = "btnAction", class = "UIButton", position = { 563, 26 }, customClientRect = { 0, 0, 180, 62 } },
    },
    initialState = "onIdle",
    events = {
        { element = "btnMenu", slot = "clicked", command = "showMenu" },
        { element = "btnMail", slot = "clicked", command = "showMail" },
        { element = "btnBuyStars", slot = "clicked", command = "showBuyStarsWindow" },
        { element = "btnAction", slot = "clicked", command = "buyHolidayPurchase" },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "gui", property = "transparency", duration = 0, value = 1 },
            { target = "btnMenu", property = "transparency", duration = 0, value = 1 },
            { target = "btnMail", property = "transparency", duration = 0, value = 1 },
            { target = "btnBuyStars", property = "transparency", duration = 0, value = 1 },
            { target = "btnAction", property = "transparency", duration = 0, value = 1 },
        } },
    },
}
