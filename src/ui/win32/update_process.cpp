// Starting the new program, and the new program's half of the update.
#include "ui/win32/update_process.h"

#include <windows.h>

#include <string>
#include <vector>

#include "records/paths.h"
#include "ui/win32/handles.h"

namespace tarvenix {
namespace {

constexpr int file_not_found = ERROR_FILE_NOT_FOUND;

std::optional<std::string> own_image_path() {
  char path[MAX_PATH] = {};
  DWORD length = MAX_PATH;
  if (!QueryFullProcessImageNameA(GetCurrentProcess(), 0, path, &length)) return std::nullopt;
  return std::string(path, length);
}

bool is_existing_file(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Shown without an owner and with the system's own caption.
void tell_move_failure(int code, const std::string& own_path, const std::string& old_path) {
  MessageBoxA(nullptr, update_move_failure_text(code, own_path, old_path).c_str(), nullptr,
              MB_ICONASTERISK);
}

}  // namespace

bool restart_into_update(const ProgramPaths& paths) {
  const auto own_path = own_image_path();
  if (!own_path || own_path->find('\\') == std::string::npos) return false;
  KernelHandle self(OpenProcess(SYNCHRONIZE, TRUE, GetCurrentProcessId()));
  if (!self) return false;
  const std::string line = restart_command_line(
      GetCommandLineA(), reinterpret_cast<uintptr_t>(self.get()), paths.update_file);
  std::vector<char> writable(line.begin(), line.end());
  writable.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(paths.update_file.c_str(), writable.data(), nullptr, nullptr, TRUE, 0,
                      nullptr, nullptr, &startup, &started))
    return false;
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

std::optional<RestartMarker> wait_for_replaced_program() {
  auto marker = parse_restart_marker(GetCommandLineA());
  if (!marker) return std::nullopt;
  KernelHandle old_process(
      reinterpret_cast<HANDLE>(static_cast<uintptr_t>(marker->process_handle)));
  if (WaitForSingleObject(old_process.get(), INFINITE) != WAIT_OBJECT_0) return std::nullopt;
  return marker;
}

void finish_update(ProgramPaths& paths, const std::optional<RestartMarker>& marker) {
  if (!marker) return;
  const auto own_path = own_image_path();
  if (!own_path) return;
  const std::string old_path = old_program_path(marker->old_command_line, folder_of(*own_path));
  // Only an existing program file is replaced: a path read wrongly must not create files.
  if (!is_existing_file(old_path)) {
    tell_move_failure(file_not_found, *own_path, old_path);
    return;
  }
  if (!MoveFileExA(own_path->c_str(), old_path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
    tell_move_failure(static_cast<int>(GetLastError()), *own_path, old_path);
    return;
  }
  split_program_path(paths, old_path);
}

}  // namespace tarvenix
