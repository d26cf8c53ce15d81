#include <gtest/gtest.h>

#include <cmath>

#include "matrix4.h"

using VQ::Matrix4;

namespace {

void expectPoint(const Matrix4& m, float x, float y, float ex, float ey)
{
    float out[4];
    m.transformPoint(x, y, 0, out);
    EXPECT_NEAR(out[0], ex, 1e-5f);
    EXPECT_NEAR(out[1], ey, 1e-5f);
}

}  // namespace

TEST(Matrix4, OrthoOffCenterLeftHandedMapsTheBoxOntoClipSpace)
{
    const Matrix4 o = Matrix4::orthoOffCenterLH(0, 800, 0, 600, 0, 128);
    Matrix4 expected;
    expected.m[0][0] = 2.0f / 800;
    expected.m[1][1] = 2.0f / 600;
    expected.m[2][2] = 1.0f / 128;
    expected.m[3][0] = -1;
    expected.m[3][1] = -1;
    expected.m[3][3] = 1;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_FLOAT_EQ(o.m[i][j] + 1.0f, expected.m[i][j] + 1.0f) << i << "," << j;
    float out[4];
    o.transformPoint(0, 0, 128, out);
    EXPECT_FLOAT_EQ(out[2], 1.0f);
}

TEST(Matrix4, ProductsApplyLeftToRight)
{
    // (1, 0) moved by 2 then scaled by 3 is 9; scaled then moved is 5.
    expectPoint(Matrix4::translation(2, 0, 0) * Matrix4::scaling(3, 3, 1), 1, 0, 9, 0);
    expectPoint(Matrix4::scaling(3, 3, 1) * Matrix4::translation(2, 0, 0), 1, 0, 5, 0);
    expectPoint(Matrix4::rotationZ(float(M_PI / 2)), 1, 0, 0, 1);
    expectPoint(Matrix4::identity() * Matrix4::translation(4, 5, 0), 1, 1, 5, 6);
    const Matrix4 t = Matrix4::translation(4, 5, 6);
    EXPECT_EQ(t.transposed().m[0][3], 4.0f);
    EXPECT_EQ(t.transposed().transposed(), t);
}
