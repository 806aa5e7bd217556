// The window's commands end to end, on the loopback build of tarvenix.exe (its servers are
// the test server on 127.0.0.1, see tests/net/with-http-server): a full conversion of the
// bundled samples through the real controls and file dialogs, the Convert checks in their
// order, the replace question, switching call signs, Delete, About, Help and the link,
// Tab, and commands ignored while another one runs. The self-update: update_test.cpp.
#include <doctest/doctest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "build_info.h"
#include "ui/config_file.h"
#include "ui/win32/resource.h"
#include "window_driver.h"
#include "window_steps.h"

using namespace tarvenix;
using namespace tarvenix::testing;

namespace {

const std::string& caption = program_caption;

// Clicks a file row's button and picks `name` in the run's folder in its dialog.
void choose_file(ProgramRun& run, int button, const std::string& title, const std::string& name) {
  run.click(button);
  REQUIRE(run.answer_file_dialog(title, in_folder(run, name)));
  run.sync();
}

// Types into the call-sign box after what it shows; `fresh` empties it first (a new box
// shows "(SELECT OR NEW)").
void type_callsign(ProgramRun& run, const std::string& callsign, bool fresh = true) {
  if (fresh) run.set_text(IDC_CALLSIGN, "");
  run.type(IDC_CALLSIGN, callsign);
  run.sync();
}

// The counts of the result message "Wrote %3d  countries to %s\n" "Wrote %3d   zones ...".
struct Counts {
  int countries = -1;
  int zones = -1;
};

Counts read_result(const std::string& text, const std::string& output_name) {
  Counts counts;
  char countries_to[64] = {}, zones_to[64] = {};
  std::sscanf(text.c_str(), "Wrote %3d  countries to %63[^\n]\nWrote %3d   zones to %63[^\n]",
              &counts.countries, countries_to, &counts.zones, zones_to);
  CHECK(countries_to == output_name);
  CHECK(zones_to == output_name);
  return counts;
}

const char* result_tail =
    "\n\nNow would be a good time to review your scoresheet and enter any comments into the "
    "section at the bottom.\n\nDo you want to open the scoresheet file you just created?";

// Convert, and the result message answered No (the workbook is not opened).
Counts convert_and_read_result(ProgramRun& run, const std::string& output_name) {
  run.click(IDC_CONVERT);
  const auto box = run.wait_message_box(120000);
  REQUIRE(box.has_value());
  CHECK(box->caption == caption);
  CHECK(box->text.ends_with(result_tail));
  const std::string page_line =
      "\nThe results page is " + output_name.substr(0, output_name.rfind('.')) + ".html.\n\n";
  CHECK(box->text.find(page_line) != std::string::npos);
  CHECK(box->buttons.size() == 2);
  const Counts counts = read_result(box->text, output_name);
  run.press(*box, IDNO);
  return counts;
}

// Exit after a conversion: the disclaimer comes before the question.
void exit_after_conversion(ProgramRun& run) {
  run.click(IDC_EXIT);
  const auto question = run.wait_message_box();
  REQUIRE(question.has_value());
  CHECK(question->text.starts_with("Do not forget to enter your comments"));
  CHECK(question->text.ends_with("\n\nAre you sure you want to exit?"));
  run.press(*question, IDYES);
  CHECK(run.wait_exit() == 0u);
}

void screenshot(const ProgramRun& run, const std::string& name) {
  int width = 0, height = 0;
  CHECK(!run.screenshot(name, &width, &height).empty());
}

void store_config(const ProgramRun& run, const char* callsign, const char* name) {
  OperatorConfig record;
  record.format_version = 3;
  std::strcpy(record.version_text, "1.0");
  std::strcpy(record.callsign, callsign);
  std::strcpy(record.name, name);
  const ConfigBytes bytes = serialize_config(record);
  std::string stem = callsign;
  for (char& c : stem) c = c == '/' ? '-' : c;
  run.write_file(stem + ".cfg", {bytes.begin(), bytes.end()});
}

OperatorConfig stored(const ProgramRun& run, const std::string& file) {
  const auto bytes = run.read_file(file);
  REQUIRE(bytes.has_value());
  REQUIRE(bytes->size() == config_record_size);
  ConfigBytes raw{};
  std::copy(bytes->begin(), bytes->end(), raw.begin());
  return deserialize_config(raw);
}

// The dialog boxes the program shows now.
std::vector<HWND> boxes_of(const ProgramRun& run) {
  std::vector<HWND> boxes;
  for (const TopWindow& top : visible_top_windows())
    if (top.process_id == run.process_id() && top.class_name == "#32770")
      boxes.push_back(top.handle);
  return boxes;
}

// The window that has the keyboard focus in the program's thread.
HWND focused_window(const ProgramRun& run) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(run.main_window(), nullptr), &info);
  return info.hwndFocus;
}

// The run's recorded web pages once `lines` of them are there.
std::string recorded_pages(const ProgramRun& run, size_t lines) {
  std::string pages;
  for (int attempt = 0; attempt < 100; ++attempt) {
    pages = run.recorded_urls();
    if (static_cast<size_t>(std::count(pages.begin(), pages.end(), '\n')) >= lines) break;
    Sleep(100);
  }
  return pages;
}

}  // namespace

TEST_SUITE("conversion") {
  TEST_CASE("the bundled samples convert through the controls and the file dialogs") {
    use_test_server("status/404");
    ProgramRun run("conversion", loopback_program());
    run.write_file("sample.adi", sample("sample.adi"));
    run.write_file("Scoresheet v1.0.xlsx", sample("Scoresheet v1.0.xlsx"));
    open(run);
    type_callsign(run, "W1AW");
    choose_file(run, IDC_ADIF_BUTTON, "Select ADIF Log", "sample.adi");
    CHECK(run.control(IDC_ADIF_FILE).text == "sample.adi");
    choose_file(run, IDC_SCORESHEET_BUTTON, "Select Scoresheet", "Scoresheet v1.0.xlsx");
    CHECK(run.control(IDC_SCORESHEET_FILE).text == "Scoresheet v1.0.xlsx");
    choose_file(run, IDC_OUTPUT_BUTTON, "Save XLSX file", "W1AW.xlsx");
    CHECK(run.control(IDC_OUTPUT_FILE).text == "W1AW.xlsx");
    screenshot(run, "conversion-before.png");

    const Counts counts = convert_and_read_result(run, "W1AW.xlsx");
    CHECK(counts.countries > 0);
    CHECK(counts.zones > 0);
    screenshot(run, "conversion-after.png");
    CHECK(file_exists(in_folder(run, "W1AW.xlsx")));
    CHECK(file_exists(in_folder(run, "W1AW.log")));
    CHECK(file_exists(in_folder(run, "W1AW.html")));
    CHECK(file_exists(in_folder(run, "all-bad-calls.json")));  // downloaded for the run
    // For check_window_conversion.py, which reads the workbook with openpyxl.
    const std::string expected =
        std::to_string(counts.countries) + " " + std::to_string(counts.zones) + "\n";
    run.write_file("expected-counts.txt", {expected.begin(), expected.end()});

    // The second conversion to the same workbook asks first; No leaves it alone.
    run.click(IDC_CONVERT);
    expect_message(run, "W1AW.xlsx already exists.\nDo you want to replace it?", IDNO);
    CHECK(run.no_message_box());
    run.click(IDC_CONVERT);
    expect_message(run, "W1AW.xlsx already exists.\nDo you want to replace it?", IDYES);
    const Counts again = convert_and_read_result(run, "W1AW.xlsx");
    CHECK(again.countries == counts.countries);
    CHECK(again.zones == counts.zones);
    exit_after_conversion(run);
  }

  TEST_CASE("Convert names the first missing or wrong entry, in order") {
    use_test_server("status/404");
    ProgramRun run("convert-checks", loopback_program());
    run.write_file("sample.adi", sample("sample.adi"));
    run.write_file("Template.xlsx", sample("Scoresheet v1.0.xlsx"));
    run.write_file("Scoresheet v1.0.xlsx", sample("Scoresheet v1.0.xlsx"));
    open(run);
    run.click(IDC_CONVERT);
    expect_message(run, "Callsign is required!");
    type_callsign(run, "K1");
    run.click(IDC_CONVERT);
    expect_message(run, "K1 is not a valid callsign!");
    type_callsign(run, "AW", false);
    run.set_text(IDC_EMAIL_ADDRESS, "k1aw.example.org");
    run.leave_field(IDC_EMAIL_ADDRESS);
    run.click(IDC_CONVERT);
    expect_message(run, "k1aw.example.org does not appear to be a valid E-mail address!");
    run.set_text(IDC_EMAIL_ADDRESS, "k1aw@example.org");
    run.leave_field(IDC_EMAIL_ADDRESS);

    run.click(IDC_CONVERT);
    expect_message(run, "You did not select an ADIF file for input!");
    choose_file(run, IDC_ADIF_BUTTON, "Select ADIF Log", "sample.adi");
    run.click(IDC_CONVERT);
    expect_message(run, "You did not select a Scoresheet for input!");
    choose_file(run, IDC_SCORESHEET_BUTTON, "Select Scoresheet", "Template.xlsx");
    run.click(IDC_CONVERT);
    expect_message(run, "Template.xlsx\n\ndoes not appear to be a valid DX Tarvenix scoresheet!");
    choose_file(run, IDC_SCORESHEET_BUTTON, "Select Scoresheet", "Scoresheet v1.0.xlsx");
    run.click(IDC_CONVERT);
    expect_message(run, "You did not select an Output file!");

    // The template itself as the output, named in other letters: the save dialog asks
    // before replacing it, and Convert refuses.
    run.click(IDC_OUTPUT_BUTTON);
    REQUIRE(
        run.answer_file_dialog("Save XLSX file", in_folder(run, "SCORESHEET V1.0.XLSX"), false));
    std::optional<MessageBoxInfo> overwrite;
    for (int attempt = 0; attempt < 50; ++attempt) {  // the dialog itself is found first
      overwrite = run.wait_message_box();
      if (overwrite && overwrite->caption != "Save XLSX file") break;
      Sleep(100);
    }
    REQUIRE(overwrite.has_value());
    CHECK(overwrite->text.find("already exists") != std::string::npos);
    run.press(*overwrite, IDYES);
    run.sync();
    run.click(IDC_CONVERT);
    expect_message(run, "The Scoresheet and Output file can not be the same!");
    CHECK(read_bytes(in_folder(run, "Scoresheet v1.0.xlsx")) == sample("Scoresheet v1.0.xlsx"));
    exit_program(run);
  }
}

TEST_SUITE("commands") {
  TEST_CASE("switching call signs saves the edits and empties the ADIF and Output choices") {
    use_test_server("status/404");
    ProgramRun run("callsign-switch", loopback_program());
    store_config(run, "K1ABC", "First");
    store_config(run, "DL1AB", "Second");
    run.write_file("sample.adi", sample("sample.adi"));
    run.write_file("Scoresheet v1.0.xlsx", sample("Scoresheet v1.0.xlsx"));
    open(run);
    const std::vector<std::string> rows = run.list_rows(IDC_CALLSIGN);
    REQUIRE(rows == std::vector<std::string>{"(SELECT OR NEW)", "DL1AB", "K1ABC"});
    run.choose(IDC_CALLSIGN, 2);
    run.sync();
    CHECK(run.control(IDC_NAME).text == "First");
    run.set_text(IDC_NAME, "Edited");
    run.leave_field(IDC_NAME);
    choose_file(run, IDC_ADIF_BUTTON, "Select ADIF Log", "sample.adi");
    choose_file(run, IDC_SCORESHEET_BUTTON, "Select Scoresheet", "Scoresheet v1.0.xlsx");
    choose_file(run, IDC_OUTPUT_BUTTON, "Save XLSX file", "K1ABC.xlsx");

    run.choose(IDC_CALLSIGN, 1);
    run.sync();
    CHECK(run.no_message_box());
    CHECK(run.control(IDC_NAME).text == "Second");
    CHECK(run.control(IDC_ADIF_FILE).text.empty());
    CHECK(run.control(IDC_OUTPUT_FILE).text.empty());
    CHECK(run.control(IDC_SCORESHEET_FILE).text == "Scoresheet v1.0.xlsx");
    CHECK(std::string(stored(run, "K1ABC.cfg").name) == "Edited");
    exit_program(run);
  }

  TEST_CASE("Delete asks, deletes the stored file and empties the window") {
    use_test_server("status/404");
    ProgramRun run("delete", loopback_program());
    store_config(run, "W1AW", "Hiram");
    open(run);
    CHECK(run.control(IDC_NAME).text == "Hiram");
    run.click(IDC_DELETE);
    expect_message(run, "Are you sure you want to delete the configuration for W1AW?", IDNO);
    CHECK(run.read_file("W1AW.cfg").has_value());
    run.click(IDC_DELETE);
    expect_message(run, "Are you sure you want to delete the configuration for W1AW?", IDYES);
    run.sync();
    CHECK_FALSE(run.read_file("W1AW.cfg").has_value());
    CHECK(run.list_rows(IDC_CALLSIGN) == std::vector<std::string>{"(SELECT OR NEW)"});
    CHECK(run.control(IDC_NAME).text.empty());
    run.click(IDC_DELETE);
    expect_message(run, "You must select a callsign.");
    run.close_window();
    expect_message(run, "Are you sure you want to exit?", IDYES);
    CHECK(run.wait_exit() == 0u);
  }

  TEST_CASE("while a conversion waits on an Internet error box, other commands are ignored") {
    use_test_server("status/404");
    const char* closed = std::getenv("TARVENIX_TEST_CLOSED_PORT");
    REQUIRE(closed != nullptr);
    SetEnvironmentVariableA("TARVENIX_TEST_CONTEST_URL",
                            (std::string("http://127.0.0.1:") + closed).c_str());
    ProgramRun run("busy", loopback_program());
    run.write_file("sample.adi", sample("sample.adi"));
    run.write_file("Scoresheet v1.0.xlsx", sample("Scoresheet v1.0.xlsx"));
    open(run);
    type_callsign(run, "W1AW");
    choose_file(run, IDC_ADIF_BUTTON, "Select ADIF Log", "sample.adi");
    choose_file(run, IDC_SCORESHEET_BUTTON, "Select Scoresheet", "Scoresheet v1.0.xlsx");
    choose_file(run, IDC_OUTPUT_BUTTON, "Save XLSX file", "W1AW.xlsx");
    run.click(IDC_CONVERT);
    auto box = run.wait_message_box(60000);
    REQUIRE(box.has_value());
    CHECK(box->caption == "Internet error");
    CHECK(box->owner == nullptr);  // the window stays usable
    run.click(IDC_ABOUT);
    run.click(IDC_CONVERT);
    run.sync();
    CHECK(boxes_of(run).size() == 1);
    // Every further network box, then the conversion's own result.
    while (box && box->caption == "Internet error") {
      run.press(*box, IDOK);
      box = run.wait_message_box(60000);
    }
    REQUIRE(box.has_value());
    CHECK(box->caption == caption);
    CHECK(box->text.starts_with("Wrote "));
    run.press(*box, IDNO);
    CHECK(run.no_message_box());
    exit_after_conversion(run);
  }

  TEST_CASE("Tab moves from one field to the next") {
    ProgramRun run("tab");
    open(run);
    const HWND name = run.control(IDC_NAME).handle;
    PostMessageA(name, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(name, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    run.sync();
    REQUIRE(focused_window(run) == name);
    PostMessageA(name, WM_KEYDOWN, VK_TAB, 1);
    PostMessageA(name, WM_KEYUP, VK_TAB, 1);
    run.sync();
    CHECK(focused_window(run) == run.control(IDC_STREET_BOX).handle);
    exit_program(run);
  }

  TEST_CASE("Help and the contest link open their web pages") {
    ProgramRun run("pages");
    open(run);
    run.click(IDC_HELP_BUTTON);
    CHECK(recorded_pages(run, 1) == "https://software.dxtarvenix.org/\n");
    run.click(IDC_CONTEST_LINK);  // STN_CLICKED is BN_CLICKED's number
    CHECK(recorded_pages(run, 2) ==
          "https://software.dxtarvenix.org/\nhttps://www.dxtarvenix.org/\n");
    exit_program(run);
  }

  TEST_CASE("About shows the version, the commit's date and time, and the notice") {
    ProgramRun run("about");
    open(run);
    run.click(IDC_ABOUT);
    const auto box = run.wait_message_box();
    REQUIRE(box.has_value());
    CHECK(box->caption == caption);
    CHECK(
        box->text.starts_with("Version 1.0 -- " TARVENIX_BUILD_DATE " " TARVENIX_BUILD_TIME "\n"));
    CHECK(box->text.ends_with("\nConverts ADIF logs into the DX Tarvenix Scoresheet."));
    run.press(*box, IDOK);
    exit_program(run);
  }
}
