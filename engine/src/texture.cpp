#include "texture.h"

#include <algorithm>
#include <cstring>

#include "dds_image.h"
#include "fatal_error.h"
#include "jpeg_image.h"
#include "log_system.h"
#include "png_image.h"
#include "render_system.h"
#include "texture_manager.h"
#include "vqt_image.h"

namespace VQ {

namespace {

constexpr const char* FILE_TAG = "texture_dx8";

// Copies `copyWidth` x `copyHeight` pixels (or the 4 x 4 blocks covering
// them) from source rows of `sourceWidth` pixels into a locked surface of
// `format`, never reading past `sourceSize` bytes nor writing past the
// surface's `pitch` x `surfaceRows`. 32-bit sources are R, G, B, A and the
// surface wants B, G, R, A.
void copyPixels(GfxFormat format, uint8_t* surface, uint32_t pitch, uint32_t surfaceRows, const uint8_t* source,
                size_t sourceSize, uint32_t sourceWidth, uint32_t copyWidth, uint32_t copyHeight)
{
    const bool swapRedBlue = format == GfxFormat::A8R8G8B8 || format == GfxFormat::X8R8G8B8;
    const size_t sourcePitch = formatPitch(format, sourceWidth);
    const size_t rowBytes = std::min<size_t>(formatPitch(format, copyWidth), pitch);
    const uint32_t rows = std::min(formatRows(format, copyHeight), surfaceRows);
    for (uint32_t row = 0; row < rows; ++row) {
        const size_t offset = row * sourcePitch;
        if (offset >= sourceSize)
            break;
        const size_t count = std::min(rowBytes, sourceSize - offset);
        const uint8_t* src = source + offset;
        uint8_t* dst = surface + size_t(row) * pitch;
        if (!swapRedBlue) {
            memcpy(dst, src, count);
            continue;
        }
        for (size_t i = 0; i + 4 <= count; i += 4) {
            dst[i] = src[i + 2];
            dst[i + 1] = src[i + 1];
            dst[i + 2] = src[i];
            dst[i + 3] = src[i + 3];
        }
    }
}

// The device format an image of a kind is uploaded in; Unknown for kinds
// that leave it to the texture's own format.
GfxFormat formatOfKind(int32_t kind)
{
    switch (kind) {
    case Image::KIND_RGB:
    case Image::KIND_RGBA:
    case Image::KIND_PALETTE:
        return GfxFormat::A8R8G8B8;
    case Image::KIND_DXT1:
        return GfxFormat::DXT1;
    case Image::KIND_DXT3:
        return GfxFormat::DXT3;
    case Image::KIND_DXT5:
        return GfxFormat::DXT5;
    default:
        return GfxFormat::Unknown;
    }
}

GraphicsDevice* device()
{
    return RenderSystem::instance()->device();
}

}  // namespace

GfxFormat mapTextureFormat(int32_t format)
{
    switch (format) {
    case TF_BACKBUFFER: {
        GraphicsDevice* gfx = device();
        GfxSurface* backBuffer = gfx ? gfx->getBackBuffer() : nullptr;
        if (!backBuffer)
            assertFailed("VQ", "Failed to get back buffer", FILE_TAG, 39);
        const GfxFormat result = backBuffer->format();
        gfx->release(backBuffer);
        return result;
    }
    case TF_A8R8G8B8:
        return GfxFormat::A8R8G8B8;
    case TF_X8R8G8B8:
        return GfxFormat::X8R8G8B8;
    case TF_A8L8:
        return GfxFormat::A8L8;
    case TF_L8:
        return GfxFormat::L8;
    default:
        assertFailed("VQ", "Unknow texture format", FILE_TAG, 55);
    }
}

Texture::Texture() = default;

Texture::~Texture() = default;

void Texture::releaseReference()
{
    TextureManager::instance()->releaseTexture(this);
}

void Texture::loadImage(Texture* texture, const std::string& name, const std::string& package)
{
    texture->mSize = 0;
    texture->mImage.reset();
    texture->mPixels = nullptr;
    texture->mTextureUsage = TU_STATIC;
    texture->mTextureFormat = TF_A8R8G8B8;
    texture->mRefCount = 0;
    texture->mReady = false;
    texture->mHandle = nullptr;

    // The PNG check comes first, so that a missing file is always reported by it.
    std::unique_ptr<Image> image;
    if (PngImage::check(name, package))
        image = std::make_unique<PngImage>();
    else if (DDSImage::probe(name, package))
        image = std::make_unique<DDSImage>();
    else if (VQTImage::probe(name, package))
        image = std::make_unique<VQTImage>();
    else if (JpegImage::probe(name, package))
        image = std::make_unique<JpegImage>();
    else
        assertFailed("VQ", "Failed to load image", FILE_TAG, 77);

    image->load(name, package);
    // Of the DDS kinds only the compressed ones can be drawn; the others
    // hold data the upload cannot read.
    const int32_t kind = image->getKind();
    if (dynamic_cast<DDSImage*>(image.get()) && image->getData() && kind != Image::KIND_DXT1 &&
        kind != Image::KIND_DXT3 && kind != Image::KIND_DXT5) {
        log(formatString("ERROR: '%s' in package '%s' is a DDS file of a pixel format that cannot be drawn",
                         name.c_str(), package.c_str()));
        assertFailed("VQ", "Failed to load image", FILE_TAG, 77);
    }
    takeImage(texture, std::move(image));
}

void Texture::takeImage(Texture* texture, std::unique_ptr<Image> image)
{
    texture->mPixels = image ? image->getData() : nullptr;
    texture->mWidth = image ? image->getWidth() : 0;
    texture->mHeight = image ? image->getHeight() : 0;
    texture->mSize = image ? image->getDataSize() : 0;
    texture->mImage = std::move(image);
}

bool Texture::create(Texture* texture)
{
    if (texture->mHandle)
        return true;
    GraphicsDevice* gfx = device();
    if (!gfx || texture->mWidth == 0 || texture->mHeight == 0)
        return false;

    Image* image = texture->mImage.get();
    const int32_t kind = image ? image->getKind() : -1;
    GfxFormat format = formatOfKind(kind);
    if (format != GfxFormat::Unknown)
        texture->mTextureFormat = TF_A8R8G8B8;
    else
        format = mapTextureFormat(texture->mTextureFormat);

    texture->mHandle = gfx->createTexture(texture->mWidth, texture->mHeight, format, false);
    if (!texture->mHandle)
        return false;

    // Palette data has no layout the upload knows: the texture keeps
    // whatever a new texture holds.
    if (image && texture->mPixels && kind != Image::KIND_PALETTE) {
        uint32_t pitch = 0;
        uint8_t* surface = gfx->lockTexture(texture->mHandle, true, pitch);
        if (!surface)
            assertFailed("VQ", "Failed to lock dx8 teture", FILE_TAG, 174);
        // A DXT image holds its smaller levels after the first: only the
        // first level's bytes are copied.
        copyPixels(format, surface, pitch, formatRows(format, texture->mHeight), texture->mPixels,
                   image->getDataSize(), texture->mWidth, texture->mWidth, texture->mHeight);
        gfx->unlockTexture(texture->mHandle);
    }
    texture->mReady = true;
    texture->mImage.reset();
    texture->mPixels = nullptr;
    return true;
}

int Texture::update(Texture* texture, int32_t kind, const uint8_t* pixels, uint32_t width, uint32_t height)
{
    if (!texture->mHandle)
        return 1;
    GraphicsDevice* gfx = device();
    GfxFormat source = GfxFormat::A8R8G8B8;
    if (kind == Image::KIND_DXT5)
        source = GfxFormat::DXT5;
    else if (kind == PIXEL_KIND_A8L8)
        source = GfxFormat::A8L8;
    else if (kind == PIXEL_KIND_L8)
        source = GfxFormat::L8;

    uint32_t pitch = 0;
    uint8_t* surface = gfx->lockTexture(texture->mHandle, false, pitch);
    if (!surface)
        return 1;
    const uint32_t rows = formatRows(texture->mHandle->format(), texture->mHandle->height());
    const size_t sourceSize = size_t(formatPitch(source, width)) * formatRows(source, height);
    copyPixels(source, surface, pitch, rows, pixels, sourceSize, width, std::min(texture->mWidth, width),
               std::min(texture->mHeight, height));
    gfx->unlockTexture(texture->mHandle);
    return 0;
}

void Texture::reset(Texture* texture)
{
    if (texture->mTextureUsage == TU_STATIC)
        return;
    log(formatString("Texture::reset() mTextureUsage %i mTextureFormat %i mHandle %p", texture->mTextureUsage,
                     texture->mTextureFormat, static_cast<void*>(texture->mHandle)));
    destroy(texture);
    texture->mReady = true;

    RenderSystem* renderSystem = RenderSystem::instance();
    GraphicsDevice* gfx = renderSystem->device();
    if (texture->mWidth == 0 || texture->mHeight == 0) {
        // Right after a reset the viewport covers the whole back buffer, so
        // a render texture is never larger than the window.
        const GfxViewport viewport = gfx->viewport();
        const RenderSettings& settings = renderSystem->settings();
        texture->mWidth = std::min<uint32_t>(uint32_t(std::max(settings.workspaceWidth, 0)), viewport.width);
        texture->mHeight = std::min<uint32_t>(uint32_t(std::max(settings.workspaceHeight, 0)), viewport.height);
        texture->mSize = texture->mWidth * texture->mHeight * 4;
    }
    if (texture->mTextureUsage != TU_RENDER_TEXTURE)
        assertFailed("VQ", "ERROR: There is no implementation for creating texture with specified usage type",
                     FILE_TAG, 358);
    log(formatString("Create texture TU_RENDER_TEXTURE size (%i, %i)", int(texture->mWidth), int(texture->mHeight)));
    texture->mHandle =
        gfx->createTexture(texture->mWidth, texture->mHeight, mapTextureFormat(texture->mTextureFormat), true);
    log(formatString("mHandle %p", static_cast<void*>(texture->mHandle)));
}

void Texture::destroy(Texture* texture)
{
    log(formatString("Texture::destroy() mTextureUsage %i mTextureFormat %i mHandle %p", texture->mTextureUsage,
                     texture->mTextureFormat, static_cast<void*>(texture->mHandle)));
    texture->mImage.reset();
    texture->mPixels = nullptr;
    if (texture->mHandle) {
        device()->release(texture->mHandle);
        texture->mHandle = nullptr;
    }
}

}  // namespace VQ
