// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SIGINT and SIGTERM for commands that run until stopped (monitor, the
// engine programs), and for set and restore once their write goes out: the
// signal only raises a flag, and the command checks it between exchanges, so
// an exchange is never cut in half and the command can still send what must
// follow (a program's abort, a log's end) or say what the module now holds.

namespace zelk::cli {

// Called by such a command when it starts; the others keep the default
// (a signal ends them at once).
void InstallStopSignals();
bool StopRequested();
void RequestStop();  // as the signal does; for tests
void ClearStopRequest();

}  // namespace zelk::cli
