// The benchmark log generator: every record is made from a hash of its index alone.
#include "support/generated_log.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "countryfile/country_file_read.h"
#include "evaluation/entity_table.h"
#include "records/contest.h"

namespace tarvenix::bench {

namespace {

// splitmix64: well-mixed bits from the index, identical on every platform.
uint64_t mix(uint64_t x) {
  x += 0x9e3779b97f4a7c15ULL;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

// Draws small numbers, each from a fresh hash of the last.
class Draw {
 public:
  explicit Draw(long index) : state_(static_cast<uint64_t>(index)) {}
  unsigned below(size_t n) {
    state_ = mix(state_);
    return static_cast<unsigned>(state_ % n);
  }

 private:
  uint64_t state_;
};

struct Band {
  const char* name;
  double low;  // MHz; QSOs fall in [low, low + span)
  double span;
};

constexpr Band kBands[] = {{"160m", 1.8, 0.2},  {"80m", 3.5, 0.5},   {"40m", 7.0, 0.3},
                           {"30m", 10.1, 0.05}, {"20m", 14.0, 0.35}, {"17m", 18.068, 0.1},
                           {"15m", 21.0, 0.45}, {"12m", 24.89, 0.1}, {"10m", 28.0, 1.7},
                           {"6m", 50.0, 4.0},   {"2m", 144.0, 4.0}};

struct Mode {
  const char* mode;
  const char* submode;  // empty when the mode has none
  const char* rst;
};

constexpr Mode kModes[] = {{"CW", "", "599"},      {"SSB", "USB", "59"},   {"FT8", "", "-12"},
                           {"RTTY", "", "599"},    {"MFSK", "FT4", "-08"}, {"FM", "", "59"},
                           {"PSK", "PSK31", "599"}};

constexpr const char* kNames[] = {"Hans", "Maria",    "Jean-Pierre", "Bob",     "Takeshi",
                                  "Olga", "Giuseppe", "Ana",         "Kenneth", "Li"};
constexpr const char* kComments[] = {"tnx fer QSO", "nice signal",       "CQ WW DX", "first QSO",
                                     "QSB, weak",   "worked split up 2", "73 es gl", ""};

// Named, scored entities only: deleted entities are not on the Scoresheet.
const EntityEntry& entity_for(unsigned pick) {
  for (size_t i = 0;; ++i) {
    const EntityEntry& entity = ENTITY_TABLE[(pick + i) % ENTITY_TABLE.size()];
    if (!entity.name.empty() && entity.code < 900) return entity;
  }
}

// A call sign in the entity's style: its first prefix characters, a digit, two or three
// letters.
std::string call_for(const EntityEntry& entity, Draw& draw) {
  std::string call;
  for (char c : entity.prefix) {
    if (call.size() == 2 || !((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) break;
    call += c;
  }
  call += static_cast<char>('0' + draw.below(10));
  const unsigned letters = 2 + draw.below(2);
  for (unsigned i = 0; i < letters; ++i) call += static_cast<char>('A' + draw.below(26));
  return call;
}

// How the fields of a record are laid out, as different logging programs export them.
enum class Layout { spaced, packed, one_per_line_crlf };

class RecordText {
 public:
  explicit RecordText(Layout layout) : layout_(layout) {}
  void field(const char* name, std::string_view value) {
    char tag[48];
    std::snprintf(tag, sizeof tag, "<%s:%zu>", name, value.size());
    text_ += tag;
    text_ += value;
    if (layout_ == Layout::spaced) text_ += ' ';
    if (layout_ == Layout::one_per_line_crlf) text_ += "\r\n";
  }
  std::string finish() {
    text_ += layout_ == Layout::one_per_line_crlf ? "<EOR>\r\n" : "<EOR>\n";
    return std::move(text_);
  }

 private:
  Layout layout_;
  std::string text_;
};

// What is wrong with a QSO, if anything: about one in sixteen has one fault.
enum class Fault {
  none,
  wrong_year,
  no_dxcc,
  bad_zone,
  bad_mode,
  band_mismatch,
  time_off_only,
  maritime_mobile,
  no_call
};

Fault fault_for(Draw& draw) {
  const unsigned roll = draw.below(128);
  return roll < 8 ? static_cast<Fault>(roll + 1) : Fault::none;
}

// The zone drawn (1 to 40) as one of the zones the installed country file gives the entity,
// as a real log's CQZ mostly is; the drawn zone itself when the file lacks the entity.
unsigned zone_for(const EntityEntry& entity, unsigned drawn) {
  static const Result<CountryFile> read = read_country_file(default_country_file(""));
  const uint64_t zones = read.ok() ? read.value().zones_of(entity.code) : 0;
  if (zones == 0) return drawn;
  for (unsigned skip = drawn % static_cast<unsigned>(std::popcount(zones)), zone = 1;; ++zone) {
    if ((zones >> zone & 1) != 0 && skip-- == 0) return zone;
  }
}

}  // namespace

std::string generated_header() {
  return "Generated for the Tarvenix benchmarks\n"
         "<ADIF_VER:5>3.1.4 <PROGRAMID:9>BenchLog <PROGRAMVERSION:3>1.0 <EOH>\n";
}

std::string generated_qso(long index, LogFields fields) {
  Draw draw(index);
  const unsigned layout_roll = draw.below(8);
  const Layout layout = layout_roll < 5   ? Layout::spaced
                        : layout_roll < 7 ? Layout::packed
                                          : Layout::one_per_line_crlf;
  const Fault fault = fault_for(draw);
  const EntityEntry& entity = entity_for(draw.below(ENTITY_TABLE.size()));
  const Band& band = kBands[draw.below(std::size(kBands))];
  const Mode& mode = kModes[draw.below(std::size(kModes))];
  char text[64];
  RecordText record(layout);

  std::string call = call_for(entity, draw);
  if (fault == Fault::maritime_mobile) call += "/MM";
  if (fault != Fault::no_call) record.field("CALL", call);
  std::snprintf(text, sizeof text, "%04d%02u%02u",
                static_cast<int>(CONTEST_YEAR - (fault == Fault::wrong_year ? 1 : 0)),
                1 + draw.below(12), 1 + draw.below(28));
  record.field("QSO_DATE", text);
  std::snprintf(text, sizeof text, "%02u%02u%02u", draw.below(24), draw.below(60), draw.below(60));
  record.field(fault == Fault::time_off_only ? "TIME_OFF" : "TIME_ON", text);
  record.field("BAND", fault == Fault::band_mismatch ? "40m" : band.name);
  const double offset = band.span * draw.below(1000) / 1000.0;
  std::snprintf(text, sizeof text, "%.6f",
                fault == Fault::band_mismatch ? 14.074 : band.low + offset);
  record.field("FREQ", text);
  record.field("MODE", fault == Fault::bad_mode ? "CWR" : mode.mode);
  if (*mode.submode != '\0') record.field("SUBMODE", mode.submode);
  record.field("RST_SENT", mode.rst);
  record.field("RST_RCVD", mode.rst);
  const bool dxcc_and_cqz = fields == LogFields::all;
  if (dxcc_and_cqz && fault != Fault::no_dxcc) record.field("DXCC", std::to_string(entity.code));
  const unsigned zone = fault == Fault::bad_zone ? 45 : zone_for(entity, 1 + draw.below(40));
  if (dxcc_and_cqz) record.field("CQZ", std::to_string(zone));
  record.field("QSL_RCVD", draw.below(4) ? "N" : "Y");
  record.field("LOTW_QSL_RCVD", draw.below(3) ? "N" : "Y");
  record.field("NAME", kNames[draw.below(std::size(kNames))]);
  const char* comment = kComments[draw.below(std::size(kComments))];
  if (*comment != '\0') record.field("COMMENT", comment);
  return record.finish();
}

bool write_generated_log(const std::string& path, long qsos, LogFields fields) {
  const std::string partial = path + ".partial";
  std::FILE* file = std::fopen(partial.c_str(), "wb");
  if (file == nullptr) return false;
  bool ok = std::fputs(generated_header().c_str(), file) >= 0;
  for (long i = 0; ok && i < qsos; ++i) {
    const std::string qso = generated_qso(i, fields);
    ok = std::fwrite(qso.data(), 1, qso.size(), file) == qso.size();
  }
  ok = std::fclose(file) == 0 && ok;
  std::error_code error;
  if (ok) std::filesystem::rename(partial, path, error);
  if (!ok || error) std::filesystem::remove(partial, error);
  return ok && !error;
}

}  // namespace tarvenix::bench
