// The disk ids of the effect's parameters and the values of its popups. The ids are stored in users'
// projects and the popup values are the host's 1-based choices: neither ever changes.
#pragma once

namespace param {

enum id : int {
    controlsPanel = 1,
    objectType = 10,
    position = 11,
    rotationX = 12,
    rotationY = 13,
    rotationZ = 14,
    radius = 16,
    surface = 50,

    materialGroup = 200,
    materialGroupEnd = 201,
    color = 202,
    diffuse = 203,
    glossiness = 204,
    specular = 205,
    illumination = 206,
    fresnel = 207,
    fresnelBias = 208,
    illuminationColor = 209,
    opacity = 210,
    shadowLight = 211,
    ambient = 212,
    shadowLightContrast = 213,
    bumpInfluence = 214,
    illuminationOptionsGroup = 215,
    illuminationOptionsGroupEnd = 216,
    diffuseBlend = 217,
    reflectivity = 218,
    bumpFalloff = 219,
    shadowLightExpansion = 220,
    edgeFeather = 221,
    edgeShrink = 222,
    advancedOptionsGroup = 223,
    advancedOptionsGroupEnd = 224,

    mapsGroup = 500,
    mapsGroupEnd = 501,
    diffuseLayer = 502,
    diffuseGamma = 503,
    glossinessLayer = 504,
    glossinessGamma = 505,
    illuminationLayer = 506,
    illuminationGamma = 507,
    bumpLayer = 508,
    useNormalMap = 511,
    bumpIntensity = 512,
    diffuseBrightness = 513,
    glossinessBrightness = 514,
    illuminationBrightness = 515,
    flipNormalChannels = 516,
    environmentLayer = 517,
    environmentGamma = 518,
    environmentBrightness = 519,
    rotateEnvironmentGroup = 520,
    rotateEnvironmentGroupEnd = 521,
    environmentRotationX = 522,
    environmentRotationY = 523,
    environmentRotationZ = 524,
    environmentGroup = 525,
    environmentGroupEnd = 526,

    uvGroup = 700,
    uvGroupEnd = 701,
    uvType = 702,
    uvRepeatX = 703,
    uvRepeatY = 704,
    uvOffsetX = 705,
    uvOffsetY = 706,
    boxUvFeathering = 707,
    uvMode = 708,
    uvRotation = 709,

    renderGroup = 2000,
    renderGroupEnd = 2001,
    multisampling = 2002,
    unlitOnly = 2003,
    gamma = 2004,
    useDefaultLights = 2005,
    motionBlurGroup = 2100,
    motionBlurGroupEnd = 2101,
    motionBlur = 2102,
    motionBlurSamples = 2103,
    shutterAngle = 2104,
};

// "3D Object" choices.
enum object_type : int { sphere = 1, hemisphere = 2 };
// "Motion Blur" choices.
enum motion_blur_mode : int { motionBlurCompSettings = 1, motionBlurOn = 2, motionBlurOff = 3 };
// "Multisampling" choices: 1 is none, choice n draws 2^(n-1) samples a pixel.
enum multisampling_choice : int { multisamplingNone = 1 };

}  // namespace param
