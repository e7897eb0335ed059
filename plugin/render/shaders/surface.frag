#version 330

// The sphere's lighting model: the maps through the chosen UV projection, the bump or normal map, the
// comp lights with a microfacet specular term, the prefiltered environment, self-illumination split
// between the lit and the shadowed side, and the fall-off towards the silhouette. Output is premultiplied.

const float PI = 3.1415926536;
const int maxLights = 8;
const float environmentLevels = 6.0;  // prefiltered roughness levels of the environment cube

struct Light {
    vec4 position;
    vec4 direction;
    vec4 color;  // colour times intensity
    int lightType;  // 0 parallel, 1 spot, 2 point
    int falloffType;
    float falloff;
    float spotConeCos;  // cosine of half the cone angle
    float spotFeather;
};

layout(std140) uniform Lights {
    int numLights;
    vec4 ambientLights;
    Light lights[maxLights];
};

uniform vec3 eyePosition;
uniform mat4 normalMatrix;
uniform mat4 environmentRotation;
uniform int flattenBottom;
uniform int unlitMode;

uniform int uvType;  // 1 spherical, 2 box, 3 plane XY, 4 plane XZ, else plane ZY
uniform vec2 uvRepeat;
uniform vec2 uvOffset;
uniform vec2 uvRotation;  // cos, sin of the angle
uniform float uvFeathering;  // exponent of the box weights

// Each use... value is the texture name of its map, 0 when the map is absent.
uniform int useDiffuseTexture;
uniform int useGlossinessTexture;
uniform int useIlluminationTexture;
uniform int useNormalTexture;
uniform int useEnvironmentTexture;
uniform sampler2D diffuseSampler;
uniform sampler2D glossinessSampler;
uniform sampler2D illuminationSampler;
uniform sampler2D normalSampler;
uniform samplerCube environmentSampler;

uniform vec4 modelColor;
uniform float diffuseBlend;
uniform float diffuseGamma;
uniform float diffuseBrightness;
uniform float diffuseAmount;
uniform float ambientAmount;
uniform float glossinessAmount;
uniform float glossinessGamma;
uniform float glossinessBrightness;
uniform float specularAmount;
uniform float reflectivityAmount;
uniform float environmentGamma;
uniform float environmentBrightness;
uniform float normalAmount;
uniform float normalInvertGreen;  // -1 flips the map's green channel
uniform float clipLighting;

uniform vec4 illuminationColor;
uniform float illuminationGamma;
uniform float illuminationBrightness;
uniform float illuminationFresnel;
uniform float illuminationFresnelBias;
uniform float illuminationShadowLight;
uniform float illuminationShadowLightContrast;
uniform float illuminationShadowLightExpand;
uniform float illuminationBumpInfluence;

uniform float edgeFeather;
uniform float edgeShrink;

in vec3 originalPosition;
in vec3 vertexPosition;
in vec3 vertexNormal;
in vec3 pixelPosition;
in vec3 normal;
in vec4 tangent;

layout(location = 0) out vec4 outColor;

// Spherical coordinates of the fragment and their screen gradients (uvType 1 only).
vec2 sphereUv = vec2(0.0);
vec2 sphereGradX = vec2(0.0);
vec2 sphereGradY = vec2(0.0);

vec3 rgbToHsv(vec3 c) {
    float v = max(c.r, max(c.g, c.b));
    float d = v - min(c.r, min(c.g, c.b));
    float h = 0.0;
    if (d > 0.0) {
        if (v == c.r) h = mod((c.g - c.b) / d, 6.0);
        else if (v == c.g) h = (c.b - c.r) / d + 2.0;
        else h = (c.r - c.g) / d + 4.0;
    }
    return vec3(h / 6.0, v > 0.0 ? d / v : 0.0, v);
}

vec3 hsvToRgb(vec3 hsv) {
    vec3 k = clamp(abs(mod(hsv.x * 6.0 + vec3(0.0, 4.0, 2.0), 6.0) - 3.0) - 1.0, 0.0, 1.0);
    return hsv.z * mix(vec3(1.0), k, hsv.y);
}

// Brightness controls scale the HSV value; a factor of 1 leaves the colour untouched.
vec3 scaleValue(vec3 c, float factor) {
    if (factor == 1.0) return c;
    vec3 hsv = rgbToHsv(c);
    hsv.z *= factor;
    return hsvToRgb(hsv);
}

vec2 rotateUv(vec2 p) {
    return vec2(p.x * uvRotation.x - p.y * uvRotation.y, p.y * uvRotation.x + p.x * uvRotation.y);
}

vec2 unrotateUv(vec2 p) {
    return vec2(p.x * uvRotation.x + p.y * uvRotation.y, p.y * uvRotation.x - p.x * uvRotation.y);
}

// Planar projections map the unit sphere's [-1, 1] onto one texture repeat.
vec2 planeUv(vec2 p) {
    return rotateUv(0.5 * p) * uvRepeat + uvOffset + 0.5;
}

// A map sample through the spherical or a planar projection.
vec4 projectedSample(sampler2D map) {
    if (uvType == 1)
        return textureGrad(map, (rotateUv(sphereUv - 0.5) + 0.5) * uvRepeat + uvOffset, sphereGradX, sphereGradY);
    if (uvType == 3) return texture(map, planeUv(vertexPosition.xy));
    if (uvType == 4) return texture(map, planeUv(vertexPosition.xz));
    return texture(map, planeUv(vertexPosition.zy));
}

// Box weights of the planes zy, xz and xy, summing to 1 over both sides of each axis; n selects the
// side: only the axes on which n is positive get weight.
vec3 boxWeights(vec3 n) {
    vec3 w = pow(normalize(max(abs(n), 0.00001)), vec3(uvFeathering));
    return w / (w.x + w.y + w.z) * vec3(greaterThan(n, vec3(0.0)));
}

// The positive sides read the position mirrored in x, the negative sides mirrored in z.
const vec3 positiveSideScale = vec3(-1.0, 1.0, 1.0);
const vec3 negativeSideScale = vec3(1.0, 1.0, -1.0);

vec4 boxSideSample(sampler2D map, vec3 scale, float side) {
    vec3 p = vertexPosition * scale;
    vec3 w = boxWeights(vertexNormal * side);
    return w.x * max(texture(map, planeUv(p.zy)), 0.0) + w.y * max(texture(map, planeUv(p.xz)), 0.0) +
           w.z * max(texture(map, planeUv(p.xy)), 0.0);
}

vec4 colorSample(sampler2D map) {
    if (uvType == 2)
        return boxSideSample(map, positiveSideScale, 1.0) + boxSideSample(map, negativeSideScale, -1.0);
    return max(projectedSample(map), 0.0);
}

// A normal-map texel as a tangent-space normal in the unrotated texture frame.
vec3 decodeNormal(vec4 texel) {
    vec3 t = texel.xyz * 2.0 - 1.0;
    t.y *= normalInvertGreen;
    return vec3(unrotateUv(t.xy), t.z);
}

// One side's tangent-space normals put onto their planes in model space (x and y along the plane's
// texture axes as the scale mirrors them, z out of that side), weighted and added to the normal.
vec3 boxSideNormal(vec3 scale, float side) {
    vec3 p = vertexPosition * scale;
    vec3 w = boxWeights(vertexNormal * side);
    vec3 zy = decodeNormal(texture(normalSampler, planeUv(p.zy)));
    vec3 xz = decodeNormal(texture(normalSampler, planeUv(p.xz)));
    vec3 xy = decodeNormal(texture(normalSampler, planeUv(p.xy)));
    return normalize(vertexNormal) + w.x * vec3(side * zy.z, scale.y * zy.y, scale.z * zy.x) +
           w.y * vec3(scale.x * xz.x, side * xz.z, scale.z * xz.y) +
           w.z * vec3(scale.x * xy.x, scale.y * xy.y, side * xy.z);
}

// The box-mapped normal in world space. Normalised after the turn: the model matrix carries the
// radius, which would otherwise shrink this normal's share in the mix with the surface normal.
vec3 boxNormal() {
    vec3 sum = boxSideNormal(positiveSideScale, 1.0) + boxSideNormal(negativeSideScale, -1.0);
    return normalize(mat3(normalMatrix) * normalize(sum));
}

float spotFactor(Light light, vec3 L) {
    float sc = dot(light.direction.xyz, -L);
    if (sc <= light.spotConeCos) return 0.0;
    float f = 1.0;
    if (light.spotFeather > 0.0) {
        float a = acos(light.spotConeCos);
        f = clamp(max(0.0, (a - acos(min(sc, 1.0))) / a) / light.spotFeather, 0.0, 1.0);
    }
    float s = smoothstep(0.0, 1.0, f);
    return clamp(s * s, 0.0, 1.0);
}

// Microfacet specular: normal distribution over the remapped roughness with matching visibility terms.
float specularTerm(vec3 N, float roughness, float nl, vec3 H, vec3 E) {
    float nh = max(0.0, dot(N, H));
    float ra = roughness * 0.875 + 0.125;
    float a = ra * ra * ra;
    float a2 = a * a;
    float d = nh * nh * (a2 - 1.0) + 1.0;
    float D = a2 / (3.1415927 * d * d);
    float k = a / 2.0;
    float nv = max(0.0, dot(N, E));
    return D * (1.0 / (nv * (1.0 - k) + k)) * (1.0 / (nl * (1.0 - k) + k)) / 4.0 * nv;
}

// Environment samples are clamped before the gamma: a negative texel of a float layer would turn the
// power into NaN.
vec3 environmentSample(vec3 direction, float level) {
    vec3 texel = max(textureLod(environmentSampler, direction, level).rgb, 0.0);
    return scaleValue(pow(texel, vec3(environmentGamma)), environmentBrightness);
}

float mean(vec3 c) {
    return (c.r + c.g + c.b) / 3.0;
}

void main() {
    // Hemisphere: the upper half of the sphere is cut away.
    if (flattenBottom == 1 && originalPosition.y > 0.00001) discard;

    vec3 E = normalize(eyePosition - pixelPosition);
    vec3 F = normalize(normal);
    if (!gl_FrontFacing) F = -F;

    if (uvType == 1) {
        vec3 dir = normalize(originalPosition);
        float t = atan(dir.y, length(dir.xz)) / PI + 0.5;
        sphereUv = vec2(-atan(-dir.x, -dir.z) / (2.0 * PI) + 0.5, t);
        // The longitude's own derivative jumps at the seam; the direction's change does not.
        sphereGradX = vec2(length(dFdx(dir.xy)) / (2.0 * PI), dFdx(t));
        sphereGradY = vec2(length(dFdy(dir.xy)) / (2.0 * PI), dFdy(t));
    }

    vec4 diffuseMap = vec4(1.0);
    if (useDiffuseTexture != 0) {
        diffuseMap = mix(vec4(1.0), pow(colorSample(diffuseSampler), vec4(vec3(diffuseGamma), 1.0)), diffuseBlend);
        diffuseMap.rgb = scaleValue(diffuseMap.rgb, diffuseBrightness);
    }

    float gloss = glossinessAmount;
    if (useGlossinessTexture != 0) {
        vec3 g = scaleValue(pow(colorSample(glossinessSampler).rgb, vec3(glossinessGamma)), glossinessBrightness);
        gloss *= clamp(mean(g), 0.0, 1.0);
    }

    vec3 illuminationMap = vec3(1.0);
    if (useIlluminationTexture != 0) {
        illuminationMap = scaleValue(pow(colorSample(illuminationSampler).rgb, vec3(illuminationGamma)),
                                     illuminationBrightness);
    }

    vec3 N = F;
    if (useNormalTexture != 0) {
        if (uvType == 2) {
            // Seen from inside, the map's normal turns inwards with F, else the mix could cancel out.
            vec3 mapNormal = boxNormal();
            if (!gl_FrontFacing) mapNormal = -mapNormal;
            N = normalize(mix(F, mapNormal, normalAmount));
        } else {
            vec3 T = normalize(tangent.xyz);
            vec3 B = normalize(cross(F, T) * tangent.w);
            vec3 n = normalize(mix(vec3(0.0, 0.0, 1.0), decodeNormal(projectedSample(normalSampler)), normalAmount));
            N = normalize(mat3(T, B, F) * n);
        }
    }

    vec3 reflection = vec3(0.0);
    vec3 environmentDiffuse = vec3(0.0);
    if (useEnvironmentTexture != 0) {
        float m = max(0.0, 1.0 - abs(dot(N, E)));
        float rf = mix(1.0 - (1.0 - gloss) * 0.6, 1.0, reflectivityAmount);
        float k = mix(pow(m, 5.0) * rf, 1.0, reflectivityAmount * 0.99 + 0.01);
        mat3 turn = mat3(environmentRotation);
        reflection = k * environmentSample(turn * normalize(reflect(-E, N)), (1.0 - gloss) * environmentLevels);
        environmentDiffuse = environmentSample(turn * N, environmentLevels);
    }

    vec3 diffuseLight = vec3(1.0);
    vec3 specularLight = vec3(0.0);
    float lightAmount = 1.0;
    if (unlitMode != 1) {
        diffuseLight = vec3(0.0);
        lightAmount = 0.0;
        float cutScale = 1.0 / (1.0 - clipLighting * 0.99);
        for (int i = 0; i < min(numLights, maxLights); ++i) {
            Light light = lights[i];
            vec3 L = light.lightType == 0 ? normalize(-light.direction.xyz)
                                          : normalize(light.position.xyz - pixelPosition);
            float factor = light.lightType == 1 ? spotFactor(light, L) : 1.0;
            vec3 H = normalize(L + E);
            float fl = dot(F, L);
            float cut = 1.0 - clamp(fl * -cutScale, 0.0, 1.0);
            float nl = dot(N, L);
            float strength = clamp(mean(light.color.rgb), 0.0, 1.0);
            lightAmount += factor * mix(fl, nl, illuminationBumpInfluence * cut) * strength;
            // The specular term is only wanted where nl > 0; clamping it there keeps its
            // visibility denominator away from 0, which would make 0 x infinity.
            float lit = factor * max(nl, 0.0) * cut;
            specularLight += lit * specularTerm(N, 1.0 - gloss, max(nl, 0.0), H, E) * light.color.rgb;
            diffuseLight += lit * light.color.rgb;
        }
        specularLight *= specularAmount;
        diffuseLight = diffuseLight * diffuseAmount + ambientLights.rgb * ambientAmount;
    }

    vec3 IN = normalize(mix(F, N, illuminationBumpInfluence));
    float fresnel = 1.0;
    if (illuminationFresnelBias >= 0.01) {
        float x = clamp(dot(IN, E), 0.0, 1.0);
        if (illuminationFresnel > 0.0) x = 1.0 - x;
        float amount = abs(illuminationFresnel);
        fresnel = pow(x, illuminationFresnelBias) * amount + 1.0 - amount;
    }
    vec3 I = illuminationMap * illuminationColor.rgb * fresnel;
    float e = clamp(lightAmount + illuminationShadowLightExpand, 0.0, 1.0);
    float contrast = illuminationShadowLightContrast;
    vec3 shadowPart = I * pow(1.0 - e, contrast) * max(0.0, 1.0 - max(0.0, illuminationShadowLight));
    vec3 lightPart = I * pow(e, contrast) * max(0.0, 1.0 - max(0.0, -illuminationShadowLight));

    vec3 color = modelColor.rgb * diffuseMap.rgb * (environmentDiffuse + diffuseLight) + specularLight + shadowPart +
                 lightPart + reflection;
    float alpha = diffuseMap.a * modelColor.a;

    if (edgeFeather > 0.0 || edgeShrink > 0.0) {
        float ef = max(0.001, edgeFeather);
        // 1 facing the eye, 0 at the silhouette; clamped so that rounding cannot leave acos's domain.
        float d = 1.0 - acos(clamp(dot(E, F), 0.0, 1.0)) / (PI / 2.0);
        float s = clamp((d - edgeShrink) / (1.0 - edgeShrink * 0.999), 0.0, 1.0);
        alpha *= clamp(1.0 - (ef - s) / ef, 0.0, 1.0);
    }

    outColor = vec4(color * alpha, alpha);
}
