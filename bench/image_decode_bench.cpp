// Decoding a 1024 x 1024 image of each format from memory (the file read
// itself is not timed). The images come from the project's fixture tool.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "dds_image.h"
#include "jpeg_image.h"
#include "png_image.h"
#include "vqt_image.h"

namespace {

constexpr int SIDE = 1024;

// The 1024 x 1024 fixture set, written once into a temporary folder.
const std::vector<uint8_t>& fixture(const std::string& name)
{
    static std::map<std::string, std::vector<uint8_t>> files;
    if (files.empty()) {
        const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
        const std::filesystem::path tool = self.parent_path() / "../tools/image_tools/image_fixtures";
        std::string folder = (std::filesystem::temp_directory_path() / "lanterra-bench-XXXXXX").string();
        if (!mkdtemp(folder.data()))
            abort();
        const std::string command = tool.string() + " " + folder + " " + std::to_string(SIDE);
        if (system(command.c_str()) != 0)
            abort();
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            std::ifstream in(entry.path(), std::ios::binary);
            files[entry.path().filename().string()].assign(std::istreambuf_iterator<char>(in),
                                                           std::istreambuf_iterator<char>());
        }
        std::filesystem::remove_all(folder);
    }
    return files.at(name);
}

template <typename Decoder>
void decodeLoop(benchmark::State& state, const std::string& file)
{
    const std::vector<uint8_t>& bytes = fixture(file);
    for (auto _ : state) {
        Decoder image;
        if (!image.decode(bytes.data(), bytes.size()).isOk())
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.getData());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * SIDE * SIDE * 4);
    state.counters["file_bytes"] = double(bytes.size());
}

void BM_DecodeVqtRgba(benchmark::State& state)
{
    decodeLoop<VQ::VQTImage>(state, "rgba.vqt");
}
void BM_DecodeVqtPalette(benchmark::State& state)
{
    decodeLoop<VQ::VQTImage>(state, "palette.vqt");
}
void BM_DecodePngRgba(benchmark::State& state)
{
    decodeLoop<VQ::PngImage>(state, "rgba.png");
}
void BM_DecodePngRgb(benchmark::State& state)
{
    decodeLoop<VQ::PngImage>(state, "rgb.png");
}
void BM_DecodePngPalette(benchmark::State& state)
{
    decodeLoop<VQ::PngImage>(state, "palette.png");
}
void BM_DecodeDdsDxt5(benchmark::State& state)
{
    decodeLoop<VQ::DDSImage>(state, "dxt5.dds");
}

void BM_DecodeJpegWithAlpha(benchmark::State& state)
{
    const std::vector<uint8_t>& colour = fixture("photo_image.jpg");
    const std::vector<uint8_t>& alpha = fixture("photo_a.jpg");
    for (auto _ : state) {
        VQ::JpegImage image;
        if (!image.decode(colour.data(), colour.size(), alpha.data(), alpha.size()).isOk())
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(image.getData());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * SIDE * SIDE * 4);
    state.counters["file_bytes"] = double(colour.size() + alpha.size());
}

// What the pair costs at the least: libjpeg decoding the same two files, for
// comparing with the one above in the same run.
void BM_DecodeJpegPairWithLibjpegAlone(benchmark::State& state)
{
    const std::vector<uint8_t>& colour = fixture("photo_image.jpg");
    const std::vector<uint8_t>& alpha = fixture("photo_a.jpg");
    for (auto _ : state) {
        VQ::JpegImage::Decoded rgb, grey;
        if (!VQ::JpegImage::decodeFile(colour.data(), colour.size(), rgb).isOk() ||
            !VQ::JpegImage::decodeFile(alpha.data(), alpha.size(), grey).isOk())
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(rgb.pixels.get());
        benchmark::DoNotOptimize(grey.pixels.get());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * SIDE * SIDE * 4);
}

}  // namespace

BENCHMARK(BM_DecodeVqtRgba)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeVqtPalette)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePngRgba)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePngRgb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePngPalette)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeJpegWithAlpha)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeJpegPairWithLibjpegAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeDdsDxt5)->Unit(benchmark::kMillisecond);
