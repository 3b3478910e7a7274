// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/restore_points_dialog.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTableWidget>
#include <utility>

#include "app/qt_text.h"
#include "app/translation.h"
#include "ui_RestorePointsDialog.h"

namespace zelk {

namespace {

QString ShownPath(const std::filesystem::path& path) {
  return QString::fromStdWString(path.wstring());
}

}  // namespace

QDialog* MakeRestorePointsDialog(QWidget* parent, const RestorePointsShown& shown,
                                 std::function<void(const QString& path)> restore) {
  auto* dialog = new QDialog(parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  Ui::RestorePointsDialog ui;
  ui.setupUi(dialog);
  QObject::connect(ui.buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
  ui.caption->setText(
      QCoreApplication::translate("SettingsFiles", "Saved before each write, newest first, in %1")
          .arg(ShownPath(shown.folder)));
  ui.table->setColumnCount(4);
  ui.table->setHorizontalHeaderLabels(
      {QCoreApplication::translate("SettingsFiles", "Time"),
       QCoreApplication::translate("SettingsFiles", "Module version"),
       QCoreApplication::translate("SettingsFiles", "Reason"),
       QCoreApplication::translate("SettingsFiles", "Differences")});
  ui.table->setRowCount(static_cast<int>(shown.points.size()));
  for (std::size_t i = 0; i < shown.points.size(); ++i) {
    const RestorePoint& point = shown.points[i];
    const int row = static_cast<int>(i);
    QString time, version, reason, differences;
    if (point.file) {
      time = ToQString(point.file->saved_at);
      version = ToQString(point.file->module_version);
      reason = point.file->reason ? Translated("SettingsFile", ReasonWords(*point.file->reason))
                                  : QString();
      differences =
          shown.window
              ? QString::number(CompareSettings(*shown.window, TextsOfFile(*point.file)).size())
              : QString();
    } else {
      time = ShownPath(point.path.filename());
      reason = TranslatedMessage(point.error);
    }
    ui.table->setItem(row, 0, new QTableWidgetItem(time));
    ui.table->setItem(row, 1, new QTableWidgetItem(version));
    ui.table->setItem(row, 2, new QTableWidgetItem(reason));
    ui.table->setItem(row, 3, new QTableWidgetItem(differences));
    ui.table->item(row, 0)->setData(Qt::UserRole, ShownPath(point.path));
  }
  ui.table->resizeColumnsToContents();
  QPushButton* restore_button = ui.buttons->addButton(
      QCoreApplication::translate("SettingsFiles", "&Restore"), QDialogButtonBox::ActionRole);
  restore_button->setObjectName(QStringLiteral("restore"));
  restore_button->setEnabled(false);
  QTableWidget* table = ui.table;
  const bool can_write = shown.can_write;
  QObject::connect(table, &QTableWidget::itemSelectionChanged, restore_button,
                   [table, restore_button, can_write] {
                     restore_button->setEnabled(can_write && !table->selectedItems().isEmpty());
                   });
  QObject::connect(
      restore_button, &QPushButton::clicked, dialog, [dialog, table, restore = std::move(restore)] {
        const QList<QTableWidgetItem*> selected = table->selectedItems();
        if (selected.isEmpty()) return;
        const QString path = table->item(selected.front()->row(), 0)->data(Qt::UserRole).toString();
        dialog->close();
        restore(path);
      });
  return dialog;
}

}  // namespace zelk
