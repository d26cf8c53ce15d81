-- English texts and fonts, opened through the package "localization" while
-- the current language is "en".
name = "en"
filelist = {
    { name = "strings_xml", filename = "en/strings.xml" },
}
