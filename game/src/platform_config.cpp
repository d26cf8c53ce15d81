#include "platform_config.h"

#include "fatal_error.h"
#include "log_system.h"
#include "lua_script_2.h"

PlatformConfig::PlatformConfig()
{
    VQ::LuaScript2 script;
    std::string error;
    if (!script.load("platform_config_lua", "default", &error)) {
        VQ::assertFailed("VQ", "Failed to load platform_config_lua. " + error, "platform_config", __LINE__);
    }

    script.getInt("platformCode", platformCode, 0);

    if (!script.openTable("modes")) {
        VQ::log("WARNING: platform_config_lua has no table \"modes\"; the game has no mode");
        return;
    }
    VQ::forEachTableEntry(
        script,
        [&] {
            ModeDescriptor mode;
            script.getString("class", mode.className);
            if (script.openTable("params")) {
                VQ::forEachTableEntry(
                    script,
                    [&] {
                        std::string key;
                        std::string value;
                        script.getString("key", key);
                        script.getString("val", value);
                        mode.params[key] = value;
                    },
                    [] {});
                script.closeTable();
            }
            modes.push_back(std::move(mode));
        },
        // An element that is not a table still counts, as a mode without a
        // class, which makes no mode.
        [&] { modes.emplace_back(); });
    script.closeTable();
}
