// The conversion run. Every early end leaves a text for the operator; the run log says
// what happened to every QSO.
#include "scoresheet/run.h"

#include <string>
#include <utility>

#include "evaluation/entity_map.h"
#include "records/paths.h"
#include "records/text_compare.h"
#include "scoresheet/file_paths.h"
#include "scoresheet/fill.h"
#include "scoresheet/log_header.h"
#include "scoresheet/read_log.h"
#include "scoresheet/run_country_file.h"
#include "scoresheet/run_report.h"
#include "scoresheet/workbook.h"

namespace tarvenix {

namespace {

constexpr const char* TITLE_MARK = "DX Tarvenix Worksheet";

std::string not_a_scoresheet(const std::string& path) {
  return path + "\n\ndoes not appear to be a valid DX Tarvenix scoresheet!";
}

// A four-character extension other than ".xls" (".csv", ".txt") tells the operator to pick
// an Excel file; anything else is just not a Scoresheet.
std::string load_failure_text(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot != std::string::npos && path.size() - dot == 4) {
    if (!equal_ignoring_case(std::string_view(path).substr(dot), ".xls")) {
      return path + "\n\nThe Scoresheet must be in Excel format.";
    }
  }
  return not_a_scoresheet(path);
}

// The run log and the output must never be the operator's own input files.
bool overwrites_an_input(const ProgramPaths& paths, const std::string& file) {
  return same_file(file, paths.adif_path) || same_file(file, paths.scoresheet_path);
}

// Everything between a recognised Scoresheet and saving: map, list, log, fill, report.
void convert_into(Sheet& sheet, OperatorConfig& operator_config, const ProgramPaths& paths,
                  const BadCallSource& bad_call_source, const CountryFile* country_file,
                  RunLog& log) {
  EntityCreditTable entities;
  ZoneCreditTable zones;
  RunStats stats;
  RunInfo info;
  read_entity_map(sheet, entities, log);
  const BadCallList bad_calls = bad_call_source ? bad_call_source(log) : BadCallList();
  read_adif_log(paths, operator_config, entities, zones, info, stats, log, bad_calls, country_file);
  if (!operator_config.message.empty()) return;
  fill_scoresheet(sheet, operator_config, entities, zones);
  write_counts_block(log, stats, operator_config, entities, zones);
}

}  // namespace

int run_conversion(OperatorConfig& operator_config, const ProgramPaths& paths,
                   const SystemInfo& system, const BadCallSource& bad_calls, std::time_t now) {
  bool workbook_saved = false;
  return run_conversion(operator_config, paths, system, bad_calls, workbook_saved, now);
}

int run_conversion(OperatorConfig& operator_config, const ProgramPaths& paths,
                   const SystemInfo& system, const BadCallSource& bad_calls, bool& workbook_saved,
                   std::time_t now) {
  workbook_saved = false;
  RunLog log;
  log.path = run_log_path(paths.output_path);
  for (const std::string* file : {&std::as_const(log.path), &paths.output_path}) {
    if (overwrites_an_input(paths, *file)) {
      operator_config.message = "Error with output file " + *file +
                                ": it is the ADIF file or the Scoresheet.\n\n"
                                "Please choose another output file.";
      return -1;
    }
  }
  std::string open_error;
  if (!log.open(log.path, &open_error)) {
    operator_config.message =
        "Error with output file " + log.path + ": " + open_error.substr(0, system_text_limit);
    return -1;
  }
  if (!write_log_header(log, system, now)) return -1;
  const std::optional<CountryFile> country_file =
      open_run_country_file(operator_config, paths, log);

  Workbook workbook;
  if (!workbook.load(paths.scoresheet_path)) {
    operator_config.message = load_failure_text(paths.scoresheet_path);
    log.error("ERROR:\t%s\nERROR:\t%s\n", paths.scoresheet_path.c_str(),
              workbook.error_message().c_str());
  } else if (Sheet* sheet = workbook.first_sheet(); sheet == nullptr) {
    operator_config.message = not_a_scoresheet(paths.scoresheet_path);
  } else if (const auto title = sheet->read_text(1, 1);
             !title || title->find(TITLE_MARK) == std::string_view::npos) {
    operator_config.message = not_a_scoresheet(paths.scoresheet_path);
  } else {
    convert_into(*sheet, operator_config, paths, bad_calls, country_file ? &*country_file : nullptr,
                 log);
    if (operator_config.message.empty()) workbook_saved = workbook.save(paths.output_path);
    if (operator_config.message.empty() && !workbook_saved) {
      operator_config.message =
          "Error with output file " + paths.output_path + ": " + workbook.error_message();
      log.error("ERROR:\t%s\nERROR:\t%s\n", paths.output_path.c_str(),
                workbook.error_message().c_str());
    }
  }

  if (operator_config.message.empty() && log.errors != 0) {
    operator_config.message = "There were " + std::to_string(log.errors) + " errors in " +
                              paths.adif_path + "\n\nPlease review " + log.path +
                              " and modify the ADIF file as needed.";
  }
  log.close();
  return operator_config.message.empty() ? 0 : -1;
}

}  // namespace tarvenix
