// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/choose_settings_dialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

#include "app/qt_text.h"
#include "app/setting_changes.h"
#include "ui_ChooseSettingsDialog.h"

namespace zelk {

namespace {

enum Column { kSettingColumn, kRecordColumn, kWindowColumn, kColumnCount };

QTableWidgetItem* TextItem(const std::optional<std::string>& text) {
  auto* item = new QTableWidgetItem(text ? ToQString(*text) : QString());
  item->setFlags(Qt::ItemIsEnabled);
  return item;
}

// The tick box and caption; a setting the record lacks cannot be ticked.
QTableWidgetItem* TickItem(std::size_t setting, bool in_record) {
  auto* item = new QTableWidgetItem(SettingCaption(setting));
  // Two captions read alike ("Temp. Max."): the name files and zelkctl use tells them apart.
  item->setToolTip(ToQString(kSettings[setting].name));
  item->setFlags(in_record ? Qt::ItemIsEnabled | Qt::ItemIsUserCheckable : Qt::NoItemFlags);
  item->setCheckState(Qt::Unchecked);
  return item;
}

}  // namespace

ChooseSettingsDialog::ChooseSettingsDialog(QWidget* parent, const SettingsFile& record,
                                           const std::optional<SettingTexts>& window)
    : QDialog(parent) {
  Ui::ChooseSettingsDialog ui;
  ui.setupUi(this);
  table_ = ui.settings;
  ok_ = ui.buttons->button(QDialogButtonBox::Ok);
  setWindowTitle(QCoreApplication::translate("ChooseSettings", "Restore chosen settings"));
  ui.caption->setText(QCoreApplication::translate(
      "ChooseSettings", "Tick the settings to restore; the others stay as the module holds them."));
  table_->setColumnCount(kColumnCount);
  table_->setHorizontalHeaderLabels({QCoreApplication::translate("SettingsFiles", "Setting"),
                                     QCoreApplication::translate("ChooseSettings", "Record"),
                                     QCoreApplication::translate("SettingsFiles", "Window")});
  table_->setRowCount(static_cast<int>(kSettings.size()));
  const SettingTexts in_record = TextsOfFile(record);
  for (std::size_t setting = 0; setting < kSettings.size(); ++setting) {
    const std::optional<std::string> mine = window ? (*window)[setting] : std::nullopt;
    const int row = static_cast<int>(setting);
    table_->setItem(row, kSettingColumn, TickItem(setting, in_record[setting].has_value()));
    table_->setItem(row, kRecordColumn, TextItem(in_record[setting]));
    table_->setItem(row, kWindowColumn, TextItem(mine));
    if (in_record[setting] && mine && *in_record[setting] != *mine) {
      for (int column = 0; column < kColumnCount; ++column) {
        QTableWidgetItem* item = table_->item(row, column);
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
      }
    }
  }
  table_->resizeColumnsToContents();
  table_->horizontalHeader()->setStretchLastSection(true);
  ok_->setEnabled(false);
  connect(table_, &QTableWidget::itemChanged, this, [this] { ok_->setEnabled(!Chosen().empty()); });
  connect(ui.buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(ui.buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

std::vector<SettingIndex> ChooseSettingsDialog::Chosen() const {
  std::vector<SettingIndex> chosen;
  for (const SettingRow& row : kSettings) {
    const QTableWidgetItem* tick = table_->item(static_cast<int>(row.id), kSettingColumn);
    if (tick != nullptr && tick->checkState() == Qt::Checked) chosen.push_back(row.id);
  }
  return chosen;
}

std::optional<std::vector<SettingIndex>> ChooseSettings(QWidget* parent, const SettingsFile& record,
                                                        const std::optional<SettingTexts>& window) {
  ChooseSettingsDialog dialog(parent, record, window);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Chosen();
}

}  // namespace zelk
