-- The friends' pieces: portrait, photo frame and blank, gifts, lantern, crown, emblem, arrow and letter paper.
-- Written by tools/sprite_art; its XML twin is social_sprites.xml.

Portrait = {
    Image0 = "social_png",
    Package0 = "default",
    SrcRect0 = { 0, 0, 64, 64 },
}

PhotoFrame = {
    Image0 = "social_png",
    Package0 = "default",
    SrcRect0 = { 64, 0, 136, 72 },
}

PhotoBlank = {
    Image0 = "social_png",
    Package0 = "default",
    SrcRect0 = { 136, 0, 200, 64 },
}

Gift = {
    Image0 = "social_png",
    Package0 = "default",
    SrcRect0 = { 200, 0, 256, 56 },
}

Lantern = {
    Image0 = "social_png",
    Package0 = "default",
    SrcRect0 = { 368, 0, 432, 96 },
}

Crown = {
    Image0 = "social_png",
    Package0 = "default",
    SrcRect0 = { 432, 0, 512, 48 },
}

FriendsEmblem = {
    Image0 = "social_png",
    Package0 = "default",
    SrcRect0 = { 0, 96, 128, 176 },
}

PassArrow = {
    Image0 = "social_png",
    Package0 = "default",
    SrcRect0 = { 128, 96, 192, 144 },
}

LetterSheet = {
    Image0 = "social_png",
    Package0 = "default",
    SrcRect0 = { 0, 256, 256, 512 },
}

