// The bad-call list: loading it from JSON, and the lookup of a call sign on a date.
#include "badcalls/bad_call_list.h"

#include <nlohmann/json.hpp>

#include "records/file_read.h"
#include "records/fnv_hash.h"

namespace tarvenix {

uint64_t BadCallList::call_hash(std::string_view call) {
  return fnv_hash(call) & (filter_bits - 1);
}

void BadCallList::mark(std::string_view call) {
  if (filter_.empty()) filter_.assign(filter_bits / 64, 0);
  const uint64_t bit = call_hash(call);
  filter_[bit / 64] |= uint64_t{1} << (bit % 64);
}

bool BadCallList::may_hold(std::string_view call) const {
  if (filter_.empty()) return false;
  const uint64_t bit = call_hash(call);
  return (filter_[bit / 64] >> (bit % 64)) & 1;
}

void insert_bad_call(BadCallList& list, BadCallEntry entry) {
  list.mark(entry.callsign);
  std::vector<BadCallEntry>& windows = list.by_call_[entry.callsign];
  windows.push_back(std::move(entry));
  ++list.size_;
}

void BadCallList::append(BadCallList&& other) {
  if (empty()) {
    *this = std::move(other);
    return;
  }
  for (auto& [call, entries] : other.by_call_) {
    for (BadCallEntry& entry : entries) insert_bad_call(*this, std::move(entry));
  }
  other = BadCallList();
}

const BadCallEntry* find_bad_call(const BadCallList& list, std::string_view call,
                                  std::string_view date) {
  if (!list.may_hold(call)) return nullptr;
  const auto it = list.by_call_.find(call);
  if (it == list.by_call_.end()) return nullptr;
  for (const BadCallEntry& entry : it->second) {
    // std::string_view compares bytes as unsigned, like strcmp.
    if (date >= std::string_view(entry.startOn) && date <= std::string_view(entry.endOn))
      return &entry;
  }
  return nullptr;
}

namespace {

using Json = nlohmann::json;

// A string member, or empty when it is missing or not a string.
std::string string_member(const Json& object, const char* name) {
  const auto it = object.find(name);
  if (it == object.end() || !it->is_string()) return {};
  return it->get<std::string>();
}

BadCallEntry entry_from(const Json& object) {
  BadCallEntry entry;
  entry.callsign = string_member(object, "callsign");
  const std::string category = string_member(object, "category");
  entry.category = category.empty() ? '\0' : category[0];
  entry.startOn = string_member(object, "startOn");
  entry.endOn = string_member(object, "endOn");
  std::string notes = string_member(object, "notes");
  if (!notes.empty()) entry.notes = std::move(notes);
  return entry;
}

// Inserts every object item of the root's "entries" array; returns how many.
int insert_entries(BadCallList& list, const Json& root) {
  const auto entries = root.find("entries");
  if (entries == root.end() || !entries->is_array()) return 0;
  int count = 0;
  for (const Json& item : *entries) {
    if (!item.is_object()) continue;  // not an entry; nothing to store
    insert_bad_call(list, entry_from(item));
    ++count;
  }
  return count;
}

}  // namespace

Result<int> load_bad_calls_from_text(BadCallList& list, std::string_view json,
                                     const std::string& name, RunLog& log) {
  // Damage is a failure here; memory running out ends the whole run where it is caught.
  const Json root = Json::parse(json.begin(), json.end(), nullptr, /*allow_exceptions=*/false);
  if (!root.is_object()) return Failure{name + ": bad json file"};
  // Gathered apart so that a failure half-way adds nothing.
  BadCallList read;
  const int items = insert_entries(read, root);
  list.append(std::move(read));
  if (items > 0) log.print("Read %d bad callsigns from %s\n", items, name.c_str());
  return items;
}

Result<int> load_bad_calls(BadCallList& list, const std::string& path, RunLog& log) {
  const Result<std::string> file = read_file(path, max_bad_calls_file_size);
  if (!file.ok()) return Failure{path + ": " + file.reason()};
  return load_bad_calls_from_text(list, file.value(), path, log);
}

}  // namespace tarvenix
