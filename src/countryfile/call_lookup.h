// Which entity a logged call sign belongs to, by the country file: the call as an exact
// call first, then the prefix that decides after the usual portable forms.
#pragma once

#include <string_view>

#include "countryfile/country_file.h"

namespace tarvenix {

// The call in any case. PFX/CALL and CALL/PFX: the shorter part is the prefix that decides
// (the first when both are as long); CALL/digit and suffixes such as /P, /M, /QRP or /LH
// keep the call's own entity; /MM (maritime) and /AM (aeronautical) have none. KG4 calls
// are Guantanamo Bay only with a two-letter suffix (or KG4 alone as the prefix); other KG4
// calls are the United States. Allocates nothing.
CountryMatch locate_call(const CountryFile& file, std::string_view call);

}  // namespace tarvenix
