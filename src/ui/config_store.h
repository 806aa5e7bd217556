// The operator configuration files: one file per call sign in the program's directory,
// named after the call sign ('/' written as '-') with the extension "cfg". Lists the stored
// call signs, loads and saves the record, and stamps it with the format and program version.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/config_file.h"
#include "ui/file_system.h"
#include "ui/operator_config.h"
#include "ui/program_paths.h"

namespace tarvenix {

// The store's collaborators: where the files live and how they are reached.
struct ConfigContext {
  const ProgramPaths& paths;
  FileSystem& files;
  ConfigListSizes lists;  // for dropping stored indices outside their lists
};

// The call sign with every '/' turned into '-'.
std::string callsign_to_stem(const OperatorConfig& record);

// Every '-' turned back into '/'.
void stem_to_callsign(std::string& text);

// True for a call sign that may become a file name: 1 to 15 letters, digits, '/' and '-'.
bool callsign_is_file_safe(const std::string& callsign);

// The full path of the call sign's file, or nothing when the call sign cannot name a file.
std::optional<std::string> config_file_name(const OperatorConfig& record,
                                            const ProgramPaths& paths);

// Sets format_version and version_text from the program file's version resource; changes
// nothing when the program file has none.
void stamp_version(OperatorConfig& record, const ConfigContext& context);

// All bytes zero (message empty), then stamped.
void reset_config(OperatorConfig& record, const ConfigContext& context);

// The stored call signs, sorted, each once. When exactly one is stored, `single` is set and
// the record's callsign holds it; when more are stored the record is reset; when none, the
// record is untouched.
struct StoredCallsigns {
  std::vector<std::string> callsigns;
  bool single = false;
};
StoredCallsigns list_configs(OperatorConfig& record, const ConfigContext& context);

// Loads the file of the record's call sign. A text for the operator is left in `message`.
void read_config(OperatorConfig& record, const ConfigContext& context);

// Saves the record under its call sign (call signs under 3 characters are never saved).
// Returns the text for the operator when the file could not be written.
std::optional<std::string> write_config(OperatorConfig& record, const ConfigContext& context);

// Texts left in `message`.
inline constexpr const char* config_missing_text = "Unable to find config file: %s";
inline constexpr const char* config_version_changed_text =
    "Configuration version changed, resetting to default.";
inline constexpr const char* config_damaged_text =
    "Configuration file is damaged, resetting to default.";
inline constexpr const char* config_write_failed_text = "Error: Can't open %s for output (0x%x)";

}  // namespace tarvenix
