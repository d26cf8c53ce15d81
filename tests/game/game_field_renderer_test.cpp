// The board renderer over the sample content on the recording device: cell
// variants and shadows, the fade, the queue's layer order, the glare's
// period, the highlights' delays, the distortion sources and the fatal
// reports.

#include <gtest/gtest.h>

#include <memory>

#include "board_sim_fixture.h"
#include "field_effects.h"
#include "game_field_renderer.h"
#include "game_level.h"
#include "platform/recording_graphics_device.h"
#include "random.h"
#include "render_system.h"
#include "sprite.h"
#include "test_drawable.h"

namespace {

// A drawable that notes its layer in a shared journal when drawn.
class JournalDrawable : public TestDrawable {
public:
    JournalDrawable(std::vector<int>& journal, int layerValue, int tag) : TestDrawable(layerValue), mJournal(journal), mTag(tag) {}
    void draw(int, int) override { mJournal.push_back(mTag); }

private:
    std::vector<int>& mJournal;
    int mTag;
};

class GameFieldRendererTest : public BoardSimFixture::BoardSimTest {
protected:
    void SetUp() override
    {
        BoardSimTest::SetUp();
        addResource("renderer_level_lua", "levels/renderer_level.lua", R"(
GameField = {
    AvailableChips = { "Simple_R", "Simple_G", "Simple_B" },
    Grid = { Cells = { { PosX = 0, PosY = 1, Solidity = 0 }, { PosX = 1, PosY = 2, Solidity = 0 },
                       { PosX = 1, PosY = 3, Solidity = 0 }, { PosX = 2, PosY = 2, Solidity = 2 },
                       { PosX = 3, PosY = 2, Solidity = 3 }, { PosX = 4, PosY = 2, Solidity = 4 } } },
    Chips = {},
}
)");
    }
    void TearDown() override
    {
        mRenderer.reset();
        if (mRender)
            mRender->releaseBatches();
        BoardSimTest::TearDown();
        mRender.reset();
    }
    // The level started, then a renderer of its own on the recording device.
    GameFieldRenderer& startRenderer(const std::string& level = "renderer_level_lua")
    {
        start(level, 3);
        mRender = std::make_unique<VQ::RenderSystem>();
        VQ::RenderSettings settings;
        settings.workspaceWidth = 1726;
        settings.workspaceHeight = 970;
        mRender->setSettings(settings);
        mRender->setWindowSize(1726, 970);
        mRender->setDevice(std::make_unique<VQ::RecordingGraphicsDevice>());
        mRender->createDevice();
        mRenderer = std::make_unique<GameFieldRenderer>(&field());
        return *mRenderer;
    }
    VQ::Sprite* variant(int group, int column, int row)
    {
        const auto& sprites = mRenderer->cellSprites[group];
        return sprites[static_cast<size_t>(column + row * field().gridWidth) % sprites.size()];
    }

    std::unique_ptr<VQ::RenderSystem> mRender;
    std::unique_ptr<GameFieldRenderer> mRenderer;
};

TEST_F(GameFieldRendererTest, CellsPickTheirGroupAndVariantAndTakeTheFade)
{
    GameFieldRenderer& renderer = startRenderer();
    ASSERT_EQ(renderer.cellSprites.size(), 4u);
    ASSERT_EQ(renderer.shadowSprites.size(), 9u);
    struct Case {
        int column, row, group;
    };
    // (2 + 9) mod 2 = 1: the second variant, and so on.
    for (const Case& c : {Case{2, 1, 0}, Case{3, 1, 0}, Case{2, 2, 1}, Case{3, 2, 2}, Case{4, 2, 3}}) {
        SCOPED_TRACE(testing::Message() << c.column << "," << c.row);
        FieldCell& cell = field().rows[c.row][c.column];
        cell.appearAnimation.reset();
        cell.color = VQ::Color(0xFFFFFFFFu);
        renderer.drawCell(100.0f, 200.0f, cell, c.column, c.row, 0.5f);
        VQ::Sprite* sprite = variant(c.group, c.column, c.row);
        EXPECT_EQ(sprite->position().x, 100.0f);
        EXPECT_EQ(sprite->position().y, 200.0f);
        EXPECT_EQ(sprite->vertexColor(0).a, 127);
        sprite->setPositionXY(0, 0);
    }
    FieldCell& strong = field().rows[1][5];
    strong.solidity = 5;
    const VQ::FatalReport report =
        TestSupport::catchFatal([&] { renderer.drawCell(0.0f, 0.0f, strong, 5, 1, 1.0f); });
    EXPECT_EQ(report.description, "");
    EXPECT_EQ(report.file, "GameFieldRenderer");
    EXPECT_EQ(report.line, 229);
}

TEST_F(GameFieldRendererTest, AGroupOfThreeVariantsCountsTheCellsRowByRow)
{
    // Three plain-cell variants on the 9-wide board: cell (c, r) takes
    // variant (c + 9 r) mod 3, so that a row starts where the one above
    // ended rather than repeating it.
    TestSupport::writeFile((media() / "scripts/cells.lua").string(), R"(
local function entry(name) return { file = "cells_sprites", table = name } end
CellSprites = {
    { entry("cell_a"), entry("cell_b"), entry("tile1_a") },
    { entry("tile1_a") }, { entry("tile2_a") }, { entry("tile3_a") },
}
)");
    GameFieldRenderer& renderer = startRenderer();
    const std::vector<VQ::Sprite*>& group = renderer.cellSprites[0];
    ASSERT_EQ(group.size(), 3u);
    struct Case {
        int column, row;
        size_t variant;
    };
    for (const Case& c : {Case{2, 1, 2}, Case{3, 1, 0}, Case{4, 1, 1}, Case{0, 2, 0}, Case{5, 2, 2}, Case{6, 3, 0},
                          Case{1, 4, 1}}) {
        SCOPED_TRACE(testing::Message() << c.column << "," << c.row);
        FieldCell& cell = field().rows[c.row][c.column];
        ASSERT_EQ(cell.solidity, 1);
        cell.appearAnimation.reset();
        for (VQ::Sprite* sprite : group)
            sprite->setPositionXY(0.0f, 0.0f);
        renderer.drawCell(100.0f, 200.0f, cell, c.column, c.row, 1.0f);
        for (size_t v = 0; v < group.size(); ++v)
            EXPECT_EQ(group[v]->position().x == 100.0f, v == c.variant) << "variant " << v;
    }
}

TEST_F(GameFieldRendererTest, MalformedCellArtStopsWithTheFatalReport)
{
    struct Case {
        const char* what;
        const char* script;  // null: no script at all
        const char* description;
        int line;
    };
    const Case cases[] = {
        {"no script", nullptr, "Failed to load script", 198},
        {"no table", "Other = {}\n", "Failed to open table", 200},
        {"an entry that is no table", "CellSprites = { { 7 } }\n", "Failed to open table", 210},
        // Its variant would be picked by a modulo of 0.
        {"an empty group", "CellSprites = { {} }\n", "Failed to open table", 210},
    };
    start("renderer_level_lua", 3);
    mRender = std::make_unique<VQ::RenderSystem>();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.script)
            TestSupport::writeFile((media() / "scripts/cells.lua").string(), c.script);
        else
            std::filesystem::remove(media() / "scripts/cells.lua");
        const VQ::FatalReport report = TestSupport::catchFatal([&] { GameFieldRenderer renderer(&field()); });
        EXPECT_EQ(report.description, c.description);
        EXPECT_EQ(report.file, "GameFieldRenderer");
        EXPECT_EQ(report.line, c.line);
    }
}

TEST_F(GameFieldRendererTest, AHoleUnderACellOfThePlayRowsGetsItsColumnsShadow)
{
    GameFieldRenderer& renderer = startRenderer();
    struct Case {
        int column, row;
        bool shadow;
    };
    // (1, 2) lies under a cell; (0, 1) under the spawn row; (1, 3) under a hole.
    for (const Case& c : {Case{1, 2, true}, Case{0, 1, false}, Case{1, 3, false}}) {
        SCOPED_TRACE(testing::Message() << c.column << "," << c.row);
        VQ::Sprite* shadow = renderer.shadowSprites[c.column];
        shadow->setPositionXY(-1.0f, -1.0f);
        FieldCell& cell = field().rows[c.row][c.column];
        ASSERT_EQ(cell.solidity, 0);
        cell.appearAnimation.reset();
        renderer.drawCell(40.0f, 80.0f, cell, c.column, c.row, 1.0f);
        EXPECT_EQ(shadow->position().x == 40.0f, c.shadow);
    }
}

TEST_F(GameFieldRendererTest, TheQueueDrawsByLayerKeepingTheOrderOfEqualLayers)
{
    GameFieldRenderer& renderer = startRenderer();
    std::vector<int> journal;
    JournalDrawable a(journal, 5, 1), b(journal, 2, 2), c(journal, 5, 3), d(journal, 2, 4);
    for (Drawable* drawable : {static_cast<Drawable*>(&a), static_cast<Drawable*>(&b), static_cast<Drawable*>(&c),
                               static_cast<Drawable*>(&d)})
        renderer.queueDrawable(drawable, 1.9f, 2.9f);
    mRender->beginFrame();
    renderer.render();
    mRender->endFrame();
    // The chips' own drawables join the queue too; ours keep their order.
    EXPECT_EQ(journal, (std::vector<int>{2, 4, 1, 3}));
    EXPECT_TRUE(renderer.drawQueue.empty());
}

TEST_F(GameFieldRendererTest, TheGlareRestartsOnceItsPeriodHasPassed)
{
    GameFieldRenderer& renderer = startRenderer();
    field().cellHotspotPeriod = 3.0f;
    renderer.blindTileAnimation->playing = false;
    for (int step = 1; step <= 3; ++step) {
        renderer.update(1.0f);
        EXPECT_FLOAT_EQ(renderer.hotspotTimer, float(step));
        EXPECT_FALSE(renderer.blindTileAnimation->playing);
    }
    renderer.update(1.0f);
    EXPECT_EQ(renderer.hotspotTimer, 0.0f);
    EXPECT_TRUE(renderer.blindTileAnimation->playing);
}

TEST_F(GameFieldRendererTest, HighlightsStartLaterAwayFromTheTopLeftCorner)
{
    for (const char* interval : {"", "#interval:0.2"}) {
        SCOPED_TRACE(interval);
        const float step = *interval ? 0.2f : 0.15f;
        std::string scene = TestSupport::readFile((media() / "scenes/hightlight.xml").string());
        if (*interval) {
            const std::string marker = "<markers>\n    <marker>\n      <name>" + std::string(interval) +
                                       "</name>\n      <playList/>\n    </marker>";
            scene.replace(scene.find("<markers>"), 9, marker);
        }
        TestSupport::writeFile((media() / "scenes/hightlight.xml").string(), scene);
        GameFieldRenderer& renderer = startRenderer("test_random_lua");
        renderer.createCellHighlights();
        int made = 0;
        for (GameFieldEffect* effect : renderer.effectList().effects) {
            auto* tile = dynamic_cast<TileChipEffect*>(effect);
            ASSERT_NE(tile, nullptr);
            ++made;
            EXPECT_FLOAT_EQ(tile->delay, step * float(std::min<int>(tile->cell->column, tile->cell->row)));
            EXPECT_EQ(tile->layer, 1);
        }
        EXPECT_EQ(made, 9 * 9 - 2);  // the two holes have none
        mRenderer.reset();
        mSim.reset();
        mRender->releaseBatches();
        mRender.reset();
    }
}

TEST_F(GameFieldRendererTest, ABlastGrowsFadesAndGoesTheUpdateAfterItsEnd)
{
    GameFieldRenderer& renderer = startRenderer();
    DistortionSource source;
    source.x = 40;
    source.y = 40;
    source.scaleX = source.scaleY = 0.1f;
    source.duration = source.timeLeft = 0.5f;
    renderer.pushDistortionSource(source);
    updateDistortion(renderer, 0.25f);
    updateDistortion(renderer, 0.25f);
    ASSERT_EQ(renderer.distortionSources.size(), 1u);
    const DistortionSource& grown = renderer.distortionSources[0];
    EXPECT_FLOAT_EQ(grown.scaleX, 2.1f);
    EXPECT_FLOAT_EQ(grown.timeLeft, 0.0f);
    renderer.explosionStrategy.render(grown, 1.0f);
    EXPECT_EQ(renderer.explosionStrategy.sprite->vertexColor(0).a, 0);
    updateDistortion(renderer, 0.01f);
    EXPECT_TRUE(renderer.distortionSources.empty());

    // An empty torch list still draws one number per update.
    VQ::srand(11);
    VQ::rand();
    const int second = VQ::rand();
    VQ::srand(11);
    updateDistortion(renderer, 0.01f);
    EXPECT_EQ(VQ::rand(), second);

    DistortionSource bad = source;
    bad.strategy = 2;
    renderer.pushDistortionSource(bad);
    const VQ::FatalReport report = TestSupport::catchFatal([&] { updateDistortion(renderer, 0.01f); });
    EXPECT_EQ(report.description, "Bad distortion strategy specified");
    EXPECT_EQ(report.line, 512);
}

TEST_F(GameFieldRendererTest, AnAnimatedSpriteRestartsOnTheFirstDrawAfterItIsShown)
{
    startRenderer();
    AnimSpriteDrawable drawable("chips_sprites", "gem_R", 10);
    EXPECT_TRUE(drawable.animation->loop);
    mRender->beginFrame();
    drawable.setVisible(true);
    drawable.animation->time = 0.3f;
    drawable.animation->playing = false;
    drawable.draw(0, 0);
    EXPECT_EQ(drawable.animation->time, 0.0f);
    EXPECT_TRUE(drawable.animation->playing);
    // Shown again without a change: no restart.
    drawable.setVisible(true);
    drawable.animation->time = 0.3f;
    drawable.draw(0, 0);
    EXPECT_EQ(drawable.animation->time, 0.3f);
    // Drawn at the board's cell size, with the corners' opacity.
    EXPECT_EQ(drawable.sprite->size().x, 80.0f);
    drawable.cornerAlpha[0] = 0.5f;
    drawable.draw(0, 0);
    EXPECT_EQ(drawable.sprite->vertexColor(0).a, 127);
    mRender->endFrame();
}

TEST_F(GameFieldRendererTest, TheFreezingRingEndsInTheUpdateThatReachesItsLifetime)
{
    startRenderer();
    GameFieldEffectList list;
    auto* ring = new FreezingRingEffect(VQ::Vector2f(4.5f, 4.5f), 2.0f);
    EXPECT_EQ(ring->field, &field());
    list.add(ring);
    mRender->beginFrame();
    ring->draw();  // radius 0: nothing
    for (int i = 0; i < 5; ++i) {
        list.update(0.2f);
        ring->draw();
    }
    mRender->endFrame();
    ASSERT_EQ(list.effects.size(), 1u);
    list.update(0.2f);
    EXPECT_TRUE(list.effects.empty());
}

}  // namespace
