#include "video_player.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

#include "config_manager.h"
#include "input_manager.h"
#include "render_system.h"
#include "sound_system/sound_manager.h"
#include "ui/ui_font.h"
#include "ui/ui_font_manager.h"
#include "video_surface.h"
#include "video_surface_streamer.h"

namespace VQ {

namespace {

// The workspace of the current platform.
Vector2f workspaceSize()
{
    if (ConfigManager* config = ConfigManager::instancePtr())
        if (const Platform* platform = config->currentPlatform())
            return Vector2f(float(platform->width), float(platform->height));
    const RenderSettings& settings = RenderSystem::instance()->settings();
    return Vector2f(float(settings.workspaceWidth), float(settings.workspaceHeight));
}

UIFont* takeFont(const std::string& name)
{
    if (name.empty() || !UIFontManager::exists())
        return nullptr;
    return UIFontManager::instance()->getFont(name);
}

void giveBackFont(UIFont*& font)
{
    if (font && UIFontManager::exists())
        UIFontManager::instance()->releaseFont(font);
    font = nullptr;
}

bool copyName(char (&target)[VideoSlot::NAME_SIZE], const std::string& name)
{
    if (name.size() >= VideoSlot::NAME_SIZE)
        return false;
    std::memset(target, 0, sizeof(target));
    std::memcpy(target, name.data(), name.size());
    return true;
}

}  // namespace

VideoPlayer::VideoPlayer() = default;

VideoPlayer::~VideoPlayer()
{
    {
        std::lock_guard<std::recursive_mutex> lock(mMutex);
        for (uint32_t i = 0; i < mSlotCount; ++i)
            closeSlot(mSlots[i]);
        mSlotCount = 0;
    }
    for (VideoSlot& slot : mSlots)
        releaseRecord(slot);
}

void VideoPlayer::releaseRecord(VideoSlot& slot)
{
    giveBackFont(slot.subtitles.font);
    slot.subtitles.entries.clear();
    giveBackFont(slot.labelFont);
    slot.labelText.reset();
}

bool VideoPlayer::enqueue(const std::string& videoName, const std::string& soundName,
                          const std::vector<VideoSubtitleText>& subtitles, const Vector2f& boxPosition,
                          const Vector2f& boxSize, const VideoSubtitleStyle* style, const std::string& subtitleFont,
                          const std::optional<std::u16string>& labelText, const std::string& labelFont,
                          const Color& labelColor, const Vector2f& labelSize)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (mSlotCount >= MAX_SLOTS || videoName.size() >= VideoSlot::NAME_SIZE ||
        soundName.size() >= VideoSlot::NAME_SIZE)
        return false;
    VideoSlot& slot = mSlots[mSlotCount];
    releaseRecord(slot);
    slot = VideoSlot();
    copyName(slot.videoName, videoName);
    copyName(slot.soundName, soundName);
    VideoSubtitles& titles = slot.subtitles;
    for (const VideoSubtitleText& text : subtitles) {
        SubtitleEntry entry;
        entry.text = text.text;
        entry.start = text.start;
        entry.end = text.end;
        titles.entries.push_back(std::move(entry));
    }
    titles.boxPosition = boxPosition;
    titles.boxSize = boxSize;
    if (style) {
        titles.customStyle = true;
        titles.xcoeff = style->xcoeff;
        titles.ycoeff = style->ycoeff;
        titles.halign = style->halign;
        titles.valign = style->valign;
        titles.wordWrap = style->wordWrap;
        titles.color = style->color;
    }
    titles.font = takeFont(subtitleFont);
    slot.labelText = labelText;
    slot.labelFont = takeFont(labelFont);
    slot.labelColor = labelColor;
    slot.labelSize = labelText ? labelSize : Vector2f(0.0f, 0.0f);
    ++mSlotCount;
    return true;
}

void VideoPlayer::update()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    handleInput(mCurrentSlot >= 0 && uint32_t(mCurrentSlot) < mSlotCount ? &mSlots[mCurrentSlot] : nullptr);
    if (mSlotCount == 0)
        return;
    if (mCurrentSlot < 0) {
        mCurrentSlot = 0;
        openSlot(mSlots[0]);
    }
    VideoSlot& slot = mSlots[mCurrentSlot];
    layoutSlot(slot);
    // A surface that a decode error closed stops playing without ending;
    // it counts as ended, so the queue moves on.
    if (!slot.surface || slot.surface->ended || !slot.surface->playing)
        removeFront();
}

void VideoPlayer::removeFront()
{
    if (mSlotCount == 0)
        return;
    closeSlot(mSlots[0]);
    releaseRecord(mSlots[0]);
    for (uint32_t i = 1; i < mSlotCount; ++i)
        mSlots[i - 1] = std::move(mSlots[i]);
    // The last record's fonts and texts now belong to the one before it.
    mSlots[mSlotCount - 1] = VideoSlot();
    --mSlotCount;
    mCurrentSlot = -1;
}

void VideoPlayer::skip()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (mCurrentSlot >= 0)
        removeFront();
}

void VideoPlayer::render()
{
    if (mCurrentSlot < 0)
        return;
    RenderSystem* render = RenderSystem::instance();
    render->beginFrame();
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (mCurrentSlot >= 0)
        drawSlot(mSlots[mCurrentSlot]);
    render->endFrame();
    render->present();
    std::this_thread::sleep_for(std::chrono::milliseconds(16));
}

void VideoPlayer::openSlot(VideoSlot& slot)
{
    SoundManager* sound = SoundManager::instancePtr();
    if (sound)
        sound->stopAll();
    slot.surface = VideoSurfaceStreamer::instance()->createSurface(slot.videoName);
    if (slot.surface) {
        slot.videoSize = slot.surface->getSize();
        layoutSlot(slot);
    }
    if (slot.soundName[0] && sound) {
        slot.soundId = sound->acquireResource(slot.soundName);
        if (slot.soundId == 0) {
            SoundDescription description;
            description.filename = slot.soundName;
            description.group = 0;
            description.volume = 1.0f;
            description.looped = 0;
            description.priority = 0;
            slot.soundId = sound->registerResource(description);
        }
        if (slot.soundId != 0)
            slot.soundHandle = sound->createAndPlay(slot.soundId);
    }
}

void VideoPlayer::closeSlot(VideoSlot& slot)
{
    giveBackFont(slot.subtitles.font);
    slot.subtitles.entries.clear();
    if (VideoSurfaceStreamer* streamer = VideoSurfaceStreamer::instancePtr())
        streamer->destroySurface(slot.surface);
    slot.surface = nullptr;
    if (SoundManager* sound = SoundManager::instancePtr())
        sound->stop(slot.soundHandle);
    slot.soundHandle = 0;
    // The label's font and text came with the queued slot and go with it.
    giveBackFont(slot.labelFont);
    slot.labelText.reset();
}

void VideoPlayer::layoutSlot(VideoSlot& slot)
{
    if (!slot.surface)
        return;
    Vector2f offset, size;
    float scale = 1.0f;
    RenderSystem::instance()->fitViewport(slot.videoSize, workspaceSize(), 0, 1.0f, 1.33f, offset, size, scale);
    // One unit of overlap on every side hides the edge of the fitted area.
    offset -= Vector2f(1.0f, 1.0f);
    size += Vector2f(2.0f, 2.0f);
    slot.surface->setSize(size);
    slot.surface->setPosition(offset);
}

void VideoPlayer::handleInput(VideoSlot* slot)
{
    if (!slot)
        return;
    InputManager* input = InputManager::instancePtr();
    MouseDevice* mouse = input ? input->mouse() : nullptr;
    if (!mouse)
        return;
    const Vector2f cursor = input->cursorPosition();
    Vector2f offset, size;
    float scale = 1.0f;
    RenderSystem::instance()->getWorkspaceViewport(offset, size, scale);
    if (scale == 0.0f)
        scale = 1.0f;
    // The label's top-right corner 64 units in from the window's top-right
    // corner, bars or not.
    slot->labelPosition = Vector2f(workspaceSize().x - 64.0f - slot->labelSize.x + offset.x / scale,
                                   64.0f - offset.y / scale);
    const Vector2f& at = slot->labelPosition;
    mHover = at.x < cursor.x && cursor.x < at.x + slot->labelSize.x && at.y < cursor.y &&
             cursor.y < at.y + slot->labelSize.y;
    const bool pressed = (mouse->left && !mouse->previousLeft) || (mouse->right && !mouse->previousRight);
    if (mHover && pressed)
        skip();
}

const SubtitleEntry* VideoPlayer::findSubtitle(const VideoSubtitles& subtitles, float time)
{
    for (const SubtitleEntry& entry : subtitles.entries)
        if (entry.start <= time && time < entry.end)
            return &entry;
    return nullptr;
}

void VideoPlayer::drawSlot(VideoSlot& slot)
{
    if (slot.surface) {
        slot.surface->draw();
        slot.subtitles.time = slot.surface->currentTime;
    }
    drawSubtitles(slot.subtitles);
    drawLabel(slot);
}

namespace {

struct TextStyle {
    bool wordWrap = true;
    uint32_t halign = 1;
    uint32_t valign = 1;
    float xcoeff = 0.0f;
    float ycoeff = 0.0f;
    Color color{0xFFFFFFFFu};
};

TextStyle subtitleStyle(const VideoSubtitles& subtitles)
{
    TextStyle style;
    if (subtitles.customStyle)
        style = {subtitles.wordWrap, subtitles.halign, subtitles.valign, subtitles.xcoeff, subtitles.ycoeff,
                 subtitles.color};
    return style;
}

}  // namespace

void VideoPlayer::drawSubtitles(VideoSubtitles& subtitles)
{
    SubtitleEntry* entry = const_cast<SubtitleEntry*>(findSubtitle(subtitles, subtitles.time));
    if (!entry || !entry->text || !subtitles.font)
        return;
    if (!entry->laidOut) {
        layoutSubtitle(subtitles, *entry);
        entry->laidOut = true;
    }
    const TextStyle style = subtitleStyle(subtitles);
    subtitles.font->color = style.color;
    subtitles.font->drawText(Rect(), entry->position, *entry->text, style.wordWrap, style.halign, style.valign,
                             style.xcoeff, style.ycoeff, false, true, entry->size.x, entry->size.y);
}

void VideoPlayer::layoutSubtitle(VideoSubtitles& subtitles, SubtitleEntry& entry)
{
    const TextStyle style = subtitleStyle(subtitles);
    entry.textRect = subtitles.font->getTextRect(subtitles.boxPosition, *entry.text, style.wordWrap, style.halign,
                                                 style.valign, style.xcoeff, style.ycoeff, subtitles.boxSize.x,
                                                 subtitles.boxSize.y);
    const float w = std::fabs(entry.textRect.right - entry.textRect.left);
    const float h = std::fabs(entry.textRect.bottom - entry.textRect.top);
    entry.size = Vector2f(w > subtitles.boxSize.x ? w : subtitles.boxSize.x,
                          h > subtitles.boxSize.y ? h : subtitles.boxSize.y);
    // A larger text grows the box up and to the left: its bottom-right
    // corner stays where the configured box ends.
    entry.position = subtitles.boxPosition - (entry.size - subtitles.boxSize);
}

void VideoPlayer::drawLabel(VideoSlot& slot)
{
    const Color colour = mHover ? Color(0.85f, 0.85f, 0.85f, 0.85f) * slot.labelColor : slot.labelColor;
    if (!slot.labelFont || !slot.labelText)
        return;
    slot.labelFont->color = colour;
    slot.labelFont->drawText(Rect(), slot.labelPosition, *slot.labelText, slot.labelWordWrap, slot.labelHalign,
                             slot.labelValign, slot.labelXcoeff, slot.labelYcoeff, false, true, 0.0f, 0.0f);
}

}  // namespace VQ
