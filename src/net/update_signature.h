// The author's signature on a new program: RSA with SHA-256 and PKCS#1 v1.5 padding, the
// detached signature served beside the program file with ".sig" appended to its path.
// Deterministic, so one key signs one image always the same way.
#pragma once

#include <cstdint>
#include <span>

namespace tarvenix {

// True when `signature` (as openssl writes it: most significant byte first, as long as the
// key) signs `image` under `public_key` (the PUBLICKEYBLOB of CryptoAPI, which openssl writes
// with "-outform MSBLOB"). Made by the system's cryptography; only the Windows program, which
// updates itself, has it.
bool signature_verifies(std::span<const uint8_t> image, std::span<const uint8_t> signature,
                        std::span<const uint8_t> public_key);

}  // namespace tarvenix
