// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File > Restore points: the restore points of `folder`, newest first, each
// with the module's version, why it was saved and how many settings differ
// from the window; Restore writes the chosen one back.

#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "session/restore_points.h"
#include "settings_file/file_settings.h"

class QDialog;
class QWidget;

namespace zelk {

struct RestorePointsShown {
  std::filesystem::path folder;
  std::vector<RestorePoint> points;  // newest first
  // The window's settings, to count the differences; none before a Read.
  std::optional<SettingTexts> window;
  // Restore is offered only when the module can be written.
  bool can_write = false;
};

// A dialog, a child of `parent` that deletes itself when closed, not yet
// shown. Restore (one point chosen) closes it, then runs `restore` with the
// point's path; Assign to vehicle (one or more chosen) closes it, then runs
// `assign` with their paths, in the list's order.
QDialog* MakeRestorePointsDialog(QWidget* parent, const RestorePointsShown& shown,
                                 std::function<void(const QString& path)> restore,
                                 std::function<void(const QStringList& paths)> assign);

}  // namespace zelk
