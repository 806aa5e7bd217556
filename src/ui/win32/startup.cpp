// Start-up and exit of the Windows program.
#include "ui/win32/startup.h"

#include <commctrl.h>

#include "records/contest.h"
#include "records/format_text.h"
#include "ui/win32/actions.h"
#include "ui/win32/main_window.h"
#include "ui/win32/message_box.h"
#include "ui/win32/program_endpoints.h"
#include "ui/win32/resource.h"
#include "ui/win32/update_process.h"

namespace tarvenix {
namespace {

constexpr const char* disclaimer_text =
    "Do not forget to enter your comments into the section at the bottom of the scoresheet "
    "before submitting it.\n\n"
    "DISCLAIMER: This program is intended to help you prepare your DX Tarvenix submission. "
    "It is your own responsibility to ensure its correctness before submitting it. "
    "Neither the software nor its author is responsible for any errors or omissions.\n\n";
constexpr const char* exit_question = "Are you sure you want to exit?";

void find_program_path(App& app) {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;  // both parts stay empty
  split_program_path(app.paths, path);
}

// A 64-bit program always runs on 64-bit Windows; a 32-bit one asks.
bool running_on_64_bit_windows() {
#ifdef _WIN64
  return true;
#else
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
}

// The Visual C++ runtime's version, for the run log only: the program carries its own runtime
// and runs without the package. The x86 package registers in the 32-bit view of the registry.
int32_t runtime_value(const char* value) {
  const char* key = running_on_64_bit_windows()
                        ? "SOFTWARE\\WOW6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\X86"
                        : "SOFTWARE\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\X86";
  DWORD data = 0;
  DWORD size = sizeof data;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key, value, RRF_RT_REG_DWORD, nullptr, &data, &size) !=
      ERROR_SUCCESS)
    return 0;
  return static_cast<int32_t>(data);
}

void read_runtime_version(SystemInfo& system) {
  system.runtime_major = runtime_value("Major");
  system.runtime_minor = runtime_value("Minor");
  system.runtime_build = runtime_value("Bld");
}

// Windows XP (5.1) cannot speak current HTTPS.
void read_windows_version(App& app) {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  const HMODULE ntdll = GetModuleHandleA("ntdll");
  const auto rtl_get_version = ntdll ? reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(
                                           GetProcAddress(ntdll, "RtlGetVersion")))
                                     : nullptr;
  app.endpoints.useHttps = true;
  if (!rtl_get_version) return;
  OSVERSIONINFOEXW version{};
  version.dwOSVersionInfoSize = sizeof version;
  rtl_get_version(&version);
  app.system.os_major = version.dwMajorVersion;
  app.system.os_minor = version.dwMinorVersion;
  app.system.os_build = version.dwBuildNumber;
  app.system.os_product_type = version.wProductType;
  if (version.dwMajorVersion == 5 && version.dwMinorVersion == 1) app.endpoints.useHttps = false;
}

}  // namespace

void claim_single_instance(App& app) {
  app.mutex.reset(CreateMutexA(nullptr, TRUE, instance_mutex_name));
  if (GetLastError() != ERROR_ALREADY_EXISTS) return;
  show_message(nullptr, "The program is already running!\n\nThis instance will now exit.",
               MB_ICONHAND);
  quit_application(app);
}

void init_application(App& app, HINSTANCE instance) {
  app.instance = instance;
  app.main_window = nullptr;
  find_program_path(app);
  stamp_version(app.record, app.config_context());
  finish_update(app.paths, app.pending_update);
  app.title =
      format_text("%s %04d - Version %s", load_string(IDS_PROGRAM_NAME, short_text_limit).c_str(),
                  CONTEST_YEAR, app.record.version_text);
  app.endpoints = program_web_endpoints();
}

bool create_main_window(App& app) {
  INITCOMMONCONTROLSEX common{sizeof common, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&common);
  if (!register_main_window_class(app)) return false;
  read_windows_version(app);
  read_runtime_version(app.system);
  if (!open_main_window(app)) return false;
  ShowWindow(app.main_window, SW_SHOW);
  UpdateWindow(app.main_window);
  return true;
}

void confirm_exit(App& app) {
  save_config(app);
  const std::string question = app.record.converted ? std::string(disclaimer_text) + exit_question
                                                    : std::string(exit_question);
  if (show_message(app.main_window, question, MB_YESNO | MB_ICONQUESTION) == IDYES)
    quit_application(app);
}

void quit_application(App& app) {
  if (app.mutex) ReleaseMutex(app.mutex.get());
  app.mutex.reset();
  PostQuitMessage(0);
}

}  // namespace tarvenix
