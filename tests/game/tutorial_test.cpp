// The tutorial: sequences and the registry (hand-on of an event, positions
// saved and restored, reset, the board's cell check), the hint window's
// blackouts as the device receives them, and the lesson kinds over a game
// of the test's own.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game_event.h"
#include "game_state_manager.h"
#include "player_profile.h"
#include "animationeditor/vector_stream.h"
#include "chip.h"
#include "support/ui_scene_fixture.h"
#include "tutorial/tutorial_lessons.h"
#include "tutorial/tutorial_registry.h"
#include "tutorial/tutorial_window.h"

using namespace TestSupport;
using namespace TestSupport::SceneXml;

namespace {

// Records the events it sees; finishes on the event type it is told.
class ProbeLesson : public TutorialLesson {
public:
    explicit ProbeLesson(int finishOn = -1, bool allowsCells = true) :
        TutorialLesson(nullptr), finishOn(finishOn), allowsCells(allowsCells)
    {
    }
    void onEvent(GameEvent* event) override
    {
        seen.push_back(event->type);
        if (event->type == finishOn)
            setState(DONE);
    }
    bool isCellAllowed(const int cell[2]) const override
    {
        (void)cell;
        return allowsCells;
    }
    void reset() override { ++resets; }

    int finishOn;
    bool allowsCells;
    std::vector<int> seen;
    int resets = 0;
};

std::unique_ptr<TutorialSequence> sequenceOf(const std::string& name, std::vector<ProbeLesson*> lessons)
{
    std::vector<std::unique_ptr<TutorialLesson>> owned;
    for (ProbeLesson* lesson : lessons)
        owned.emplace_back(lesson);
    return std::make_unique<TutorialSequence>(name, std::move(owned));
}

class TutorialRegistryTest : public ::testing::Test {
protected:
    void TearDown() override { TutorialRegistry::destroy(); }
    TutorialRegistry& registry() { return *TutorialRegistry::instance(); }
    TutorialSequence* add(std::unique_ptr<TutorialSequence> sequence)
    {
        TutorialSequence* raw = sequence.release();
        registry().add(raw);
        return raw;
    }
    std::vector<uint8_t> saved()
    {
        std::vector<uint8_t> bytes;
        AE::VectorStream stream(bytes);
        registry().save(stream);
        return bytes;
    }
    void load(std::vector<uint8_t> bytes)
    {
        AE::VectorStream stream(bytes);
        registry().load(stream);
    }
};

TEST_F(TutorialRegistryTest, AFinishingLessonHandsTheSameEventToTheNextAndAnEmptySequenceIsOver)
{
    auto* first = new ProbeLesson(GameEvent::BEGIN_LEVEL);
    auto* second = new ProbeLesson();
    TutorialSequence* sequence = add(sequenceOf("a_lua", {first, second}));
    TutorialSequence* empty = add(sequenceOf("b_lua", {}));
    EXPECT_TRUE(empty->isOver());

    EXPECT_TRUE(registry().dispatchEvent(new BeginLevelGameEvent("level_1_lua")));
    EXPECT_EQ(first->seen, std::vector<int>{GameEvent::BEGIN_LEVEL});
    EXPECT_EQ(second->seen, std::vector<int>{GameEvent::BEGIN_LEVEL});
    EXPECT_EQ(sequence->index, 1);
    EXPECT_EQ(sequence->current, second);
    EXPECT_TRUE(registry().dispatchEvent(nullptr));
    EXPECT_EQ(empty->index, 0);
}

TEST_F(TutorialRegistryTest, ACellIsRefusedWhenAnySequenceRefusesItAndALessonIsActiveWhileOneRuns)
{
    auto* allowing = new ProbeLesson(-1, true);
    auto* refusing = new ProbeLesson(-1, false);
    add(sequenceOf("a_lua", {allowing}));
    add(sequenceOf("b_lua", {refusing}));
    const int cell[2] = {3, 4};
    EXPECT_FALSE(registry().isCellAllowed(cell));
    refusing->allowsCells = true;
    EXPECT_TRUE(registry().isCellAllowed(cell));

    EXPECT_FALSE(registry().isLessonActive());
    refusing->state = TutorialLesson::ACTIVE;
    EXPECT_TRUE(registry().isLessonActive());
}

TEST_F(TutorialRegistryTest, TheSectionHoldsEachNameAndItsIndexInListOrder)
{
    add(sequenceOf("zz_lua", {new ProbeLesson(), new ProbeLesson()}))->index = 2;
    add(sequenceOf("aa_lua", {new ProbeLesson()}));
    const std::vector<uint8_t> expected = {2, 0, 0, 0, 'z', 'z', '_', 'l', 'u', 'a', 0, 4, 0, 0, 0, 2, 0, 0, 0,
                                           'a', 'a', '_', 'l', 'u', 'a', 0, 4, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(saved(), expected);
}

// One sequence of five lessons at index 1, then a section read over it.
struct LoadCase {
    const char* what;
    std::vector<uint8_t> section;
    int index;       // afterwards
    int current;     // index of the current lesson, -1 for none
};

std::vector<uint8_t> entry(const std::string& name, std::vector<uint8_t> blob)
{
    std::vector<uint8_t> out(name.begin(), name.end());
    out.push_back(0);
    const uint32_t length = static_cast<uint32_t>(blob.size());
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(length >> (8 * i)));
    out.insert(out.end(), blob.begin(), blob.end());
    return out;
}

std::vector<uint8_t> section(std::vector<std::vector<uint8_t>> entries, uint32_t count)
{
    std::vector<uint8_t> out = {uint8_t(count), 0, 0, 0};
    for (const auto& e : entries)
        out.insert(out.end(), e.begin(), e.end());
    return out;
}

TEST_F(TutorialRegistryTest, LoadRestoresPositionsAndKeepsThemWhenAnEntryCannotSay)
{
    const std::vector<LoadCase> cases = {
        {"index 2 of 5", section({entry("s_lua", {2, 0, 0, 0})}, 1), 2, 2},
        {"past the end", section({entry("s_lua", {5, 0, 0, 0})}, 1), 5, -1},
        {"below 0", section({entry("s_lua", {0xff, 0xff, 0xff, 0xff})}, 1), -1, -1},
        {"a later duplicate wins", section({entry("s_lua", {3, 0, 0, 0}), entry("s_lua", {4, 0, 0, 0})}, 2), 4, 4},
        {"another sequence's entry", section({entry("other_lua", {3, 0, 0, 0})}, 1), 1, 1},
        {"a 3-byte blob", section({entry("s_lua", {3, 0, 0})}, 1), 1, 1},
        {"no section", {}, 1, 1},
        {"broken off after a whole entry", section({entry("s_lua", {3, 0, 0, 0}), {'x', 'y'}}, 2), 3, 3},
        {"a count the bytes cannot hold", section({entry("s_lua", {3, 0, 0, 0})}, 200), 1, 1},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.what);
        TutorialRegistry::destroy();
        std::vector<ProbeLesson*> lessons;
        for (int i = 0; i < 5; ++i)
            lessons.push_back(new ProbeLesson());
        TutorialSequence* sequence = add(sequenceOf("s_lua", lessons));
        sequence->index = 1;
        sequence->current = lessons[1];
        lessons[1]->state = TutorialLesson::DONE;
        load(c.section);
        EXPECT_EQ(sequence->index, c.index);
        EXPECT_EQ(sequence->current, c.current < 0 ? nullptr : lessons[static_cast<size_t>(c.current)]);
    }
}

TEST_F(TutorialRegistryTest, ResetSendsEverySequenceBackToItsFirstLessonIdle)
{
    auto* first = new ProbeLesson(GameEvent::BEGIN_LEVEL);
    auto* second = new ProbeLesson(GameEvent::BEGIN_LEVEL);
    TutorialSequence* sequence = add(sequenceOf("a_lua", {first, second}));
    registry().dispatchEvent(new BeginLevelGameEvent("x"));
    ASSERT_TRUE(sequence->isOver());
    registry().reset();
    EXPECT_EQ(sequence->index, 0);
    EXPECT_EQ(sequence->current, first);
    EXPECT_EQ(first->state, TutorialLesson::IDLE);
    EXPECT_EQ(second->state, TutorialLesson::IDLE);
    EXPECT_EQ(first->resets + second->resets, 2);
    registry().dispatchEvent(new BeginLevelGameEvent("x"));
    EXPECT_EQ(first->seen.size(), 2u);
}

// --- The window, the blackouts and the lessons ---

class FakeGame : public TutorialGame {
public:
    bool levelLoaded() const override { return loaded; }
    int levelBusyCount() const override { return busy; }
    bool levelCompleted() const override { return completed; }
    std::string levelScript() const override { return script; }
    void setLevelUiEnabled(bool on) override { uiEnabled = on; }
    VQ::Vector2f boardOrigin() const override { return {100.0f, 50.0f}; }
    float cellSize() const override { return 80.0f; }
    VQ::Vector2f anchor(const std::string&) const override { return {40.0f, 30.0f}; }
    VQ::Vector2f bonusButtonCenter(int) const override { return {300.0f, 400.0f}; }
    void showFreeBonusWindow(int kind) override { offers.push_back(kind); }
    void activateBonus(int kind) override { fired.push_back(kind); }
    bool boosterSlot(PlayLevelWindow*, int, VQ::Vector2f& position, VQ::Vector2f& size) const override
    {
        position = {200.0f, 300.0f};
        size = {100.0f, 60.0f};
        return true;
    }
    PlayerProfile* profile() const override { return &player; }
    void setSilver(int value) override { player.silver = value; }
    void saveProfile() override { ++saves; }
    bool isPortrait() const override { return portrait; }

    bool loaded = true;
    bool portrait = false;
    int busy = 0;
    bool completed = false;
    std::string script = "level_1_lua";
    bool uiEnabled = true;
    std::vector<int> offers, fired;
    mutable PlayerProfile player;
    int saves = 0;
};

class TutorialWindowTest : public UISceneTest {
protected:
    void SetUp() override
    {
        UISceneTest::SetUp();
        std::string scene = group("bubble", 0, 0, frames({{0, 0, 0, 0}, {8, 0, 0, 1}}) +
                                                      children(text("#text", 0, 0) + group("#aura", 0, 0)));
        scene += markers(marker("show", {{"bubble", 0, 8}}) + marker("hide", {{"bubble", 8, 0}}) +
                         marker("center") + marker("show_arrow") + marker("hide_arrow") + marker("show_button") +
                         marker("hide_button") + marker("90") + marker("onIdle") + marker("onHide"));
        addScene("tutorial_window_xml", scene);
        addLua("tutorial_window_ui",
               "TutorialWindow = { id = 'TutorialWindow', class = 'UIWidget', childs = {\n"
               "  { id = 'gui', class = 'UISceneNode', scene = 'tutorial_window_xml', childs = {\n"
               "    { id = 'btnClose', class = 'UIButton', customClientRect = { 0, 0, 40, 40 } } } } } }\n");
        addImage("mask_png", 200, 100, [](uint32_t, uint32_t) { return 0xff000000u; });
        addLua("mask_sprites", "Mask = { Image0 = 'mask_png', Package0 = 'default', SrcRect0 = { 0, 0, 200, 100 } }\n");
        for (const auto& [name, text] : lessonScripts())
            addLua(name, text);
        startSceneUI();
        mStates = std::make_unique<GameStateManager>(nullptr);
        TutorialGame::install(&mGame);
    }
    void TearDown() override
    {
        TutorialRegistry::destroy();
        TutorialGame::install(nullptr);
        mStates.reset();
        UISceneTest::TearDown();
    }
    static std::vector<std::pair<std::string, std::string>> lessonScripts()
    {
        return {
            {"broken_lua", "lessons = { { class = 'InfoLesson'\n"},
            {"chips_lua", "lessons = { { class = 'DestroyChipLesson', data = { level = 'level_1_lua', text = 'T',\n"
                          "  chips = { { x = 2, y = 5 }, { x = 3, y = 5 } }, maskFile = 'mask_sprites',\n"
                          "  maskTable = 'Mask', padding = { 4, 4 }, offset = { '10', 0 } } } }\n"},
            {"unmasked_lua", "lessons = { { class = 'DestroyChipLesson', data = { level = 'level_1_lua',\n"
                             "  chips = { { x = 1, y = 1 } } } } }\n"},
            {"nochips_lua", "lessons = { { class = 'DestroyChipLesson', data = { level = 'level_1_lua' } },\n"
                            "  { class = 'Unknown', data = {} }, { class = 'InfoLesson', data = { level = 'x' } } }\n"},
            {"info_lua", "lessons = { { class = 'InfoLesson', data = { level = 'level_1_lua', isCell = true,\n"
                         "  targetH = { 3, 4 }, targetV = { 1, 1 }, maskFile = 'mask_sprites', maskTable = 'Mask' } },\n"
                         "  { class = 'InfoLesson', data = { level = 'level_1_lua' } } }\n"},
            {"zeus_lua", "lessons = { { class = 'BonusLesson', data = { bonusType = 'light', level = 'level_1_lua',\n"
                         "  text1 = 'A', text2 = 'B' } } }\n"},
            {"oddbonus_lua", "lessons = { { class = 'BonusLesson', data = { bonusType = 'lightning' } },\n"
                             "  { class = 'PassiveBonusLesson', data = { bonus = 'shield' } } }\n"},
            {"booster_lua", "lessons = { { class = 'PassiveBonusLesson', data = { bonus = 'moves',\n"
                            "  maskFile = 'mask_sprites', maskTable = 'Mask' } } }\n"},
            {"multi_lua", "lessons = { { class = 'MultiLesson', data = {\n"
                          "  { class = 'DestroyChipLesson', data = { level = 'level_1_lua', chips = { { x = 0, y = 0 } } } },\n"
                          "  { class = 'PassiveBonusLesson', data = { bonus = 'moves' } },\n"
                          "  { class = 'InfoLesson', data = { level = 'level_1_lua' } } } },\n"
                          "  { class = 'MultiLesson', data = {} } }\n"},
        };
    }
    TutorialSequence* sequence(const std::string& script)
    {
        auto* made = new TutorialSequence(script);
        TutorialRegistry::instance()->add(made);
        return made;
    }
    void dispatch(GameEvent* event) { TutorialRegistry::instance()->dispatchEvent(event); }
    void beginLevel(const std::string& script = "level_1_lua") { dispatch(new BeginLevelGameEvent(script)); }
    void destroyChip(int column, int row)
    {
        Chip chip;
        chip.x = static_cast<float>(column);
        chip.y = static_cast<float>(row);
        dispatch(new DestroyChipGameEvent(ChipSnapshot(chip)));
    }
    // The window's hide animation ends.
    static void hidden(TutorialWindow* window) { window->onMarkerFinished(window->hideMarker); }
    static bool allowed(const TutorialSequence& s, int column, int row)
    {
        const int cell[2] = {column, row};
        return !s.current || s.current->isCellAllowed(cell);
    }

    FakeGame mGame;
    std::unique_ptr<GameStateManager> mStates;
};

// A lesson script that is there but does not run says why; only a missing
// one is "not found".
TEST_F(TutorialWindowTest, ABrokenLessonScriptReportsLuasErrorAndAMissingOneIsNotFound)
{
    VQ::FatalReport report = catchFatal([] { TutorialSequence broken("broken_lua"); });
    EXPECT_EQ(report.description.rfind("Failed to load lesson script broken_lua: [string \"broken_lua\"]:2:", 0), 0u)
        << report.description;
    report = catchFatal([] { TutorialSequence missing("absent_lua"); });
    EXPECT_EQ(report.description, "absent_lua file not found!");
}

TEST_F(TutorialWindowTest, TheMaskCoversTheScreenInNineQuadsAboutItsPlace)
{
    MaskBlackout mask("mask_sprites", "Mask");
    mask.setOffsets({-100.0f, -50.0f}, {0.0f, 0.0f});
    mask.setOrigin({500.0f, 300.0f});
    createQueuedTextures();
    const std::vector<DrawnVertex> vertices = drawn([&] { mask.render(); });
    ASSERT_FALSE(vertices.empty());
    const VQ::Vector2f screen = mStates->getSceneSize();
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    std::vector<float> xs, ys;
    for (const DrawnVertex& v : vertices) {
        minX = std::min(minX, v.x), maxX = std::max(maxX, v.x);
        minY = std::min(minY, v.y), maxY = std::max(maxY, v.y);
        xs.push_back(v.x), ys.push_back(v.y);
        EXPECT_EQ(v.color.a, 127);
        EXPECT_EQ(v.color.r, 255);
    }
    EXPECT_EQ(minX, 0.0f);
    EXPECT_EQ(minY, 0.0f);
    EXPECT_EQ(maxX, screen.x);
    EXPECT_EQ(maxY, screen.y);
    // The middle quad's edges are column and row edges of the grid.
    for (float edge : {400.0f, 600.0f})
        EXPECT_NE(std::find(xs.begin(), xs.end(), edge), xs.end()) << edge;
    for (float edge : {250.0f, 350.0f})
        EXPECT_NE(std::find(ys.begin(), ys.end(), edge), ys.end()) << edge;
    EXPECT_EQ(mask.renderData->vertexCount(), 36u);
}

TEST_F(TutorialWindowTest, TheSolidBlackoutIsHalfBlackOverTheSceneWhateverItsOrigin)
{
    SolidBlackout solid;
    solid.setOrigin({123.0f, 456.0f});
    const std::vector<DrawnVertex> vertices = drawn([&] { solid.render(); });
    ASSERT_FALSE(vertices.empty());
    const VQ::Vector2f screen = mStates->getSceneSize();
    float maxX = 0.0f, maxY = 0.0f;
    for (const DrawnVertex& v : vertices) {
        maxX = std::max(maxX, v.x), maxY = std::max(maxY, v.y);
        EXPECT_EQ(v.color.r + v.color.g + v.color.b, 0);
        EXPECT_EQ(v.color.a, 127);
    }
    EXPECT_EQ(maxX, screen.x);
    EXPECT_EQ(maxY, screen.y);
}

TEST_F(TutorialWindowTest, ADestroyChipLessonAllowsOnlyItsChipsAndEndsWhenOneGoes)
{
    TutorialSequence* s = sequence("chips_lua");
    auto* lesson = static_cast<DestroyChipTutorialLesson*>(s->current);
    beginLevel("level_2_lua");
    EXPECT_EQ(lesson->state, TutorialLesson::IDLE);
    beginLevel();
    ASSERT_EQ(lesson->state, TutorialLesson::ACTIVE);
    ASSERT_NE(lesson->window, nullptr);
    EXPECT_FALSE(mGame.uiEnabled);
    // The arrow at the first chip's centre, the mask at the smallest cell's
    // corner, shifted and padded.
    EXPECT_EQ(lesson->window->arrowPoint.x, 100.0f + 80.0f * 2.5f);
    EXPECT_EQ(lesson->window->arrowPoint.y, 50.0f + 80.0f * 5.5f);
    auto* mask = static_cast<MaskBlackout*>(lesson->window->blackoutRenderer->blackout);
    EXPECT_EQ(mask->origin.x, 100.0f + 160.0f);
    EXPECT_EQ(mask->offsets[0].x, 10.0f);
    EXPECT_EQ(mask->maskPadding.y, 4.0f);

    EXPECT_TRUE(allowed(*s, 2, 5));
    EXPECT_TRUE(allowed(*s, 3, 5));
    EXPECT_FALSE(allowed(*s, 4, 5));
    EXPECT_TRUE(TutorialRegistry::instance()->isLessonActive());

    destroyChip(7, 7);
    EXPECT_EQ(lesson->state, TutorialLesson::ACTIVE);
    destroyChip(3, 5);
    EXPECT_TRUE(mGame.uiEnabled);
    hidden(lesson->window);
    EXPECT_EQ(lesson->window, nullptr);
    EXPECT_TRUE(s->isOver());
}

TEST_F(TutorialWindowTest, ADestroyChipLessonWithoutAMaskRefusesCellsAndWithoutChipsEndsAtOnce)
{
    TutorialSequence* unmasked = sequence("unmasked_lua");
    TutorialSequence* noChips = sequence("nochips_lua");
    auto* lesson = static_cast<DestroyChipTutorialLesson*>(unmasked->current);
    beginLevel();
    ASSERT_NE(lesson->window, nullptr);
    EXPECT_FALSE(lesson->window->isShown());
    EXPECT_FALSE(allowed(*unmasked, 0, 0));
    destroyChip(1, 1);
    hidden(lesson->window);
    EXPECT_TRUE(unmasked->isOver());

    // The unknown class is skipped; the empty lesson handed over at once.
    EXPECT_EQ(noChips->lessons.size(), 2u);
    EXPECT_EQ(noChips->index, 1);
    EXPECT_TRUE(allowed(*noChips, 5, 5));
}

TEST_F(TutorialWindowTest, AnInfoLessonPointsAtACellOrShowsACentredWindowOverASolidLayer)
{
    TutorialSequence* s = sequence("info_lua");
    auto* first = static_cast<InfoTutorialLesson*>(s->current);
    beginLevel();
    ASSERT_NE(first->window, nullptr);
    EXPECT_TRUE(first->window->hasArrow);
    EXPECT_EQ(first->window->arrowPoint.x, 100.0f + 80.0f * 3.5f);
    EXPECT_EQ(first->window->arrowPoint.y, 50.0f + 80.0f * 4.5f);
    EXPECT_NE(dynamic_cast<MaskBlackout*>(first->window->blackoutRenderer->blackout), nullptr);
    EXPECT_FALSE(allowed(*s, 0, 0));

    // The second shows as soon as the first ends, the level being loaded.
    hidden(first->window);
    auto* second = static_cast<InfoTutorialLesson*>(s->current);
    ASSERT_NE(second, first);
    ASSERT_NE(second->window, nullptr);
    EXPECT_FALSE(second->window->hasArrow);
    EXPECT_NE(dynamic_cast<SolidBlackout*>(second->window->blackoutRenderer->blackout), nullptr);
    const VQ::Vector2f screen = mStates->getSceneSize();
    EXPECT_EQ(second->window->root->position.x, screen.x / 2.0f);
    EXPECT_EQ(second->window->root->position.y, screen.y / 2.0f);
}

TEST_F(TutorialWindowTest, ATurnedScreenMovesTheHintToThePortraitTarget)
{
    TutorialSequence* s = sequence("info_lua");
    auto* lesson = static_cast<InfoTutorialLesson*>(s->current);
    beginLevel();
    ASSERT_NE(lesson->window, nullptr);
    mGame.portrait = true;
    mStates->portrait = true;
    dispatch(new GameEvent(GameEvent::ORIENTATION_CHANGED));
    EXPECT_EQ(lesson->window->arrowPoint.x, 100.0f + 80.0f * 1.5f);
    EXPECT_EQ(lesson->window->root->position.y, 50.0f + 80.0f * 1.5f);
}

TEST_F(TutorialWindowTest, ABonusLessonGivesItsCoinsOnceOffersTheBonusAndFiresIt)
{
    mGame.player.unlockedBonuses = {1};
    const int silver = mGame.player.silver;
    TutorialSequence* s = sequence("zeus_lua");
    auto* lesson = static_cast<BonusTutorialLesson*>(s->current);
    beginLevel();
    ASSERT_NE(lesson->window, nullptr);
    EXPECT_EQ(lesson->window->arrowPoint.x, 300.0f);
    EXPECT_FALSE(allowed(*s, 0, 0));
    dispatch(new BonusEvent(1, BonusEvent::PRESSED_WITHOUT_BONUS));
    hidden(lesson->window);
    EXPECT_EQ(mGame.player.silver, silver + 200);
    EXPECT_TRUE(mGame.player.hasFlag("MoneyHasBeenIssued:zeus"));
    EXPECT_EQ(mGame.offers, std::vector<int>{1});
    EXPECT_EQ(lesson->step, 1);

    dispatch(new BonusEvent(1, BonusEvent::BOUGHT));
    ASSERT_NE(lesson->window, nullptr);
    EXPECT_EQ(mGame.player.bonusPurchases[1].count, 1);
    dispatch(new BonusEvent(1, BonusEvent::PRESSED_WITH_BONUS));
    hidden(lesson->window);
    EXPECT_EQ(mGame.fired, std::vector<int>{1});
    EXPECT_TRUE(s->isOver());

    // Played again, the lesson finds the flag and gives nothing.
    TutorialRegistry::instance()->reset();
    beginLevel();
    EXPECT_EQ(lesson->window, nullptr);
    EXPECT_TRUE(s->isOver());
    EXPECT_EQ(mGame.player.silver, silver + 200);
}

TEST_F(TutorialWindowTest, LessonsThatAreNotNeededEndWhenTheyWouldStart)
{
    mGame.player.unlockedBonuses = {1};
    mGame.completed = true;
    TutorialSequence* bonus = sequence("zeus_lua");
    beginLevel();
    EXPECT_TRUE(bonus->isOver());

    // Kinds the tutorial does not know end at their trigger, so the later
    // positions keep their meaning.
    TutorialSequence* odd = sequence("oddbonus_lua");
    beginLevel();
    EXPECT_EQ(odd->index, 1);
    dispatch(new PlayLevelWindowGameEvent(nullptr));
    EXPECT_TRUE(odd->isOver());

    mGame.player.unlockedPassiveBonuses = {1};
    mGame.player.newPassiveBonus = 0;
    TutorialSequence* booster = sequence("booster_lua");
    dispatch(new PlayLevelWindowGameEvent(nullptr));
    EXPECT_TRUE(booster->isOver());
}

TEST_F(TutorialWindowTest, APassiveBonusLessonPointsAtItsSlotAndClearsTheNewMark)
{
    mGame.player.unlockedPassiveBonuses = {1};
    mGame.player.newPassiveBonus = 1;
    TutorialSequence* s = sequence("booster_lua");
    auto* lesson = static_cast<PassiveBonusTutorialLesson*>(s->current);
    dispatch(new PlayLevelWindowGameEvent(nullptr));
    ASSERT_NE(lesson->window, nullptr);
    EXPECT_EQ(lesson->window->arrowPoint.x, 200.0f - 5.0f + 50.0f);
    EXPECT_EQ(lesson->window->arrowPoint.y, 300.0f + 30.0f);
    auto* mask = static_cast<MaskBlackout*>(lesson->window->blackoutRenderer->blackout);
    EXPECT_EQ(mask->offsets[0].x, -100.0f);
    EXPECT_EQ(mask->offsets[1].y, -50.0f);
    hidden(lesson->window);
    EXPECT_EQ(mGame.player.newPassiveBonus, 0);
    EXPECT_TRUE(s->isOver());
}

TEST_F(TutorialWindowTest, AMultiLessonKeepsAnEventForItsCurrentSubLessonAndPlaysThemInOrder)
{
    TutorialSequence* s = sequence("multi_lua");
    auto* multi = static_cast<MultiTutorialLesson*>(s->current);
    // The booster lesson is not accepted inside.
    ASSERT_EQ(multi->lessons.size(), 2u);
    beginLevel();
    EXPECT_EQ(multi->state, TutorialLesson::ACTIVE);
    EXPECT_FALSE(allowed(*s, 1, 0));
    mGame.loaded = false;
    destroyChip(0, 0);
    hidden(static_cast<DestroyChipTutorialLesson*>(multi->lessons[0].get())->window);
    auto* info = static_cast<InfoTutorialLesson*>(multi->lessons[1].get());
    EXPECT_EQ(multi->index, 1);
    EXPECT_EQ(info->state, TutorialLesson::IDLE);

    // A level beginning now reaches only the current sub-lesson.
    mGame.loaded = true;
    beginLevel();
    ASSERT_NE(info->window, nullptr);
    EXPECT_EQ(multi->state, TutorialLesson::ACTIVE);
    hidden(info->window);
    EXPECT_EQ(multi->state, TutorialLesson::DONE);
    // The empty multi-lesson after it ends as soon as it becomes current.
    EXPECT_TRUE(s->isOver());
}

TEST_F(TutorialWindowTest, AMultiLessonWhoseNextHintShowsOnBecomingCurrentHoldsTheGame)
{
    TutorialSequence* s = sequence("multi_lua");
    auto* multi = static_cast<MultiTutorialLesson*>(s->current);
    beginLevel();
    destroyChip(0, 0);
    hidden(static_cast<DestroyChipTutorialLesson*>(multi->lessons[0].get())->window);
    auto* info = static_cast<InfoTutorialLesson*>(multi->lessons[1].get());
    ASSERT_NE(info->window, nullptr) << "shown at once, the level being loaded";
    EXPECT_EQ(multi->state, TutorialLesson::ACTIVE);
    EXPECT_TRUE(TutorialRegistry::instance()->isLessonActive());
}

}  // namespace
