#pragma once
// The localised texts: a map from text key to UTF-16 text, filled once at
// start-up from the XML string tables of the default language and of the
// current one. Every visible text of the game is looked up here by key.

#include <map>
#include <string>

#include "singleton.h"

namespace VQ {

class TextManager : public Singleton<TextManager> {
public:
    TextManager() = default;

    // Empties the table, then loads the configuration's default language
    // (when it names one) and then "localization", whose entries win.
    void reload();

    // The text of `key`, or "!ERROR!" when no table defines it. The
    // reference stays valid until the next reload.
    const std::u16string& text(const std::string& key) const;

    size_t size() const { return mTexts.size(); }

    // Reads one table; false when it cannot be opened (logged). Malformed
    // XML and invalid UTF-8 are fatal.
    bool loadTable(const std::string& package, const std::string& name);
    // "strings_xml", then "strings0_xml", "strings1_xml", ... up to the
    // first that is missing.
    void loadPackage(const std::string& package);

private:
    std::map<std::string, std::u16string> mTexts;
};

// Conversions between the system's narrow encoding (UTF-8 on this
// platform) and the engine's wide strings, for player names, paths and
// texts passed between the two forms.
std::u16string ansiToWide(const std::string& text);
std::string wideToAnsi(const std::u16string& text);

}  // namespace VQ
