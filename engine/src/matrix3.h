#pragma once
// 3x3 float matrix for 2D affine transforms, row-major and used with row
// vectors: a point (x, y) maps to (x*m00 + y*m10 + m20, x*m01 + y*m11 + m21),
// and A * B applies A first. Scene nodes build their transforms with it and
// write it to byte streams as nine floats row by row.

namespace VQ {

struct Matrix3 {
    float m00 = 1, m01 = 0, m02 = 0;
    float m10 = 0, m11 = 1, m12 = 0;
    float m20 = 0, m21 = 0, m22 = 1;

    static Matrix3 identity() { return Matrix3(); }
    static Matrix3 translation(float x, float y);
    static Matrix3 scaling(float sx, float sy);
    // Rows (cos a, sin a, 0), (-sin a, cos a, 0), (0, 0, 1).
    static Matrix3 rotation(float radians);

    Matrix3 operator*(const Matrix3& o) const;
    // The identity when the matrix cannot be inverted.
    Matrix3 inverse() const;
    void transformPoint(float x, float y, float& outX, float& outY) const;
};

static_assert(sizeof(Matrix3) == 36, "Matrix3 is nine packed floats");

}  // namespace VQ
