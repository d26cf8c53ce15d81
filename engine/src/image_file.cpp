#include <algorithm>
#include <memory>

#include "fatal_error.h"
#include "file_system.h"
#include "image.h"
#include "log_system.h"

namespace VQ {

namespace {

// Opens the resource for a decoder; a missing one is logged and fatal at
// the decoder's check, or null when the caller can do without it.
std::unique_ptr<File> openImageFile(const std::string& name, const std::string& package, const char* fileTag,
                                    int line, bool missingIsFatal)
{
    std::unique_ptr<File> file(FileSystem::instance()->openFile(package, name));
    if (!file && missingIsFatal) {
        log(formatString("ERROR: file '%s' not found in package '%s'", name.c_str(), package.c_str()));
        assertFailed("VQ", "", fileTag, line);
    }
    return file;
}

}  // namespace

bool readImageFile(const std::string& name, const std::string& package, const char* fileTag, int line,
                   std::vector<char>& out)
{
    std::unique_ptr<File> file = openImageFile(name, package, fileTag, line, true);
    return readWholeResource(*file, name, out);
}

bool probeImageFile(const std::string& name, const std::string& package, const char* fileTag, int line,
                    size_t headSize, bool (*matches)(const uint8_t*, size_t), bool missingIsFatal)
{
    std::unique_ptr<File> file = openImageFile(name, package, fileTag, line, missingIsFatal);
    if (!file)
        return false;
    uint8_t head[8];
    headSize = std::min(headSize, sizeof(head));
    size_t got = 0;
    while (got < headSize) {
        const int32_t n = file->read(head + got, int32_t(headSize - got));
        if (n <= 0)
            break;
        got += size_t(n);
    }
    return matches(head, got);
}

}  // namespace VQ
