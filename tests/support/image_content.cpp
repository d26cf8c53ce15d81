#include "support/image_content.h"

#include <filesystem>

#include "support/image_fixture_set.h"

namespace TestSupport {

void ImageContentTest::addImageBytes(const std::string& package, const std::string& name,
                                     const std::vector<uint8_t>& bytes)
{
    const std::string path = "images/" + package + "/" + name;
    writeContent(path, std::string(bytes.begin(), bytes.end()));
    mFiles[package][name] = path;
}

void ImageContentTest::addImageFixture(const std::string& package, const std::string& name,
                                       const std::string& fixtureFile)
{
    addImageBytes(package, name, imageFixture(fixtureFile));
}

void ImageContentTest::loadImageContent()
{
    writeContent("config.lua",
                 "config = { platforms = { { name = \"test\", directories = { \"base\" }, resolution = { 1280, 720 } } },\n"
                 "  currentPlatform = \"test\", currentLanguage = \"en\" }\n");
    std::string directories = "directories = { base = {\n";
    for (const auto& [package, files] : mFiles) {
        std::string list = "name = \"" + package + "\"\nfilelist = {\n";
        for (const auto& [name, path] : files)
            list += "  { name = \"" + name + "\", filename = \"" + path + "\" },\n";
        list += "}\n";
        writeContent("lists/" + package + ".lua", list);
        directories += "  { \"lists/" + package + ".lua\" },\n";
    }
    writeContent("filelist.lua", directories + "} }\n");
    loadAll();
}

void ImageContentTest::removeImageFile(const std::string& package, const std::string& name)
{
    std::filesystem::remove(contentPath(mFiles.at(package).at(name)));
}

}  // namespace TestSupport
