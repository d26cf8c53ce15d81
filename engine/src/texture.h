#pragma once
// A texture of the texture manager: a device texture with its size, format
// and the decoded image that waits for the main thread to upload it. Created
// and deleted only by the texture manager; device work runs on the main
// thread only.

#include <cstdint>
#include <memory>
#include <string>

#include "image.h"
#include "platform/graphics_device.h"
#include "texture_base.h"

namespace VQ {

enum TextureUsage : int32_t {
    TU_STATIC = 0,          // a managed texture made from an image, or empty
    TU_RENDER_TEXTURE = 1,  // a render target
};

enum TextureFormat : int32_t {
    TF_BACKBUFFER = 0,  // the back buffer's format
    TF_A8R8G8B8 = 1,
    TF_X8R8G8B8 = 2,
    TF_A8L8 = 3,
    TF_L8 = 4,
};

// Pixel kinds of Texture::update beyond the image kinds.
constexpr int32_t PIXEL_KIND_A8L8 = 17;
constexpr int32_t PIXEL_KIND_L8 = 18;

// The device format of a texture format; fatal for a value outside 0 to 4.
GfxFormat mapTextureFormat(int32_t format);

class Texture : public TextureBase {
public:
    Texture();
    ~Texture() override;

    // Render data give their references back through the texture manager.
    void releaseReference() override;

    // Picks the decoder by the file's first bytes and loads the image; the
    // texture takes its size and pixels. A file no decoder takes is fatal.
    static void loadImage(Texture* texture, const std::string& name, const std::string& package);
    // Takes a decoded image (its size and pixels) in place of loading one.
    static void takeImage(Texture* texture, std::unique_ptr<Image> image);

    // Main thread. Makes the device texture and uploads the image; false
    // when the device refused the texture (it stays not ready).
    static bool create(Texture* texture);
    // Main thread. Uploads pixels of a kind into the existing device
    // texture; 0 on success, 1 without a device texture or when the lock fails.
    static int update(Texture* texture, int32_t kind, const uint8_t* pixels, uint32_t width, uint32_t height);
    // Main thread. Rebuilds a render texture after a device reset.
    static void reset(Texture* texture);
    // Main thread. Releases the device texture and the image.
    static void destroy(Texture* texture);

    uint32_t mWidth = 0;
    uint32_t mHeight = 0;
    uint32_t mSize = 0;
    std::unique_ptr<Image> mImage;
    uint8_t* mPixels = nullptr;
    int32_t mTextureUsage = TU_STATIC;
    int32_t mTextureFormat = TF_A8R8G8B8;

    // The resource name it is registered under, for the log.
    std::string mName;
    // Set once the failure of its creation has been logged, so that a
    // texture the device keeps refusing is reported once, not every frame.
    bool mCreationFailureLogged = false;
};

}  // namespace VQ
