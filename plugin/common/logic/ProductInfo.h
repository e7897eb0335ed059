// The effect's name and version as the host, the banner, dumps and links show them.
#pragma once

#include <cstdint>

namespace product {

inline constexpr const char* displayName = "QS Pellux";
inline constexpr const char* category = "Quillstone";
inline constexpr const char* matchName = "QUILLSTONE Sphere";
inline constexpr const char* supportEmail = "support@quillstone.example";

inline constexpr uint32_t versionMajor = 1;
inline constexpr uint32_t versionMinor = 0;
inline constexpr uint32_t versionFix = 2;
inline constexpr uint32_t buildNumber = 66;

// The host's packing of 1.0, stage develop, build 66; the PiPL resource repeats it.
inline constexpr uint32_t hostVersion = 0x00080042;

}  // namespace product
