// The rules that move a QSO from one of five DXCC entities to one of the contest's six own
// entities: ITU Vienna (901, part of Austria 206), Shetland (902, Scotland 279), African
// Italy (903) and Sicily (904, Italy 248), Bear Island (905, Svalbard 259) and European
// Turkey (906, Turkey 390), decided from the call sign and the IOTA reference.
#pragma once

#include <cstdint>
#include <string_view>

#include "adif/record.h"
#include "records/run_log.h"
#include "records/run_records.h"

namespace tarvenix {

// True for the five codes whose QSOs may move (206, 248, 259, 279, 390).
bool has_special_entities(int32_t code);

// The code to credit the QSO to: its entity code `code` (the DXCC field's, or the country
// file's) unchanged, or 901 to 906. A move writes one "INFO:" line (a note); an Italian call
// portable in another area writes the one "WARN:" line "is not Sicily". `date_text` and
// stats.qsos_read are shown in those lines.
int32_t special_entity_code(const QsoRecord& record, int32_t code, std::string_view date_text,
                            const RunStats& stats, RunLog& log);

}  // namespace tarvenix
