// 64-bit FNV-1a, the hash of every map in the UI kit: over a key's characters, or over the bytes of a
// pointer or integer key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

namespace qssdk::ui {

constexpr uint64_t fnv1a(const unsigned char* bytes, size_t count) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (size_t i = 0; i < count; ++i) {
        hash ^= bytes[i];
        hash *= 0x100000001b3ull;
    }
    return hash;
}

struct fnv1a_hash {
    size_t operator()(std::string_view key) const {
        return static_cast<size_t>(fnv1a(reinterpret_cast<const unsigned char*>(key.data()), key.size()));
    }

    template <class T>
        requires std::is_trivially_copyable_v<T> && (!std::is_convertible_v<T, std::string_view>)
    size_t operator()(const T& key) const {
        return static_cast<size_t>(fnv1a(reinterpret_cast<const unsigned char*>(&key), sizeof key));
    }
};

// Every map of the kit starts this small; the standard maximum load factor of 1.0 is kept.
inline constexpr size_t initial_buckets = 8;

}  // namespace qssdk::ui
