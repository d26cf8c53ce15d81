#include "support/sprite_fixture.h"

#include <png.h>

#include <cstring>
#include <filesystem>

#include "image_writers.h"
#include "platform/graphics_device_gl.h"

namespace TestSupport {

void SpriteTest::SetUp()
{
    ContentTest::SetUp();
    // The loose files only: a packed archive of the content would answer
    // first and hide the lists the tests add.
    const std::filesystem::path media = std::string(LANTERRA_SOURCE_DIR) + "/media";
    for (const auto& entry : std::filesystem::recursive_directory_iterator(media)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name == "data.vqp" || name == "data.zip")
            continue;
        const std::filesystem::path target = mDir.path() / std::filesystem::path("media") /
                                             std::filesystem::relative(entry.path(), media);
        std::filesystem::create_directories(target.parent_path());
        std::filesystem::copy_file(entry.path(), target, std::filesystem::copy_options::overwrite_existing);
    }
    mSettings.workspaceWidth = 1024;
    mSettings.workspaceHeight = 768;
}

void SpriteTest::TearDown()
{
    stopEngine();
    ContentTest::TearDown();
}

void SpriteTest::stopEngine()
{
    // The engine's shut-down order: sprites, textures, then the renderer.
    if (mRender)
        mRender->releaseBatches();
    mSprites.reset();
    mFastSprites.reset();
    mTextures.reset();
    mRender.reset();
    mNotifications.reset();
    mDevice = nullptr;
}

void SpriteTest::restartEngine(const std::function<void(VQ::RecordingGraphicsDevice&)>& prepare)
{
    stopEngine();
    buildEngine(prepare);
}

void SpriteTest::addLua(const std::string& name, const std::string& text)
{
    writeContent("test/" + name + ".lua", text);
    mExtraList += "  { name = \"" + name + "\", filename = \"test/" + name + ".lua\" },\n";
}

void SpriteTest::addXml(const std::string& name, const std::string& text)
{
    writeContent("test/" + name + ".xml", text);
    mExtraList += "  { name = \"" + name + "\", filename = \"test/" + name + ".xml\" },\n";
}

void SpriteTest::addImage(const std::string& name, uint32_t w, uint32_t h,
                          const std::function<uint32_t(uint32_t, uint32_t)>& pixel)
{
    ImageWriters::PngDescription png;
    png.width = w;
    png.height = h;
    png.colourType = PNG_COLOR_TYPE_RGBA;
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            const uint32_t c = pixel(x, y);
            png.rows.insert(png.rows.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), uint8_t(c >> 24)});
        }
    ImageWriters::Bytes bytes;
    std::string error;
    ASSERT_TRUE(ImageWriters::writePng(png, bytes, error)) << error;
    writeContent("test/" + name + ".png", std::string(bytes.begin(), bytes.end()));
    mExtraList += "  { name = \"" + name + "\", filename = \"test/" + name + ".png\" },\n";
}

void SpriteTest::startEngine(uint32_t windowWidth, uint32_t windowHeight)
{
    writeContent("lists/test.lua", "name = \"default\"\nfilelist = {\n" + mExtraList + "}\n");
    writeContent("filelist.lua", "directories = {\n"
                                 "  common = { { \"lists/default.lua\" }, { \"lists/en.lua\" }, { \"lists/test.lua\" } },\n"
                                 "  pc = { { \"lists/pc.lua\" } },\n}\n");
    loadAll();
    mWindowWidth = windowWidth;
    mWindowHeight = windowHeight;
    buildEngine(nullptr);
}

void SpriteTest::buildEngine(const std::function<void(VQ::RecordingGraphicsDevice&)>& prepare)
{
    mNotifications = std::make_unique<VQ::EngineNotificationDispatcher>();
    mRender = std::make_unique<VQ::RenderSystem>();
    mRender->setSettings(mSettings);
    mRender->setWindowSize(mWindowWidth, mWindowHeight);
    if (mUseGL) {
        auto device = VQ::createGraphicsDeviceGL();
        mGfx = device.get();
        mRender->setDevice(std::move(device));
    } else {
        auto device = std::make_unique<VQ::RecordingGraphicsDevice>();
        device->setRecordVertices(true);
        if (prepare)
            prepare(*device);
        mDevice = device.get();
        mGfx = mDevice;
        mRender->setDevice(std::move(device));
    }
    mSprites = std::make_unique<VQ::SpriteManager<VQ::Sprite>>();
    mFastSprites = std::make_unique<VQ::SpriteManager<VQ::FastSprite>>();
    mTextures = std::make_unique<VQ::TextureManager>();
    mRender->createDevice();
}

std::vector<DrawnVertex> SpriteTest::verticesOf(const VQ::RecordingGraphicsDevice::DrawRecord& draw)
{
    std::vector<DrawnVertex> out;
    const uint32_t stride = 24;
    for (size_t offset = 0; offset + stride <= draw.vertices.size(); offset += stride) {
        DrawnVertex v;
        const uint8_t* p = draw.vertices.data() + offset;
        std::memcpy(&v.x, p, 4);
        std::memcpy(&v.y, p + 4, 4);
        std::memcpy(&v.z, p + 8, 4);
        std::memcpy(&v.color, p + 12, 4);
        std::memcpy(&v.u, p + 16, 4);
        std::memcpy(&v.v, p + 20, 4);
        out.push_back(v);
    }
    return out;
}

std::vector<DrawnVertex> SpriteTest::drawn(const std::function<void()>& body)
{
    mDevice->clearRecords();
    mRender->lockBatchBuffer();
    body();
    mRender->flushBatch();
    mRender->unlockBatchBuffer();
    std::vector<DrawnVertex> out;
    for (const auto& draw : mDevice->draws())
        for (const DrawnVertex& v : verticesOf(draw))
            out.push_back(v);
    return out;
}

}  // namespace TestSupport
