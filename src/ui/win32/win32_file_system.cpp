// DiskFileSystem on the Windows API. Saving writes a sibling file, named as AtomicFile names its
// own, and moves it over the old one, so the old file stays whole until the new one is complete.
// The Windows calls stay (rather than AtomicFile) because the operator is told their error codes.
#include "ui/disk_file_system.h"

#include <windows.h>

#include <algorithm>

#include "records/atomic_file.h"
#include "ui/win32/handles.h"

namespace tarvenix {
namespace {

bool ends_with_cfg(const char* name) {
  const size_t n = strlen(name);
  return n >= 4 && lstrcmpiA(name + n - 4, ".cfg") == 0;
}

uint32_t last_error() {
  const DWORD e = GetLastError();
  return e == 0 ? ERROR_GEN_FAILURE : e;
}

// The store only tells a file it cannot read from a missing one, so the code is all it needs.
Failure read_failure() {
  return Failure{{}, static_cast<int>(last_error())};
}

uint32_t write_whole_file(const std::string& path, std::span<const uint8_t> bytes) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return last_error();
  DWORD written = 0;
  if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size() || !FlushFileBuffers(file.get()))
    return last_error();
  return 0;
}

}  // namespace

std::vector<std::string> DiskFileSystem::find_config_files(const std::string& directory) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  FindHandle search(FindFirstFileA((directory + "*.cfg").c_str(), &data));
  if (!search) return names;
  do {
    // "*.cfg" also finds longer extensions through their short names.
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && ends_with_cfg(data.cFileName))
      names.emplace_back(data.cFileName);
  } while (FindNextFileA(search.get(), &data));
  return names;
}

Result<std::vector<uint8_t>> DiskFileSystem::read_file(const std::string& path, size_t limit) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return read_failure();
  std::vector<uint8_t> bytes(limit);
  size_t have = 0;
  while (have < limit) {
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data() + have, static_cast<DWORD>(limit - have), &got,
                  nullptr)) {
      return read_failure();
    }
    if (got == 0) break;
    have += got;
  }
  bytes.resize(have);
  return bytes;
}

uint32_t DiskFileSystem::replace_file(const std::string& path, std::span<const uint8_t> bytes) {
  const std::string temporary = temporary_path_beside(path);
  uint32_t error = write_whole_file(temporary, bytes);
  if (error == 0 && !MoveFileExA(temporary.c_str(), path.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    error = last_error();
  if (error != 0) DeleteFileA(temporary.c_str());
  return error;
}

bool DiskFileSystem::file_exists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DiskFileSystem::delete_file(const std::string& path) {
  return DeleteFileA(path.c_str()) != 0;
}

std::optional<FileVersion> DiskFileSystem::file_version(const std::string& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return std::nullopt;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) ||
      length == 0 || fixed->dwSignature != 0xFEEF04BD)
    return std::nullopt;
  return FileVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS)};
}

}  // namespace tarvenix
