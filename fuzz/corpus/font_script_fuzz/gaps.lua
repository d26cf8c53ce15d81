Image = "font2_image"
CharList = {
    { 65, 0, 0, 1, 1 },
    { 67, 1, 0, 1, 1 },
    { 70, 2, 0, 2, 2 },
    "x",
}
