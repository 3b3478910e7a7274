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

constexpr int kReadsRole = Qt::UserRole + 1;  // whether the point's file reads

}  // namespace

QDialog* MakeRestorePointsDialog(QWidget* parent, const RestorePointsShown& shown,
                                 std::function<void(const QString& path)> restore,
                                 std::function<void(const QStringList& paths)> assign) {
  auto* dialog = new QDialog(parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  Ui::RestorePointsDialog ui;
  ui.setupUi(dialog);
  QObject::connect(ui.buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
  ui.caption->setText(
      QCoreApplication::translate("SettingsFiles", "Saved before each write, newest first, in %1")
          .arg(PathText(shown.folder)));
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
      time = PathText(point.path.filename());
      reason = TranslatedMessage(point.error);
    }
    ui.table->setItem(row, 0, new QTableWidgetItem(time));
    ui.table->setItem(row, 1, new QTableWidgetItem(version));
    ui.table->setItem(row, 2, new QTableWidgetItem(reason));
    ui.table->setItem(row, 3, new QTableWidgetItem(differences));
    ui.table->item(row, 0)->setData(Qt::UserRole, PathText(point.path));
    ui.table->item(row, 0)->setData(kReadsRole, point.file.has_value());
  }
  ui.table->resizeColumnsToContents();
  QPushButton* restore_button = ui.buttons->addButton(
      QCoreApplication::translate("SettingsFiles", "&Restore"), QDialogButtonBox::ActionRole);
  restore_button->setObjectName(QStringLiteral("restore"));
  restore_button->setEnabled(false);
  QPushButton* assign_button =
      ui.buttons->addButton(QCoreApplication::translate("SettingsFiles", "&Assign to vehicle..."),
                            QDialogButtonBox::ActionRole);
  assign_button->setObjectName(QStringLiteral("assign"));
  assign_button->setEnabled(false);
  QTableWidget* table = ui.table;
  // The chosen points' paths, in the list's order; a point that does not
  // read is not offered for a vehicle.
  auto chosen = [table](bool readable_only) {
    QStringList paths;
    for (int row = 0; row < table->rowCount(); ++row) {
      QTableWidgetItem* item = table->item(row, 0);
      if (!item->isSelected()) continue;
      if (readable_only && !item->data(kReadsRole).toBool()) continue;
      paths << item->data(Qt::UserRole).toString();
    }
    return paths;
  };
  const bool can_write = shown.can_write;
  QObject::connect(table, &QTableWidget::itemSelectionChanged, dialog,
                   [table, restore_button, assign_button, can_write, chosen] {
                     const int rows = table->selectionModel()->selectedRows().size();
                     restore_button->setEnabled(can_write && rows == 1);
                     assign_button->setEnabled(!chosen(true).isEmpty());
                   });
  QObject::connect(restore_button, &QPushButton::clicked, dialog,
                   [dialog, chosen, restore = std::move(restore)] {
                     const QStringList paths = chosen(false);
                     if (paths.size() != 1) return;
                     dialog->close();
                     restore(paths.front());
                   });
  QObject::connect(assign_button, &QPushButton::clicked, dialog,
                   [dialog, chosen, assign = std::move(assign)] {
                     const QStringList paths = chosen(true);
                     if (paths.isEmpty()) return;
                     dialog->close();
                     assign(paths);
                   });
  return dialog;
}

}  // namespace zelk
