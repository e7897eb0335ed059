// The install status codes, one per target; anything above installed is a failure.
#pragma once

#include <cstdint>

namespace installer::install_status {

constexpr std::uint32_t untouched = 0;
constexpr std::uint32_t writing = 1;
constexpr std::uint32_t installed = 2;
// The install worker could not be started; no message names it, so it is reported as an unknown error.
constexpr std::uint32_t worker_not_started = 10;
constexpr std::uint32_t resource_not_found = 20;
constexpr std::uint32_t resource_not_loaded = 30;
constexpr std::uint32_t file_not_created = 40;
// A file stands where the plug-in's folder must go.
constexpr std::uint32_t folder_taken_by_file = 41;
constexpr std::uint32_t write_failed = 50;

}  // namespace installer::install_status
