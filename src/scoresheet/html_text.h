// Text from the log or the Scoresheet made safe inside an HTML page.
#pragma once

#include <string>
#include <string_view>

namespace tarvenix {

// Appends `text` to `out` as HTML character data, fit for element content and for quoted
// attribute values: <, >, &, " and ' as references; bytes that are not well-formed UTF-8,
// and control characters other than tab and line break, as U+FFFD.
void append_html_text(std::string& out, std::string_view text);

}  // namespace tarvenix
