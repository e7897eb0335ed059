// Puts a new plug-in file in place without ever leaving a half-written one behind.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace installer {

// Writes the bytes to a temporary file beside target, flushes it and then replaces target with it in one
// step, so the old file stays as it was unless the new one is complete. Returns an install status code:
// installed, file_not_created when the temporary file cannot be made, write_failed when writing, flushing
// or the replacement fails (a target in use among them). No temporary file survives a failure.
std::uint32_t replace_plugin_file(const std::wstring& target, std::span<const unsigned char> bytes);

}  // namespace installer
