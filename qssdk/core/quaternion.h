// Rotation quaternions and the four-lane sine and cosine they are made with.
#pragma once

namespace qssdk {

struct alignas(16) quaternion {
    float x = 0, y = 0, z = 0, w = 1;
};

// Euler angles in radians: x, y, z and an ignored fourth lane.
struct alignas(16) euler_angles {
    float x = 0, y = 0, z = 0, unused = 0;
};

quaternion quaternion_from_euler(const euler_angles& angles);

// Sine and cosine of four floats at once (single-precision polynomial after a three-part reduction).
void sincos4(const float in[4], float sines[4], float cosines[4]);

}  // namespace qssdk
