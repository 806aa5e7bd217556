// Convert, Delete, Update, About and the web pages.
#include "ui/win32/actions.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <span>

#include "badcalls/bad_call_fetch.h"
#include "build_info.h"
#include "net/program_update.h"
#include "net/update_signature.h"
#include "records/format_text.h"
#include "records/paths.h"
#include "scoresheet/country_file_fetch.h"
#include "scoresheet/run.h"
#include "ui/convert_checks.h"
#include "ui/entry_checks.h"
#include "ui/program_restart.h"
#include "ui/result_text.h"
#include "ui/win32/controls.h"
#include "ui/win32/field_checks.h"
#include "ui/win32/file_dialogs.h"
#include "ui/win32/message_box.h"
#include "ui/win32/program_endpoints.h"
#include "ui/win32/resource.h"
#include "ui/win32/update_process.h"

namespace tarvenix {
namespace {

// The network as the window uses it: every failure in a box of its own.
Network boxed_network() {
  return Network{.tell = show_failure};
}

constexpr const char* review_text =
    "Now would be a good time to review your scoresheet and enter any comments into the "
    "section at the bottom.\n\n";
constexpr const char* open_question = "Do you want to open the scoresheet file you just created?";

int tell(App& app, const std::string& text, UINT type) {
  return show_message(app.main_window, text, type);
}

// The operator's entries, in order: required fields, call sign, e-mail address.
bool entries_ready(App& app) {
  if (const auto missing = check_required(app.fields, app.record)) {
    tell(app, *missing, MB_ICONHAND);
    return false;
  }
  for (const auto& problem :
       {check_callsign(app.record.callsign), check_email(app.record.email_address)}) {
    if (!problem) continue;
    tell(app, *problem, MB_ICONHAND);
    return false;
  }
  return true;
}

bool files_ready(App& app) {
  if (const auto problem = check_convert_files(app.paths)) {
    tell(app, *problem, MB_ICONHAND);
    return false;
  }
  if (!app.record.converted || !PathFileExistsA(app.paths.output_path.c_str())) return true;
  const std::string question =
      file_name_of(app.paths.output_path) + " already exists.\nDo you want to replace it?";
  return tell(app, question, MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

void tell_conversion_result(App& app, const ConversionResult& result) {
  const std::string text = written_counts_text(result) + results_page_text(result.results_page) +
                           "\n" + review_text + open_question;
  if (tell(app, text, MB_YESNO | MB_ICONASTERISK) == IDYES) open_with_shell(app.paths.output_path);
}

void reload_stored_configurations(App& app) {
  reset_config(app.record, app.config_context());
  const StoredCallsigns stored = list_configs(app.record, app.config_context());
  fill_callsign_list(app, stored);
  if (!stored.single) return;
  read_config(app.record, app.config_context());
  show_load_message(app);
}

// The conversion as the window's record, paths and servers ask for it.
ConversionRequest conversion_request(App& app) {
  const OperatorConfig& record = app.record;
  ConversionRequest request;
  request.adif_path = app.paths.adif_path;
  request.scoresheet_path = app.paths.scoresheet_path;
  request.output_path = app.paths.output_path;
  request.callsign = record.callsign;
  request.band = static_cast<Band>(record.band_index);
  request.mode = static_cast<ModeClass>(record.mode_index);
  request.prefer_confirmed = record.confirmed != 0;
  // The run leaves the country file alone when "Fill in missing DXCC/CQ Zone" is cleared.
  request.country_file = {record.country_file_off != 0, app.paths.country_file,
                          app.paths.program_dir,
                          country_file_refresh(boxed_network(), app.endpoints.country_file_url,
                                               app.endpoints.useHttps)};
  request.bad_calls = {[&app](RunLog& log) {
                         return fetch_bad_calls(boxed_network(), app.paths.output_path,
                                                app.endpoints, log);
                       },
                       {},
                       local_bad_calls_path(app.paths.output_path)};
  request.system = app.system;
  return request;
}

}  // namespace

void convert(App& app) {
  if (!entries_ready(app) || !files_ready(app)) return;
  app.record.converted = 0;
  app.record.message.clear();
  const ConversionResult result = run_conversion(conversion_request(app));
  // The record keeps the counts of the last filled Scoresheet, as its file stores them.
  if (result.written) {
    app.record.countries_written = result.written->countries;
    app.record.zones_written = result.written->zones;
  }
  if (result.status != ConversionStatus::converted) {
    tell(app, result.message, MB_ICONHAND);
  } else {
    tell_conversion_result(app, result);
  }
  // A workbook saved with error lines in the log is still this run's: replacing it asks.
  app.record.converted = result.workbook.empty() ? 0 : 1;
}

void delete_configuration(App& app) {
  if (app.record.callsign[0] == '\0') {
    tell(app, "You must select a callsign.", MB_ICONEXCLAMATION);
    return;
  }
  save_if_changed(app);
  const auto file = config_file_name(app.record, app.paths);
  if (!file || !app.files.file_exists(*file)) return;
  const std::string question =
      format_text("Are you sure you want to delete the configuration for %s?", app.record.callsign);
  if (tell(app, question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  app.files.delete_file(*file);
  reload_stored_configurations(app);
  show_record(app);
}

void update_program(App& app) {
  const UpdateCheck check = newer_version_available(
      boxed_network(), app.paths.program_dir + app.paths.program_file, app.endpoints);
  if (check.network_failed) return;  // already told in an "Internet error" box
  if (!check.newer) {
    if (!check.error_text.empty()) {
      tell(app, check.error_text, MB_ICONHAND);
    } else {
      tell(app, update_latest_text, MB_ICONASTERISK);
    }
    return;
  }
  if (tell(app, update_available_question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  const auto signed_by_author = [](std::span<const uint8_t> image,
                                   std::span<const uint8_t> signature) {
    return signature_verifies(image, signature, update_public_key());
  };
  const DownloadedUpdate update =
      download_update(boxed_network(), app.paths.program_dir, app.endpoints, signed_by_author);
  if (!update.file) {
    tell(app, update.not_signed ? update_not_signed_text : update_download_failed_text,
         MB_ICONHAND);
    return;
  }
  app.paths.update_file = *update.file;
  tell(app, update_restart_text, MB_ICONASTERISK);
  save_config(app);  // as Exit does
  if (!restart_into_update(app.paths)) {
    std::remove(app.paths.update_file.c_str());
    app.paths.update_file.clear();
    tell(app, update_start_failed_text, MB_ICONHAND);
    return;
  }
  PostMessageA(app.main_window, quit_request_message, 0, 0);
}

void show_about(App& app) {
  std::string version = format_text("Version %s -- %s %s", app.record.version_text,
                                    TARVENIX_BUILD_DATE, TARVENIX_BUILD_TIME);
  version.resize(std::min(version.size(), short_text_limit));
  tell(app, version + "\n" + load_string(IDS_NOTICE, short_text_limit), MB_ICONASTERISK);
}

void open_author_page() {
  open_with_shell(load_string(IDS_AUTHOR_PAGE, web_page_limit));
}
void open_contest_page() {
  open_with_shell(load_string(IDS_CONTEST_PAGE, web_page_limit));
}

void show_load_message(App& app) {
  if (app.record.message.empty()) return;
  tell(app, app.record.message, MB_ICONEXCLAMATION);
  app.record.message.clear();
}

void save_if_changed(App& app) {
  if (app.record.changed) save_config(app);
}

void save_config(App& app) {
  if (const auto error = write_config(app.record, app.config_context()))
    tell(app, *error, MB_ICONHAND);
}

void show_record(App& app) {
  fill_controls(app);
  apply_country_rules(app);
}

}  // namespace tarvenix
