#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

#include "field_visitor.h"
#include "particle_fixture.h"
#include "xml_iarchive.h"
#include "xml_oarchive.h"

using namespace ParticleFixture;
using VQ::Vector2f;

namespace {

class ParticleFileFormatTest : public ParticleSimTest {
protected:
    std::unique_ptr<VQ::ParticleFX> read(const std::string& effect)
    {
        VQ::XmlIArchive in("<root><ParticleFX>" + effect + "</ParticleFX></root>");
        VQ::ParticleFX* fx = nullptr;
        in.load(VQ::nvp("ParticleFX", fx));
        return std::unique_ptr<VQ::ParticleFX>(fx);
    }
};

TEST_F(ParticleFileFormatTest, MissingElementsReadAsEmpty)
{
    EXPECT_TRUE(read("")->mParticleEmitters.empty());

    // "sz" 2 with only e0: e1 is a plain emitter read from an empty element.
    auto fx = read(R"(<mParticleEmitters sz="2"><e0 class_name="ParticleQuadEmitter">
        <mLooped v="1"/><mParticleAffectors sz="1"><e0 class_name="ParticleGravityAffector"/></mParticleAffectors>
        </e0></mParticleEmitters>)");
    ASSERT_EQ(fx->mParticleEmitters.size(), 2u);
    auto* quad = dynamic_cast<VQ::ParticleQuadEmitter*>(fx->mParticleEmitters[0]);
    ASSERT_NE(quad, nullptr);
    EXPECT_TRUE(quad->mLooped);
    EXPECT_EQ(quad->mPointRightBottom, Vector2f(0, 0));
    auto* gravity = dynamic_cast<VQ::ParticleGravityAffector*>(quad->mParticleAffectors[0]);
    ASSERT_NE(gravity, nullptr);
    EXPECT_EQ(gravity->mDirection, Vector2f(0, 1));  // a Vector2 keeps its default
    EXPECT_EQ(gravity->mForce.mLinesCount, 0);       // every other leaf is zeroed

    const VQ::ParticleEmitter* plain = fx->mParticleEmitters[1];
    EXPECT_STREQ(plain->getClassName(), "ParticleEmitter");
    EXPECT_FALSE(plain->mLooped);
    EXPECT_EQ(plain->mMaxSegments, 0);
    EXPECT_EQ(plain->mMinDistSegments, 0.0f);
    EXPECT_EQ(plain->mEmitterLifeTime, 0.0f);
    EXPECT_EQ(plain->mPosition, Vector2f(0, 0));
    EXPECT_TRUE(plain->mEmitRate.mValues.empty());
}

TEST_F(ParticleFileFormatTest, ValuesReadAsTheFileFormatSays)
{
    struct Case {
        const char* destroy;
        bool expected;
    };
    const Case cases[] = {
        {R"(<mDestroyIfDead v="Yes"/>)", true},
        {R"(<mDestroyIfDead v="1"/>)", true},
        {R"(<mDestroyIfDead v="on"/>)", false},
        {R"(<mDestroyIfDead v=""/>)", false},
        {R"(<mDestroyIfDead/>)", false},
        {R"(<mDestroyIfDead v="true"/><mDestroyIfDead v="false"/>)", true},  // the first of two
    };
    for (const Case& c : cases)
        EXPECT_EQ(read(c.destroy)->mDestroyIfDead, c.expected) << c.destroy;

    auto fx = read(R"(<mParticleEmitters sz="1"><e0><mParticleColor>
        <mValues sz="1"><e0 sz="1"><e0><time v="0x10"/><value r="300" g="0x1FF" b="7" a="255"/></e0></e0></mValues>
        <mLinesCount v="1"/></mParticleColor><mBlendMode v=" -2"/></e0></mParticleEmitters>)");
    const auto* key = fx->mParticleEmitters[0]->mParticleColor.mValues[0][0];
    EXPECT_EQ(key->time, 16);
    EXPECT_EQ(key->value, VQ::Color::fromBytes(44, 255, 7, 255));  // low 8 bits
    EXPECT_EQ(fx->mParticleEmitters[0]->mBlendMode, -2);
}

TEST_F(ParticleFileFormatTest, UnknownAndWrongClassesAreSkipped)
{
    auto fx = read(R"(<mParticleEmitters sz="3">
        <e0 class_name="ParticleGravityAffector"/><e1 class_name="Comet"/><e2 class_name="ParticleCircleEmitter">
        <mParticleAffectors sz="2"><e0 class_name="ParticleBoxEmitter"/><e1 class_name=""/></mParticleAffectors>
        </e2></mParticleEmitters>)");
    ASSERT_EQ(fx->mParticleEmitters.size(), 1u);
    const VQ::ParticleEmitter* circle = fx->mParticleEmitters[0];
    EXPECT_STREQ(circle->getClassName(), "ParticleCircleEmitter");
    ASSERT_EQ(circle->mParticleAffectors.size(), 1u);
    EXPECT_STREQ(circle->mParticleAffectors[0]->getClassName(), "ParticleAffector");
    const std::vector<std::string> lines = logLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "WARNING: Element 'e0' names unknown class 'ParticleGravityAffector'; skipped"),
              lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "WARNING: Element 'e1' names unknown class 'Comet'; skipped"),
              lines.end());
}

TEST_F(ParticleFileFormatTest, AFewBytesCannotAskForEndlessObjects)
{
    // Every line asks for the most keys a vector may hold, made from missing
    // elements; the archive stops making objects at its bound.
    std::string lines;
    for (int i = 0; i < 8; ++i)
        lines += "<e" + std::to_string(i) + " sz=\"65536\"/>";
    auto fx = read("<mParticleEmitters sz=\"1\"><e0><mEmitRate><mValues sz=\"8\">" + lines +
                   "</mValues></mEmitRate></e0></mParticleEmitters>");
    size_t keys = 0;
    for (const auto& line : fx->mParticleEmitters[0]->mEmitRate.mValues)
        keys += line.size();
    EXPECT_LT(keys, size_t(VQ::XmlIArchive::MAX_OBJECTS));
    const std::vector<std::string> log = logLines();
    EXPECT_EQ(std::count(log.begin(), log.end(), "WARNING: Archive holds more than 262144 objects; the rest are skipped"),
              1);
}

// Writes down every name the generic visit passes, descending into objects.
class NameRecorder : public VQ::FieldVisitor {
public:
    void value(const std::string& name, const std::type_info& type, void* field) override
    {
        names.push_back(name);
        if (values.empty())
            values.push_back({&type, field});
    }
    void object(const std::string& name, VQ::ISerializable* object) override
    {
        names.push_back(name);
        if (object)
            object->serialize(*this);
    }
    void beginVector(const std::string& name, size_t) override { names.push_back(name); }
    void endVector(const std::string&) override {}

    std::vector<std::string> names;
    std::vector<std::pair<const std::type_info*, void*>> values;  // the first one only
};

void collectElementNames(const pugi::xml_node& node, std::vector<std::string>& out)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        out.push_back(child.name());
        collectElementNames(child, out);
    }
}

TEST_F(ParticleFileFormatTest, TheGenericVisitPassesTheSavedFieldsInTheirOrder)
{
    auto fx = read(R"(<mParticleEmitters sz="2"><e0 class_name="ParticleQuadEmitter">
        <mParticleAffectors sz="1"><e0 class_name="ParticleGravityAffector"/></mParticleAffectors>
        <mEmitRate><mValues sz="1"><e0 sz="1"><e0><time v="0"/><value v="2"/></e0></e0></mValues></mEmitRate>
        </e0><e1 class_name="ParticleCircleEmitter"/></mParticleEmitters>)");

    NameRecorder visit;
    fx->serialize(visit);
    const std::vector<std::string> top(visit.names.begin(), visit.names.begin() + 2);
    EXPECT_EQ(top, (std::vector<std::string>{"mPosition", "mParticleEmitters"}));
    ASSERT_FALSE(visit.values.empty());
    EXPECT_EQ(*visit.values[0].first, typeid(Vector2f));
    EXPECT_EQ(visit.values[0].second, &fx->mPosition);
    const std::vector<std::string> tail(visit.names.end() - 3, visit.names.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"mDestroyIfDead", "mAnimationFilename", "mLoopedAnimation"}));

    // Every field below, shapes, affectors, curves and keys included, comes
    // in the order and under the name the saved file gives it.
    VQ::XmlOArchive out;
    VQ::ParticleFX* saved = fx.get();
    out.save(VQ::nvp("ParticleFX", saved));
    std::vector<std::string> elements;
    collectElementNames(out.currentNode().child("ParticleFX"), elements);
    EXPECT_EQ(visit.names, elements);
}

}  // namespace
