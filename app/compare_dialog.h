// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File > Compare with file: the window's settings beside a file's, one row a
// setting, the ones that differ marked.

#include <QString>

#include "settings_file/file_settings.h"

class QDialog;
class QWidget;

namespace zelk {

// A dialog, a child of `parent` that deletes itself when closed, not yet
// shown. `file_name` heads the file's column.
QDialog* MakeCompareDialog(QWidget* parent, const SettingTexts& window, const SettingTexts& in_file,
                           const QString& file_name);

}  // namespace zelk
