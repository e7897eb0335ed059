#version 330
// Copies a texture onto the target.
in vec2 textureCoords;
uniform sampler2D textureSampler;
out vec4 outColor;

void main() {
    outColor = texture(textureSampler, textureCoords);
}
