-- English texts and fonts, opened through the package "localization" while
-- the current language is "en".
name = "en"
filelist = {
}
