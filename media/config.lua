-- Start-up configuration: the platforms the game can run as, the one it runs
-- as, and its language. Read once while the engine starts.
config = {
    platforms = {
        {
            name = "pc",
            -- Content directories, named in filelist.lua; their package lists
            -- are read in this order, so later ones override earlier ones.
            directories = { "common", "pc" },
            -- The design resolution every screen is laid out in.
            resolution = { 1726, 970 },
            -- 1: on screens narrower than the design, the visible width may
            -- shrink down to the minimal aspect before bars appear.
            fullscreenFitType = 1,
            fullscreenMinimalAspect = 1.33,
        },
    },
    currentPlatform = "pc",
    -- No defaultLanguage: English is the only language and the current one,
    -- and a default naming it would only read the same tables twice.
    currentLanguage = "en",
}
