#pragma once
// A slider made of an animated scene node: the thumb "#thumb" travels along
// the key frames of its own position track, and the value (0 at the first
// key frame, 1 at the last) is shown by seeking the nodes of the bar's
// marker "#thumbs". While the left button is held on the bar the value
// follows the cursor and the listener is told each new value. A bar with
// the marker "#ver" runs along y.

namespace AE {
class ISceneNode;
class Marker;
}
class ScrollBar;

class ScrollBarListener {
public:
    virtual ~ScrollBarListener() = default;
    virtual void onScroll(ScrollBar* bar, float value) = 0;
};

class ScrollBar {
public:
    explicit ScrollBar(AE::ISceneNode* bar);

    // Shows `value`, clamped to 0..1; the listener is not told.
    void setValue(float value);
    // Each frame, after the owner has set `active`.
    void update();

    AE::ISceneNode* bar;              // the window scene's
    AE::ISceneNode* thumb = nullptr;  // "#thumb" under the bar
    AE::Marker* thumbs = nullptr;     // "#thumbs"; null when absent
    float trackLength = 0.0f;         // seconds to the last key frame
    bool vertical = false;
    float value = 0.0f;
    // The owning window is the topmost one.
    bool active = false;
    ScrollBarListener* listener = nullptr;  // not owned

private:
    void seekThumbs();
};
