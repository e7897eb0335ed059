#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "mat4.h"
#include "quaternion.h"

namespace {

using qssdk::mat4;

void expectNear(const mat4& a, const mat4& b, float tolerance) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(a[i], b[i], tolerance) << "entry " << i;
}

mat4 sample(float seed) {
    mat4 m;
    for (int i = 0; i < 16; ++i) m[i] = std::sin(seed * (i + 1)) * 3.0f + (i % 5 == 0 ? 4.0f : 0.0f);
    return m;
}

TEST(Mat4, ProductIsThisTimesOther) {
    mat4 a, b;
    for (int i = 0; i < 16; ++i) {
        a[i] = static_cast<float>(i + 1);
        b[i] = static_cast<float>((i * 7) % 11 - 5);
    }
    mat4 expected;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a.at(r, k) * b.at(k, c);
            expected.at(r, c) = sum;
        }
    mat4 product = a;
    product *= b;
    EXPECT_EQ(product, expected);
    EXPECT_NE(b * a, expected) << "the order matters";
}

TEST(Mat4, IdentityLeavesAMatrixUnchanged) {
    const mat4 m = sample(0.7f);
    EXPECT_EQ(m * mat4::identity(), m);
    EXPECT_EQ(mat4::identity() * m, m);
    EXPECT_EQ(qssdk::inverse(mat4::identity()), mat4::identity());
}

TEST(Mat4, InverseTimesMatrixIsTheIdentity) {
    for (float seed : {0.3f, 1.1f, 2.9f, 5.0f}) {
        const mat4 m = sample(seed);
        expectNear(qssdk::inverse(m) * m, mat4::identity(), 1e-4f);
        expectNear(m * qssdk::inverse(m), mat4::identity(), 1e-4f);
    }
}

TEST(Mat4, ASingularMatrixComesBackUnchanged) {
    const mat4 singular{{1, 2, 3, 4, 5, 6, 7, 8, 2, 4, 6, 8, 0, 1, 0, 1}};  // row 2 is twice row 0
    EXPECT_EQ(qssdk::inverse(singular), singular);
    EXPECT_EQ(qssdk::inverse(mat4{}), mat4{});
}

TEST(Quaternion, FromEulerAngles) {
    const float pi = 3.14159265f;
    const struct {
        qssdk::euler_angles angles;
        qssdk::quaternion expected;
    } cases[] = {
        {{0, 0, 0, 0}, {0, 0, 0, 1}},
        {{pi, 0, 0, 0}, {1, 0, 0, 0}},
        {{pi / 2, 0, 0, 0}, {0.70710678f, 0, 0, 0.70710678f}},
        {{0, pi / 2, 0, 0}, {0, 0.70710678f, 0, 0.70710678f}},
        {{0, 0, -pi / 2, 0}, {0, 0, -0.70710678f, 0.70710678f}},
    };
    for (const auto& c : cases) {
        const qssdk::quaternion q = qssdk::quaternion_from_euler(c.angles);
        EXPECT_NEAR(q.x, c.expected.x, 1e-6f);
        EXPECT_NEAR(q.y, c.expected.y, 1e-6f);
        EXPECT_NEAR(q.z, c.expected.z, 1e-6f);
        EXPECT_NEAR(q.w, c.expected.w, 1e-6f);
    }
}

TEST(Quaternion, RotationMatrix) {
    EXPECT_EQ(qssdk::mat4_from_quaternion({0, 0, 0, 1}), mat4::identity());
    // 90 degrees about Z in the row layout: row 0 is (0, 1, 0, 0), row 1 is (-1, 0, 0, 0).
    const mat4 r = qssdk::mat4_from_quaternion({0, 0, 0.70710678f, 0.70710678f});
    const mat4 expected{{0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    expectNear(r, expected, 1e-6f);
    // Not normalised first: a doubled quaternion is not a rotation.
    EXPECT_NEAR(qssdk::mat4_from_quaternion({0, 0, 0, 2}).at(0, 0), 1.0f, 0.0f);
    EXPECT_NEAR(qssdk::mat4_from_quaternion({2, 0, 0, 0}).at(1, 1), -7.0f, 0.0f);
}

TEST(Quaternion, FourLaneSineAndCosineMatchTheLibrary) {
    std::vector<float> angles;
    for (float a = -20.0f; a <= 20.0f; a += 0.01f) angles.push_back(a);
    for (float a : {0.0f, -0.0f, 1e-7f, 3.14159265f, -3.14159265f, 100.0f, -100.0f, 1000.0f, -1000.0f, 4096.5f,
                    -8000.25f, 0.785398163f, 2.35619449f})
        angles.push_back(a);
    while (angles.size() % 4) angles.push_back(0.0f);
    for (size_t i = 0; i < angles.size(); i += 4) {
        float s[4], c[4];
        qssdk::sincos4(&angles[i], s, c);
        for (int lane = 0; lane < 4; ++lane) {
            const double a = angles[i + lane];
            ASSERT_NEAR(s[lane], std::sin(a), 1e-6) << "sin " << a;
            ASSERT_NEAR(c[lane], std::cos(a), 1e-6) << "cos " << a;
        }
    }
}

}  // namespace
