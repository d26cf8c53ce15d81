#include "matrix3.h"

#include <cmath>

namespace VQ {

Matrix3 Matrix3::translation(float x, float y)
{
    Matrix3 t;
    t.m20 = x;
    t.m21 = y;
    return t;
}

Matrix3 Matrix3::scaling(float sx, float sy)
{
    Matrix3 s;
    s.m00 = sx;
    s.m11 = sy;
    return s;
}

Matrix3 Matrix3::rotation(float radians)
{
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    Matrix3 r;
    r.m00 = c;
    r.m01 = s;
    r.m10 = -s;
    r.m11 = c;
    return r;
}

Matrix3 Matrix3::operator*(const Matrix3& o) const
{
    Matrix3 r;
    r.m00 = m00 * o.m00 + m01 * o.m10 + m02 * o.m20;
    r.m01 = m00 * o.m01 + m01 * o.m11 + m02 * o.m21;
    r.m02 = m00 * o.m02 + m01 * o.m12 + m02 * o.m22;
    r.m10 = m10 * o.m00 + m11 * o.m10 + m12 * o.m20;
    r.m11 = m10 * o.m01 + m11 * o.m11 + m12 * o.m21;
    r.m12 = m10 * o.m02 + m11 * o.m12 + m12 * o.m22;
    r.m20 = m20 * o.m00 + m21 * o.m10 + m22 * o.m20;
    r.m21 = m20 * o.m01 + m21 * o.m11 + m22 * o.m21;
    r.m22 = m20 * o.m02 + m21 * o.m12 + m22 * o.m22;
    return r;
}

Matrix3 Matrix3::inverse() const
{
    const float c00 = m11 * m22 - m12 * m21;
    const float c01 = m12 * m20 - m10 * m22;
    const float c02 = m10 * m21 - m11 * m20;
    const float det = m00 * c00 + m01 * c01 + m02 * c02;
    if (det == 0.0f || !std::isfinite(det))
        return Matrix3();
    const float inv = 1.0f / det;
    Matrix3 r;
    r.m00 = c00 * inv;
    r.m01 = (m02 * m21 - m01 * m22) * inv;
    r.m02 = (m01 * m12 - m02 * m11) * inv;
    r.m10 = c01 * inv;
    r.m11 = (m00 * m22 - m02 * m20) * inv;
    r.m12 = (m02 * m10 - m00 * m12) * inv;
    r.m20 = c02 * inv;
    r.m21 = (m01 * m20 - m00 * m21) * inv;
    r.m22 = (m00 * m11 - m01 * m10) * inv;
    return r;
}

void Matrix3::transformPoint(float x, float y, float& outX, float& outY) const
{
    outX = x * m00 + y * m10 + m20;
    outY = x * m01 + y * m11 + m21;
}

}  // namespace VQ
