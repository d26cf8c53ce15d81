-- The settings of this build of the game: the platform code that the save
-- files carry, and the game modes with their parameters.
platformCode = 0

modes = {
    {
        class = "MainMode",
        params = {
            -- Appended to every level file name.
            { key = "suffix", val = "" },
        },
    },
}
