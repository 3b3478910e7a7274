// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A settings write that can always be undone: the block as last read goes to
// a restore point first, and only then is the new block written, read back
// and compared. A restore point that cannot be saved stops the write before
// anything is sent.

#include <functional>
#include <string>

#include "session/restore_points.h"
#include "session/session.h"
#include "settings/settings_block.h"

namespace zelk {

enum class WriteOutcome {
  no_restore_point,  // nothing was sent: the restore point could not be saved
  write_failed,      // the write was not answered
  read_back_failed,  // written, but the read back was not answered
  differs,           // the module now holds other settings than were written
  verified,          // the module holds the settings written
};

// A front end that can be told to stop (zelkctl on SIGINT) arms its stop just
// before the write goes out, so a stop before then ends it as it always did,
// with nothing sent; one asked for once the write is answered skips the read
// back. Both may be empty.
struct WriteStop {
  std::function<void()> arm;
  std::function<bool()> requested;
};

struct GuardedWrite {
  WriteOutcome outcome = WriteOutcome::no_restore_point;
  // The write was answered and a stop was asked for before the read back,
  // which was then not made (outcome read_back_failed, failure() none).
  bool stopped_before_read_back = false;
  SavedRestorePoint restore_point;
  SettingsWrite written;  // the write and, once answered, the read back

  // The communication failure behind write_failed or read_back_failed.
  Failure failure() const;
};

// `as_read`: the block as last read from the module (what the restore point
// keeps); `to_write`: the whole block to send. Setting bytes decide the
// verification; the module's own bytes may change under its programs.
GuardedWrite WriteWithRestorePoint(Session& session, RestorePointTarget& points,
                                   const SettingsBlock& as_read, const SettingsBlock& to_write,
                                   SaveReason reason, const std::string& module_version,
                                   const WriteStop& stop = {});

}  // namespace zelk
