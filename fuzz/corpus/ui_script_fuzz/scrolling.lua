Scrolling = { id = "root", class = "UIWidget", initialState = "onIdle", childs = {
    { id = "area", class = "UIScrollArea", position = { 100, 100 }, size = { 300, 200 }, progressBar = "bar",
      orientation = "ver", kinetic = 1, kineticSpeed = 5,
      childs = {
        { id = "a", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", size = { 300, 150 } },
        { id = "b", class = "UISprite", imagename = "widget_sprites", tablename = "ContentRow", size = { 300, 150 }, position = { 0, 150 } },
        { id = "c", class = "UILabel", text = "row", position = { 0, 300 }, size = { 300, 150 } },
      } },
    { id = "bar", class = "UIProgressBar", position = { 410, 100 }, orientation = 1, bar = "fill", thumb = "grip",
      lrOffsets = { 10, 10 }, step = 0.2, kinetic = 1, kineticSpeed = 10,
      childs = {
        { id = "track", class = "UISprite", imagename = "widget_sprites", tablename = "ScrollTrack" },
        { id = "fill", class = "UISprite", imagename = "widget_sprites", tablename = "ScrollFill" },
        { id = "grip", class = "UISprite", imagename = "widget_sprites", tablename = "ScrollGrip" },
      } },
    { id = "slider", class = "UIProgressBar", position = { 100, 400 }, bar = "sfill", thumb = "sthumb", lrOffsets = { 7, 7 },
      childs = {
        { id = "sfill", class = "UISprite", imagename = "widget_sprites", tablename = "SliderFill" },
        { id = "sthumb", class = "UISprite", imagename = "widget_sprites", tablename = "SliderThumb" },
      } },
    { id = "locked", class = "UIProgressBar", position = { 100, 450 }, bar = "lfill", locked = 1,
      childs = { { id = "lfill", class = "UISprite", imagename = "widget_sprites", tablename = "SliderFill" } } },
} }
