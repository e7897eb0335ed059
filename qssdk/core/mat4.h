// 4x4 float matrices in rows of four (entry (r, c) at index 4r + c), handed to OpenGL as they lie.
#pragma once

namespace qssdk {

struct quaternion;

struct alignas(16) mat4 {
    float m[16] = {};  // zero, like the zero-filled records that hold matrices

    static constexpr mat4 identity() { return mat4{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}; }

    float& operator[](int i) { return m[i]; }
    float operator[](int i) const { return m[i]; }
    float& at(int row, int column) { return m[4 * row + column]; }
    float at(int row, int column) const { return m[4 * row + column]; }

    // this = this x other.
    mat4& operator*=(const mat4& other);

    bool operator==(const mat4&) const = default;
};

inline mat4 operator*(mat4 a, const mat4& b) { return a *= b; }

// The general inverse by cofactors; a singular matrix (determinant 0 or not a number) comes back unchanged.
mat4 inverse(const mat4& m);

// The rotation of q; q is not normalised first.
mat4 mat4_from_quaternion(const quaternion& q);

}  // namespace qssdk
