// The open and save dialogs of the file commands. A cancelled dialog changes nothing.
#include "ui/win32/file_dialogs.h"

#include <commdlg.h>
#include <shellapi.h>

#include "records/paths.h"

namespace tarvenix {
namespace {

// Filters are pairs of name and patterns, each ending in NUL; the literal's own NUL ends
// the list.
constexpr char adif_filter[] = "ADIF Files\0*.adi;*.adif;\0All Files\0*.*\0";
constexpr char xlsx_filter[] = "XLSX Files\0*.xlsx;\0All Files\0*.*\0";
constexpr char view_filter[] =
    "XLSX Files\0*.xlsx;\0LOG Files\0*.log;\0HTML Files\0*.html;\0All Files\0*.*\0";

struct FileDialog {
  const char* filter;
  const char* default_extension;
  const char* title;
  DWORD flags;
  bool save;
};

constexpr FileDialog adif_dialog{adif_filter, "adi", "Select ADIF Log",
                                 OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, false};
constexpr FileDialog scoresheet_dialog{xlsx_filter, "xlsx", "Select Scoresheet",
                                       OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, false};
constexpr FileDialog output_dialog{xlsx_filter, "xlsx", "Save XLSX file",
                                   OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, true};
constexpr FileDialog view_dialog{view_filter, "xlsx", "Select Scoresheet to View",
                                 OFN_EXPLORER | OFN_HIDEREADONLY, false};

// Runs the dialog with `path` as the initial name; true when it returned a non-empty
// path, which then replaces `path`.
bool run_file_dialog(App& app, std::string& path, const FileDialog& dialog) {
  char buffer[MAX_PATH] = {};
  path.copy(buffer, MAX_PATH - 1);
  OPENFILENAMEA block{};
  block.lStructSize = sizeof block;
  block.hwndOwner = app.main_window;
  block.lpstrFilter = dialog.filter;
  block.lpstrFile = buffer;
  block.nMaxFile = MAX_PATH;
  block.lpstrTitle = dialog.title;
  block.Flags = dialog.flags;
  block.lpstrDefExt = dialog.default_extension;
  const BOOL chosen = dialog.save ? GetSaveFileNameA(&block) : GetOpenFileNameA(&block);
  if (!chosen || buffer[0] == '\0') return false;
  path = buffer;
  return true;
}

void show_file_name(App& app, size_t slot, const std::string& path) {
  SetWindowTextA(app.field_control(slot), file_name_of(path).c_str());
}

// "<folder of the ADIF log>\<call-sign stem>.xlsx", at most 259 characters. A log path
// without a backslash is taken for the folder itself.
std::string proposed_output(const App& app) {
  const std::string& adif = app.paths.adif_path;
  const std::string folder = folder_of(adif, "\\");
  std::string proposal =
      (folder.empty() ? adif + "\\" : folder) + callsign_to_stem(app.record) + ".xlsx";
  if (proposal.size() > MAX_PATH - 1) proposal.resize(MAX_PATH - 1);
  return proposal;
}

}  // namespace

void choose_adif_log(App& app) {
  if (run_file_dialog(app, app.paths.adif_path, adif_dialog))
    show_file_name(app, slot_adif, app.paths.adif_path);
}

void choose_scoresheet(App& app) {
  if (run_file_dialog(app, app.paths.scoresheet_path, scoresheet_dialog))
    show_file_name(app, slot_scoresheet, app.paths.scoresheet_path);
}

void choose_output(App& app) {
  std::string path = app.paths.output_path;
  if (app.record.callsign[0] != '\0' && path.empty()) path = proposed_output(app);
  if (!run_file_dialog(app, path, output_dialog)) return;
  app.paths.output_path = path;
  show_file_name(app, slot_output, path);
  app.record.converted = 0;
}

void view_file(App& app) {
  app.paths.view_path.clear();
  if (run_file_dialog(app, app.paths.view_path, view_dialog)) open_with_shell(app.paths.view_path);
}

void open_with_shell(const std::string& target) {
  ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace tarvenix
