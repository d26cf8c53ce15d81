#pragma once
// How the level map's camera moves: the limits read from the names of the
// camera node's markers (one set per orientation), the margins a cropped
// viewport adds, dragging with the left button, the glide after a fast
// release or a wheel turn, and the spring back into the limits after the
// camera was pulled past them. The map state feeds it the frame's input
// and puts the position it answers on its camera node.

#include <string>
#include <string_view>

#include "render_system.h"
#include "vector2.h"

struct CameraBounds {
    float xMin = 0.0f;
    float yMin = 0.0f;
    float xMax = 0.0f;
    float yMax = 0.0f;
    bool operator==(const CameraBounds&) const = default;
};

// What the camera reads of one frame.
struct CameraInput {
    VQ::Vector2f pointer;  // workspace units
    bool leftDown = false;
    bool leftWasDown = false;  // in the previous frame
    int wheel = 0;             // the frame's wheel delta
    // The press landed on the map's interface.
    bool guiHit = false;
    // An episode button is highlighted or pressed.
    bool episodeButtonActive = false;
    // Neither a walk nor an award flight runs: the player may move the map.
    bool inputAllowed = true;
    // No walk runs: the camera may be pulled past its limits.
    bool walkIdle = true;
};

class MapCamera {
public:
    static constexpr float RELEASE_FACTOR = 0.78f;
    static constexpr float MIN_SPEED = 60.0f;
    static constexpr float FRICTION = 4.33f;
    static constexpr float WHEEL_SPEED = 2000.0f;
    static constexpr float SPRING_SPEED = 300.0f;
    static constexpr int VALUE_CHARS = 31;

    // One marker name: the four bound prefixes ("#h:bound-hor:",
    // "#h:bound-ver:", "#v:bound-hor:", "#v:bound-ver:") with two values,
    // "#over:" with one or two; false for any other name.
    bool readMarker(const std::string& name);

    // The active limits for the orientation, widened on each axis that
    // moves by the margins of a viewport that crops the scene of size
    // `scene`; settles.
    void applyBounds(bool portrait, VQ::Vector2f scene, const VQ::WorkspaceViewport& viewport);

    // `target` within `bounds`.
    VQ::Vector2f clampToBounds(VQ::Vector2f target) const;

    // Where an episode step puts the camera: the left limit as read (no
    // margins), the bottom one after a step forwards (jump 1), the top one
    // after a step back (jump 2).
    VQ::Vector2f jumpPosition(int jump, bool portrait) const
    {
        const CameraBounds& raw = orientationBounds[portrait ? 1 : 0];
        return {raw.xMin, jump == 1 ? raw.yMax : raw.yMin};
    }

    // One frame from `position`; false when the camera must not move in
    // this frame (a press while an episode button is highlighted). The
    // answer is truncated to whole units.
    bool update(VQ::Vector2f& position, float dt, const CameraInput& input);

    // A build: no drag, glide or spring left over.
    void reset()
    {
        dragging = settling = inertia = false;
        velocity = {0.0f, 0.0f};
    }

    // Limits as read: 0 landscape, 1 portrait.
    CameraBounds orientationBounds[2];
    CameraBounds bounds;
    VQ::Vector2f overscroll{0.0f, 0.0f};
    bool dragging = false;
    bool settling = false;
    bool inertia = false;
    VQ::Vector2f lastPointer{0.0f, 0.0f};
    VQ::Vector2f velocity{0.0f, 0.0f};
};

// The longest run of 0-9, '.' and '-' at the start of `text` (at most 31
// characters) as a number, as far as the run forms one (an empty run gives
// 0); `used` is the length of the run.
float readCameraValue(std::string_view text, size_t& used);
