#include "game_program.h"

#include "facebook_data_saver.h"
#include "game_application.h"
#include "game_constants.h"
#include "game_properties.h"
#include "platform_config.h"

namespace {

Application* createGame()
{
    return new GameApplication();
}

// Lives until the process ends.
void createPlatformConfig()
{
    new PlatformConfig();
}

bool profileWantsFullscreen()
{
    GameProperties* properties = GameProperties::instancePtr();
    return properties && properties->profile()->fullscreen != 0;
}

void saveSocialData()
{
    FacebookDataSaver::instance()->save();
}

}  // namespace

VQ::ProgramHooks gameProgramHooks()
{
    VQ::ProgramHooks hooks;
    hooks.instanceName = GameConstants::APPLICATION_NAME;
    hooks.createApplication = createGame;
    hooks.beforeWindow = createPlatformConfig;
    hooks.wantedFullscreen = profileWantsFullscreen;
    hooks.onWindowClosed = saveSocialData;
    return hooks;
}
