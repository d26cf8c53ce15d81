// Child program for the sound output tests: opens the audio device as the
// environment configures it (OpenAL's wave-file driver, or no device at all),
// plays an Ogg Vorbis file once as an effect with the given group 0 volume,
// runs the frame update until it ends, and prints "ready <0|1> handle <h>".
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "log_system.h"
#include "sound_system/sound_manager.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: sound_output_program <file.ogg> <group 0 volume>\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    auto* log = new VQ::LogSystem();
    auto* manager = new VQ::SoundManager();
    int handle = 0;
    {
        VQ::SoundResource resource(VQ::SoundDescription{"tone_sound", 0, 1.0f, 0, 0});
        resource.loadFromMemory(bytes, "tone_sound");
        manager->setGroup0Volume(static_cast<float>(std::atof(argv[2])));
        handle = manager->createSound(&resource);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (manager->isPlaying(handle) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            manager->update();
        }
        manager->stopAll();
        for (int i = 0; i < 8; ++i)
            manager->update();
        std::printf("ready %d handle %d\n", manager->isReady() ? 1 : 0, handle);
    }
    delete manager;
    delete log;
    return 0;
}
