-- Identifies the content set; a platform's list may replace it.
contentName = "Lanterra sample content"
platform = "any"
