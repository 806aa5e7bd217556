// The newer-version check and the download of a new program, against a fake network of
// canned answers: what is compared, what is told, and what is left in the program's folder.
#include <doctest/doctest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "net/file_fetch.h"
#include "net/program_update.h"
#include "test_support.h"

using namespace tarvenix;
using namespace tarvenix::test;

namespace {

constexpr const char* served_date = "Tue, 01 Oct 2024 12:00:00 GMT";
constexpr int64_t served_time = 1727784000;
const FetchResult no_session{.failed_step = std::string(session_step), .error = 12004};
const FetchResult cannot_connect{
    .failed_step = "HttpSendRequest", .error = 12029, .failed_url = "http://h/x"};
// An MZ header whose e_lfanew points at "PE\0\0" and a file header.
const std::string image = "MZ" + std::string(0x3A, '\0') + "\x40" + std::string(3, '\0') +
                          std::string("PE\0\0", 4) + std::string(20, '\x01');

// A program folder with an old program in it, and a network that answers every fetch with
// `answer`, its body `body` for a 200.
struct UpdateTest {
  CapturedErrors errors;
  ScratchFolder folder;
  std::string program_dir = folder.file("Program.Files") + "/";
  std::string program = program_dir + "tarvenix.exe";
  const WebEndpoints endpoints{.updatePath = "software/tarvenix/tarvenix.exe"};

  UpdateTest() {
    std::filesystem::create_directories(program_dir);
    write_file(program, "old program");
  }

  // The program file's signature ("PATH.sig") is answered with `signature_answer`, its body
  // `signature`; fake_verifier takes "good" for a good one.
  Network network(const FetchResult& answer, const std::string& body = {},
                  const FetchResult& signature_answer = {.status = 200},
                  const std::string& signature = "good") const {
    Network fake = errors.network;
    fake.fetch = [=](const WebUrl& url, bool, const FetchLimits&, Sink* sink) {
      const bool of_signature = url.path.ends_with(".sig");
      const FetchResult& given = of_signature ? signature_answer : answer;
      const std::string& bytes = of_signature ? signature : body;
      if (sink && given.status == 200) sink->write(bytes.data(), bytes.size());
      return given;
    };
    return fake;
  }
  static bool fake_verifier(std::span<const uint8_t>, std::span<const uint8_t> signature) {
    return std::string(signature.begin(), signature.end()) == "good";
  }

  // Everything told, one "caption: text" after the other; "Internet error" goes unsaid.
  std::string told() const {
    std::string all;
    for (const auto& shown : errors.shown) {
      all += (shown.caption == "Internet error" ? "" : shown.caption + ": ") + shown.text + "|";
    }
    return all;
  }
};

FetchResult answer(int status, const char* text, std::optional<std::string> date = served_date) {
  return FetchResult{.status = status, .status_text = text, .last_modified = std::move(date)};
}

}  // namespace

// A failed check is told under "Internet error", a request that went out once more.
TEST_CASE_FIXTURE(UpdateTest, "only a 200 answer with a full date is compared, and told if not") {
  const std::string unreadable = "The date of the program file on the server could not be read: ";
  const std::string long_date = "Tuesday, 01 October 2024 12:00:00 GMT";  // a date, but too long
  const std::string no_connect =
      " failed, error = 12029\nThe attempt to connect to the server failed.";
  struct Case {
    FetchResult answer;
    int64_t ours;
    bool newer;
    std::string text, told;  // told: "|" after each text told
  } cases[] = {
      {answer(200, "OK"), served_time - 1, true, ""},
      {answer(200, "OK"), served_time, false, ""},
      {answer(200, "OK"), served_time + 3600, false, ""},
      {answer(403, "Forbidden", std::nullopt), 0, false,
       "HTTP Error 403 - Forbidden\n"
       "You do not have permission to access tarvenix.exe on the remote server!"},
      {answer(200, "OK", std::nullopt), 0, false, "HTTP Error 200 - OK"},
      {answer(404, "Not Found"), 0, false, "HTTP Error 404 - Not Found"},  // an error page's date
      {answer(200, "OK", long_date), 0, false, unreadable + long_date},
      {answer(200, "OK", "Tue, 01 Oct 2024"), 0, false, unreadable + "Tue, 01 Oct 2024"},
      {cannot_connect, 0, false, "",
       "HttpSendRequest" + no_connect + "\nhttp://h/x|HttpSendRequestInternetConnect" + no_connect +
           "|"},
      {no_session, 0, false, "", "HttpSendRequestInternetOpen failed, error = 12004|"},
      {{.failed_step = "HttpSendRequest", .error = 2}, 0, false, ""},  // a code without a text
  };
  for (const Case& c : cases) {
    CAPTURE(c.text);
    errors.shown.clear();
    using namespace std::chrono;
    std::filesystem::last_write_time(program, file_clock::from_sys(sys_seconds(c.ours * 1s)));
    const UpdateCheck check = newer_version_available(network(c.answer), program, endpoints);
    CHECK((check.newer == c.newer && check.network_failed == c.answer.failed()));
    CHECK(check.error_text == c.text);
    CHECK(told() == c.told);
  }
}

// The download path of the bad-call list too (its refusals are tested there): only a whole,
// synced body with a good signature is kept.
TEST_CASE_FIXTURE(UpdateTest, "a new program is downloaded beside the old one, or nothing is") {
  const FetchResult ok = answer(200, "OK"), not_found = answer(404, "Not Found");
  const std::string no_session_text = "HttpSendRequestInternetOpen failed, error = 12004|";
  struct Case {
    FetchResult answer;
    std::string body;
    FetchResult signature_answer;
    std::string signature;
    size_t failing_write;  // of the download's file; 0 for none
    bool not_signed;
    std::string told;  // up to the download's path
  } cases[] = {
      {ok, image, ok, "good", 0, false, ""},
      {ok, image, not_found, "", 0, true, ""},
      {ok, image, ok, "forged", 0, true, ""},
      {ok, "<html></html>", ok, "good", 0, false, ""},  // signed, but not a program
      {ok, image, no_session, "", 0, false, no_session_text},
      {no_session, image, ok, "good", 0, false, no_session_text},
      {ok, image, ok, "good", 1, false, "WriteFile: ERROR: Unable to write to file \""},  // full
  };
  for (const Case& c : cases) {
    CAPTURE(c.told);
    errors.shown.clear();
    fail_file_writes_after(c.failing_write);
    const auto update = download_update(network(c.answer, c.body, c.signature_answer, c.signature),
                                        program_dir, endpoints, fake_verifier);
    fail_file_writes_after(0);
    const bool kept = &c == &cases[0];
    REQUIRE(update.file.has_value() == kept);
    CHECK(update.not_signed == c.not_signed);
    CHECK(count_files(program_dir) == (kept ? 2u : 1u));
    if (kept) CHECK(read_file(*update.file) == image);
    if (kept) std::filesystem::remove(*update.file);
    CHECK(told().substr(0, told().find(program_dir)) == c.told);
  }
  // A download that cannot even be created is told under its own caption.
  errors.shown.clear();
  const std::string target = folder.file("missing/target");
  CHECK(fetch_file(network(answer(200, "OK"), "x"), WebUrl{}, true, target, [](const std::string&) {
          return true;
        }).outcome == FetchOutcome::failed);
  CHECK(told().starts_with("CreateFile: ERROR: Unable to open file \"" + target + ".tmp"));
}
