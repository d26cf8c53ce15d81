// The video player: the queue (one video after the other with the gap of
// one update, videos that are missing, cut or damaged), the sound track,
// the fit into the workspace, the skip label's place and its clicks, and
// the subtitles with their growing box.

#include <gtest/gtest.h>

#include "input_manager.h"
#include "sound_system/sound_manager.h"
#include "support/sound_fixtures.h"
#include "ui/ui_font.h"
#include "ui/ui_font_manager.h"
#include "video_fixture.h"
#include "video_player.h"

using namespace VideoTestSupport;
using VQ::Vector2f;
using VQ::VideoPlayer;
using VQ::VideoSurface;

namespace {

// Glyph "A" 10 units wide and 20 tall, the space 4.
const char* const TEST_FONT = R"(
Image = "vf_image"
CharList = {
    { 32, 0, 0, 4, 20 },
    { 65, 4, 0, 10, 20 },
}
)";

class VideoPlayerTest : public VideoTest {
protected:
    void SetUp() override
    {
        VideoTest::SetUp();
        // A workspace of 1366 x 768 shown in a window of the same size.
        std::string config = TestSupport::readFile(contentPath("config.lua"));
        const size_t at = config.find("{ 1726, 970 }");
        ASSERT_NE(at, std::string::npos);
        config.replace(at, 13, "{ 1366, 768 }");
        writeContent("config.lua", config);
        mSettings.workspaceWidth = 1366;
        mSettings.workspaceHeight = 768;
        addImage("vf_image", 16, 32, [](uint32_t, uint32_t) { return 0xFFFFFFFFu; });
        addLua("vf_fnt", TEST_FONT);
        addClip("short_a", makeClip(64, 48, 4));
        addClip("short_b", makeClip(64, 48, 3));
    }
    void start(uint32_t windowWidth = 1366)
    {
        startVideo(windowWidth, 768);
        mFonts = std::make_unique<VQ::UIFontManager>();
        mInput = std::make_unique<VQ::InputManager>(nullptr);
        mInput->initDevices();
        mPlayer = std::make_unique<VideoPlayer>();
    }
    void TearDown() override
    {
        mPlayer.reset();
        mInput.reset();
        mSound.reset();
        mFonts.reset();
        VideoTest::TearDown();
    }
    bool enqueue(const std::string& video, const std::string& sound = "",
                 const std::vector<VQ::VideoSubtitleText>& subtitles = {},
                 const std::optional<std::u16string>& label = std::nullopt,
                 const VQ::VideoSubtitleStyle* style = nullptr)
    {
        return mPlayer->enqueue(video, sound, subtitles, Vector2f(100, 500), Vector2f(200, 50), style,
                                subtitles.empty() ? "" : "vf_fnt", label, label ? "vf_fnt" : "",
                                VQ::Color(0xFFFFFFFFu), Vector2f(100, 40));
    }
    VideoSurface* current() { return mPlayer->slotCount() ? mPlayer->slot(0).surface : nullptr; }
    // Frame ends until the playing video has ended (or 3 s passed).
    void playToEnd()
    {
        VideoSurface* surface = current();
        ASSERT_NE(surface, nullptr);
        runFrames(3.0, [&] { return surface->ended.load() || !surface->playing.load(); });
    }
    void mouseAt(int x, int y, bool left, bool previousLeft, bool right = false)
    {
        VQ::MouseDevice& mouse = *mInput->mouse();
        mouse.x = x;
        mouse.y = y;
        mouse.left = left ? 0x80 : 0;
        mouse.previousLeft = previousLeft ? 0x80 : 0;
        mouse.right = right ? 0x80 : 0;
        mouse.previousRight = 0;
    }

    std::unique_ptr<VQ::UIFontManager> mFonts;
    std::unique_ptr<VQ::InputManager> mInput;
    std::unique_ptr<VQ::SoundManager> mSound;
    std::unique_ptr<VideoPlayer> mPlayer;
};

}  // namespace

TEST_F(VideoPlayerTest, QueuedVideosPlayOneAfterTheOtherWithAGapOfOneUpdate)
{
    TestSupport::useSilentAudioDevice();
    const std::vector<char> tone = TestSupport::makeToneOgg(22050, 1, 22050);
    writeContent("videos/track.ogg", std::string(tone.begin(), tone.end()));
    start();
    VQ::FileSystem::instance()->filesOfPackage("default")["track_sound"] = "videos/track.ogg";
    mSound = std::make_unique<VQ::SoundManager>();

    ASSERT_TRUE(enqueue("short_a", "track_sound"));
    ASSERT_TRUE(enqueue("short_b"));
    EXPECT_EQ(mPlayer->slotCount(), 2u);
    EXPECT_EQ(mPlayer->currentSlot(), -1);

    mPlayer->update();
    EXPECT_EQ(mPlayer->currentSlot(), 0);
    ASSERT_NE(current(), nullptr);
    const int32_t track = mPlayer->slot(0).soundHandle;
    EXPECT_NE(track, 0);
    EXPECT_TRUE(mSound->isPlaying(track));
    playToEnd();
    EXPECT_TRUE(current()->ended);

    mPlayer->update();  // the first goes
    EXPECT_EQ(mPlayer->slotCount(), 1u);
    EXPECT_EQ(mPlayer->currentSlot(), -1);
    EXPECT_FALSE(mSound->isPlaying(track));
    EXPECT_EQ(mStreamer->surfaceCount(), 0u);
    mPlayer->update();  // the second starts
    EXPECT_EQ(mPlayer->currentSlot(), 0);
    EXPECT_STREQ(mPlayer->slot(0).videoName, "short_b");
    playToEnd();
    mPlayer->update();
    EXPECT_EQ(mPlayer->slotCount(), 0u);
    EXPECT_EQ(mStreamer->surfaceCount(), 0u);
}

TEST_F(VideoPlayerTest, MissingCutAndDamagedVideosEndTheirSlots)
{
    // A moving picture over several pages, cut inside its last page.
    const std::vector<uint8_t> clip = makeClip(64, 48, 40, [](VideoGen::Clip& c) {
        c.pixel = [](uint32_t frame, uint32_t x, uint32_t y) { return VideoGen::lanternScene(frame, 40, x, y, 64, 48); };
    });
    const std::string bytes(clip.begin(), clip.end());
    addClip("cut", std::vector<uint8_t>(clip.begin(), clip.begin() + long(bytes.rfind("OggS") + 30)));
    addClip("damaged", makeClip(64, 48, 10, [](VideoGen::Clip& c) { c.damagedFrame = 2; }));
    start();
    // Missing: dropped in the update that tried to open it.
    ASSERT_TRUE(enqueue("missing"));
    mPlayer->update();
    EXPECT_EQ(mPlayer->slotCount(), 0u);
    EXPECT_EQ(mPlayer->currentSlot(), -1);

    for (const char* name : {"cut", "damaged"}) {
        ASSERT_TRUE(enqueue(name));
        mPlayer->update();
        ASSERT_EQ(mPlayer->currentSlot(), 0) << name;
        playToEnd();
        mPlayer->update();
        EXPECT_EQ(mPlayer->slotCount(), 0u) << name;
        EXPECT_EQ(mStreamer->surfaceCount(), 0u) << name;
    }
}

TEST_F(VideoPlayerTest, TheQueueHoldsEightAndNamesOfUpTo63Bytes)
{
    start();
    EXPECT_FALSE(enqueue(std::string(64, 'v')));
    EXPECT_FALSE(enqueue("short_a", std::string(64, 's')));
    EXPECT_TRUE(enqueue(std::string(63, 'v')));
    for (int i = 1; i < 8; ++i)
        EXPECT_TRUE(enqueue("short_a", "", {{u"A", 0, 1}}, u"Skip"));
    EXPECT_FALSE(enqueue("short_a"));
    EXPECT_EQ(mPlayer->slotCount(), 8u);
    // Each queued subtitle and label holds the font once.
    EXPECT_EQ(mFonts->fontCount(), 1u);
    mPlayer.reset();
    EXPECT_EQ(mFonts->fontCount(), 0u);
}

TEST_F(VideoPlayerTest, AVideoIsFittedIntoTheWorkspaceOverlappingByOneUnit)
{
    addClip("vga", makeClip(640, 480, 2));
    start();
    ASSERT_TRUE(enqueue("vga"));
    mPlayer->update();
    VideoSurface* surface = current();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(mPlayer->slot(0).videoSize, Vector2f(640, 480));
    for (VQ::Sprite* sprite : surface->frames->luma.sprites) {
        ASSERT_NE(sprite, nullptr);
        EXPECT_EQ(sprite->position(), Vector2f(170, -1));
        EXPECT_EQ(sprite->size(), Vector2f(1026, 770));
    }
}

TEST_F(VideoPlayerTest, TheSkipLabelSitsInTheTopRightCornerAndOnlyAFreshClickInsideSkips)
{
    start();
    ASSERT_TRUE(enqueue("short_a", "", {}, u"Skip"));
    ASSERT_TRUE(enqueue("short_b", "", {}, u"Skip"));
    mouseAt(0, 0, false, false);
    mPlayer->update();
    mPlayer->update();
    EXPECT_EQ(mPlayer->slot(0).labelPosition, Vector2f(1202, 64));

    const struct {
        int x, y;
        bool left, previousLeft, right;
        bool hover, skips;
    } clicks[] = {
        {1202, 80, true, false, false, false, false},  // on the left edge
        {1250, 64, true, false, false, false, false},  // on the top edge
        {1302, 80, true, false, false, false, false},  // on the right edge
        {1250, 80, false, false, false, true, false},  // hovering
        {1250, 80, true, true, false, true, false},    // held from before
        {1250, 80, false, false, true, true, true},    // the right button
    };
    for (const auto& c : clicks) {
        mouseAt(c.x, c.y, c.left, c.previousLeft, c.right);
        mPlayer->update();
        EXPECT_EQ(mPlayer->hover(), c.hover) << c.x << "," << c.y;
        EXPECT_EQ(mPlayer->slotCount(), c.skips ? 1u : 2u) << c.x << "," << c.y;
    }
    // The next video starts in the same update; a fresh left click skips it.
    EXPECT_STREQ(mPlayer->slot(0).videoName, "short_b");
    EXPECT_EQ(mPlayer->currentSlot(), 0);
    mouseAt(1250, 80, true, false);
    mPlayer->update();
    EXPECT_EQ(mPlayer->slotCount(), 0u);

    // Bars of 50 pixels left and right: the label moves into the bar.
    mRender->setWindowSize(1466, 768);
    ASSERT_TRUE(enqueue("short_a", "", {}, u"Skip"));
    mouseAt(0, 0, false, false);
    mPlayer->update();
    mPlayer->update();
    EXPECT_EQ(mPlayer->slot(0).labelPosition, Vector2f(1252, 64));

    // Bars of 50 pixels above and below: the label moves up into the bar.
    mPlayer->skip();
    mRender->setWindowSize(1366, 868);
    ASSERT_TRUE(enqueue("short_a", "", {}, u"Skip"));
    mPlayer->update();
    mPlayer->update();
    EXPECT_EQ(mPlayer->slot(0).labelPosition, Vector2f(1202, 14));

    // Hovered, the label is drawn at 85 % of its colour, alpha too.
    createQueuedTextures();
    VQ::UIFont* font = mPlayer->slot(0).labelFont;
    ASSERT_NE(font, nullptr);
    mouseAt(1250, 80, false, false);  // 30 in the workspace, under the bar
    mPlayer->update();
    ASSERT_TRUE(mPlayer->hover());
    mPlayer->render();
    for (uint8_t channel : {font->color.r, font->color.g, font->color.b, font->color.a})
        EXPECT_NEAR(channel, 216, 1);
    mouseAt(0, 0, false, false);
    mPlayer->update();
    mPlayer->render();
    EXPECT_EQ(font->color.argb(), 0xFFFFFFFFu);
}

TEST_F(VideoPlayerTest, SubtitlesShowByTimeInABoxThatGrowsUpAndLeft)
{
    VQ::VideoSubtitles titles;
    for (auto [start, end] : {std::pair{0.0f, 2.0f}, std::pair{2.0f, 4.0f}}) {
        VQ::SubtitleEntry entry;
        entry.start = start;
        entry.end = end;
        titles.entries.push_back(entry);
    }
    EXPECT_EQ(VideoPlayer::findSubtitle(titles, 1.99f), &titles.entries[0]);
    EXPECT_EQ(VideoPlayer::findSubtitle(titles, 2.0f), &titles.entries[1]);
    EXPECT_EQ(VideoPlayer::findSubtitle(titles, 4.0f), nullptr);
    EXPECT_EQ(VideoPlayer::findSubtitle(titles, 5.0f), nullptr);

    start();
    createQueuedTextures();
    const std::u16string wide(30, u'A');  // 300 units on one line
    VQ::VideoSubtitleStyle style;
    style.wordWrap = false;
    style.halign = 0;
    style.valign = 0;
    ASSERT_TRUE(enqueue("short_a", "", {{u"AA", 0.0f, 100.0f}, {wide, 100.0f, 200.0f}}, std::nullopt, &style));
    mPlayer->update();
    mPlayer->render();
    const VQ::SubtitleEntry& small = mPlayer->slot(0).subtitles.entries[0];
    EXPECT_TRUE(small.laidOut);
    EXPECT_EQ(small.size, Vector2f(200, 50));
    EXPECT_EQ(small.position, Vector2f(100, 500));

    // The wide entry, laid out when it shows.
    VQ::VideoSubtitles& live = const_cast<VQ::VideoSubtitles&>(mPlayer->slot(0).subtitles);
    live.entries[0].end = 0.0f;
    live.entries[1].start = 0.0f;
    mPlayer->render();
    const VQ::SubtitleEntry& grown = live.entries[1];
    ASSERT_TRUE(grown.laidOut);
    const float w = grown.textRect.right - grown.textRect.left;
    EXPECT_GT(w, 200.0f);
    EXPECT_EQ(grown.size, Vector2f(w, 50));
    EXPECT_EQ(grown.position, Vector2f(100 - (w - 200), 500));
}
