// The ADIF reader at its edges.
#include <doctest/doctest.h>

#include <string>
#include <vector>

#include "adif/reader.h"

using namespace tarvenix;

TEST_CASE("a packed record on one line") {
  MemorySource source("<call:6>N0CALL<band:3>20m<EOR>\n");
  AdifReader reader(source);
  QsoRecord record;
  std::string error;
  CHECK(reader.parse_ADIF(record, error) == ReaderStatus::end_of_record);
  REQUIRE(record.call != nullptr);
  CHECK(record.call->value == "N0CALL");
  CHECK(record.band->value == "20m");
}
