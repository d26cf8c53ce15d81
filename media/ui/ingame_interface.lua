-- The level interface: the round menu button, placed by the level at its
-- "menuButton" anchor, opens the in-level menu. Written by tools/level_art.

IngameInterface = {
    id = "ingameInterface", class = "UIWidget", position = { 0, 0 }, modal = 0,
    childs = {
        { id = "btnMenu", class = "UIButton", position = { 0, 0 }, customClientRect = { 0, 0, 96, 96 },
          childs = {
              { id = "btnMenuIdle", class = "UISprite", imagename = "level_art_sprites", tablename = "MenuButton" },
              { id = "btnMenuHigh", class = "UISprite", imagename = "level_art_sprites",
                tablename = "MenuButtonHighlighted" },
          },
          states = {
              { id = "onIdle", propertyChanges = {
                  { target = "btnMenuIdle", property = "transparency", duration = 0, value = 1 },
                  { target = "btnMenuHigh", property = "transparency", duration = 0.15, value = 0 } } },
              { id = "onSelect", propertyChanges = {
                  { target = "btnMenuHigh", property = "transparency", duration = 0.15, value = 1 } } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "ingameInterface", property = "transparency", duration = 0, value = 1 },
            { target = "btnMenu", property = "transparency", duration = 0, value = 1 } } },
    },
    initialState = "onIdle",
    events = {
        { element = "btnMenu", slot = "clicked", command = "showIngameMenu" },
    },
}
