// Puts a new plug-in file in place without ever leaving a half-written one behind.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace installer {

// An install status code, with the system's error code of a failure (0 when there is none).
struct PluginWrite {
    std::uint32_t status = 0;
    std::uint32_t system_error = 0;
};

// Writes the bytes to a temporary file beside target, flushes it and then replaces target with it in one
// step, so the old file stays as it was unless the new one is complete. Temporary files that an earlier
// run left beside target (it was killed, or could not delete them) are removed first. Returns installed,
// file_not_created when the temporary file cannot be made, write_failed when writing, flushing or the
// replacement fails (a target in use among them). No temporary file of this run survives a failure.
PluginWrite replace_plugin_file(const std::wstring& target, std::span<const unsigned char> bytes);

// Whether a file name beside target is one of the temporary names replace_plugin_file gives:
// the target's name, '.', digits, '-', digits, ".tmp".
bool is_temporary_name(const std::wstring& target_name, const std::wstring& name);

}  // namespace installer
