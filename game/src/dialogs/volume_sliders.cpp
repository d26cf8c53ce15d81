#include "dialogs/volume_sliders.h"

#include "dialogs/dialog_window.h"
#include "fatal_error.h"
#include "game_properties.h"
#include "player_profile.h"
#include "progress_saver.h"

namespace {

std::unique_ptr<ScrollBar> requireBar(DialogWindow& window, const char* name, ScrollBarListener* listener)
{
    AE::ISceneNode* node = window.sceneNode(name);
    if (!node)
        VQ::assertFailed("VQ", std::string("Scene node '") + name + "' is missing in " + window.scriptName,
                         "volume_sliders", __LINE__);
    auto bar = std::make_unique<ScrollBar>(node);
    bar->listener = listener;
    return bar;
}

PlayerProfile* profile()
{
    GameProperties* properties = GameProperties::instancePtr();
    return properties ? properties->profile() : nullptr;
}

}  // namespace

void saveProfileNow()
{
    if (ProgressSaver* saver = ProgressSaver::instancePtr())
        saver->saveNow();
}

VolumeSliders::VolumeSliders(DialogWindow& window, ScrollBarListener* listener) :
    music(requireBar(window, "#musicBar", listener)), sound(requireBar(window, "#soundBar", listener))
{
}

VolumeSliders::~VolumeSliders() = default;

void VolumeSliders::takeFromProfile()
{
    if (PlayerProfile* player = profile()) {
        savedMusic = player->musicVolume;
        savedSound = player->soundVolume;
    }
    sound->setValue(savedSound);
    music->setValue(savedMusic);
}

void VolumeSliders::restore()
{
    if (PlayerProfile* player = profile()) {
        player->setSoundVolume(savedSound);
        player->setMusicVolume(savedMusic);
    }
}

void VolumeSliders::onScroll(ScrollBar* bar, float value)
{
    PlayerProfile* player = profile();
    if (!player)
        return;
    if (bar == sound.get())
        player->setSoundVolume(value);
    else if (bar == music.get())
        player->setMusicVolume(value);
}

void VolumeSliders::update(bool topmost)
{
    for (ScrollBar* bar : {music.get(), sound.get()}) {
        bar->active = topmost;
        bar->update();
    }
}
