// The restart into a new version: the marker on the command line, the old program path and
// the texts of a failed move.
#include <doctest/doctest.h>

#include <string>
#include <tuple>

#include "ui/program_restart.h"

using namespace tarvenix;

TEST_CASE("a restart command line gives back the old command line and the handle") {
  const std::string line =
      restart_command_line("\"C:\\Tools\\tarvenix.exe\" ", 0x19A4, "C:\\Tools\\dxt3F2.tmp");
  CHECK(line == "\"C:\\Tools\\tarvenix.exe\" <00000000000019A4>C:\\Tools\\dxt3F2.tmp");
  const RestartMarker marker = parse_restart_marker(line).value_or(RestartMarker{});
  CHECK(marker.old_command_line == "\"C:\\Tools\\tarvenix.exe\" ");
  CHECK(marker.process_handle == 0x19A4);
  CHECK(parse_restart_marker("x <19a4>y").value_or(RestartMarker{}).process_handle == 0x19A4);
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
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"\"D:\\My Tools\\tarvenix.exe\" -x", "D:\\My Tools\\", "D:\\My Tools\\tarvenix.exe"},
      {"D:\\Tools\\tarvenix.exe arg", "D:\\Tools\\", "D:\\Tools\\tarvenix.exe"},
      {"\\\\server\\share\\tarvenix.exe", "D:\\Tools\\", "\\\\server\\share\\tarvenix.exe"},
      // A relative one is taken in the downloaded file's folder.
      {"\"bin\\tarvenix.exe\" ", "D:\\Tools\\", "D:\\Tools\\bin\\tarvenix.exe"},
      {"\\Tools\\tarvenix.exe", "D:\\Other\\", "D:\\Tools\\tarvenix.exe"},
      {"\"\" x", "D:\\Tools\\", ""},
  };
  for (const auto& [command_line, folder, path] : cases) {
    CAPTURE(command_line);
    CHECK(old_program_path(command_line, folder) == path);
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
