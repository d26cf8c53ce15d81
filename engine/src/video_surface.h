#pragma once
// One Ogg Theora video read from a package resource and shown as a sprite.
// The video thread decodes its frames at the stream's rate against a clock
// that stands still while the application is inactive, converting each to
// RGBA on the processor or copying its planes for the yuv2rgb shaders; the
// main thread uploads the newest frame into a ring of three textures at the
// end of the frame and draws it. Made and destroyed by VideoSurfaceStreamer.

#include <theora/theora.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "shader_program.h"
#include "vector2.h"
#include "wtimer.h"

namespace VQ {

class File;
class Sprite;
class Texture;

// One kind of decoded pixels with the three textures and sprites it cycles
// through.
struct VideoFrameBuffer {
    enum Type : uint32_t { RGBA = 0, LUMA = 1, CHROMA = 2 };

    std::unique_ptr<uint8_t[]> pixels;
    uint32_t size = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    // A decoded frame waits in `pixels` for upload.
    bool dirty = false;
    uint32_t type = RGBA;
    uint32_t bytesPerPixel = 0;
    Texture* textures[3] = {};
    Sprite* sprites[3] = {};
    // The texture and sprite holding the newest uploaded frame.
    uint32_t current = 0;
    bool created = false;
    bool hasFrame = false;
};

struct VideoFrameSet {
    VideoFrameBuffer rgb;     // processor path
    VideoFrameBuffer luma;    // shader path
    VideoFrameBuffer chroma;  // shader path: U the luminance byte, V the alpha byte
};

// The processor conversion's integer tables, T_k[i] = (k * i - 128 * k) >> 7
// with the shift flooring.
struct YuvTables {
    int16_t t175[256];  // red from V
    int16_t t44[256];   // green from U
    int16_t t91[256];   // green from V
    int16_t t226[256];  // blue from U
};
const YuvTables& yuvTables();

// Converts the decoded planes into packed RGBA rows of `width` pixels, at
// most `width` x `height` and never past the planes. Chroma is read at the
// planes' own scale (half in each direction for 4:2:0).
void convertYuvToRgba(const yuv_buffer& yuv, uint8_t* rgba, uint32_t width, uint32_t height);
// The shader path's copy: luma rows packed into `luma` (width x height),
// then U and V pairs into `chroma` (width / 2 x height / 2, 4:2:0 only).
void copyYuvPlanes(const yuv_buffer& yuv, uint8_t* luma, uint32_t width, uint32_t height, uint8_t* chroma);

class VideoSurface {
public:
    // The largest side a stream may declare; larger ones fail the open.
    static constexpr uint32_t MAX_SIDE = 8192;
    static constexpr int32_t READ_SIZE = 4096;

    // Loads the yuv2rgb shaders; without them the processor path is used.
    VideoSurface();
    // Releases whatever is held, opened or not.
    ~VideoSurface();
    VideoSurface(const VideoSurface&) = delete;
    VideoSurface& operator=(const VideoSurface&) = delete;

    // Opens the resource (package "default"), reads the stream's headers and
    // makes the frame buffers, textures and sprites; 0 success, 1 failure.
    int open(const char* name);
    // Frees the decoder, the file, the buffers, textures and sprites.
    void close();
    // The video thread's step: decodes the next frame once its time came.
    void advance();
    void decodeFrame();
    // Back to the first frame (looping surfaces); false when the file
    // cannot be read from its start again.
    bool rewind();

    // Main thread.
    void uploadFrame();
    void draw();
    void setPosition(const Vector2f& position);
    void setSize(const Vector2f& size);
    // The shown sprite's size; (1, 1) without one.
    Vector2f getSize();

    int32_t gpuConversion = 0;

    // Decoder state.
    ogg_stream_state stream{};
    ogg_sync_state sync{};
    ogg_page page{};
    ogg_packet packet{};
    theora_comment comment{};
    theora_info info{};
    theora_state state{};
    yuv_buffer yuv{};

    std::recursive_mutex stateMutex;
    std::recursive_mutex pixelMutex;
    std::recursive_mutex textureMutex;

    std::unique_ptr<File> file;
    std::unique_ptr<VideoFrameSet> frames;
    // Read by other threads without a lock.
    std::atomic<uint32_t> frameCount{0};
    std::atomic<bool> playing{false};
    std::atomic<bool> ended{false};
    std::atomic<bool> clockRunning{true};
    std::atomic<float> currentTime{0.0f};
    float bankedTime = 0.0f;
    float fps = 0.0f;
    WTimer clock;
    bool looping = false;
    std::string fileName;
    ShaderProgram program;

private:
    // 0 bytes at the end of the data or on an error.
    int32_t readChunk();
    bool readHeaders();
    // The decoder records that have been set up, so that close frees just
    // those.
    void releaseDecoder();
    void allocateBuffer(VideoFrameBuffer& buffer, uint32_t type);
    void createTexturesAndSprites(VideoFrameBuffer& buffer);
    void uploadBuffer(VideoFrameBuffer& buffer);
    VideoFrameBuffer& shownBuffer();
    bool previousFrameUploaded();

    bool mStreamReady = false;
    bool mSyncReady = false;
    bool mHeadersReady = false;  // info and comment set up
    bool mDecoderReady = false;
};

}  // namespace VQ
