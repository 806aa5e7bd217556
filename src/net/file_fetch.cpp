// Get, check 200, write to a temporary file beside the target, check, rename.
#include "net/file_fetch.h"

#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "records/atomic_file.h"

namespace tarvenix {
namespace {

// The download file, created with the first block (only a 200 answer has one), so an
// error page leaves no file behind. A failure is told once and ends the body.
class DownloadSink final : public Sink {
 public:
  DownloadSink(const Network& network, std::string path)
      : network_(network), path_(std::move(path)) {}

  bool write(const char* data, size_t size) override {
    return (file_.is_open() || open()) && (file_.write(data, size) || tell_write_failure());
  }
  // Syncs and closes the file (creating it for an empty body); buffered bytes reach the disc
  // here, so a full disc may only show now.
  bool finish() { return (file_.is_open() || open()) && (file_.finish() || tell_write_failure()); }
  // Closes and removes the file, unless it was renamed.
  void discard() {
    if (file_.is_open()) file_.finish();
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  bool failed() const { return failed_; }
  const std::string& path() const { return path_; }

 private:
  bool open() {
    if (failed_) return false;
    return file_.open(path_) ||
           fail("CreateFile", "ERROR: Unable to open file \"" + path_ + "\" for write.");
  }
  bool tell_write_failure() {
    return fail("WriteFile", "ERROR: Unable to write to file \"" + path_ + "\"");
  }
  // Only the first failure is told: the others follow from it.
  bool fail(std::string_view caption, const std::string& text) {
    if (!failed_) network_.tell_text(caption, text);
    failed_ = true;
    return false;
  }

  const Network& network_;
  std::string path_;
  FileSink file_;
  bool failed_ = false;
};

FetchOutcome replace_target(DownloadSink& download, const std::string& target,
                            const FileCheck& check) {
  if (!download.finish()) return FetchOutcome::failed;
  if (!check(download.path())) return FetchOutcome::refused;
  std::error_code error;
  std::filesystem::rename(download.path(), target, error);
  return error ? FetchOutcome::not_replaced : FetchOutcome::replaced;
}

}  // namespace

FileFetch fetch_file(const Network& network, const WebUrl& url, bool useHttps,
                     const std::string& target, const FileCheck& check) {
  // A name of its own: other runs may be fetching into the same folder.
  DownloadSink download(network, temporary_path_beside(target));
  const FetchResult result = network.fetch(url, useHttps, network.limits, &download);
  network.tell_failure(result);
  FileFetch fetch{FetchOutcome::failed, result.status};
  if (!result.failed() && result.status != http_ok) {
    fetch.outcome = FetchOutcome::not_ok;
  } else if (!result.failed() && !download.failed()) {
    fetch.outcome = replace_target(download, target, check);
  }
  download.discard();
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
