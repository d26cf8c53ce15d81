#include "ui/ui_font_manager.h"

#include <pugixml.hpp>

#include <memory>
#include <vector>

#include "fatal_error.h"
#include "file.h"
#include "file_system.h"
#include "lua_script_2.h"
#include "ui/ui_font.h"

namespace VQ {

namespace {
const char* const FILE_TAG = "ui_font_manager";
const char* const DEFAULT_PRESET_FONT = "system_font_fnt";
}  // namespace

UIFontManager::UIFontManager() = default;

UIFontManager::~UIFontManager()
{
    mFonts.clear();
}

UIFont* UIFontManager::getFont(const std::string& name)
{
    if (name.empty())
        return nullptr;
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    auto it = mFonts.find(name);
    if (it == mFonts.end())
        it = mFonts.emplace(name, std::make_unique<UIFont>(name, getFontPackage())).first;
    ++it->second->refCount;
    return it->second.get();
}

void UIFontManager::releaseFont(UIFont* font)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    for (auto it = mFonts.begin(); it != mFonts.end(); ++it) {
        if (it->second.get() != font)
            continue;
        if (--font->refCount <= 0)
            mFonts.erase(it);
        return;
    }
}

size_t UIFontManager::fontCount()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    return mFonts.size();
}

const std::string& UIFontManager::getFontPackage()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (mPackageRead)
        return mFontPackage;
    std::unique_ptr<File> file(FileSystem::instance()->openFile("localization", "font_settings_xml"));
    if (!file) {
        mFontPackage = "default";
    } else {
        std::vector<char> text;
        // A settings file that cannot be read whole was already warned
        // about; the fonts then come from the default package.
        if (!readWholeResource(*file, "font_settings_xml", text)) {
            mFontPackage = "default";
        } else {
            pugi::xml_document document;
            if (!document.load_buffer(text.data(), text.size()))
                assertFailed("VQ", "Failed to parse XML", FILE_TAG, 90);
            mFontPackage = document.child("root").child("package").attribute("value").value();
        }
    }
    mPackageRead = true;
    return mFontPackage;
}

int UIFontManager::loadTextPresetByName(const std::string& scriptAndTable, TextPreset* preset)
{
    const size_t colon = scriptAndTable.find(':');
    if (colon == std::string::npos)
        return 1;
    return loadTextPreset(scriptAndTable.substr(colon + 1), scriptAndTable.substr(0, colon), preset);
}

int UIFontManager::loadTextPreset(const std::string& table, const std::string& script, TextPreset* preset)
{
    if (!preset)
        return 1;
    LuaScript2 lua;
    if (!lua.load(script, getFontPackage()))
        return 1;
    if (!lua.openTable(table))
        return 1;
    TextPreset read;
    lua.getUInt("halign", read.halign, 0);
    lua.getUInt("valign", read.valign, 0);
    lua.getFloat("xcoeff", read.xcoeff, 0.0f);
    lua.getFloat("ycoeff", read.ycoeff, 0.0f);
    lua.getBool("wordWrap", read.wordWrap);
    if (!lua.getColor("color", read.color))
        read.color = Color(0xFFFFFFFFu);
    std::string font;
    if (!lua.getString("font", font))
        font = DEFAULT_PRESET_FONT;
    lua.closeTable();
    read.font = getFont(font);
    *preset = read;
    return 0;
}

}  // namespace VQ
