#version 410 core
// One face level of the roughness-prefiltered cube map: the mean of the cube along importance-sampled
// reflection directions, weighted by their cosine to the texel's direction.
in vec2 textureCoords;
uniform samplerCube textureSampler;
uniform sampler2D samplesSampler;  // one row of tangent-space half-vectors per roughness layer
uniform vec3 initialCoord;
uniform vec3 coordIncX;
uniform vec3 coordIncY;
uniform float sampleLod;
uniform uint numSamples;
uniform uint roughnessLayer;
out vec4 outColor;

void main() {
    vec3 N = normalize(initialCoord + textureCoords.x * coordIncX + textureCoords.y * coordIncY);
    vec3 up = abs(N.z) < 0.999 ? vec3(0.0, 0.0, 1.0) : vec3(1.0, 0.0, 0.0);
    vec3 tangentX = normalize(cross(up, N));
    vec3 tangentY = cross(N, tangentX);

    vec4 sum = vec4(0.0);
    float weight = 0.0;
    for (uint i = 0u; i < numSamples; ++i) {
        vec3 p = texelFetch(samplesSampler, ivec2(int(i), int(roughnessLayer)), 0).xyz;
        vec3 H = tangentX * p.x + tangentY * p.y + N * p.z;
        vec3 L = reflect(-N, H);
        float nl = dot(N, L);
        if (nl > 0.0) {
            sum += textureLod(textureSampler, L, sampleLod) * nl;
            weight += nl;
        }
    }
    outColor = weight > 0.0 ? sum / weight : vec4(0.0);
}
