// Building widget trees from UI scripts: classes, "instance", captions,
// states, events, the starting state, and the fatal reports.

#include <gtest/gtest.h>

#include <algorithm>

#include "support/ui_fixture.h"
#include "ui/lex_binded_function.h"
#include "ui/ui_button.h"
#include "ui/ui_label.h"
#include "ui/ui_sprite.h"
#include "ui/ui_text_edit.h"

using namespace TestSupport;
using namespace VQ;

namespace {

class UIBuilderTest : public UITest {
protected:
    void SetUp() override
    {
        UITest::SetUp();
        addLua("shared_ui", R"(
Base = { id = "base", class = "UIWidget", position = { 5, 6 }, modal = 0,
         childs = { { id = "inner", class = "UIWidget" } } }
)");
        addLua("broken_ui", "T = {");
        addLua("builder_ui", R"(
Copy = { id = "copy", class = "UIWidget", instance = "#shared_ui:Base", position = { 50, 60 } }
Buttons = { id = "win", class = "UIWidget", childs = {
    { id = "plain", class = "UIButton", childs = { { id = "face", class = "UIWidget" } }, text = "Go" },
    { id = "first", class = "UIButton", captionOrder = 0, childs = { { id = "face2", class = "UIWidget" } } },
    { id = "none", class = "UIButton", captionOrder = -1 },
    { id = "notLabel", class = "UIButton", childs = { { id = "caption", class = "UIWidget" } } },
} }
Flags = { id = "flags", class = "UIWidget", modal = true, enabled = true, notSelecting = true,
          hotkey = 300, customClientRect = { 1, 2, 3, 4 } }
Disabled = { id = "off", class = "UIWidget", enabled = 0, initialState = "onIdle",
             states = { { id = "onIdle", propertyChanges = { { target = "off", property = "transparency", duration = 0, value = 1 } } },
                        { id = "onDisable", propertyChanges = { { target = "off", property = "transparency", duration = 0, value = 0.5 } } } } }
Shown = { id = "shown", class = "UIWidget", initialState = "onIdle",
          states = { { id = "onIdle", propertyChanges = { { target = "shown", property = "transparency", duration = 1, value = 1 } } } } }
BadStates = { id = "bad", class = "UIWidget", childs = { { id = "pic", class = "UIWidget" } },
              states = { { id = "broken", propertyChanges = { { target = "nobody", property = "transparency" } } },
                         { id = "wrong", propertyChanges = { { target = "pic", property = "scale", value = { 2, 2 } },
                                                            { target = "pic", property = "size" } } } } }
Events = { id = "events", class = "UIWidget", childs = {
    { id = "panel", class = "UIWidget", initialState = "onIdle",
      states = { { id = "onIdle", propertyChanges = { { target = "panel", property = "transparency", duration = 0, value = 1 } } } } },
    { id = "b1", class = "UIButton" }, { id = "b2", class = "UIButton" }, { id = "b3", class = "UIButton" } },
  events = { { element = "b1", slot = "clicked", command = "hide: pa nel" },
             { element = "b2", slot = "clicked", command = "hide :panel" },
             { element = "b3", slot = "pressed", command = "hide:panel" } } }
Related = { id = "main", class = "UIWidget", related = { { filename = "shared_ui", id = "Base" }, { filename = "", id = "Base" } } }
Sprite = { id = "pic", class = "UISprite", imagename = "test_atlas_sprites", tablename = "Arrow", scale = { 2, 2 } }
Empty = { id = "empty", class = "UISprite" }
Loop = { id = "loop", class = "UIWidget", instance = "#builder_ui:Loop" }
Unknown = { id = "u", class = "UIThing" }
NoId = { class = "UIWidget" }
NoClass = { id = "x" }
BadUrl1 = { id = "x", class = "UIWidget", instance = "#shared_ui" }
BadUrl2 = { id = "x", class = "UIWidget", instance = "#:Base" }
BadUrl3 = { id = "x", class = "UIWidget", instance = "#shared_ui:" }
Deep = { id = "d", class = "UIWidget", childs = { { id = "c", class = "UIThing" } } }
)");
        startUI();
    }
};

}  // namespace

TEST_F(UIBuilderTest, InstanceCopiesTheTableUnderItsOwnNameWithItsKeysOnTop)
{
    UIWidget* copy = load("builder_ui", "Copy");
    EXPECT_EQ(copy->name, "copy");
    EXPECT_EQ(copy->position, Vector2f(50, 60));
    EXPECT_FALSE(copy->modal);  // from the shared table
    ASSERT_EQ(copy->children.size(), 1u);
    EXPECT_EQ(copy->children[0]->name, "inner");
    EXPECT_EQ(mUI->roots(), std::vector<UIWidget*>{copy});
    // Built into a parent, it is the parent's child and no root.
    UIWidget* inside = load("builder_ui", "Copy", copy);
    EXPECT_EQ(inside->parent, copy);
    EXPECT_EQ(mUI->roots().size(), 1u);
}

TEST_F(UIBuilderTest, CaptionsTakeTheirPlaceSizeAndKeys)
{
    UIWidget* win = load("builder_ui", "Buttons");
    UIWidget* plain = win->findChild("plain");
    ASSERT_EQ(plain->children.size(), 2u);
    auto* caption = dynamic_cast<UILabel*>(plain->children[1]);
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->name, "caption");
    EXPECT_EQ(caption->text, u"Go");
    EXPECT_EQ(caption->halign, 1u);
    EXPECT_EQ(caption->valign, 1u);
    EXPECT_NE(caption->findState("onIdle"), nullptr);

    UIWidget* first = win->findChild("first");
    EXPECT_EQ(first->children[0]->name, "caption");
    EXPECT_TRUE(win->findChild("none")->children.empty());

    // A "caption" that is no label is not used, and the widget is named.
    UIWidget* notLabel = win->findChild("notLabel");
    EXPECT_EQ(notLabel->children.size(), 1u);
    EXPECT_EQ(countLogLines("ERROR: UIManager::createWidget caption of widget 'notLabel' is not a label"), 1);
}

TEST_F(UIBuilderTest, FlagsKeepTheirFieldWhenMissingOrBoolean)
{
    UIWidget* flags = load("builder_ui", "Flags");
    EXPECT_TRUE(flags->modal);
    EXPECT_TRUE(flags->enabled);
    EXPECT_FALSE(flags->notSelecting);  // a Lua boolean reads as absent
    EXPECT_EQ(flags->hotkey, 300 & 0xFF);
    EXPECT_TRUE(flags->customRectEnabled);
    EXPECT_EQ(flags->customRect, Rect(1, 2, 3, 4));
    EXPECT_EQ(flags->tabOrder, -1);
}

TEST_F(UIBuilderTest, StartingStates)
{
    // "enabled" 0: "onDisable", whatever "initialState" says.
    UIWidget* off = load("builder_ui", "Disabled");
    EXPECT_FALSE(off->enabled);
    EXPECT_EQ(off->currentState->name, "onDisable");
    EXPECT_FLOAT_EQ(off->transparency, 0.5f);
    // Without "initialState" the tree ends hidden.
    UIWidget* copy = load("builder_ui", "Copy");
    EXPECT_FALSE(copy->shown);
    EXPECT_FLOAT_EQ(copy->transparency, 0.0f);
    EXPECT_FLOAT_EQ(copy->children[0]->transparency, 0.0f);
    EXPECT_FALSE(copy->children[0]->shown);
    // An initial state is applied forcibly: its end value at once.
    UIWidget* shown = load("builder_ui", "Shown");
    EXPECT_TRUE(shown->shown);
    EXPECT_FLOAT_EQ(shown->transparency, 1.0f);
    EXPECT_EQ(mUI->topmostVisibleRoot(), shown);
}

TEST_F(UIBuilderTest, BadStateEntriesAreLoggedAndSkipped)
{
    UIWidget* bad = load("builder_ui", "BadStates");
    EXPECT_EQ(bad->findState("broken"), nullptr);
    EXPECT_EQ(bad->findState("wrong"), nullptr);
    EXPECT_NE(bad->findState("onHide"), nullptr);
    EXPECT_EQ(countLogLines("ERROR: UIManager::createState bad target widget specified 'nobody', widget 'bad'"), 1);
    EXPECT_EQ(countLogLines("ERROR: UIManager::createState bad property change specified 'scale', widget 'bad'"), 1);
    EXPECT_EQ(countLogLines("ERROR: UIManager::createState bad property change specified 'size', widget 'bad'"), 1);
}

TEST(UICommand, SplitsTheNameFromTheArgumentsAndDropsSpacesFromTheArguments)
{
    struct Case {
        const char* command;
        const char* function;
        std::vector<std::string> arguments;
    };
    const Case cases[] = {
        {"show", "show", {}},
        {"show:window", "show", {"window"}},
        {"hide: my window ", "hide", {"mywindow"}},
        {"hide :window", "hide ", {"window"}},
        {"f:a,,b, ,c:d", "f", {"a", "b", "c:d"}},
        {":a", "", {"a"}},
    };
    for (const Case& c : cases) {
        std::string function;
        std::vector<std::string> arguments{"stale"};
        splitCommand(c.command, function, arguments);
        EXPECT_EQ(function, c.function) << c.command;
        EXPECT_EQ(arguments, c.arguments) << c.command;
    }
}

TEST_F(UIBuilderTest, EventsConnectScriptCommandsThatRunAfterTheDispatch)
{
    UIWidget* events = load("builder_ui", "Events");
    events->showForcibly();
    UIWidget* panel = events->findChild("panel");
    auto* b2 = find<UIButton>(events, "b2");
    auto* b3 = find<UIButton>(events, "b3");
    // A space before the ":" finds no function; an unknown slot is refused.
    EXPECT_TRUE(b2->clickedCallbacks.empty());
    EXPECT_TRUE(b3->clickedCallbacks.empty());
    auto* b1 = find<UIButton>(events, "b1");
    ASSERT_EQ(b1->clickedCallbacks.size(), 1u);
    EXPECT_TRUE(panel->shown);
    // "pa nel" reaches "hide" as "panel"; the click queues, the command
    // runs once the signals run.
    b1->processMessage(UIEvent::CLICK);
    EXPECT_TRUE(panel->shown);
    mUI->runPendingSignals();
    EXPECT_FALSE(panel->shown);
}

TEST_F(UIBuilderTest, RelatedTablesBecomeRootsFirst)
{
    UIWidget* main = load("builder_ui", "Related");
    ASSERT_EQ(mUI->roots().size(), 2u);
    EXPECT_EQ(mUI->roots()[0]->name, "base");
    EXPECT_EQ(mUI->roots()[1], main);
}

TEST_F(UIBuilderTest, SpritesTakeTheirSpriteSizeAndScale)
{
    auto* pic = dynamic_cast<UISprite*>(load("builder_ui", "Sprite"));
    ASSERT_NE(pic, nullptr);
    ASSERT_NE(pic->sprite, nullptr);
    EXPECT_EQ(pic->size, Vector2f(64, 64));
    EXPECT_EQ(pic->getSize(), Vector2f(128, 128));
    pic->position = Vector2f(10, 10);
    EXPECT_TRUE(pic->hitTest(Vector2f(130, 130)));
    EXPECT_FALSE(pic->hitTest(Vector2f(140, 140)));

    auto* empty = dynamic_cast<UISprite*>(load("builder_ui", "Empty"));
    EXPECT_EQ(empty->sprite, nullptr);
    EXPECT_EQ(empty->getSize(), Vector2f(0, 0));
}

TEST_F(UIBuilderTest, FatalReportsNameTheirCause)
{
    struct Case {
        const char* script;
        const char* table;
        const char* description;
        int line;
    };
    const Case cases[] = {
        {"missing_ui", "T", "Failed to load ui script missing_ui", 118},
        {"broken_ui", "T", "Failed to load ui script broken_ui", 118},
        {"builder_ui", "Nothing", "Failed to load UI table Nothing from builder_ui", 120},
        {"builder_ui", "NoId", "Failed to read UI identity", 167},
        {"builder_ui", "NoClass", "Failed to read UI class name", 168},
        {"builder_ui", "Unknown", "Unknown UI class name UIThing", 168},
        {"builder_ui", "Deep", "Unknown UI class name UIThing", 168},
        {"builder_ui", "BadUrl1", "Bad url specified in UI", 181},
        {"builder_ui", "BadUrl2", "Bad url specified in UI", 180},
        {"builder_ui", "BadUrl3", "Bad url specified in UI", 181},
        {"builder_ui", "Loop", "UI tables nest deeper than 64 levels in builder_ui", 166},
    };
    for (const Case& c : cases) {
        const FatalReport report = catchFatal([&] { load(c.script, c.table); });
        EXPECT_EQ(report.name, "VQ") << c.table;
        EXPECT_EQ(report.description, c.description) << c.table;
        EXPECT_EQ(report.file, "ui_manager") << c.table;
        EXPECT_EQ(report.line, c.line) << c.table;
    }
    // Nothing half built was kept.
    EXPECT_TRUE(mUI->roots().empty());
    // Lua's own words on the broken script are in the log.
    const std::vector<std::string> lines = logLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "ERROR: ui script broken_ui: [string \"broken_ui\"]:1: unexpected symbol near '<eof>'"),
              lines.end());
}
