// The self-update's process side on Windows: the old process starts the downloaded program
// with a restart marker; the new process waits for the old one to end and then moves itself
// over the old program file.
#pragma once

#include <optional>

#include "ui/program_paths.h"
#include "ui/program_restart.h"

namespace tarvenix {

// Starts `paths.update_file` with this process's command line, the marker of an inheritable
// wait-only handle to this process, and the file's path. True when the process started.
bool restart_into_update(const ProgramPaths& paths);

// When this process was started by restart_into_update: waits until the old process has
// ended and returns its marker. Nothing for an ordinary start, or when the wait failed.
// Runs before the single-instance check, so the old copy has let go of it.
std::optional<RestartMarker> wait_for_replaced_program();

// Moves the running program file over the old program named in `marker`; on success
// `paths` name the old file. A failure is told in a message box, and the program runs on
// from the downloaded file.
void finish_update(ProgramPaths& paths, const std::optional<RestartMarker>& marker);

}  // namespace tarvenix
