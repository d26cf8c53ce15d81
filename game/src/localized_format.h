#pragma once
// Localised texts that carry a value ("Level %s", "Score: %d"): a
// translation is data, so it is never handed to printf. The first "%d" or
// "%s" takes the value; any other '%' is printed as written.

#include <string>

struct LevelInfo;

// `format` with its first "%d" or "%s" replaced by `value`.
std::string substituteOne(const std::string& format, const std::string& value);
// The text of the localisation key `key` (the key itself without a table)
// with `value` put in.
std::string formatLocalized(const std::string& key, const std::string& value);
std::string formatLocalized(const std::string& key, int value);
// The title of a level, looked up when it is a localisation key.
std::string levelTitleText(const LevelInfo& level);
