// The conversion run. Every early end leaves a text for the operator; the run log says
// what happened to every QSO.
#include "scoresheet/run.h"

#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <system_error>

#include "evaluation/entity_map.h"
#include "records/atomic_file.h"
#include "records/output_lock.h"
#include "records/paths.h"
#include "records/text_compare.h"
#include "scoresheet/file_paths.h"
#include "scoresheet/fill.h"
#include "scoresheet/log_header.h"
#include "scoresheet/read_log.h"
#include "scoresheet/results_page.h"
#include "scoresheet/run_country_file.h"
#include "scoresheet/run_report.h"
#include "scoresheet/workbook.h"

namespace tarvenix {

namespace {

constexpr const char* title_mark = "DX Tarvenix Worksheet";

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

// The first file the run writes that is one of the files it reads, as a text for the
// operator; nothing when they all differ.
std::optional<std::string> overwritten_input(const ProgramPaths& paths, const std::string& log_path,
                                             const std::string& page_path,
                                             const BadCallSource& source) {
  const std::string* inputs[] = {&paths.adif_path, &paths.scoresheet_path, &paths.country_file,
                                 &source.list_file};
  const std::string* outputs[] = {&log_path, &paths.output_path, &page_path, &source.local_copy};
  for (const std::string* output : outputs) {
    for (const std::string* input : inputs) {
      if (output->empty() || input->empty() || !same_file(*output, *input)) continue;
      return "Error with output file " + *output + ": it is the input file " + *input +
             ".\n\nPlease choose another output file.";
    }
  }
  return std::nullopt;
}

// A directory, a FIFO or a device is refused before it is opened: reading a FIFO would wait
// for a writer that never comes.
std::optional<std::string> irregular_input(const ProgramPaths& paths, const BadCallSource& source) {
  for (const std::string* input :
       {&paths.adif_path, &paths.scoresheet_path, &paths.country_file, &source.list_file}) {
    std::error_code ec;
    const auto status = std::filesystem::status(std::filesystem::path(*input), ec);
    if (input->empty() || ec || !std::filesystem::exists(status)) continue;
    if (!std::filesystem::is_regular_file(status)) {
      return "Error with input file " + *input + ": not a regular file";
    }
  }
  return std::nullopt;
}

// Takes the output for this run and clears away what a killed run on it left behind. The
// lock is taken on the run log's name: outputs that differ only in their extension share it.
std::optional<std::string> hold_output(OutputLock& lock, const ProgramPaths& paths,
                                       const RunLog& log, const std::string& page_path) {
  switch (lock.take(log.path)) {
    case OutputLock::Result::busy:
      return paths.output_path + " is being written by another conversion.";
    case OutputLock::Result::failed:
      return "Error with output file " + lock_path_of(log.path) + ": " +
             lock.error().substr(0, system_text_limit);
    case OutputLock::Result::held:
      break;
  }
  remove_temporaries(paths.output_path);
  remove_temporaries(log.path, log.temporary_path());
  if (!page_path.empty()) remove_temporaries(page_path);
  return std::nullopt;
}

// Everything between a recognised Scoresheet and saving: map, list, log, fill, report.
void convert_into(Sheet& sheet, OperatorConfig& operator_config, const ProgramPaths& paths,
                  const BadCallSource& bad_call_source, ConversionRun& run) {
  read_entity_map(sheet, run.entities, run.log);
  if (bad_call_source.load) run.bad_calls = bad_call_source.load(run.log);
  operator_config.message = read_adif_log(paths.adif_path, run);
  if (!operator_config.message.empty()) return;
  fill_scoresheet(sheet, operator_config, run.entities, run.zones);
  write_counts_block(run.log, run.stats, operator_config, run.entities, run.zones);
}

// The page is written before the workbook is saved and put in place after it, so a page
// that cannot be written is a warning in the log that goes with the workbook. Entities are
// grouped by the country file's continents, or stand in one group without the file.
bool prepare_page(AtomicFile& page_file, const std::string& path, const ProgramPaths& paths,
                  const OperatorConfig& operator_config, ConversionRun& run) {
  const CountryFile* country_file = run.country_file;
  ContinentOf continent_of;
  if (country_file != nullptr) {
    continent_of = [country_file](int32_t code) {
      return std::string(continent_name(country_file->continent_of(code)));
    };
  }
  const ResultsPage page{operator_config,
                         run.entities,
                         run.zones,
                         run.stats,
                         file_name_of(paths.output_path),
                         file_name_of(run.log.path),
                         continent_of};
  std::string error;
  if (prepare_results_page(page_file, path, page, error)) return true;
  run.log.warn("WARN:\t%s\nWARN:\t%s\n", path.c_str(), error.c_str());
  return false;
}

std::string log_write_failure(const RunLog& log) {
  return "Error writing the run log " + log.path + ": " +
         log.write_error().substr(0, system_text_limit);
}

// Saves the workbook once the log so far is safely on the disc: a run that cannot keep its
// log leaves the previous workbook and log together.
bool save_workbook(Workbook& workbook, OperatorConfig& operator_config, const ProgramPaths& paths,
                   RunLog& log) {
  if (!log.sync()) {
    operator_config.message = log_write_failure(log);
    return false;
  }
  if (workbook.save(paths.output_path)) return true;
  operator_config.message =
      "Error with output file " + paths.output_path + ": " + workbook.error_message();
  log.error("ERROR:\t%s\nERROR:\t%s\n", paths.output_path.c_str(),
            workbook.error_message().c_str());
  return false;
}

// Loads the template, converts into it and saves it with its page; a text in message when
// that failed.
void convert_workbook(OperatorConfig& operator_config, const ProgramPaths& paths,
                      const BadCallSource& bad_calls, const std::string& page_path,
                      ConversionRun& run, RunOutputs& outputs) {
  RunLog& log = run.log;
  Workbook workbook;
  if (!workbook.load(paths.scoresheet_path)) {
    operator_config.message = load_failure_text(paths.scoresheet_path);
    log.error("ERROR:\t%s\nERROR:\t%s\n", paths.scoresheet_path.c_str(),
              workbook.error_message().c_str());
  } else if (Sheet* sheet = workbook.first_sheet(); sheet == nullptr) {
    operator_config.message = not_a_scoresheet(paths.scoresheet_path);
  } else if (const auto title = sheet->read_text(1, 1);
             !title || title->find(title_mark) == std::string_view::npos) {
    operator_config.message = not_a_scoresheet(paths.scoresheet_path);
  } else {
    convert_into(*sheet, operator_config, paths, bad_calls, run);
    if (!operator_config.message.empty()) return;
    AtomicFile page_file;
    const bool page_ready =
        !page_path.empty() && prepare_page(page_file, page_path, paths, operator_config, run);
    outputs.workbook_saved = save_workbook(workbook, operator_config, paths, log);
    if (!outputs.workbook_saved || !page_ready) return;
    if (page_file.commit()) {
      outputs.results_page = page_path;
    } else {
      log.warn("WARN:\t%s\nWARN:\tcan't replace the file: %s\n", page_path.c_str(),
               page_file.error().c_str());
    }
  }
}

int convert(OperatorConfig& operator_config, const ProgramPaths& paths, const SystemInfo& system,
            const BadCallSource& bad_calls, const CountryFileRefresh& country_refresh,
            RunOutputs& outputs, std::time_t now) {
  ConversionRun run;
  run.band = static_cast<Band>(operator_config.band_index);
  run.mode = static_cast<ModeClass>(operator_config.mode_index);
  run.prefer_confirmed = operator_config.confirmed != 0;
  RunLog& log = run.log;
  log.path = run_log_path(paths.output_path);
  const std::string page_path =
      outputs.results_page_wanted ? results_page_path(paths.output_path) : "";
  std::optional<std::string> refusal = overwritten_input(paths, log.path, page_path, bad_calls);
  if (!refusal) refusal = irregular_input(paths, bad_calls);
  if (refusal) {
    operator_config.message = *refusal;
    return -1;
  }
  std::string open_error;
  if (!log.open(log.path, &open_error)) {
    operator_config.message =
        "Error with output file " + log.path + ": " + open_error.substr(0, system_text_limit);
    return -1;
  }
  OutputLock lock;
  if (auto busy = hold_output(lock, paths, log, page_path)) {
    operator_config.message = *busy;
    return -1;
  }
  if (!write_log_header(log, system, now)) {
    operator_config.message = "The system clock gives no date for the run log.";
    return -1;
  }

  const std::optional<CountryFile> country_file =
      open_run_country_file(operator_config, paths, country_refresh, now, log);
  run.country_file = country_file ? &*country_file : nullptr;
  convert_workbook(operator_config, paths, bad_calls, page_path, run, outputs);
  if (operator_config.message.empty() && log.errors != 0) {
    operator_config.message = "There were " + std::to_string(log.errors) + " errors in " +
                              paths.adif_path + "\n\nPlease review " + log.path +
                              " and modify the ADIF file as needed.";
  }
  if (!log.commit()) {
    operator_config.message = log_write_failure(log);
    return -1;
  }
  return operator_config.message.empty() ? 0 : -1;
}

}  // namespace

int run_conversion(OperatorConfig& operator_config, const ProgramPaths& paths,
                   const SystemInfo& system, const BadCallSource& bad_calls, std::time_t now) {
  RunOutputs outputs;
  return run_conversion(operator_config, paths, system, bad_calls, {}, outputs, now);
}

int run_conversion(OperatorConfig& operator_config, const ProgramPaths& paths,
                   const SystemInfo& system, const BadCallSource& bad_calls,
                   const CountryFileRefresh& country_refresh, RunOutputs& outputs,
                   std::time_t now) {
  outputs.workbook_saved = false;
  outputs.results_page.clear();
  try {
    return convert(operator_config, paths, system, bad_calls, country_refresh, outputs, now);
  } catch (const std::bad_alloc&) {
    // Whatever the run held is gone again; its temporary files went with it.
    operator_config.message = "Not enough memory to convert " + paths.adif_path + ".";
    return -1;
  }
}

}  // namespace tarvenix
