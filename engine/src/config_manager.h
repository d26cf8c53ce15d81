#pragma once
// The start-up configuration from "/config.lua" (package "default", name
// "config"): the platforms the program can run as, each with its content
// directories, design resolution and screen fitting, the one selected, and
// the language. Read once while the engine starts; read-only afterwards.

#include <cstdint>
#include <string>
#include <vector>

#include "singleton.h"

namespace VQ {

struct Platform {
    std::string name;
    // Content directories, whose file lists the file system reads, in order.
    std::vector<std::string> directories;
    // Design resolution ("workspace"); always above 0.
    int32_t width = 0;
    int32_t height = 0;
    // 1: the aspect may narrow down to fullscreenMinimalAspect; 2: also
    // zoom by workspaceZoom; otherwise the workspace's aspect is kept.
    uint32_t fullscreenFitType = 0;
    float fullscreenMinimalAspect = 1.33f;
    float workspaceZoom = 1.0f;
};

// The name of the selected platform, held process-wide; empty until the
// configuration is loaded.
std::string& currentPlatformName();

class ConfigManager : public Singleton<ConfigManager> {
public:
    static constexpr uint32_t DEFAULT_VERTEX_FORMAT = 21;

    ConfigManager() = default;

    // Reads the script; every missing required value is fatal.
    void load();

    // The directories of the platform named like the current platform, or
    // null when there is none.
    const std::vector<std::string>* getPlatformDirectories() const;

    const std::vector<Platform>& platforms() const { return mPlatforms; }
    // Null until load.
    const Platform* currentPlatform() const { return mCurrentPlatform; }
    const std::string& currentLanguage() const { return mCurrentLanguage; }
    // Empty when the script names none.
    const std::string& defaultLanguage() const { return mDefaultLanguage; }

    uint32_t vertexFormat() const { return mVertexFormat; }
    void setVertexFormat(uint32_t format) { mVertexFormat = format; }

private:
    uint32_t mVertexFormat = DEFAULT_VERTEX_FORMAT;
    std::vector<Platform> mPlatforms;
    const Platform* mCurrentPlatform = nullptr;
    std::string mCurrentLanguage = "en";
    std::string mDefaultLanguage;
};

}  // namespace VQ
