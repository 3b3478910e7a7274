// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/guarded_write.h"

#include "settings_file/settings_overlay.h"

namespace zelk {

Failure GuardedWrite::failure() const {
  if (!written.write.ok()) return written.write.failure;
  if (written.read_back && !written.read_back->settings.ok()) {
    return written.read_back->settings.failure;
  }
  return Failure::none;
}

GuardedWrite WriteWithRestorePoint(Session& session, RestorePointTarget& points,
                                   const SettingsBlock& as_read, const SettingsBlock& to_write,
                                   SaveReason reason, const std::string& module_version,
                                   const WriteStop& stop) {
  GuardedWrite result;
  result.restore_point = points.Save(as_read, module_version, reason);
  if (!result.restore_point.path) return result;

  if (stop.arm) stop.arm();
  if (!stop.requested) {
    result.written = session.WriteSettingsAndReadBack(to_write);
  } else {
    result.written.write = session.WriteSettings(to_write);
    result.stopped_before_read_back = result.written.write.ok() && stop.requested();
    if (result.written.write.ok() && !result.stopped_before_read_back) {
      result.written.read_back = session.ReadSettings();
    }
  }
  if (!result.written.write.ok()) {
    result.outcome = WriteOutcome::write_failed;
  } else if (!result.written.read_back || !result.written.read_back->settings.ok()) {
    result.outcome = WriteOutcome::read_back_failed;
  } else {
    result.outcome = SameSettings(result.written.read_back->settings.value.block, to_write)
                         ? WriteOutcome::verified
                         : WriteOutcome::differs;
  }
  return result;
}

}  // namespace zelk
