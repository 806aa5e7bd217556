// Builds ADIF records for tests from name/value pairs.
#pragma once

#include <initializer_list>
#include <string_view>
#include <utility>

#include "adif/record.h"

namespace tarvenix::testing {

using FieldList = std::initializer_list<std::pair<std::string_view, std::string_view>>;

inline QsoRecord make_record(FieldList fields) {
  QsoRecord record;
  for (const auto& [name, value] : fields)
    record.add_field(name, value, static_cast<int32_t>(value.size()));
  return record;
}

}  // namespace tarvenix::testing
