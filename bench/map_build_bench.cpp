// The level map's build of the first episode: the map scene with its
// valley, the 27 medallions cloned onto their places, the gates, the
// lantern-bearer and the awards, with their looks from the progress, over
// the sample content (pictures and descriptions cached, as after the first
// visit). The interface and the windows are left out: they are the UI
// manager's own loads.

#include <benchmark/benchmark.h>

#include <memory>

#include "animationeditor/scene_node.h"
#include "bench_engine.h"
#include "config_manager.h"
#include "file_system.h"
#include "main_mode.h"
#include "main_mode_map_state.h"
#include "ui/ui_font_manager.h"
#include "xml_cached_files_manager.h"

namespace {

void BM_MapFirstEpisodeBuild(benchmark::State& state)
{
    Bench::Engine engine(std::make_unique<VQ::RecordingGraphicsDevice>());
    const std::string oldRoot = VQ::contentRoot();
    VQ::contentRoot() = std::string(LANTERRA_SOURCE_DIR) + "/media/";
    {
        auto files = std::make_unique<VQ::FileSystem>();
        auto config = std::make_unique<VQ::ConfigManager>();
        config->load();
        files->loadFilesLocationInfo();
        auto xmlCache = std::make_unique<VQ::XmlCachedFilesManager>();
        auto fonts = std::make_unique<VQ::UIFontManager>();
        MainMode mode("");
        MainModeMapState map(&mode);
        if (mode.episodes.empty()) {
            state.SkipWithError("no campaign");
        } else {
            map.displayedEpisode = 0;
            map.episode = mode.episodes[0];
            auto once = [&] {
                map.buildEpisodeScene();
                delete map.episodeScene;
                map.episodeScene = nullptr;
                map.partViews.clear();
            };
            once();
            for (auto _ : state)
                once();
        }
        xmlCache->purge();
    }
    VQ::contentRoot() = oldRoot;
}
BENCHMARK(BM_MapFirstEpisodeBuild)->Unit(benchmark::kMillisecond);

}  // namespace
