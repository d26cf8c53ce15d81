#include "matrix4.h"

#include <cmath>

namespace VQ {

Matrix4 Matrix4::identity()
{
    Matrix4 r;
    for (int i = 0; i < 4; ++i)
        r.m[i][i] = 1.0f;
    return r;
}

Matrix4 Matrix4::orthoOffCenterLH(float l, float r, float b, float t, float zn, float zf)
{
    Matrix4 o;
    o.m[0][0] = 2.0f / (r - l);
    o.m[1][1] = 2.0f / (t - b);
    o.m[2][2] = 1.0f / (zf - zn);
    o.m[3][0] = (l + r) / (l - r);
    o.m[3][1] = (t + b) / (b - t);
    o.m[3][2] = zn / (zn - zf);
    o.m[3][3] = 1.0f;
    return o;
}

Matrix4 Matrix4::scaling(float sx, float sy, float sz)
{
    Matrix4 s;
    s.m[0][0] = sx;
    s.m[1][1] = sy;
    s.m[2][2] = sz;
    s.m[3][3] = 1.0f;
    return s;
}

Matrix4 Matrix4::translation(float tx, float ty, float tz)
{
    Matrix4 t = identity();
    t.m[3][0] = tx;
    t.m[3][1] = ty;
    t.m[3][2] = tz;
    return t;
}

Matrix4 Matrix4::rotationZ(float radians)
{
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    Matrix4 z = identity();
    z.m[0][0] = c;
    z.m[0][1] = s;
    z.m[1][0] = -s;
    z.m[1][1] = c;
    return z;
}

Matrix4 Matrix4::operator*(const Matrix4& o) const
{
    Matrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = m[i][0] * o.m[0][j] + m[i][1] * o.m[1][j] + m[i][2] * o.m[2][j] + m[i][3] * o.m[3][j];
    return r;
}

Matrix4 Matrix4::transposed() const
{
    Matrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = m[j][i];
    return r;
}

bool Matrix4::operator==(const Matrix4& o) const
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (m[i][j] != o.m[i][j])
                return false;
    return true;
}

void Matrix4::transformPoint(float x, float y, float z, float out[4]) const
{
    for (int j = 0; j < 4; ++j)
        out[j] = x * m[0][j] + y * m[1][j] + z * m[2][j] + m[3][j];
}

}  // namespace VQ
