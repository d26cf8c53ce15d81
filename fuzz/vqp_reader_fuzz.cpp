// The package-archive reader on arbitrary archive bytes: a damaged archive
// must be rejected or read within its bounds, never crash or read out of
// bounds. Seeds: small archives packed from the shipped content
// (fuzz/run.sh). The reader opens archives by path: each input is written to
// a scratch folder in memory where there is one (/dev/shm), and the log
// writes nowhere.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "fatal_error.h"
#include "fuzz_support.h"
#include "vqp_reader.h"

namespace {

std::string gArchivePath;
std::string gMemoryFolder;

void removeMemoryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(gMemoryFolder, ignored);
}

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
    FuzzSupport::enterScratchFolder("vqp_reader_fuzz");
    std::string memory = "/dev/shm/vqp_reader_fuzz_XXXXXX";
    if (mkdtemp(memory.data())) {
        gMemoryFolder = memory;
        std::atexit(removeMemoryFolder);
        gArchivePath = memory + "/input.vqp";
    } else {
        gArchivePath = FuzzSupport::scratchFolder() + "/input.vqp";
    }
    FuzzSupport::startSilentLog();
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
