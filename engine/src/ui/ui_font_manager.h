#pragma once
// The process-wide cache of the interface's fonts, asked for by resource
// name, loaded once from the font package of the current language and
// shared by reference count; and the reader of text presets, the named
// bundles of alignment, spacing, wrap, colour and font that UI scripts
// refer to. Screens are built on loading threads while the main thread
// draws, so the cache is guarded by a mutex.

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "color.h"
#include "singleton.h"

namespace VQ {

class UIFont;

// Filled by UIFontManager::loadTextPreset; the font is a reference the
// owner gives back with UIFontManager::releaseFont.
struct TextPreset {
    float xcoeff = 0.0f;
    float ycoeff = 0.0f;
    uint32_t halign = 0;
    uint32_t valign = 0;
    bool wordWrap = false;
    UIFont* font = nullptr;
    Color color;
};

class UIFontManager : public Singleton<UIFontManager> {
public:
    UIFontManager();
    // Deletes every font, whatever its reference count.
    ~UIFontManager() override;

    // The font of that name, loaded on first use, with one more reference;
    // null for an empty name. A font that cannot be loaded is fatal.
    UIFont* getFont(const std::string& name);
    // One reference less; the font is deleted with its last one. A font the
    // manager does not hold is ignored.
    void releaseFont(UIFont* font);
    // The package fonts and presets are read from: the "package" value of
    // the current language's "font_settings_xml", or "default" without one.
    // Decided on first use and never again.
    const std::string& getFontPackage();
    // 0 when the table of the preset script (in the font package) was read
    // into `preset`; 1, with `preset` untouched, otherwise.
    int loadTextPreset(const std::string& table, const std::string& script, TextPreset* preset);
    // The same for a script key's form "script:table"; 1 without a ":".
    int loadTextPresetByName(const std::string& scriptAndTable, TextPreset* preset);

    size_t fontCount();

private:
    std::map<std::string, std::unique_ptr<UIFont>> mFonts;
    std::string mFontPackage;
    bool mPackageRead = false;
    // Recursive: a preset takes its font through getFont.
    std::recursive_mutex mMutex;
};

}  // namespace VQ
