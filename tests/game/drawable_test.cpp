// Chip drawables: the entry factory, the sprite kinds over the shipped chip
// atlas, the scene kind's cues and its copies, and the group's queueing.

#include <gtest/gtest.h>

#include <memory>

#include "../engine/animationeditor/scene_test_nodes.h"
#include "board_renderer.h"
#include "chip_manager.h"
#include "drawable.h"
#include "drawables_group.h"
#include "game_field.h"
#include "game_level.h"
#include "game_state_manager.h"
#include "sprite.h"
#include "support/shipped_content_fixture.h"

namespace {

// Counts its updates in a shared tally; `moving` says whether its update
// does anything.
class TallyDrawable : public Drawable {
public:
    TallyDrawable(int& tally, bool moving) : tally(&tally), moving(moving) {}
    void draw(int, int) override {}
    Drawable* clone() const override { return new TallyDrawable(*this); }
    bool isAlive() override { return true; }
    void update(float) override { ++*tally; }
    bool needsUpdate() const override { return moving; }

    int* tally;
    bool moving;
};

TEST(DrawablesGroupUpdate, OnlyDrawablesThatMoveAreUpdatedAndEachGroupUpdatesItsOwn)
{
    int first = 0, second = 0, still = 0;
    DrawablesGroup group;
    auto* a = new TallyDrawable(first, true);
    group.add(a);
    group.add(new TallyDrawable(still, false));
    group.add(new TallyDrawable(second, true));
    group.update(0.1f);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(still, 0);

    DrawablesGroup copy(group);
    group.remove(a);
    delete a;
    group.update(0.1f);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    // The copies count into the same tallies, once each.
    copy.update(0.1f);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 3);

    DrawablesGroup assigned;
    assigned.add(new TallyDrawable(still, true));
    assigned = group;
    assigned.update(0.1f);
    EXPECT_EQ(second, 4);
    EXPECT_EQ(still, 0);
    group.deleteAll();
    group.update(0.1f);
    EXPECT_EQ(second, 4);
    EXPECT_EQ(group.size(), 0u);
}

TEST(SceneCues, TokensStartTimesAndTheSuffix)
{
    struct Case {
        const char* text;
        const char* suffix;
        std::vector<std::pair<std::string, float>> cues;
        float maxStart;
    };
    const std::string longToken(40, 'x');
    const Case cases[] = {
        {"glow%s(0.5);idle", "_R", {{"glow_R", 0.5f}, {"idle", 0.0f}}, 0.5f},
        // Ending right after a start time, with or without the ';'.
        {"a(1.25)", "", {{"a", 1.25f}}, 1.25f},
        {"a(1.25);", "", {{"a", 1.25f}}, 1.25f},
        // A ')' is skipped only when there.
        {"a(2b", "", {{"a", 2.0f}, {"b", 0.0f}}, 2.0f},
        // Not a format: other '%' signs stay as they are.
        {"100%d%s", "_G", {{"100%d_G", 0.0f}}, 0.0f},
        {"", "", {}, 0.0f},
        {";", "", {{"", 0.0f}}, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        float maxStart = 0.0f;
        const std::vector<SceneCue> cues = parseSceneCues(c.text, c.suffix, maxStart);
        ASSERT_EQ(cues.size(), c.cues.size());
        for (size_t i = 0; i < cues.size(); ++i) {
            EXPECT_EQ(cues[i].name, c.cues[i].first);
            EXPECT_FLOAT_EQ(cues[i].start, c.cues[i].second);
            EXPECT_FALSE(cues[i].played);
        }
        EXPECT_FLOAT_EQ(maxStart, c.maxStart);
    }
    // Tokens are cut at 31 characters, names at 63.
    float maxStart = 0.0f;
    EXPECT_EQ(parseSceneCues(longToken, "", maxStart).at(0).name, std::string(31, 'x'));
    EXPECT_EQ(parseSceneCues("%s%s", std::string(40, 's'), maxStart).at(0).name.size(), 63u);
}

// A scene whose root has markers "a" and "b" over a child with a second of
// key frames.
std::unique_ptr<AE::ISceneNode> markedScene()
{
    auto root = std::make_unique<AE::ISceneNode>();
    AE::ISceneNode* child = SceneTest::addGroup(root.get(), "child");
    child->storeKeyFrame(0);
    child->storeKeyFrame(24);
    for (const char* name : {"a", "b"}) {
        root->addMarker(std::make_unique<AE::Marker>(name));
        root->markers.back()->addEntry(child, 0, 24, false, false);
    }
    return root;
}

TEST(SceneDrawable, CuesPlayOnceTimedFromTheCopysCreation)
{
    float maxStart = 0.0f;
    std::vector<SceneCue> cues = parseSceneCues("a(0.5);b", "", maxStart);
    SceneDrawable prototype(markedScene(), cues, maxStart, 3);
    // The prototype's cues wait for its own updates.
    EXPECT_EQ(prototype.root->getMarker("b")->state, AE::Marker::STOPPED);

    std::unique_ptr<Drawable> copy(prototype.clone());
    auto* scene = static_cast<SceneDrawable*>(copy.get());
    EXPECT_EQ(scene->layer, 3);
    EXPECT_EQ(scene->root->getMarker("b")->state, AE::Marker::PLAYING);
    EXPECT_EQ(scene->root->getMarker("a")->state, AE::Marker::STOPPED);
    for (int i = 0; i < 4; ++i)
        scene->update(0.1f);
    EXPECT_FALSE(scene->cues[0].played);
    scene->update(0.1f);
    EXPECT_TRUE(scene->cues[0].played);
    EXPECT_EQ(scene->root->getMarker("a")->state, AE::Marker::PLAYING);
    // Past the latest start nothing is examined again.
    scene->update(0.1f);
    const float elapsed = scene->elapsed;
    scene->update(0.1f);
    EXPECT_FLOAT_EQ(scene->elapsed, elapsed);
}

// The shipped content with the chip manager's script cache and a level of
// 80-pixel cells being played.
class ChipArtTest : public TestSupport::ShippedContentTest {
protected:
    void SetUp() override
    {
        ShippedContentTest::SetUp();
        mChips = std::make_unique<ChipManager>();
        mStates.level = &mLevel;
        mField.cellSize = 80;
        mLevel.field = &mField;
    }
    void TearDown() override
    {
        mChips.reset();
        clearBehaviorPrototypes();
        ShippedContentTest::TearDown();
    }

    std::unique_ptr<ChipManager> mChips;
    GameStateManager mStates{nullptr};
    GameLevel mLevel;
    GameField mField;
};

TEST_F(ChipArtTest, SpriteEntriesOpenTheirTableWithTheColourSuffix)
{
    struct Case {
        const char* type;
        const char* table;
        const char* suffix;
        float left, top;  // the source rect's corner in the atlas
    };
    const Case cases[] = {
        {"Sprite", "gem", "_G", 0, 80},
        {"AnimSprite", "star", "_O", 720, 400},
        {"Sprite", "selection", "", 400, 480},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        std::unique_ptr<Drawable> drawable(createDrawable(c.type, "chips_sprites", c.table, 4, c.suffix));
        auto* sprite = dynamic_cast<SpriteDrawable*>(drawable.get());
        ASSERT_NE(sprite, nullptr);
        EXPECT_EQ(sprite->sprite->sourceRects().at(0).left, c.left);
        EXPECT_EQ(sprite->sprite->sourceRects().at(0).top, c.top);
        EXPECT_TRUE(drawable->isAlive());
        std::unique_ptr<Drawable> copy(drawable->clone());
        EXPECT_EQ(copy->layer, 4);
        EXPECT_NE(static_cast<SpriteDrawable*>(copy.get())->sprite, sprite->sprite);
    }
    EXPECT_EQ(createDrawable("sprite", "chips_sprites", "gem", 0, ""), nullptr);
    EXPECT_EQ(createDrawable("", "", "", 0, ""), nullptr);
}

TEST_F(ChipArtTest, AlphaVisibilityAndRestartFlags)
{
    std::unique_ptr<Drawable> drawable(createDrawable("Sprite", "chips_sprites", "gem", 4, "_R"));
    EXPECT_FALSE(drawable->visible);
    EXPECT_TRUE(drawable->restartOnShow);
    drawable->setAlpha(1.7f);
    EXPECT_EQ(drawable->alpha, 1.0f);
    drawable->setAlpha(-0.2f);
    EXPECT_EQ(drawable->alpha, -0.2f);
    drawable->setVisible(true);
    EXPECT_FALSE(drawable->wasVisible);
    drawable->setVisible(true);
    EXPECT_TRUE(drawable->wasVisible);
}

TEST_F(ChipArtTest, AGroupQueuesEveryDrawableUnclipped)
{
    DrawablesGroup group;
    group.add(createDrawable("Sprite", "chips_sprites", "gem", 2, "_B"));
    group.add(createDrawable("Sprite", "chips_sprites", "glint", 1, ""));
    group.objects.front()->clipEnabled = true;
    NullBoardRenderer renderer;
    group.draw(renderer, nullptr, 10, 20);
    EXPECT_EQ(renderer.queuedDrawables, 2);
    EXPECT_FALSE(group.objects.front()->clipEnabled);
    DrawablesGroup copy(group);
    ASSERT_EQ(copy.size(), 2u);
    EXPECT_EQ(copy.objects.back()->layer, 1);
}

}  // namespace
