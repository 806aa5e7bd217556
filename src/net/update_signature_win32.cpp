// The signature check by CryptoAPI (advapi32), which Windows has had with SHA-256 since XP
// SP3 and Wine implements itself: import the public key, hash the image, verify.
#include "net/update_signature.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <wincrypt.h>

#include <vector>

namespace tarvenix {
namespace {

// The provider, the imported key and the hash of one check, released in reverse order.
class CryptoSession {
 public:
  CryptoSession() = default;
  CryptoSession(const CryptoSession&) = delete;
  CryptoSession& operator=(const CryptoSession&) = delete;
  ~CryptoSession() {
    if (hash) CryptDestroyHash(hash);
    if (key) CryptDestroyKey(key);
    if (provider) CryptReleaseContext(provider, 0);
  }

  HCRYPTPROV provider = 0;
  HCRYPTKEY key = 0;
  HCRYPTHASH hash = 0;
};

bool fits_dword(size_t size) {
  return size <= MAXDWORD;
}

}  // namespace

bool signature_verifies(std::span<const uint8_t> image, std::span<const uint8_t> signature,
                        std::span<const uint8_t> public_key) {
  if (signature.empty() || !fits_dword(image.size()) || !fits_dword(signature.size()) ||
      !fits_dword(public_key.size()))
    return false;
  CryptoSession session;
  // Only a public key is used, so no key container is needed.
  if (!CryptAcquireContextA(&session.provider, nullptr, nullptr, PROV_RSA_AES,
                            CRYPT_VERIFYCONTEXT) ||
      !CryptImportKey(session.provider, public_key.data(), DWORD(public_key.size()), 0, 0,
                      &session.key) ||
      !CryptCreateHash(session.provider, CALG_SHA_256, 0, 0, &session.hash) ||
      !CryptHashData(session.hash, image.data(), DWORD(image.size()), 0))
    return false;
  // CryptoAPI reads the signature least significant byte first.
  const std::vector<BYTE> reversed(signature.rbegin(), signature.rend());
  return CryptVerifySignatureA(session.hash, reversed.data(), DWORD(reversed.size()), session.key,
                               nullptr, 0) != FALSE;
}

}  // namespace tarvenix
