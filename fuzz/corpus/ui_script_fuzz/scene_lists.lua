Strip = { id = "strip", class = "UISceneList", scene = "scene_strip_list_xml", orient = "ver", scrolling = 3,
          items = { { scene = "/row_oil", id = "a" }, { scene = "/row_oil", id = "again" }, { scene = "/", id = "self" },
                    { scene = "scene_list_item_xml", id = "b" }, { scene = "no_scene_xml" } } }
Book = { id = "book", class = "UISceneList", scene = "scene_book_list_xml", type = "book", orient = "hor", scrolling = 1,
         items = { { scene = "/page_lantern" }, { scene = "/page_river" }, { scene = "/page_market" } } }
Borrowed = { id = "host", class = "UISceneNode", scene = "scene_strip_list_xml",
             childs = { { id = "list", class = "UISceneList", scene = "@parent/#mask", type = "strip" } } }
NoList = { id = "x", class = "UISceneList", scene = "scene_window_xml" }
