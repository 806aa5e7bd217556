// Deterministic ADIF logs for the benchmarks: realistic QSO records (the fields logging
// programs export, in their different layouts), most of them accepted and a few of each kind
// the evaluation rejects, so that the run log gets lines too. The CQ Zones fit their entities
// as the installed country file has them.
#pragma once

#include <string>

namespace tarvenix::bench {

// The header of a generated log, up to and including <EOH> and its line feed.
std::string generated_header();

// Which fields the records carry: all, or none of DXCC and CQZ (as many logging programs
// export them, leaving entity and zone to the country file).
enum class LogFields { all, without_dxcc_and_cqz };

// QSO number `index` (from 0) as ADIF text, about 230 bytes, ending with <EOR> and a line
// feed. The same index always gives the same text.
std::string generated_qso(long index, LogFields fields = LogFields::all);

// Writes a log of `qsos` records to `path` (through a temporary file renamed into place, so
// an interrupted run never leaves a short log behind). False when the file cannot be
// written.
bool write_generated_log(const std::string& path, long qsos, LogFields fields = LogFields::all);

}  // namespace tarvenix::bench
