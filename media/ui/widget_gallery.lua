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

        -- The scrolling widgets, beside the window (table GalleryScrolling).
        { id = "scrolling", class = "UIWidget", instance = "#widget_gallery_ui:GalleryScrolling", position = { 620, -115 } },
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

-- The scrolling widgets: a scroll area with its upright bar, a slider, a
-- kinetic bar that glides to where it is dragged, a list view on a kinetic
-- bar and a sparkle. Built into the gallery beside its window.
GalleryScrolling = {
    id = "scrolling", class = "UIWidget",
    childs = {
        { id = "sidePanel", class = "UISprite", imagename = "widget_sprites", tablename = "Panel", size = { 520, 555 } },
        { id = "sideTitle", class = "UILabel", text = "#GALLERY_SCROLL_TITLE", fontPreset = "font_presets_lua:title",
          position = { 0, 32 }, size = { 520, 54 } },

        -- Eight rows seen four and a half at a time; the bar beside them
        -- scrolls them (and so does the wheel over them).
        { id = "contentArea", class = "UIScrollArea", position = { 30, 135 }, size = { 200, 200 }, progressBar = "contentBar",
          childs = {
            { id = "row0", class = "UIWidget", position = { 0, 0 }, childs = {
                { id = "rowBand0", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", size = { 200, 32 } },
                { id = "rowText0", class = "UILabel", text = "#GALLERY_ROW_1", font = "main_font_fnt", color = { 58, 32, 14, 255 },
                  size = { 200, 30 }, halign = 1, valign = 1 } } },
            { id = "row1", class = "UIWidget", position = { 0, 40 }, childs = {
                { id = "rowBand1", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", size = { 200, 32 } },
                { id = "rowText1", class = "UILabel", text = "#GALLERY_ROW_2", font = "main_font_fnt", color = { 58, 32, 14, 255 },
                  size = { 200, 30 }, halign = 1, valign = 1 } } },
            { id = "row2", class = "UIWidget", position = { 0, 80 }, childs = {
                { id = "rowBand2", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", size = { 200, 32 } },
                { id = "rowText2", class = "UILabel", text = "#GALLERY_ROW_3", font = "main_font_fnt", color = { 58, 32, 14, 255 },
                  size = { 200, 30 }, halign = 1, valign = 1 } } },
            { id = "row3", class = "UIWidget", position = { 0, 120 }, childs = {
                { id = "rowBand3", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", size = { 200, 32 } },
                { id = "rowText3", class = "UILabel", text = "#GALLERY_ROW_4", font = "main_font_fnt", color = { 58, 32, 14, 255 },
                  size = { 200, 30 }, halign = 1, valign = 1 } } },
            { id = "row4", class = "UIWidget", position = { 0, 160 }, childs = {
                { id = "rowBand4", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", size = { 200, 32 } },
                { id = "rowText4", class = "UILabel", text = "#GALLERY_ROW_5", font = "main_font_fnt", color = { 58, 32, 14, 255 },
                  size = { 200, 30 }, halign = 1, valign = 1 } } },
            { id = "row5", class = "UIWidget", position = { 0, 200 }, childs = {
                { id = "rowBand5", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", size = { 200, 32 } },
                { id = "rowText5", class = "UILabel", text = "#GALLERY_ROW_6", font = "main_font_fnt", color = { 58, 32, 14, 255 },
                  size = { 200, 30 }, halign = 1, valign = 1 } } },
            { id = "row6", class = "UIWidget", position = { 0, 240 }, childs = {
                { id = "rowBand6", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", size = { 200, 32 } },
                { id = "rowText6", class = "UILabel", text = "#GALLERY_ROW_7", font = "main_font_fnt", color = { 58, 32, 14, 255 },
                  size = { 200, 30 }, halign = 1, valign = 1 } } },
            { id = "row7", class = "UIWidget", position = { 0, 280 }, childs = {
                { id = "rowBand7", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", size = { 200, 32 } },
                { id = "rowText7", class = "UILabel", text = "#GALLERY_ROW_8", font = "main_font_fnt", color = { 58, 32, 14, 255 },
                  size = { 200, 30 }, halign = 1, valign = 1 } } },
          } },
        { id = "contentBar", class = "UIProgressBar", position = { 236, 135 }, orientation = 1, bar = "contentFill",
          thumb = "contentGrip", lrOffsets = { 10, 10 }, step = 0.25,
          childs = {
              { id = "contentTrack", class = "UISprite", imagename = "widget_sprites", tablename = "ScrollTrack" },
              { id = "contentFill", class = "UISprite", imagename = "widget_sprites", tablename = "ScrollFill" },
              { id = "contentGrip", class = "UISprite", imagename = "widget_sprites", tablename = "ScrollGrip", position = { -2, 0 } },
          } },

        -- A list of places; the highlight marks the one picked.
        { id = "itemList", class = "UIListView", position = { 272, 135 }, size = { 190, 200 }, progressBar = "listBar",
          selectionImagename = "widget_sprites", selectionTablename = "ListSelection", lineHeight = 32,
          childs = { { id = "childScrollArea", class = "UIScrollArea", childs = {
            { id = "item0", class = "UIWidget", position = { 0, 0 }, childs = {
                { id = "itemBand0", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", size = { 190, 32 } },
                { id = "itemText0", class = "UILabel", text = "#GALLERY_ITEM_1", font = "main_font_fnt", color = { 58, 32, 14, 255 },
                  size = { 190, 30 }, halign = 1, valign = 1 } } },
            { id = "item1", class = "UIWidget", position = { 0, 40 }, childs = {
                { id = "itemBand1", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", size = { 190, 32 } },
                { id = "itemText1", class = "UILabel", text = "#GALLERY_ITEM_2", font = "main_font_fnt", color = { 58, 32, 14, 255 },
                  size = { 190, 30 }, halign = 1, valign = 1 } } },
            { id = "item2", class = "UIWidget", position = { 0, 80 }, childs = {
                { id = "itemBand2", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", size = { 190, 32 } },
                { id = "itemText2", class = "UILabel", text = "#GALLERY_ITEM_3", font = "main_font_fnt", color = { 58, 32, 14, 255 },
                  size = { 190, 30 }, halign = 1, valign = 1 } } },
            { id = "item3", class = "UIWidget", position = { 0, 120 }, childs = {
                { id = "itemBand3", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", size = { 190, 32 } },
                { id = "itemText3", class = "UILabel", text = "#GALLERY_ITEM_4", font = "main_font_fnt", color = { 58, 32, 14, 255 },
                  size = { 190, 30 }, halign = 1, valign = 1 } } },
            { id = "item4", class = "UIWidget", position = { 0, 160 }, childs = {
                { id = "itemBand4", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", size = { 190, 32 } },
                { id = "itemText4", class = "UILabel", text = "#GALLERY_ITEM_5", font = "main_font_fnt", color = { 58, 32, 14, 255 },
                  size = { 190, 30 }, halign = 1, valign = 1 } } },
            { id = "item5", class = "UIWidget", position = { 0, 200 }, childs = {
                { id = "itemBand5", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", size = { 190, 32 } },
                { id = "itemText5", class = "UILabel", text = "#GALLERY_ITEM_6", font = "main_font_fnt", color = { 58, 32, 14, 255 },
                  size = { 190, 30 }, halign = 1, valign = 1 } } },
            { id = "item6", class = "UIWidget", position = { 0, 240 }, childs = {
                { id = "itemBand6", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", size = { 190, 32 } },
                { id = "itemText6", class = "UILabel", text = "#GALLERY_ITEM_7", font = "main_font_fnt", color = { 58, 32, 14, 255 },
                  size = { 190, 30 }, halign = 1, valign = 1 } } },
            { id = "item7", class = "UIWidget", position = { 0, 280 }, childs = {
                { id = "itemBand7", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", size = { 190, 32 } },
                { id = "itemText7", class = "UILabel", text = "#GALLERY_ITEM_8", font = "main_font_fnt", color = { 58, 32, 14, 255 },
                  size = { 190, 30 }, halign = 1, valign = 1 } } },
          } } } },
        { id = "listBar", class = "UIProgressBar", position = { 468, 135 }, orientation = 1, bar = "listFill",
          thumb = "listGrip", lrOffsets = { 10, 10 }, kinetic = 1, kineticSpeed = 10,
          childs = {
              { id = "listTrack", class = "UISprite", imagename = "widget_sprites", tablename = "ScrollTrack" },
              { id = "listFill", class = "UISprite", imagename = "widget_sprites", tablename = "ScrollFill" },
              { id = "listGrip", class = "UISprite", imagename = "widget_sprites", tablename = "ScrollGrip", position = { -2, 0 } },
          } },

        -- A slider, and a kinetic bar that glides after the pointer.
        { id = "volumeLabel", class = "UILabel", text = "#GALLERY_VOLUME", font = "main_font_fnt",
          color = { 58, 32, 14, 255 }, position = { 30, 352 }, size = { 140, 36 }, valign = 1 },
        { id = "volumeBar", class = "UIProgressBar", position = { 180, 363 }, bar = "volumeFill", thumb = "volumeThumb",
          lrOffsets = { 7, 7 },
          childs = {
              { id = "volumeTrack", class = "UISprite", imagename = "widget_sprites", tablename = "SliderTrack" },
              { id = "volumeFill", class = "UISprite", imagename = "widget_sprites", tablename = "SliderFill" },
              { id = "volumeThumb", class = "UISprite", imagename = "widget_sprites", tablename = "SliderThumb", position = { 0, -9 } },
          } },
        { id = "glideLabel", class = "UILabel", text = "#GALLERY_GLIDE", font = "main_font_fnt",
          color = { 58, 32, 14, 255 }, position = { 30, 402 }, size = { 140, 36 }, valign = 1 },
        { id = "glideBar", class = "UIProgressBar", position = { 180, 413 }, bar = "glideFill", thumb = "glideThumb",
          lrOffsets = { 7, 7 }, kinetic = 1, kineticSpeed = 3,
          childs = {
              { id = "glideTrack", class = "UISprite", imagename = "widget_sprites", tablename = "SliderTrack" },
              { id = "glideFill", class = "UISprite", imagename = "widget_sprites", tablename = "SliderFill" },
              { id = "glideThumb", class = "UISprite", imagename = "widget_sprites", tablename = "SliderThumb", position = { 0, -9 } },
          } },

        -- Sparkles over the two bars' ends.
        { id = "sparkle", class = "UIParticleFX", filename = "ui_sparkle_fx", position = { 450, 395 } },

        { id = "sideFooter", class = "UILabel", text = "#GALLERY_SCROLL_FOOTER", fontPreset = "font_presets_lua:small",
          color = { 110, 80, 50, 255 }, position = { 30, 455 }, size = { 460, 60 }, halign = 1, valign = 1 },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "scrolling", property = "transparency", duration = 0.25, value = 1 },
            { target = "sidePanel", property = "transparency", duration = 0.25, value = 1 },
            { target = "sideTitle", property = "transparency", duration = 0.25, value = 1 },
            { target = "contentTrack", property = "transparency", duration = 0.25, value = 1 },
            { target = "contentFill", property = "transparency", duration = 0.25, value = 1 },
            { target = "contentGrip", property = "transparency", duration = 0.25, value = 1 },
            { target = "childScrollArea", property = "transparency", duration = 0.25, value = 1 },
            { target = "volumeLabel", property = "transparency", duration = 0.25, value = 1 },
            { target = "volumeTrack", property = "transparency", duration = 0.25, value = 1 },
            { target = "volumeFill", property = "transparency", duration = 0.25, value = 1 },
            { target = "volumeThumb", property = "transparency", duration = 0.25, value = 1 },
            { target = "glideLabel", property = "transparency", duration = 0.25, value = 1 },
            { target = "glideTrack", property = "transparency", duration = 0.25, value = 1 },
            { target = "glideFill", property = "transparency", duration = 0.25, value = 1 },
            { target = "glideThumb", property = "transparency", duration = 0.25, value = 1 },
            { target = "listTrack", property = "transparency", duration = 0.25, value = 1 },
            { target = "listFill", property = "transparency", duration = 0.25, value = 1 },
            { target = "listGrip", property = "transparency", duration = 0.25, value = 1 },
            { target = "sparkle", property = "transparency", duration = 0.25, value = 1 },
            { target = "sideFooter", property = "transparency", duration = 0.25, value = 1 },
            { target = "row0", property = "transparency", duration = 0.25, value = 1 },
            { target = "row1", property = "transparency", duration = 0.25, value = 1 },
            { target = "row2", property = "transparency", duration = 0.25, value = 1 },
            { target = "row3", property = "transparency", duration = 0.25, value = 1 },
            { target = "row4", property = "transparency", duration = 0.25, value = 1 },
            { target = "row5", property = "transparency", duration = 0.25, value = 1 },
            { target = "row6", property = "transparency", duration = 0.25, value = 1 },
            { target = "row7", property = "transparency", duration = 0.25, value = 1 },
            { target = "rowBand0", property = "transparency", duration = 0.25, value = 1 },
            { target = "rowBand1", property = "transparency", duration = 0.25, value = 1 },
            { target = "rowBand2", property = "transparency", duration = 0.25, value = 1 },
            { target = "rowBand3", property = "transparency", duration = 0.25, value = 1 },
            { target = "rowBand4", property = "transparency", duration = 0.25, value = 1 },
            { target = "rowBand5", property = "transparency", duration = 0.25, value = 1 },
            { target = "rowBand6", property = "transparency", duration = 0.25, value = 1 },
            { target = "rowBand7", property = "transparency", duration = 0.25, value = 1 },
            { target = "rowText0", property = "transparency", duration = 0.25, value = 1 },
            { target = "rowText1", property = "transparency", duration = 0.25, value = 1 },
            { target = "rowText2", property = "transparency", duration = 0.25, value = 1 },
            { target = "rowText3", property = "transparency", duration = 0.25, value = 1 },
            { target = "rowText4", property = "transparency", duration = 0.25, value = 1 },
            { target = "rowText5", property = "transparency", duration = 0.25, value = 1 },
            { target = "rowText6", property = "transparency", duration = 0.25, value = 1 },
            { target = "rowText7", property = "transparency", duration = 0.25, value = 1 },
            { target = "item0", property = "transparency", duration = 0.25, value = 1 },
            { target = "item1", property = "transparency", duration = 0.25, value = 1 },
            { target = "item2", property = "transparency", duration = 0.25, value = 1 },
            { target = "item3", property = "transparency", duration = 0.25, value = 1 },
            { target = "item4", property = "transparency", duration = 0.25, value = 1 },
            { target = "item5", property = "transparency", duration = 0.25, value = 1 },
            { target = "item6", property = "transparency", duration = 0.25, value = 1 },
            { target = "item7", property = "transparency", duration = 0.25, value = 1 },
            { target = "itemBand0", property = "transparency", duration = 0.25, value = 0.35 },
            { target = "itemBand1", property = "transparency", duration = 0.25, value = 0.35 },
            { target = "itemBand2", property = "transparency", duration = 0.25, value = 0.35 },
            { target = "itemBand3", property = "transparency", duration = 0.25, value = 0.35 },
            { target = "itemBand4", property = "transparency", duration = 0.25, value = 0.35 },
            { target = "itemBand5", property = "transparency", duration = 0.25, value = 0.35 },
            { target = "itemBand6", property = "transparency", duration = 0.25, value = 0.35 },
            { target = "itemBand7", property = "transparency", duration = 0.25, value = 0.35 },
            { target = "itemText0", property = "transparency", duration = 0.25, value = 1 },
            { target = "itemText1", property = "transparency", duration = 0.25, value = 1 },
            { target = "itemText2", property = "transparency", duration = 0.25, value = 1 },
            { target = "itemText3", property = "transparency", duration = 0.25, value = 1 },
            { target = "itemText4", property = "transparency", duration = 0.25, value = 1 },
            { target = "itemText5", property = "transparency", duration = 0.25, value = 1 },
            { target = "itemText6", property = "transparency", duration = 0.25, value = 1 },
            { target = "itemText7", property = "transparency", duration = 0.25, value = 1 },
            { target = "contentArea", property = "transparency", duration = 0.25, value = 1 },
            { target = "contentBar", property = "transparency", duration = 0.25, value = 1 },
            { target = "volumeBar", property = "transparency", duration = 0.25, value = 1 },
            { target = "glideBar", property = "transparency", duration = 0.25, value = 1 },
            { target = "itemList", property = "transparency", duration = 0.25, value = 1 },
            { target = "listBar", property = "transparency", duration = 0.25, value = 1 },
        } },
    },
}
