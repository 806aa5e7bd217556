// StdFileSystem: std::filesystem for directories, stdio for contents.
#include "ui/std_file_system.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace tarvenix {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

uint32_t last_errno() {
  return errno == 0 ? 1u : static_cast<uint32_t>(errno);
}

}  // namespace

std::vector<std::string> StdFileSystem::find_config_files(const std::string& directory) {
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

FileRead StdFileSystem::read_file(const std::string& path, size_t limit) {
  FileRead result;
  errno = 0;
  File f(std::fopen(path.c_str(), "rb"));
  if (!f) {
    result.error = last_errno();
    return result;
  }
  result.bytes.resize(limit);
  result.bytes.resize(std::fread(result.bytes.data(), 1, limit, f.get()));
  if (std::ferror(f.get())) {
    result.error = last_errno();
    return result;
  }
  result.ok = true;
  return result;
}

uint32_t StdFileSystem::replace_file(const std::string& path, std::span<const uint8_t> bytes) {
  const std::string temporary = path + ".tmp";
  errno = 0;
  File f(std::fopen(temporary.c_str(), "wb"));
  if (!f) return last_errno();
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
  const bool closed = std::fclose(f.release()) == 0;
  if (!written || !closed) {
    const uint32_t error = last_errno();
    std::remove(temporary.c_str());
    return error;
  }
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  if (ec) {
    std::remove(temporary.c_str());
    return ec.value() == 0 ? 1u : static_cast<uint32_t>(ec.value());
  }
  return 0;
}

bool StdFileSystem::file_exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

bool StdFileSystem::delete_file(const std::string& path) {
  std::error_code ec;
  return std::filesystem::remove(path, ec);
}

std::optional<FileVersion> StdFileSystem::file_version(const std::string&) {
  return std::nullopt;
}

}  // namespace tarvenix
