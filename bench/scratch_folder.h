#pragma once
// A benchmark's own working folder under the temporary directory, so that
// VQ.log and anything else the game writes lands there: entered on
// construction, left (the old working folder back) and removed on
// destruction. Declared before the engine objects, it outlives them.

#include <filesystem>
#include <string>

namespace Bench {

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : mOldCwd(std::filesystem::current_path()), mFolder(std::filesystem::temp_directory_path() / name)
    {
        std::filesystem::create_directories(mFolder);
        std::filesystem::current_path(mFolder);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::current_path(mOldCwd, ignored);
        std::filesystem::remove_all(mFolder, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

private:
    std::filesystem::path mOldCwd;
    std::filesystem::path mFolder;
};

}  // namespace Bench
