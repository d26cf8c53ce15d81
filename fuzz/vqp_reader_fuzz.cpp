// The package-archive reader on arbitrary archive bytes: a damaged archive
// must be rejected or read within its bounds, never crash or read out of
// bounds. Run by hand, for example:
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DLANTERRA_FUZZ=ON
//   ninja -C build-fuzz vqp_reader_fuzz
//   build-fuzz/fuzz/vqp_reader_fuzz -max_total_time=60 -close_fd_mask=1
// The reader's log goes to standard output and "VQ.log" in the working
// folder; the archive under test is written to a temporary folder.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "fatal_error.h"
#include "log_system.h"
#include "vqp_reader.h"

namespace {

std::string gArchivePath;

struct FatalStop : std::runtime_error {
    FatalStop() : std::runtime_error("fatal report") {}
};

// An archive with no files stops the program by design; the fuzzer treats
// it as handled.
void stopOnFatal(const VQ::FatalReport&)
{
    throw FatalStop();
}

void readAll(VQ::File& file)
{
    char buffer[61];
    while (file.read(buffer, sizeof(buffer)) > 0) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "vqp-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        std::abort();
    gArchivePath = pattern + "/input.vqp";
    new VQ::LogSystem();
    VQ::setFatalErrorHook(stopOnFatal);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* out = std::fopen(gArchivePath.c_str(), "wb");
    if (!out)
        std::abort();
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    try {
        VQ::VQPReader reader(gArchivePath);
        for (const VQ::TableEntry& entry : reader.table().entries()) {
            std::unique_ptr<VQ::File> file(reader.open(entry.name));
            if (!file)
                continue;
            readAll(*file);
            static_cast<VQ::VQPFile*>(file.get())->seek(file->size() / 2);
            readAll(*file);
        }
        // Names that are not stored: the whole probe sequence.
        std::unique_ptr<VQ::File> missing(reader.open(std::string(reinterpret_cast<const char*>(data),
                                                                  std::min<size_t>(size, 40))));
        if (missing)
            readAll(*missing);
    } catch (const FatalStop&) {
    }
    return 0;
}
