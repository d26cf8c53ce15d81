#include "ui/text_manager.h"

#include <pugixml.hpp>

#include <vector>

#include "config_manager.h"
#include "fatal_error.h"
#include "file_system.h"
#include "log_system.h"
#include "utils.h"

namespace VQ {

namespace {

const std::u16string MISSING_TEXT = u"!ERROR!";

}  // namespace

void TextManager::reload()
{
    mTexts.clear();
    const std::string& defaultLanguage = ConfigManager::instance()->defaultLanguage();
    if (!defaultLanguage.empty())
        loadPackage(defaultLanguage);
    loadPackage("localization");
}

const std::u16string& TextManager::text(const std::string& key) const
{
    auto it = mTexts.find(key);
    return it != mTexts.end() ? it->second : MISSING_TEXT;
}

void TextManager::loadPackage(const std::string& package)
{
    loadTable(package, "strings_xml");
    for (int index = 0;; ++index) {
        if (!loadTable(package, formatString("strings%i_xml", index)))
            break;
    }
}

bool TextManager::loadTable(const std::string& package, const std::string& name)
{
    File* file = FileSystem::instance()->openFile(package, name);
    if (!file) {
        log(formatString("Failed to load locale: %s", name.c_str()));
        return false;
    }
    std::vector<char> data;
    const bool read = readWholeResource(*file, name, data);
    delete file;
    if (!read) {
        log(formatString("Failed to load locale: %s", name.c_str()));
        return false;
    }

    pugi::xml_document document;
    if (!document.load_buffer(data.data(), data.size()))
        assertFailed("VQ", "Failed to parse XML", "text_manager", 45);

    for (pugi::xml_node entry : document.child("root").children()) {
        if (entry.type() != pugi::node_element)
            continue;
        const std::string key = entry.child_value("text");
        const std::string translation = entry.child_value("translate");
        if (!isValidUtf8(translation))
            assertFailed("VQ", "", "text_manager", 55);
        mTexts[key] = utf8ToWide(translation);
    }
    return true;
}

std::u16string ansiToWide(const std::string& text)
{
    return utf8ToWide(text);
}

std::string wideToAnsi(const std::u16string& text)
{
    return wideToUtf8(text);
}

}  // namespace VQ
