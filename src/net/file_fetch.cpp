// Get, check 200, write to a temporary file beside the target, check, rename.
#include "net/file_fetch.h"

#include <string_view>
#include <utility>

#include "records/atomic_file.h"

namespace tarvenix {
namespace {

// The download, an AtomicFile opened with the first block (only a 200 answer has one), so an
// error page leaves no file behind. A failure is told once and ends the body.
class DownloadSink final : public Sink {
 public:
  DownloadSink(const Network& network, std::string target)
      : network_(network), target_(std::move(target)) {}

  bool write(const char* data, size_t size) override {
    return (file_.is_open() || open()) && (file_.write(data, size) || tell_write_failure());
  }
  // Syncs and closes the file (creating it for an empty body); buffered bytes reach the disc
  // here, so a full disc may only show now.
  bool close() { return (file_.is_open() || open()) && (file_.close() || tell_write_failure()); }
  bool failed() const { return failed_; }
  AtomicFile& file() { return file_; }

 private:
  bool open() {
    if (failed_) return false;
    return file_.open(target_) || fail("CreateFile", "ERROR: Unable to open file \"" +
                                                         file_.temporary_path() + "\" for write.");
  }
  bool tell_write_failure() {
    return fail("WriteFile", "ERROR: Unable to write to file \"" + file_.temporary_path() + "\"");
  }
  // Only the first failure is told: the others follow from it.
  bool fail(std::string_view caption, const std::string& text) {
    if (!failed_) network_.tell_text(caption, text);
    failed_ = true;
    return false;
  }

  const Network& network_;
  std::string target_;
  AtomicFile file_;
  bool failed_ = false;
};

FetchOutcome replace_target(DownloadSink& download, const FileCheck& check) {
  if (!download.close()) return FetchOutcome::failed;
  if (!check(download.file().temporary_path())) return FetchOutcome::refused;
  return download.file().commit() ? FetchOutcome::replaced : FetchOutcome::not_replaced;
}

}  // namespace

FileFetch fetch_file(const Network& network, const WebUrl& url, bool useHttps,
                     const std::string& target, const FileCheck& check) {
  // AtomicFile gives the download a name of its own: other runs may be fetching into the
  // same folder.
  DownloadSink download(network, target);
  const FetchResult result = network.fetch(url, useHttps, network.limits, &download);
  network.tell_failure(result);
  FileFetch fetch{FetchOutcome::failed, result.status};
  if (!result.failed() && result.status != http_ok) {
    fetch.outcome = FetchOutcome::not_ok;
  } else if (!result.failed() && !download.failed()) {
    fetch.outcome = replace_target(download, check);
  }
  return fetch;
}

std::string fetch_problem(const FileFetch& fetch, const std::string& refusal) {
  switch (fetch.outcome) {
    case FetchOutcome::replaced:
      return {};
    case FetchOutcome::failed:
      break;
    case FetchOutcome::not_ok:  // an error page is not worth a file
      return "HTTP status " + std::to_string(fetch.status);
    case FetchOutcome::refused:
      return refusal;
    case FetchOutcome::not_replaced:
      return "the local copy could not be replaced";
  }
  return "the download failed";
}

}  // namespace tarvenix
