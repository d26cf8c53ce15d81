// The shipped texts against the content that shows them: a key the UI
// scripts or the scenes ask for and no table defines shows "!ERROR!" on
// screen, and an entry holding two keys loses the second silently.

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/shipped_content_fixture.h"
#include "ui/text_manager.h"

using namespace TestSupport;

namespace {

const std::string MEDIA = std::string(LANTERRA_SOURCE_DIR) + "/media";

std::vector<std::filesystem::path> filesIn(const std::string& folder, const std::string& extension)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(MEDIA + "/" + folder)) {
        if (entry.path().extension() == extension)
            files.push_back(entry.path());
    }
    return files;
}

class ShippedTextsTest : public ShippedContentTest {
protected:
    void SetUp() override
    {
        ShippedContentTest::SetUp();
        mTexts = std::make_unique<VQ::TextManager>();
        mTexts->reload();
    }
    void TearDown() override
    {
        mTexts.reset();
        ShippedContentTest::TearDown();
    }

    // The keys nobody defines among `keys`, each with where it is used.
    std::vector<std::string> missing(const std::set<std::pair<std::string, std::string>>& keys) const
    {
        std::vector<std::string> result;
        for (const auto& [key, where] : keys) {
            if (mTexts->text(key) == u"!ERROR!")
                result.push_back(key + " (" + where + ")");
        }
        return result;
    }

    std::unique_ptr<VQ::TextManager> mTexts;
};

}  // namespace

TEST_F(ShippedTextsTest, EveryEntryHoldsOneKeyAndOneText)
{
    pugi::xml_document document;
    ASSERT_TRUE(document.load_file((MEDIA + "/en/strings.xml").c_str()));
    std::set<std::string> keys;
    int entries = 0;
    for (pugi::xml_node entry : document.child("root").children()) {
        if (entry.type() != pugi::node_element)
            continue;
        ++entries;
        std::vector<std::string> names;
        for (pugi::xml_node child : entry.children()) {
            if (child.type() == pugi::node_element)
                names.push_back(child.name());
        }
        const std::string key = entry.child_value("text");
        EXPECT_EQ(names, (std::vector<std::string>{"text", "translate"})) << "entry " << entries << " (" << key << ")";
        EXPECT_FALSE(key.empty()) << "entry " << entries;
        EXPECT_TRUE(keys.insert(key).second) << key << " is defined twice";
    }
    EXPECT_EQ(mTexts->size(), keys.size());
}

TEST_F(ShippedTextsTest, EveryKeyTheInterfaceAsksForIsDefined)
{
    // Labels of the UI scripts: a text starting with "#" is a key.
    std::set<std::pair<std::string, std::string>> keys;
    const std::regex label(R"re(\btext\s*=\s*"#([^"]*)")re");
    for (const auto& path : filesIn("ui", ".lua")) {
        const std::string source = readFile(path.string());
        for (std::sregex_iterator it(source.begin(), source.end(), label), end; it != end; ++it)
            keys.insert({(*it)[1].str(), path.filename().string()});
    }
    ASSERT_GT(keys.size(), 20u);

    // Localised text nodes of the scenes; an empty one is filled by the game.
    size_t sceneKeys = 0;
    for (const auto& path : filesIn("scenes", ".xml")) {
        pugi::xml_document document;
        ASSERT_TRUE(document.load_file(path.c_str())) << path;
        for (pugi::xpath_node found : document.select_nodes("//*[@LocaleEnable='1']")) {
            const std::string key = found.node().attribute("Text").value();
            if (!key.empty()) {
                keys.insert({key, path.filename().string()});
                ++sceneKeys;
            }
        }
    }
    ASSERT_GT(sceneKeys, 20u);

    EXPECT_EQ(missing(keys), std::vector<std::string>{});
    EXPECT_EQ(mTexts->text("BUTTON_YES"), u"Yes");
}

TEST_F(ShippedTextsTest, StartUpReadsTheLanguageOnce)
{
    // One package read once: the only miss is the numbered tables' end.
    std::vector<std::string> failures;
    for (const std::string& line : logLines()) {
        if (line.find("Failed to load locale") != std::string::npos)
            failures.push_back(line);
    }
    EXPECT_EQ(failures, std::vector<std::string>{"Failed to load locale: strings0_xml"});
}
