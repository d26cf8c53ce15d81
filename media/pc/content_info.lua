-- The pc platform's content set.
contentName = "Lanterra sample content"
platform = "pc"
