// A new version of a file, written beside it under a temporary name and put in its place
// only once complete: until commit() the old file stays as it was, and an AtomicFile that
// goes without commit() removes its temporary file.
#pragma once

#include <functional>
#include <string>

#include "records/result.h"
#include "records/sink.h"

namespace tarvenix {

class AtomicFile final : public Sink {
 public:
  AtomicFile() = default;
  ~AtomicFile() override;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Creates the temporary file "TARGET.tmpNNN" in the target's folder.
  bool open(const std::string& target, FileSink::Mode mode = FileSink::Mode::binary);
  bool write(const char* data, size_t size) override;
  // Makes what was written so far durable in the temporary file.
  bool sync();
  // Syncs and closes the temporary file, so that it can be looked at before commit().
  bool close();
  // Closes the temporary file unless it is closed, then renames it over the target.
  bool commit();
  // Removes the temporary file; the target is untouched.
  void abandon();

  bool is_open() const { return file_.is_open(); }
  // Also after a failed open(): the name that could not be created.
  const std::string& temporary_path() const { return temporary_; }
  // The system's text for the last failure; replace_failed() tells a failed rename from a
  // failed write.
  const std::string& error() const { return error_; }
  bool replace_failed() const { return replace_failed_; }

 private:
  FileSink file_;
  std::string target_;
  std::string temporary_;
  std::string error_;
  bool created_ = false;  // the temporary file is there and not yet renamed
  bool replace_failed_ = false;
};

// "TARGET.tmpNNN": a name beside `target` that no other writer running at the same time
// picks. remove_temporaries() takes away those a killed program left.
std::string temporary_path_beside(const std::string& target);
void remove_temporaries(const std::string& target, const std::string& except = {});

// Calls `write` with a sink on an AtomicFile for `path` and commits it. On any failure `path`
// is untouched and the reason says why ("can't write the file: ...", "can't replace the file:
// ..."), or is the reason `write` gave when it failed without a failure of the file.
Result<> replace_file(const std::string& path, const std::function<Result<>(Sink&)>& write);

}  // namespace tarvenix
