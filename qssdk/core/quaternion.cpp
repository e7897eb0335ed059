#include "quaternion.h"

#include <emmintrin.h>

namespace qssdk {

namespace {

inline __m128 splat(float v) { return _mm_set1_ps(v); }

// Cephes-style single precision: reduce by multiples of pi/4 in three parts, then one of two polynomials.
void sincos_ps(__m128 x, __m128* s, __m128* c) {
    const __m128 sign_mask = _mm_castsi128_ps(_mm_set1_epi32(static_cast<int>(0x80000000u)));
    __m128 sign_bit_sin = _mm_and_ps(x, sign_mask);
    x = _mm_andnot_ps(sign_mask, x);

    __m128i j = _mm_cvttps_epi32(_mm_mul_ps(x, splat(1.27323954f)));
    j = _mm_and_si128(_mm_add_epi32(j, _mm_set1_epi32(1)), _mm_set1_epi32(~1));
    const __m128 y = _mm_cvtepi32_ps(j);

    const __m128 swap_sign_bit_sin = _mm_castsi128_ps(_mm_slli_epi32(_mm_and_si128(j, _mm_set1_epi32(4)), 29));
    const __m128 poly_mask =
        _mm_castsi128_ps(_mm_cmpeq_epi32(_mm_and_si128(j, _mm_set1_epi32(2)), _mm_setzero_si128()));
    const __m128i j_cos = _mm_sub_epi32(j, _mm_set1_epi32(2));
    const __m128 sign_bit_cos =
        _mm_castsi128_ps(_mm_slli_epi32(_mm_andnot_si128(j_cos, _mm_set1_epi32(4)), 29));
    sign_bit_sin = _mm_xor_ps(sign_bit_sin, swap_sign_bit_sin);

    x = _mm_add_ps(x, _mm_mul_ps(y, splat(-0.78515625f)));
    x = _mm_add_ps(x, _mm_mul_ps(y, splat(-2.4187564849853515625e-4f)));
    x = _mm_add_ps(x, _mm_mul_ps(y, splat(-3.77489497744594108e-8f)));
    const __m128 z = _mm_mul_ps(x, x);

    __m128 cosine = splat(2.443315711809948e-5f);
    cosine = _mm_add_ps(_mm_mul_ps(cosine, z), splat(-1.388731625493765e-3f));
    cosine = _mm_add_ps(_mm_mul_ps(cosine, z), splat(4.166664568298827e-2f));
    cosine = _mm_mul_ps(_mm_mul_ps(cosine, z), z);
    cosine = _mm_sub_ps(cosine, _mm_mul_ps(z, splat(0.5f)));
    cosine = _mm_add_ps(cosine, splat(1.0f));

    __m128 sine = splat(-1.9515295891e-4f);
    sine = _mm_add_ps(_mm_mul_ps(sine, z), splat(8.3321608736e-3f));
    sine = _mm_add_ps(_mm_mul_ps(sine, z), splat(-1.6666654611e-1f));
    sine = _mm_add_ps(_mm_mul_ps(_mm_mul_ps(sine, z), x), x);

    // Bit 1 of j decides which polynomial is the sine and which the cosine.
    const __m128 s_out = _mm_or_ps(_mm_and_ps(poly_mask, sine), _mm_andnot_ps(poly_mask, cosine));
    const __m128 c_out = _mm_or_ps(_mm_and_ps(poly_mask, cosine), _mm_andnot_ps(poly_mask, sine));
    *s = _mm_xor_ps(s_out, sign_bit_sin);
    *c = _mm_xor_ps(c_out, sign_bit_cos);
}

}  // namespace

void sincos4(const float in[4], float sines[4], float cosines[4]) {
    __m128 s, c;
    sincos_ps(_mm_loadu_ps(in), &s, &c);
    _mm_storeu_ps(sines, s);
    _mm_storeu_ps(cosines, c);
}

quaternion quaternion_from_euler(const euler_angles& angles) {
    alignas(16) float half[4] = {angles.x * 0.5f, angles.y * 0.5f, angles.z * 0.5f, angles.unused * 0.5f};
    alignas(16) float s[4], c[4];
    sincos4(half, s, c);
    const float sx = s[0], sy = s[1], sz = s[2], cx = c[0], cy = c[1], cz = c[2];
    return quaternion{sx * cy * cz - cx * sy * sz, cx * sy * cz + sx * cy * sz, cx * cy * sz - sx * sy * cz,
                      cx * cy * cz + sx * sy * sz};
}

}  // namespace qssdk
