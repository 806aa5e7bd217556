// The fixed parts of a zip archive's records, the same for the reader and the writer: the
// signature that opens each record and the record's size before its name and extra fields.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarvenix::xlsx {

inline constexpr uint32_t end_signature = 0x06054b50;
inline constexpr uint32_t zip64_locator_signature = 0x07064b50;
inline constexpr uint32_t central_signature = 0x02014b50;
inline constexpr uint32_t local_signature = 0x04034b50;
inline constexpr size_t end_size = 22;
inline constexpr size_t central_size = 46;
inline constexpr size_t local_size = 30;
inline constexpr size_t zip64_locator_size = 20;

}  // namespace tarvenix::xlsx
