// The evaluation of one QSO: the checks that accept or reject it, each rejection written to
// the run log with its counter, and the choice of the QSO credited for every entity and CQ
// Zone. Accepting a QSO writes nothing and allocates nothing.
#pragma once

#include <cstdint>

#include "adif/record.h"
#include "evaluation/conversion_run.h"
#include "records/run_records.h"

namespace tarvenix {

// Sets the QSO fields of a credit record (month, day, time, band, mode, call) and nothing
// else. A 6-character TIME_ON (HHMMSS) is cut to HHMM; the call to its first 16 characters.
void fill_credit(CreditRecord& credit, const QsoRecord& record, int band, int mode);

// QSL_RCVD, LOTW_QSL_RCVD or EQSL_QSL_RCVD begins with "Y".
bool is_confirmed(const QsoRecord& record);

// Evaluates the QSO numbered run.stats.qsos_read (already counted by the caller) against the
// run's choices, tables and lists. May point record.time_on at the TIME_OFF field; keeps no
// reference into the record. With a country file, a QSO without DXCC (or with an empty one)
// takes the entity of its call from the file, and its zone comes from the strongest evidence
// its record holds (zone_evidence.h).
void evaluate_qso(QsoRecord& record, ConversionRun& run);

}  // namespace tarvenix
