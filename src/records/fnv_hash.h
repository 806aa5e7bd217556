// FNV-1a, the hash of the program's call-sign tables: short texts, one character at a time,
// so that the hash of every prefix of a text comes on the way.
#pragma once

#include <cstdint>
#include <string_view>

namespace tarvenix {

inline constexpr uint32_t fnv_hash_start = 2166136261u;

inline uint32_t fnv_hash_step(uint32_t hash, char c) {
  return (hash ^ static_cast<uint8_t>(c)) * 16777619u;
}

inline uint32_t fnv_hash(std::string_view text) {
  uint32_t hash = fnv_hash_start;
  for (const char c : text) hash = fnv_hash_step(hash, c);
  return hash;
}

}  // namespace tarvenix
