-- Resources every platform and language shares.
-- One line per resource: the name carries the file kind after an underscore.
name = "default"
filelist = {
    { name = "content_info_lua", filename = "scripts/content_info.lua" },
    { name = "platform_config_lua", filename = "scripts/platform_config.lua" },
}
