#pragma once
// A content folder holding images: fixture files or crafted bytes are put
// under media/images/ and registered by package and resource name through
// generated package lists, as the game's content is.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "support/content_fixture.h"

namespace TestSupport {

class ImageContentTest : public ContentTest {
protected:
    // Registers a file of the image fixture set under (package, name).
    void addImageFixture(const std::string& package, const std::string& name, const std::string& fixtureFile);
    void addImageBytes(const std::string& package, const std::string& name, const std::vector<uint8_t>& bytes);
    // Writes the configuration and the package lists and loads them.
    void loadImageContent();
    // Deletes the file behind a registered name (the name stays registered).
    void removeImageFile(const std::string& package, const std::string& name);

private:
    std::map<std::string, std::map<std::string, std::string>> mFiles;  // package -> name -> path
};

}  // namespace TestSupport
