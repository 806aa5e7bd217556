// The field tree: byte order of names, AA balance, duplicates, reuse of a record.
#include <doctest/doctest.h>

#include <string>

#include "adif/record.h"

using namespace tarvenix;

namespace {
int depth(const AdifField* node) {
  if (node == nullptr) return 0;
  const int l = depth(node->left), r = depth(node->right);
  return 1 + (l > r ? l : r);
}
}  // namespace

TEST_CASE("names compare as unsigned bytes, a prefix first") {
  CHECK(compare_names("CALL", "CALLSIGN") < 0);
  CHECK(compare_names("Z", "\xC4") < 0);
  CHECK(compare_names("BAND", "BAND") == 0);
  CHECK(compare_names("", "A") < 0);
}

TEST_CASE("fields are found by upper-cased name and the tree stays balanced") {
  QsoRecord record;
  for (int i = 0; i < 1000; ++i) {
    const std::string name = std::string("f").append(std::to_string(i));
    REQUIRE(record.add_field(name, std::to_string(i * 7), 3));
  }
  CHECK(record.size() == 1000);
  CHECK(depth(record.fields()) <= 20);  // an AA tree is at most 2 log2(n+1) deep
  for (int i = 0; i < 1000; i += 37) {
    const AdifField* f = record.find(std::string("F").append(std::to_string(i)));
    REQUIRE(f != nullptr);
    CHECK(f->value == std::to_string(i * 7));
  }
  CHECK(record.find("f1") == nullptr);  // lookups take upper-case names
}

TEST_CASE("the first of a repeated name stays; direct references survive growth and clearing") {
  QsoRecord record;
  CHECK(record.add_field("call", "W1AW", 4));
  CHECK_FALSE(record.add_field("CALL", "K1ABC", 5));
  record.add_field("dxcc", "291", 3);
  std::string big(100000, 'x');
  for (int i = 0; i < 200; ++i)
    record.add_field(std::string("X").append(std::to_string(i)), big, 100000);
  CHECK_FALSE(record.add_field("Call", "K1ABC", 5));  // a repeat once the fields form a tree
  CHECK(record.size() == 202);
  REQUIRE(record.call != nullptr);
  CHECK(record.call->value == "W1AW");
  CHECK(record.dxcc->value == "291");
  CHECK(record.find("CALL") == record.call);
  record.clear();
  CHECK(record.empty());
  CHECK(record.call == nullptr);
  record.add_field("MODE", "CW", 2);
  CHECK(record.mode->value == "CW");
}
