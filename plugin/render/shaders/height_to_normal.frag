#version 410 core
// A height map (the mean of red, green and blue) turned into a tangent-space normal map by Sobel filters.
in vec2 textureCoords;
uniform sampler2D textureSampler;
uniform vec2 pixelSize;
uniform vec2 scaleFactor;  // across, down
out vec4 outColor;

float height(float dx, float dy) {
    vec3 c = texture(textureSampler, textureCoords + vec2(dx, dy) * pixelSize).rgb;
    return (c.r + c.g + c.b) / 3.0;
}

void main() {
    // Image rows run top to bottom in texture space: the top row is one pixel towards smaller t.
    float topLeft = height(-1.0, -1.0), top = height(0.0, -1.0), topRight = height(1.0, -1.0);
    float left = height(-1.0, 0.0), right = height(1.0, 0.0);
    float bottomLeft = height(-1.0, 1.0), bottom = height(0.0, 1.0), bottomRight = height(1.0, 1.0);

    float rightColumn = topRight + 2.0 * right + bottomRight;
    float leftColumn = topLeft + 2.0 * left + bottomLeft;
    float bottomRow = bottomLeft + 2.0 * bottom + bottomRight;
    float topRow = topLeft + 2.0 * top + topRight;

    vec3 n = normalize(vec3(-(rightColumn - leftColumn) * scaleFactor.x, -(bottomRow - topRow) * scaleFactor.y, 0.5));
    outColor = vec4((n + 1.0) / 2.0, 1.0);
}
