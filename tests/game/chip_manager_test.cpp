#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "chip.h"
#include "chip_manager.h"
#include "chip_selector.h"
#include "drawable.h"
#include "object_factory.h"
#include "particle_system.h"
#include "xml_cached_files_manager.h"
#include "sprite.h"
#include "sprite_manager.h"
#include "texture_manager.h"
#include "random.h"
#include "sound_system/sound_manager.h"
#include "support/content_fixture.h"
#include "support/sound_fixtures.h"

using namespace TestSupport;

namespace {

class ChipManagerTest : public ContentTest {
protected:
    void SetUp() override
    {
        ContentTest::SetUp();
        useSilentAudioDevice();
        mSound = std::make_unique<VQ::SoundManager>();
        mTextures = std::make_unique<VQ::TextureManager>();
        mSprites = std::make_unique<VQ::SpriteManager<VQ::Sprite>>();
        mFactory = std::make_unique<VQ::ObjectFactory>();
        mParticles = std::make_unique<VQ::ParticleSystem>();
        mXmlCache = std::make_unique<VQ::XmlCachedFilesManager>();
    }
    void TearDown() override
    {
        mManager.reset();
        clearBehaviorPrototypes();
        mParticles.reset();
        mSprites.reset();
        mTextures.reset();
        mXmlCache->purge();
        mXmlCache.reset();
        mFactory.reset();
        mSound.reset();
        ContentTest::TearDown();
    }
    void usePrototypes(const std::string& text)
    {
        // The sprite tables the test prototypes' drawables name.
        writeContent("scripts/chips.lua", "for _, c in ipairs({ 'R', 'G', 'B', 'M', 'Y', 'O' }) do\n"
                                          "    _G['wall_' .. c] = { Size = { 12, 12 } }\n"
                                          "end\n"
                                          "plain = { Size = { 16, 16 } }\n");
        mFileSystem->filesOfPackage("default")["chips_lua"] = "scripts/chips.lua";
        writeContent("scripts/chip_prototypes.lua", text);
        mFileSystem->filesOfPackage("default")["chip_prototypes_lua"] = "scripts/chip_prototypes.lua";
    }
    // The sample prototypes with the art and effects their drawables name.
    void useSamplePrototypes() { useSampleContent(); }
    // The game's own content, package map, sounds and scripts, as the
    // program finds them.
    void useSampleContent()
    {
        VQ::contentRoot() = std::string(LANTERRA_SOURCE_DIR) + "/media/";
        loadAll();
    }
    ChipManager& create()
    {
        mManager = std::make_unique<ChipManager>();
        return *mManager;
    }
    // Makes the named prototypes available at these rates and builds the table.
    void makeAvailable(const std::map<std::string, float>& rates)
    {
        mManager->available.clear();
        mManager->totalDropRate = 0.0f;
        for (const auto& [name, rate] : rates) {
            ChipPrototype* prototype = mManager->findPrototype(name);
            ASSERT_NE(prototype, nullptr) << name;
            prototype->dropRateInUse = rate;
            mManager->available[name] = prototype;
            mManager->totalDropRate += rate;
        }
        mManager->buildDropTable();
    }
    std::map<std::string, int> slotsByName() const
    {
        std::map<std::string, int> slots;
        for (int slot : mManager->dropTable)
            ++slots[slot < 0 ? std::string("empty") : mManager->dropCandidates[slot]->name];
        return slots;
    }

    std::unique_ptr<VQ::SoundManager> mSound;
    std::unique_ptr<VQ::TextureManager> mTextures;
    std::unique_ptr<VQ::SpriteManager<VQ::Sprite>> mSprites;
    std::unique_ptr<VQ::ObjectFactory> mFactory;
    std::unique_ptr<VQ::ParticleSystem> mParticles;
    std::unique_ptr<VQ::XmlCachedFilesManager> mXmlCache;
    std::unique_ptr<ChipManager> mManager;
};

const char* const kColourNames[] = {"Simple_R", "Simple_G", "Simple_B", "Simple_M", "Simple_Y", "Simple_O"};

TEST_F(ChipManagerTest, SamplePrototypesGiveOneEntryPerColourAndRegisterTheirLayers)
{
    useSampleContent();
    ChipManager& manager = create();
    for (int colour = 0; colour < 6; ++colour) {
        SCOPED_TRACE(kColourNames[colour]);
        ChipPrototype* simple = manager.findPrototype(kColourNames[colour]);
        ASSERT_NE(simple, nullptr);
        EXPECT_EQ(simple->colour, colour);
        EXPECT_GT(simple->dropRate, 0.0f);
        EXPECT_EQ(simple->dropRateInUse, simple->dropRate);
        ASSERT_EQ(simple->layers.size(), 1u);
        EXPECT_EQ(simple->layers.top()->type, BEHAVIOR_SIMPLE);
        EXPECT_STREQ(simple->selector->name(), "NearestChipSameGroupSelector");
        for (const char* family : {"Bomb_", "SimpleBomb_", "WaveHor_", "WaveVer_", "SuperBomb_", "Star_", "Chain_",
                                   "CWall_"})
            EXPECT_NE(manager.findPrototype(std::string(family) + (kColourNames[colour] + 7)), nullptr) << family;
        // Every colour has its own registered plain and chain layers.
        for (int type : {BEHAVIOR_SIMPLE, BEHAVIOR_CHAIN, BEHAVIOR_BOMB_STAGE2}) {
            std::unique_ptr<Behavior> layer(createBehavior(type, colour));
            EXPECT_EQ(layer->type, type);
        }
    }
    EXPECT_EQ(manager.findPrototype("Simple"), nullptr);

    // Destroy sounds are the ids of the sounds the manager registered first.
    const uint32_t chipSound = manager.findPrototype("Simple_B")->layers.top()->destroySound;
    EXPECT_NE(chipSound, 0u);
    EXPECT_EQ(chipSound, static_cast<uint32_t>(mSound->acquireResource("chip_destroy_sound")));
    EXPECT_NE(manager.findPrototype("Bomb_B")->layers.top()->destroySound, chipSound);
    EXPECT_EQ(manager.findPrototype("FallingLevelGoal")->layers.top()->destroySound, 0u);

    // Destroying a layer plays its sound; a layer without one plays and
    // reports nothing.
    ASSERT_TRUE(mSound->voiceHandles().empty());
    Chip* plain = manager.createChip("Simple_R", 1, 1, 1, {});
    EXPECT_EQ(plain->layers.popTopAndDestroy(nullptr, plain, false).type, BEHAVIOR_SIMPLE);
    EXPECT_EQ(mSound->voiceHandles().size(), 1u);
    const size_t logSize = logLines().size();
    Chip* goalChip = manager.createChip("FallingLevelGoal", 2, 1, 1, {});
    EXPECT_EQ(goalChip->layers.popTopAndDestroy(nullptr, goalChip, true).type, BEHAVIOR_FALLING_LEVEL_GOAL);
    EXPECT_EQ(mSound->voiceHandles().size(), 1u);
    EXPECT_EQ(logLines().size(), logSize);

    ChipPrototype* destroyColor = manager.findPrototype("DestroyColor");
    ASSERT_NE(destroyColor, nullptr);
    EXPECT_EQ(destroyColor->colour, -1);
    EXPECT_STREQ(destroyColor->selector->name(), "AllChipsSameGroupSelector");
    EXPECT_EQ(destroyColor->dropRate, 0.0f);

    ChipPrototype* dwall = manager.findPrototype("DWall");
    ASSERT_NE(dwall, nullptr);
    EXPECT_EQ(dwall->layers.size(), 2u);
    EXPECT_FALSE(dwall->layers.canFall());

    ChipPrototype* goal = manager.findPrototype("FallingLevelGoal");
    ASSERT_NE(goal, nullptr);
    EXPECT_EQ(goal->layers.countLevelGoals(), 1);

    // The two-stage bomb's first stage carries the blast and the second stage.
    ChipPrototype* bomb = manager.findPrototype("Bomb_Y");
    ASSERT_NE(bomb, nullptr);
    EXPECT_EQ(bomb->layers.top()->type, BEHAVIOR_BOMB_STAGE1);
    EXPECT_EQ(bomb->layers.top()->OnDestroyActions.size(), 2u);

    // The sample prototypes of the plain colours are the only ones that drop.
    for (const char* name : {"Simple_R", "Simple_G", "Bomb_R", "DestroyColor"})
        manager.available[name] = manager.findPrototype(name);
    manager.totalDropRate = 4.0f;
    manager.buildDropTable();
    ASSERT_EQ(manager.dropCandidates.size(), 2u);
    for (int i = 0; i < 50; ++i) {
        const std::string name = manager.nextRandomPrototype()->name;
        EXPECT_TRUE(name == "Simple_R" || name == "Simple_G") << name;
    }
}

TEST_F(ChipManagerTest, LayersFollowTheFlagAndNumberConventions)
{
    usePrototypes(R"(
ChipPrototypes = {
    { Name = "Second", DropRate = "2", GamePoints = 7,
      Behavior = { { Name = "Simple" }, { Name = "Chain", MultipleColors = 1, CanFalling = false } } },
    { Name = "Flags", Selector = "AllChipsSameGroupSelector",
      Behavior = { "not a layer",
                   { Name = "Wall", MultipleColors = 1, CanFalling = 0, CanIterateWithGroup = 2.5,
                     LevelGoal = true, score = 12.9,
                     OnDestroyActions = { "Boom", "NoSuchAction", 42, "CanNotBeDestoyed" },
                     OnIdleDrawables = { { "Sprite", "chips_lua", "wall" }, { "Nothing", "x", "y" },
                                         { "Sprite", "chips_lua", "plain", 2, 1 } } } } },
    { Name = "Second", DropRate = 5, Behavior = { { Name = "Ice" } } },
    { Name = "Booleans",
      Behavior = { { Name = "Simple", MultipleColors = true, LevelGoal = 1,
                     OnIdleDrawables = { { "Sprite", "chips_lua", "plain" } } } } },
}
)");
    ChipManager& manager = create();

    // MultipleColors in a later layer only, or as a Lua boolean: one prototype.
    ChipPrototype* second = manager.findPrototype("Second");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->colour, -1);
    EXPECT_EQ(second->dropRate, 2.0f);
    EXPECT_EQ(second->gamePoints, 7u);
    ASSERT_EQ(second->layers.size(), 2u);
    // A duplicate name keeps the first prototype.
    EXPECT_EQ(second->layers.objects.front()->type, BEHAVIOR_SIMPLE);
    // A Lua boolean is not a flag: the default stays.
    EXPECT_TRUE(second->layers.top()->CanFalling);

    ChipPrototype* flags = manager.findPrototype("Flags_M");
    ASSERT_NE(flags, nullptr);
    EXPECT_EQ(flags->colour, 3);
    EXPECT_STREQ(flags->selector->name(), "AllChipsSameGroupSelector");
    ASSERT_EQ(flags->layers.size(), 1u);
    const Behavior* wall = flags->layers.top();
    EXPECT_EQ(wall->type, BEHAVIOR_WALL);
    EXPECT_FALSE(wall->CanFalling);
    EXPECT_TRUE(wall->CanIterateWithGroup);
    EXPECT_FALSE(wall->LevelGoal);
    EXPECT_EQ(wall->score, 12);
    EXPECT_EQ(wall->destroySound, 0u);
    // Unknown action texts and entries that yield no drawable are skipped; a
    // number is read as its text.
    EXPECT_EQ(wall->OnDestroyActions.size(), 2u);
    ASSERT_EQ(wall->OnIdleDrawables.size(), 2u);
    auto* perColour = dynamic_cast<SpriteDrawable*>(wall->OnIdleDrawables.objects.front());
    auto* shared = dynamic_cast<SpriteDrawable*>(wall->OnIdleDrawables.objects.back());
    ASSERT_TRUE(perColour && shared);
    // The tables tell themselves apart by their sizes.
    EXPECT_EQ(perColour->sprite->size().x, 12.0f);
    EXPECT_EQ(shared->sprite->size().x, 16.0f);
    EXPECT_EQ(shared->layer, 2);
    // The layer on the prototype does not restart its idle drawables on show;
    // the registered copy does.
    EXPECT_FALSE(perColour->restartOnShow);
    std::unique_ptr<Behavior> registered(createBehavior(BEHAVIOR_WALL, 3));
    EXPECT_TRUE(registered->OnIdleDrawables.objects.front()->restartOnShow);

    ChipPrototype* booleans = manager.findPrototype("Booleans");
    ASSERT_NE(booleans, nullptr);
    EXPECT_TRUE(booleans->layers.top()->LevelGoal);
    EXPECT_EQ(dynamic_cast<SpriteDrawable*>(booleans->layers.top()->OnIdleDrawables.objects.front())
                  ->sprite->size().x,
              16.0f);
}

TEST_F(ChipManagerTest, MalformedScriptsStopWithTheFatalReport)
{
    struct Case {
        const char* what;
        const char* script;  // null: no script at all
        const char* description;
        int line;
    };
    const Case cases[] = {
        {"no script", nullptr, "Failed to load chip prototypes file", 106},
        {"a syntax error", "ChipPrototypes = {", "Failed to load chip prototypes file", 106},
        {"no ChipPrototypes", "Prototypes = {}", "", 108},
        {"an element that is not a table", "ChipPrototypes = { 5 }", "", 111},
        {"a prototype without Behavior", "ChipPrototypes = { { Name = 'X' } }", "", 117},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.script)
            usePrototypes(c.script);
        else
            mFileSystem->filesOfPackage("default").erase("chip_prototypes_lua");
        const VQ::FatalReport report = catchFatal([&] { create(); });
        EXPECT_EQ(report.description, c.description);
        EXPECT_EQ(report.file, "ChipManager");
        EXPECT_EQ(report.line, c.line);
        EXPECT_FALSE(ChipManager::exists());
        clearBehaviorPrototypes();
    }
}

class DropTableTest : public ChipManagerTest {
protected:
    void SetUp() override
    {
        ChipManagerTest::SetUp();
        useSamplePrototypes();
        create();
        VQ::srand(1);
    }
};

TEST_F(DropTableTest, SlotsAreSharedInProportionToTheRates)
{
    struct Case {
        const char* what;
        std::map<std::string, float> rates;
        std::map<std::string, int> slots;
    };
    const Case cases[] = {
        {"rates 1 and 3", {{"Simple_R", 1}, {"Simple_G", 3}}, {{"Simple_R", 128}, {"Simple_G", 384}}},
        {"three equal rates", {{"Simple_R", 1}, {"Simple_G", 1}, {"Simple_B", 1}},
         {{"Simple_R", 170}, {"Simple_G", 170}, {"Simple_B", 170}, {"empty", 2}}},
        {"a bomb among four colours",
         {{"Simple_R", 1}, {"Simple_G", 1}, {"Simple_B", 1}, {"Simple_Y", 1}, {"Bomb_R", 2}},
         {{"Simple_R", 85}, {"Simple_G", 85}, {"Simple_B", 85}, {"Simple_Y", 85}, {"empty", 172}}},
        {"a negative rate counts as none", {{"Simple_R", 3}, {"Simple_G", -1}}, {{"Simple_R", 512}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        makeAvailable(c.rates);
        EXPECT_EQ(mManager->dropTable.size(), 512u);
        EXPECT_EQ(slotsByName(), c.slots);
        // Draws read the shuffled table cyclically and only give candidates.
        std::map<std::string, int> drawn;
        for (int i = 0; i < 512; ++i)
            ++drawn[mManager->nextRandomPrototype()->name];
        EXPECT_LE(drawn.size(), c.slots.size());
        EXPECT_EQ(drawn.count("Bomb_R"), 0u);
    }
}

TEST_F(DropTableTest, ATableWithNothingToDrawIsReportedAndDrawsNothing)
{
    const std::map<std::string, float> cases[] = {
        {{"Bomb_R", 2}},
        {{"Simple_R", 0}, {"Simple_G", 0}},
        {{"Simple_R", 1}, {"Simple_G", -1}},
        {{"Simple_R", 0.001f}, {"Bomb_R", 10}},
    };
    for (const auto& rates : cases) {
        const int before = static_cast<int>(logLines().size());
        makeAvailable(rates);
        EXPECT_EQ(slotsByName(), (std::map<std::string, int>{{"empty", 512}}));
        EXPECT_EQ(mManager->nextRandomPrototype(), nullptr);
        EXPECT_EQ(mManager->createChip("Random", 1, 1, 1, {}), nullptr);
        const auto lines = logLines();
        ASSERT_EQ(static_cast<int>(lines.size()), before + 1);
        EXPECT_EQ(lines.back().rfind("ERROR: ", 0), 0u) << lines.back();
    }
}

TEST_F(DropTableTest, ChipsComeFromThePoolAndTheNamedOrDrawnPrototype)
{
    makeAvailable({{"Simple_B", 1}});
    UserDataMap data;
    data["limit"] = DataSlot(3);
    for (const char* type : {"Random", ""}) {
        Chip* chip = mManager->createChip(type, 2, 5, 1, data);
        ASSERT_NE(chip, nullptr);
        EXPECT_EQ(chip->x, 2.5f);
        EXPECT_EQ(chip->y, 5.5f);
        EXPECT_EQ(chip->colour, 2);
        EXPECT_EQ(chip->falling, 0);
        EXPECT_EQ(chip->getUserData("limit").value->asInt(), 3);
    }
    Chip* wall = mManager->createChip("DWall", 0, 1, 4, {});
    ASSERT_NE(wall, nullptr);
    EXPECT_EQ(wall->radius, 4);
    EXPECT_EQ(wall->layers.size(), 2u);

    // An unknown name gives no chip and a warning naming it.
    EXPECT_EQ(mManager->createChip("NoSuchChip", 0, 1, 1, {}), nullptr);
    EXPECT_EQ(logLines().back(), "WARNING: Unknown chip prototype 'NoSuchChip'");

    // A released chip is handed out again, reset.
    const size_t poolSize = mManager->chips.size();
    wall->released = true;
    wall->setUserData("lock", "1");
    Chip* again = mManager->allocateChip();
    EXPECT_EQ(again, wall);
    EXPECT_FALSE(again->released);
    EXPECT_TRUE(again->layers.empty());
    EXPECT_TRUE(again->userData.empty());
    EXPECT_EQ(mManager->chips.size(), poolSize);

    // A queued name is taken by the next random chip only; an unknown one is
    // skipped with a warning.
    mManager->nextChips.push_back("FallingLevelGoal");
    mManager->nextChips.push_back("Nonexistent");
    Chip* goal = mManager->createRandomChip(4.5f, 0.5f);
    EXPECT_TRUE(goal->hasBehavior(BEHAVIOR_FALLING_LEVEL_GOAL));
    EXPECT_EQ(goal->x, 4.5f);
    Chip* drawn = mManager->createRandomChip(4.5f, 0.5f);
    EXPECT_TRUE(drawn->hasBehavior(BEHAVIOR_SIMPLE));
    EXPECT_EQ(logLines().back(), "WARNING: Unknown chip prototype 'Nonexistent'");
    EXPECT_TRUE(mManager->createRandomChip(1.5f, 0.5f)->hasBehavior(BEHAVIOR_SIMPLE));

    mManager->clearChips();
    EXPECT_TRUE(mManager->chips.empty());
}

}  // namespace
