#include "video_surface.h"

#include <algorithm>
#include <cstring>

#include "color.h"
#include "file_system.h"
#include "log_system.h"
#include "rect.h"
#include "render_system.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "texture.h"
#include "texture_manager.h"

namespace VQ {

namespace {

YuvTables buildTables()
{
    YuvTables t{};
    for (int i = 0; i < 256; ++i) {
        // An arithmetic shift of a negative value floors, as the tables want.
        t.t175[i] = int16_t((175 * i - 128 * 175) >> 7);
        t.t44[i] = int16_t((44 * i - 128 * 44) >> 7);
        t.t91[i] = int16_t((91 * i - 128 * 91) >> 7);
        t.t226[i] = int16_t((226 * i - 128 * 226) >> 7);
    }
    return t;
}

uint8_t clampByte(int v)
{
    return uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v));
}

uint32_t nextPowerOfTwo(uint32_t n)
{
    uint32_t p = 1;
    while (p < n)
        p <<= 1;
    return p;
}

// How far a chroma plane is shrunk against luma in one direction: 1 when it
// is half the size, else 0.
int chromaShift(int lumaSide, int chromaSide)
{
    return chromaSide > 0 && chromaSide * 2 <= lumaSide ? 1 : 0;
}

const char* colorspaceLine(int colorspace)
{
    switch (colorspace) {
    case OC_CS_UNSPECIFIED:
        return "VideoSurface: colorspace not specified.";
    case OC_CS_ITU_REC_470M:
        return "VideoSurface: colorspace ITU Rec 470M (NTSC)";
    case OC_CS_ITU_REC_470BG:
        return "VideoSurface: colorspace ITU Rec 470BG (PAL)";
    default:
        return "VideoSurface: Warning! unknown colorspace specified";
    }
}

}  // namespace

const YuvTables& yuvTables()
{
    static const YuvTables tables = buildTables();
    return tables;
}

void convertYuvToRgba(const yuv_buffer& yuv, uint8_t* rgba, uint32_t width, uint32_t height)
{
    if (!yuv.y || !yuv.u || !yuv.v || yuv.y_width <= 0 || yuv.y_height <= 0 || yuv.uv_width <= 0 ||
        yuv.uv_height <= 0)
        return;
    const YuvTables& t = yuvTables();
    const uint32_t columns = std::min<uint32_t>(uint32_t(yuv.y_width), width);
    const uint32_t rows = std::min<uint32_t>(uint32_t(yuv.y_height), height);
    const int shiftX = chromaShift(yuv.y_width, yuv.uv_width);
    const int shiftY = chromaShift(yuv.y_height, yuv.uv_height);
    const uint32_t chromaColumns = uint32_t(yuv.uv_width);
    const uint32_t chromaRows = uint32_t(yuv.uv_height);
    for (uint32_t r = 0; r < rows; ++r) {
        // Strides may be negative (planes stored bottom-up).
        const uint8_t* luma = yuv.y + ptrdiff_t(r) * yuv.y_stride;
        const ptrdiff_t chromaRow = ptrdiff_t(std::min(r >> shiftY, chromaRows - 1)) * yuv.uv_stride;
        const uint8_t* u = yuv.u + chromaRow;
        const uint8_t* v = yuv.v + chromaRow;
        uint8_t* out = rgba + size_t(r) * width * 4;
        for (uint32_t c = 0; c < columns; ++c) {
            const int y = luma[c];
            const uint32_t cc = std::min(c >> shiftX, chromaColumns - 1);
            const int cu = u[cc];
            const int cv = v[cc];
            out[0] = clampByte(y + t.t175[cv]);
            out[1] = clampByte(y - t.t44[cu] - t.t91[cv]);
            out[2] = clampByte(y + t.t226[cu]);
            out[3] = 255;
            out += 4;
        }
    }
}

void copyYuvPlanes(const yuv_buffer& yuv, uint8_t* luma, uint32_t width, uint32_t height, uint8_t* chroma)
{
    if (!yuv.y || !yuv.u || !yuv.v || yuv.y_width <= 0 || yuv.y_height <= 0 || yuv.uv_width <= 0 ||
        yuv.uv_height <= 0)
        return;
    const uint32_t columns = std::min<uint32_t>(uint32_t(yuv.y_width), width);
    const uint32_t rows = std::min<uint32_t>(uint32_t(yuv.y_height), height);
    for (uint32_t r = 0; r < rows; ++r)
        std::memcpy(luma + size_t(r) * width, yuv.y + ptrdiff_t(r) * yuv.y_stride, columns);
    const uint32_t chromaWidth = width / 2;
    const uint32_t chromaColumns = std::min<uint32_t>(uint32_t(yuv.uv_width), chromaWidth);
    const uint32_t chromaRows = std::min<uint32_t>(uint32_t(yuv.uv_height), height / 2);
    for (uint32_t r = 0; r < chromaRows; ++r) {
        const uint8_t* u = yuv.u + ptrdiff_t(r) * yuv.uv_stride;
        const uint8_t* v = yuv.v + ptrdiff_t(r) * yuv.uv_stride;
        uint8_t* out = chroma + size_t(r) * chromaWidth * 2;
        for (uint32_t c = 0; c < chromaColumns; ++c) {
            out[2 * c] = u[c];
            out[2 * c + 1] = v[c];
        }
    }
}

// ---------------------------------------------------------------------------

VideoSurface::VideoSurface()
{
    if (RenderSystem::exists()) {
        RenderSystem& render = *RenderSystem::instance();
        const bool pixel = loadYuvPixelShader(render, &program.pixelShader) == 0;
        const bool vertex = loadYuvVertexShader(render, &program.vertexShader) == 0;
        program.ready = pixel && vertex;
    }
    gpuConversion = program.ready ? 1 : 0;
    frames = std::make_unique<VideoFrameSet>();
}

VideoSurface::~VideoSurface()
{
    close();
    if (RenderSystem::exists())
        RenderSystem::instance()->releaseShaderProgram(&program);
}

int32_t VideoSurface::readChunk()
{
    if (!file)
        return 0;
    char* buffer = ogg_sync_buffer(&sync, READ_SIZE);
    if (!buffer)
        return 0;
    const int32_t bytes = file->read(buffer, READ_SIZE);
    if (bytes <= 0)
        return 0;
    ogg_sync_wrote(&sync, bytes);
    return bytes;
}

bool VideoSurface::readHeaders()
{
    int headers = 0;
    // The stream-beginning pages: the first whose first packet Theora takes
    // is the video.
    bool beginning = true;
    while (beginning) {
        if (readChunk() == 0)
            return false;
        while (ogg_sync_pageout(&sync, &page) > 0) {
            if (!ogg_page_bos(&page)) {
                if (mStreamReady)
                    ogg_stream_pagein(&stream, &page);
                beginning = false;
                break;
            }
            if (mStreamReady)
                continue;
            ogg_stream_state scratch;
            if (ogg_stream_init(&scratch, ogg_page_serialno(&page)) != 0)
                return false;
            if (ogg_stream_pagein(&scratch, &page) != 0) {
                ogg_stream_clear(&scratch);
                return false;
            }
            const int taken = ogg_stream_packetout(&scratch, &packet);
            if (taken < 0) {
                ogg_stream_clear(&scratch);
                return false;
            }
            if (taken > 0 && theora_decode_header(&info, &comment, &packet) >= 0) {
                stream = scratch;
                mStreamReady = true;
                headers = 1;
            } else {
                ogg_stream_clear(&scratch);
            }
        }
    }
    // The comment and setup headers.
    while (headers < 3) {
        if (mStreamReady) {
            const int taken = ogg_stream_packetout(&stream, &packet);
            if (taken < 0)
                return false;
            if (taken > 0) {
                if (theora_decode_header(&info, &comment, &packet) < 0)
                    return false;
                if (++headers == 3)
                    break;
            }
        }
        if (ogg_sync_pageout(&sync, &page) > 0) {
            if (mStreamReady)
                ogg_stream_pagein(&stream, &page);
        } else if (readChunk() == 0) {
            return false;
        }
    }
    return true;
}

int VideoSurface::open(const char* name)
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    if (!name)
        return 1;
    fileName = name;
    file.reset(FileSystem::instance()->openFile("default", name));
    if (!file)
        return 1;

    releaseDecoder();
    ogg_sync_init(&sync);
    mSyncReady = true;
    theora_info_init(&info);
    theora_comment_init(&comment);
    mHeadersReady = true;
    if (!readHeaders())
        return 1;
    // The buffers and textures are sized from the header: a side the
    // textures cannot take, or a rate that cannot be divided, is refused
    // before the decoder exists.
    if (info.width == 0 || info.height == 0 || info.width > MAX_SIDE || info.height > MAX_SIDE ||
        info.fps_numerator == 0 || info.fps_denominator == 0)
        return 1;
    if (theora_decode_init(&state, &info) != 0)
        return 1;
    mDecoderReady = true;
    // The shader path's chroma buffer holds 4:2:0 planes only.
    if (info.pixelformat != OC_PF_420)
        gpuConversion = 0;

    log(colorspaceLine(info.colorspace));
    log("VideoSurface: dump comments");
    log("--BEGIN --");
    log(std::string("Vendor: ") + (comment.vendor ? comment.vendor : ""));
    for (int i = 0; i < comment.comments; ++i)
        if (comment.user_comments && comment.user_comments[i])
            log(std::string(comment.user_comments[i],
                            comment.comment_lengths ? size_t(std::max(comment.comment_lengths[i], 0))
                                                    : std::strlen(comment.user_comments[i])));
    log("--END --");

    currentTime = 0.0f;
    bankedTime = 0.0f;
    frameCount = 0;
    playing = true;
    ended = false;
    clockRunning = true;
    fps = float(info.fps_numerator) / float(info.fps_denominator);
    clock.reset();

    if (!frames)
        frames = std::make_unique<VideoFrameSet>();
    if (gpuConversion == 0) {
        allocateBuffer(frames->rgb, VideoFrameBuffer::RGBA);
        createTexturesAndSprites(frames->rgb);
    } else {
        allocateBuffer(frames->luma, VideoFrameBuffer::LUMA);
        allocateBuffer(frames->chroma, VideoFrameBuffer::CHROMA);
        createTexturesAndSprites(frames->luma);
        createTexturesAndSprites(frames->chroma);
    }
    return 0;
}

void VideoSurface::allocateBuffer(VideoFrameBuffer& buffer, uint32_t type)
{
    std::lock_guard<std::recursive_mutex> lock(pixelMutex);
    if (buffer.pixels)
        return;
    buffer.type = type;
    buffer.bytesPerPixel = type == VideoFrameBuffer::RGBA ? 4 : (type == VideoFrameBuffer::LUMA ? 1 : 2);
    buffer.width = type == VideoFrameBuffer::CHROMA ? info.width / 2 : info.width;
    buffer.height = type == VideoFrameBuffer::CHROMA ? info.height / 2 : info.height;
    buffer.size = buffer.bytesPerPixel * buffer.width * buffer.height;
    buffer.pixels = std::make_unique<uint8_t[]>(buffer.size);
}

void VideoSurface::createTexturesAndSprites(VideoFrameBuffer& buffer)
{
    std::lock_guard<std::recursive_mutex> lock(textureMutex);
    const int32_t format =
        buffer.type == VideoFrameBuffer::RGBA ? TF_A8R8G8B8 : (buffer.type == VideoFrameBuffer::LUMA ? TF_L8 : TF_A8L8);
    for (int i = 0; i < 3; ++i) {
        Texture* texture = TextureManager::instance()->createEmptyTexture(nextPowerOfTwo(buffer.width),
                                                                         nextPowerOfTwo(buffer.height), format);
        if (!texture)
            break;
        Sprite* sprite = SpriteManager<Sprite>::instance()->createSpriteFromTexture(texture);
        if (!sprite) {
            TextureManager::instance()->destroyTexture(texture);
            break;
        }
        buffer.textures[i] = texture;
        buffer.sprites[i] = sprite;
        sprite->setSourceRect(0, Rect(0.0f, 0.0f, float(buffer.width), float(buffer.height)), false);
        sprite->updateTexCoords();
        sprite->setSize(Vector2f(float(buffer.width), float(buffer.height)));
    }
    buffer.created = true;
}

void VideoSurface::releaseDecoder()
{
    if (mStreamReady)
        ogg_stream_clear(&stream);
    if (mDecoderReady)
        theora_clear(&state);
    if (mHeadersReady) {
        theora_comment_clear(&comment);
        theora_info_clear(&info);
    }
    if (mSyncReady)
        ogg_sync_clear(&sync);
    mStreamReady = mDecoderReady = mHeadersReady = mSyncReady = false;
    stream = {};
    sync = {};
    page = {};
    packet = {};
    comment = {};
    info = {};
    state = {};
    yuv = {};
}

void VideoSurface::close()
{
    // One order for every path that holds two of the surface's mutexes
    // (state, pixels, textures), as the upload takes them: the streamer's
    // mutex is then no longer what keeps two orders from meeting.
    std::lock_guard<std::recursive_mutex> stateLock(stateMutex);
    std::lock_guard<std::recursive_mutex> pixelLock(pixelMutex);
    std::lock_guard<std::recursive_mutex> textureLock(textureMutex);
    releaseDecoder();
    if (file) {
        file->close();
        file.reset();
    }
    if (frames) {
        SpriteManager<Sprite>* sprites = SpriteManager<Sprite>::instancePtr();
        for (VideoFrameBuffer* buffer : {&frames->rgb, &frames->luma, &frames->chroma}) {
            buffer->pixels.reset();
            for (int i = 0; i < 3; ++i) {
                // The sprite holds the texture's references: releasing it
                // gives the texture back to the manager.
                if (buffer->sprites[i] && sprites)
                    sprites->releaseSprite(buffer->sprites[i]);
                buffer->sprites[i] = nullptr;
                buffer->textures[i] = nullptr;
            }
            buffer->created = false;
        }
        frames.reset();
    }
    playing = false;
    ended = false;
}

void VideoSurface::advance()
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    if (!playing || ended || !(clockRunning || frameCount == 0))
        return;
    const float t = clock.elapsedSeconds() + bankedTime;
    currentTime = t;
    if (float(frameCount) < t * fps)
        decodeFrame();
}

bool VideoSurface::previousFrameUploaded()
{
    std::lock_guard<std::recursive_mutex> lock(pixelMutex);
    if (gpuConversion == 1)
        return !frames->luma.dirty && !frames->chroma.dirty;
    return !frames->rgb.dirty;
}

void VideoSurface::decodeFrame()
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    if (!playing || ended || !(clockRunning || frameCount == 0) || !frames || !previousFrameUploaded())
        return;
    bool rewound = false;
    for (;;) {
        if (ogg_stream_packetout(&stream, &packet) > 0) {
            if (theora_decode_packetin(&state, &packet) == OC_BADPACKET) {
                close();
                return;
            }
            if (theora_decode_YUVout(&state, &yuv) != 0) {
                close();
                return;
            }
            {
                std::lock_guard<std::recursive_mutex> pixels(pixelMutex);
                if (gpuConversion == 1) {
                    copyYuvPlanes(yuv, frames->luma.pixels.get(), frames->luma.width, frames->luma.height,
                                  frames->chroma.pixels.get());
                    frames->luma.dirty = true;
                    frames->chroma.dirty = true;
                } else {
                    convertYuvToRgba(yuv, frames->rgb.pixels.get(), frames->rgb.width, frames->rgb.height);
                    frames->rgb.dirty = true;
                }
            }
            ++frameCount;
            return;
        }
        // Pages the header pass read ahead come before new data: a clip
        // shorter than one read would otherwise end before its frames.
        if (ogg_sync_pageout(&sync, &page) > 0) {
            ogg_stream_pagein(&stream, &page);
            continue;
        }
        if (readChunk() == 0) {
            // A looping clip that cannot be read from its start again, or
            // holds no frame at all, ends rather than rewinding for ever.
            if (looping && !rewound && rewind()) {
                rewound = true;
                continue;
            }
            ended = true;
            return;
        }
        while (ogg_sync_pageout(&sync, &page) > 0)
            ogg_stream_pagein(&stream, &page);
    }
}

bool VideoSurface::rewind()
{
    std::lock_guard<std::recursive_mutex> lock(stateMutex);
    clock.reset();
    bankedTime = 0.0f;
    frameCount = 0;
    ended = false;
    file.reset(FileSystem::instance()->openFile("default", fileName));
    if (!file || !mStreamReady || !mSyncReady)
        return false;
    ogg_stream_reset(&stream);
    ogg_sync_reset(&sync);
    if (readChunk() == 0)
        return false;
    // Past the stream-beginning pages to the first other one.
    for (;;) {
        const int result = ogg_sync_pageout(&sync, &page);
        if (result > 0 && !ogg_page_bos(&page))
            break;
        if (result <= 0 && readChunk() == 0)
            return false;
    }
    ogg_stream_pagein(&stream, &page);
    // The comment and setup headers go by; decoding resumes at the first frame.
    int taken = 0;
    while (taken < 2) {
        if (ogg_stream_packetout(&stream, &packet) > 0)
            ++taken;
        if (taken == 2)
            break;
        if (ogg_sync_pageout(&sync, &page) > 0)
            ogg_stream_pagein(&stream, &page);
        else if (readChunk() == 0)
            return false;
    }
    return true;
}

VideoFrameBuffer& VideoSurface::shownBuffer()
{
    return gpuConversion == 1 ? frames->luma : frames->rgb;
}

void VideoSurface::uploadBuffer(VideoFrameBuffer& buffer)
{
    Sprite* sprite = buffer.sprites[buffer.current];
    const RenderData* mesh = sprite ? sprite->meshRenderData() : nullptr;
    if (!mesh || mesh->textures.empty() || !mesh->textures[0])
        return;
    buffer.current = (buffer.current + 1) % 3;
    const int32_t kind = buffer.type == VideoFrameBuffer::RGBA
                             ? 2
                             : (buffer.type == VideoFrameBuffer::LUMA ? PIXEL_KIND_L8 : PIXEL_KIND_A8L8);
    // A texture the frame end has not created yet takes nothing: that frame
    // is dropped, and the next one is decoded all the same.
    if (Texture* texture = buffer.textures[buffer.current])
        Texture::update(texture, kind, buffer.pixels.get(), buffer.width, buffer.height);
    buffer.dirty = false;
    buffer.hasFrame = true;
}

void VideoSurface::uploadFrame()
{
    std::lock_guard<std::recursive_mutex> pixelLock(pixelMutex);
    std::lock_guard<std::recursive_mutex> textureLock(textureMutex);
    if (!frames)
        return;
    if (!frames->rgb.dirty && !frames->luma.dirty && !frames->chroma.dirty)
        return;
    VideoFrameBuffer& shown = shownBuffer();
    if (shown.dirty)
        uploadBuffer(shown);
    if (gpuConversion == 1 && frames->chroma.dirty)
        uploadBuffer(frames->chroma);
}

void VideoSurface::draw()
{
    std::lock_guard<std::recursive_mutex> lock(textureMutex);
    if (!frames)
        return;
    if (gpuConversion == 1 && program.ready) {
        VideoFrameBuffer& luma = frames->luma;
        VideoFrameBuffer& chroma = frames->chroma;
        if (!luma.created || !luma.hasFrame || !chroma.created || !chroma.hasFrame)
            return;
        Texture* uvTexture = chroma.textures[chroma.current];
        Sprite* uvSprite = chroma.sprites[chroma.current];
        Sprite* sprite = luma.sprites[luma.current];
        if (!uvTexture || !uvSprite || !sprite)
            return;
        // The chroma coordinate, for whoever reads it from the vertex colour;
        // the shaders take the exact one from the first coordinate set.
        const float uvWidth = float(std::max<uint32_t>(uvTexture->mWidth, 1));
        const float uvHeight = float(std::max<uint32_t>(uvTexture->mHeight, 1));
        for (uint32_t row = 0; row <= std::min(sprite->rows(), uvSprite->rows()); ++row)
            for (uint32_t col = 0; col <= std::min(sprite->cols(), uvSprite->cols()); ++col) {
                const Vector2f uv = *uvSprite->gridTexCoord(col, row);
                sprite->setVertexColor(row * (sprite->cols() + 1) + col,
                                       Color(uv.x / uvWidth, uv.y / uvHeight, 1.0f, 1.0f));
            }
        RenderSystem* render = RenderSystem::instance();
        GraphicsDevice* device = render->device();
        if (!device)
            return;
        render->flushBatch();
        device->setTexture(1, uvTexture->mHandle);
        render->useShaderProgram(&program);
        device->setVertexShaderConstant(0, &render->shaderTransform().m[0][0], 4);
        sprite->updateVertices();
        sprite->draw();
        render->useFixedFunction();
        device->setTexture(1, nullptr);
        return;
    }
    VideoFrameBuffer& rgb = frames->rgb;
    if (!rgb.created || !rgb.hasFrame)
        return;
    if (Sprite* sprite = rgb.sprites[rgb.current]) {
        sprite->updateVertices();
        sprite->draw();
    }
}

void VideoSurface::setPosition(const Vector2f& position)
{
    std::lock_guard<std::recursive_mutex> lock(textureMutex);
    if (!frames)
        return;
    for (Sprite* sprite : shownBuffer().sprites)
        if (sprite)
            sprite->setPosition(position);
}

void VideoSurface::setSize(const Vector2f& size)
{
    std::lock_guard<std::recursive_mutex> lock(textureMutex);
    if (!frames)
        return;
    for (Sprite* sprite : shownBuffer().sprites)
        if (sprite)
            sprite->setSize(size);
}

Vector2f VideoSurface::getSize()
{
    std::lock_guard<std::recursive_mutex> lock(textureMutex);
    if (!frames)
        return Vector2f(1.0f, 1.0f);
    const VideoFrameBuffer& shown = shownBuffer();
    const Sprite* sprite = shown.sprites[shown.current];
    return sprite ? sprite->size() : Vector2f(1.0f, 1.0f);
}

}  // namespace VQ
