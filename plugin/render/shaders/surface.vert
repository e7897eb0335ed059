#version 330

// The sphere's vertex stage: hands the fragment stage the model-space position and normal (for UV
// mapping and the hemisphere cut), the world position and the world normal and tangent (for lighting).

layout(location = 0) in vec4 inPosition;  // the buffer holds x, y, z; w comes in as 1
layout(location = 1) in vec2 inTexCoords;
layout(location = 2) in vec3 inNormal;
layout(location = 3) in vec4 inTangent;   // w: handedness of the bitangent

layout(std140) uniform TransformMatrices {
    mat4 viewMatrix;
    mat4 projMatrix;
    vec2 viewSize;
};

uniform mat4 modelMatrix;
uniform mat4 normalMatrix;
uniform int flattenBottom;  // read by the fragment stage

out vec3 originalPosition;
out vec3 vertexPosition;
out vec3 vertexNormal;
out vec3 pixelPosition;
out vec3 normal;
out vec4 tangent;

void main() {
    vec4 world = modelMatrix * inPosition;
    gl_Position = projMatrix * viewMatrix * world;
    originalPosition = inPosition.xyz;
    vertexPosition = inPosition.xyz;
    vertexNormal = inNormal;
    pixelPosition = world.xyz;
    normal = mat3(normalMatrix) * inNormal;
    tangent = vec4(mat3(modelMatrix) * inTangent.xyz, inTangent.w);
}
