-- The package lists of each content directory, in the order they are read.
-- A list is a resource of package "default" named by its own file name.
directories = {
    common = {
        { "lists/default.lua" },
        { "lists/en.lua" },
    },
    pc = {
        { "lists/pc.lua" },
    },
}
