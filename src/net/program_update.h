// The program's self-update, its network half: asking the author's server whether its
// program file is newer than the running one, and downloading it with its signature to a
// temporary file "dxt*.tmp" in the program's folder. The window then restarts into it
// (ui/program_restart.h).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "net/fetch.h"
#include "net/web_endpoints.h"

namespace tarvenix {

// What the newer-version check found.
struct UpdateCheck {
  bool newer = false;           // the server's program file is newer than the running one
  bool network_failed = false;  // the request failed; already told under "Internet error"
  std::string error_text;       // for the operator when the server's answer was not usable
};

// Compares the Last-Modified time of the program file on the author's server with the
// modification time of `program_path` (the running program). Only a 200 answer with a full
// HTTP date is compared; any other status gives its "HTTP Error" text, and an unreadable
// date a text of its own.
UpdateCheck newer_version_available(const Network& network, const std::string& program_path,
                                    const WebEndpoints& endpoints);

// Whether an image carries the author's signature: the program hands in the system's check
// with the key built into it (update_signature.h), tests a fake.
using SignatureCheck =
    std::function<bool(std::span<const uint8_t> image, std::span<const uint8_t> signature)>;

// What download_update brought.
struct DownloadedUpdate {
  std::optional<std::string> file;  // the new program, checked; nothing when refused or failed
  bool not_signed = false;          // refused: no signature beside it, or one that does not verify
};

// Downloads the program file's signature ("PATH.sig"), then the program file itself from the
// author's server into a new temporary file "dxt*.tmp" in `program_dir`. Kept only when both
// answers were 200 and arrived whole, `verifies` accepts the image with the signature, and it
// is a Windows executable image; otherwise nothing is left behind.
DownloadedUpdate download_update(const Network& network, const std::string& program_dir,
                                 const WebEndpoints& endpoints, const SignatureCheck& verifies);

// True when the file begins with an "MZ" header whose e_lfanew points at a "PE\0\0"
// signature followed by a whole file header.
bool is_windows_executable(const std::string& path);

}  // namespace tarvenix
