#include <gtest/gtest.h>

#include "render_data.h"

using namespace VQ;

namespace {

struct CountingTexture : TextureBase {
    int released = 0;
    void releaseReference() override
    {
        ++released;
        TextureBase::releaseReference();
    }
};

}  // namespace

TEST(RenderData, CopiesHoldTheirOwnVerticesAndTextureReferences)
{
    CountingTexture a, b;
    {
        RenderData original;
        original.allocateVertices(4, 24)[0] = 7;
        original.textures = {&a, nullptr};
        a.addReference();
        original.primitiveKind = PRIMITIVE_LINES;
        original.blendMode = BLEND_ADD;
        original.addressMode = ADDRESS_CLAMP;

        RenderData copy(original);
        EXPECT_EQ(a.mRefCount, 2);
        ASSERT_EQ(copy.vertexCount(), 4u);
        EXPECT_NE(copy.vertices.get(), original.vertices.get());
        EXPECT_EQ(copy.vertices->bytes, original.vertices->bytes);
        EXPECT_EQ(copy.textures.size(), 2u);
        EXPECT_EQ(copy.primitiveKind, PRIMITIVE_LINES);
        EXPECT_EQ(copy.blendMode, BLEND_ADD);
        EXPECT_EQ(copy.addressMode, ADDRESS_CLAMP);

        RenderData other;
        other.textures = {&b};
        b.addReference();
        copy.addTextureReferences(other);
        EXPECT_EQ(b.mRefCount, 2);
        EXPECT_EQ(copy.textures.size(), 3u);
        copy.addTextureReferences(original);  // the null entry is not appended
        EXPECT_EQ(copy.textures.size(), 4u);

        copy.releaseTextures();
        EXPECT_TRUE(copy.textures.empty());
        EXPECT_EQ(a.mRefCount, 1);
        EXPECT_EQ(b.mRefCount, 1);
    }
    // Destruction gives back what is left.
    EXPECT_EQ(a.mRefCount, 0);
    EXPECT_EQ(b.mRefCount, 0);
    EXPECT_EQ(a.released, 3);
}

TEST(RenderData, NewDataIsEmptyQuadsWithAlphaBlendAndWrap)
{
    RenderData data;
    EXPECT_EQ(data.vertices, nullptr);
    EXPECT_TRUE(data.textures.empty());
    EXPECT_EQ(data.primitiveKind, PRIMITIVE_QUADS);
    EXPECT_EQ(data.blendMode, BLEND_ALPHA);
    EXPECT_EQ(data.addressMode, ADDRESS_WRAP);
}
