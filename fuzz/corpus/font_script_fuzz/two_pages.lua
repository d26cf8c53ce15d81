Image = "font2_image"
MIP1 = "font2_image"
MIP1Scale = 2.0
CharList = {
    { 32, 0, 0, 1, 4 },
    { 65, 1, 0, 2, 4 },
    { 98, 2, 0, 1, 4 },
}
CharList1 = {
    { 32, 0, 0, 2, 8 },
    { 65, 1, 0, 4, 8 },
    { 98, 2, 0, 2, 8 },
}
