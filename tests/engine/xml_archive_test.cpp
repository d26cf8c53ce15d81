#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "object_factory.h"
#include "particle_affector.h"
#include "particle_emitter.h"
#include "particle_system.h"
#include "support/content_fixture.h"
#include "xml_iarchive.h"
#include "xml_oarchive.h"

using namespace TestSupport;

namespace {

// A small tree in the shape of the particle effects: a polymorphic part with
// one member of every value type, a vector of such parts, a single pointer
// and an object by value.
struct Part : VQ::ISerializable {
    int mCount = 0;
    float mRate = 0;
    std::string mName;
    VQ::Vector2f mPosition;
    VQ::Rect mArea;
    VQ::Color mTint;
    bool mLooped = false;

    void serialize(VQ::FieldVisitor&) override {}  // these archives' tests need no generic visit
    void load(VQ::XmlIArchive& a) override { serialize(a); }
    void save(VQ::XmlOArchive& a) override { serialize(a); }
    template <typename Archive>
    void serialize(Archive& a)
    {
        transfer(a, VQ::nvp("mCount", mCount));
        transfer(a, VQ::nvp("mRate", mRate));
        transfer(a, VQ::nvp("mName", mName));
        transfer(a, VQ::nvp("mPosition", mPosition));
        transfer(a, VQ::nvp("mArea", mArea));
        transfer(a, VQ::nvp("mTint", mTint));
        transfer(a, VQ::nvp("mLooped", mLooped));
    }
    template <typename T>
    static void transfer(VQ::XmlIArchive& a, const VQ::nvp<T>& p) { a.load(p); }
    template <typename T>
    static void transfer(VQ::XmlOArchive& a, const VQ::nvp<T>& p) { a.save(p); }

    virtual bool equals(const Part& o) const
    {
        return typeid(*this) == typeid(o) && mCount == o.mCount && mRate == o.mRate && mName == o.mName &&
               mPosition == o.mPosition && mArea == o.mArea && mTint == o.mTint && mLooped == o.mLooped;
    }
};

struct BoxPart : Part {
    VQ::Vector2f mSize;
    void load(VQ::XmlIArchive& a) override
    {
        a.load(VQ::nvp("mSize", mSize));
        Part::load(a);
    }
    void save(VQ::XmlOArchive& a) override
    {
        a.save(VQ::nvp("mSize", mSize));
        Part::save(a);
    }
    bool equals(const Part& o) const override
    {
        return Part::equals(o) && mSize == static_cast<const BoxPart&>(o).mSize;
    }
};

struct Effect : VQ::ISerializable {
    Part mSettings;
    Part* mMain = nullptr;
    std::vector<Part*> mParts;

    ~Effect() override
    {
        delete mMain;
        for (Part* p : mParts)
            delete p;
    }
    void serialize(VQ::FieldVisitor&) override {}
    void load(VQ::XmlIArchive& a) override
    {
        a.load(VQ::nvp("mSettings", mSettings));
        a.load(VQ::nvp("mMain", mMain));
        a.load(VQ::nvp("mParts", mParts));
    }
    void save(VQ::XmlOArchive& a) override
    {
        a.save(VQ::nvp("mSettings", mSettings));
        a.save(VQ::nvp("mMain", mMain));
        a.save(VQ::nvp("mParts", mParts));
    }
};

// The log of a content folder; the archives read text from memory.
class XmlArchiveTest : public ContentTest {
protected:
    void SetUp() override
    {
        ContentTest::SetUp();
        mFactory = std::make_unique<VQ::ObjectFactory>();
        mFactory->registerClass<BoxPart>("BoxPart");
    }
    void TearDown() override
    {
        mFactory.reset();
        ContentTest::TearDown();
    }
    // Loads the effect "Effect" from the text.
    std::unique_ptr<Effect> loadEffect(const std::string& text)
    {
        VQ::XmlIArchive in(text);
        EXPECT_TRUE(in.isOpened());
        Effect* effect = nullptr;
        in.load(VQ::nvp("Effect", effect));
        return std::unique_ptr<Effect>(effect);
    }

    std::unique_ptr<VQ::ObjectFactory> mFactory;
};

void fill(Part& p, int seed)
{
    p.mCount = 42 * seed;
    p.mRate = 0.5f * seed;
    p.mName = "part " + std::to_string(seed) + " <&\">";
    p.mPosition = VQ::Vector2f(1.25f * seed, -3.0f);
    p.mArea = VQ::Rect(-1, 2.5f, 300, 400.125f);
    p.mTint = VQ::Color::fromBytes(255, uint8_t(seed), 0, 128);
    p.mLooped = seed % 2 == 1;
}

}  // namespace

TEST_F(XmlArchiveTest, SavedObjectLoadsBackEqual)
{
    Effect effect;
    fill(effect.mSettings, 1);
    auto* main = new BoxPart;
    fill(*main, 2);
    main->mSize = VQ::Vector2f(16, 32);
    effect.mMain = main;
    for (int i = 0; i < 3; ++i) {
        Part* p = i == 1 ? new BoxPart : new Part;
        fill(*p, 3 + i);
        effect.mParts.push_back(p);
    }

    VQ::XmlOArchive out;
    Effect* saved = &effect;
    out.save(VQ::nvp("Effect", saved));
    const std::string text = out.text();

    std::unique_ptr<Effect> loaded = loadEffect(text);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(loaded->mSettings.equals(effect.mSettings));
    ASSERT_TRUE(loaded->mMain);
    EXPECT_TRUE(loaded->mMain->equals(*effect.mMain)) << text;
    ASSERT_EQ(loaded->mParts.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(loaded->mParts[i]->equals(*effect.mParts[i])) << i;
}

TEST_F(XmlArchiveTest, SavedTextHasTheElementAndAttributeForms)
{
    Effect effect;
    effect.mSettings.mCount = 42;
    effect.mSettings.mRate = 0.5f;
    effect.mSettings.mTint = VQ::Color::fromBytes(255, 0, 0, 128);
    effect.mSettings.mLooped = true;
    effect.mSettings.mArea = VQ::Rect(1, 2, 3, 4);
    effect.mSettings.mPosition = VQ::Vector2f(1e-7f, -2);
    effect.mParts.push_back(new BoxPart);
    effect.mParts.push_back(new Part);

    VQ::XmlOArchive out;
    effect.save(out);
    const pugi::xml_node root = out.document().child("root");
    const pugi::xml_node settings = root.child("mSettings");
    // An object by value names its class too: empty for an unregistered one.
    EXPECT_TRUE(settings.attribute("class_name"));
    EXPECT_STREQ(settings.attribute("class_name").value(), "");
    EXPECT_STREQ(settings.child("mCount").attribute("v").value(), "42");
    EXPECT_STREQ(settings.child("mRate").attribute("v").value(), "0.500000");
    EXPECT_STREQ(settings.child("mLooped").attribute("v").value(), "true");
    EXPECT_STREQ(settings.child("mPosition").attribute("x").value(), "0.000000");
    EXPECT_STREQ(settings.child("mPosition").attribute("y").value(), "-2.000000");
    EXPECT_STREQ(settings.child("mArea").attribute("left").value(), "1.000000");
    EXPECT_STREQ(settings.child("mArea").attribute("bottom").value(), "4.000000");
    EXPECT_STREQ(settings.child("mTint").attribute("r").value(), "255");
    EXPECT_STREQ(settings.child("mTint").attribute("a").value(), "128");

    const pugi::xml_node parts = root.child("mParts");
    EXPECT_STREQ(parts.attribute("sz").value(), "2");
    EXPECT_STREQ(parts.child("e0").attribute("class_name").value(), "BoxPart");
    EXPECT_TRUE(parts.child("e0").child("mSize"));
    // An unregistered class is written with an empty key.
    EXPECT_STREQ(parts.child("e1").attribute("class_name").value(), "");
    EXPECT_TRUE(parts.child("e1").attribute("class_name"));
    EXPECT_STREQ(root.child("mMain").attribute("class_name").value(), "");

    // 1e-7 written as 0.000000 reads back as 0.
    VQ::XmlIArchive in(out.text());
    Effect reread;
    reread.load(in);
    EXPECT_EQ(reread.mSettings.mPosition, VQ::Vector2f(0, -2));
}

TEST_F(XmlArchiveTest, ValuesReadAsTheTableSays)
{
    VQ::XmlIArchive in(R"(<root>
        <yes v="Yes"/><zero v="0"/><hex v="0x1F"/><neg v="-7"/>
        <tint r="255" g="0" b="0" a="128"/><wide r="0x1FF"/>
        <half x="2"/><box left="1" top="2"/>
    </root>)");
    bool yes = false, zero = true;
    int hex = 0, neg = 0, missingInt = 5;
    VQ::Color tint, wide, missingColor(0xFFFFFFFFu);
    VQ::Vector2f half(9, 9), kept(7, 8);
    VQ::Rect box, missingBox(1, 1, 1, 1);
    float missingFloat = 3;
    std::string missingText = "x";
    in.load(VQ::nvp("yes", yes));
    in.load(VQ::nvp("zero", zero));
    in.load(VQ::nvp("hex", hex));
    in.load(VQ::nvp("neg", neg));
    in.load(VQ::nvp("nothing", missingInt));
    in.load(VQ::nvp("tint", tint));
    in.load(VQ::nvp("wide", wide));
    in.load(VQ::nvp("nothing", missingColor));
    in.load(VQ::nvp("half", half));
    in.load(VQ::nvp("nothing", kept));
    in.load(VQ::nvp("box", box));
    in.load(VQ::nvp("nothing", missingBox));
    in.load(VQ::nvp("nothing", missingFloat));
    in.load(VQ::nvp("nothing", missingText));
    EXPECT_TRUE(yes);
    EXPECT_FALSE(zero);
    EXPECT_EQ(hex, 31);
    EXPECT_EQ(neg, -7);
    EXPECT_EQ(missingInt, 0);
    EXPECT_EQ(tint, VQ::Color::fromBytes(255, 0, 0, 128));
    EXPECT_EQ(wide.r, 255);
    EXPECT_EQ(missingColor.argb(), 0u);
    EXPECT_EQ(half, VQ::Vector2f(2, 0));
    EXPECT_EQ(kept, VQ::Vector2f(7, 8));
    EXPECT_EQ(box, VQ::Rect(1, 2, 0, 0));
    EXPECT_EQ(missingBox, VQ::Rect());
    EXPECT_EQ(missingFloat, 0.0f);
    EXPECT_EQ(missingText, "");
}

TEST_F(XmlArchiveTest, VectorReadsExactlyItsSizeInElements)
{
    // "sz" 2 with three children reads two; "sz" 3 with two children makes
    // the third a declared-class object from the missing element.
    auto more = loadEffect(R"(<root><Effect><mParts sz="2">
        <e0 class_name="BoxPart"><mCount v="1"/></e0><e1><mCount v="2"/></e1><e2><mCount v="3"/></e2>
        </mParts></Effect></root>)");
    ASSERT_EQ(more->mParts.size(), 2u);
    EXPECT_TRUE(dynamic_cast<BoxPart*>(more->mParts[0]));
    EXPECT_EQ(more->mParts[1]->mCount, 2);

    auto fewer = loadEffect(R"(<root><Effect><mParts sz="3">
        <e0><mCount v="1"/></e0><e1><mCount v="2"/></e1></mParts></Effect></root>)");
    ASSERT_EQ(fewer->mParts.size(), 3u);
    EXPECT_EQ(typeid(*fewer->mParts[2]), typeid(Part));
    EXPECT_TRUE(fewer->mParts[2]->equals(Part()));
    // The missing single pointer is a declared-class object too.
    ASSERT_TRUE(fewer->mMain);
    EXPECT_TRUE(fewer->mMain->equals(Part()));

    auto negative = loadEffect(R"(<root><Effect><mParts sz="-4"><e0/></mParts></Effect></root>)");
    EXPECT_TRUE(negative->mParts.empty());
}

TEST_F(XmlArchiveTest, UnknownClassesAreSkippedWithAWarning)
{
    // The file system's archive back ends log their own lines first.
    const size_t before = logLines().size();
    auto effect = loadEffect(R"(<root><Effect>
        <mMain class_name="Nope"/>
        <mParts sz="3"><e0 class_name="Ghost"/><e1 class_name="BoxPart"/><e2 class_name="Ghost"/></mParts>
        </Effect></root>)");
    EXPECT_EQ(effect->mMain, nullptr);
    ASSERT_EQ(effect->mParts.size(), 1u);
    EXPECT_TRUE(dynamic_cast<BoxPart*>(effect->mParts[0]));
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), before + 3);
    EXPECT_EQ(lines[before], "WARNING: Element 'mMain' names unknown class 'Nope'; skipped");
    EXPECT_EQ(lines[before + 1], "WARNING: Element 'e0' names unknown class 'Ghost'; skipped");
}

TEST_F(XmlArchiveTest, KeyOfAnotherKindIsSkippedToo)
{
    // A registered key whose class is not a Part (an emitter where a part is
    // expected) must not be read as one.
    mFactory->registerClass<VQ::ParticleBoxEmitter>("ParticleBoxEmitter");
    auto effect = loadEffect(
        R"(<root><Effect><mParts sz="1"><e0 class_name="ParticleBoxEmitter"/></mParts></Effect></root>)");
    EXPECT_TRUE(effect->mParts.empty());
    EXPECT_EQ(logLines().back(), "WARNING: Element 'e0' names unknown class 'ParticleBoxEmitter'; skipped");
}

TEST_F(XmlArchiveTest, OversizedVectorIsCutWithAWarning)
{
    auto effect = loadEffect(R"(<root><Effect><mParts sz="4000000000"/></Effect></root>)");
    EXPECT_EQ(effect->mParts.size(), size_t(VQ::XmlIArchive::MAX_VECTOR_SIZE));
    EXPECT_EQ(logLines().back(), "WARNING: Vector 'mParts' claims 2147483647 elements; only the first 65536 are read");
}

TEST_F(XmlArchiveTest, MalformedXmlIsFatal)
{
    const VQ::FatalReport report = catchFatal([] { VQ::XmlIArchive in("<root><a></root>"); });
    EXPECT_EQ(report.description, "Failed to parse xml");
    EXPECT_EQ(report.file, "xml_iarchive");
    EXPECT_EQ(report.line, 34);
}

TEST_F(XmlArchiveTest, FactoryKeepsTheFirstCreatorAndMapsTypesToKeys)
{
    mFactory->registerClass<Part>("BoxPart");  // already taken: dropped
    std::unique_ptr<VQ::ISerializable> made(mFactory->create("BoxPart"));
    EXPECT_TRUE(dynamic_cast<BoxPart*>(made.get()));
    EXPECT_EQ(mFactory->create("Nope"), nullptr);
    EXPECT_EQ(mFactory->keyForTypeName(typeid(BoxPart).name()), "BoxPart");
    EXPECT_EQ(mFactory->keyForTypeName(typeid(Part).name()), "");

    BoxPart source;
    source.mSize = VQ::Vector2f(5, 6);
    VQ::ObjectCreatorInterface* creator = mFactory->findCreator("BoxPart");
    ASSERT_TRUE(creator);
    std::unique_ptr<VQ::ISerializable> copy(creator->clone(source));
    ASSERT_TRUE(dynamic_cast<BoxPart*>(copy.get()));
    EXPECT_EQ(static_cast<BoxPart*>(copy.get())->mSize, VQ::Vector2f(5, 6));
    EXPECT_EQ(creator->clone(Part()), nullptr);
}

TEST_F(XmlArchiveTest, ParticleSystemRegistersItsClassesInOrder)
{
    VQ::ParticleSystem particles;
    const char* const keys[] = {"ParticlePointEmitter", "ParticleBoxEmitter", "ParticleQuadEmitter",
                                "ParticleCircleEmitter", "ParticleLinearMovementAffector",
                                "ParticleGraphicMoveAffector", "ParticleRotateAffector",
                                "ParticleRotateSpriteAffector", "ParticleGravityAffector",
                                "ParticleGravityPointAffector", "ParticleAutoRotateAffector"};
    for (const char* key : keys) {
        std::unique_ptr<VQ::ISerializable> object(mFactory->create(key));
        ASSERT_TRUE(object) << key;
        EXPECT_EQ(mFactory->keyForTypeName(typeid(*object).name()), key);
        const bool emitter = dynamic_cast<VQ::ParticleEmitter*>(object.get()) != nullptr;
        const bool affector = dynamic_cast<VQ::ParticleAffector*>(object.get()) != nullptr;
        EXPECT_NE(emitter, affector) << key;
    }
    EXPECT_EQ(mFactory->creators().size(), 12u);  // with the fixture's own class
}
