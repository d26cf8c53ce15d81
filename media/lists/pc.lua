-- Resources of the pc platform. This list is read after the common ones, so
-- a name listed here replaces the same name of an earlier list.
name = "default"
filelist = {
    { name = "content_info_lua", filename = "pc/content_info.lua" },
}
