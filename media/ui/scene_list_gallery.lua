-- Two scene lists side by side: a strip of shop rows that scrolls with the
-- pointer, the wheel or its scroll bar, and a book of almanac pages turned
-- by a drag, the wheel, its buttons or its page bar. The strip takes its
-- first four rows from its own scene by path and adds two from the item
-- scene; the book's pages are its scene's own.

SceneListGallery = {
    id = "sceneListGallery", class = "UIWidget",
    childs = {
        { id = "stripList", class = "UISceneList", scene = "scene_strip_list_xml", orient = "ver", scrolling = 3,
          position = { 300, 160 },
          -- The list plays its scene's marker of each state's name.
          states = { { id = "onIdle", propertyChanges = {
              { target = "stripList", property = "transparency", duration = 0.25, value = 1 } } } },
          items = {
              { scene = "/row_oil", id = "oil" },
              { scene = "/row_wick", id = "wick" },
              { scene = "/row_glass", id = "glass" },
              { scene = "/row_brass", id = "brass" },
              { scene = "scene_list_item_xml", id = "lantern" },
              { scene = "scene_list_item_xml", id = "lantern2" },
          } },
        { id = "bookList", class = "UISceneList", scene = "scene_book_list_xml", type = "book", orient = "hor",
          scrolling = 3, position = { 946, 160 },
          -- The list plays its scene's marker of each state's name.
          states = { { id = "onIdle", propertyChanges = {
              { target = "bookList", property = "transparency", duration = 0.25, value = 1 } } } },
          items = {
              { scene = "/page_lantern", id = "lantern" },
              { scene = "/page_river", id = "river" },
              { scene = "/page_market", id = "market" },
              { scene = "/page_tower", id = "tower" },
          } },
    },
    states = {
        { id = "onIdle", propertyChanges = {
            { target = "sceneListGallery", property = "transparency", duration = 0.25, value = 1 } } },
    },
    initialState = "onIdle",
}
