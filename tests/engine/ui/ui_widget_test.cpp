// The widget base without a UI manager: transitions, states, hit tests,
// tree queries and the drawing walk.

#include <gtest/gtest.h>

#include "ui/ui_state.h"
#include "ui/ui_widget.h"

using namespace VQ;

namespace {

using FloatChange = UIState::PropertyChange<float>;
using ColorChange = UIState::PropertyChange<Color>;

std::unique_ptr<UIState> fadeState(UIWidget& w, const std::string& name, float duration, float value)
{
    auto state = std::make_unique<UIState>(name);
    state->add(std::make_unique<FloatChange>(&w, &w.transparency, duration, value));
    return state;
}

// A widget that counts what the drawing walk asks of it.
struct CountingWidget : UIWidget {
    using UIWidget::UIWidget;
    void beginRender() override { ++begun; }
    void endRender() override { ++ended; }
    int begun = 0;
    int ended = 0;
};

UIWidget* addChild(UIWidget& parent, const std::string& name)
{
    auto* child = new UIWidget(name, &parent);
    parent.insertChild(child, parent.children.size());
    return child;
}

}  // namespace

TEST(UIStateTransition, StepsCoverTheirShareOfWhatIsLeftAndEndExactly)
{
    struct Case {
        float duration;
        std::vector<float> expected;  // after each update of 0.1 s
    };
    const Case cases[] = {
        {0.25f, {0.6667f, 1.0f, 1.0f}},
        {0.0f, {1.0f}},
        {0.05f, {1.0f}},
    };
    for (const Case& c : cases) {
        UIWidget w("w", nullptr);
        w.transparency = 0.0f;
        FloatChange change(&w, &w.transparency, c.duration, 1.0f);
        for (size_t i = 0; i < c.expected.size(); ++i) {
            change.update(0.1f);
            EXPECT_NEAR(w.transparency, c.expected[i], 1e-3f) << c.duration << " step " << i;
        }
        EXPECT_FALSE(change.active) << c.duration;
    }
    // 0.25 s: still active after two steps, inactive after the third.
    UIWidget w("w", nullptr);
    w.transparency = 0.0f;
    FloatChange change(&w, &w.transparency, 0.25f, 1.0f);
    change.update(0.1f);
    change.update(0.1f);
    EXPECT_TRUE(change.active);
    change.update(0.1f);
    EXPECT_FALSE(change.active);
}

TEST(UIStateTransition, ColourStepsNeverWrapOrOvershoot)
{
    UIWidget w("w", nullptr);
    w.color = Color(0xFF0000FFu);  // opaque blue
    ColorChange change(&w, &w.color, 1.0f, Color(0xFF000000u));
    int previousBlue = 255;
    while (change.active) {
        change.update(0.07f);
        EXPECT_LE(w.color.b, previousBlue);
        EXPECT_EQ(w.color.a, 255);
        EXPECT_EQ(w.color.r, 0);
        previousBlue = w.color.b;
    }
    EXPECT_EQ(w.color, Color(0xFF000000u));
    // Upwards too, and the largest fraction lands on the value.
    EXPECT_EQ(stepColorChannel(10, 250, 255), 250);
    EXPECT_EQ(stepColorChannel(250, 10, 255), 10);
    EXPECT_EQ(stepColorChannel(0, 255, 0), 0);
}

TEST(UIWidgetState, ReapplyingRestartsFromThePresentValue)
{
    UIWidget w("w", nullptr);
    w.addState("onIdle", fadeState(w, "onIdle", 0.25f, 1.0f));
    w.transparency = 0.5f;
    w.setState("onIdle");
    w.updateTree(0.1f);
    const float first = w.transparency;
    EXPECT_NEAR(first, 0.5f + 0.5f * (0.1f / 0.15f), 1e-3f);
    w.setState("onIdle");  // restart: 0.25 s again from `first`
    w.updateTree(0.1f);
    EXPECT_NEAR(w.transparency, first + (1.0f - first) * (0.1f / 0.15f), 1e-3f);
}

TEST(UIWidgetState, AddedStatesApplyAtOnceAndHideReachesChildren)
{
    UIWidget root("root", nullptr);
    UIWidget* child = addChild(root, "child");
    root.addDefaultHideState();
    EXPECT_FALSE(root.shown);
    EXPECT_FLOAT_EQ(root.transparency, 0.0f);
    EXPECT_FALSE(child->shown);
    EXPECT_FLOAT_EQ(child->transparency, 0.0f);

    // A state the widget lacks still passes "onIdle" down.
    child->addState("onIdle", fadeState(*child, "onIdle", 0.25f, 1.0f));
    root.setStateForcibly("onIdle");
    EXPECT_FLOAT_EQ(child->transparency, 1.0f);
    EXPECT_TRUE(child->shown);
    // addState keeps an existing state of the name.
    UIState* kept = child->findState("onIdle");
    child->addState("onIdle", fadeState(*child, "onIdle", 1.0f, 0.3f));
    EXPECT_EQ(child->findState("onIdle"), kept);
}

TEST(UIWidgetState, ADisabledWidgetIgnoresSelectAndTurnsIdleIntoDisable)
{
    UIWidget w("w", nullptr);
    UIWidget* child = addChild(w, "child");
    w.addState("onSelect", fadeState(w, "onSelect", 0.0f, 0.9f));
    w.addState("onDisable", fadeState(w, "onDisable", 0.0f, 0.4f));
    w.addState("onIdle", fadeState(w, "onIdle", 0.0f, 1.0f));
    child->addState("onHide", fadeState(*child, "onHide", 0.0f, 0.0f));

    // disable applies "onDisable" while still enabled, so it shows.
    w.disable();
    EXPECT_FALSE(w.enabled);
    EXPECT_FLOAT_EQ(w.transparency, 0.4f);
    w.setState("onSelect");
    EXPECT_EQ(w.currentState->name, "onDisable");
    w.setStateForcibly("onIdle");
    EXPECT_EQ(w.currentState->name, "onDisable");
    EXPECT_EQ(child->currentState->name, "onHide");  // nothing passed down

    w.enable();
    EXPECT_TRUE(w.enabled);
    EXPECT_EQ(w.currentState->name, "onIdle");
    EXPECT_FLOAT_EQ(w.transparency, 1.0f);
}

TEST(UIWidgetHitTest, RectanglesFlagsAndClipping)
{
    struct Case {
        const char* what;
        bool notSelecting;
        bool custom;
        bool clip;
        float x, y;
        bool hit;
    };
    // The widget covers (100, 100) to (200, 150); its child (300, 300) to
    // (320, 320); the custom rectangle (10, 10) to (20, 20) from the
    // widget; the clip rectangle (100, 100) to (150, 400).
    const Case cases[] = {
        {"inside", false, false, false, 150, 120, true},
        {"edge", false, false, false, 200, 150, true},
        {"outside", false, false, false, 250, 120, false},
        {"on the child", false, false, false, 310, 310, true},
        {"not selecting", true, false, false, 150, 120, false},
        {"not selecting, on the child", true, false, false, 310, 310, false},
        {"custom, inside it", false, true, false, 115, 115, true},
        {"custom, inside the size only", false, true, false, 150, 120, false},
        {"custom, on the child", false, true, false, 310, 310, false},
        {"clip, inside both", false, false, true, 120, 120, true},
        {"clip, inside the widget only", false, false, true, 180, 120, false},
    };
    for (const Case& c : cases) {
        UIWidget w("w", nullptr);
        w.position = Vector2f(100, 100);
        w.size = Vector2f(100, 50);
        UIWidget* child = addChild(w, "child");
        child->position = Vector2f(200, 200);
        child->size = Vector2f(20, 20);
        w.notSelecting = c.notSelecting;
        w.customRectEnabled = c.custom;
        w.customRect = Rect(10, 10, 20, 20);
        if (c.clip) {
            w.clipEnabled = true;
            w.clipRect = Rect(100, 100, 150, 400);
        }
        EXPECT_EQ(w.hitTest(Vector2f(c.x, c.y)), c.hit) << c.what;
    }
}

TEST(UIWidgetTree, FindInsertBoundsAndClipping)
{
    UIWidget root("a", nullptr);
    UIWidget* first = addChild(root, "b");
    UIWidget* second = addChild(root, "a");
    UIWidget* deep = addChild(*first, "deep");
    EXPECT_EQ(root.findChild("a"), &root);
    EXPECT_EQ(root.findChild("deep"), deep);
    EXPECT_EQ(root.findChild("none"), nullptr);
    EXPECT_TRUE(root.isDescendant(deep));
    EXPECT_FALSE(first->isDescendant(second));

    EXPECT_EQ(root.insertChild(first, 5), 1);
    EXPECT_EQ(root.children, (std::vector<UIWidget*>{first, second}));
    auto* third = new UIWidget("c", nullptr);
    EXPECT_EQ(root.insertChild(third, 0), 0);
    EXPECT_EQ(third->parent, &root);
    EXPECT_EQ(root.children.front(), third);

    root.position = Vector2f(10, 10);
    root.size = Vector2f(5, 5);
    deep->position = Vector2f(30, 40);
    deep->size = Vector2f(10, 10);
    deep->offset = Vector2f(1, 2);
    EXPECT_EQ(deep->absolutePosition(), Vector2f(41, 52));
    EXPECT_EQ(root.contentBounds(), Vector2f(41, 52));
    root.setClipRect(Rect(0, 0, 20, 20));
    EXPECT_TRUE(deep->clipEnabled);
    EXPECT_FALSE(root.isClippedOut());
    EXPECT_TRUE(deep->isClippedOut());
}

TEST(UIWidgetRender, TransparentWidgetsDrawTheirChildrenOnceAFrame)
{
    CountingWidget root("root", nullptr);
    auto* child = new CountingWidget("child", &root);
    root.insertChild(child, 0);
    root.transparency = 0.0f;
    root.render();
    root.render();  // drawn already this frame
    EXPECT_EQ(root.begun, 0);
    EXPECT_EQ(root.ended, 0);
    EXPECT_EQ(child->begun, 1);
    EXPECT_EQ(child->ended, 1);
    root.clearDrawn();
    child->setVisible(false);
    root.transparency = 1.0f;
    root.render();
    EXPECT_EQ(root.begun, 1);
    EXPECT_EQ(child->begun, 1);
}
