// The country file's answer for a QSO's call, asked at most once and only when a rule needs
// it, so that QSOs whose record tells everything cost no lookup.
#pragma once

#include <string_view>

#include "countryfile/call_lookup.h"

namespace tarvenix {

class CallCountry {
 public:
  CallCountry(const CountryFile* file, std::string_view call) : file_(file), call_(call) {}
  const CountryFile* file() const { return file_; }
  // No match without a file.
  const CountryMatch& match() {
    if (!asked_ && file_ != nullptr) match_ = locate_call(*file_, call_);
    asked_ = true;
    return match_;
  }

 private:
  const CountryFile* file_;
  std::string_view call_;
  CountryMatch match_;
  bool asked_ = false;
};

}  // namespace tarvenix
