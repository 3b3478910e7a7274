// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Restore chosen settings: the sixteen settings of a record beside the
// window's, each with a tick box. Only the ticked ones are taken from the
// record; the module keeps its own values for the rest.

#include <QDialog>
#include <optional>
#include <vector>

#include "settings/settings_table.h"
#include "settings_file/file_settings.h"
#include "settings_file/settings_file.h"

class QPushButton;
class QTableWidget;

namespace zelk {

// Shown with none ticked; OK is enabled while at least one is. A setting the
// record does not give cannot be ticked. The settings in which the record and
// the window differ are in bold, in table order like the rest.
class ChooseSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  ChooseSettingsDialog(QWidget* parent, const SettingsFile& record,
                       const std::optional<SettingTexts>& window);

  // The ticked settings, in table order.
  std::vector<SettingIndex> Chosen() const;

 private:
  QTableWidget* table_;
  QPushButton* ok_;
};

// Runs the dialog; the ticked settings, or none when it was cancelled.
std::optional<std::vector<SettingIndex>> ChooseSettings(QWidget* parent, const SettingsFile& record,
                                                        const std::optional<SettingTexts>& window);

}  // namespace zelk
