// Feeds arbitrary text to the XML archive loader (an effect-shaped object
// tree) and to the sprite-table reader (every element read as every value
// type, arrays walked, animations loaded and played). A malformed document
// is the fatal report, turned into an exception here so that the run goes on.
// Seeds: the shipped XML (the sprite tables' twins, "strings.xml", the
// particle effects; fuzz/run.sh).

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "animation.h"
#include "fatal_error.h"
#include "fuzz_support.h"
#include "object_factory.h"
#include "particle_emitter.h"
#include "particle_system.h"
#include "xml_data_reader.h"
#include "xml_iarchive.h"

namespace {

struct FatalThrown : std::runtime_error {
    FatalThrown() : std::runtime_error("fatal") {}
};

void throwingHook(const VQ::FatalReport&)
{
    throw FatalThrown();
}

struct Affector : VQ::ISerializable {
    VQ::Vector2f mForce;
    float mRate = 0;
    void load(VQ::XmlIArchive& a) override
    {
        a.load(VQ::nvp("mForce", mForce));
        a.load(VQ::nvp("mRate", mRate));
    }
    void save(VQ::XmlOArchive&) override {}
    void serialize(VQ::FieldVisitor&) override {}  // the fuzzed reader needs no generic visit
};

struct SpinAffector : Affector {};

struct Emitter : VQ::ISerializable {
    int mCount = 0;
    bool mLooped = false;
    VQ::Rect mArea;
    VQ::Color mTint;
    std::string mSprite;
    std::vector<Affector*> mAffectors;
    ~Emitter() override
    {
        for (Affector* a : mAffectors)
            delete a;
    }
    void load(VQ::XmlIArchive& a) override
    {
        a.load(VQ::nvp("mCount", mCount));
        a.load(VQ::nvp("mLooped", mLooped));
        a.load(VQ::nvp("mArea", mArea));
        a.load(VQ::nvp("mTint", mTint));
        a.load(VQ::nvp("mSprite", mSprite));
        a.load(VQ::nvp("mAffectors", mAffectors));
    }
    void save(VQ::XmlOArchive&) override {}
    void serialize(VQ::FieldVisitor&) override {}  // the fuzzed reader needs no generic visit
};

struct BoxEmitter : Emitter {};

struct Effect : VQ::ISerializable {
    Affector mSettings;
    Emitter* mMain = nullptr;
    std::vector<Emitter*> mEmitters;
    std::vector<VQ::ParticleEmitter*> mParticleEmitters;
    ~Effect() override
    {
        delete mMain;
        for (Emitter* e : mEmitters)
            delete e;
        for (VQ::ParticleEmitter* e : mParticleEmitters)
            delete e;
    }
    void load(VQ::XmlIArchive& a) override
    {
        a.load(VQ::nvp("mSettings", mSettings));
        a.load(VQ::nvp("mMain", mMain));
        a.load(VQ::nvp("mEmitters", mEmitters));
        a.load(VQ::nvp("mParticleEmitters", mParticleEmitters));
    }
    void save(VQ::XmlOArchive&) override {}
    void serialize(VQ::FieldVisitor&) override {}  // the fuzzed reader needs no generic visit
};

void loadArchive(std::string_view text)
{
    VQ::XmlIArchive archive(text);
    Effect* effect = nullptr;
    archive.load(VQ::nvp("ParticleFX", effect));
    delete effect;
}

// Reads every child of the cursor as every value type, then walks it as an
// array, a few levels deep.
void readAll(VQ::XmlDataReader& reader, int depth)
{
    for (pugi::xml_node child : reader.currentNode().children()) {
        const std::string name = child.name();
        std::string s;
        bool b;
        float f;
        unsigned u;
        VQ::Vector2f v;
        VQ::Rect r;
        VQ::Color c;
        reader.readString(name, s);
        reader.readBool(name, b);
        reader.readFloat(name, f);
        reader.readUInt(name, u);
        reader.readVector2(name, v);
        reader.readRect(name, r);
        reader.readColor(name, c);
        if (depth > 0 && reader.enterNode(name)) {
            for (VQ::XmlArrayIterator it(reader); it != reader.arrayEnd(); it.next())
                readAll(reader, depth - 1);
            readAll(reader, depth - 1);
            reader.leaveNode();
        }
    }
}

void playAnimations(VQ::XmlDataReader& reader)
{
    for (pugi::xml_node table : reader.currentNode().children()) {
        if (!reader.enterNode(table.name()))
            continue;
        VQ::Animation animation;
        float alpha = 0;
        VQ::Vector2f pos;
        VQ::Color color;
        VQ::Rect rect;
        animation.smooth = true;
        animation.bindFloat("alpha", &alpha);
        animation.bindVector2("pos", &pos);
        animation.bindColor("color", &color);
        animation.bindRect("SrcRect0", &rect);
        try {
            animation.loadFromXml(reader);
        } catch (const FatalThrown&) {
        }
        for (float dt : {0.0f, 0.3f, 1.7f, -5.0f, 1e30f})
            animation.update(dt);
        reader.leaveNode();
    }
}

void readTable(const uint8_t* data, size_t size)
{
    VQ::XmlDataReader reader;
    reader.loadFromMemory("fuzz_sxml", data, size);
    readAll(reader, 4);
    reader.rewind();
    playAnimations(reader);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::enterScratchFolder("xml_fuzz");
    FuzzSupport::startSilentLog();
    new VQ::ObjectFactory();
    new VQ::ParticleSystem();
    VQ::ObjectFactory* factory = VQ::ObjectFactory::instance();
    factory->registerClass<BoxEmitter>("BoxEmitter");
    factory->registerClass<SpinAffector>("SpinAffector");
    VQ::setFatalErrorHook(throwingHook);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        loadArchive(text);
    } catch (const FatalThrown&) {
    }
    try {
        readTable(data, size);
    } catch (const FatalThrown&) {
    }
    return 0;
}
