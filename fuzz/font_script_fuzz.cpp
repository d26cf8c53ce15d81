// Loads arbitrary text as a font script twice: as a UI font (read through
// LuaScript2, pages and glyph tables) and as the simple bitmap font (read
// through LuaContext). Inputs are kept to data as fuzz_support.h says; the
// content holds one tiny sheet, "font2_image", that scripts may name.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "fast_sprite.h"
#include "file_system.h"
#include "font.h"
#include "fuzz_support.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "texture_manager.h"
#include "ui/ui_font.h"

namespace {

// A 4 x 4 white PNG.
const unsigned char SHEET[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00,
    0x00, 0x04, 0x00, 0x00, 0x00, 0x04, 0x08, 0x06, 0x00, 0x00, 0x00, 0xa9, 0xf1, 0x9e, 0x7e, 0x00, 0x00, 0x00,
    0x0f, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8, 0x8f, 0x06, 0x18, 0x48, 0x17, 0x00, 0x00, 0x78, 0x3c,
    0x3f, 0xc1, 0x58, 0xee, 0x29, 0xa8, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82,
};

std::string gScriptPath;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const std::string folder = FuzzSupport::enterScratchFolder("font_script_fuzz");
    std::filesystem::create_directories("media/fonts");
    std::filesystem::create_directories("media/images");
    {
        std::ofstream sheet("media/images/sheet.png", std::ios::binary);
        sheet.write(reinterpret_cast<const char*>(SHEET), sizeof SHEET);
    }
    VQ::contentRoot() = "./media/";
    gScriptPath = folder + "/media/fonts/font.lua";
    FuzzSupport::startSilentLog();
    new VQ::FileSystem();
    new VQ::TextureManager();
    new VQ::SpriteManager<VQ::Sprite>();
    new VQ::SpriteManager<VQ::FastSprite>();
    auto& files = VQ::FileSystem::instance()->filesOfPackage("default");
    files["font_fnt"] = "fonts/font.lua";
    files["font2_image"] = "images/sheet.png";
    VQ::setFatalErrorHook(FuzzSupport::throwOnFatal);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!FuzzSupport::writeDataScript(data, size, gScriptPath))
        return -1;
    try {
        VQ::UIFont font("font_fnt", "default");
        font.color = VQ::Color(0xFFFFFFFFu);
        font.getTextRect(VQ::Vector2f(0, 0), u"Ab c\nd", true, 1, 1, 1.0f, 1.0f, 40.0f, 40.0f);
    } catch (const FuzzSupport::FatalRaised&) {
    }
    try {
        VQ::Font font;
        font.load("font_fnt");
    } catch (const FuzzSupport::FatalRaised&) {
    }
    return 0;
}
