// Texts from the log and the Scoresheet on the results page: markup characters become
// references, and bytes that are not well-formed UTF-8 become U+FFFD one by one.
#include <doctest/doctest.h>

#include <string>

#include "scoresheet/html_text.h"

using tarvenix::append_html_text;

TEST_CASE("html text escapes markup and replaces what is not well-formed UTF-8") {
  const std::string fffd = "\xEF\xBF\xBD";
  const struct {
    std::string in, out;
  } cases[] = {
      // clang-format off
      {"K1<b>&\"'x>", "K1&lt;b&gt;&amp;&quot;&#39;x&gt;"},
      {"S\xC3\xA3o Tom\xC3\xA9", "S\xC3\xA3o Tom\xC3\xA9"},  // well-formed stays
      {"\xF0\x9F\x93\xBB", "\xF0\x9F\x93\xBB"},              // four bytes
      {"a\xFF" "b", "a" + fffd + "b"},
      {"\xC3", fffd},                                   // cut short at the end
      {"\xC0\xAF", fffd + fffd},                        // overlong '/'
      {"\xED\xA0\x80", fffd + fffd + fffd},             // a surrogate
      {"\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},  // past U+10FFFF
      {std::string("a\0b\x1B\x7F\tc\n", 8), "a" + fffd + "b" + fffd + fffd + "\tc\n"},
      // clang-format on
  };
  for (const auto& c : cases) {
    std::string out = "<p>";
    append_html_text(out, c.in);
    CHECK(out == "<p>" + c.out);
  }
}
