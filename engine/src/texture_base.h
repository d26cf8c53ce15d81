#pragma once
// What drawing needs of a texture: its device texture, whether that holds its
// pixels yet, and the references that render data keep on it. The texture
// manager's textures derive from it and decide how a reference is given back.

#include <atomic>
#include <cstdint>

namespace VQ {

class GfxTexture;

class TextureBase {
public:
    virtual ~TextureBase() = default;

    void addReference() { ++mRefCount; }
    // Gives back one reference held by render data. A managed texture hands
    // itself to the texture manager, which unregisters it at count 0.
    virtual void releaseReference() { --mRefCount; }

    GfxTexture* mHandle = nullptr;  // null until created on the main thread
    // Atomic: loading threads take references while the main thread gives
    // others back.
    std::atomic<int32_t> mRefCount{0};
    bool mReady = false;  // the device texture exists and holds its pixels
};

}  // namespace VQ
