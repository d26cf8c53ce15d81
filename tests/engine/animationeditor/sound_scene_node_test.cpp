// The sound scene node on the sample sounds and OpenAL's silent device: the
// "play" keys start and stop the sound with their log lines, fading, shared
// resources, sounds that end by themselves, stopping, and the saved form.

#include <gtest/gtest.h>

#include "animationeditor/sound_scene_node.h"
#include "animationeditor/vector_stream.h"
#include "scene_test_nodes.h"
#include "sound_system/sound_manager.h"
#include "support/content_fixture.h"
#include "support/sound_fixtures.h"

using AE::ISceneNode;
using AE::SoundSceneNode;

namespace {

constexpr const char* kSound = "button_clicked_sound";

class SoundSceneNodeTest : public TestSupport::ContentTest {
protected:
    void SetUp() override
    {
        ContentTest::SetUp();
        VQ::contentRoot() = std::string(LANTERRA_SOURCE_DIR) + "/media/";
        loadAll();
        TestSupport::useSilentAudioDevice();
        mManager = std::make_unique<VQ::SoundManager>();
        ASSERT_TRUE(mManager->isReady());
        // Sounds end by game time, so that a test decides when.
        mManager->useGameClock();
    }
    void TearDown() override
    {
        mRoot.reset();
        mManager.reset();
        ContentTest::TearDown();
    }
    SoundSceneNode* addNode(const std::string& file = kSound)
    {
        auto* node = new SoundSceneNode();
        node->createSound(file, 0);
        mRoot->addChild(node, true);
        mRoot->play(true);
        return node;
    }
    std::vector<std::string> soundLines() const
    {
        std::vector<std::string> lines;
        for (const std::string& line : logLines())
            if (line.rfind("SoundSceneNode::", 0) == 0)
                lines.push_back(line);
        return lines;
    }
    std::string startLine(const SoundSceneNode& node, int handle) const
    {
        return VQ::formatString("SoundSceneNode::updateDerived, createAndPlay(mID %i); handle = %i B ",
                                node.resourceId, handle);
    }

    std::unique_ptr<VQ::SoundManager> mManager;
    std::unique_ptr<ISceneNode> mRoot = std::make_unique<ISceneNode>();
};

}  // namespace

TEST_F(SoundSceneNodeTest, PlayKeysStartAndStopTheSoundWithTheirLogLines)
{
    SoundSceneNode* node = addNode();
    for (int frame : {0, 10, 20}) {
        node->play = frame == 10 ? 1 : 0;
        node->storeKeyFrame(uint32_t(frame));
    }
    ISceneNode::update(mRoot.get(), 0);
    EXPECT_EQ(node->handle, 0);
    ISceneNode::update(mRoot.get(), 11.0f / 24.0f);
    const int handle = node->handle;
    ASSERT_NE(handle, 0);
    EXPECT_TRUE(mManager->isPlaying(handle));
    ISceneNode::update(mRoot.get(), 1.0f / 24.0f);
    EXPECT_EQ(node->handle, handle);
    ISceneNode::update(mRoot.get(), 10.0f / 24.0f);
    EXPECT_EQ(node->handle, 0);
    EXPECT_FALSE(mManager->isPlaying(handle));
    EXPECT_EQ(soundLines(),
              (std::vector<std::string>{startLine(*node, handle),
                                        VQ::formatString("SoundSceneNode::updateDerived, stop(mHandle %i); A",
                                                         handle)}));
}

TEST_F(SoundSceneNodeTest, FadingScalesTheVolumeByTheWorldAlpha)
{
    SoundSceneNode* node = addNode();
    node->fading = true;
    node->play = 1;
    node->color = VQ::Color::fromBytes(255, 255, 255, 128);
    ISceneNode::update(mRoot.get(), 0.01f);
    ASSERT_NE(node->handle, 0);
    EXPECT_FLOAT_EQ(mManager->sound(node->handle)->volume, 128.0f / 255.0f);
    node->fading = false;
    node->volume = 0.5f;
    ISceneNode::update(mRoot.get(), 0.01f);
    EXPECT_FLOAT_EQ(mManager->sound(node->handle)->volume, 0.5f);
}

TEST_F(SoundSceneNodeTest, NodesOfOneFileShareOneResource)
{
    SoundSceneNode* first = addNode();
    SoundSceneNode* second = addNode();
    ASSERT_NE(first->resourceId, 0);
    EXPECT_EQ(first->resourceId, second->resourceId);
    const int id = first->resourceId;
    EXPECT_EQ(mManager->resource(id)->refCount, 2);
    delete second;
    EXPECT_EQ(mManager->resource(id)->refCount, 1);

    // A new sound gives the earlier resource back.
    first->createSound("bomb_sound", 0);
    EXPECT_EQ(mManager->resource(id), nullptr);
    EXPECT_EQ(first->fileName, "bomb_sound");

    // A copy takes a reference of its own.
    std::unique_ptr<ISceneNode> copy(first->clone(nullptr));
    EXPECT_EQ(mManager->resource(first->resourceId)->refCount, 2);
}

TEST_F(SoundSceneNodeTest, ASoundThatEndedIsForgottenAndItsHandleLeftToOthers)
{
    SoundSceneNode* node = addNode();
    node->play = 1;
    ISceneNode::update(mRoot.get(), 0.01f);
    const int handle = node->handle;
    ASSERT_NE(handle, 0);
    mManager->advanceGameClock(10.0f);
    ISceneNode::update(mRoot.get(), 0.01f);
    EXPECT_EQ(node->handle, 0);

    // Another sound takes the handle; the node, "play" still on, neither
    // starts again nor touches it.
    int reused = 0;
    for (int i = 0; i < VQ::SoundManager::MAX_SOUNDS && reused != handle; ++i) {
        reused = mManager->playByName("bomb_sound");
        if (reused != handle) {
            mManager->stop(reused);
            mManager->advanceGameClock(0.0f);
        }
    }
    ASSERT_EQ(reused, handle);
    mManager->setSoundVolume(handle, 0.3f);
    for (int i = 0; i < 3; ++i)
        ISceneNode::update(mRoot.get(), 0.01f);
    EXPECT_EQ(node->handle, 0);
    EXPECT_TRUE(mManager->isPlaying(handle));
    EXPECT_FLOAT_EQ(mManager->sound(handle)->volume, 0.3f);
    EXPECT_EQ(soundLines().size(), 1u);

    // Once "play" has been 0 the node starts again.
    node->play = 0;
    ISceneNode::update(mRoot.get(), 0.01f);
    node->play = 1;
    ISceneNode::update(mRoot.get(), 0.01f);
    EXPECT_NE(node->handle, 0);
    EXPECT_NE(node->handle, handle);
}

TEST_F(SoundSceneNodeTest, WithoutASoundTheStartIsLoggedOncePerPlay)
{
    // No sound manager: every start gives handle 0.
    mManager.reset();
    SoundSceneNode* node = addNode();
    EXPECT_EQ(node->resourceId, 0);
    node->play = 1;
    for (int i = 0; i < 5; ++i)
        ISceneNode::update(mRoot.get(), 0.01f);
    node->play = 0;
    ISceneNode::update(mRoot.get(), 0.01f);
    node->play = 1;
    ISceneNode::update(mRoot.get(), 0.01f);
    const std::string line = startLine(*node, 0);
    EXPECT_EQ(soundLines(), (std::vector<std::string>{line, line}));
}

TEST_F(SoundSceneNodeTest, StoppingLoopingAndDisablingTheNode)
{
    SoundSceneNode* node = addNode();
    node->loop = true;
    node->play = 1;
    ISceneNode::update(mRoot.get(), 0.01f);
    int handle = node->handle;
    ASSERT_NE(handle, 0);
    EXPECT_EQ(mManager->resource(node->resourceId)->looped, 1);

    mRoot->stop(true);
    EXPECT_EQ(node->handle, 0);
    EXPECT_EQ(node->play, 0);
    EXPECT_FALSE(mManager->isPlaying(handle));
    EXPECT_EQ(soundLines().back(), VQ::formatString("SoundSceneNode::stopDerived, stop(mHandle %i); ", handle));

    // A node that stops playing (its parent disabled, say) stops its sound.
    mRoot->play(true);
    node->play = 1;
    ISceneNode::update(mRoot.get(), 0.01f);
    handle = node->handle;
    node->playing = false;
    ISceneNode::update(mRoot.get(), 0.01f);
    EXPECT_EQ(node->handle, 0);
    EXPECT_EQ(node->play, 0);
    EXPECT_EQ(soundLines().back(), VQ::formatString("SoundSceneNode::updateDerived, stop(mHandle %i); C ", handle));
}

TEST_F(SoundSceneNodeTest, KeysAndTheSavedTail)
{
    SoundSceneNode node;
    node.createSound(kSound, 2);
    node.color = VQ::Color::fromBytes(1, 2, 3, 4);
    node.play = 1;
    node.volume = 0.25f;
    node.fading = true;
    node.storeKeyFrame(5);
    EXPECT_EQ(node.animation->keyAt<VQ::Color>("color", 0).value, node.color);
    EXPECT_EQ(node.animation->keyAt<int>("play", 0).value, 1);
    AE::IFrameData baseRecord;
    node.applyFrameData(9, baseRecord);
    EXPECT_EQ(node.animation->floatKeyAt("volume", 1).value, 0.25f);
    std::unique_ptr<AE::IFrameData> record = node.createFrameData(9, false);
    EXPECT_EQ(dynamic_cast<AE::SoundFrameData&>(*record).volume, 0.25f);

    SceneTest::SavedNode saved = SceneTest::saveNode(node);
    std::vector<uint8_t>& bytes = saved.bytes;
    EXPECT_EQ(saved.kindBytes, 13u);

    SoundSceneNode loaded;
    AE::VectorStream in(bytes);
    loaded.load(in);
    EXPECT_EQ(in.bytesLeft(), 0);
    EXPECT_EQ(loaded.group, 2);
    EXPECT_EQ(loaded.volume, 0.25f);
    EXPECT_TRUE(loaded.fading);
    EXPECT_EQ(loaded.resourceId, node.resourceId);
    EXPECT_EQ(mManager->resource(node.resourceId)->refCount, 2);
}
