// The level map's camera: limits from marker names, a cropped viewport's
// margins, dragging, gliding, the wheel and the spring; the looks of level
// medallions, the open markers of other episodes and the episode buttons.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "animationeditor/marker.h"
#include "animationeditor/movie_camera.h"
#include "animationeditor/scene_node.h"
#include "main_mode.h"
#include "main_mode_map_state.h"
#include "map_button.h"
#include "map_camera.h"

namespace {

constexpr float DT = 1.0f / 60.0f;
const VQ::Vector2f SCENE(1726.0f, 970.0f);

struct BoundCase {
    std::vector<std::string> markers;
    CameraBounds landscape;
    CameraBounds portrait;
    VQ::Vector2f overscroll;
};

TEST(MapCamera, BoundMarkersSetEachOrientationsLimitsInEitherOrder)
{
    const BoundCase cases[] = {
        {{"#h:bound-hor:2000:0"}, {0, 0, 2000, 0}, {}, {0, 0}},
        {{"#h:bound-ver:-300:2400"}, {0, -300, 0, 2400}, {}, {0, 0}},
        {{"#v:bound-hor:10:20", "#v:bound-ver:40:30"}, {}, {10, 30, 20, 40}, {0, 0}},
        {{"#over:40"}, {}, {}, {40, 40}},
        {{"#over:40:10"}, {}, {}, {40, 10}},
        // No value characters: 0 for each value.
        {{"#h:bound-ver:x:y"}, {0, 0, 0, 0}, {}, {0, 0}},
        // A run is read as far as it forms a number; the separator is any
        // one character.
        {{"#h:bound-hor:1.5.2;-7"}, {-7, 0, 1.5f, 0}, {}, {0, 0}},
        {{"#h:bound-hor:--5:3"}, {0, 0, 3, 0}, {}, {0, 0}},
        // Other names change nothing.
        {{"#hor:bound-hor:5:6", "init", "#h:bound"}, {}, {}, {0, 0}},
    };
    for (const BoundCase& c : cases) {
        MapCamera camera;
        for (const std::string& name : c.markers)
            camera.readMarker(name);
        EXPECT_EQ(camera.orientationBounds[0], c.landscape) << c.markers[0];
        EXPECT_EQ(camera.orientationBounds[1], c.portrait) << c.markers[0];
        EXPECT_EQ(camera.overscroll, c.overscroll) << c.markers[0];
    }
}

TEST(MapCamera, AValueIsAtMostThirtyOneCharactersAndNeverReadPastItsText)
{
    size_t used = 0;
    EXPECT_FLOAT_EQ(readCameraValue(std::string(40, '1'), used), 1111111111111111111111111111111.0f);
    EXPECT_EQ(used, 31u);
    EXPECT_FLOAT_EQ(readCameraValue("", used), 0.0f);
    EXPECT_EQ(used, 0u);
    // The text ends inside the run: only what is there is read.
    EXPECT_FLOAT_EQ(readCameraValue(std::string_view("12345", 2), used), 12.0f);
    EXPECT_EQ(used, 2u);
    MapCamera camera;
    EXPECT_TRUE(camera.readMarker("#h:bound-hor:5"));
    EXPECT_EQ(camera.orientationBounds[0], (CameraBounds{0, 0, 5, 0}));
}

MapCamera cameraWith(CameraBounds raw, VQ::Vector2f overscroll = {0, 0})
{
    MapCamera camera;
    camera.orientationBounds[0] = camera.orientationBounds[1] = raw;
    camera.overscroll = overscroll;
    camera.applyBounds(false, SCENE, VQ::WorkspaceViewport());
    return camera;
}

TEST(MapCamera, ACroppedViewportWidensTheLimitsOfTheAxesThatMove)
{
    struct Case {
        VQ::Vector2f offset;
        float scale;
        CameraBounds raw;
        CameraBounds expected;
    };
    const Case cases[] = {
        // The whole workspace shows: the camera's range is the map less
        // the screen.
        {{0, 0}, 1.0f, {0, 0, 2048, 3072}, {0, 0, 322, 2102}},
        // Letterbox bars (offsets above 0) add nothing.
        {{40, 30}, 1.0f, {0, 0, 2048, 3072}, {0, 0, 322, 2102}},
        // Sides cut by 100 pixels at half scale: 200 units each side, so
        // the camera may stand 200 further left, and at its right limit the
        // visible part (200 to 1526) ends on the map's edge: 2048 - 1526.
        {{-100, 0}, 0.5f, {0, 0, 2048, 3072}, {-200, 0, 522, 2102}},
        // The same top and bottom.
        {{0, -50}, 0.5f, {0, 0, 2048, 3072}, {0, -100, 322, 2202}},
        // A pinned axis stays where it is.
        {{-100, -50}, 0.5f, {300, 500, 300, 500}, {300, 500, 300, 500}},
    };
    for (const Case& c : cases) {
        MapCamera camera;
        camera.orientationBounds[0] = c.raw;
        VQ::WorkspaceViewport viewport;
        viewport.offset = c.offset;
        viewport.scale = c.scale;
        camera.applyBounds(false, SCENE, viewport);
        EXPECT_EQ(camera.bounds, c.expected) << c.offset.x << " " << c.scale;
        EXPECT_TRUE(camera.settling);
    }
    // Portrait takes the second record.
    MapCamera camera;
    camera.orientationBounds[1] = {0, 0, 970, 1726};
    camera.applyBounds(true, {970, 1726}, VQ::WorkspaceViewport());
    EXPECT_EQ(camera.bounds, (CameraBounds{0, 0, 0, 0}));
}

CameraInput pointer(float x, float y, bool down, bool wasDown)
{
    CameraInput input;
    input.pointer = {x, y};
    input.leftDown = down;
    input.leftWasDown = wasDown;
    return input;
}

// Press at `from`, one frame at `to` held, release there: the position.
VQ::Vector2f drag(MapCamera& camera, VQ::Vector2f pos, VQ::Vector2f from, VQ::Vector2f to, float dt = DT)
{
    camera.update(pos, DT, pointer(from.x, from.y, true, false));
    camera.update(pos, DT, pointer(to.x, to.y, true, true));
    camera.update(pos, dt, pointer(to.x, to.y, false, true));
    return pos;
}

TEST(MapCamera, ADragMovesUnderThePointerAFastReleaseGlidesASlowOneStops)
{
    MapCamera camera = cameraWith({0, 0, 4000, 4000});
    VQ::Vector2f pos(1000, 1000);
    pos = drag(camera, pos, {500, 500}, {500, 400});
    // Released at once: the last frame's move gives the speed.
    EXPECT_EQ(pos, VQ::Vector2f(1000, 1100));
    EXPECT_FALSE(camera.dragging);

    // A fast release: the pointer 30 units further in the release frame,
    // 30 / dt x 0.78 units a second, of which one step glides at once.
    camera.dragging = true;
    camera.lastPointer = {500, 500};
    camera.update(pos, DT, pointer(500, 470, false, true));
    ASSERT_TRUE(camera.inertia);
    const float glide = 30.0f / DT * 0.78f;
    EXPECT_NEAR(camera.velocity.y, glide - glide * DT * 4.33f, 0.5f);
    const VQ::Vector2f released = pos;
    for (int i = 0; i < 600 && camera.inertia; ++i)
        camera.update(pos, DT, pointer(500, 470, false, false));
    EXPECT_FALSE(camera.inertia);
    EXPECT_GT(pos.y, released.y + 200.0f);

    // A slow release (below 60 units a second on an axis) leaves no glide
    // on that axis.
    camera.dragging = true;
    camera.lastPointer = {500, 500};
    camera.update(pos, DT, pointer(499.5f, 490, false, true));
    EXPECT_EQ(camera.velocity.x, 0.0f);
    EXPECT_NE(camera.velocity.y, 0.0f);
}

TEST(MapCamera, AReleaseInNoTimeLeavesNoGlide)
{
    MapCamera camera = cameraWith({0, 0, 4000, 4000});
    VQ::Vector2f pos(1000, 1000);
    camera.dragging = true;
    camera.lastPointer = {500, 500};
    EXPECT_TRUE(camera.update(pos, 0.0f, pointer(500, 300, false, true)));
    EXPECT_FALSE(camera.inertia);
    EXPECT_EQ(camera.velocity, VQ::Vector2f(0, 0));
    EXPECT_EQ(pos, VQ::Vector2f(1000, 1000));
}

TEST(MapCamera, DraggedPastALimitItStopsAtTheOverscrollAndSpringsBackExactly)
{
    MapCamera camera = cameraWith({0, 0, 2048, 3072}, {80, 60});
    VQ::Vector2f pos(100, 100);
    camera.update(pos, DT, pointer(500, 500, true, false));
    camera.update(pos, DT, pointer(900, 900, true, true));
    EXPECT_EQ(pos, VQ::Vector2f(-80, -60));
    // The spring starts in the release frame.
    camera.update(pos, DT, pointer(900, 900, false, true));
    EXPECT_EQ(pos, VQ::Vector2f(-75, -55));
    // 300 units a second back: 80 units take 16 frames and end on 0.
    int frames = 0;
    while ((pos.x != 0.0f || pos.y != 0.0f) && frames < 100) {
        camera.update(pos, DT, pointer(900, 900, false, false));
        ++frames;
    }
    EXPECT_EQ(pos, VQ::Vector2f(0, 0));
    EXPECT_LE(frames, 15) << "75 units at 5 a frame";
    camera.update(pos, DT, pointer(900, 900, false, false));
    EXPECT_EQ(pos, VQ::Vector2f(0, 0));
    EXPECT_FALSE(camera.settling);

    // During a walk there is no overscroll.
    CameraInput walking = pointer(900, 900, false, false);
    walking.walkIdle = false;
    walking.inputAllowed = false;
    pos = {-50, 5000};
    camera.update(pos, DT, walking);
    EXPECT_EQ(pos, VQ::Vector2f(0, 2102));
}

TEST(MapCamera, TheWheelPushesTheViewAndAPinnedAxisStays)
{
    MapCamera camera = cameraWith({0, 0, 2048, 3072});
    VQ::Vector2f pos(0, 1000);
    CameraInput wheel = pointer(500, 500, false, false);
    wheel.wheel = -120;
    camera.update(pos, DT, wheel);
    EXPECT_TRUE(camera.inertia);
    EXPECT_GT(pos.y, 1000.0f) << "towards the player: down the map";
    camera.reset();
    wheel.wheel = 120;
    pos = {0, 1000};
    camera.update(pos, DT, wheel);
    EXPECT_LT(pos.y, 1000.0f);

    // A map without bound markers: both axes pinned at 0.
    MapCamera pinned = cameraWith({});
    pos = {0, 0};
    for (int i = 0; i < 30; ++i) {
        pinned.update(pos, DT, wheel);
        wheel.wheel = 0;
    }
    EXPECT_EQ(pos, VQ::Vector2f(0, 0));
}

TEST(MapCamera, APressOnTheInterfaceOrWithAHighlightedSignpostDragsNothing)
{
    MapCamera camera = cameraWith({0, 0, 2048, 3072});
    VQ::Vector2f pos(100, 100);
    CameraInput press = pointer(500, 40, true, false);
    press.guiHit = true;
    EXPECT_TRUE(camera.update(pos, DT, press));
    EXPECT_FALSE(camera.dragging);
    press.guiHit = false;
    press.episodeButtonActive = true;
    pos = {100.5f, 100};
    EXPECT_FALSE(camera.update(pos, DT, press)) << "the camera must not move in this frame";
    EXPECT_EQ(pos, VQ::Vector2f(100.5f, 100));
    EXPECT_FALSE(camera.dragging);
    // While a walk or an award flight runs, no drag starts.
    press.episodeButtonActive = false;
    press.inputAllowed = false;
    camera.update(pos, DT, press);
    EXPECT_FALSE(camera.dragging);
}

TEST(MapCamera, EpisodeStepsOpenAtTheRawLeftAndBottomOrTopLimits)
{
    MapCamera camera;
    camera.orientationBounds[0] = {-10, 0, 2048, 3072};
    camera.orientationBounds[1] = {5, 7, 970, 2000};
    EXPECT_EQ(camera.jumpPosition(1, false), VQ::Vector2f(-10, 3072));
    EXPECT_EQ(camera.jumpPosition(2, false), VQ::Vector2f(-10, 0));
    EXPECT_EQ(camera.jumpPosition(1, true), VQ::Vector2f(5, 2000));
    EXPECT_EQ(camera.jumpPosition(2, true), VQ::Vector2f(5, 7));
}

TEST(MapState, OtherEpisodesStartTheOpenMarkersOfTheirCompleteParts)
{
    struct Case {
        int displayed, current, partIndex, parts, expected;
    };
    const Case cases[] = {
        {0, 0, 0, 3, 0},  // the current episode: the parts before the player's
        {0, 0, 2, 3, 2},
        {1, 1, 5, 3, 3},  // never past the episode's parts
        {0, 1, 0, 3, 2},  // an earlier episode: all but its last part
        {0, 2, 1, 1, 0},
        {2, 1, 1, 4, 0},  // a later episode: none
    };
    for (const Case& c : cases)
        EXPECT_EQ(openMarkerCount(c.displayed, c.current, c.partIndex, c.parts), c.expected)
            << c.displayed << " " << c.current << " " << c.partIndex;
}

TEST(MapState, MedallionsShowStarsLocksAndOpenLevels)
{
    PartInfo part;
    part.locked = false;
    const struct {
        bool completed;
        int bestScore;
    } levels[] = {{true, 12000}, {true, 4000}, {false, 0}, {false, 0}};
    for (const auto& l : levels) {
        auto* level = new LevelInfo();
        level->completed = l.completed;
        level->bestScore = l.bestScore;
        level->starScores[0] = 5000;
        level->starScores[1] = 10000;
        level->starScores[2] = 20000;
        part.levels.push_back(level);
    }
    EXPECT_EQ(levelLook(part, 0), 2);
    EXPECT_EQ(levelLook(part, 1), 0);
    EXPECT_EQ(levelLook(part, 2), LEVEL_OPEN) << "after a completed level";
    EXPECT_EQ(levelLook(part, 3), LEVEL_LOCKED) << "after one not completed";
    part.levels[0]->completed = part.levels[1]->completed = false;
    EXPECT_EQ(levelLook(part, 0), LEVEL_OPEN) << "the first level of an open part";
    part.locked = true;
    for (size_t j = 0; j < part.levels.size(); ++j)
        EXPECT_EQ(levelLook(part, j), LEVEL_LOCKED);
}

// Which medallions light up under the mouse and which open their start
// window on a click, for an open and a locked part.
TEST(MapState, HoverAndClickOpenOnlyReachedLevels)
{
    PartInfo part;
    for (bool completed : {true, false, false}) {
        auto* level = new LevelInfo();
        level->completed = completed;
        part.levels.push_back(level);
    }
    part.locked = false;
    EXPECT_TRUE(levelHoverable(part, 0));
    EXPECT_TRUE(levelHoverable(part, 1)) << "after a completed level";
    EXPECT_FALSE(levelHoverable(part, 2)) << "after one not completed";
    EXPECT_TRUE(levelClickOpens(part, 0, 1));
    EXPECT_TRUE(levelClickOpens(part, 1, 1)) << "the current level";
    EXPECT_FALSE(levelClickOpens(part, 2, 1)) << "past the current level";
    part.locked = true;
    EXPECT_FALSE(levelHoverable(part, 0));
    EXPECT_TRUE(levelClickOpens(part, 0, 1)) << "a completed level stays open";
    EXPECT_FALSE(levelClickOpens(part, 1, 1));
}

// A node whose hit test answers what the test says.
class HitNode : public AE::ISceneNode {
public:
    bool hitTest(float, float, bool) override { return hit; }
    bool hit = false;
};

class ClickCounter : public MapButtonListener {
public:
    void onButtonClicked(MapButton* button) override
    {
        ++clicks;
        last = button;
    }
    int clicks = 0;
    MapButton* last = nullptr;
};

TEST(MapButton, HoverPressAndReleaseOverItClickAndPlayTheirMarkers)
{
    HitNode node;
    const char* names[] = {"regular>selected", "selected>regular", "selected>pressed", "pressed>regular",
                           "pressed>selected"};
    for (const char* name : names)
        node.addMarker(std::make_unique<AE::Marker>(name));
    ClickCounter listener;
    MapButton button(&node, MapButton::REGULAR, &listener);
    auto played = [&](const char* name) { return node.getMarker(name)->getState() == AE::Marker::PLAYING; };

    button.updateAt({0, 0}, false, false);
    EXPECT_EQ(button.state, MapButton::REGULAR);
    node.hit = true;
    button.updateAt({0, 0}, false, false);
    EXPECT_EQ(button.state, MapButton::SELECTED);
    EXPECT_TRUE(played("regular>selected"));
    button.updateAt({0, 0}, true, false);
    EXPECT_EQ(button.state, MapButton::PRESSED);
    EXPECT_TRUE(played("selected>pressed"));
    button.updateAt({0, 0}, false, true);
    EXPECT_EQ(button.state, MapButton::SELECTED);
    EXPECT_TRUE(played("pressed>selected"));
    EXPECT_EQ(listener.clicks, 1);
    EXPECT_EQ(listener.last, &button);

    // Pressed, then released away from it: no click.
    button.updateAt({0, 0}, true, false);
    node.hit = false;
    button.updateAt({0, 0}, false, true);
    EXPECT_EQ(button.state, MapButton::REGULAR);
    EXPECT_TRUE(played("pressed>regular"));
    EXPECT_EQ(listener.clicks, 1);
    // A button without the markers changes state all the same.
    HitNode bare;
    bare.hit = true;
    MapButton plain(&bare, MapButton::REGULAR, &listener);
    plain.updateAt({0, 0}, false, false);
    EXPECT_EQ(plain.state, MapButton::SELECTED);
}

TEST(MapButton, ScenePointsAndWorkspacePointsMapBothWaysThroughTheCamera)
{
    AE::MovieCamera camera;
    camera.view.position = {-300, -1200};
    camera.view.scale = {2, 2};
    const VQ::Vector2f p(100, 50);
    const VQ::Vector2f m = mapPointUnder(&camera, SCENE, p);
    EXPECT_FLOAT_EQ(m.x, 863 + 300 + (100 - 863) / 2.0f);
    EXPECT_FLOAT_EQ(m.y, 485 + 1200 + (50 - 485) / 2.0f);
    const VQ::Vector2f back = workspacePointOver(&camera, SCENE, m);
    EXPECT_NEAR(back.x, p.x, 1e-3f);
    EXPECT_NEAR(back.y, p.y, 1e-3f);
    EXPECT_EQ(mapPointUnder(nullptr, SCENE, p), p);
}

}  // namespace
