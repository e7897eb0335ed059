#version 330
// The full-screen quad: the unit square spread over the viewport, its corners as texture coordinates.
layout(location = 0) in vec2 inPosition;
out vec2 textureCoords;

void main() {
    gl_Position = vec4(2.0 * inPosition - 1.0, 0.0, 1.0);
    textureCoords = inPosition;
}
