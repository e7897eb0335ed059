#version 410 core
// One face of a cube map sampled from an equirectangular image: the face texel's direction becomes a
// longitude and latitude.
in vec2 textureCoords;
uniform sampler2D textureSampler;
uniform vec3 initialCoord;
uniform vec3 coordIncX;
uniform vec3 coordIncY;
out vec4 outColor;

void main() {
    vec3 d = initialCoord + textureCoords.x * coordIncX + textureCoords.y * coordIncY;
    float s = atan(d.x, d.z) / 6.28318531 + 0.5;
    float t = atan(d.y, length(d.xz)) / 3.1415 + 0.5;
    // Explicit gradients: at the longitude seam s jumps from 1 to 0, and implicit ones would pick the
    // smallest mip level there.
    vec2 gradX = vec2(length(dFdx(d.xy)) / 6.28318531, dFdx(t));
    vec2 gradY = vec2(length(dFdy(d.xy)) / 6.28318531, dFdy(t));
    outColor = textureGrad(textureSampler, vec2(s, t), gradX, gradY);
}
