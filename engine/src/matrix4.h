#pragma once
// 4x4 float matrix in the row-vector convention the renderer's transforms are
// written in: a point p maps to p x M, and M1 x M2 applies M1 first. Rows are
// stored one after the other, the layout the graphics device takes as is.

namespace VQ {

struct Matrix4 {
    float m[4][4] = {};

    static Matrix4 identity();
    // Left-handed orthographic projection of the box [l, r] x [b, t] x [zn, zf]
    // onto x, y in [-1, 1] and z in [0, 1].
    static Matrix4 orthoOffCenterLH(float l, float r, float b, float t, float zn, float zf);
    static Matrix4 scaling(float sx, float sy, float sz);
    static Matrix4 translation(float tx, float ty, float tz);
    // Counter-clockwise about z in a y-up frame, angle in radians.
    static Matrix4 rotationZ(float radians);

    Matrix4 operator*(const Matrix4& o) const;
    Matrix4 transposed() const;
    bool operator==(const Matrix4& o) const;

    // The point (x, y, z, 1) times this matrix, perspective divide left out.
    void transformPoint(float x, float y, float z, float out[4]) const;
};

}  // namespace VQ
