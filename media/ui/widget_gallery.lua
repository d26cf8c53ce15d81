-- A window that shows every basic widget class: panel, title, buttons
-- (idle, highlighted, pressed, disabled, one shared by "instance"), a check
-- box, a text edit and labels, with a popup and a hint strip built as
-- related roots; beside it a scene-node host.

WidgetGallery = {
    id = "gallery", class = "UIWidget", position = { 563, 275 },
    related = {
        { filename = "widget_gallery_ui", id = "GalleryHint" },
        { filename = "widget_gallery_ui", id = "GalleryPopup" },
    },
    childs = {
        { id = "panel", class = "UISprite", imagename = "widget_sprites", tablename = "Panel", size = { 600, 420 } },
        { id = "title", class = "UILabel", text = "#GALLERY_TITLE", fontPreset = "font_presets_lua:title",
          position = { 0, 30 }, size = { 600, 54 } },

        -- Closes the window through the script command "hide".
        { id = "closeButton", class = "UIButton", position = { 40, 112 },
          text = "#GALLERY_CLOSE", fontPreset = "font_presets_lua:button", color = { 58, 32, 14, 255 },
          childs = {
              { id = "closeIdle", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonIdle" },
              { id = "closeHigh", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonHighlighted" },
              { id = "closePress", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonPressed" },
          },
          states = {
              { id = "onIdle", propertyChanges = {
                  { target = "closeIdle", property = "transparency", duration = 0.15, value = 1 },
                  { target = "closeHigh", property = "transparency", duration = 0.15, value = 0 },
                  { target = "closePress", property = "transparency", duration = 0.1, value = 0 },
              } },
              { id = "onSelect", propertyChanges = {
                  { target = "closeHigh", property = "transparency", duration = 0.15, value = 1 },
                  { target = "closePress", property = "transparency", duration = 0.1, value = 0 },
              } },
              { id = "onPress", propertyChanges = {
                  { target = "closePress", property = "transparency", duration = 0.05, value = 1 },
                  { target = "closeButton", property = "offset", duration = 0.05, value = { 0, 2 } },
              } },
              { id = "onHide", propertyChanges = {
                  { target = "closeButton", property = "offset", duration = 0, value = { 0, 0 } },
                  { target = "closeIdle", property = "transparency", duration = 0.25, value = 0 },
                  { target = "closeHigh", property = "transparency", duration = 0.25, value = 0 },
                  { target = "closePress", property = "transparency", duration = 0.25, value = 0 },
              } },
          } },

        -- Disabled when the window is built: its "onDisable" look.
        { id = "lockedButton", class = "UIButton", position = { 220, 112 }, enabled = 0,
          text = "#GALLERY_LOCKED", fontPreset = "font_presets_lua:button", color = { 225, 220, 210, 255 },
          childs = {
              { id = "lockedOff", class = "UISprite", imagename = "widget_sprites", tablename = "ButtonDisabled" },
          },
          states = {
              { id = "onDisable", propertyChanges = {
                  { target = "lockedOff", property = "transparency", duration = 0.15, value = 1 },
                  { target = "caption", property = "transparency", duration = 0.15, value = 0.8 },
              } },
          } },

        -- Built from the shared table; opens the popup.
        { id = "tipsButton", class = "UIButton", instance = "#widget_parts_ui:SharedButton", position = { 400, 112 } },

        { id = "soundBox", class = "UICheckBox", position = { 48, 200 }, thumb = "tick",
          childs = {
              { id = "boxFace", class = "UISprite", imagename = "widget_sprites", tablename = "CheckBox" },
              { id = "tick", class = "UISprite", imagename = "widget_sprites", tablename = "CheckTick" },
          } },
        { id = "checkLabel", class = "UILabel", text = "#GALLERY_CHECK", font = "main_font_fnt",
          color = { 58, 32, 14, 255 }, position = { 92, 200 }, size = { 300, 32 }, valign = 1 },

        { id = "nameLabel", class = "UILabel", text = "#GALLERY_NAME", font = "main_font_fnt",
          color = { 58, 32, 14, 255 }, position = { 48, 262 }, size = { 150, 36 }, valign = 1 },
        { id = "editFace", class = "UISprite", imagename = "widget_sprites", tablename = "EditField",
          position = { 200, 262 }, size = { 320, 36 } },
        -- The text is centred on the field; the caret takes the edit's colour.
        { id = "nameEdit", class = "UITextEdit", position = { 360, 280 }, maxLength = 12, filterSpecialCharacters = 1,
          font = "main_font_fnt", color = { 40, 24, 12, 255 },
          states = {
              { id = "onIdle", propertyChanges = {
                  { target = "nameEdit", property = "transparency", duration = 0.25, value = 1 },
                  { target = "nameEdit", property = "color", duration = 0, value = { 40, 24, 12, 255 } },
              } },
          } },
        -- As wide as the field above it.
        { id = "nameHint", class = "UILabel", text = "#GALLERY_NAME_HINT", fontPreset = "font_presets_lua:small",
          color = { 110, 80, 50, 255 }, position = { 200, 304 }, sizeof = "editFace", halign = 1, wordWrap = 0 },

        { id = "footer", class = "UILabel", text = "#GALLERY_FOOTER", fontPreset = "font_presets_lua:small",
          color = { 110, 80, 50, 255 }, position = { 40, 350 }, size = { 520, 40 }, halign = 1, valign = 1 },

        -- Scene-node hosts: a window scene beside the gallery whose markers
        -- follow the host's states, and inside it a host that borrows the
        -- window's lantern and lifts it while the pointer is on it.
        { id = "sceneHost", class = "UISceneNode", scene = "scene_window_xml", position = { -470, 40 },
          states = {
              { id = "onIdle", propertyChanges = {
                  { target = "sceneHost", property = "transparency", duration = 0.25, value = 1 } } },
          },
          childs = {
              { id = "lampHost", class = "UISceneNode", scene = "@parent/window/lamp",
                states = {
                    { id = "onIdle", propertyChanges = {
                        { target = "lampHost", property = "offset", duration = 0.15, value = { 0, 0 } } } },
                    { id = "onSelect", propertyChanges = {
                        { target = "lampHost", property = "offset", duration = 0.15, value = { 0, -14 } } } },
                } },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "gallery", property = "transparency", duration = 0.25, value = 1 },
            { target = "panel", property = "transparency", duration = 0.25, value = 1 },
            { target = "title", property = "transparency", duration = 0.25, value = 1 },
            { target = "boxFace", property = "transparency", duration = 0.25, value = 1 },
            { target = "tick", property = "transparency", duration = 0.25, value = 1 },
            { target = "checkLabel", property = "transparency", duration = 0.25, value = 1 },
            { target = "nameLabel", property = "transparency", duration = 0.25, value = 1 },
            { target = "editFace", property = "transparency", duration = 0.25, value = 1 },
            { target = "nameHint", property = "transparency", duration = 0.25, value = 1 },
            { target = "footer", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    events = {
        { element = "closeButton", slot = "clicked", command = "hide:gallery" },
        { element = "tipsButton", slot = "clicked", command = "show:galleryPopup" },
    },
    initialState = "onIdle",
}

-- A small window over the gallery; a press outside it closes it.
GalleryPopup = {
    id = "galleryPopup", class = "UIWidget", position = { 713, 560 }, hideWidgetOnOutsideClick = 1,
    customClientRect = { 0, 0, 300, 130 },
    childs = {
        { id = "popupPanel", class = "UISprite", imagename = "widget_sprites", tablename = "Panel", size = { 300, 130 } },
        { id = "popupText", class = "UILabel", text = "#GALLERY_POPUP", fontPreset = "font_presets_lua:small",
          color = { 58, 32, 14, 255 }, position = { 24, 40 }, size = { 252, 70 }, halign = 1, valign = 1 },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "galleryPopup", property = "transparency", duration = 0.2, value = 1 },
            { target = "popupPanel", property = "transparency", duration = 0.2, value = 1 },
            { target = "popupText", property = "transparency", duration = 0.2, value = 1 },
        } },
    },
}

-- A strip above the window that never blocks the input of what lies below.
GalleryHint = {
    id = "galleryHint", class = "UIWidget", position = { 563, 222 }, modal = 0,
    childs = {
        { id = "hintStrip", class = "UISprite", imagename = "widget_sprites", tablename = "SliderTrack",
          size = { 600, 40 }, color = { 255, 255, 255, 230 } },
        { id = "hintText", class = "UILabel", text = "#GALLERY_HINT", fontPreset = "font_presets_lua:small",
          color = { 252, 214, 120, 255 }, size = { 600, 40 }, halign = 1, valign = 1 },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "galleryHint", property = "transparency", duration = 0.25, value = 1 },
            { target = "hintStrip", property = "transparency", duration = 0.25, value = 1 },
            { target = "hintText", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
    initialState = "onIdle",
}
