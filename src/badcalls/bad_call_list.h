// The list of known busted and invalid call signs, each listed for a window of dates, as
// the contest publishes it in "all-bad-calls.json". Kept in a balanced tree keyed by call
// sign (byte order); every entry is kept, so one call sign may have several windows.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/result.h"
#include "records/run_log.h"

namespace tarvenix {

struct BadCallEntry {
  std::string callsign;              // compared byte for byte, case included
  char category = 0;                 // first byte of "category": 'B' busted, 'I' invalid
  std::string startOn;               // first day of the window, "YYYY-MM-DD"
  std::string endOn;                 // last day; may carry a time after the date
  std::optional<std::string> notes;  // none when empty
};

class BadCallList {
 public:
  bool empty() const { return by_call_.empty(); }
  size_t size() const { return size_; }
  // Moves every entry of `other` after this list's own.
  void append(BadCallList&& other);

 private:
  friend void insert_bad_call(BadCallList& list, BadCallEntry entry);
  friend const BadCallEntry* find_bad_call(const BadCallList& list, std::string_view call,
                                           std::string_view date);
  // One bit per call-sign hash: a clear bit answers "not listed" without a tree search,
  // which is the answer for nearly every QSO.
  static constexpr size_t filter_bits = size_t{1} << 18;
  static uint64_t call_hash(std::string_view call);
  void mark(std::string_view call);
  bool may_hold(std::string_view call) const;

  // Entries of one call sign stay in file order.
  std::map<std::string, std::vector<BadCallEntry>, std::less<>> by_call_;
  std::vector<uint64_t> filter_;  // empty until the first entry
  size_t size_ = 0;
};

// Adds one entry after those already there.
void insert_bad_call(BadCallList& list, BadCallEntry entry);

// The first entry (in file order) for exactly `call` whose window holds `date` ("%04d-%02d-%02d";
// compared as text, both ends included), or null.
const BadCallEntry* find_bad_call(const BadCallList& list, std::string_view call,
                                  std::string_view date);

// The contest's list is some hundred kilobytes; a file far beyond it is not that list, and its
// parsed form would cost many times its size.
inline constexpr size_t max_bad_calls_file_size = size_t{64} << 20;

// Reads the JSON file at `path` into `list`: the number of items of "entries" read. A file that
// is missing, unreadable or not a JSON object is a failure, naming the file, and adds nothing.
// When items were read, writes "Read %d bad callsigns from %s\n" to the run log (counted
// nowhere).
Result<int> load_bad_calls(BadCallList& list, const std::string& path, RunLog& log);

// The same from JSON text already in memory; `name` stands for the file in texts.
Result<int> load_bad_calls_from_text(BadCallList& list, std::string_view json,
                                     const std::string& name, RunLog& log);

}  // namespace tarvenix
