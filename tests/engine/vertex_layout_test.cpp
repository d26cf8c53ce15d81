#include <gtest/gtest.h>

#include "vertex_layout.h"

using namespace VQ;

TEST(VertexLayout, StrideOffsetsAndFixedFunctionCodeFollowTheFormatBits)
{
    struct Case {
        uint32_t format;
        uint32_t stride;
        uint32_t diffuse, texcoord0, texcoord1;
        uint32_t fvf;
    } cases[] = {
        {21, 24, 12, 16, 24, 0x142},
        {23, 36, 24, 28, 36, 0x152},
        {5, 16, 12, 16, 16, 0x042},   // absent coordinates stand where they would be
        {49, 28, 12, 12, 20, 0x202},  // two coordinate sets, no colour
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        const VertexLayout l = describeVertexLayout(c.format);
        EXPECT_EQ(l.stride, c.stride);
        EXPECT_EQ(l.offsets[VC_POSITION], 0u);
        EXPECT_EQ(l.offsets[VC_DIFFUSE], c.diffuse);
        EXPECT_EQ(l.offsets[VC_TEXCOORD0], c.texcoord0);
        EXPECT_EQ(l.offsets[VC_TEXCOORD0 + 1], c.texcoord1);
        EXPECT_EQ(vertexFormatToFVF(c.format), c.fvf);
        EXPECT_EQ(computeVertexLayout(c.format), c.stride);
        EXPECT_EQ(currentVertexLayout().format, c.format);
    }
    computeVertexLayout(VERTEX_FORMAT_DEFAULT);
}
