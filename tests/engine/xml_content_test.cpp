// The XML readers, archives and animations over real content: the package
// map, the cache of sprite-table twins and the engine's buddy area.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "animation.h"
#include "buddy_allocator.h"
#include "engine_allocators.h"
#include "object_factory.h"
#include "particle_emitter.h"
#include "particle_system.h"
#include "support/content_fixture.h"
#include "xml_cached_files_manager.h"
#include "xml_data_reader.h"
#include "xml_iarchive.h"

using namespace TestSupport;

namespace {

class XmlContentTest : public ContentTest {
protected:
    void SetUp() override
    {
        ContentTest::SetUp();
        copyFixture("xml_content");
        loadAll();
        mCache = std::make_unique<VQ::XmlCachedFilesManager>();
    }
    void TearDown() override
    {
        // The cache is process-wide: leave nothing behind for the next test.
        for (VQ::XmlDataReader* reader : mTaken)
            mCache->releaseReader(reader);
        mCache->purge();
        mCache.reset();
        ContentTest::TearDown();
    }

    std::string imageOf(VQ::XmlDataReader* reader)
    {
        std::string image;
        if (reader->enterNode("s_tile")) {
            reader->readString("Image0", image);
            reader->leaveNode();
        }
        return image;
    }

    VQ::XmlDataReader* take(const std::string& package, const std::string& name)
    {
        mTaken.push_back(mCache->getReader(package, name));
        return mTaken.back();
    }

    std::unique_ptr<VQ::XmlCachedFilesManager> mCache;
    std::vector<VQ::XmlDataReader*> mTaken;
};

}  // namespace

TEST_F(XmlContentTest, CachedReadersAreSharedOneUserAtATime)
{
    VQ::XmlDataReader* first = take("default", "tiles_sprites");
    ASSERT_TRUE(first);
    EXPECT_STREQ(first->currentNode().name(), "root");
    ASSERT_TRUE(first->enterNode("s_tile"));
    mCache->releaseReader(first);

    // Given back: the same reader again, its cursor back on "root".
    VQ::XmlDataReader* again = take("default", "tiles_sprites");
    EXPECT_EQ(again, first);
    EXPECT_STREQ(again->currentNode().name(), "root");
    EXPECT_EQ(mCache->useCount(again), 2u);
    EXPECT_EQ(mCache->entryCount(), 1u);

    // Still in use: a second entry, read again.
    VQ::XmlDataReader* second = take("default", "tiles_sprites");
    EXPECT_NE(second, first);
    EXPECT_EQ(imageOf(second), "tiles");
    EXPECT_EQ(mCache->useCount(second), 1u);
    EXPECT_EQ(mCache->entryCount(), 2u);

    // The package is part of the key; "en" has its own twin.
    VQ::XmlDataReader* english = take("en", "tiles_sprites");
    EXPECT_EQ(imageOf(english), "tiles_en");

    const auto lines = logLines();
    const std::vector<std::string> cacheLines(lines.end() - 3, lines.end());
    EXPECT_EQ(cacheLines, (std::vector<std::string>{">>> XML Cache default: tiles_sprites (0)",
                                                    ">>> XML Cache default: tiles_sprites (1)",
                                                    ">>> XML Cache en: tiles_sprites (2)"}));
}

TEST_F(XmlContentTest, TwinNameIsCutBeforeSprites)
{
    EXPECT_EQ(VQ::XmlCachedFilesManager::xmlFileName("ui_sprites"), "ui_sxml");
    EXPECT_EQ(VQ::XmlCachedFilesManager::xmlFileName("menu"), "menu_sxml");
    EXPECT_EQ(VQ::XmlCachedFilesManager::xmlFileName("a_sprites_b_sprites"), "a_sxml");
    EXPECT_EQ(VQ::XmlCachedFilesManager::xmlFileName("tiles_sxml"), "tiles_sxml_sxml");
}

TEST_F(XmlContentTest, MissingTwinGivesAReaderWhoseReadsFail)
{
    VQ::XmlDataReader* reader = take("default", "absent_sprites");
    ASSERT_TRUE(reader);
    EXPECT_FALSE(reader->currentNode());
    EXPECT_FALSE(reader->enterNode("s_tile"));
    std::string text = "x";
    EXPECT_FALSE(reader->readString("Image0", text));
    EXPECT_EQ(text, "");
    EXPECT_EQ(countLogLines(">>> XML Cache default: absent_sprites (0)"), 1);
}

TEST_F(XmlContentTest, PurgeKeepsReadersInUse)
{
    VQ::XmlDataReader* taken = take("default", "tiles_sprites");
    VQ::XmlDataReader* free1 = take("default", "tiles_sprites");
    VQ::XmlDataReader* free2 = take("en", "tiles_sprites");
    mCache->releaseReader(free1);
    mCache->releaseReader(free2);
    mCache->purge();
    EXPECT_EQ(mCache->entryCount(), 1u);
    EXPECT_EQ(imageOf(taken), "tiles");  // still valid
    mCache->releaseReader(taken);
    mCache->purge();
    EXPECT_EQ(mCache->entryCount(), 0u);
}

TEST_F(XmlContentTest, TextComesFromTheBuddyAreaAndFallsBackToTheHeap)
{
    VQ::EngineAllocators allocators;
    allocators.setUp();
    VQ::BuddyAllocator* buddy = allocators.buddyAllocator();

    VQ::XmlDataReader* reader = take("default", "tiles_sprites");
    EXPECT_EQ(buddy->bytesInUse(), VQ::BuddyAllocator::PAGE_SIZE);
    mCache->releaseReader(reader);
    mCache->purge();
    EXPECT_EQ(buddy->bytesInUse(), 0u);

    // With the area full the table still loads.
    void* whole = buddy->alloc(VQ::BuddyAllocator::AREA_SIZE);
    ASSERT_TRUE(whole);
    reader = take("default", "tiles_sprites");
    EXPECT_EQ(imageOf(reader), "tiles");
    mCache->releaseReader(reader);
    mCache->purge();
    buddy->dealloc(whole, VQ::BuddyAllocator::AREA_SIZE);
}

TEST_F(XmlContentTest, MalformedTwinIsFatal)
{
    const VQ::FatalReport report = catchFatal([&] { mCache->getReader("default", "broken_sprites"); });
    EXPECT_EQ(report.file, "xml_data_reader");
    EXPECT_EQ(report.line, 161);
    EXPECT_EQ(countLogLines("Failed to parse XML file: broken_sxml"), 1);
    EXPECT_EQ(countLogLines("Error description: Start-end tags mismatch"), 1);
}

namespace {

struct Effect : VQ::ISerializable {
    std::string mName;
    std::vector<VQ::ParticleEmitter*> mEmitters;
    ~Effect() override
    {
        for (VQ::ParticleEmitter* e : mEmitters)
            delete e;
    }
    void serialize(VQ::FieldVisitor&) override {}
    void load(VQ::XmlIArchive& a) override
    {
        a.load(VQ::nvp("mName", mName));
        a.load(VQ::nvp("mEmitters", mEmitters));
    }
    void save(VQ::XmlOArchive&) override {}
};

}  // namespace

TEST_F(XmlContentTest, ArchiveReadsAnEffectFileWithRegisteredClasses)
{
    VQ::ObjectFactory factory;
    VQ::ParticleSystem particles;
    VQ::XmlIArchive archive("default", "spark_fx");
    EXPECT_TRUE(archive.isOpened());
    Effect* effect = nullptr;
    archive.load(VQ::nvp("ParticleFX", effect));
    std::unique_ptr<Effect> owned(effect);
    ASSERT_TRUE(effect);
    EXPECT_EQ(effect->mName, "spark");
    ASSERT_EQ(effect->mEmitters.size(), 2u);
    EXPECT_TRUE(dynamic_cast<VQ::ParticleBoxEmitter*>(effect->mEmitters[0]));
    EXPECT_TRUE(dynamic_cast<VQ::ParticleCircleEmitter*>(effect->mEmitters[1]));
}

TEST_F(XmlContentTest, ArchiveOnAMissingFileIsFatal)
{
    const VQ::FatalReport report = catchFatal([] { VQ::XmlIArchive archive("default", "nothing_fx"); });
    EXPECT_EQ(report.description, "Failed to open file to load xml_iarchive: nothing_fx");
    EXPECT_EQ(report.file, "xml_iarchive");
    EXPECT_EQ(report.line, 21);
    EXPECT_EQ(countLogLines("Failed to open file to load xml_iarchive: nothing_fx"), 1);
}

TEST_F(XmlContentTest, AnimationLoadsFromLua)
{
    VQ::Animation a;
    float alpha = -1, late = -1;
    VQ::Vector2f pos;
    VQ::Color color;
    VQ::Rect rect;
    a.bindFloat("alpha", &alpha);
    a.bindVector2("pos", &pos);
    a.bindColor("color", &color);
    a.bindRect("SrcRect0", &rect);
    a.bindFloat("late", &late);  // only in the second frame: switched off
    ASSERT_TRUE(a.load("blink_lua", "default", "s_blink"));
    EXPECT_TRUE(a.loop);
    EXPECT_EQ(a.speed, 2.0f);
    EXPECT_EQ(a.durations(), (std::vector<float>{0.5f, 0.5f}));
    EXPECT_EQ(a.parameters()[4]->keyCount(), 0u);

    a.update(0.125f);  // time 0.25: halfway through frame 0
    EXPECT_FLOAT_EQ(alpha, 0.5f);
    EXPECT_EQ(pos, VQ::Vector2f(5, 10));
    EXPECT_EQ(color, VQ::Color::fromBytes(127, 0, 127, 254));
    EXPECT_EQ(rect, VQ::Rect(0, 0, 16, 16));
    EXPECT_EQ(late, -1);
    a.update(0.375f);  // time 1.0: the total, not past it
    EXPECT_FLOAT_EQ(a.time, 1.0f);
    EXPECT_FALSE(a.isFinished());
}

TEST_F(XmlContentTest, AnimationLoadFailures)
{
    float alpha = 0;
    const struct {
        const char* script;
        const char* table;
    } failures[] = {{"absent_lua", ""}, {"blink_lua", "s_nothing"}, {"blink_lua", "s_noframes"}, {"blink_lua", ""}};
    for (const auto& f : failures) {
        VQ::Animation a;
        a.bindFloat("alpha", &alpha);
        EXPECT_FALSE(a.load(f.script, "default", f.table)) << f.script << " " << f.table;
    }

    VQ::Animation gap;
    gap.bindFloat("alpha", &alpha);
    const VQ::FatalReport report = catchFatal([&] { gap.load("blink_lua", "default", "s_gap"); });
    EXPECT_EQ(report.description, "Failed to load animation parameter alpha");
    EXPECT_EQ(report.line, 109);
}

TEST_F(XmlContentTest, AnimationLoadsFromTheCachedTwin)
{
    VQ::XmlDataReader* reader = take("default", "tiles_sprites");
    ASSERT_TRUE(reader->enterNode("s_glow"));
    VQ::Animation a;
    float alpha = -1;
    a.bindFloat("alpha", &alpha);
    ASSERT_TRUE(a.loadFromXml(*reader));
    mCache->releaseReader(reader);
    EXPECT_EQ(a.speed, 0.5f);
    EXPECT_FALSE(a.loop);
    a.update(1.0f);  // time 0.5
    EXPECT_FLOAT_EQ(alpha, 0.5f);
}
