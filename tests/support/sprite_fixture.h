#pragma once
// The shipped sample content with a render system on the recording device,
// the texture manager and both sprite managers, as the engine start-up makes
// them; tests add their own sprite tables and images beside the content and
// read back what sprites hand to the device.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fast_sprite.h"
#include "notification_dispatcher.h"
#include "platform/recording_graphics_device.h"
#include "render_system.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "support/content_fixture.h"
#include "texture_manager.h"

namespace TestSupport {

// One vertex as the device receives it.
struct DrawnVertex {
    float x = 0, y = 0, z = 0;
    VQ::Color color;
    float u = 0, v = 0;
};

class SpriteTest : public ContentTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Extra resources of package "default" beside the sample content; call
    // before startEngine.
    void addLua(const std::string& name, const std::string& text);
    void addXml(const std::string& name, const std::string& text);
    // An RGBA image of w x h filled by `pixel(x, y)` (0xAARRGGBB).
    void addImage(const std::string& name, uint32_t w, uint32_t h,
                  const std::function<uint32_t(uint32_t, uint32_t)>& pixel);

    // Loads the content and creates the managers and the device (window of
    // the given size, workspace 1024 x 768 unless set before).
    void startEngine(uint32_t windowWidth = 1024, uint32_t windowHeight = 768);
    // Takes the managers and the device down and builds them again (the
    // content stays), letting `prepare` steer the new device before it is
    // created.
    void restartEngine(const std::function<void(VQ::RecordingGraphicsDevice&)>& prepare);
    // Creates the device textures waiting in the queue, as a frame end does.
    void createQueuedTextures() { mTextures->processQueues(); }

    // Everything drawn by `body` (outside a frame) in the order drawn.
    std::vector<DrawnVertex> drawn(const std::function<void()>& body);
    static std::vector<DrawnVertex> verticesOf(const VQ::RecordingGraphicsDevice::DrawRecord& draw);

    VQ::Texture* texture(const std::string& name) { return mTextures->getTexture(name, "default"); }

    VQ::RenderSettings mSettings;
    // Build on the OpenGL device (a current GL context is the test's
    // business) instead of the recording one; mDevice is then null.
    bool mUseGL = false;
    VQ::GraphicsDevice* mGfx = nullptr;
    std::unique_ptr<VQ::EngineNotificationDispatcher> mNotifications;
    std::unique_ptr<VQ::RenderSystem> mRender;
    VQ::RecordingGraphicsDevice* mDevice = nullptr;
    std::unique_ptr<VQ::SpriteManager<VQ::Sprite>> mSprites;
    std::unique_ptr<VQ::SpriteManager<VQ::FastSprite>> mFastSprites;
    std::unique_ptr<VQ::TextureManager> mTextures;

private:
    void stopEngine();
    void buildEngine(const std::function<void(VQ::RecordingGraphicsDevice&)>& prepare);

    std::string mExtraList;
    uint32_t mWindowWidth = 0;
    uint32_t mWindowHeight = 0;
};

}  // namespace TestSupport
