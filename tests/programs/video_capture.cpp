// Test driver: runs the real game headless from the working folder (which
// holds media/), queues two clips drawn and encoded at run time (the second
// with a sound track, subtitles and a skip label) and saves three frames as
// PNG: one during each clip and one after the game's frame has returned.
// The clips are queued once the main menu shows.
// The clips and the track are written into "video_capture/" in the working
// folder (the loose-file reader finds a path there when the content root
// lacks it).
// Usage: video_capture OUT_PREFIX   (writes OUT_PREFIX_1.png .. _3.png)
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "back_buffer_png.h"
#include "file_system.h"
#include "game_program.h"
#include "game_state.h"
#include "game_state_manager.h"
#include "platform/window_sdl.h"
#include "video_player.h"
#include "video_surface.h"
#include "video_writer.h"
#include "vorbis_writer.h"

namespace {

std::string gPrefix;
int gPhase = 0;
uint64_t gReturnedAt = 0;
bool gFailed = false;

constexpr uint64_t FRAME_LIMIT = 3000;

// The night scene at 25 frames a second.
std::vector<uint8_t> lanternClip(uint32_t width, uint32_t height, uint32_t frames)
{
    VideoGen::Clip clip;
    clip.width = width;
    clip.height = height;
    clip.frames = frames;
    clip.colorspace = 2;
    clip.comments = {"TITLE=Lantern"};
    clip.pixel = [=](uint32_t frame, uint32_t x, uint32_t y) {
        return VideoGen::lanternScene(frame, frames, x, y, width, height);
    };
    return VideoGen::encodeTheora(clip);
}

bool writeResource(const std::string& name, const std::string& file, const std::vector<uint8_t>& bytes)
{
    std::filesystem::create_directories("video_capture");
    if (bytes.empty() || !VideoGen::writeBytes("video_capture/" + file, bytes))
        return false;
    VQ::FileSystem::instance()->filesOfPackage("default")[name] = "video_capture/" + file;
    return true;
}

bool queueClips()
{
    const int rate = 22050;
    std::vector<float> track(size_t(rate) * 2);
    for (size_t i = 0; i < track.size(); ++i)
        track[i] = 0.2f * float(std::sin(2.0 * 3.14159265 * 220.0 * double(i) / rate));
    if (!writeResource("capture_first", "first.ogv", lanternClip(320, 192, 30)) ||
        !writeResource("capture_second", "second.ogv", lanternClip(256, 192, 40)) ||
        !writeResource("capture_track_sound", "track.ogg", SoundGen::encodeOggVorbis(track, 1, rate, 0.2f)))
        return false;
    VQ::VideoPlayer* player = VQ::VideoPlayer::instance();
    VQ::VideoSubtitleStyle style;
    style.color = VQ::Color(0xFFE8D8B0u);
    const VQ::Vector2f box(463, 800);
    const VQ::Vector2f boxSize(800, 80);
    return player->enqueue("capture_first", "", {}, box, boxSize, nullptr, "", std::nullopt, "", VQ::Color(), {}) &&
           player->enqueue("capture_second", "capture_track_sound",
                           {{u"The lantern crosses the night", 0.2f, 3.0f}}, box, boxSize, &style, "main_font_fnt",
                           u"Skip", "main_font_fnt", VQ::Color(0xFFF0A030u), VQ::Vector2f(120, 50));
}

// The clip that plays and how many frames it decoded; empty when none.
std::string playing(uint32_t& frames)
{
    VQ::VideoPlayer* player = VQ::VideoPlayer::instance();
    frames = 0;
    if (player->slotCount() == 0 || player->currentSlot() != 0 || !player->slot(0).surface)
        return "";
    frames = player->slot(0).surface->frameCount;
    return player->slot(0).videoName;
}

void finish(bool failed)
{
    gFailed = failed;
    VQ::postMessage({VQ::WindowMessageType::Destroy, 0, 0});
}

void afterFrame(uint64_t frameNumber)
{
    if (gPhase == 4)
        return;
    if (frameNumber > FRAME_LIMIT) {
        fprintf(stderr, "video capture: gave up in phase %d\n", gPhase);
        gPhase = 4;
        finish(true);
        return;
    }
    uint32_t frames = 0;
    const std::string clip = playing(frames);
    switch (gPhase) {
    case 0: {
        // Once the main menu shows: the logo's fade would darken the clips.
        const GameStateManager* states = GameStateManager::instancePtr();
        const IGameState* current = states ? states->getCurrent() : nullptr;
        if (!current || current->getName() != "MainMenu" || !current->isLoaded())
            return;
        if (!queueClips()) {
            fprintf(stderr, "video capture: the clips could not be queued\n");
            gPhase = 4;
            finish(true);
            return;
        }
        printf("clips queued at frame %llu\n", (unsigned long long)frameNumber);
        gPhase = 1;
        return;
    }
    case 1:
    case 2: {
        const char* wanted = gPhase == 1 ? "capture_first" : "capture_second";
        if (clip == wanted && frames >= 15) {
            if (!saveBackBuffer(gPrefix + "_" + std::to_string(gPhase) + ".png", frameNumber))
                gFailed = true;
            ++gPhase;
        }
        return;
    }
    case 3:
        if (VQ::VideoPlayer::instance()->slotCount() != 0)
            return;
        if (gReturnedAt == 0)
            gReturnedAt = frameNumber;
        if (frameNumber >= gReturnedAt + 20) {
            if (!saveBackBuffer(gPrefix + "_3.png", frameNumber))
                gFailed = true;
            gPhase = 4;
            finish(gFailed);
        }
        return;
    default:
        return;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: video_capture OUT_PREFIX\n");
        return 2;
    }
    gPrefix = argv[1];
    VQ::ProgramHooks hooks = gameProgramHooks();
    hooks.afterFrame = afterFrame;
    // The program ends through the application's quit (exit code 0); a
    // failure is told on the standard error and by missing pictures.
    return VQ::runProgram(hooks);
}
