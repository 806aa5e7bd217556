// The reading loop of a conversion: records in, evaluation out, one reused record.
#include "scoresheet/read_log.h"

#include <string>

#include "adif/reader.h"
#include "evaluation/qso_evaluation.h"

namespace tarvenix {

namespace {

// Notes the logging program named in the header, then divides it from the records.
void take_header(const QsoRecord& header, RunLog& log) {
  if (header.empty()) return;
  if (const AdifField* id = header.find("PROGRAMID")) {
    log.print("INFO:\t%s", std::string(id->value).c_str());  // counted nowhere
    if (const AdifField* version = header.find("PROGRAMVERSION")) {
      log.print(" ver. %s", std::string(version->value).c_str());
    }
    log.write("\n");
  }
  log.write(log_separator);
}

}  // namespace

void read_adif_log(const ProgramPaths& paths, OperatorConfig& operator_config,
                   EntityCreditTable& entities, ZoneCreditTable& zones, RunStats& stats,
                   RunLog& log, const BadCallList& bad_calls, const CountryFile* country_file) {
  FileSource file;
  if (!file.open(paths.adif_path)) {
    operator_config.message = "Error with input file " + paths.adif_path + ": " +
                              file.error().substr(0, system_text_limit);
    return;
  }
  AdifReader reader(file);
  QsoRecord record;
  std::string error;
  int line_number = 0;
  for (bool reading = true; reading;) {
    const ReaderStatus status = reader.parse_ADIF(record, error);
    if (status != ReaderStatus::end_of_file) ++line_number;
    switch (status) {
      case ReaderStatus::line:
        break;
      case ReaderStatus::end_of_header:
        take_header(record, log);
        record.clear();
        break;
      case ReaderStatus::end_of_record:
        ++stats.qsos_read;
        evaluate_qso(record, operator_config, entities, zones, stats, log, bad_calls, country_file);
        record.clear();
        break;
      case ReaderStatus::end_of_file:
        // A sloppy export, or a length that swallowed the rest of the file: say so.
        if (!record.empty())
          log.error("ERROR:\tThe last record has no <EOR> and was not evaluated\n");
        reading = false;
        break;
      case ReaderStatus::error:
        operator_config.message = error;
        log.error("ERROR on line %0d:\n%s\n", line_number, error.c_str());
        reading = false;
        break;
    }
  }
  if (operator_config.message.empty() && stats.qsos_read == 0) {
    operator_config.message =
        "Did not find any QSOs in\n" + paths.adif_path + "\n\nAre you sure it is in ADIF format?";
  }
}

}  // namespace tarvenix
