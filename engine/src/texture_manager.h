#pragma once
// The process-wide cache of textures by package and resource name. Any
// thread may ask for a texture and decodes its image itself; only the main
// thread makes device textures, at the end of each frame, from the queue the
// other threads fill. Textures whose last reference goes are queued and
// destroyed there too.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "singleton.h"
#include "texture.h"

namespace VQ {

class TextureManager : public Singleton<TextureManager> {
public:
    TextureManager();
    ~TextureManager() override;

    // The registered texture, or a new one loaded from the file (decoded on
    // the calling thread). Adds no reference.
    Texture* getTexture(const std::string& name, const std::string& package);
    // The registered texture of that name, or a new one made from the image
    // (the manager takes the image either way).
    Texture* createTextureFromImage(const std::string& package, Image* image, const std::string& name);
    // Drops one reference; at none the texture leaves the map and is
    // destroyed at the next frame end.
    void releaseTexture(Texture* texture);
    // Removes the texture whatever its count.
    void destroyTexture(Texture* texture);
    // Main thread: a new render target sized to the workspace and window.
    Texture* createRenderTexture();
    // A texture without pixels, for content uploaded with Texture::update.
    Texture* createEmptyTexture(uint32_t width, uint32_t height, int32_t format);

    // Main thread, at the end of each frame.
    void processQueues();
    void processReleaseQueue();
    // Main thread, around a device reset.
    void releaseDeviceTextures();
    void restoreDeviceTextures();

    uint32_t getTotalBytes();
    uint32_t getPeakBytes();
    // For tests and the debug display: textures waiting for their device texture.
    size_t creationQueueSize();

private:
    Texture* registerTexture(const std::string& package, const std::string& name, std::unique_ptr<Texture> texture);
    Texture* findLocked(const std::string& package, const std::string& name);
    void removeLocked(Texture* texture);
    void addBytesLocked(uint32_t bytes);

    std::map<std::string, std::map<std::string, std::unique_ptr<Texture>>> textures;
    uint32_t totalBytes = 0;
    uint32_t peakBytes = 0;
    std::vector<Texture*> creationQueue;
    std::vector<std::unique_ptr<Texture>> releaseQueue;
    std::recursive_mutex creationQueueMutex;
    std::recursive_mutex mapMutex;
    std::recursive_mutex releaseQueueMutex;
};

}  // namespace VQ
