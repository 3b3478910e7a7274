// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/compare_dialog.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QTableWidget>

#include "app/qt_text.h"
#include "app/setting_changes.h"
#include "settings/settings_table.h"
#include "ui_CompareDialog.h"

namespace zelk {

QDialog* MakeCompareDialog(QWidget* parent, const SettingTexts& window, const SettingTexts& in_file,
                           const QString& file_name) {
  auto* dialog = new QDialog(parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  Ui::CompareDialog ui;
  ui.setupUi(dialog);
  QObject::connect(ui.buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
  ui.table->setColumnCount(3);
  ui.table->setHorizontalHeaderLabels({QCoreApplication::translate("SettingsFiles", "Setting"),
                                       QCoreApplication::translate("SettingsFiles", "Window"),
                                       file_name});
  ui.table->setRowCount(static_cast<int>(kSettings.size()));
  int differences = 0;
  for (std::size_t setting = 0; setting < kSettings.size(); ++setting) {
    const QString mine = ToQString(window[setting].value_or(""));
    const QString theirs = in_file[setting]
                               ? ToQString(*in_file[setting])
                               : QCoreApplication::translate("SettingsFiles", "(not in the file)");
    const bool differs = in_file[setting] && mine != theirs;
    differences += differs ? 1 : 0;
    const int row = static_cast<int>(setting);
    ui.table->setItem(row, 0, new QTableWidgetItem(SettingCaption(setting)));
    ui.table->setItem(row, 1, new QTableWidgetItem(mine));
    ui.table->setItem(row, 2, new QTableWidgetItem(theirs));
    for (int column = 0; column < 3; ++column) {
      QTableWidgetItem* item = ui.table->item(row, column);
      item->setData(Qt::UserRole, differs);
      if (differs) {
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
        item->setBackground(QColor(255, 230, 150));
      }
    }
  }
  ui.table->resizeColumnsToContents();
  ui.caption->setText(
      differences == 0
          ? QCoreApplication::translate("SettingsFiles", "The window's settings and %1 agree.")
                .arg(file_name)
          : QCoreApplication::translate("SettingsFiles", "%1 setting(s) differ, marked.")
                .arg(differences));
  return dialog;
}

}  // namespace zelk
