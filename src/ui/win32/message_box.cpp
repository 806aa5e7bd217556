// show_message and load_string.
#include "ui/win32/message_box.h"

#include "records/contest.h"
#include "records/format_text.h"
#include "ui/win32/app.h"
#include "ui/win32/resource.h"

namespace tarvenix {

std::string load_string(int id, size_t max_length) {
  char text[512] = {};
  const int length = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text,
                                 static_cast<int>(sizeof text));
  return std::string(text, static_cast<size_t>(length)).substr(0, max_length);
}

int show_message(HWND owner, const std::string& text, UINT type) {
  const std::string caption =
      format_text("%s %04d", load_string(IDS_PROGRAM_NAME, short_text_limit).c_str(), CONTEST_YEAR);
  return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

void show_failure(std::string_view caption, std::string_view text) {
  MessageBoxA(nullptr, std::string(text).c_str(), std::string(caption).c_str(), MB_ICONHAND);
}

}  // namespace tarvenix
