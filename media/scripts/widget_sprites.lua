-- The interface's widget pieces: panel, buttons, check box, edit field, slider, list selection, scroll bar, content row, title ribbon and close button.
-- Written by tools/sprite_art; its XML twin is widget_sprites.xml.

Panel = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 420, 280 },
}

ButtonIdle = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 0, 288, 160, 336 },
}

ButtonHighlighted = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 0, 340, 160, 388 },
}

ButtonPressed = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 0, 392, 160, 440 },
}

ButtonDisabled = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 0, 444, 160, 492 },
}

CheckBox = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 424, 0, 456, 32 },
}

CheckTick = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 460, 0, 492, 32 },
}

SliderThumb = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 424, 40, 456, 72 },
}

EditField = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 176, 288, 396, 324 },
}

SliderTrack = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 176, 332, 396, 346 },
}

SliderFill = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 176, 352, 396, 366 },
}

ListSelection = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 176, 372, 396, 400 },
}

ScrollTrack = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 424, 80, 444, 280 },
}

ScrollFill = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 448, 80, 468, 280 },
}

ScrollGrip = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 472, 80, 496, 120 },
}

ContentRow = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 176, 404, 396, 436 },
}

TitleRibbon = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 176, 444, 476, 500 },
}

CloseButton = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 424, 290, 464, 330 },
}

Shade = {
    Image0 = "widget_png",
    Package0 = "default",
    SrcRect0 = { 484, 300, 500, 316 },
}

