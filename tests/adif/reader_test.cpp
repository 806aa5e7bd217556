// The ADIF reader at its edges: tag syntax, markers, values across lines and blocks, line
// ends, packed records, hostile lengths, and read failures.
#include <doctest/doctest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "adif/reader.h"

using namespace tarvenix;

namespace {

// One call's outcome: the status and, after a marker, the record's fields as NAME=value.
// clang-format off
struct Step { ReaderStatus status; std::string fields; };
// clang-format on

std::string describe(const AdifField* node) {
  if (node == nullptr) return {};
  std::string left = describe(node->left), right = describe(node->right);
  std::string self = std::string(node->name) + "=" + std::string(node->value);
  return left + (left.empty() ? "" : " ") + self + (right.empty() ? "" : " ") + right;
}

// Reads all of `source` with the given block size; the record is described and cleared after
// every marker, as the reading loop does.
std::vector<Step> read_steps(ByteSource&& source, size_t block = AdifReader::default_block_size) {
  AdifReader reader(source, block);
  QsoRecord record;
  std::string error;
  std::vector<Step> steps;
  for (;;) {
    const ReaderStatus status = reader.parse_ADIF(record, error);
    steps.push_back({status, describe(record.fields())});
    if (status == ReaderStatus::end_of_file || status == ReaderStatus::error) break;
    if (status != ReaderStatus::line) record.clear();
    REQUIRE(steps.size() < 10000);
  }
  return steps;
}

// The records closed by <EOR>, each described.
std::vector<std::string> records_of(const std::string& text,
                                    size_t block = AdifReader::default_block_size) {
  std::vector<std::string> records;
  for (const Step& step : read_steps(MemorySource(text), block))
    if (step.status == ReaderStatus::end_of_record) records.push_back(step.fields);
  return records;
}

// Every call's outcome as a letter (Line, Header, Record, End of file, eXror), followed by the
// record's fields when there are any; the calls separated by '|'.
std::string trace(ByteSource&& source) {
  std::string out;
  for (const Step& step : read_steps(std::move(source))) {
    out.append(out.empty() ? "" : "|").push_back("LHREX"[static_cast<int>(step.status)]);
    if (!step.fields.empty()) out += " " + step.fields;
  }
  return out;
}

using S = ReaderStatus;

}  // namespace

TEST_CASE("tag syntax, lines without tags, packed records") {
  // clang-format off
  const struct { const char* what; const char* text; std::vector<std::string> records; } cases[] = {
      {"a data type indicator is ignored", "<QSO_DATE:8:D>20240315<EOR>", {"QSO_DATE=20240315"}},
      {"'<' and '>' within the length", "<COMMENT:5>a<b>c<EOR>", {"COMMENT=a<b>c"}},
      {"cut at the length, the rest up to the next tag ignored", "<CALL:3>N0CALL <BAND:3>20m<EOR>", {"BAND=20m CALL=N0C"}},
      {"a zero length is empty; a tag without length is ignored", "<NAME:0><APP_X><CALL:2>K1<EOR>", {"CALL=K1 NAME="}},
      {"blanks and a sign before the length", "<A: 2>xy<B:+1>z<EOR>", {"A=xy B=z"}},
      {"no digits give 0; a negative length is a marker", "<A:x>zz<B:-3>yyy<EOR>", {"A="}},
      {"an EOR with a length is a field", "<EOR:0><CALL:2>K1<eor>", {"CALL=K1 EOR="}},
      {"only a to z are upper-cased", "<app_\xe4x:1>1<EOR>", {"APP_\xe4X=1"}},
      {"a name without ':' or '>' ignores its line only", "<CALL:2>K1<BAND\n<MODE:2>CW<EOR>", {"CALL=K1 MODE=CW"}},
      {"a length without '>' ignores its line only", "<CALL:2 K1\n<MODE:2>CW<EOR>", {"MODE=CW"}},
      {"after the length, all up to the next '>' is skipped", "<CALL:2 K1 <BAND:3>20m<EOR>", {"CALL=20"}},
      {"the input ends inside a tag", "<CALL:2>K1<EOR><MODE:2", {"CALL=K1"}},
      {"packed on a line", "<CALL:2>K1<EOR><CALL:2>K2<EOR><CALL:2>K3<EOR>\n", {"CALL=K1", "CALL=K2", "CALL=K3"}},
      {"a header packed before a record", "<X:1>h<EOH><CALL:2>K1<EOR>", {"CALL=K1"}},
      {"a repeated name keeps the first", "<CALL:2>K1<call:2>K2<EOR>", {"CALL=K1"}},
      // clang-format on
  };
  for (const auto& c : cases) CHECK_MESSAGE(records_of(c.text) == c.records, c.what);
  CHECK(trace(MemorySource("<eoh>\n<eor>\n")) == "H|L|R|L|E");
  CHECK(trace(MemorySource("just a header line\n")) == "L|E");
}

TEST_CASE("values that span lines") {
  // the value takes the line end; the next call goes on
  CHECK(trace(MemorySource("<NOTES:12>line one\r\nab<CALL:2>K1<EOR>\r\n")) ==
        "L NOTES=line one\r\nab|R CALL=K1 NOTES=line one\r\nab|L|E");
  // the end of the input inside a value ends reading, whatever length was declared
  for (const char* text : {"<CALL:2>K1<NOTES:50>short\n", "<CALL:2>K1<NOTES:2000000000>tail"})
    CHECK(trace(MemorySource(text)) == "E CALL=K1");
  CHECK(trace(MemorySource("<CALL:99999999999999999999999>tail")) == "E");
}

TEST_CASE("CR LF, LF and CR-only line ends read the same records") {
  const std::string lf =
      "Header\n<PROGRAMID:4>TEST<EOH>\n<CALL:4>W1AW\n<BAND:3>20m<EOR>\n<CALL:5>DL1AB<EOR>\n";
  for (const char* end : {"\n", "\r\n", "\r"}) {
    std::string text;
    for (char c : lf) c == '\n' ? text += end : text += c;
    CHECK(records_of(text) == std::vector<std::string>{"BAND=20m CALL=W1AW", "CALL=DL1AB"});
  }
}

TEST_CASE("lines of any length, and tags and values across block boundaries") {
  std::string line;
  std::vector<std::string> expected;
  for (int i = 0; i < 500; ++i) {
    const std::string call = std::string("K").append(std::to_string(i));
    line += "<CALL:" + std::to_string(call.size()) + ">" + call + "<COMMENT:10>0123456789<EOR>";
    expected.push_back("CALL=" + call + " COMMENT=0123456789");
  }
  line += "<" + std::string(5000, 'N') + ":1>x<EOR>\n";  // a tag larger than the block
  expected.push_back(std::string(5000, 'N') + "=x");
  for (size_t block :
       {size_t{16}, size_t{17}, size_t{64}, size_t{1000}, AdifReader::default_block_size})
    CHECK_MESSAGE(records_of(line, block) == expected, block);
}

TEST_CASE("every truncation of a good log reads a prefix of its records") {
  const std::string log =
      "Exported\r\n<ADIF_VER:5>3.1.4<EOH>\r\n<CALL:4>W1AW<QSO_DATE:8:D>20240315<EOR>\r\n"
      "<CALL:5>DL1AB<NOTES:6>a\r\nb<>c<eor>\r\n";
  const std::vector<std::string> all = records_of(log);
  REQUIRE(all.size() == 2);
  for (size_t cut = 0; cut <= log.size(); ++cut) {
    CAPTURE(cut);
    const std::vector<std::string> got = records_of(log.substr(0, cut), 16);
    REQUIRE(got.size() <= all.size());
    for (size_t i = 0; i < got.size(); ++i) CHECK(got[i] == all[i]);
  }
}

TEST_CASE("declared lengths saturate instead of overflowing") {
  std::string lengths;
  for (const std::string s : {"12", "  7:D", "-0", "", "2147483647", "2147483648",
                              "99999999999999999999999999", "-99999999999999999999999999"}) {
    lengths.append(" ").append(
        std::to_string(parse_declared_length(s.data(), s.data() + s.size())));
  }
  CHECK(lengths == " 12 7 0 0 2147483647 2147483647 2147483647 -2147483648");
}

TEST_CASE("a file is read through FileSource, and a missing one says why") {
  const std::string path = "adif_reader_test.adi";
  std::ofstream(path, std::ios::binary) << "<CALL:4>W1AW<band:3>20m<EOR>\r\n";
  FileSource file;
  REQUIRE(file.open(path));
  AdifReader reader(file);
  QsoRecord record;
  std::string error;
  CHECK(reader.parse_ADIF(record, error) == S::end_of_record);
  std::remove(path.c_str());
  CHECK(describe(record.fields()) == "BAND=20m CALL=W1AW");
  CHECK((record.call != nullptr && record.call->length == 4));  // the declared length is kept

  FileSource missing;
  CHECK_FALSE(missing.open("no/such/file.adi"));
  CHECK_FALSE(missing.error().empty());
}

namespace {
// The bytes of `text`, then `failure` as the read error when one is given.
class FailingSource final : public ByteSource {
 public:
  FailingSource(std::string_view text, std::string failure) : rest_(text), failure_(failure) {}
  std::string error() const override { return rest_.empty() ? failure_ : ""; }
  size_t read(char* dst, size_t n) override {
    const size_t take = rest_.copy(dst, n);
    rest_.remove_prefix(take);
    return take;
  }

 private:
  std::string_view rest_;
  std::string failure_;
};

std::string read_to_stop(std::string_view text, std::string failure = {}) {
  FailingSource source(text, std::move(failure));
  AdifReader reader(source);
  QsoRecord record;
  std::string error;
  const ReaderStatus status = read_all_records(reader, record, error, [](auto&, auto) {});
  return status == S::error ? error : "end of file";
}
}  // namespace

TEST_CASE("a crafted log cannot take the machine's memory") {
  const std::string filler(size_t{65} << 20, 'x');
  std::string fields;  // 65 fields of 1 MiB, each of its own name
  for (int i = 0; i < 65; ++i)
    fields += "<F" + std::to_string(i) + ":1048576>" + filler.substr(0, 1 << 20);
  // clang-format off
  const struct { const char* what; std::string input; std::string outcome; } cases[] = {
      {"a value longer than the limit", "<NOTES:2000000000>" + filler, "The field NOTES holds more than 64 MiB"},
      {"a huge length at the end of a short file", "<CALL:2>K1 <NOTES:2000000000>x", "end of file"},
      {"a record larger than the limit", fields, "The record with the field F63 holds more than 64 MiB"},
      {"a tag that never closes", "<CALL" + filler, "A tag runs on for more than 64 MiB"},
      // clang-format on
  };
  for (const auto& c : cases) CHECK_MESSAGE(read_to_stop(c.input) == c.outcome, c.what);
  // a read failure is an error with the system's text, after the records read before it
  CHECK(trace(FailingSource("<CALL:2>K1<EOR>\n<CALL:2>K2", "Input/output error")) ==
        "R CALL=K1|L|X CALL=K2");
  CHECK(read_to_stop("<CALL:2>K1<EOR>\n<CALL:2>K2", "Input/output error") ==
        "Read error: Input/output error");
}
