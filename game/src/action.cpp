#include "action.h"

#include <cstdlib>

#include "behavior.h"
#include "chip.h"

namespace {

bool startsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// The text after the first ':'; false when there is none, which gives no
// action: a bare "AddBehavior" would otherwise add a plain layer, a bare
// "DestroyTimer" destroy its chip on the first frame.
bool argumentOf(const std::string& text, std::string& argument)
{
    const size_t colon = text.find(':');
    if (colon == std::string::npos)
        return false;
    argument = text.substr(colon + 1);
    return true;
}

}  // namespace

Action* createActionByName(const std::string& text)
{
    std::string argument;
    if (text == "Boom")
        return new BoomAction(0);
    // Prefixed forms: whatever follows the prefix before the ':' is ignored.
    if (startsWith(text, "AddBehavior"))
        return argumentOf(text, argument) ? new AddBehavior(behaviorTypeFromName(argument)) : nullptr;
    if (startsWith(text, "DestroyTimer"))
        return argumentOf(text, argument) ? new DestroyTimerAction(static_cast<float>(std::atof(argument.c_str())))
                                          : nullptr;

    struct WaveName {
        const char* text;
        int mask;
        int super;
    };
    static const WaveName waves[] = {
        {"WaveHor", WAVE_LEFT | WAVE_RIGHT, 0},
        {"WaveVer", WAVE_UP | WAVE_DOWN, 0},
        {"Cross", 15, 0},
        {"SuperWaveHor", WAVE_LEFT | WAVE_RIGHT, 1},
        {"SuperWaveVer", WAVE_UP | WAVE_DOWN, 1},
        {"SuperCross", 15, 1},
        {"Star", 31, 0},
        {"SuperStar", 31, 1},
        {"WaveDiagonal", WAVE_DIAGONALS, 0},
        {"WaveFull", 31, 0},
    };
    for (const WaveName& wave : waves) {
        if (text == wave.text)
            return new WaveAction(wave.mask, wave.super);
    }
    if (text == "SuperBoom")
        return new BoomAction(1);

    if (text == "CanNotBeDestoyed")
        return new CanNotBeDestoyed();
    if (text == "DestroyIfFloorIsReached")
        return new DestroyIfFloorIsReached();
    if (text == "ColorDestroyer")
        return new ColorDestroyer();
    if (startsWith(text, "ShakeField"))
        return argumentOf(text, argument) ? new ShakeBackField(argument) : nullptr;
    return nullptr;
}

bool DestroyTimerAction::run(GameField*, Chip*, float dt)
{
    seconds -= dt;
    return seconds > 0.0f;
}

bool AddBehavior::run(GameField*, Chip* chip, float)
{
    chip->layers.add(createBehavior(type, chip->colour));
    return true;
}
