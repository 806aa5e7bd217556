// The results page. Every state is told by words and a border style as well as by colour,
// so the page reads the same printed in black and white, in a narrow window and aloud.
// Divisions: the style sheet; cells and their states; the heading; zones; entities; the
// chart of the summary counters; writing the file.
#include "scoresheet/results_page.h"

#include <algorithm>
#include <array>
#include <map>
#include <string_view>
#include <vector>

#include "evaluation/band_rules.h"
#include "evaluation/mode_rules.h"
#include "records/atomic_file.h"
#include "records/contest.h"
#include "records/format_text.h"
#include "scoresheet/html_text.h"
#include "scoresheet/run_report.h"

namespace tarvenix {

namespace {

constexpr const char* page_style = R"(<style>
body{font:16px/1.4 "Liberation Sans",Arial,sans-serif;color:#111;background:#fff;max-width:64rem;margin:0 auto;padding:1rem}
h1{font-size:1.6rem;margin:0 0 .5rem}
h2{font-size:1.25rem;margin:1.6rem 0 .5rem;border-bottom:1px solid #888}
h3{font-size:1.05rem;margin:1rem 0 .4rem}
ul.facts{list-style:none;padding:0;margin:.3rem 0;display:flex;flex-wrap:wrap;gap:.2rem 2rem}
ul.cells{list-style:none;padding:0;margin:.4rem 0;display:grid;gap:.35rem;grid-template-columns:repeat(auto-fill,minmax(8.5rem,1fr))}
ul.cells li{border:2px solid;border-radius:4px;padding:.25rem .4rem;font-size:.85rem;break-inside:avoid;overflow-wrap:anywhere}
ul.cells b,.state{display:block}
.state{font-size:.75rem;text-transform:uppercase;letter-spacing:.03em}
.confirmed{background:#cdeccd;border-color:#1b6e1b}
.worked{background:#fde9b8;border-color:#9a6700;border-style:dashed}
.missing{background:#fff;border-color:#aaa;border-style:dotted;color:#555}
.legend span{display:inline-block;border:2px solid;padding:0 .4rem;margin:0 .6rem .3rem 0}
ul.needed{columns:14rem;padding-left:1.2rem;margin:.2rem 0 .8rem}
svg.chart{display:block;width:100%;font:14px "Liberation Sans",Arial,sans-serif}
svg.chart rect{fill:#8b2f2f}
footer{margin-top:2rem;border-top:1px solid #888;font-size:.9rem}
@media print{body{max-width:none;padding:0;font-size:11pt}*{print-color-adjust:exact;-webkit-print-color-adjust:exact}h2,h3{break-after:avoid}}
</style>
)";

enum class Mark { confirmed, worked, missing };

// The style class and the words of each mark, in the order of the enumeration.
struct MarkText {
  const char* css_class;
  const char* words;
};
constexpr MarkText mark_texts[] = {
    {"confirmed", "Confirmed"}, {"worked", "Unconfirmed"}, {"missing", "Missing"}};

const MarkText& text_of(Mark mark) {
  return mark_texts[static_cast<size_t>(mark)];
}

Mark mark_of(const CreditRecord* record) {
  if (record == nullptr || !record->has_call()) return Mark::missing;
  return record->confirmed != 0 ? Mark::confirmed : Mark::worked;
}

// The name at `index` of one of the window's lists; the first for an index out of range.
template <size_t N>
std::string_view name_in(const std::array<std::string_view, N>& names, int index) {
  return index >= 0 && static_cast<size_t>(index) < N ? names[static_cast<size_t>(index)]
                                                      : names[0];
}

// The credited QSO as a cell's lines: call, then date and band.
void append_credit(std::string& out, const CreditRecord& record) {
  append_html_text(out, record.call_text());
  out +=
      format_text("<br>%04d-%02d-%02d ", static_cast<int>(CONTEST_YEAR), record.month, record.day);
  append_html_text(out, name_in(BAND_NAMES, record.band));
}

// One cell: its title, optionally a second line, the state in words and the credit.
void append_cell(std::string& out, const CreditRecord* record, std::string_view title,
                 std::string_view second_line = {}) {
  const Mark mark = mark_of(record);
  out += "<li class=\"";
  out += text_of(mark).css_class;
  out += "\"><b>";
  append_html_text(out, title);
  out += "</b>";
  if (!second_line.empty()) {
    append_html_text(out, second_line);
    out += "<br>";
  }
  out += "<span class=\"state\">";
  out += text_of(mark).words;
  out += "</span>";
  if (mark != Mark::missing) append_credit(out, *record);
  // The claims that rest on the least: the entity or zone only the call sign tells.
  if (mark != Mark::missing && record->rests_on_call()) {
    out += "<span class=\"state\">from the call sign</span>";
  }
  out += "</li>\n";
}

struct Tally {
  int credited = 0;
  int confirmed = 0;
  int listed = 0;

  void add(const CreditRecord* record) {
    ++listed;
    const Mark mark = mark_of(record);
    credited += mark != Mark::missing;
    confirmed += mark == Mark::confirmed;
  }
  std::string text() const {
    return format_text("%d of %d credited, %d confirmed", credited, listed, confirmed);
  }
};

// The Scoresheet's entities in the order of its rows.
std::vector<const CreditRecord*> entities_in_sheet_order(const EntityCreditTable& entities) {
  std::vector<const CreditRecord*> listed;
  for (int code = 0; code < entities.size(); ++code) {
    if (const CreditRecord* record = entities.find(code)) listed.push_back(record);
  }
  std::sort(listed.begin(), listed.end(),
            [](const CreditRecord* a, const CreditRecord* b) { return a->row < b->row; });
  return listed;
}

Tally zone_tally(const ZoneCreditTable& zones) {
  Tally tally;
  for (int zone = 1; zone < zones.size(); ++zone) tally.add(zones.find(zone));
  return tally;
}

void append_heading(std::string& out, const ResultsPage& page) {
  const ConversionRun& run = page.run;
  std::string call;
  append_html_text(call, page.callsign);
  out += format_text("<title>%s: DX Tarvenix %d results</title>\n", call.c_str(),
                     static_cast<int>(CONTEST_YEAR));
  out += page_style;
  out += "</head>\n<body>\n<header>\n";
  out += format_text("<h1>%s: DX Tarvenix %d</h1>\n<ul class=\"facts\">\n", call.c_str(),
                     static_cast<int>(CONTEST_YEAR));
  Tally entities;
  for (const CreditRecord* record : entities_in_sheet_order(run.entities)) entities.add(record);
  out += "<li>Entities: " + entities.text() + "</li>\n";
  out += "<li>CQ Zones: " + zone_tally(run.zones).text() + "</li>\n";
  out += format_text("<li>QSOs read: %d</li>\n</ul>\n<ul class=\"facts\">\n", run.stats.qsos_read);
  out += "<li>Band: ";
  append_html_text(out, name_in(BAND_NAMES, static_cast<int>(run.band)));
  out += "</li>\n<li>Mode: ";
  append_html_text(out, name_in(MODE_CLASS_NAMES, static_cast<int>(run.mode)));
  out += "</li>\n<li>Confirmed QSOs preferred: ";
  out += run.prefer_confirmed ? "Yes" : "No";
  out += "</li>\n</ul>\n</header>\n";
}

void append_legend(std::string& out) {
  out += "<p class=\"legend\">";
  for (const Mark mark : {Mark::confirmed, Mark::worked, Mark::missing}) {
    out +=
        format_text("<span class=\"%s\">%s</span>", text_of(mark).css_class, text_of(mark).words);
  }
  out += "</p>\n";
}

void append_zones(std::string& out, const ZoneCreditTable& zones) {
  out += "<section>\n<h2>CQ Zones: " + zone_tally(zones).text() + "</h2>\n";
  append_legend(out);
  out += "<ul class=\"cells\" aria-label=\"CQ Zones 1 to 40\">\n";
  for (int zone = 1; zone < zones.size(); ++zone) {
    append_cell(out, zones.find(zone), format_text("Zone %d", zone));
  }
  out += "</ul>\n</section>\n";
}

// One continent: the worked entities as cells, then the missing ones as a plain list.
void append_entity_group(std::string& out, const std::string& continent,
                         const std::vector<const CreditRecord*>& members) {
  Tally tally;
  std::vector<const CreditRecord*> needed;
  for (const CreditRecord* record : members) {
    tally.add(record);
    if (mark_of(record) == Mark::missing) needed.push_back(record);
  }
  out += "<section>\n<h3>";
  append_html_text(out, continent);
  out += ": " + tally.text() + "</h3>\n";
  if (tally.credited != 0) {
    out += "<ul class=\"cells\">\n";
    for (const CreditRecord* record : members) {
      if (mark_of(record) != Mark::missing) append_cell(out, record, record->prefix, record->name);
    }
    out += "</ul>\n";
  }
  if (!needed.empty()) {
    out += format_text("<p>Still needed (%d):</p>\n<ul class=\"needed\">\n",
                       static_cast<int>(needed.size()));
    for (const CreditRecord* record : needed) {
      out += "<li>";
      append_html_text(out, record->prefix);
      out += " ";
      append_html_text(out, record->name);
      out += "</li>\n";
    }
    out += "</ul>\n";
  }
  out += "</section>\n";
}

void append_entities(std::string& out, const ResultsPage& page) {
  std::map<std::string, std::vector<const CreditRecord*>> groups;  // in order of their names
  std::vector<const CreditRecord*> others;                         // of no known continent: last
  for (const CreditRecord* record : entities_in_sheet_order(page.run.entities)) {
    std::string continent = page.continent_of ? page.continent_of(record->code) : "All entities";
    (continent.empty() ? others : groups[continent]).push_back(record);
  }
  out += "<section>\n<h2>Entities of the Scoresheet</h2>\n";
  append_legend(out);
  for (const auto& [continent, members] : groups) append_entity_group(out, continent, members);
  if (!others.empty()) append_entity_group(out, "Other", others);
  out += "</section>\n";
}

// A horizontal bar chart of the summary's counters, largest first; the bars scale with the
// window while the text keeps its size.
void append_rejections(std::string& out, const RunStats& stats) {
  std::vector<SummaryCount> counts = summary_counts(stats);
  std::erase_if(counts, [](const SummaryCount& line) { return line.count <= 0; });
  std::stable_sort(counts.begin(), counts.end(),
                   [](const SummaryCount& a, const SummaryCount& b) { return a.count > b.count; });
  out += "<section>\n<h2>Why QSOs were rejected</h2>\n";
  if (counts.empty()) {
    out += "<p>No QSO was rejected.</p>\n</section>\n";
    return;
  }
  constexpr int row_height = 40;
  out += format_text("<svg class=\"chart\" height=\"%d\" aria-label=\"QSOs by reason\">\n",
                     static_cast<int>(counts.size()) * row_height);
  for (size_t i = 0; i < counts.size(); ++i) {
    const int top = static_cast<int>(i) * row_height;
    const double percent = 85.0 * counts[i].count / counts.front().count;
    out += format_text("<g><text x=\"0\" y=\"%d\">QSO(s) %s</text>", top + 14, counts[i].reason);
    out += format_text("<rect x=\"0\" y=\"%d\" width=\"%.1f%%\" height=\"14\"/>", top + 19,
                       std::max(percent, 0.3));
    out += format_text("<text x=\"%.1f%%\" y=\"%d\">%d</text></g>\n", percent + 1, top + 31,
                       counts[i].count);
  }
  out += "</svg>\n</section>\n";
}

void append_footer(std::string& out, const ResultsPage& page) {
  out += "<footer>\n<p>Every rejected QSO is named in the run log, ";
  append_html_text(out, page.run_log_name);
  out += ".</p>\n<p>The workbook ";
  append_html_text(out, page.workbook_name);
  out += " is what is submitted; this page only shows what it holds.</p>\n</footer>\n";
}

}  // namespace

std::string results_page_html(const ResultsPage& page) {
  std::string out;
  out.reserve(96 * 1024);
  out +=
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  append_heading(out, page);
  out += "<main>\n";
  append_zones(out, page.run.zones);
  append_entities(out, page);
  append_rejections(out, page.run.stats);
  out += "</main>\n";
  append_footer(out, page);
  out += "</body>\n</html>\n";
  return out;
}

Result<> prepare_results_page(AtomicFile& file, const std::string& path, const ResultsPage& page) {
  const std::string html = results_page_html(page);
  if (file.open(path) && file.write(html.data(), html.size()) && file.sync()) return {};
  Failure failure{"can't write the file: " + file.error()};
  file.abandon();
  return failure;
}

}  // namespace tarvenix
