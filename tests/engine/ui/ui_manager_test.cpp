// The UI manager at run time with the input controller and the widget
// classes: event choice, hover and capture, reachability, clicks, the
// shown stack, removal of roots, the text edit and the labels.

#include <gtest/gtest.h>

#include "sound_system/sound_manager.h"
#include "support/sound_fixtures.h"
#include "support/ui_fixture.h"
#include "ui/ui_button.h"
#include "ui/ui_font.h"
#include "ui/ui_label.h"
#include "ui/ui_sprite.h"
#include "ui/ui_text_edit.h"

using namespace TestSupport;
using namespace VQ;

namespace {

// Counts its calls; may run an action too.
struct Probe : IFunction {
    explicit Probe(int& count, std::function<void()> action = nullptr) : count(count), action(std::move(action)) {}
    void invoke() override
    {
        ++count;
        if (action)
            action();
    }
    int& count;
    std::function<void()> action;
};

class UIManagerTest : public UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        addXml("test_strings_xml", "<root><s><text>HELLO</text><translate>Hello there</translate></s></root>");
        // Windows of 200 x 100 made of a panel; buttons 50 x 20 made of a
        // face; every widget fades in over no time.
        addLua("runtime_ui", R"(
local function fade(id) return { id = "onIdle", propertyChanges = { { target = id, property = "transparency", duration = 0, value = 1 } } } end
Window = { id = "window", class = "UIWidget", position = { 100, 100 }, initialState = "onIdle", states = { fade("window") },
  childs = {
    { id = "panel", class = "UIWidget" },
    { id = "ok", class = "UIButton", position = { 10, 10 }, childs = { { id = "okFace", class = "UIWidget" } },
      states = { { id = "onPress", propertyChanges = { { target = "ok", property = "offset", duration = 0, value = { 0, 2 } } } } } },
    { id = "over", class = "UIButton", position = { 30, 10 }, childs = { { id = "overFace", class = "UIWidget" } } },
    { id = "box", class = "UICheckBox", position = { 10, 60 }, thumb = "tick",
      childs = { { id = "boxFace", class = "UIWidget" }, { id = "tick", class = "UIWidget" } } },
  } }
Popup = { id = "popup", class = "UIWidget", position = { 400, 400 }, hideWidgetOnOutsideClick = 1,
          initialState = "onIdle", states = { fade("popup") }, childs = { { id = "popupFace", class = "UIWidget" } } }
Hint = { id = "hint", class = "UIWidget", position = { 600, 0 }, modal = 0, initialState = "onIdle", states = { fade("hint") },
         childs = { { id = "hintFace", class = "UIWidget" } } }
Edit = { id = "edit", class = "UITextEdit", position = { 300, 300 }, maxLength = 3, font = "system_font_fnt",
         states = { fade("edit") } }
Filtered = { id = "filtered", class = "UITextEdit", filterSpecialCharacters = 1, states = { fade("filtered") } }
Labels = { id = "labels", class = "UIWidget", childs = {
    { id = "keyed", class = "UILabel", text = "#HELLO" }, { id = "hash", class = "UILabel", text = "#" },
    { id = "missing", class = "UILabel", text = "#NO_SUCH_KEY" },
    { id = "measured", class = "UILabel", size = { 1, 1 }, sizeof = "labels" },
    { id = "preset", class = "UILabel", fontPreset = "font_presets_lua:title", font = "small_font_fnt" } } }
)");
        startUI();
        mTexts->loadTable("default", "test_strings_xml");
    }

    // Sizes the parts the scripts leave without a size.
    UIWidget* window()
    {
        UIWidget* w = load("runtime_ui", "Window");
        w->findChild("panel")->size = Vector2f(200, 100);
        w->findChild("okFace")->size = Vector2f(50, 20);
        w->findChild("overFace")->size = Vector2f(50, 20);
        w->findChild("boxFace")->size = Vector2f(20, 20);
        return w;
    }
    UIWidget* sized(const char* table, const char* face, Vector2f size)
    {
        UIWidget* w = load("runtime_ui", table);
        w->findChild(face)->size = size;
        return w;
    }
};

}  // namespace

TEST_F(UIManagerTest, EventChoice)
{
    struct Step {
        bool left;
        std::vector<uint8_t> keys;
        bool right;
        int wheel;
        uint32_t expected;
    };
    const Step steps[] = {
        {true, {0x41}, false, 0, UIEvent::POINTER_PRESSED},  // keys wait while the button is down
        {true, {}, false, 0, UIEvent::POINTER_HELD},
        {true, {}, false, 0, UIEvent::POINTER_HELD},
        {false, {}, false, 0, UIEvent::POINTER_RELEASED},
        {false, {0x5A, 0x42}, false, 0, UIEvent::make(UIEvent::KEY_PRESSED, 0x42)},
        {false, {0x5A, 0x42}, false, 0, UIEvent::make(UIEvent::KEY_HELD, 0x42)},
        {false, {0x5A}, false, 0, UIEvent::make(UIEvent::KEY_RELEASED, 0x42)},
        {false, {}, false, 120, UIEvent::make(UIEvent::KEY_RELEASED, 0x5A)},
        {false, {}, false, 120, UIEvent::WHEEL_UP},
        {false, {}, false, -120, UIEvent::WHEEL_DOWN},
        {false, {}, true, 0, UIEvent::NONE},
    };
    MouseDevice& mouse = *mInput->mouse();
    KeyboardDevice& keyboard = *mInput->keyboard();
    int index = 0;
    for (const Step& s : steps) {
        mouse.previousLeft = mouse.left;
        mouse.previousRight = mouse.right;
        mouse.left = s.left ? 0x80 : 0;
        mouse.right = s.right ? 0x80 : 0;
        mouse.wheel = s.wheel;
        mouse.x = 10 + index;
        mouse.y = 20;
        std::memcpy(keyboard.previous, keyboard.current, 256);
        std::memset(keyboard.current, 0, 256);
        for (uint8_t k : s.keys)
            keyboard.current[k] = KEY_DOWN;
        EXPECT_EQ(controller().chooseEvent(), s.expected) << "step " << index;
        ++index;
    }
    // The press point follows the left press and the right press only.
    EXPECT_EQ(controller().pressPoint, Vector2f(20, 20));
    EXPECT_FALSE(controller().leftDown);
}

TEST_F(UIManagerTest, ButtonsClickWithPressAndReleaseInsideThem)
{
    UIWidget* w = window();
    auto* ok = find<UIButton>(w, "ok");
    int clicks = 0;
    ok->connect("clicked", std::make_unique<Probe>(clicks));
    // The face covers (110, 110) to (160, 130).
    frame(120, 120, false);
    EXPECT_TRUE(ok->hovered);
    frame(120, 120, true);
    frame(120, 120, true);
    EXPECT_EQ(mUI->capturedWidget, ok);
    EXPECT_EQ(ok->offset, Vector2f(0, 2));
    frame(120, 120, false);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(mUI->capturedWidget, nullptr);

    // Press inside, move out, release: no click; hovered until the next
    // frame turns it idle.
    frame(120, 120, true);
    frame(120, 120, true);
    frame(300, 300, true);
    EXPECT_FALSE(find<UIButton>(w, "over")->hovered);  // the capture holds the input
    frame(300, 300, false);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(ok->hovered);
    frame(300, 300, false);
    EXPECT_FALSE(ok->hovered);

    // Press outside, move in, release: no click.
    frame(300, 300, true);
    frame(120, 120, true);
    frame(120, 120, false);
    EXPECT_EQ(clicks, 1);
}

TEST_F(UIManagerTest, OverlappingButtons)
{
    UIWidget* w = window();
    auto* ok = find<UIButton>(w, "ok");
    auto* over = find<UIButton>(w, "over");
    int okClicks = 0;
    int overClicks = 0;
    ok->connect("clicked", std::make_unique<Probe>(okClicks));
    over->connect("clicked", std::make_unique<Probe>(overClicks));
    // (145, 120) lies on both faces. Released in the very next frame, the
    // release reaches both.
    click(145, 120);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(overClicks, 1);
    // Held for a frame, the first visited captures and alone clicks.
    frame(145, 120, true);
    frame(145, 120, true);
    frame(145, 120, false);
    EXPECT_EQ(okClicks, 2);
    EXPECT_EQ(overClicks, 1);
}

TEST_F(UIManagerTest, ClicksPlayTheClickSound)
{
    useSilentAudioDevice();
    SoundManager sound;
    UIWidget* w = window();
    find<UIButton>(w, "ok")->processMessage(UIEvent::CLICK);
    EXPECT_FALSE(sound.voiceHandles().empty());
    EXPECT_NE(sound.acquireResource(mUI->clickSoundName), 0);
}

TEST_F(UIManagerTest, CheckBoxTogglesOnReleaseOverIt)
{
    UIWidget* w = window();
    auto* box = find<UICheckBox>(w, "box");
    UIWidget* tick = w->findChild("tick");
    frame(0, 0, false, {}, 0.01f);
    EXPECT_FALSE(box->isChecked);
    EXPECT_FALSE(tick->visible);
    click(115, 165);
    frame(0, 0, false, {}, 0.01f);
    EXPECT_TRUE(box->isChecked);
    EXPECT_TRUE(tick->visible);
    // Released away from it: no change.
    frame(115, 165, true);
    frame(400, 400, false);
    EXPECT_TRUE(box->isChecked);
    click(115, 165);
    EXPECT_FALSE(box->isChecked);
}

TEST_F(UIManagerTest, DisabledButtonsTakeNoPointerButKeys)
{
    UIWidget* w = window();
    auto* ok = find<UIButton>(w, "ok");
    ok->disable();
    int clicks = 0;
    ok->connect("clicked", std::make_unique<Probe>(clicks));
    click(120, 120);
    EXPECT_FALSE(ok->hovered);
    EXPECT_EQ(clicks, 0);
}

TEST_F(UIManagerTest, ModalEntriesHideWhatLiesBelowThem)
{
    UIWidget* w = window();
    UIWidget* popup = sized("Popup", "popupFace", Vector2f(50, 50));
    UIWidget* ok = w->findChild("ok");
    EXPECT_FALSE(mUI->isReachable(ok));
    EXPECT_TRUE(mUI->isReachable(popup->findChild("popupFace")));
    popup->modal = false;
    EXPECT_TRUE(mUI->isReachable(ok));
    popup->modal = true;
    // A non-modal hint on top lets the popup below take input.
    UIWidget* hint = sized("Hint", "hintFace", Vector2f(10, 10));
    EXPECT_TRUE(mUI->isReachable(popup));
    EXPECT_TRUE(mUI->isReachable(hint));
    EXPECT_FALSE(mUI->isReachable(ok));
    // Hidden entries are passed over.
    popup->hideForcibly();
    EXPECT_TRUE(mUI->isReachable(ok));
    EXPECT_EQ(mUI->topmostVisibleRoot(), hint);
}

TEST_F(UIManagerTest, OutsideClicksHideTheirWidget)
{
    window();
    UIWidget* popup = sized("Popup", "popupFace", Vector2f(50, 50));
    click(420, 420);  // inside, on the face
    EXPECT_TRUE(popup->shown);
    frame(10, 10, true);
    EXPECT_FALSE(popup->shown);
}

TEST_F(UIManagerTest, TheShownStack)
{
    UIWidget* w = window();
    UIWidget* popup = sized("Popup", "popupFace", Vector2f(50, 50));
    EXPECT_EQ(mUI->shownStack(), (std::vector<UIWidget*>{w, popup}));
    w->show();
    w->show();
    EXPECT_EQ(mUI->shownStack(), (std::vector<UIWidget*>{popup, w}));
    w->hide();
    EXPECT_EQ(mUI->topmostVisibleRoot(), popup);
    EXPECT_EQ(mUI->shownStack().size(), 2u);

    // A marked root goes at the next update, with the capture and its
    // shown entries, a child's included.
    popup->findChild("popupFace")->show();
    mUI->capturedWidget = w->findChild("ok");
    popup->deleteMark = true;
    popup->show();  // a marked widget is not shown again
    mUI->update(0.0f);
    EXPECT_EQ(mUI->roots(), std::vector<UIWidget*>{w});
    EXPECT_EQ(mUI->shownStack(), std::vector<UIWidget*>{w});
    EXPECT_EQ(mUI->capturedWidget, nullptr);

    // removeRoot: a root gives 0, a loose tree 1, null 1; a tree with a
    // parent is detached first; shown entries inside it go too.
    UIWidget* ok = w->findChild("ok");
    ok->show();
    EXPECT_EQ(mUI->removeRoot(ok), 1);
    EXPECT_EQ(w->findChild("ok"), nullptr);
    EXPECT_EQ(mUI->shownStack(), std::vector<UIWidget*>{w});
    EXPECT_EQ(mUI->removeRoot(nullptr), 1);
    EXPECT_EQ(mUI->removeRoot(w), 0);
    EXPECT_TRUE(mUI->roots().empty());
    EXPECT_TRUE(mUI->shownStack().empty());
}

TEST_F(UIManagerTest, CallbacksThatDiscardTheirWindow)
{
    UIWidget* w = window();
    auto* ok = find<UIButton>(w, "ok");
    auto* over = find<UIButton>(w, "over");
    int okClicks = 0;
    int overClicks = 0;
    // Both click in one frame; the first removes the window at once: the
    // list still queued and the one running stay alive until the end.
    ok->connect("clicked", std::make_unique<Probe>(okClicks, [&] { mUI->removeRoot(w); }));
    over->connect("clicked", std::make_unique<Probe>(overClicks, [&] { mUI->removeRoot(w); }));
    click(145, 120);
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(overClicks, 1);
    EXPECT_TRUE(mUI->roots().empty());

    // Marking for deletion: the window goes in the following update.
    w = window();
    ok = find<UIButton>(w, "ok");
    ok->connect("clicked", std::make_unique<Probe>(okClicks, [&] { w->deleteMark = true; }));
    click(120, 120);
    EXPECT_EQ(okClicks, 2);
    EXPECT_TRUE(mUI->roots().empty());

    // A widget deleted with its signal still queued is taken off the queue.
    w = window();
    ok = find<UIButton>(w, "ok");
    ok->connect("clicked", std::make_unique<Probe>(okClicks));
    ok->processMessage(UIEvent::CLICK);
    mUI->removeRoot(w);
    mUI->runPendingSignals();
    EXPECT_EQ(okClicks, 2);
}

TEST_F(UIManagerTest, CommandsActOnTheFirstRootWithTheName)
{
    UIWidget* first = window();
    UIWidget* second = window();
    first->hideForcibly();
    second->hideForcibly();
    mFunctions->find("showForcibly")->bind({"window"})->call();
    EXPECT_TRUE(first->shown);
    EXPECT_FALSE(second->shown);
    mFunctions->find("hideForcibly")->bind({"nobody"})->call();
}

TEST_F(UIManagerTest, TheFrameStepIsCappedAtATenth)
{
    UIWidget* edit = load("runtime_ui", "Edit");
    auto* text = static_cast<UITextEdit*>(edit);
    mUI->update(5.0f);
    EXPECT_FLOAT_EQ(text->caretPhase, 0.2f);
    mUI->update(0.05f);
    EXPECT_FLOAT_EQ(text->caretPhase, 0.3f);
}

TEST_F(UIManagerTest, TextEditKeys)
{
    auto* edit = static_cast<UITextEdit*>(load("runtime_ui", "Edit"));
    edit->showForcibly();
    for (uint8_t key : {uint8_t('A'), uint8_t('B'), VirtualKey::LEFT, uint8_t('C')})
        type(key, true);
    ASSERT_NE(edit->caption, nullptr);
    EXPECT_EQ(edit->caption->text, u"ACB");
    EXPECT_EQ(edit->caretIndex, 2u);
    // Full at 3: refused.
    type('D', true);
    EXPECT_EQ(edit->caption->text, u"ACB");
    // Game code shortens the text; edits clamp the caret first.
    edit->caption->text = u"A";
    edit->caretIndex = 7;
    type(VirtualKey::BACK);
    EXPECT_EQ(edit->caption->text, u"");
    EXPECT_EQ(edit->caretIndex, 0u);
    type(VirtualKey::BACK);
    EXPECT_EQ(edit->caretIndex, 0u);
    // Space and punctuation below 0x80 are no character keys.
    type(VirtualKey::SPACE);
    type(0x2F);
    EXPECT_EQ(edit->caption->text, u"");
    // Enter emits "textEntered".
    int entered = 0;
    edit->connect("textEntered", std::make_unique<Probe>(entered));
    type(VirtualKey::RETURN);
    EXPECT_EQ(entered, 1);
}

TEST_F(UIManagerTest, TextEditFilterAndLayout)
{
    auto* edit = static_cast<UITextEdit*>(load("runtime_ui", "Filtered"));
    edit->showForcibly();
    // Right before the caption is known leaves the caret alone.
    edit->caretIndex = 0;
    type(VirtualKey::RIGHT);
    EXPECT_EQ(edit->caretIndex, 0u);
    type(VirtualKey::OEM_PERIOD);  // "." is refused by the filter
    type('7');
    ASSERT_NE(edit->caption, nullptr);
    EXPECT_EQ(edit->caption->text, u"7");
    // The field is centred on where it stood: maxLength widest glyphs wide.
    UIFont* font = edit->caption->font;
    ASSERT_NE(font, nullptr);
    EXPECT_GT(edit->size.x, 0.0f);
    EXPECT_FLOAT_EQ(edit->size.y, font->lineHeight(0.0f));
    EXPECT_FLOAT_EQ(edit->position.x, -edit->size.x / 2);
    EXPECT_FLOAT_EQ(edit->caption->absolutePosition().x, 0.0f);
    EXPECT_TRUE(edit->refuses(u'.'));
    EXPECT_FALSE(edit->refuses(u'a'));
}

TEST_F(UIManagerTest, TheCaretBlinksAfterHalfASecond)
{
    auto* edit = static_cast<UITextEdit*>(load("runtime_ui", "Edit"));
    edit->showForcibly();
    edit->resolveCaption();
    ASSERT_NE(edit->caption, nullptr);
    edit->caption->text = u"AB";
    createQueuedTextures();
    auto caretDrawn = [&] {
        const auto vertices = drawn([&] {
            edit->endRender();
        });
        return !vertices.empty();
    };
    // trunc(phase) odd: hidden for the first half second (the phase grows
    // by 2 a second), then alternating every half second.
    mUI->update(0.1f);
    EXPECT_FLOAT_EQ(edit->caretPhase, 0.2f);
    edit->caretPhase = 0.0f;
    EXPECT_FALSE(caretDrawn());
    edit->caretPhase = 0.99f;
    EXPECT_FALSE(caretDrawn());
    edit->caretPhase = 1.0f;
    EXPECT_TRUE(caretDrawn());
    edit->caretPhase = 2.5f;
    EXPECT_FALSE(caretDrawn());
}

TEST_F(UIManagerTest, LabelsShowKeysAndTheirFonts)
{
    UIWidget* labels = load("runtime_ui", "Labels");
    EXPECT_EQ(find<UILabel>(labels, "keyed")->text, u"Hello there");
    EXPECT_EQ(find<UILabel>(labels, "hash")->text, u"#");
    EXPECT_EQ(find<UILabel>(labels, "missing")->text, u"!ERROR!");
    auto* preset = find<UILabel>(labels, "preset");
    // The preset's font is given back when "font" names another.
    EXPECT_EQ(preset->font, mFonts->getFont("small_font_fnt"));
    mFonts->releaseFont(preset->font);
    EXPECT_EQ(preset->halign, 1u);
    EXPECT_EQ(preset->textColor, Color::fromBytes(255, 230, 150, 255));
    UIFont* title = mFonts->getFont("font2_fnt");
    EXPECT_EQ(title->refCount, 1);
    mFonts->releaseFont(title);

    // The text's alpha follows the transparency, kept within 0..1.
    auto* keyed = find<UILabel>(labels, "keyed");
    keyed->textColor = Color::fromBytes(10, 20, 30, 200);
    createQueuedTextures();
    for (const auto& [transparency, alpha] : {std::pair{0.5f, 100}, std::pair{2.0f, 200}}) {
        keyed->transparency = transparency;
        const auto vertices = drawn([&] { keyed->beginRender(); });
        ASSERT_FALSE(vertices.empty());
        EXPECT_EQ(vertices[0].color.a, alpha) << transparency;
    }
}

TEST_F(UIManagerTest, SpriteColourIsTheSameInEveryFrame)
{
    auto* pic = new UISprite("pic", nullptr, "test_atlas_sprites", "Arrow", "default");
    mUI->addRoot(pic);
    pic->color = Color::fromBytes(128, 128, 128, 255);
    pic->transparency = 0.5f;
    pic->scale = Vector2f(2, 2);
    pic->position = Vector2f(10, 20);
    createQueuedTextures();
    std::vector<Color> colours;
    for (int i = 0; i < 3; ++i) {
        const auto vertices = drawn([&] { pic->beginRender(); });
        ASSERT_EQ(vertices.size(), 4u);
        colours.push_back(vertices[0].color);
        EXPECT_FLOAT_EQ(vertices[0].x, 10.0f);
        EXPECT_FLOAT_EQ(vertices[2].x - vertices[0].x, 128.0f);
    }
    EXPECT_EQ(colours[0], colours[1]);
    EXPECT_EQ(colours[1], colours[2]);
    EXPECT_EQ(colours[0], Color(128.0f / 255.0f, 128.0f / 255.0f, 128.0f / 255.0f, 0.5f));
    EXPECT_EQ(pic->sprite->cornerColor(0), Color(0xFFFFFFFFu));
}

TEST_F(UIManagerTest, RemovingATreeFromItsParentDropsWhatPointsIntoIt)
{
    UIWidget* w = window();
    UIWidget* panel = w->findChild("panel");
    auto state = std::make_unique<UIState>("onSelect");
    state->add(std::make_unique<UIState::PropertyChange<float>>(panel, &panel->transparency, 0.0f, 0.5f));
    state->add(std::make_unique<UIState::PropertyChange<float>>(w, &w->transparency, 0.0f, 1.0f));
    w->addState("onSelect", std::move(state));
    auto* box = find<UICheckBox>(w, "box");
    frame(0, 0, false);  // the box finds its tick
    ASSERT_NE(box->indicator, nullptr);

    EXPECT_EQ(mUI->removeRoot(panel), 1);
    EXPECT_EQ(w->findState("onSelect")->changes.size(), 1u);
    w->setStateForcibly("onSelect");
    mUI->removeRoot(w->findChild("tick"));
    EXPECT_EQ(box->indicator, nullptr);
    frame(0, 0, false);

    auto* edit = static_cast<UITextEdit*>(load("runtime_ui", "Edit"));
    edit->showForcibly();
    type('A', true);
    mUI->removeRoot(edit->caption);
    EXPECT_EQ(edit->caption, nullptr);
    type('B', true);
    mUI->render();
}
