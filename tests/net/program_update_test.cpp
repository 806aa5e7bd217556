// The update's rules that need no server: the date form, the restart marker, the old
// program's path, the executable check, the temporary file and the move failure texts.
#include <doctest/doctest.h>

#include <filesystem>

#include "net/http_date.h"
#include "net/program_update.h"
#include "test_support.h"

using namespace tarvenix;
using namespace tarvenix::test;

TEST_CASE("only the whole fixed HTTP date form counts as a full date") {
  CHECK(is_full_http_date("Tue, 01 Oct 2024 12:00:00 GMT"));
  CHECK(is_full_http_date("Sun, 06 Nov 1994 08:49:37 GMT"));
  for (const char* text : {"Tue, 01 Oct 2024", "Tue, 01 oct 2024 12:00:00 GMT",
                           "Tue, 1 Oct 2024 12:00:00 GMT", "Tue, 01 Oct 2024 12:00:00 GMT ",
                           "Tuesday, 01-Oct-24 12:00:00 GMT", "Tue, 01 Oct 2024 12:00:00 CET",
                           "Tue, 01 Oct 2024 12-00-00 GMT", "Tue, 0x Oct 2024 12:00:00 GMT", ""}) {
    CAPTURE(text);
    CHECK_FALSE(is_full_http_date(text));
  }
}

TEST_CASE("a restart command line gives back the old command line and the handle") {
  const std::string line =
      restart_command_line("\"C:\\Tools\\tarvenix.exe\" ", 0x1A4, "C:\\Tools\\dxt3F2.tmp");
  CHECK(line == "\"C:\\Tools\\tarvenix.exe\" <00000000000001A4>C:\\Tools\\dxt3F2.tmp");
  const auto marker = parse_restart_marker(line);
  REQUIRE(marker);
  CHECK(marker->old_command_line == "\"C:\\Tools\\tarvenix.exe\" ");
  CHECK(marker->process_handle == 0x1A4);
  CHECK(parse_restart_marker("x <1a4>y").value_or(RestartMarker{}).process_handle == 0x1A4);
}

TEST_CASE("a command line without a whole marker is an ordinary start") {
  for (const char* line : {"x.exe", "x.exe <1A4 C:\\x.tmp", "x.exe <1A4", "x.exe <0>C:\\x.tmp",
                           "x.exe <00000000>C:\\x.tmp", "x.exe <>C:\\x.tmp", "x.exe <G1>C:\\x.tmp",
                           "x <11111111111111111>y"}) {  // the last wider than a handle
    CAPTURE(line);
    CHECK_FALSE(parse_restart_marker(line));
  }
}

TEST_CASE("the old program path is the first item of the old command line") {
  struct Case {
    const char *command_line, *folder, *path;
  } cases[] = {
      {"\"D:\\Tools\\tarvenix.exe\" ", "D:\\Tools\\", "D:\\Tools\\tarvenix.exe"},
      {"\"D:\\My Tools\\tarvenix.exe\" -x", "D:\\My Tools\\", "D:\\My Tools\\tarvenix.exe"},
      {"D:\\Tools\\tarvenix.exe arg", "D:\\Tools\\", "D:\\Tools\\tarvenix.exe"},
      {"D:\\Tools\\tarvenix.exe", "D:\\Tools\\", "D:\\Tools\\tarvenix.exe"},
      {"\\\\server\\share\\tarvenix.exe", "D:\\Tools\\", "\\\\server\\share\\tarvenix.exe"},
      // A relative one is taken in the downloaded file's folder.
      {"tarvenix.exe", "D:\\Tools\\", "D:\\Tools\\tarvenix.exe"},
      {"\"bin\\tarvenix.exe\" ", "D:\\Tools\\", "D:\\Tools\\bin\\tarvenix.exe"},
      {"\\Tools\\tarvenix.exe", "D:\\Other\\", "D:\\Tools\\tarvenix.exe"},
      {"", "D:\\Tools\\", ""},
      {"\"\" x", "D:\\Tools\\", ""},
  };
  for (const Case& c : cases) {
    CAPTURE(c.command_line);
    CHECK(old_program_path(c.command_line, c.folder) == c.path);
  }
}

TEST_CASE("a failed move is told by its error code") {
  const char* own = "C:\\a\\dxt1.tmp";
  CHECK(update_move_failure_text(5, own, "C:\\a\\t.exe") == "Access denied: C:\\a\\t.exe");
  CHECK(update_move_failure_text(17, own, "D:\\t.exe") == "Not same device: D:\\t.exe");
  CHECK(update_move_failure_text(123, own, "C:\\a\\t?.exe") ==
        "Invalid name: [C:\\a\\dxt1.tmp] [C:\\a\\t?.exe]");
  CHECK(update_move_failure_text(32, own, "C:\\a\\t.exe") ==
        "Unable to move C:\\a\\dxt1.tmp to C:\\a\\t.exe, error code = 32");
}

TEST_CASE("only an MZ header pointing at a PE signature is an executable image") {
  ScratchFolder folder;
  auto mz_header = [](uint32_t pe_offset) {
    std::string bytes(0x40, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    for (int i = 0; i < 4; ++i) bytes[0x3C + i] = char((pe_offset >> (8 * i)) & 0xFF);
    return bytes;
  };
  const std::string image = mz_header(0x40) + std::string("PE\0\0", 4) + std::string(20, '\x01');
  auto check = [&](const std::string& bytes) {
    const std::string path = folder.file("image.bin");
    write_file(path, bytes);
    return is_windows_executable(path);
  };
  CHECK(check(image));
  CHECK_FALSE(check(""));
  CHECK_FALSE(check(image.substr(0, image.size() - 1)));  // file header cut short
  CHECK_FALSE(check(mz_header(0x40) + "NE\0\0" + std::string(20, '\x01')));
  CHECK_FALSE(check(mz_header(0xFFFFFFF0u) + std::string("PE\0\0", 4)));
  CHECK_FALSE(check("ZM" + image.substr(2)));
  CHECK_FALSE(is_windows_executable(folder.file("missing.bin")));
}

TEST_CASE("temporary files are new, empty and named dxt*.tmp in the given folder") {
  ScratchFolder folder;
  const std::string directory = folder.file("dir.with.dot") + "/";
  std::filesystem::create_directories(directory);
  const auto first = create_temporary_file(directory, "dxt");
  const auto second = create_temporary_file(directory, "dxt");
  REQUIRE((first && second && *first != *second));
  for (const std::filesystem::path file : {*first, *second}) {
    CHECK(std::filesystem::file_size(std::filesystem::path(directory) / file.filename()) == 0);
    CHECK(file.filename().string().starts_with("dxt"));
    CHECK(file.extension() == ".tmp");
  }
  CHECK_FALSE(create_temporary_file(folder.file("missing") + "/", "dxt"));
}
