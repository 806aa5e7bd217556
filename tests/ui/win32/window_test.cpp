// tarvenix.exe seen from outside: start-up, single instance, the runtime check, a layout
// smoke test, a stored configuration, a failed check's message and Exit; on the loopback
// build beside the test server (tests/net/http_test_server.py), a conversion through the
// file dialogs, the Internet error box, and the self-update. The entry rules themselves are
// pinned in tests/ui, the network answers in tests/net.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "ui/config_file.h"
#include "window_driver.h"

using namespace tarvenix;
using namespace tarvenix::testing;

namespace {

std::vector<unsigned char> config_bytes(const char* callsign) {
  OperatorConfig r;
  r.format_version = 3;
  std::strcpy(r.version_text, "1.0");
  std::strcpy(r.callsign, callsign);
  std::strcpy(r.name, "Hiram Percy");
  std::strcpy(r.antenna_description, "Dipole\r\nat 10 m");
  r.band_index = 6;
  const ConfigBytes b = serialize_config(r);
  return {b.begin(), b.end()};
}

// Points the loopback build's servers at the test server; `update_route` picks the answer
// to the update's request.
void use_test_server(const std::string& route, const char* contest = "TARVENIX_TEST_HTTP_PORT") {
  const char* port = std::getenv("TARVENIX_TEST_HTTP_PORT");
  REQUIRE_MESSAGE((port && std::getenv(contest)), "run through tests/net/http_test_server.py");
  const std::string server = "http://127.0.0.1:";
  SetEnvironmentVariableA("TARVENIX_TEST_CONTEST_URL", (server + std::getenv(contest)).c_str());
  SetEnvironmentVariableA(
      "TARVENIX_TEST_UPDATE_URL",
      (server + port + "/" + route + "/software/tarvenix/tarvenix.exe").c_str());
}

// A call sign, the bundled samples chosen in the file dialogs, and W1AW.xlsx as the output.
void fill_in_conversion(ProgramRun& run) {
  run.write_file("sample.adi", sample("sample.adi"));
  run.write_file("Scoresheet v1.0.xlsx", sample("Scoresheet v1.0.xlsx"));
  open(run);
  run.set_text(IDC_CALLSIGN, "");  // the box shows "(SELECT OR NEW)"
  run.type(IDC_CALLSIGN, "W1AW");
  for (const auto& [button, title, name] :
       {std::tuple{IDC_ADIF_BUTTON, "Select ADIF Log", "sample.adi"},
        {IDC_SCORESHEET_BUTTON, "Select Scoresheet", "Scoresheet v1.0.xlsx"},
        {IDC_OUTPUT_BUTTON, "Save XLSX file", "W1AW.xlsx"}}) {
    run.click(button);
    REQUIRE(run.answer_file_dialog(title, run.path(name)));
    run.sync();
  }
}

bool at(const RECT& box, const RECT& expected) {
  return EqualRect(&box, &expected);
}

// Exit after a conversion: the reminder comes before the question.
void exit_after_conversion(ProgramRun& run) {
  run.click(IDC_EXIT);
  const auto question = run.wait_message_box();
  REQUIRE(question.has_value());
  CHECK(question->text.starts_with("Do not forget to enter your comments"));
  CHECK(question->text.ends_with("\n\nAre you sure you want to exit?"));
  run.press(*question, IDYES);
  CHECK(run.wait_exit() == 0u);
}

}  // namespace

TEST_SUITE("startup") {
  TEST_CASE("the window opens with the contest year and the program version in its title") {
    ProgramRun run("title");
    open(run);
    CHECK(run.text(0) == "ADIF to DX Tarvenix 2024 - Version 1.0");
    CHECK(run.boxes() == 0);
    exit_program(run);
  }

  TEST_CASE("a second copy says that the program runs and ends with code 0") {
    ProgramRun first("first_copy");
    open(first);
    ProgramRun second("second_copy");
    second.start();
    expect_message(second, "The program is already running!\n\nThis instance will now exit.");
    CHECK(second.wait_exit() == 0u);
    CHECK(first.wait_exit(500) == std::nullopt);  // the first copy runs on
    exit_program(first);
  }

  TEST_CASE("the runtime check: missing, one build too old, the first build new enough") {
    const struct {
      bool present;
      DWORD build;
      const char* problem;  // nullptr: the window opens
    } cases[] = {{false, 0, "is not installed"}, {true, 24122, "needs updating"}, {true, 24123}};
    for (const auto& c : cases) {
      CAPTURE(c.build);
      set_runtime_key(c.present, c.build);
      ProgramRun run("runtime");
      if (c.problem == nullptr) {
        open(run);
        CHECK(run.boxes() == 0);
        exit_program(run);
      } else {
        run.start();
        expect_message(run, std::string("Microsoft Visual C++ Library ") + c.problem +
                                ".\n\nClick OK, then review the installation instructions "
                                "when the web page opens.");
        CHECK(run.wait_exit() == 1u);
        CHECK(run.recorded_urls() == "https://software.dxtarvenix.org/#Install\n");
      }
    }
    set_runtime_key(true);
  }
}

TEST_SUITE("layout") {
  TEST_CASE("a few controls in place; the antenna description stretches; a minimum size") {
    ProgramRun run("layout");
    open(run);
    CHECK(run.text(IDC_CALLSIGN) == "(SELECT OR NEW)");
    CHECK(run.text(IDC_CONVERT) == "Convert");
    CHECK(at(run.box(IDC_CONVERT), {300, 250, 380, 275}));
    RECT outer, inner;
    GetWindowRect(run.main_window(), &outer);
    GetClientRect(run.main_window(), &inner);
    SetWindowPos(run.main_window(), nullptr, 0, 0, 800 + outer.right - outer.left - inner.right,
                 700 + outer.bottom - outer.top - inner.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    run.sync();
    CHECK(at(run.box(IDC_ANTENNA), {25, 370, 775, 680}));  // 750 x 310 in 800 x 700
    SetWindowPos(run.main_window(), nullptr, 0, 0, 300, 200,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    run.sync();
    GetWindowRect(run.main_window(), &outer);
    CHECK(outer.right - outer.left == 620);
    CHECK(outer.bottom - outer.top == 500);
    exit_program(run);
  }
}

TEST_SUITE("configuration") {
  TEST_CASE("one stored configuration is loaded and shown") {
    ProgramRun run("one_config");
    run.write_file("VP2E-W1AW.cfg", config_bytes("VP2E/W1AW"));
    open(run);
    CHECK(run.boxes() == 0);
    CHECK(run.text(IDC_CALLSIGN) == "VP2E/W1AW");
    CHECK(run.text(IDC_NAME) == "Hiram Percy");
    CHECK(run.text(IDC_ANTENNA) == "Dipole\r\nat 10 m");
    CHECK(run.text(IDC_BAND) == "20M");
    exit_program(run);
  }
}

TEST_SUITE("validation") {
  TEST_CASE("a failed check is reported by its message") {
    ProgramRun run("no_callsign");
    open(run);
    run.click(IDC_CONVERT);
    expect_message(run, "Callsign is required!");
    exit_program(run);
  }
}

TEST_SUITE("exit") {
  TEST_CASE("Exit saves first, No keeps the window open, and closing asks the same") {
    ProgramRun run("exit");
    run.write_file("W1AW.cfg", config_bytes("W1AW"));
    open(run);
    run.set_text(IDC_CLUB, "Tarvenix DX Group");
    run.click(IDC_CLUB, EN_KILLFOCUS);
    run.click(IDC_EXIT);
    expect_message(run, "Are you sure you want to exit?", IDNO);
    const auto saved = run.read_file("W1AW.cfg");
    REQUIRE((saved && saved->size() == config_record_size));
    ConfigBytes bytes;
    std::copy(saved->begin(), saved->end(), bytes.begin());
    CHECK(std::string(deserialize_config(bytes).club) == "Tarvenix DX Group");
    CHECK(run.wait_exit(500) == std::nullopt);
    PostMessageA(run.main_window(), WM_CLOSE, 0, 0);
    expect_message(run, "Are you sure you want to exit?", IDYES);
    CHECK(run.wait_exit() == 0u);
  }
}

TEST_SUITE("conversion") {
  TEST_CASE("the bundled samples convert through the controls and the file dialogs") {
    use_test_server("status/404");
    ProgramRun run("conversion", loopback_program());
    fill_in_conversion(run);
    run.click(IDC_CONVERT);
    const auto box = run.wait_message_box(120000);
    REQUIRE(box.has_value());
    CHECK(box->caption == program_caption);
    CHECK(box->text.find("\nThe results page is W1AW.html.\n\n") != std::string::npos);
    CHECK(box->text.ends_with("\n\nDo you want to open the scoresheet file you just created?"));
    int countries = -1, zones = -1;
    CHECK(std::sscanf(box->text.c_str(),
                      "Wrote %d  countries to W1AW.xlsx\nWrote %d   zones to W1AW.xlsx", &countries,
                      &zones) == 2);
    run.press(*box, IDNO);
    CHECK((countries > 0 && zones > 0));
    for (const char* name : {"W1AW.xlsx", "W1AW.log", "W1AW.html", "all-bad-calls.json"})
      CHECK_MESSAGE(run.read_file(name).has_value(), name);
    // For check_window_conversion.py, which reads the workbook with openpyxl.
    const std::string expected = std::to_string(countries) + " " + std::to_string(zones) + "\n";
    run.write_file("expected-counts.txt", {expected.begin(), expected.end()});
    run.click(IDC_CONVERT);
    expect_message(run, "W1AW.xlsx already exists.\nDo you want to replace it?", IDNO);
    exit_after_conversion(run);
  }
}

TEST_SUITE("commands") {
  TEST_CASE("while a conversion waits on an Internet error box, other commands are ignored") {
    use_test_server("status/404", "TARVENIX_TEST_CLOSED_PORT");
    ProgramRun run("busy", loopback_program());
    fill_in_conversion(run);
    run.click(IDC_CONVERT);
    auto box = run.wait_message_box(60000);
    REQUIRE(box.has_value());
    CHECK(box->caption == "Internet error");
    CHECK(box->owner == nullptr);  // the window stays usable
    run.click(IDC_ABOUT);
    run.click(IDC_CONVERT);
    CHECK(run.boxes() == 1);
    // Every further network box, then the conversion's own result.
    while (box && box->caption == "Internet error") {
      run.press(*box, IDOK);
      box = run.wait_message_box(60000);
    }
    REQUIRE(box.has_value());
    CHECK(box->text.starts_with("Wrote "));
    run.press(*box, IDNO);
    exit_after_conversion(run);
  }
}

TEST_SUITE("update") {
  TEST_CASE("a newer build is downloaded, started, and replaces the old program file") {
    use_test_server("program");  // the loopback program with a marker appended
    ProgramRun run("update-program", loopback_program());
    const auto old_program = run.read_file("tarvenix.exe");
    open(run);
    run.click(IDC_UPDATE);
    expect_message(run, "A new version of the program is available!\nDo you want to install it?",
                   IDYES);
    expect_message(run, "The program will now exit and run the new version.", IDOK, 60000);
    CHECK(run.wait_exit(20000) == 0u);

    DWORD process_id = 0;  // of the new build's window
    for (int attempt = 0; attempt < 300 && process_id == 0; ++attempt, Sleep(100))
      for (const TopWindow& top : visible_top_windows())
        if (top.process_id != run.process_id() && top.class_name.starts_with("ADIF to DX"))
          process_id = top.process_id;
    REQUIRE(process_id != 0);
    const std::string marker("\0TARVENIX NEW BUILD\0", 20);
    const auto new_program = run.read_file("tarvenix.exe");
    REQUIRE((new_program && new_program->size() == old_program->size() + marker.size()));
    CHECK(std::string(new_program->end() - marker.size(), new_program->end()) == marker);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process_id);
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
  }
}
