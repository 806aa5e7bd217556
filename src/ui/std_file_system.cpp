// DiskFileSystem on the C++ standard library: std::filesystem for directories, stdio for
// contents.
#include "ui/disk_file_system.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "records/atomic_file.h"
#include "records/file_read.h"

namespace tarvenix {

std::vector<std::string> DiskFileSystem::find_config_files(const std::string& directory) {
  std::vector<std::string> names;
  std::error_code ec;
  const std::filesystem::path dir = directory.empty() ? "." : directory;
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() >= 4 && name.ends_with(".cfg") && it->is_regular_file(ec))
      names.push_back(name);
  }
  return names;
}

Result<std::vector<uint8_t>> DiskFileSystem::read_file(const std::string& path, size_t limit) {
  const Result<std::string> file = read_file_start(path, limit);
  if (!file.ok()) return Failure{file.reason(), file.code() != 0 ? file.code() : EIO};
  return std::vector<uint8_t>(file.value().begin(), file.value().end());
}

uint32_t DiskFileSystem::replace_file(const std::string& path, std::span<const uint8_t> bytes) {
  AtomicFile file;
  errno = 0;
  if (file.open(path) && file.write(reinterpret_cast<const char*>(bytes.data()), bytes.size()) &&
      file.commit()) {
    return 0;
  }
  return errno != 0 ? static_cast<uint32_t>(errno) : EIO;
}

bool DiskFileSystem::file_exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

bool DiskFileSystem::delete_file(const std::string& path) {
  std::error_code ec;
  return std::filesystem::remove(path, ec);
}

std::optional<FileVersion> DiskFileSystem::file_version(const std::string&) {
  return std::nullopt;
}

}  // namespace tarvenix
