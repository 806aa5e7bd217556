// Working on ADIF text many bytes at a time. The reader looks for a few delimiters ('<',
// '>', ':', line feed) in every tag and between tags, and upper-cases every field name;
// comparing a whole block of bytes at once costs about as much as comparing one byte, so
// these cost a fraction of byte-by-byte loops. find_first_of uses SSE2 (16 bytes a step)
// where the compiler offers it, as on every x86-64, and a plain loop elsewhere; the name
// functions work on 64-bit words in portable C++.
//
// These functions read (and store_word writes) whole blocks: up to scan_slack - 1 bytes
// past the end of the text. The caller keeps scan_slack bytes of slack after its buffer.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tarvenix {

inline constexpr size_t scan_slack = 16;

namespace byte_scan {

inline constexpr uint64_t ones_per_byte = 0x0101010101010101ULL;
inline constexpr uint64_t highs_per_byte = 0x8080808080808080ULL;

// Eight bytes from `p`, the first in the lowest bits whatever the machine's byte order.
inline uint64_t load_word(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return word;
}

inline void store_word(char* p, uint64_t word) {
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  std::memcpy(p, &word, sizeof word);
}

// The same bytes with the first one highest: words compare as their texts do.
inline uint64_t first_byte_highest(uint64_t word) {
  return __builtin_bswap64(word);
}

// `word` with the bytes a to z made A to Z; every other byte, 0x80 to 0xFF too, kept.
inline uint64_t upper_ascii(uint64_t word) {
  const uint64_t low_bits = word & ~highs_per_byte;  // no carry can cross into the next byte
  const uint64_t from_a = low_bits + ones_per_byte * (0x80 - 'a');
  const uint64_t past_z = low_bits + ones_per_byte * (0x80 - 'z' - 1);
  const uint64_t lower = from_a & ~past_z & ~word & highs_per_byte;
  return word ^ (lower >> 2);  // 0x80 >> 2 is the case bit 0x20
}

}  // namespace byte_scan

// The first byte in [p, end) that is one of `Targets`, or `end` when there is none.
template <char... Targets>
const char* find_first_of(const char* p, const char* end) {
#if defined(__SSE2__)
  for (; p < end; p += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i equal = _mm_setzero_si128();
    ((equal = _mm_or_si128(equal, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(Targets)))), ...);
    const unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(equal));
    if (hits != 0) {
      const char* const found = p + std::countr_zero(hits);
      return found < end ? found : end;  // a hit in the slack is no hit
    }
  }
  return end;
#else
  while (p < end && ((*p != Targets) && ...)) ++p;
  return p;
#endif
}

}  // namespace tarvenix
