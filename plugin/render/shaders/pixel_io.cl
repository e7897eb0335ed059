// Moves pixels between host buffers (alpha, red, green, blue) and float RGBA images. The program is built
// once per host channel width, with OUTPUT_BPC defined as 32, 16 or 8 in front of this text.
// Host rows may start at any byte, so pixels go through vload4/vstore4, which need only channel alignment.

#if OUTPUT_BPC == 32
#define CHANNEL_TYPE float
#elif OUTPUT_BPC == 16
#define CHANNEL_TYPE ushort
#else
#define CHANNEL_TYPE uchar
#endif

__constant sampler_t pixelSampler = CLK_FILTER_NEAREST | CLK_NORMALIZED_COORDS_FALSE | CLK_ADDRESS_CLAMP;

// 2^127.99 is the largest power of two the output takes, just below the largest float.
__constant float maxExponent = 127.99f;

// NaN, told by its bits: the fast-math build may assume that float comparisons never meet it.
int4 notANumber(float4 v)
{
    return (as_int4(v) & 0x7fffffff) > 0x7f800000;
}

// Un-premultiplies, applies gamma and converts to the host's channel width. The conversions saturate and
// round toward zero; 16-bit host channels span 0..32768, so full scale lands on 32767.
kernel void output(read_only image2d_t inImage, global uchar* outData, uint rowBytes, const float gamma)
{
    const int x = get_global_id(0);
    const int y = get_global_id(1);
    float4 pixel = read_imagef(inImage, pixelSampler, (int2)(x, y));
    // Drawing can leave NaN and infinities (a half float that overflowed): NaN counts as 0, an infinity as
    // the largest half float of its sign, and a negative colour as 0.
    pixel = clamp(select(pixel, (float4)(0.0f), notANumber(pixel)), -65504.0f, 65504.0f);
    const float alpha = clamp(pixel.w, 0.0f, 1.0f);
    float3 color = max(pixel.xyz, 0.0f);
    if (alpha > 0.0f)
        color /= alpha;
    // pow(c, gamma); a CPU device's pow takes several times as long, and is most of the kernel's time
    // there. A large gamma (a small "Gamma") would leave float range: the power is held below 2^128.
    color = exp2(fmin(gamma * log2(color), maxExponent));
    color = select(color, (float3)(0.0f), notANumber((float4)(color, 0.0f)).xyz);
    const float4 value = (float4)(alpha, color);
    global CHANNEL_TYPE* row = (global CHANNEL_TYPE*)(outData + y * rowBytes);
#if OUTPUT_BPC == 32
    vstore4(value, x, row);
#elif OUTPUT_BPC == 16
    vstore4(convert_ushort4_sat(value * 65535.0f) / (ushort4)(2), x, row);
#else
    vstore4(convert_uchar4_sat(value * 255.0f), x, row);
#endif
}

kernel void input(write_only image2d_t outImage, global uchar* inData, uint rowBytes)
{
    const int x = get_global_id(0);
    const int y = get_global_id(1);
    const global CHANNEL_TYPE* row = (const global CHANNEL_TYPE*)(inData + y * rowBytes);
#if OUTPUT_BPC == 32
    const float4 argb = vload4(x, row);
#elif OUTPUT_BPC == 16
    const float4 argb = convert_float4(vload4(x, row)) / 32767.0f;
#else
    const float4 argb = convert_float4(vload4(x, row)) / 255.0f;
#endif
    write_imagef(outImage, (int2)(x, y), argb.yzwx);
}
