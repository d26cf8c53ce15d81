-- The pieces of the example dialog: panel, title ribbon, close button, portrait mask and portrait.
-- Written by tools/sprite_art; its XML twin is dialog_example_sprites.xml.

Panel = {
    Image0 = "dialog_example_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 420, 300 },
}

Ribbon = {
    Image0 = "dialog_example_png",
    Package0 = "default",
    SrcRect0 = { 0, 304, 260, 360 },
}

Close = {
    Image0 = "dialog_example_png",
    Package0 = "default",
    SrcRect0 = { 264, 304, 312, 352 },
}

PortraitMask = {
    Image0 = "dialog_example_png",
    Package0 = "default",
    SrcRect0 = { 320, 304, 416, 400 },
}

Portrait = {
    Image0 = "dialog_example_png",
    Package0 = "default",
    SrcRect0 = { 416, 304, 512, 400 },
}

