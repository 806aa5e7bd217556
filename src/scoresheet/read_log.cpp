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

std::string read_adif_log(const std::string& adif_path, ConversionRun& run) {
  FileSource file;
  if (!file.open(adif_path)) {
    return "Error with input file " + adif_path + ": " + file.error().substr(0, system_text_limit);
  }
  AdifReader reader(file);
  QsoRecord record;
  std::string error;  // the reader's text for a failed read
  int line_number = 0;
  for (bool reading = true; reading;) {
    const ReaderStatus status = reader.parse_ADIF(record, error);
    if (status != ReaderStatus::end_of_file) ++line_number;
    switch (status) {
      case ReaderStatus::line:
        break;
      case ReaderStatus::end_of_header:
        take_header(record, run.log);
        record.clear();
        break;
      case ReaderStatus::end_of_record:
        ++run.stats.qsos_read;
        evaluate_qso(record, run);
        record.clear();
        break;
      case ReaderStatus::end_of_file:
        // A sloppy export, or a length that swallowed the rest of the file: say so.
        if (!record.empty())
          run.log.error("ERROR:\tThe last record has no <EOR> and was not evaluated\n");
        reading = false;
        break;
      case ReaderStatus::error: {
        const std::string text = "ERROR: " + error;  // the log's line and the operator's message
        run.log.error("ERROR on line %0d:\n%s\n", line_number, text.c_str());
        return text;
      }
    }
  }
  if (run.stats.qsos_read == 0) {
    return "Did not find any QSOs in\n" + adif_path + "\n\nAre you sure it is in ADIF format?";
  }
  return {};
}

}  // namespace tarvenix
