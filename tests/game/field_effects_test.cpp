// Field effects: the list's order and deletion, and the timing of every
// kind over scenes built by hand (markers over a child with a second of key
// frames).

#include <gtest/gtest.h>

#include <memory>

#include "../engine/animationeditor/scene_test_nodes.h"
#include "field_effects.h"
#include "scene_path_effect.h"

namespace {

class Probe : public GameFieldEffect {
public:
    Probe(int layerValue, std::vector<int>& journal, GameFieldEffectList* list = nullptr)
        : mJournal(journal), mList(list)
    {
        layer = layerValue;
    }
    void update(float) override
    {
        mJournal.push_back(layer);
        // One added while the list updates waits for the next step.
        if (mList) {
            mList->add(new Probe(7, mJournal));
            mList = nullptr;
        }
        finished = finishNext;
    }
    bool finishNext = false;

private:
    std::vector<int>& mJournal;
    GameFieldEffectList* mList;
};

TEST(GameFieldEffectList, KeepsOneEntryEachByDescendingLayerAndDeletesTheFinished)
{
    std::vector<int> journal;
    GameFieldEffectList list;
    auto* a = new Probe(50, journal, &list);
    list.add(a);
    list.add(a);
    list.add(new Probe(1000, journal));
    auto* last = new Probe(1, journal);
    last->finishNext = true;
    list.add(last);
    ASSERT_EQ(list.effects.size(), 3u);
    list.update(0.1f);
    EXPECT_EQ(journal, (std::vector<int>{1000, 50, 1}));
    std::vector<int> layers;
    for (GameFieldEffect* effect : list.effects)
        layers.push_back(effect->layer);
    EXPECT_EQ(layers, (std::vector<int>{1000, 50, 7}));
    list.enabled = false;
    journal.clear();
    list.update(0.1f);
    EXPECT_TRUE(journal.empty());
}

// A root with the named markers, each playing a child over `frames` frames
// (24 a second); "#time:" and "#speed:" markers carry numbers only.
std::unique_ptr<AE::ISceneNode> sceneWith(std::initializer_list<const char*> markers, int frames = 12)
{
    auto root = std::make_unique<AE::ISceneNode>();
    AE::ISceneNode* child = SceneTest::addGroup(root.get(), "child");
    child->storeKeyFrame(0);
    child->storeKeyFrame(24);
    for (const char* name : markers) {
        root->addMarker(std::make_unique<AE::Marker>(name));
        if (name[0] != '#')
            root->markers.back()->addEntry(child, 0, frames, false, false);
    }
    return root;
}

struct Listener : SceneEffectListener, SceneFlyingEffectListener {
    void onSceneEffectFinished(SceneEffect*) override { ++told; }
    void onSceneFlyingEffectFinished(SceneFlyingEffect*) override { ++told; }
    int told = 0;
};

TEST(SceneEffect, WaitsItsDelayThenPlaysToTheEndOfItsMarker)
{
    Listener listener;
    SceneEffect effect(sceneWith({"go"}), "probe", 3, VQ::Vector2f(10, 20), 0.25f, "go");
    effect.addListener(&listener);
    effect.addListener(&listener);
    EXPECT_FLOAT_EQ(effect.root->posX, 10);
    const float delays[] = {0.15f, 0.05f, -0.05f};
    for (float expected : delays) {
        effect.update(0.1f);
        EXPECT_NEAR(effect.delay, expected, 1e-5f);
    }
    AE::ISceneNode* child = effect.root->children[0];
    EXPECT_FLOAT_EQ(child->animation->time, 0.0f);  // first advanced in the fourth step
    effect.update(0.1f);
    EXPECT_GT(child->animation->time, 0.0f);
    for (int i = 0; i < 6 && !effect.finished; ++i)
        effect.update(0.1f);
    EXPECT_TRUE(effect.finished);
    EXPECT_EQ(listener.told, 1);
}

TEST(SceneEffect, AMissingSceneOrMarkerEndsAtTheFirstUpdateAsIfPlayed)
{
    Listener listener;
    SceneEffect noScene(nullptr, "absent_xml", 0, VQ::Vector2f(0, 0), 0.0f, "go");
    SceneEffect noMarker(sceneWith({"other"}), "probe", 0, VQ::Vector2f(0, 0), 0.0f, "go");
    for (SceneEffect* effect : {&noScene, &noMarker}) {
        effect->addListener(&listener);
        effect->update(0.016f);
        EXPECT_TRUE(effect->finished);
    }
    EXPECT_EQ(listener.told, 2);
}

TEST(SceneFlyingEffect, FliesInItsMarkedTimeAndEndsWithoutAnEndMarker)
{
    Listener listener;
    SceneFlyingEffect effect(sceneWith({"#time:0.5", "fly"}), "probe", 4, VQ::Vector2f(0, 0), VQ::Vector2f(100, 0));
    effect.addListener(&listener);
    effect.startMarker("fly");
    effect.prepare();
    ASSERT_FLOAT_EQ(effect.duration, 0.5f);
    const float xs[] = {40.0f, 80.0f, 100.0f};  // k = 0.6, 0.2, 0
    for (float x : xs) {
        effect.update(0.2f);
        EXPECT_NEAR(effect.root->posX, x, 1e-3f);
    }
    EXPECT_TRUE(effect.finished);
    EXPECT_EQ(listener.told, 1);

    // With an end marker the effect ends when that marker does; without
    // "#time:" it arrives at its first update.
    SceneFlyingEffect ending(sceneWith({"end"}), "probe", 4, VQ::Vector2f(0, 0), VQ::Vector2f(50, 5));
    ending.addListener(&listener);
    ending.prepare();
    ending.update(0.1f);
    EXPECT_FLOAT_EQ(ending.root->posX, 50);
    EXPECT_FALSE(ending.finished);
    for (int i = 0; i < 10 && !ending.finished; ++i)
        ending.update(0.1f);
    EXPECT_TRUE(ending.finished);
    EXPECT_EQ(listener.told, 2);
}

TEST(ScenePathEffect, ArrivesInTheEighthStepMovingOnlyWhatIsLeft)
{
    ScenePathEffect effect(sceneWith({"red", "point", "end"}), "probe", "red");
    EXPECT_EQ(effect.layer, 50);
    EXPECT_EQ(effect.root->getMarker("red")->state, AE::Marker::PLAYING);
    effect.placeAt(VQ::Vector2f(0, 0));
    effect.sendTo(VQ::Vector2f(100, 0));
    for (int step = 1; step <= 7; ++step) {
        effect.update(1.0f / 60.0f);
        EXPECT_FALSE(effect.arrived);
    }
    EXPECT_NEAR(effect.position.x, 96.25f, 1e-3f);
    effect.update(1.0f / 60.0f);
    EXPECT_TRUE(effect.arrived);
    EXPECT_FLOAT_EQ(effect.position.x, 100.0f);
    EXPECT_EQ(effect.root->getMarker("point")->state, AE::Marker::PLAYING);
    // At its target it stays put.
    effect.update(1.0f / 60.0f);
    EXPECT_FLOAT_EQ(effect.position.x, 100.0f);

    effect.startEndMarker();
    for (int i = 0; i < 60 && !effect.finished; ++i)
        effect.update(1.0f / 60.0f);
    EXPECT_TRUE(effect.finished);
}

TEST(ScenePathEffect, WithoutItsSceneItIsAtEveryTargetAtOnce)
{
    ScenePathEffect effect(nullptr, "absent_xml", "red");
    effect.sendTo(VQ::Vector2f(30, 40));
    EXPECT_TRUE(effect.arrived);
    EXPECT_FLOAT_EQ(effect.position.y, 40);
    effect.startEndMarker();
    EXPECT_TRUE(effect.finished);
}

TEST(SoundEffect, PlaysWhenItsDelayIsOverAndIsDeletedThen)
{
    GameFieldEffectList list;
    auto* sound = new SoundEffect(0, 0.0f);
    list.add(sound);
    EXPECT_EQ(sound->layer, 0);
    list.update(0.016f);
    EXPECT_TRUE(list.effects.empty());
}

}  // namespace
