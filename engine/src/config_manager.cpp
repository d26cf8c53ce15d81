#include "config_manager.h"

#include "fatal_error.h"
#include "log_system.h"
#include "lua_script_2.h"

extern "C" {
#include <lua.h>
}

namespace VQ {

namespace {

const char* const FILE_TAG = "config_manager";

[[noreturn]] void configFailed(int line, const std::string& description = std::string())
{
    assertFailed("VQ", description, FILE_TAG, line);
}

// Reads the platform entry whose table is open on top of the stack.
Platform readPlatform(LuaScript2& script)
{
    Platform platform;
    if (!script.getString("name", platform.name))
        configFailed(78);

    if (!script.openTable("directories"))
        configFailed(80);
    lua_State* state = script.state();
    lua_pushnil(state);
    while (lua_next(state, -2) != 0) {
        std::string directory;
        if (lua_type(state, -1) == LUA_TSTRING || lua_type(state, -1) == LUA_TNUMBER) {
            script.topString(directory);
            platform.directories.push_back(directory);
        }
        lua_pop(state, 1);
    }
    script.closeTable();

    // A size of 0 or less would only show up later as a division by zero
    // when the workspace is fitted to the screen.
    if (!script.openTable("resolution") || !script.getIntAt(1, platform.width) ||
        !script.getIntAt(2, platform.height) || platform.width <= 0 || platform.height <= 0)
        configFailed(88);
    script.closeTable();

    script.getUInt("fullscreenFitType", platform.fullscreenFitType, 0);
    script.getFloat("fullscreenMinimalAspect", platform.fullscreenMinimalAspect, 1.33f);
    platform.workspaceZoom = 1.0f;
    if (platform.fullscreenFitType == 2)
        script.getFloat("workspaceZoom", platform.workspaceZoom, 1.0f);
    return platform;
}

}  // namespace

std::string& currentPlatformName()
{
    static std::string name;
    return name;
}

void ConfigManager::load()
{
    LuaScript2 script;
    if (!script.load("config", "default"))
        configFailed(45, "Failed to load config file");
    if (!script.openTable("config"))
        configFailed(46, "Failed to open table");
    if (!script.openTable("platforms"))
        configFailed(48);

    mPlatforms.clear();
    mCurrentPlatform = nullptr;
    forEachTableEntry(
        script, [&] { mPlatforms.push_back(readPlatform(script)); }, [] { configFailed(51); });
    script.closeTable();

    std::string platformName;
    if (!script.getString("currentPlatform", platformName))
        configFailed(58);
    currentPlatformName() = platformName;
    for (const Platform& platform : mPlatforms) {
        if (platform.name == platformName) {
            mCurrentPlatform = &platform;
            break;
        }
    }
    if (!mCurrentPlatform)
        configFailed(111, "Failed to find platform with specified name");
    log(formatString("Current platform: %s", platformName.c_str()));

    if (!script.getString("currentLanguage", mCurrentLanguage) || mCurrentLanguage.empty())
        mCurrentLanguage = "en";
    script.getString("defaultLanguage", mDefaultLanguage);
    log(formatString("Current language: %s", mCurrentLanguage.c_str()));

    script.closeTable();
}

const std::vector<std::string>* ConfigManager::getPlatformDirectories() const
{
    for (const Platform& platform : mPlatforms) {
        if (platform.name == currentPlatformName())
            return &platform.directories;
    }
    return nullptr;
}

}  // namespace VQ
