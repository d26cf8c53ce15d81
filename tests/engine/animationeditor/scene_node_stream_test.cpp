// The saved form of a node, its animation and its tracks.

#include <gtest/gtest.h>

#include <cstring>

#include "animationeditor/scene_node.h"
#include "animationeditor/vector_stream.h"
#include "support/test_support.h"

using AE::ISceneNode;
using AE::SceneNodeAnimation;
using TestSupport::catchFatal;

namespace {

// Bytes written out by hand, little-endian.
struct Bytes {
    std::vector<uint8_t> v;
    Bytes& u8(uint8_t b)
    {
        v.push_back(b);
        return *this;
    }
    Bytes& u32(uint32_t x)
    {
        for (int i = 0; i < 4; ++i)
            v.push_back(uint8_t(x >> (8 * i)));
        return *this;
    }
    Bytes& f32(float f)
    {
        uint32_t x;
        std::memcpy(&x, &f, 4);
        return u32(x);
    }
    Bytes& str(const char* s)
    {
        while (*s)
            v.push_back(uint8_t(*s++));
        return u8(0);
    }
    Bytes& identity()
    {
        for (int i = 0; i < 9; ++i)
            f32(i % 4 == 0 ? 1.0f : 0.0f);
        return *this;
    }
    // An animation without key frames: its empty tracks, then its fields.
    Bytes& emptyAnimation(int trackCount, bool isEasing, bool hasEasing)
    {
        for (int i = 0; i < trackCount; ++i)
            u32(0).u8(1).u8(1);  // no keys, present, first key pending
        u32(0);                  // key frames
        u8(0).u8(1).f32(24.0f).u8(isEasing).f32(0).u32(0).f32(0).f32(1.0f / 24.0f).f32(1.0f);
        return u8(hasEasing);
    }
};

std::vector<uint8_t> saved(ISceneNode& node, bool bake = false)
{
    std::vector<uint8_t> bytes;
    AE::VectorStream out(bytes);
    node.save(out, bake);
    return bytes;
}

void loadInto(ISceneNode& node, std::vector<uint8_t> bytes)
{
    AE::VectorStream in(bytes);
    node.load(in);
    EXPECT_EQ(in.bytesLeft(), 0);
}

}  // namespace

TEST(SceneNodeStream, ADefaultGroupNodeWritesItsLayoutByteForByte)
{
    Bytes expected;
    expected.str("").str("default").str("default");
    expected.f32(0).f32(0).f32(0).f32(0).f32(0).f32(1).f32(1);  // position, rotation, pivot, scales
    expected.identity();                                         // shear
    expected.f32(0).f32(0).f32(0);                               // depth, reserved vector
    expected.u8(1);                                              // parallax
    expected.u32(0xFFFFFFFF).u32(0xFFFFFFFF);                    // colour, world colour
    expected.u8(0).u8(1).u8(0);                                  // playing, enabled, loop
    expected.u8(0).u8(0).u8(0).u8(1).u8(0).u8(0);                // reserved flags, visible, flag 5, reverse
    expected.u32(0).u32(0).u8(1);                                // range, selects camera
    expected.identity();                                         // world matrix
    expected.emptyAnimation(12, false, true);
    expected.emptyAnimation(1, true, false);  // the easing animation
    expected.u8(0);                           // not baked
    ASSERT_EQ(expected.v.size(), 299u);

    ISceneNode node;
    EXPECT_EQ(saved(node), expected.v);
}

TEST(SceneNodeStream, KeyRecordsKeepTheirPaddingAsZeros)
{
    SceneNodeAnimation::Container<bool> flags("on");
    flags.keys.push_back({true, false, 0.5f, 7, true});
    SceneNodeAnimation::Container<VQ::Vector2f> pivots("pivot");
    pivots.keys.push_back({{1, 2}, {3, 4}, 0.25f, 9, false});
    pivots.firstKey = false;
    std::vector<uint8_t> bytes;
    AE::VectorStream out(bytes);
    flags.save(out);
    pivots.save(out);

    Bytes expected;
    expected.u32(1).u8(1).u8(0).u8(0).u8(0).f32(0.5f).u32(7).u8(1).u8(0).u8(0).u8(0).u8(1).u8(1);
    expected.u32(1).f32(1).f32(2).f32(3).f32(4).f32(0.25f).u32(9).u8(0).u8(0).u8(0).u8(0).u8(1).u8(0);
    EXPECT_EQ(bytes, expected.v);

    AE::VectorStream in(bytes);
    SceneNodeAnimation::Container<bool> flagsBack("on");
    SceneNodeAnimation::Container<VQ::Vector2f> pivotsBack("pivot");
    flagsBack.load(in);
    pivotsBack.load(in);
    ASSERT_EQ(pivotsBack.keys.size(), 1u);
    EXPECT_TRUE(flagsBack.keys[0].value);
    EXPECT_TRUE(flagsBack.keys[0].smooth);
    EXPECT_EQ(pivotsBack.keys[0].tangent, VQ::Vector2f(3, 4));
    EXPECT_EQ(pivotsBack.keys[0].frame, 9u);
    EXPECT_FALSE(pivotsBack.firstKey);
}

TEST(SceneNodeStream, SaveAndLoadReproduceEveryFieldKeyFrameAndKey)
{
    ISceneNode node;
    node.fileName = "intro_xml";
    node.name = "hero";
    node.tableName = "hero_sprites";
    node.posX = 3;
    node.posY = -4;
    node.rotation = 12;
    node.pivotPoint = VQ::Vector2f(5, 6);
    node.scaleX = 2;
    node.scaleY = 0.5f;
    node.shear.m10 = 0.25f;
    node.posZ = 7;
    node.reservedVector = VQ::Vector2f(8, 9);
    node.parallaxEnabled = false;
    node.color = VQ::Color(0x80112233u);
    node.worldColor = VQ::Color(0x40445566u);
    node.playing = true;
    node.enabled = false;
    node.loop = true;
    node.reservedFlag2 = true;
    node.visible = false;
    node.reservedFlag5 = true;
    node.reverse = true;
    node.rangeFrom = 3;
    node.rangeTo = 30;
    node.selectsCamera = false;
    node.computeTransform();
    node.storeKeyFrame(0);
    node.posX = 40;
    node.storeKeyFrame(24);
    node.animation->tangentAt("posX", 1) = 1.5f;
    node.animation->weightAt("posX", 1) = 0.2f;
    node.animation->smoothAt("posX", 1) = true;
    node.animation->looped = true;
    node.animation->time = 0.3f;
    node.animation->easing->addKeyframe(12);
    node.animation->easing->floatKeyAt("mLerpCoeff", 0).value = 0.75f;
    const std::vector<uint8_t> bytes = saved(node);

    ISceneNode back;
    loadInto(back, bytes);
    EXPECT_EQ(back.fileName, "intro_xml");
    EXPECT_EQ(back.name, "hero");
    EXPECT_EQ(back.tableName, "hero_sprites");
    EXPECT_EQ(back.posX, 40);
    EXPECT_EQ(back.pivotPoint, VQ::Vector2f(5, 6));
    EXPECT_EQ(back.shear.m10, 0.25f);
    EXPECT_EQ(back.reservedVector, VQ::Vector2f(8, 9));
    EXPECT_EQ(back.color.argb(), 0x80112233u);
    EXPECT_EQ(back.worldColor.argb(), 0x40445566u);
    EXPECT_FALSE(back.enabled);
    EXPECT_TRUE(back.reservedFlag2);
    EXPECT_FALSE(back.visible);
    EXPECT_TRUE(back.reservedFlag5);
    EXPECT_EQ(back.rangeTo, 30);
    EXPECT_FALSE(back.selectsCamera);
    EXPECT_EQ(back.worldMatrix.m20, node.worldMatrix.m20);
    EXPECT_EQ(back.keyFrameNumbers(), (std::vector<uint32_t>{0, 24}));
    EXPECT_EQ(back.animation->floatKeyAt("posX", 1).value, 40);
    EXPECT_EQ(back.animation->weightAt("posX", 1), 0.2f);
    EXPECT_TRUE(back.animation->smoothAt("posX", 1));
    EXPECT_EQ(back.animation->floatKeyAt("shear10", 0).value, 0.25f);
    EXPECT_EQ(back.animation->easing->keyFrames, (std::vector<uint32_t>{12}));
    // Whatever the spot checks miss, the loaded node writes the same bytes.
    EXPECT_EQ(saved(back), bytes);

    // The loaded tracks drive the loaded node's own fields.
    back.animation->time = 1.0f;
    back.animation->update(0);
    EXPECT_EQ(back.posX, 40);
    EXPECT_EQ(node.posX, 40);
}

TEST(SceneNodeStream, BakingWritesTheValuesRelativeToTheParent)
{
    ISceneNode parent;
    parent.setPosition(10, 0);
    parent.setRotation(90);
    auto* child = new ISceneNode();
    parent.addChild(child, true);
    child->setPosition(0, 5);
    parent.updateTransform();

    const std::vector<uint8_t> plain = saved(*child);
    const std::vector<uint8_t> baked = saved(*child, true);
    EXPECT_EQ(plain.back(), 0);
    EXPECT_EQ(baked.back(), 1);
    ISceneNode back;
    loadInto(back, baked);
    EXPECT_NEAR(back.posX, 0, 1e-4f);
    EXPECT_NEAR(back.posY, 5, 1e-4f);
    EXPECT_NEAR(back.rotation, 0, 1e-3f);
    EXPECT_NEAR(back.scaleX, 1, 1e-5f);
    EXPECT_NEAR(back.shear.m00, 1, 1e-5f);
    EXPECT_NEAR(back.shear.m10, 0, 1e-5f);

    // A parentless node is never baked.
    EXPECT_EQ(saved(parent, true).back(), 0);
}

TEST(SceneNodeStream, CountsAndKeysTheStreamCannotHoldAreRefused)
{
    ISceneNode node;
    node.storeKeyFrame(0);
    node.storeKeyFrame(10);
    const std::vector<uint8_t> good = saved(node);
    const size_t firstTrack = 1 + 8 + 8 + 139;  // strings and node fields

    auto withCount = [&](size_t at, uint32_t count) {
        std::vector<uint8_t> bytes = good;
        std::memcpy(bytes.data() + at, &count, 4);
        return bytes;
    };
    // A track's key count: huge, negative, and one key short of the key frames.
    const std::vector<std::vector<uint8_t>> damaged = {
        withCount(firstTrack, 0x7FFFFFFF),
        withCount(firstTrack, 0xFFFFFFFF),
        withCount(firstTrack, 1),
        std::vector<uint8_t>(good.begin(), good.begin() + 200),
    };
    for (const auto& bytes : damaged) {
        ISceneNode back;
        EXPECT_EQ(catchFatal([&] { loadInto(back, bytes); }).description, "Read data from out of range!");
    }

    // An easing animation holding an easing of its own.
    SceneNodeAnimation plain(true);
    std::vector<uint8_t> bytes;
    AE::VectorStream out(bytes);
    plain.write(out);
    bytes.back() = 1;
    AE::VectorStream in(bytes);
    SceneNodeAnimation back(true);
    EXPECT_EQ(catchFatal([&] { back.read(in); }).description, "Read data from out of range!");
}

TEST(SceneNodeStream, ATrackAScriptNeverNamedRoundTripsWithoutKeys)
{
    ISceneNode node;
    node.storeKeyFrame(0);
    auto& posZ = *node.animation->findTrack("posZ");
    posZ.clearKeys();
    posZ.present = false;
    posZ.firstKey = false;
    ISceneNode back;
    loadInto(back, saved(node));
    EXPECT_FALSE(back.animation->findTrack("posZ")->present);
    EXPECT_EQ(back.animation->findTrack("posZ")->keyCount(), 0u);
}
