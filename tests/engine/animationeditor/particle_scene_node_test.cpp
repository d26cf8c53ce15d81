// The particle scene node: the effect it hosts follows the node's play
// value, time, emission factor and opacity; copies, key frames and the
// saved form.

#include <gtest/gtest.h>

#include "animationeditor/particle_scene_node.h"
#include "animationeditor/vector_stream.h"
#include "scene_test_nodes.h"
#include "engine/particle_fixture.h"

using AE::ISceneNode;
using AE::ParticleSceneNode;
using namespace ParticleFixture;
using VQ::Vector2f;

namespace {

constexpr float kFrame = 1.0f / 60.0f;

class ParticleSceneNodeTest : public ParticleContentTest {
protected:
    void SetUp() override
    {
        ParticleContentTest::SetUp();
        EmitterSpec steady;
        steady.rate = 30.0f;
        steady.life = 5.0f;
        steady.max = 200;
        addEffect("steady_fx", effectXml({steady}));
        start();
        createQueuedTextures();
    }
    // A node with the effect under a root, both playing.
    ParticleSceneNode* addNode(ISceneNode& root, const std::string& effect = "steady_fx")
    {
        auto* node = new ParticleSceneNode();
        EXPECT_TRUE(node->setEffect(effect));
        // The emitters' sprites were queued for the device.
        createQueuedTextures();
        root.addChild(node, true);
        root.play(true);
        return node;
    }
    // Position and age of each live particle.
    static std::vector<float> positions(const VQ::ParticleFX& fx)
    {
        std::vector<float> list;
        for (const VQ::Particle& p : fx.mParticleEmitters[0]->particles) {
            if (!p.dead) {
                list.push_back(p.position.x);
                list.push_back(p.position.y);
                list.push_back(p.age);
            }
        }
        return list;
    }
};

class EffectsLevelScope {
public:
    explicit EffectsLevelScope(int level) : mOld(AE::effectsLevel) { AE::effectsLevel = level; }
    ~EffectsLevelScope() { AE::effectsLevel = mOld; }

private:
    int mOld;
};

}  // namespace

TEST_F(ParticleSceneNodeTest, CreatingANodeHandsTheEffectsToTheirNodes)
{
    ASSERT_TRUE(mParticles->liveUpdating);
    ISceneNode root;
    ParticleSceneNode* node = addNode(root);
    EXPECT_FALSE(mParticles->liveUpdating);
    EXPECT_EQ(node->fileName, "steady_fx");
    EXPECT_EQ(node->getSize(), Vector2f(64, 64));

    // An effect the system cannot load leaves the node without one.
    auto* empty = new ParticleSceneNode();
    EXPECT_FALSE(empty->setEffect("no_such_fx"));
    root.addChild(empty, true);
    ISceneNode::update(&root, 0.5f);
    EXPECT_TRUE(drawn([&] { empty->render(); }).empty());

    // Deleting the node gives its effect back to the pool.
    root.removeChild(node, true);
    delete node;
    EXPECT_EQ(mParticles->pooledCount("steady_fx"), 1u);
}

TEST_F(ParticleSceneNodeTest, PlayZeroFreezesTheEffectWhichStillDraws)
{
    ISceneNode root;
    ParticleSceneNode* node = addNode(root);
    node->posX = 300;
    node->posY = 200;
    for (int i = 0; i < 30; ++i)
        ISceneNode::update(&root, kFrame);
    VQ::ParticleFX* fx = node->getEffect();
    EXPECT_EQ(fx->mPosition, Vector2f(300, 200));
    const std::vector<float> before = positions(*fx);
    ASSERT_FALSE(before.empty());

    node->play = 0;
    for (int i = 0; i < 30; ++i)
        ISceneNode::update(&root, kFrame);
    EXPECT_FALSE(fx->active);
    EXPECT_EQ(positions(*fx), before);
    EXPECT_EQ(drawn([&] { node->render(); }).size(), 4 * before.size() / 3);

    node->play = 1;
    ISceneNode::update(&root, kFrame);
    EXPECT_TRUE(fx->active);
    EXPECT_NE(positions(*fx), before);

    // A node that does not play leaves its effect alone.
    node->stopInPlace(false);
    const std::vector<float> stopped = positions(*fx);
    ISceneNode::update(&root, kFrame);
    EXPECT_EQ(positions(*fx), stopped);
}

TEST_F(ParticleSceneNodeTest, SetTimeShowsTheEffectAsAFreshOneSteppedAtOnce)
{
    ISceneNode root;
    ParticleSceneNode* node = addNode(root);
    for (int i = 0; i < 45; ++i)
        ISceneNode::update(&root, kFrame);

    VQ::srand(77);
    node->setTime(2.0f, false);
    const std::vector<float> seeked = positions(*node->getEffect());

    VQ::ParticleFX* fresh = mParticles->create("steady_fx");
    fresh->mPosition = node->getEffect()->mPosition;
    VQ::srand(77);
    fresh->update(2.0f);
    EXPECT_EQ(seeked, positions(*fresh));
    EXPECT_FALSE(seeked.empty());
    mParticles->release(fresh);
}

TEST_F(ParticleSceneNodeTest, OpacityAndEmissionReachTheEmittersWhenDrawn)
{
    ISceneNode root;
    ParticleSceneNode* node = addNode(root);
    for (int i = 0; i < 20; ++i)
        ISceneNode::update(&root, kFrame);
    VQ::ParticleEmitter* emitter = node->getEffect()->mParticleEmitters[0];

    node->emitCoef = 0.5f;
    node->color = VQ::Color::fromBytes(255, 255, 255, 1);
    ISceneNode::update(&root, 0);
    {
        EffectsLevelScope level(1);
        EXPECT_TRUE(drawn([&] { node->render(); }).empty());
    }
    {
        // Without effects the alpha is not handed over.
        EffectsLevelScope level(0);
        emitter->setAlpha(0.75f);
        EXPECT_FALSE(drawn([&] { node->render(); }).empty());
        EXPECT_EQ(emitter->opacity, 0.75f);
        EXPECT_EQ(emitter->emitCoefficient, 0.5f);
    }
    EffectsLevelScope level(1);
    node->color = VQ::Color::fromBytes(255, 255, 255, 102);
    ISceneNode::update(&root, 0);
    EXPECT_FALSE(drawn([&] { node->render(); }).empty());
    EXPECT_FLOAT_EQ(emitter->opacity, 0.4f);

    // Disabled: nothing.
    node->setEnabled(false);
    EXPECT_TRUE(drawn([&] { node->render(); }).empty());
}

TEST_F(ParticleSceneNodeTest, ACopyRunsItsOwnEffectFromTheCopysPlace)
{
    ISceneNode root;
    ParticleSceneNode* node = addNode(root);
    node->posX = 50;
    node->emitCoef = 0.25f;
    node->play = 7;
    node->stencil = true;
    ISceneNode::update(&root, 0.5f);
    // Rotation and scale are stored; the transform follows at the next update.
    node->setScaleX(2);
    EXPECT_EQ(node->worldMatrix.m00, 1.0f);
    ISceneNode::update(&root, 0);
    EXPECT_EQ(node->worldMatrix.m00, 2.0f);

    ISceneNode other;
    other.posX = 100;
    ISceneNode::update(&other, 0);
    auto* copy = static_cast<ParticleSceneNode*>(node->clone(&other));
    ASSERT_NE(copy->getEffect(), nullptr);
    EXPECT_NE(copy->getEffect(), node->getEffect());
    EXPECT_EQ(copy->getEffect()->mPosition, copy->worldPosition);
    EXPECT_TRUE(positions(*copy->getEffect()).empty());
    EXPECT_EQ(copy->play, 1);
    EXPECT_EQ(copy->emitCoef, 0.25f);
    EXPECT_TRUE(copy->stencil);
}

TEST_F(ParticleSceneNodeTest, KeyFramesCarryEmissionAndPlay)
{
    ParticleSceneNode node;
    node.rotation = 30;
    node.emitCoef = 0.5f;
    node.play = 0;
    node.storeKeyFrameAt(3.7f);
    ASSERT_TRUE(node.hasKeyFrame(3));
    EXPECT_EQ(node.animation->floatKeyAt("scaleX", 0).value, 1.0f);
    EXPECT_EQ(node.animation->keyAt<int>("play", 0).value, 0);

    // A base record keys the particle tracks from the key before.
    AE::IFrameData base;
    base.x = 9;
    node.applyFrameData(10, base);
    EXPECT_EQ(node.animation->floatKeyAt("emitCoef", 1).value, 0.5f);
    EXPECT_EQ(node.animation->floatKeyAt("posX", 1).value, 9.0f);

    AE::ParticleFrameData own;
    own.emitCoef = 2;
    own.play = 1;
    node.applyFrameData(20, own);
    std::unique_ptr<AE::IFrameData> captured = node.createFrameData(20, false);
    auto* record = dynamic_cast<AE::ParticleFrameData*>(captured.get());
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->emitCoef, 2.0f);
    EXPECT_EQ(record->play, 1);
    EXPECT_EQ(record->dataSize(), 132);

    node.copyKeyFrame(20, 30);
    EXPECT_EQ(node.animation->floatKeyAt("emitCoef", 3).value, 2.0f);
}

TEST_F(ParticleSceneNodeTest, TheSavedTailIsTenBytesAndReloadsTheEffect)
{
    ParticleSceneNode node;
    node.setEffect("steady_fx");
    node.emitCoef = 0.5f;
    node.play = 0;
    node.distortion = true;
    SceneTest::SavedNode saved = SceneTest::saveNode(node);
    std::vector<uint8_t>& bytes = saved.bytes;
    EXPECT_EQ(saved.kindBytes, 10u);

    ParticleSceneNode loaded;
    AE::VectorStream in(bytes);
    loaded.load(in);
    EXPECT_EQ(in.bytesLeft(), 0);
    EXPECT_EQ(loaded.emitCoef, 0.5f);
    EXPECT_EQ(loaded.play, 0);
    EXPECT_TRUE(loaded.distortion);
    EXPECT_FALSE(loaded.stencil);
    ASSERT_NE(loaded.getEffect(), nullptr);
    EXPECT_EQ(loaded.getEffect()->name, "steady_fx");

    std::unique_ptr<AE::ISceneNodeData> data = node.createNodeData(false);
    EXPECT_EQ(data->dataSize(), 126);
    ParticleSceneNode fromData;
    fromData.setNodeData(*data);
    EXPECT_EQ(fromData.emitCoef, 0.5f);
    EXPECT_TRUE(fromData.distortion);
}
