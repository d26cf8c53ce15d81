// Loads arbitrary bytes as a string table ("strings_xml", as strings.xml
// is) through the text manager, then looks up a few keys: malformed XML,
// invalid UTF-8 and odd entries must end in a log line or the fatal report,
// never a crash. Seeds: the shipped strings.xml (fuzz/run.sh).

#include <cstdint>
#include <fstream>
#include <string>

#include "fuzz_support.h"
#include "ui/text_manager.h"

namespace {
std::string gTablePath;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    gTablePath = FuzzSupport::startScriptFuzz("text_tables_fuzz", "strings_xml", "strings.xml");
    new VQ::TextManager();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        std::ofstream out(gTablePath, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    VQ::TextManager* texts = VQ::TextManager::instance();
    try {
        texts->loadPackage("default");
        for (const char* key : {"MENU_PLAY", "", "!ERROR!"})
            texts->text(key);
    } catch (const FuzzSupport::FatalRaised&) {
    }
    return 0;
}
