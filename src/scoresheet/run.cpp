// The conversion run. Every early end leaves a text for the operator; the run log says
// what happened to every QSO.
#include "scoresheet/run.h"

#include <array>
#include <filesystem>
#include <new>
#include <optional>
#include <string>
#include <system_error>

#include "evaluation/entity_map.h"
#include "records/atomic_file.h"
#include "records/output_lock.h"
#include "records/paths.h"
#include "records/result.h"
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

// A Scoresheet's first sheet carries the title mark in B2.
bool is_scoresheet(const Sheet* sheet) {
  if (sheet == nullptr) return false;
  const auto title = sheet->read_text(1, 1);
  return title && title->find(title_mark) != std::string_view::npos;
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

// The files a run reads; an empty path is a file it does not use.
std::array<const std::string*, 4> input_paths(const ConversionRequest& request) {
  return {&request.adif_path, &request.scoresheet_path, &request.country_file.named_file,
          &request.bad_calls.list_file};
}

// Fails, naming for the operator the first file the run writes that is one of the files it
// reads.
Result<> outputs_apart_from_inputs(const ConversionRequest& request, const std::string& log_path,
                                   const std::string& page_path) {
  const std::string* outputs[] = {&log_path, &request.output_path, &page_path,
                                  &request.bad_calls.local_copy};
  for (const std::string* output : outputs) {
    for (const std::string* input : input_paths(request)) {
      if (output->empty() || input->empty() || !same_file(*output, *input)) continue;
      return Failure{"Error with output file " + *output + ": it is the input file " + *input +
                     ".\n\nPlease choose another output file."};
    }
  }
  return {};
}

// A directory, a FIFO or a device is refused before it is opened: reading a FIFO would wait
// for a writer that never comes.
Result<> regular_inputs(const ConversionRequest& request) {
  for (const std::string* input : input_paths(request)) {
    std::error_code ec;
    const auto status = std::filesystem::status(std::filesystem::path(*input), ec);
    if (input->empty() || ec || !std::filesystem::exists(status)) continue;
    if (!std::filesystem::is_regular_file(status)) {
      return Failure{"Error with input file " + *input + ": not a regular file"};
    }
  }
  return {};
}

// Takes the output for this run and clears away what a killed run on it left behind. The
// lock is taken on the run log's name: outputs that differ only in their extension share it.
Result<> hold_output(OutputLock& lock, const std::string& output_path, const RunLog& log,
                     const std::string& page_path) {
  switch (lock.take(log.path)) {
    case OutputLock::Result::busy:
      return Failure{output_path + " is being written by another conversion."};
    case OutputLock::Result::failed:
      return Failure{"Error with output file " + lock_path_of(log.path) + ": " +
                     lock.error().substr(0, system_text_limit)};
    case OutputLock::Result::held:
      break;
  }
  remove_temporaries(output_path);
  remove_temporaries(log.path, log.temporary_path());
  if (!page_path.empty()) remove_temporaries(page_path);
  return {};
}

// Everything between a recognised Scoresheet and saving: map, list, log, fill, report.
void convert_into(Sheet& sheet, const ConversionRequest& request, ConversionRun& run,
                  ConversionResult& result) {
  read_entity_map(sheet, run.entities, run.log);
  if (request.bad_calls.load) run.bad_calls = request.bad_calls.load(run.log);
  result.message = read_adif_log(request.adif_path, run);
  if (!result.message.empty()) return;
  result.written = fill_scoresheet(sheet, request.callsign, run.entities, run.zones);
  write_counts_block(run, *result.written);
}

// The page is written before the workbook is saved and put in place after it, so a page
// that cannot be written is a warning in the log that goes with the workbook. Entities are
// grouped by the country file's continents, or stand in one group without the file.
bool prepare_page(AtomicFile& page_file, const std::string& path, const ConversionRequest& request,
                  ConversionRun& run) {
  const CountryFile* country_file = run.country_file;
  ContinentOf continent_of;
  if (country_file != nullptr) {
    continent_of = [country_file](int32_t code) {
      return std::string(continent_name(country_file->continent_of(code)));
    };
  }
  const ResultsPage page{request.callsign, run, file_name_of(request.output_path),
                         file_name_of(run.log.path), continent_of};
  const Result<> prepared = prepare_results_page(page_file, path, page);
  if (prepared.ok()) return true;
  run.log.warn("WARN:\t%s\nWARN:\t%s\n", path.c_str(), prepared.reason().c_str());
  return false;
}

std::string log_write_failure(const RunLog& log) {
  return "Error writing the run log " + log.path + ": " +
         log.write_error().substr(0, system_text_limit);
}

// Saves the workbook once the log so far is safely on the disc: a run that cannot keep its
// log leaves the previous workbook and log together.
bool save_workbook(Workbook& workbook, const std::string& output_path, RunLog& log,
                   ConversionResult& result) {
  if (!log.sync()) {
    result.message = log_write_failure(log);
    return false;
  }
  if (workbook.save(output_path)) return true;
  result.message = "Error with output file " + output_path + ": " + workbook.error_message();
  log.error("ERROR:\t%s\nERROR:\t%s\n", output_path.c_str(), workbook.error_message().c_str());
  return false;
}

// Loads the template, converts into it and saves it with its page; a text in the result's
// message when that failed.
void convert_workbook(const ConversionRequest& request, const std::string& page_path,
                      ConversionRun& run, ConversionResult& result) {
  const std::string& template_path = request.scoresheet_path;
  Workbook workbook;
  if (!workbook.load(template_path)) {
    result.message = load_failure_text(template_path);
    run.log.error("ERROR:\t%s\nERROR:\t%s\n", template_path.c_str(),
                  workbook.error_message().c_str());
  } else if (Sheet* sheet = workbook.first_sheet(); !is_scoresheet(sheet)) {
    result.message = not_a_scoresheet(template_path);
  } else {
    convert_into(*sheet, request, run, result);
    if (!result.message.empty()) return;
    AtomicFile page_file;
    const bool page_ready = !page_path.empty() && prepare_page(page_file, page_path, request, run);
    if (!save_workbook(workbook, request.output_path, run.log, result)) return;
    result.workbook = request.output_path;
    if (!page_ready) return;
    if (page_file.commit()) {
      result.results_page = page_path;
    } else {
      run.log.warn("WARN:\t%s\nWARN:\tcan't replace the file: %s\n", page_path.c_str(),
                   page_file.error().c_str());
    }
  }
}

// The text for the operator when the run could not start or did not finish cleanly; empty
// when it converted.
std::string convert(const ConversionRequest& request, ConversionResult& result) {
  ConversionRun run;
  run.band = request.band;
  run.mode = request.mode;
  run.prefer_confirmed = request.prefer_confirmed;
  RunLog& log = run.log;
  log.path = run_log_path(request.output_path);
  result.run_log = log.path;
  const std::string page_path =
      request.results_page_wanted ? results_page_path(request.output_path) : "";
  Result<> inputs = outputs_apart_from_inputs(request, log.path, page_path);
  if (inputs.ok()) inputs = regular_inputs(request);
  if (!inputs.ok()) return inputs.reason();
  const Result<> opened = log.open(log.path);
  if (!opened.ok()) {
    return "Error with output file " + log.path + ": " +
           opened.reason().substr(0, system_text_limit);
  }
  OutputLock lock;
  const Result<> held = hold_output(lock, request.output_path, log, page_path);
  if (!held.ok()) return held.reason();
  if (!write_log_header(log, request.system, request.now)) {
    return "The system clock gives no date for the run log.";
  }

  const std::optional<CountryFile> country_file =
      open_run_country_file(request.country_file, request.now, log);
  run.country_file = country_file ? &*country_file : nullptr;
  convert_workbook(request, page_path, run, result);
  if (result.message.empty() && log.errors != 0) {
    result.message = "There were " + std::to_string(log.errors) + " errors in " +
                     request.adif_path + "\n\nPlease review " + log.path +
                     " and modify the ADIF file as needed.";
  }
  if (!log.commit()) return log_write_failure(log);
  return result.message;
}

}  // namespace

ConversionResult run_conversion(const ConversionRequest& request) {
  ConversionResult result;
  try {
    result.message = convert(request, result);
  } catch (const std::bad_alloc&) {
    // The run's one catch: memory ran out somewhere below. Whatever the run held is gone
    // again; its temporary files went with it.
    result.message = "Not enough memory to convert " + request.adif_path + ".";
  }
  result.status = result.message.empty() ? ConversionStatus::converted : ConversionStatus::failed;
  return result;
}

}  // namespace tarvenix
