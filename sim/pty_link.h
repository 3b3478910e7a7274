// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stable name a client opens: a symlink to the pty's slave device.

#include <string>

namespace zelk::sim {

// $XDG_RUNTIME_DIR/zelk-sim when that directory is set, else /tmp/zelk-sim-<uid>.
std::string DefaultLinkPath();

// Points `link_path` at `target`. A symlink already there is replaced only
// when it points at a pseudo-terminal that no longer exists (the leftover of
// a run that was killed); anything else is left alone and the call fails.
bool CreatePtyLink(const std::string& target, const std::string& link_path, std::string& error);

// Removes `link_path` if it still points at `target`.
void RemovePtyLink(const std::string& target, const std::string& link_path);

}  // namespace zelk::sim
