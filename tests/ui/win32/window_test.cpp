// tarvenix.exe seen from outside: start-up, single instance, no runtime needed, a layout
// smoke test, a stored configuration, a failed check's message and Exit; on the loopback
// build beside the test server (tests/net/http_test_server.py), a conversion through the
// file dialogs, the Internet error box, and the self-update with its signature check. The entry
// rules themselves are pinned in tests/ui, the network answers and texts in tests/net.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <tuple>

#include "records/contest.h"
#include "ui/config_file.h"
#include "ui/program_restart.h"
#include "window_driver.h"

using namespace tarvenix;
using namespace tarvenix::testing;

namespace {

const std::string exit_question = "Are you sure you want to exit?";
const std::string caption = "ADIF to DX Tarvenix " + std::to_string(CONTEST_YEAR);

// The next message box, under the program's caption, closed by `button`; its text.
std::string answer(ProgramRun& run, int button, DWORD timeout_ms = 10000) {
  const auto box = run.wait_dialog(timeout_ms);
  REQUIRE_MESSAGE(box.has_value(), "no message box");
  CHECK(box->caption == caption);
  CHECK(press(box->handle, button));
  return box->text;
}

// Exit, then Yes; after a conversion the question comes with a reminder.
void exit_program(ProgramRun& run, bool converted = false) {
  run.click(IDC_EXIT);
  const std::string question = answer(run, IDYES);
  CHECK(question.starts_with(converted ? "Do not forget to enter your comments" : exit_question));
  CHECK(question.ends_with(exit_question));
  CHECK(run.wait_exit() == 0u);
}

// The loopback build, its servers pointed at the test server: `contest` names the port of
// the contest's, `route` picks the answer to the update's request; the country file comes
// fresh.
std::string test_server_program(const std::string& route,
                                const char* contest = "TARVENIX_TEST_HTTP_PORT") {
  const char *port = std::getenv("TARVENIX_TEST_HTTP_PORT"), *contest_port = std::getenv(contest);
  REQUIRE_MESSAGE((port && contest_port), "run through tests/net/http_test_server.py");
  const std::string server = "http://127.0.0.1:", update = "/software/tarvenix/tarvenix.exe";
  SetEnvironmentVariableA("TARVENIX_TEST_CONTEST_URL", (server + contest_port).c_str());
  SetEnvironmentVariableA("TARVENIX_TEST_UPDATE_URL",
                          (server + port + "/" + route + update).c_str());
  SetEnvironmentVariableA("TARVENIX_TEST_COUNTRY_FILE_URL", (server + port + "/cty/0").c_str());
  return windows_path(TARVENIX_LOOPBACK_PROGRAM);
}

// A call sign, the bundled samples chosen in the file dialogs, and W1AW.xlsx as the output.
void fill_in_conversion(ProgramRun& run) {
  for (const std::string name : {"sample.adi", "Scoresheet v1.0.xlsx"})
    run.copy_in(windows_path(TARVENIX_SAMPLES_DIR "/" + name), name);
  run.open();
  set_text(run.control(IDC_CALLSIGN), "");  // the box shows "(SELECT OR NEW)"; typed into its edit
  HWND edit = FindWindowExA(run.control(IDC_CALLSIGN), nullptr, "Edit", nullptr);
  for (char c : std::string("W1AW")) PostMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 1);
  for (const auto& [button, title, name] :
       {std::tuple{IDC_ADIF_BUTTON, "Select ADIF Log", "sample.adi"},
        {IDC_SCORESHEET_BUTTON, "Select Scoresheet", "Scoresheet v1.0.xlsx"},
        {IDC_OUTPUT_BUTTON, "Save XLSX file", "W1AW.xlsx"}}) {
    run.click(button);
    const auto dialog = run.wait_dialog(10000, title);
    REQUIRE(dialog.has_value());
    // The file name box: cmb13 of the explorer-style dialog, edt1 of the older one.
    const HWND box = GetDlgItem(dialog->handle, 0x47C);
    set_text(box ? box : GetDlgItem(dialog->handle, 0x480), run.path(name));
    REQUIRE(press(dialog->handle, IDOK));
    run.sync();
  }
}

}  // namespace

TEST_SUITE("startup") {
  TEST_CASE("a second copy says that the program runs and ends with code 0") {
    ProgramRun first("first_copy");
    first.open();
    ProgramRun second("second_copy");
    second.start();
    CHECK(answer(second, IDOK) ==
          "The program is already running!\n\nThis instance will now exit.");
    CHECK(second.wait_exit() == 0u);
    CHECK(first.wait_exit(500) == std::nullopt);  // the first copy runs on
    exit_program(first);
  }

  TEST_CASE("the program starts where no Visual C++ runtime is registered") {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE,
                  "SOFTWARE\\WOW6432Node\\Microsoft\\VisualStudio\\14.0\\VC\\Runtimes\\X86");
    ProgramRun run("runtime");
    run.open();
    CHECK(text_of(run.window) == caption + " - Version 1.0");
    CHECK(run.boxes() == 0);
    exit_program(run);
  }
}

TEST_SUITE("layout") {
  TEST_CASE(
      "a few controls in place, the antenna description stretching, a minimum size; and "
      "Convert without a call sign, the one check's message") {
    ProgramRun run("layout");
    run.open();
    const auto at = [&](int id, RECT expected) {
      RECT box{};
      GetWindowRect(run.control(id), &box);
      MapWindowPoints(nullptr, run.window, reinterpret_cast<POINT*>(&box), 2);
      return EqualRect(&box, &expected) != 0;
    };
    RECT outer, inner;
    const auto resize = [&](int width, int height) {
      MoveWindow(run.window, 0, 0, width, height, TRUE);
      run.sync();
      GetWindowRect(run.window, &outer);
      GetClientRect(run.window, &inner);
    };
    CHECK(run.text(IDC_CALLSIGN) == "(SELECT OR NEW)");
    CHECK(at(IDC_CONVERT, {300, 250, 380, 275}));
    resize(300, 200);  // below the minimum
    CHECK((outer.right - outer.left == 620 && outer.bottom - outer.top == 500));
    resize(800 + outer.right - outer.left - inner.right,
           700 + outer.bottom - outer.top - inner.bottom);
    CHECK(at(IDC_ANTENNA, {25, 370, 775, 680}));  // 750 x 310 in 800 x 700
    run.click(IDC_CONVERT);
    CHECK(answer(run, IDOK) == "Callsign is required!");
    exit_program(run);
  }
}

TEST_SUITE("configuration") {
  TEST_CASE("a stored configuration is shown; Exit saves it, No keeps the window, closing asks") {
    ProgramRun run("configuration");
    const ConfigBytes stored = serialize_config({.format_version = 3,
                                                 .version_text = "1.0",
                                                 .callsign = "VP2E/W1AW",
                                                 .name = "Hiram Percy",
                                                 .antenna_description = "Dipole\r\nat 10 m",
                                                 .band_index = 6});
    run.write_file("VP2E-W1AW.cfg", {stored.begin(), stored.end()});
    run.open();
    CHECK(run.boxes() == 0);
    CHECK(run.text(IDC_CALLSIGN) == "VP2E/W1AW");
    CHECK(run.text(IDC_NAME) == "Hiram Percy");
    CHECK(run.text(IDC_ANTENNA) == "Dipole\r\nat 10 m");
    CHECK(run.text(IDC_BAND) == "20M");
    set_text(run.control(IDC_CLUB), "Tarvenix DX Group");
    run.click(IDC_CLUB, EN_KILLFOCUS);
    run.click(IDC_EXIT);
    CHECK(answer(run, IDNO) == exit_question);
    const std::string saved = run.read_file("VP2E-W1AW.cfg");  // the record, club and all
    CHECK((saved.size() == config_record_size && saved.find("Tarvenix DX Group") != saved.npos));
    CHECK(run.wait_exit(500) == std::nullopt);
    PostMessageA(run.window, WM_CLOSE, 0, 0);
    CHECK(answer(run, IDYES) == exit_question);
    CHECK(run.wait_exit() == 0u);
  }
}

TEST_SUITE("conversion") {
  TEST_CASE("the bundled samples convert through the controls and the file dialogs") {
    ProgramRun run("conversion", test_server_program("status/404"));
    const std::string shipped_country_file = run.read_file("cty.csv");
    fill_in_conversion(run);
    run.click(IDC_CONVERT);
    const std::string result = answer(run, IDNO, 120000);
    CHECK(result.ends_with("\n\nDo you want to open the scoresheet file you just created?"));
    int countries = -1, zones = -1;
    CHECK(std::sscanf(result.c_str(),
                      "Wrote %d  countries to W1AW.xlsx\nWrote %d   zones to W1AW.xlsx", &countries,
                      &zones) == 2);
    CHECK((countries > 0 && zones > 0));
    CHECK(run.read_file("cty.csv") != shipped_country_file);  // refreshed: it is years old
    // For check_window_conversion.py, which reads the workbook with openpyxl.
    run.write_file("expected-counts.txt", std::to_string(countries) + " " + std::to_string(zones));
    run.click(IDC_CONVERT);
    CHECK(answer(run, IDNO) == "W1AW.xlsx already exists.\nDo you want to replace it?");
    exit_program(run, true);
  }
}

TEST_SUITE("commands") {
  TEST_CASE("while a conversion waits on an Internet error box, other commands are ignored") {
    ProgramRun run("busy", test_server_program("status/404", "TARVENIX_TEST_CLOSED_PORT"));
    fill_in_conversion(run);
    run.click(IDC_CONVERT);
    auto box = run.wait_dialog(60000);
    REQUIRE((box && box->caption == "Internet error"));
    CHECK(GetWindow(box->handle, GW_OWNER) == nullptr);  // the window stays usable
    run.click(IDC_ABOUT);
    run.click(IDC_CONVERT);
    CHECK(run.boxes() == 1);
    // Every further network box, then the conversion's own result.
    for (; box && box->caption == "Internet error"; box = run.wait_dialog(60000))
      press(box->handle, IDOK);
    REQUIRE(box.has_value());
    CHECK(box->text.starts_with("Wrote "));
    press(box->handle, IDNO);
    exit_program(run, true);
  }
}

TEST_SUITE("update") {
  TEST_CASE("a newer build replaces the old program file only when the author signed it") {
    const struct {
      const char* signature;  // the test server's choice
      const char* refusal;    // nullptr: installed
    } cases[] = {{"good", nullptr},
                 {"unsigned", update_not_signed_text},
                 {"random", update_not_signed_text},
                 {"foreign", update_not_signed_text},
                 {"truncated", update_not_signed_text},
                 {"page", update_download_failed_text}};
    const std::string marker("\0TARVENIX NEW BUILD\0", 20);  // compared as one, not printed
    for (const auto& c : cases) {
      CAPTURE(c.signature);
      ProgramRun run("update-program", test_server_program(std::string("program/") + c.signature));
      const std::string old_program = run.read_file("tarvenix.exe");
      REQUIRE(!old_program.empty());
      run.open();
      run.click(IDC_UPDATE);
      answer(run, IDYES);  // the offer
      if (c.refusal) {
        CHECK(answer(run, IDOK, 60000) == c.refusal);
        CHECK(run.read_file("tarvenix.exe") == old_program);
        using std::filesystem::directory_iterator;  // the download is gone
        CHECK(std::distance(directory_iterator(run.path(".")), directory_iterator()) == 2);
        exit_program(run);
        continue;
      }
      answer(run, IDOK, 60000);  // the notice before the program exits
      CHECK(run.wait_exit(20000) == 0u);
      const HWND new_window = wait_window(30000, "ADIF to DX");  // the old one has gone
      REQUIRE(new_window != nullptr);
      CHECK(run.read_file("tarvenix.exe") == old_program + marker);
      end_process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process_of(new_window)));
    }
  }
}
