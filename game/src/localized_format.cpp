#include "localized_format.h"

#include "main_mode.h"
#include "ui/text_manager.h"

std::string substituteOne(const std::string& format, const std::string& value)
{
    for (size_t i = 0; i + 1 < format.size(); ++i) {
        if (format[i] == '%' && (format[i + 1] == 'd' || format[i + 1] == 's'))
            return format.substr(0, i) + value + format.substr(i + 2);
    }
    return format;
}

std::string formatLocalized(const std::string& key, const std::string& value)
{
    std::string format = key;
    if (VQ::TextManager::exists())
        format = VQ::wideToAnsi(VQ::TextManager::instance()->text(key));
    return substituteOne(format, value);
}

std::string formatLocalized(const std::string& key, int value)
{
    return formatLocalized(key, std::to_string(value));
}

std::string levelTitleText(const LevelInfo& level)
{
    if (level.titleIsKey && VQ::TextManager::exists())
        return VQ::wideToAnsi(VQ::TextManager::instance()->text(level.title));
    return level.title;
}
