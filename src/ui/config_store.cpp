// The configuration store: naming, listing, loading and saving of the per-call-sign files.
#include "ui/config_store.h"

#include <algorithm>
#include <cstring>

#include "records/format_text.h"

namespace tarvenix {
namespace {

constexpr size_t callsign_limit = sizeof(OperatorConfig::callsign) - 1;
constexpr size_t shortest_saved_callsign = 3;

bool is_ascii_alnum(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// The "(select or new)" entry of the call-sign list is no call sign.
bool names_a_stored_callsign(const char* callsign) {
  return callsign[0] != '\0' && std::strchr(callsign, '(') == nullptr;
}

void set_callsign(OperatorConfig& record, const std::string& callsign) {
  std::memset(record.callsign, 0, sizeof record.callsign);
  std::memcpy(record.callsign, callsign.data(), std::min(callsign.size(), callsign_limit));
}

// "W1AW.old.cfg" lists as W1AW; names that cannot come from a call sign are skipped.
std::optional<std::string> callsign_of_file(const std::string& file_name) {
  std::string stem = file_name.substr(0, file_name.find('.'));
  if (!callsign_is_file_safe(stem)) return std::nullopt;
  stem_to_callsign(stem);
  return stem;
}

void reset_keeping_callsign(OperatorConfig& record, const std::string& callsign,
                            const char* message, const ConfigContext& context) {
  reset_config(record, context);
  set_callsign(record, callsign);
  record.message = message;
}

}  // namespace

std::string callsign_to_stem(const OperatorConfig& record) {
  std::string stem(record.callsign, strnlen(record.callsign, sizeof record.callsign));
  std::replace(stem.begin(), stem.end(), '/', '-');
  return stem;
}

void stem_to_callsign(std::string& text) {
  std::replace(text.begin(), text.end(), '-', '/');
}

bool callsign_is_file_safe(const std::string& callsign) {
  if (callsign.empty() || callsign.size() > callsign_limit) return false;
  return std::all_of(callsign.begin(), callsign.end(),
                     [](char c) { return is_ascii_alnum(c) || c == '/' || c == '-'; });
}

std::optional<std::string> config_file_name(const OperatorConfig& record,
                                            const ProgramPaths& paths) {
  const std::string stem = callsign_to_stem(record);
  if (!callsign_is_file_safe(stem)) return std::nullopt;
  return format_text("%s%s.%s", paths.program_dir.c_str(), stem.c_str(), "cfg");
}

void stamp_version(OperatorConfig& record, const ConfigContext& context) {
  const auto version =
      context.files.file_version(context.paths.program_dir + context.paths.program_file);
  if (!version) return;
  const std::string text = format_text("%d.%d", version->major, version->minor);
  std::memset(record.version_text, 0, sizeof record.version_text);
  std::memcpy(record.version_text, text.data(),
              std::min(text.size(), sizeof record.version_text - 1));
  record.format_version = config_format_version;
}

void reset_config(OperatorConfig& record, const ConfigContext& context) {
  record = OperatorConfig{};
  stamp_version(record, context);
}

StoredCallsigns list_configs(OperatorConfig& record, const ConfigContext& context) {
  StoredCallsigns stored;
  for (const std::string& file : context.files.find_config_files(context.paths.program_dir)) {
    if (auto callsign = callsign_of_file(file)) stored.callsigns.push_back(std::move(*callsign));
  }
  if (stored.callsigns.empty()) return stored;
  std::sort(stored.callsigns.begin(), stored.callsigns.end());
  stored.callsigns.erase(std::unique(stored.callsigns.begin(), stored.callsigns.end()),
                         stored.callsigns.end());
  stored.single = stored.callsigns.size() == 1;
  if (stored.single) {
    set_callsign(record, stored.callsigns.front());
  } else {
    reset_config(record, context);
  }
  return stored;
}

void read_config(OperatorConfig& record, const ConfigContext& context) {
  record.converted = 0;
  record.message.clear();
  if (!names_a_stored_callsign(record.callsign)) return;
  const auto path = config_file_name(record, context.paths);
  if (!path) return;  // no file can hold this call sign
  const Result<std::vector<uint8_t>> read = context.files.read_file(*path, config_record_size);
  if (!read.ok()) {
    record.message = format_text(config_missing_text, path->c_str());
    return;
  }
  const std::vector<uint8_t>& file = read.value();
  stamp_version(record, context);
  if (file.size() < config_record_size) {
    reset_keeping_callsign(record, stored_callsign(file), config_damaged_text, context);
    return;
  }
  ConfigBytes bytes;
  std::copy(file.begin(), file.end(), bytes.begin());
  OperatorConfig stored = deserialize_config(bytes);
  if (stored.format_version != record.format_version) {
    reset_keeping_callsign(record, stored_callsign(file), config_version_changed_text, context);
    return;
  }
  sanitize_config(stored, context.lists);
  record = std::move(stored);
  record.loaded = 1;
  record.converted = 0;
  record.changed = 0;
}

std::optional<std::string> write_config(OperatorConfig& record, const ConfigContext& context) {
  if (strnlen(record.callsign, sizeof record.callsign) < shortest_saved_callsign ||
      !names_a_stored_callsign(record.callsign))
    return std::nullopt;
  const auto path = config_file_name(record, context.paths);
  if (!path) return std::nullopt;  // never turned into a path
  stamp_version(record, context);
  record.message.clear();
  const ConfigBytes bytes = serialize_config(record);
  const uint32_t error = context.files.replace_file(*path, bytes);
  if (error == 0) return std::nullopt;
  return format_text(config_write_failed_text, path->c_str(), error);
}

}  // namespace tarvenix
