// tarvenix.exe seen from outside: start-up, single instance, the runtime check, the window
// layout to the pixel, stored configurations, the entry checks' messages and Exit.
#include <doctest/doctest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui/config_file.h"
#include "ui/win32/resource.h"
#include "window_driver.h"
#include "window_steps.h"

using namespace tarvenix;
using namespace tarvenix::testing;

namespace {

const std::string& caption = program_caption;

std::vector<unsigned char> config_bytes(const OperatorConfig& record) {
  const ConfigBytes b = serialize_config(record);
  return {b.begin(), b.end()};
}

OperatorConfig stored_record(const char* callsign) {
  OperatorConfig r;
  r.format_version = 3;
  std::strcpy(r.version_text, "1.0");
  std::strcpy(r.callsign, callsign);
  std::strcpy(r.name, "Hiram Percy");
  std::strcpy(r.street_box, "225 Main Street");
  std::strcpy(r.city_town, "Newington");
  std::strcpy(r.cq_zone, "5");
  std::strcpy(r.email_address, "hiram@example.org");
  std::strcpy(r.club, "Radio Club");
  std::strcpy(r.antenna_description, "Dipole\r\nat 10 m");
  r.entry_index = 1;
  r.band_index = 6;
  r.mode_index = 1;
  r.confirmed = 1;
  return r;
}

struct Expected {
  int id;
  const char* class_name;
  const char* text;
  int x, y, width, height;  // height 0: a combo box, whose closed height follows its font
};

const Expected expected_controls[] = {
    {IDC_OPERATOR_TITLE, "Static", "Operator Information", 110, 12, 150, 20},
    {IDC_CALLSIGN, "ComboBox", "(SELECT OR NEW)", 110, 40, 150, 0},
    {IDC_CALLSIGN_LABEL, "Static", "Callsign", 20, 42, 80, 20},
    {IDC_NAME, "Edit", "", 110, 70, 150, 20},
    {IDC_NAME_LABEL, "Static", "Name", 20, 72, 80, 20},
    {IDC_STREET_BOX, "Edit", "", 110, 100, 150, 20},
    {IDC_STREET_BOX_LABEL, "Static", "Street/Box", 20, 102, 80, 20},
    {IDC_CITY_TOWN, "Edit", "", 110, 130, 150, 20},
    {IDC_CITY_TOWN_LABEL, "Static", "City/Town", 20, 132, 80, 20},
    {IDC_STATE_PROVINCE, "Edit", "", 110, 160, 150, 20},
    {IDC_STATE_PROVINCE_LABEL, "Static", "State/Province", 20, 162, 80, 20},
    {IDC_POSTAL_CODE, "Edit", "", 110, 190, 150, 20},
    {IDC_POSTAL_CODE_LABEL, "Static", "Postal Code", 20, 192, 80, 20},
    {IDC_COUNTRY, "ComboBox", "--", 110, 220, 150, 0},
    {IDC_COUNTRY_LABEL, "Static", "Country", 20, 222, 80, 20},
    {IDC_CQ_ZONE, "Edit", "", 110, 250, 150, 20},
    {IDC_CQ_ZONE_LABEL, "Static", "CQ Zone", 20, 252, 80, 20},
    {IDC_EMAIL_ADDRESS, "Edit", "", 110, 280, 150, 20},
    {IDC_EMAIL_ADDRESS_LABEL, "Static", "Email Address", 20, 282, 80, 20},
    {IDC_CLUB, "Edit", "", 110, 310, 150, 20},
    {IDC_CLUB_LABEL, "Static", "Club", 20, 312, 80, 20},
    {IDC_ANTENNA_LABEL, "Static", "Antenna Description", 25, 340, 150, 20},
    {IDC_INPUTS_TITLE, "Static", "Inputs", 380, 12, 150, 20},
    {IDC_ENTRY, "ComboBox", "--", 300, 40, 200, 0},
    {IDC_ENTRY_LABEL, "Static", "Entry", 510, 42, 80, 20},
    {IDC_BAND, "ComboBox", "All", 300, 70, 200, 0},
    {IDC_BAND_LABEL, "Static", "Band", 510, 72, 80, 20},
    {IDC_MODE, "ComboBox", "All", 300, 100, 200, 0},
    {IDC_MODE_LABEL, "Static", "Mode", 510, 102, 80, 20},
    {IDC_ADIF_FILE, "Edit", "", 300, 130, 200, 20},
    {IDC_ADIF_BUTTON, "Button", "ADIF Log", 510, 130, 80, 20},
    {IDC_SCORESHEET_FILE, "Edit", "", 300, 160, 200, 20},
    {IDC_SCORESHEET_BUTTON, "Button", "Scoresheet", 510, 160, 80, 20},
    {IDC_OUTPUT_FILE, "Edit", "", 300, 190, 200, 20},
    {IDC_OUTPUT_BUTTON, "Button", "Output", 510, 190, 80, 20},
    {IDC_ACTIONS_TITLE, "Static", "Actions", 365, 222, 150, 20},
    {IDC_CONVERT, "Button", "Convert", 300, 250, 80, 25},
    {IDC_VIEW, "Button", "View", 300, 280, 80, 25},
    {IDC_UPDATE, "Button", "Update", 300, 310, 80, 25},
    {IDC_DELETE, "Button", "Delete", 405, 250, 80, 25},
    {IDC_EXIT, "Button", "Exit", 405, 280, 80, 25},
    {IDC_ABOUT, "Button", "About", 510, 250, 80, 25},
    {IDC_HELP_BUTTON, "Button", "Help", 510, 280, 80, 25},
    {IDC_CONFIRMED, "Button", "Confirmed", 470, 220, 100, 20},
    {IDC_FILL_MISSING, "Button", "Fill in missing DXCC/CQ Zone", 320, 345, 250, 20},
    {IDC_CONTEST_LINK, "Static", "DX Tarvenix", 435, 320, 110, 20},
};

bool has_style(const ControlInfo& c, LONG_PTR bits) {
  return (c.style & bits) == bits;
}

// Saves a screenshot and counts the dark blue pixels of the contest link in it.
int blue_pixels(const ProgramRun& run, const std::string& file_name) {
  int width = 0, height = 0;
  const std::vector<DWORD> pixels = run.screenshot(file_name, &width, &height);
  RECT window, link;
  GetWindowRect(run.main_window(), &window);
  GetWindowRect(run.control(IDC_CONTEST_LINK).handle, &link);
  int blue = 0;
  for (int y = link.top; y < link.bottom; ++y)
    for (int x = link.left; x < link.right; ++x) {
      const DWORD p = pixels[static_cast<size_t>(y - window.top) * width + (x - window.left)];
      if ((p & 0xFF) >= 150 && ((p >> 8) & 0xFF) < 80 && ((p >> 16) & 0xFF) < 80) ++blue;
    }
  return blue;
}

}  // namespace

TEST_SUITE("startup") {
  TEST_CASE("the window opens with the contest year and the program version in its title") {
    ProgramRun run("title");
    open(run);
    CHECK(run.window_title() == "ADIF to DX Tarvenix 2024 - Version 1.0");
    CHECK(run.no_message_box());
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

  TEST_CASE("a missing runtime sends the operator to the installation page with code 1") {
    set_runtime_key(false);
    ProgramRun run("no_runtime");
    run.start();
    expect_message(run,
                   "Microsoft Visual C++ Library is not installed.\n\nClick OK, then review the "
                   "installation instructions when the web page opens.");
    CHECK(run.wait_exit() == 1u);
    set_runtime_key(true);
    CHECK(run.recorded_urls() == "https://software.dxtarvenix.org/#Install\n");
  }

  TEST_CASE("a runtime one build too old needs updating") {
    set_runtime_key(true, 24122);
    ProgramRun run("old_runtime");
    run.start();
    expect_message(run,
                   "Microsoft Visual C++ Library needs updating.\n\nClick OK, then review the "
                   "installation instructions when the web page opens.");
    CHECK(run.wait_exit() == 1u);
    set_runtime_key(true);
  }

  TEST_CASE("the first build that is new enough passes") {
    set_runtime_key(true, 24123);
    ProgramRun run("new_enough_runtime");
    open(run);
    CHECK(run.no_message_box());
    exit_program(run);
    set_runtime_key(true);
  }
}

TEST_SUITE("layout") {
  TEST_CASE("every control has its id, class, text, position and size") {
    ProgramRun run("layout");
    open(run);
    for (const Expected& e : expected_controls) {
      CAPTURE(e.id);
      const ControlInfo c = run.control(e.id);
      REQUIRE(c.handle != nullptr);
      CHECK(lstrcmpiA(c.class_name.c_str(), e.class_name) == 0);
      CHECK(c.text == e.text);
      CHECK(c.box.left == e.x);
      CHECK(c.box.top == e.y);
      CHECK(c.width() == e.width);
      if (e.height != 0) CHECK(c.height() == e.height);
      CHECK(has_style(c, WS_CHILD | WS_VISIBLE));
    }
    CHECK(has_style(run.control(IDC_CALLSIGN), CBS_DROPDOWN | CBS_SORT | CBS_UPPERCASE));
    CHECK(has_style(run.control(IDC_COUNTRY), CBS_DROPDOWNLIST | CBS_SORT));
    CHECK_FALSE(has_style(run.control(IDC_BAND), CBS_SORT));
    CHECK(has_style(run.control(IDC_CQ_ZONE), ES_NUMBER | ES_AUTOHSCROLL));
    CHECK(has_style(run.control(IDC_ADIF_FILE), ES_READONLY));
    CHECK(has_style(run.control(IDC_ANTENNA), ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL));
    CHECK(has_style(run.control(IDC_CALLSIGN_LABEL), SS_RIGHT));
    CHECK(has_style(run.control(IDC_CONTEST_LINK), SS_NOTIFY));
    CHECK(has_style(run.control(IDC_CONFIRMED), BS_AUTOCHECKBOX | BS_LEFTTEXT));
    CHECK(has_style(run.control(IDC_FILL_MISSING), BS_AUTOCHECKBOX | BS_LEFTTEXT));
    CHECK(run.checked(IDC_FILL_MISSING));  // on by default
    CHECK(run.owned_windows("tooltips_class32").size() == 1);

    RECT client;
    GetClientRect(run.main_window(), &client);
    const ControlInfo antenna = run.control(IDC_ANTENNA);
    CHECK(antenna.box.left == 25);
    CHECK(antenna.box.top == 370);
    CHECK(antenna.width() == client.right - 50);
    CHECK(antenna.height() == client.bottom - 390);
    exit_program(run);
  }

  TEST_CASE("the lists hold their rows in order, the sorted ones with their first row first") {
    ProgramRun run("lists");
    open(run);
    CHECK(run.list_rows(IDC_ENTRY) ==
          std::vector<std::string>{"--", "UNLIMITED", "LIMITED <= 100 Watts",
                                   "FORMULA <= 100 Watts", "FORMULA <=   5 Watts"});
    CHECK(run.list_rows(IDC_BAND) == std::vector<std::string>{"All", "160M", "80M", "60M", "40M",
                                                              "30M", "20M", "17M", "15M", "12M",
                                                              "10M", "6M", "4M", "2M"});
    CHECK(run.list_rows(IDC_MODE) == std::vector<std::string>{"All", "CW", "Phone", "Digital"});
    CHECK(run.list_rows(IDC_CALLSIGN) == std::vector<std::string>{"(SELECT OR NEW)"});
    const std::vector<std::string> countries = run.list_rows(IDC_COUNTRY);
    REQUIRE(countries.size() == 284);  // "--" and the 283 entities marked for the list
    CHECK(countries.front() == "--");
    CHECK(countries[1] == "Afghanistan");
    for (int id : {IDC_CALLSIGN, IDC_COUNTRY, IDC_ENTRY, IDC_BAND, IDC_MODE})
      CHECK(run.list_selection(id) == 0);
    exit_program(run);
  }

  TEST_CASE("resizing to 800 x 700 stretches the antenna description to 750 x 310") {
    ProgramRun run("resize");
    open(run);
    run.resize_client(800, 700);
    run.sync();
    const ControlInfo antenna = run.control(IDC_ANTENNA);
    CHECK(antenna.box.left == 25);
    CHECK(antenna.box.top == 370);
    CHECK(antenna.width() == 750);
    CHECK(antenna.height() == 310);
    exit_program(run);
  }

  TEST_CASE("the window cannot be made smaller than 620 x 500") {
    ProgramRun run("minimum_size");
    open(run);
    SetWindowPos(run.main_window(), nullptr, 0, 0, 300, 200,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    run.sync();
    RECT window;
    GetWindowRect(run.main_window(), &window);
    CHECK(window.right - window.left == 620);
    CHECK(window.bottom - window.top == 500);
    exit_program(run);
  }

  TEST_CASE("the contest link is underlined exactly while the pointer is over it") {
    ProgramRun run("link");
    open(run);
    run.sync();
    Sleep(300);
    const HWND link = run.control(IDC_CONTEST_LINK).handle;
    const int plain = blue_pixels(run, "link_plain.png");
    PostMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    run.sync();
    Sleep(300);
    const int hovered = blue_pixels(run, "link_hover.png");
    CHECK(hovered > plain + 20);  // the underline
    PostMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(-40), 5));
    run.sync();
    Sleep(300);
    CHECK(blue_pixels(run, "link_left.png") == plain);
    exit_program(run);
  }

  TEST_CASE("the screenshot shows the window with the contest link in dark blue") {
    ProgramRun run("screenshot");
    run.write_file("W1AW.cfg", config_bytes(stored_record("W1AW")));
    open(run);
    run.sync();
    Sleep(500);  // let the frame and the controls finish painting
    CHECK(blue_pixels(run, "main.png") > 20);
    exit_program(run);
  }
}

TEST_SUITE("configuration") {
  TEST_CASE("one stored configuration is loaded and shown") {
    ProgramRun run("one_config");
    run.write_file("VP2E-W1AW.cfg", config_bytes(stored_record("VP2E/W1AW")));
    open(run);
    CHECK(run.no_message_box());
    CHECK(run.list_rows(IDC_CALLSIGN) == std::vector<std::string>{"(SELECT OR NEW)", "VP2E/W1AW"});
    CHECK(run.list_selection(IDC_CALLSIGN) == 1);
    CHECK(run.control(IDC_CALLSIGN).text == "VP2E/W1AW");
    CHECK(run.control(IDC_NAME).text == "Hiram Percy");
    CHECK(run.control(IDC_STREET_BOX).text == "225 Main Street");
    CHECK(run.control(IDC_CQ_ZONE).text == "5");
    CHECK(run.control(IDC_ANTENNA).text == "Dipole\r\nat 10 m");
    CHECK(run.list_selection(IDC_ENTRY) == 1);
    CHECK(run.list_selection(IDC_BAND) == 6);
    CHECK(run.list_selection(IDC_MODE) == 1);
    CHECK(run.checked(IDC_CONFIRMED));
    CHECK(run.checked(IDC_FILL_MISSING));  // byte 1021 is 0 in records of every version
    exit_program(run);
  }

  TEST_CASE("with two stored configurations nothing is selected and the fields stay empty") {
    ProgramRun run("two_configs");
    run.write_file("W1AW.cfg", config_bytes(stored_record("W1AW")));
    run.write_file("DL1ABC.cfg", config_bytes(stored_record("DL1ABC")));
    open(run);
    CHECK(run.list_rows(IDC_CALLSIGN) ==
          std::vector<std::string>{"(SELECT OR NEW)", "DL1ABC", "W1AW"});
    CHECK(run.list_selection(IDC_CALLSIGN) == 0);
    CHECK(run.control(IDC_NAME).text.empty());
    exit_program(run);
  }

  TEST_CASE("choosing a stored call sign loads it") {
    ProgramRun run("choose_config");
    run.write_file("W1AW.cfg", config_bytes(stored_record("W1AW")));
    OperatorConfig other = stored_record("DL1ABC");
    std::strcpy(other.name, "Karl");
    run.write_file("DL1ABC.cfg", config_bytes(other));
    open(run);
    run.choose(IDC_CALLSIGN, 1);
    CHECK(run.no_message_box());
    CHECK(run.control(IDC_NAME).text == "Karl");
    run.choose(IDC_CALLSIGN, 0);
    CHECK(run.no_message_box());
    CHECK(run.control(IDC_NAME).text.empty());
    exit_program(run);
  }

  TEST_CASE("a configuration of another format is reset with a note") {
    ProgramRun run("old_format");
    OperatorConfig old = stored_record("W1AW");
    old.format_version = 2;
    run.write_file("W1AW.cfg", config_bytes(old));
    run.start();  // the note comes while the window is being created
    expect_message(run, "Configuration version changed, resetting to default.");
    REQUIRE(run.wait_main_window() != nullptr);
    CHECK(run.control(IDC_NAME).text.empty());
    CHECK(run.control(IDC_CALLSIGN).text == "W1AW");
    exit_program(run);
  }

  TEST_CASE("a cut-off configuration file is reset with a note") {
    ProgramRun run("short_file");
    std::vector<unsigned char> bytes = config_bytes(stored_record("W1AW"));
    bytes.resize(600);
    run.write_file("W1AW.cfg", bytes);
    run.start();
    expect_message(run, "Configuration file is damaged, resetting to default.");
    REQUIRE(run.wait_main_window() != nullptr);
    CHECK(run.control(IDC_NAME).text.empty());
    exit_program(run);
  }
}

TEST_SUITE("validation") {
  TEST_CASE("Convert without a call sign asks for it") {
    ProgramRun run("no_callsign");
    open(run);
    run.click(IDC_CONVERT);
    expect_message(run, "Callsign is required!");
    exit_program(run);
  }

  TEST_CASE("for the United States of America State/Province is required") {
    ProgramRun run("usa");
    OperatorConfig r = stored_record("W1AW");
    std::strcpy(r.country, "United States of America");
    run.write_file("W1AW.cfg", config_bytes(r));
    open(run);
    run.click(IDC_CONVERT);
    expect_message(run, "State/Province is required!");
    exit_program(run);
  }

  TEST_CASE("a LIMITED entry requires the antenna description") {
    ProgramRun run("limited");
    OperatorConfig r = stored_record("W1AW");
    std::memset(r.antenna_description, 0, sizeof r.antenna_description);
    run.write_file("W1AW.cfg", config_bytes(r));
    open(run);
    run.click(IDC_CONVERT);
    // UNLIMITED: no antenna needed; the entries pass and the file checks come next.
    expect_message(run, "You did not select an ADIF file for input!");
    run.choose(IDC_ENTRY, 2);
    run.click(IDC_CONVERT);
    expect_message(run, "Antenna Description is required!");
    exit_program(run);
  }

  TEST_CASE("a malformed call sign and e-mail address are named in their messages") {
    ProgramRun run("malformed");
    open(run);
    run.set_text(IDC_CALLSIGN, "");  // the box shows "(SELECT OR NEW)"
    run.type(IDC_CALLSIGN, "w1-aw");
    run.click(IDC_CONVERT);
    expect_message(run, "W1-AW is not a valid callsign!");
    CHECK(run.control(IDC_CALLSIGN).text == "W1-AW");
    run.set_text(IDC_CALLSIGN, "");
    run.type(IDC_CALLSIGN, "W1AW");
    run.type(IDC_EMAIL_ADDRESS, "w1aw@arrl.o");
    run.leave_field(IDC_EMAIL_ADDRESS);
    run.click(IDC_CONVERT);
    expect_message(run, "w1aw@arrl.o does not appear to be a valid E-mail address!");
    exit_program(run);
  }

  TEST_CASE("a CQ Zone outside 1 to 40 is named, and kept") {
    ProgramRun run("cq_zone");
    open(run);
    run.type(IDC_CQ_ZONE, "41");
    run.leave_field(IDC_CQ_ZONE);
    expect_message(run, "41 is not a valid CQ Zone!");
    CHECK(run.control(IDC_CQ_ZONE).text == "41");
    run.set_text(IDC_CQ_ZONE, "40");
    run.leave_field(IDC_CQ_ZONE);
    CHECK(run.no_message_box());
    exit_program(run);
  }

  TEST_CASE("a Street/Box of 64 characters is too long and cut to 63") {
    ProgramRun run("too_long");
    open(run);
    run.set_text(IDC_STREET_BOX, std::string(64, 'S'));
    run.leave_field(IDC_STREET_BOX);
    expect_message(run, "The Street/Box is too long.");
    CHECK(run.control(IDC_STREET_BOX).text == std::string(63, 'S'));
    exit_program(run);
  }

  TEST_CASE("a sixteenth call-sign character is refused") {
    ProgramRun run("long_callsign");
    open(run);
    run.set_text(IDC_CALLSIGN, "");
    // Narrow letters: the box does not scroll, so wide ones stop at its edge.
    run.type(IDC_CALLSIGN, std::string(16, 'I'));
    expect_message(run, "Callsign is too long!");
    CHECK(run.control(IDC_CALLSIGN).text == std::string(15, 'I'));
    exit_program(run);
  }
}

TEST_SUITE("exit") {
  TEST_CASE("Exit saves first, and No keeps the window open") {
    ProgramRun run("exit_no");
    run.write_file("W1AW.cfg", config_bytes(stored_record("W1AW")));
    open(run);
    run.set_text(IDC_CLUB, "Tarvenix DX Group");
    run.leave_field(IDC_CLUB);
    SendMessageA(run.control(IDC_FILL_MISSING).handle, BM_SETCHECK, BST_UNCHECKED, 0);
    run.click(IDC_FILL_MISSING);
    run.click(IDC_EXIT);
    expect_message(run, "Are you sure you want to exit?", IDNO);
    const auto saved = run.read_file("W1AW.cfg");
    REQUIRE(saved.has_value());
    REQUIRE(saved->size() == config_record_size);
    ConfigBytes bytes;
    std::copy(saved->begin(), saved->end(), bytes.begin());
    const OperatorConfig record = deserialize_config(bytes);
    CHECK(std::string(record.club) == "Tarvenix DX Group");
    CHECK(record.country_file_off == 1);
    CHECK(record.format_version == 3);
    CHECK(run.wait_exit(500) == std::nullopt);
    exit_program(run);
  }

  TEST_CASE("a configuration that cannot be saved is reported before the question") {
    ProgramRun run("save_fails");
    run.write_file("W1AW.cfg", config_bytes(stored_record("W1AW")));
    // The save writes W1AW.cfg.new first; a folder of that name makes it fail.
    CreateDirectoryA((run.folder() + "\\W1AW.cfg.new").c_str(), nullptr);
    open(run);
    run.click(IDC_EXIT);
    const auto box = run.wait_message_box();
    REQUIRE(box.has_value());
    CHECK(box->text.starts_with("Error: Can't open " + run.folder() + "\\W1AW.cfg for output (0x"));
    CHECK(box->text.ends_with(")"));
    run.press(*box, IDOK);
    expect_message(run, "Are you sure you want to exit?", IDYES);
    CHECK(run.wait_exit() == 0u);
    CHECK(run.read_file("W1AW.cfg") == config_bytes(stored_record("W1AW")));  // untouched
    RemoveDirectoryA((run.folder() + "\\W1AW.cfg.new").c_str());
  }

  TEST_CASE("closing the window asks the same question") {
    ProgramRun run("close");
    open(run);
    run.close_window();
    expect_message(run, "Are you sure you want to exit?", IDNO);
    CHECK(IsWindowVisible(run.main_window()));
    run.close_window();
    expect_message(run, "Are you sure you want to exit?", IDYES);
    CHECK(run.wait_exit() == 0u);
  }

  TEST_CASE("a new call sign of three characters or more is saved on exit") {
    ProgramRun run("new_callsign");
    open(run);
    run.set_text(IDC_CALLSIGN, "");
    run.type(IDC_CALLSIGN, "k1abc");
    run.set_text(IDC_NAME, "New Operator");
    run.leave_field(IDC_NAME);
    exit_program(run);
    const auto saved = run.read_file("K1ABC.cfg");
    REQUIRE(saved.has_value());
    CHECK(saved->size() == config_record_size);
  }
}
