// The hyperlink: the control and its parent are subclassed; what each replaced procedure
// and the two fonts are is kept in window properties, so any number of links may share a
// parent.
#include "ui/win32/hyperlink.h"

namespace tarvenix {
namespace {

constexpr const char* original_proc = "_Hyperlink_Original_Proc_";
constexpr const char* original_font = "_Hyperlink_Original_Font_";
constexpr const char* underline_font = "_Hyperlink_Underline_Font_";
constexpr const char* from_static = "_Hyperlink_From_Static_";
constexpr COLORREF link_colour = RGB(0, 0, 192);

WNDPROC kept_proc(HWND window) {
  return reinterpret_cast<WNDPROC>(GetPropA(window, original_proc));
}

void restore_proc(HWND window) {
  SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(kept_proc(window)));
  RemovePropA(window, original_proc);
}

LRESULT CALLBACK link_parent_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const WNDPROC kept = kept_proc(window);
  switch (message) {
    case WM_CTLCOLORSTATIC:
      if (GetPropA(reinterpret_cast<HWND>(lparam), from_static) != nullptr) {
        const LRESULT brush = CallWindowProcA(kept, window, message, wparam, lparam);
        SetTextColor(reinterpret_cast<HDC>(wparam), link_colour);
        return brush;
      }
      break;
    case WM_DESTROY:
      restore_proc(window);
      break;
  }
  return CallWindowProcA(kept, window, message, wparam, lparam);
}

void show_font(HWND link, const char* which) {
  SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(GetPropA(link, which)), FALSE);
  InvalidateRect(link, nullptr, FALSE);
}

// Underlined exactly while the pointer is over the link: the capture tells when it leaves.
void track_pointer(HWND link, LPARAM lparam) {
  if (GetCapture() != link) {
    show_font(link, underline_font);
    SetCapture(link);
    return;
  }
  POINT pointer{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  ClientToScreen(link, &pointer);
  RECT area;
  GetWindowRect(link, &area);
  if (PtInRect(&area, pointer)) return;
  show_font(link, original_font);
  ReleaseCapture();
}

void release_link(HWND link) {
  restore_proc(link);
  const auto font = reinterpret_cast<WPARAM>(GetPropA(link, original_font));
  SendMessageA(link, WM_SETFONT, font, FALSE);
  DeleteObject(static_cast<HGDIOBJ>(GetPropA(link, underline_font)));
  RemovePropA(link, original_font);
  RemovePropA(link, underline_font);
  RemovePropA(link, from_static);
}

LRESULT CALLBACK link_proc(HWND link, UINT message, WPARAM wparam, LPARAM lparam) {
  const WNDPROC kept = kept_proc(link);
  switch (message) {
    case WM_SETCURSOR: {
      HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
      SetCursor(hand != nullptr ? hand : LoadCursorA(nullptr, IDC_ARROW));
      return TRUE;
    }
    case WM_MOUSEMOVE:
      track_pointer(link, lparam);
      break;
    case WM_DESTROY:
      release_link(link);
      break;
  }
  return CallWindowProcA(kept, link, message, wparam, lparam);
}

HFONT underlined_copy(HFONT font) {
  LOGFONTA description{};
  GetObjectA(font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT),
             sizeof description, &description);
  description.lfUnderline = TRUE;
  return CreateFontIndirectA(&description);
}

}  // namespace

void make_hyperlink(HWND parent, int control_id) {
  const HWND link = GetDlgItem(parent, control_id);
  if (link == nullptr) return;
  if (GetWindowLongPtrA(parent, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(link_parent_proc)) {
    SetPropA(parent, original_proc,
             reinterpret_cast<HANDLE>(GetWindowLongPtrA(parent, GWLP_WNDPROC)));
    SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link_parent_proc));
  }
  SetWindowLongPtrA(link, GWL_STYLE, GetWindowLongPtrA(link, GWL_STYLE) | SS_NOTIFY);
  SetPropA(link, original_proc, reinterpret_cast<HANDLE>(GetWindowLongPtrA(link, GWLP_WNDPROC)));
  SetWindowLongPtrA(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link_proc));
  const auto font = reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0));
  SetPropA(link, original_font, font);
  SetPropA(link, underline_font, underlined_copy(font));
  SetPropA(link, from_static, reinterpret_cast<HANDLE>(1));
}

}  // namespace tarvenix
