#pragma once
// The tutorial's hint window: a text in a parchment bubble, an optional
// arrow pointing at what to touch, an optional close button, and a layer
// that darkens the rest of the screen. The layer is a Blackout drawn by a
// widget placed first in the window's tree, so the window's own pieces lie
// over it. A mask blackout leaves a bright hole about a point; a solid one
// darkens everything evenly.

#include <memory>
#include <string>

#include "animationeditor/marker.h"
#include "render_data.h"
#include "ui/ui_widget.h"
#include "vector2.h"

namespace AE {
class ISceneNode;
}
namespace VQ {
class Sprite;
}
class TutorialWindowListener;

class Blackout {
public:
    Blackout() = default;
    virtual ~Blackout() = default;
    Blackout(const Blackout&) = delete;
    Blackout& operator=(const Blackout&) = delete;

    // The point the layer is laid out about, in workspace units.
    virtual void setOrigin(const VQ::Vector2f& point) { (void)point; }
    virtual void render() = 0;
    virtual void update(float dt) { (void)dt; }

    float alpha = 0.5f;
};

// Black at `alpha` over the whole scene, whatever the origin.
class SolidBlackout : public Blackout {
public:
    SolidBlackout();
    ~SolidBlackout() override;

    void setOrigin(const VQ::Vector2f& point) override;
    void render() override;

    VQ::Sprite* sprite = nullptr;  // the sprite manager's
};

// A mask image (dark, with a clear hole) placed at the origin plus the
// orientation's offset, less the padding; its border texels stretch over
// the rest of the screen in a 3 x 3 grid of quads.
class MaskBlackout : public Blackout {
public:
    static constexpr int VERTEX_COUNT = 36;

    MaskBlackout(const std::string& maskFile, const std::string& maskTable);
    ~MaskBlackout() override;

    void setOrigin(const VQ::Vector2f& point) override;
    void render() override;
    // Both orientations' offsets.
    void setOffsets(const VQ::Vector2f& landscape, const VQ::Vector2f& portrait)
    {
        offsets[0] = landscape;
        offsets[1] = portrait;
    }

    VQ::Vector2f offsets[2];  // landscape, portrait
    VQ::Vector2f maskPadding;
    VQ::Vector2f origin;
    VQ::Sprite* sprite = nullptr;  // the sprite manager's
    std::unique_ptr<VQ::RenderData> renderData;
};

class TutorialWindow : public AE::MarkerListener {
public:
    class BlackoutRenderer : public VQ::UIWidget {
    public:
        BlackoutRenderer() : VQ::UIWidget("blackout", nullptr) {}
        ~BlackoutRenderer() override;
        void beginRender() override;
        void update(float dt) override;

        Blackout* blackout = nullptr;  // owned
    };

    // Loads "tutorial_window_ui", built hidden; `listener` may be null.
    TutorialWindow(bool hasArrow, bool hasButton, TutorialWindowListener* listener);
    // The tree (renderer and blackout with it) goes at the UI manager's next
    // update.
    ~TutorialWindow() override;
    TutorialWindow(const TutorialWindow&) = delete;
    TutorialWindow& operator=(const TutorialWindow&) = delete;

    void setArrowMarkers(const std::string& landscape, const std::string& portrait);
    // `key`: a key of the string tables.
    void setText(const std::string& key);
    // Takes the blackout, deleting the one before.
    void setBlackout(Blackout* blackout);
    void setAura(bool on);

    void open(const VQ::Vector2f& point);
    void placeArrow(const VQ::Vector2f& point);
    void close();
    // The window is on screen.
    bool isShown() const;

    void onMarkerFinished(AE::Marker* marker) override;

    BlackoutRenderer* blackoutRenderer = nullptr;  // in the tree
    std::string arrowMarkers[2];                   // landscape, portrait
    VQ::UIWidget* root = nullptr;                  // the UI manager's
    AE::ISceneNode* scene = nullptr;
    bool hasArrow;
    bool hasButton;
    TutorialWindowListener* listener;
    VQ::Vector2f arrowPoint{0.0f, 0.0f};
    AE::Marker* showMarker = nullptr;
    AE::Marker* hideMarker = nullptr;
    // From `open` until the hide animation has ended.
    bool onScreen = false;

private:
    void onCloseClicked();
    void startMarker(const std::string& name);
};
