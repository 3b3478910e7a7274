// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/vehicle_timeline_dialog.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>
#include <array>
#include <memory>
#include <utility>

#include "app/choose_settings_dialog.h"
#include "app/commissioning_texts.h"
#include "app/local_time.h"
#include "app/qt_text.h"
#include "app/translation.h"
#include "ui_VehicleTimelineDialog.h"

namespace zelk {

namespace {

constexpr const char* kContext = "VehicleTimeline";

// A long note is cut at this width; its tooltip holds the whole text.
constexpr int kWidestWhat = 320;

enum Column {
  kTimeColumn,
  kKindColumn,
  kWhatColumn,
  kVersionColumn,
  kDifferencesColumn,
  kColumnCount
};

// By RecordKind.
constexpr std::array<const char*, 6> kKindWords{
    QT_TRANSLATE_NOOP("VehicleTimeline", "Settings"),
    QT_TRANSLATE_NOOP("VehicleTimeline", "Note"),
    QT_TRANSLATE_NOOP("VehicleTimeline", "Program run"),
    QT_TRANSLATE_NOOP("VehicleTimeline", "Log"),
    QT_TRANSLATE_NOOP("VehicleTimeline", "Commissioning"),
    QT_TRANSLATE_NOOP("VehicleTimeline", "Customer report")};

QString Text(const char* english) {
  return QCoreApplication::translate(kContext, english);
}

QString KindText(RecordKind kind) {
  return Text(kKindWords.at(static_cast<std::size_t>(kind)));
}

// "Sensor check: done", "MAP program: skipped: no MAP sensor fitted".
QString CommissioningText(const CommissioningRecord& step) {
  const QString step_words = CommissioningStepText(step.step);
  const QString outcome = StepOutcomeText(step.outcome);
  if (step.reason.empty())
    return QCoreApplication::translate("VehicleTimeline", "%1: %2").arg(step_words, outcome);
  return QCoreApplication::translate("VehicleTimeline", "%1: %2: %3")
      .arg(step_words, outcome, ToQString(step.reason).simplified());
}

// What the record is, on one line: a note's lines are joined, the cell
// elides the rest and the tooltip holds the whole text.
QString WhatText(const HistoryRecord& record) {
  if (!record.damaged.empty())
    return QCoreApplication::translate("VehicleTimeline", "Damaged: %1")
        .arg(TranslatedMessage(record.damaged));
  switch (record.kind) {
    case RecordKind::settings:
      return record.settings && record.settings->reason
                 ? Translated("SettingsFile", ReasonWords(*record.settings->reason))
                 : QString();
    case RecordKind::note:
      return ToQString(record.note).simplified();
    case RecordKind::program_run:
      if (!record.program_run) return {};
      return QCoreApplication::translate("VehicleTimeline", "%1: %2")
          .arg(ToQString(record.program_run->program),
               ProgramResultText(std::string(ProgramResultName(record.program_run->result))));
    case RecordKind::commissioning:
      return record.commissioning ? CommissioningText(*record.commissioning) : QString();
    case RecordKind::log:
    case RecordKind::report:
      return {};
  }
  return {};
}

QString ModuleVersionText(const HistoryRecord& record) {
  if (record.settings) return ToQString(record.settings->module_version);
  if (record.program_run) return ToQString(record.program_run->module_version);
  if (record.commissioning) return ToQString(record.commissioning->module_version);
  return {};
}

QString DifferencesText(const HistoryRecord& record, const std::optional<SettingTexts>& window) {
  if (!record.settings || !window) return {};
  return QString::number(CompareSettings(*window, TextsOfFile(*record.settings)).size());
}

void FillRow(QTableWidget& table, int row, const HistoryRecord& record,
             const std::optional<SettingTexts>& window) {
  table.setItem(row, kTimeColumn, new QTableWidgetItem(LocalTimeText(record.time)));
  table.setItem(row, kKindColumn, new QTableWidgetItem(KindText(record.kind)));
  auto* what = new QTableWidgetItem(WhatText(record));
  if (record.kind == RecordKind::note && record.damaged.empty())
    what->setToolTip(ToQString(record.note));
  table.setItem(row, kWhatColumn, what);
  table.setItem(row, kVersionColumn, new QTableWidgetItem(ModuleVersionText(record)));
  table.setItem(row, kDifferencesColumn, new QTableWidgetItem(DifferencesText(record, window)));
}

// The dialog's records and buttons, shared by the buttons' handlers.
struct Timeline {
  QDialog* dialog = nullptr;
  Ui::VehicleTimelineDialog ui;
  std::vector<HistoryRecord> records;
  std::optional<SettingTexts> window;
  bool can_write = false;
  TimelineActions actions;

  const HistoryRecord* Selected() const {
    const QList<QTableWidgetItem*> selected = ui.timeline->selectedItems();
    if (selected.isEmpty()) return nullptr;
    return &records.at(static_cast<std::size_t>(selected.front()->row()));
  }

  void EnableButtons() {
    const HistoryRecord* record = Selected();
    const bool settings = record != nullptr && record->settings.has_value();
    ui.compare->setEnabled(settings && window.has_value());
    ui.restore->setEnabled(settings && can_write);
    ui.restore_chosen->setEnabled(settings && can_write);
    ui.open_settings->setEnabled(settings);
    // One button opens a log for review, or a customer's report in the PDF viewer.
    const bool report = record != nullptr && record->kind == RecordKind::report;
    ui.open_log->setEnabled(report || (record != nullptr && record->kind == RecordKind::log));
    ui.open_log->setText(report ? QCoreApplication::translate("VehicleTimeline", "Open re&port")
                                : QCoreApplication::translate("VehicleTimeline", "Open &log"));
  }

  // Closes the dialog, then hands the selected record's file to `action`.
  void CloseAndCall(const std::function<void(const std::filesystem::path&)>& action) {
    const HistoryRecord* record = Selected();
    if (record == nullptr) return;
    const std::filesystem::path file = record->file;
    const auto call = action;
    dialog->close();
    if (call) call(file);
  }

  void RestoreChosen() {
    const HistoryRecord* record = Selected();
    if (record == nullptr || !record->settings) return;
    const std::optional<std::vector<SettingIndex>> chosen =
        ChooseSettings(dialog, *record->settings, window);
    if (!chosen || chosen->empty()) return;
    const std::filesystem::path file = record->file;
    const auto call = actions.restore_chosen;
    dialog->close();
    if (call) call(file, *chosen);
  }
};

void NameButtons(const Ui::VehicleTimelineDialog& ui, bool offline) {
  ui.compare->setText(QCoreApplication::translate("VehicleTimeline", "&Compare with the window"));
  ui.restore->setText(QCoreApplication::translate("VehicleTimeline", "&Restore"));
  ui.restore_chosen->setText(
      QCoreApplication::translate("VehicleTimeline", "Restore c&hosen settings..."));
  // With no module read, a record opens as settings to prepare.
  ui.open_settings->setText(
      offline ? QCoreApplication::translate("VehicleTimeline", "&Edit offline")
              : QCoreApplication::translate("VehicleTimeline", "&Open settings file"));
}

}  // namespace

QDialog* MakeVehicleTimelineDialog(QWidget* parent, const TimelineShown& shown,
                                   TimelineActions actions) {
  auto timeline = std::make_shared<Timeline>();
  auto* dialog = new QDialog(parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  timeline->dialog = dialog;
  timeline->records = shown.records;
  timeline->window = shown.window;
  timeline->can_write = shown.can_write;
  timeline->actions = std::move(actions);
  Ui::VehicleTimelineDialog& ui = timeline->ui;
  ui.setupUi(dialog);
  dialog->setWindowTitle(QCoreApplication::translate("VehicleTimeline", "Vehicle history"));
  ui.caption->setText(
      QCoreApplication::translate("VehicleTimeline", "%1: every record, newest first")
          .arg(ToQString(shown.vehicle_id)));
  NameButtons(ui, shown.offline);
  QObject::connect(ui.buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);

  QTableWidget& table = *ui.timeline;
  table.setColumnCount(kColumnCount);
  table.setHorizontalHeaderLabels({QCoreApplication::translate("SettingsFiles", "Time"),
                                   QCoreApplication::translate("VehicleTimeline", "Kind"),
                                   QCoreApplication::translate("VehicleTimeline", "What"),
                                   QCoreApplication::translate("SettingsFiles", "Module version"),
                                   QCoreApplication::translate("SettingsFiles", "Differences")});
  table.setRowCount(static_cast<int>(shown.records.size()));
  for (std::size_t i = 0; i < shown.records.size(); ++i)
    FillRow(table, static_cast<int>(i), shown.records[i], shown.window);
  table.resizeColumnsToContents();
  table.setColumnWidth(kWhatColumn, std::min(table.columnWidth(kWhatColumn), kWidestWhat));
  table.horizontalHeader()->setStretchLastSection(true);

  timeline->EnableButtons();
  QObject::connect(&table, &QTableWidget::itemSelectionChanged, dialog,
                   [timeline] { timeline->EnableButtons(); });
  QObject::connect(ui.compare, &QPushButton::clicked, dialog,
                   [timeline] { timeline->CloseAndCall(timeline->actions.compare); });
  QObject::connect(ui.restore, &QPushButton::clicked, dialog,
                   [timeline] { timeline->CloseAndCall(timeline->actions.restore); });
  QObject::connect(ui.restore_chosen, &QPushButton::clicked, dialog,
                   [timeline] { timeline->RestoreChosen(); });
  QObject::connect(ui.open_settings, &QPushButton::clicked, dialog,
                   [timeline] { timeline->CloseAndCall(timeline->actions.open_settings); });
  QObject::connect(ui.open_log, &QPushButton::clicked, dialog, [timeline] {
    const HistoryRecord* record = timeline->Selected();
    timeline->CloseAndCall(record != nullptr && record->kind == RecordKind::report
                               ? timeline->actions.open_report
                               : timeline->actions.open_log);
  });
  return dialog;
}

}  // namespace zelk
