#include "platform/message_box_sdl.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace VQ {

MessageBoxAnswer showMessageBoxOkCancel(const std::string& title, const std::string& text, bool error)
{
    if (const char* preset = getenv("VQ_MSGBOX_ANSWER")) {
        fprintf(stderr, "%s\n%s\n", title.c_str(), text.c_str());
        if (strcmp(preset, "ok") == 0)
            return MessageBoxAnswer::Ok;
        if (strcmp(preset, "cancel") == 0)
            return MessageBoxAnswer::Cancel;
    }

    // The offscreen driver has no way to show a box; asking SDL would fall
    // back to an X11 box when a display happens to exist.
    const char* driver = getenv("SDL_VIDEODRIVER");
    const bool headless = (driver && strcmp(driver, "offscreen") == 0) ||
                          (!getenv("DISPLAY") && !getenv("WAYLAND_DISPLAY"));
    if (!headless) {
        const SDL_MessageBoxButtonData buttons[] = {
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "OK"},
            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 2, "Cancel"},
        };
        SDL_MessageBoxData data{};
        data.flags = error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
        data.title = title.c_str();
        data.message = text.c_str();
        data.numbuttons = 2;
        data.buttons = buttons;
        int pressed = 0;
        if (SDL_ShowMessageBox(&data, &pressed) == 0)
            return pressed == 1 ? MessageBoxAnswer::Ok : MessageBoxAnswer::Cancel;
    }
    fprintf(stderr, "%s\n%s\n", title.c_str(), text.c_str());
    return MessageBoxAnswer::Cancel;
}

}  // namespace VQ
