// Markers: starting, resuming, stopping, finishing with their listeners,
// looping, reversing, jumping to the end, copying, and the node's marker
// operations.

#include <gtest/gtest.h>

#include <filesystem>

#include "animationeditor/marker.h"
#include "animationeditor/scene_node.h"
#include "log_system.h"
#include "scene_test_nodes.h"
#include "support/test_support.h"

using AE::ISceneNode;
using AE::Marker;

namespace {

struct CountingListener : AE::MarkerListener {
    void onMarkerFinished(Marker* marker) override
    {
        ++told;
        last = marker;
        if (leaveWhenTold)
            marker->removeListener(this);
    }
    int told = 0;
    Marker* last = nullptr;
    bool leaveWhenTold = false;
};

// A root holding one marker over children that each have key frames 0 and
// 24, so that their clocks run.
class MarkerTest : public ::testing::Test {
protected:
    ISceneNode* addNode(const std::string& name)
    {
        ISceneNode* node = SceneTest::addGroup(&root, name);
        node->storeKeyFrame(0);
        node->storeKeyFrame(24);
        return node;
    }
    Marker& addMarker(const std::string& name)
    {
        root.addMarker(std::make_unique<Marker>(name));
        return *root.markers.back();
    }
    void run(float seconds, float step)
    {
        for (float t = 0; t < seconds - 1e-4f; t += step)
            ISceneNode::update(&root, step);
    }
    float timeOf(const ISceneNode* node) const { return node->animation->time; }

    ISceneNode root;
    CountingListener listener;
};

}  // namespace

TEST_F(MarkerTest, AFiniteEntryPlaysToItsEndFrameAndTheListenersAreToldOnce)
{
    struct Case {
        int from, to;
        float startTime, endTime;
    };
    const Case cases[] = {
        {0, 24, 0.0f, 1.0f},
        {24, 0, 1.0f, 0.0f},
    };
    for (const Case& c : cases) {
        ISceneNode* node = addNode("n" + std::to_string(c.from));
        Marker& marker = addMarker("show");
        marker.addEntry(node, c.from, c.to, false, false);
        marker.addEntry(node, 3, 4, false, false);  // one entry per node
        marker.addEntry(nullptr, 3, 4, false, false);
        ASSERT_EQ(marker.entries.size(), 1u);
        marker.addListener(&listener);
        marker.addListener(&listener);
        listener.told = 0;

        marker.start(false);
        EXPECT_EQ(marker.state, Marker::PLAYING);
        EXPECT_TRUE(node->playing);
        EXPECT_EQ(node->reverse, c.from > c.to);
        EXPECT_FLOAT_EQ(timeOf(node), c.startTime);
        EXPECT_FLOAT_EQ(marker.entries[0].endTime, 1.0f);

        run(0.75f, 0.25f);
        EXPECT_EQ(listener.told, 0);
        run(0.5f, 0.25f);
        EXPECT_EQ(listener.told, 1);
        EXPECT_EQ(listener.last, &marker);
        EXPECT_EQ(marker.state, Marker::FINISHED);
        EXPECT_FALSE(node->playing);
        EXPECT_FLOAT_EQ(timeOf(node), c.endTime);
        root.markers.clear();
    }
}

TEST_F(MarkerTest, ALoopedEntryFinishesTheMarkerAtOnceAndKeepsLooping)
{
    ISceneNode* node = addNode("wave");
    Marker& marker = addMarker("idle");
    marker.addEntry(node, 0, 24, false, true);
    marker.addListener(&listener);
    marker.start(true);
    run(0.25f, 0.25f);
    EXPECT_EQ(listener.told, 1);
    EXPECT_EQ(marker.state, Marker::FINISHED);
    run(1.0f, 0.25f);
    EXPECT_TRUE(node->playing);
    EXPECT_FLOAT_EQ(timeOf(node), 0.25f);
    EXPECT_EQ(listener.told, 1);
}

TEST_F(MarkerTest, AnEntryFromTheCurrentTimeRunsTowardsItsEndFrame)
{
    ISceneNode* node = addNode("n");
    node->setTime(1.0f, false);
    Marker& marker = addMarker("back");
    marker.addEntry(node, -1, 12, false, false);
    marker.start(true);
    EXPECT_TRUE(node->reverse);
    EXPECT_FLOAT_EQ(marker.entries[0].endTime, 0.5f);
    EXPECT_FLOAT_EQ(timeOf(node), 1.0f);
    run(0.5f, 0.125f);
    EXPECT_EQ(marker.state, Marker::FINISHED);
    EXPECT_FLOAT_EQ(timeOf(node), 0.5f);

    // An open end: the node is seeked to the from frame and plays on.
    ISceneNode* other = addNode("other");
    Marker& open = addMarker("open");
    open.addEntry(other, 6, -1, false, false);
    open.start(true);
    EXPECT_TRUE(other->playing);
    EXPECT_FLOAT_EQ(timeOf(other), 0.25f);
}

TEST_F(MarkerTest, StopPausesAndStartResumesOrRestarts)
{
    ISceneNode* node = addNode("n");
    ISceneNode* looping = addNode("l");
    Marker& marker = addMarker("m");
    marker.addEntry(node, 0, 24, false, false);
    marker.addEntry(looping, 0, 24, false, true);
    marker.start(false);
    run(0.25f, 0.125f);

    marker.stop(false);  // the looped entry plays on
    EXPECT_EQ(marker.state, Marker::PAUSED);
    EXPECT_FALSE(node->playing);
    EXPECT_TRUE(looping->playing);
    // Paused: a stopped node's entry keeps its remaining time.
    run(0.25f, 0.125f);
    EXPECT_FLOAT_EQ(marker.elapsed, 0.5f);
    EXPECT_FLOAT_EQ(marker.entries[0].endTime, 1.25f);
    EXPECT_FLOAT_EQ(timeOf(node), 0.25f);

    marker.start(false);
    EXPECT_EQ(marker.state, Marker::PLAYING);
    EXPECT_TRUE(node->playing);
    EXPECT_FLOAT_EQ(marker.elapsed, 0.5f);
    run(0.75f, 0.125f);
    EXPECT_EQ(marker.state, Marker::FINISHED);
    EXPECT_FLOAT_EQ(timeOf(node), 1.0f);

    marker.start(true);
    EXPECT_FLOAT_EQ(marker.elapsed, 0.0f);
    EXPECT_FLOAT_EQ(timeOf(node), 0.0f);
    EXPECT_FLOAT_EQ(marker.entries[0].endTime, 1.0f);

    marker.stop(true);
    EXPECT_FALSE(looping->playing);
    EXPECT_EQ(marker.state, Marker::STOPPED);  // elapsed 0
    marker.update(1.0f);                       // a stopped marker does nothing
    EXPECT_FLOAT_EQ(marker.elapsed, 0.0f);
}

TEST_F(MarkerTest, ReversingRunsEachEntryBackForAtMostItsOwnSpan)
{
    ISceneNode* longer = addNode("long");
    ISceneNode* shorter = addNode("short");
    Marker& marker = addMarker("m");
    marker.addEntry(longer, 0, 24, false, false);  // 1 s
    marker.addEntry(shorter, 0, 6, false, false);  // 0.25 s
    marker.addListener(&listener);
    marker.start(true);
    run(0.4f, 0.1f);
    ASSERT_FALSE(shorter->playing);
    EXPECT_FLOAT_EQ(timeOf(shorter), 0.25f);

    marker.setReverse(true);
    EXPECT_EQ(marker.entries[0].from, 24);
    EXPECT_EQ(marker.entries[1].to, 0);
    EXPECT_TRUE(shorter->playing);
    EXPECT_TRUE(shorter->reverse);
    EXPECT_FLOAT_EQ(marker.entries[1].endTime, 0.25f);
    EXPECT_FLOAT_EQ(marker.elapsed, 0.0f);

    run(0.3f, 0.1f);  // the short entry ran back its 0.25 s, not 0.4 s
    EXPECT_FALSE(shorter->playing);
    EXPECT_FLOAT_EQ(timeOf(shorter), 0.0f);
    EXPECT_TRUE(longer->playing);
    EXPECT_EQ(listener.told, 0);
    run(0.1f, 0.1f);
    EXPECT_EQ(listener.told, 1);
    EXPECT_FLOAT_EQ(timeOf(longer), 0.0f);

    // Not playing: the marker is rewound for the new direction.
    marker.setReverse(false);
    EXPECT_EQ(marker.state, Marker::STOPPED);
    EXPECT_EQ(marker.entries[0].from, 0);
}

TEST_F(MarkerTest, SkipToEndPutsEntriesOnTheirEndFramesWithoutTellingListeners)
{
    ISceneNode* node = addNode("n");
    ISceneNode* looping = addNode("l");
    Marker& marker = addMarker("m");
    marker.addEntry(node, 0, 12, true, false);
    marker.addEntry(looping, 0, 24, false, true);
    marker.addListener(&listener);
    marker.skipToEnd();
    EXPECT_EQ(marker.state, Marker::FINISHED);
    EXPECT_EQ(listener.told, 0);
    EXPECT_FALSE(node->playing);
    EXPECT_FLOAT_EQ(timeOf(node), 0.5f);
    EXPECT_EQ(marker.entries[0].endTime, -1.0f);
    EXPECT_TRUE(looping->playing);
    run(0.5f, 0.25f);
    EXPECT_FLOAT_EQ(timeOf(node), 0.5f);
}

TEST_F(MarkerTest, ListenersMayLeaveWhileBeingTold)
{
    ISceneNode* node = addNode("n");
    Marker& marker = addMarker("m");
    marker.addEntry(node, 0, 1, false, false);
    CountingListener leaving;
    leaving.leaveWhenTold = true;
    marker.addListener(&leaving);
    marker.addListener(&listener);
    marker.start(true);
    run(0.125f, 0.125f);
    EXPECT_EQ(leaving.told, 1);
    EXPECT_EQ(listener.told, 1);
    EXPECT_EQ(marker.listeners, (std::vector<AE::MarkerListener*>{&listener}));
}

TEST_F(MarkerTest, NodeMarkerOperations)
{
    TestSupport::TempDir dir;
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    {
        VQ::LogSystem log;
        root.name = "panel";
        EXPECT_EQ(root.requireMarker("show"), nullptr);
        root.playMarker("show");  // nothing
        ISceneNode* node = addNode("n");
        Marker& show = addMarker("show");
        show.addEntry(node, 0, 24, true, false);
        EXPECT_EQ(root.getMarker("show"), &show);
        EXPECT_EQ(root.requireMarker("show"), &show);

        root.playMarker("show");
        EXPECT_EQ(show.state, Marker::PLAYING);
        run(0.5f, 0.25f);
        root.stopMarkers(true, false);
        EXPECT_EQ(show.state, Marker::PAUSED);
        EXPECT_FALSE(node->playing);
        EXPECT_FLOAT_EQ(timeOf(node), 0.5f);
        root.stopMarkers(false, true);  // rewound first
        EXPECT_EQ(show.state, Marker::STOPPED);
        EXPECT_FLOAT_EQ(timeOf(node), 0.0f);
    }
    std::filesystem::current_path(old);
    const auto lines = TestSupport::splitLines(TestSupport::readFile(dir.file("VQ.log")));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(TestSupport::stripLogPrefix(lines[0]), "ERROR: Can't find marker 'show' in node 'panel'");
}

TEST_F(MarkerTest, EntriesFollowTheirNodesOutOfTheTreeAndIntoCopies)
{
    ISceneNode* panel = addNode("panel");
    ISceneNode* button = SceneTest::addGroup(panel, "button");
    ISceneNode* other = addNode("other");
    Marker& marker = addMarker("show");
    marker.addEntry(panel, 0, 24, true, false);
    marker.addEntry(button, 0, 12, false, true);
    marker.addEntry(other, -1, -1, false, false);  // no frames: not copied
    marker.addEntry(&root, 0, 6, false, false);
    panel->addMarker(std::make_unique<Marker>("inner"));
    panel->markers[0]->addEntry(button, 0, 3, false, false);

    std::unique_ptr<ISceneNode> copy(root.clone(nullptr));
    ASSERT_EQ(copy->markers.size(), 1u);
    const Marker& copied = *copy->markers[0];
    EXPECT_EQ(copied.name, "show");
    EXPECT_EQ(copied.state, Marker::STOPPED);
    ASSERT_EQ(copied.entries.size(), 3u);
    EXPECT_EQ(copied.entries[0].node, copy->findNode("panel"));
    EXPECT_TRUE(copied.entries[0].recursive);
    EXPECT_EQ(copied.entries[1].node, copy->findNode("button"));
    EXPECT_TRUE(copied.entries[1].looped);
    EXPECT_EQ(copied.entries[2].node, copy.get());
    ASSERT_EQ(copy->findNode("panel")->markers.size(), 1u);
    EXPECT_EQ(copy->findNode("panel")->markers[0]->entries[0].node, copy->findNode("button"));

    // The panel leaves: its subtree leaves every marker above and in it.
    root.removeChild(panel, true);
    ASSERT_EQ(marker.entries.size(), 2u);
    EXPECT_EQ(marker.entries[0].node, other);
    std::unique_ptr<ISceneNode> owned(panel);
    EXPECT_EQ(panel->markers[0]->entries.size(), 1u);  // its own marker keeps it

    // A marker going away stops its nodes.
    marker.start(true);
    ASSERT_TRUE(root.playing);
    root.markers.clear();
    EXPECT_FALSE(root.playing);
}
