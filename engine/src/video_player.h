#pragma once
// Plays a queue of up to eight full-screen videos, one after the other, in
// place of the game's own frame; while the queue is not empty the
// application neither updates nor draws the game. Each video may carry a
// sound track, timed subtitles and a skip label in the window's top-right
// corner that a click on it skips the video with.

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "color.h"
#include "rect.h"
#include "singleton.h"
#include "vector2.h"

namespace VQ {

class UIFont;
class VideoSurface;

struct SubtitleEntry {
    std::optional<std::u16string> text;
    // Shown for start <= time < end (seconds of playback).
    float start = 0.0f;
    float end = 0.0f;
    Rect textRect;
    bool laidOut = false;
    // The box the entry is drawn in: the configured box, grown up and to the
    // left to hold a larger text.
    Vector2f size{0.0f, 0.0f};
    Vector2f position{0.0f, 0.0f};
};

struct VideoSubtitles {
    std::vector<SubtitleEntry> entries;
    float time = 0.0f;
    Vector2f boxPosition{0.0f, 0.0f};
    Vector2f boxSize{0.0f, 0.0f};
    UIFont* font = nullptr;
    float xcoeff = 0.0f;
    float ycoeff = 0.0f;
    uint32_t halign = 0;
    uint32_t valign = 0;
    bool wordWrap = false;
    Color color;
    // Use the style fields and colour above instead of the defaults.
    bool customStyle = false;
};

struct VideoSlot {
    static constexpr size_t NAME_SIZE = 64;

    char videoName[NAME_SIZE] = {};
    char soundName[NAME_SIZE] = {};
    VideoSubtitles subtitles;
    VideoSurface* surface = nullptr;
    int32_t soundId = 0;
    int32_t soundHandle = 0;
    float labelXcoeff = 0.0f;
    float labelYcoeff = 0.0f;
    uint32_t labelHalign = 0;
    uint32_t labelValign = 0;
    bool labelWordWrap = false;
    UIFont* labelFont = nullptr;
    Color labelColor;
    std::optional<std::u16string> labelText;
    Vector2f labelPosition{0.0f, 0.0f};
    // The clickable width and height; zero for no label.
    Vector2f labelSize{0.0f, 0.0f};
    Vector2f videoSize{0.0f, 0.0f};
};

// What a client queues with a video.
struct VideoSubtitleText {
    std::u16string text;
    float start = 0.0f;
    float end = 0.0f;
};

struct VideoSubtitleStyle {
    float xcoeff = 0.0f;
    float ycoeff = 0.0f;
    uint32_t halign = 1;
    uint32_t valign = 1;
    bool wordWrap = true;
    Color color{0xFFFFFFFFu};
};

class VideoPlayer : public Singleton<VideoPlayer> {
public:
    static constexpr uint32_t MAX_SLOTS = 8;

    VideoPlayer();
    // Closes every queued video, then releases what the slot records hold.
    ~VideoPlayer() override;

    // Queues a video (package "default") with an optional sound track
    // (empty: none), subtitles in the box with their style (null: the
    // default white, centred and wrapped) and font, and a skip label of the
    // given clickable size (no label without a text). The slot keeps copies
    // of the texts and one reference on each font. False when eight are
    // queued or a name does not fit in 63 bytes.
    bool enqueue(const std::string& videoName, const std::string& soundName,
                 const std::vector<VideoSubtitleText>& subtitles, const Vector2f& boxPosition,
                 const Vector2f& boxSize, const VideoSubtitleStyle* style, const std::string& subtitleFont,
                 const std::optional<std::u16string>& labelText, const std::string& labelFont,
                 const Color& labelColor, const Vector2f& labelSize);

    // The frame's work on the queue (main thread, first in the frame).
    void update();
    // Draws the playing video as the whole frame.
    void render();
    // Skips the video that plays.
    void skip();

    // Videos queued; 0 while none plays.
    uint32_t slotCount() const { return mSlotCount; }
    int32_t currentSlot() const { return mCurrentSlot; }
    bool hover() const { return mHover; }
    const VideoSlot& slot(uint32_t index) const { return mSlots[index]; }
    std::recursive_mutex& mutex() { return mMutex; }

    // The entry shown at `time`: the first with start <= time < end, or null.
    static const SubtitleEntry* findSubtitle(const VideoSubtitles& subtitles, float time);

private:
    void openSlot(VideoSlot& slot);
    void closeSlot(VideoSlot& slot);
    void layoutSlot(VideoSlot& slot);
    void handleInput(VideoSlot* slot);
    // The front slot goes: the rest move up one place.
    void removeFront();
    void drawSlot(VideoSlot& slot);
    void drawSubtitles(VideoSubtitles& subtitles);
    void layoutSubtitle(VideoSubtitles& subtitles, SubtitleEntry& entry);
    void drawLabel(VideoSlot& slot);
    // Gives back the fonts and texts a record holds.
    static void releaseRecord(VideoSlot& slot);

    VideoSlot mSlots[MAX_SLOTS];
    uint32_t mSlotCount = 0;
    int32_t mCurrentSlot = -1;
    std::recursive_mutex mMutex;
    bool mHover = false;
};

}  // namespace VQ
