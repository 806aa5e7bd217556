// Fetching a file whole in place of an older one: the one way both the bad-call list and a
// new program are downloaded.
#pragma once

#include <functional>
#include <string>

#include "net/fetch.h"

namespace tarvenix {

// What became of fetch_file.
enum class FetchOutcome {
  replaced,      // the checked body is in the target
  failed,        // no answer, or the body did not arrive whole (told to the operator)
  not_ok,        // the server answered, but not 200
  refused,       // the body arrived but the check refused it
  not_replaced,  // the target could not be replaced
};
struct FileFetch {
  FetchOutcome outcome = FetchOutcome::failed;
  int status = 0;  // the HTTP status, 0 without an answer
};
// Looks at a downloaded file before it may replace the target.
using FileCheck = std::function<bool(const std::string& downloaded)>;

// Gets `url`; only a 200 answer is downloaded, into "TARGET.tmpNNN", which is synced to the
// disc and, once whole and accepted by `check`, renamed over `target`. On any failure
// `target` is as it was and the download is gone. Network failures are told under "Internet
// error", a file that cannot be created or written under "CreateFile" and "WriteFile".
FileFetch fetch_file(const Network& network, const WebUrl& url, bool useHttps,
                     const std::string& target, const FileCheck& check);

// Why nothing replaced the target, for the run log or standard error ("HTTP status 404");
// `refusal` tells why the check refused the body. Empty when the target was replaced.
std::string fetch_problem(const FileFetch& fetch, const std::string& refusal);

}  // namespace tarvenix
