#include "texture_manager.h"

#include <algorithm>
#include <cstdio>

#include "log_system.h"

namespace VQ {

namespace {

constexpr size_t QUEUE_CAPACITY = 256;
constexpr const char* GENERATED_PACKAGE = "default";

// Numbered from 0 for the whole process, never reset: a render texture made
// by a later reset gets a new name.
int gRenderTextureCounter = 0;
int gEmptyTextureCounter = 0;

}  // namespace

TextureManager::TextureManager()
{
    creationQueue.reserve(QUEUE_CAPACITY);
    releaseQueue.reserve(QUEUE_CAPACITY);
}

TextureManager::~TextureManager()
{
    // The map before the creation queue (and the release queue last), the
    // one order every method takes them in.
    std::lock_guard<std::recursive_mutex> mapLock(mapMutex);
    std::lock_guard<std::recursive_mutex> creationLock(creationQueueMutex);
    for (auto& [package, named] : textures) {
        printf("total textures %li \n", long(named.size()));
        for (auto& [name, texture] : named)
            Texture::destroy(texture.get());
    }
    textures.clear();
    creationQueue.clear();
    processReleaseQueue();
}

Texture* TextureManager::findLocked(const std::string& package, const std::string& name)
{
    const auto packageIt = textures.find(package);
    if (packageIt == textures.end())
        return nullptr;
    const auto it = packageIt->second.find(name);
    return it == packageIt->second.end() ? nullptr : it->second.get();
}

void TextureManager::addBytesLocked(uint32_t bytes)
{
    totalBytes += bytes;
    peakBytes = std::max(peakBytes, totalBytes);
}

Texture* TextureManager::registerTexture(const std::string& package, const std::string& name,
                                         std::unique_ptr<Texture> texture)
{
    std::lock_guard<std::recursive_mutex> mapLock(mapMutex);
    // Another thread may have decoded the same file meanwhile: its texture
    // is the one callers already hold, so it stays and this copy goes.
    if (Texture* registered = findLocked(package, name))
        return registered;
    Texture* result = texture.get();
    result->mName = name;
    addBytesLocked(result->mSize);
    textures[package][name] = std::move(texture);
    std::lock_guard<std::recursive_mutex> queueLock(creationQueueMutex);
    creationQueue.push_back(result);
    return result;
}

Texture* TextureManager::getTexture(const std::string& name, const std::string& package)
{
    {
        std::lock_guard<std::recursive_mutex> mapLock(mapMutex);
        if (Texture* registered = findLocked(package, name))
            return registered;
    }
    auto texture = std::make_unique<Texture>();
    Texture::loadImage(texture.get(), name, package);
    return registerTexture(package, name, std::move(texture));
}

Texture* TextureManager::createTextureFromImage(const std::string& package, Image* image, const std::string& name)
{
    std::unique_ptr<Image> owned(image);
    {
        std::lock_guard<std::recursive_mutex> mapLock(mapMutex);
        if (Texture* registered = findLocked(package, name))
            return registered;
    }
    auto texture = std::make_unique<Texture>();
    Texture::takeImage(texture.get(), std::move(owned));
    return registerTexture(package, name, std::move(texture));
}

void TextureManager::removeLocked(Texture* texture)
{
    for (auto& [package, named] : textures)
        for (auto it = named.begin(); it != named.end(); ++it) {
            if (it->second.get() != texture)
                continue;
            {
                // Held while the texture leaves the queue and loses its
                // image, so that a frame end creating it cannot overlap.
                std::lock_guard<std::recursive_mutex> queueLock(creationQueueMutex);
                creationQueue.erase(std::remove(creationQueue.begin(), creationQueue.end(), texture),
                                    creationQueue.end());
                totalBytes -= std::min(texture->mSize, totalBytes);
                std::lock_guard<std::recursive_mutex> releaseLock(releaseQueueMutex);
                texture->mImage.reset();
                texture->mPixels = nullptr;
                releaseQueue.push_back(std::move(it->second));
            }
            named.erase(it);
            return;
        }
}

void TextureManager::releaseTexture(Texture* texture)
{
    std::lock_guard<std::recursive_mutex> mapLock(mapMutex);
    bool registered = false;
    for (auto& [package, named] : textures)
        for (auto& [name, entry] : named)
            registered = registered || entry.get() == texture;
    if (!registered)
        return;
    if (--texture->mRefCount >= 1)
        return;
    removeLocked(texture);
}

void TextureManager::destroyTexture(Texture* texture)
{
    std::lock_guard<std::recursive_mutex> mapLock(mapMutex);
    removeLocked(texture);
}

Texture* TextureManager::createRenderTexture()
{
    std::lock_guard<std::recursive_mutex> mapLock(mapMutex);
    const std::string name = formatString("rendertexture%i", gRenderTextureCounter++);
    log(formatString("Creating render texture... (%s)", name.c_str()));
    auto texture = std::make_unique<Texture>();
    texture->mTextureUsage = TU_RENDER_TEXTURE;
    texture->mTextureFormat = TF_BACKBUFFER;
    Texture::reset(texture.get());
    return registerTexture(GENERATED_PACKAGE, name, std::move(texture));
}

Texture* TextureManager::createEmptyTexture(uint32_t width, uint32_t height, int32_t format)
{
    std::lock_guard<std::recursive_mutex> mapLock(mapMutex);
    const std::string name = formatString("emptytexture%i", gEmptyTextureCounter++);
    auto texture = std::make_unique<Texture>();
    texture->mWidth = width;
    texture->mHeight = height;
    texture->mTextureFormat = format;
    texture->mSize = width * height * 4;
    Texture* result = registerTexture(GENERATED_PACKAGE, name, std::move(texture));
    log(formatString("Creating empty texture... (%s)", name.c_str()));
    return result;
}

void TextureManager::processReleaseQueue()
{
    std::lock_guard<std::recursive_mutex> releaseLock(releaseQueueMutex);
    for (auto& texture : releaseQueue)
        Texture::destroy(texture.get());
    releaseQueue.clear();
}

void TextureManager::processQueues()
{
    processReleaseQueue();
    // One pass over the queue: each texture is created, or, when the device
    // refuses it, left for the next frame end, so that a texture that
    // cannot be made neither stops the others nor keeps this loop going.
    for (size_t index = 0;;) {
        std::lock_guard<std::recursive_mutex> queueLock(creationQueueMutex);
        if (index >= creationQueue.size())
            break;
        Texture* texture = creationQueue[index];
        if (texture->mReady || Texture::create(texture)) {
            creationQueue.erase(creationQueue.begin() + long(index));
            continue;
        }
        if (!texture->mCreationFailureLogged) {
            texture->mCreationFailureLogged = true;
            log(formatString("ERROR: Failed to create texture '%s' of %u x %u; it is tried again each frame",
                             texture->mName.c_str(), texture->mWidth, texture->mHeight));
        }
        ++index;
    }
}

void TextureManager::releaseDeviceTextures()
{
    for (auto& [package, named] : textures)
        for (auto& [name, texture] : named)
            if (texture->mTextureUsage != TU_STATIC)
                Texture::destroy(texture.get());
}

void TextureManager::restoreDeviceTextures()
{
    for (auto& [package, named] : textures)
        for (auto& [name, texture] : named)
            if (texture->mTextureUsage != TU_STATIC)
                Texture::reset(texture.get());
}

uint32_t TextureManager::getTotalBytes()
{
    std::lock_guard<std::recursive_mutex> mapLock(mapMutex);
    return totalBytes;
}

uint32_t TextureManager::getPeakBytes()
{
    std::lock_guard<std::recursive_mutex> mapLock(mapMutex);
    return peakBytes;
}

size_t TextureManager::creationQueueSize()
{
    std::lock_guard<std::recursive_mutex> queueLock(creationQueueMutex);
    return creationQueue.size();
}

}  // namespace VQ
