// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commissioning_wizard.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <cmath>

#include "app/commissioning_texts.h"
#include "app/decimal_separator.h"
#include "app/messages.h"
#include "app/qt_text.h"
#include "app/translation.h"
#include "monitor/poll_schedule.h"
#include "records/vehicle_history.h"
#include "settings/entry_check.h"
#include "settings/number_text.h"
#include "settings/settings_values.h"
#include "ui_CommissioningWizard.h"

namespace zelk {

namespace {

enum SensorColumn { kMeasureColumn, kNowColumn, kMinColumn, kMaxColumn, kSensorColumns };
enum SettingsColumn {
  kSettingColumn,
  kBackupColumn,
  kModuleColumn,
  kToWriteColumn,
  kUnitColumn,
  kSettingsColumns
};

std::size_t Index(CommissioningStep step) {
  return static_cast<std::size_t>(step);
}

QString NumberText(double value, int decimals, char separator) {
  return ToQString(FixedText(value, decimals, 0, separator));
}

// A setting as the window shows it: a number, or an option as its check.
QString SettingShown(const SettingRow& row, const SettingsBlock& block, char separator) {
  if (row.kind == SettingKind::option) {
    return OptionStateText(OptionChecked(block, row.id));
  }
  if (row.kind == SettingKind::idle_rpm) {
    // In RPM at factor 1, as a settings file and the report name it.
    const std::optional<double> rpm = SettingsOfBlock(block).values.at(row.id);
    return rpm ? ToQString(IntegerText(std::llround(*rpm))) : QString();
  }
  return ToQString(DecodeSetting(row, block, separator));
}

}  // namespace

CommissioningWizard::CommissioningWizard(Messages& messages, CommissioningHost host,
                                         QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::CommissioningWizard>()),
      messages_(messages),
      host_(std::move(host)),
      commissioning_(host_.now_text()) {
  ui_->setupUi(this);
  sensor_timer_.setInterval(kPollIntervalMs);
  connect(&sensor_timer_, &QTimer::timeout, this, &CommissioningWizard::SensorTick);
  connect(ui_->run_step, &QPushButton::clicked, this, &CommissioningWizard::RunStep);
  connect(ui_->skip_step, &QPushButton::clicked, this, &CommissioningWizard::SkipStep);
  connect(ui_->next_step, &QPushButton::clicked, this, &CommissioningWizard::NextStep);
  connect(ui_->cancel_button, &QPushButton::clicked, this, &CommissioningWizard::CancelClick);
  connect(ui_->close_button, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui_->choose_vehicle, &QPushButton::clicked, this, [this] {
    host_.choose_vehicle();
    ShowVehicle();
  });
  connect(ui_->step_list, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0 && static_cast<std::size_t>(row) < kCommissioningStepCount &&
        Index(current_) != static_cast<std::size_t>(row)) {
      GoTo(static_cast<CommissioningStep>(row));
    }
  });
  connect(ui_->print_report, &QPushButton::clicked, this, [this] { host_.print_report(); });
  connect(ui_->open_report, &QPushButton::clicked, this, [this] { host_.open_report(); });
  connect(ui_->settings_table, &QTableWidget::itemChanged, this,
          &CommissioningWizard::SettingEdited);

  QTableWidget& sensors = *ui_->sensor_table;
  sensors.setColumnCount(kSensorColumns);
  sensors.setRowCount(static_cast<int>(kSensorMeasureCount));
  sensors.setHorizontalHeaderLabels({tr("Value"), tr("Now"), tr("Lowest"), tr("Highest")});
  sensors.verticalHeader()->hide();
  sensors.horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  for (std::size_t i = 0; i < kSensorMeasureCount; ++i) {
    sensors.setItem(static_cast<int>(i), kMeasureColumn,
                    new QTableWidgetItem(SensorMeasureText(static_cast<SensorMeasure>(i))));
  }
  QTableWidget& settings = *ui_->settings_table;
  settings.setColumnCount(kSettingsColumns);
  settings.setRowCount(static_cast<int>(kSettingRowCount));
  settings.setHorizontalHeaderLabels(
      {tr("Setting"), tr("Backup"), tr("Module"), tr("To write"), tr("Unit")});
  settings.verticalHeader()->hide();
  settings.horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  settings.horizontalHeader()->setStretchLastSection(true);

  const std::array<QCheckBox*, kSensorItemCount> checks{ui_->check_temperature, ui_->check_lambda,
                                                        ui_->check_map_key_on, ui_->check_map_idle};
  for (std::size_t i = 0; i < kSensorItemCount; ++i) {
    checks.at(i)->setText(SensorItemText(static_cast<SensorItem>(i)));
  }
  ui_->technician->setText(ToQString(host_.technician()));
  for (std::size_t i = 0; i < kCommissioningStepCount; ++i) ui_->step_list->addItem(QString());
  ShowStepList();
  ShowVehicle();
  GoTo(CommissioningStep::connect);
}

CommissioningWizard::~CommissioningWizard() = default;

std::optional<StepOutcome> CommissioningWizard::outcome(CommissioningStep step) const {
  return outcomes_.at(Index(step));
}

void CommissioningWizard::ShowVehicle() {
  const std::optional<VehicleEntry> bench = host_.bench();
  ui_->vehicle_value->setText(bench && bench->vehicle
                                  ? ToQString(bench->vehicle->id + "  " + bench->vehicle->name)
                                  : tr("none chosen"));
  const std::string version = host_.module_version();
  ui_->version_value->setText(version.empty() ? tr("not connected") : ToQString(version));
}

void CommissioningWizard::ShowStepList() {
  for (std::size_t i = 0; i < kCommissioningStepCount; ++i) {
    QString text = QStringLiteral("%1. %2").arg(i + 1).arg(
        CommissioningStepText(static_cast<CommissioningStep>(i)));
    if (outcomes_.at(i)) {
      text += QStringLiteral(": ") + StepOutcomeText(*outcomes_.at(i));
    }
    ui_->step_list->item(static_cast<int>(i))->setText(text);
  }
  bool all = true;
  for (const auto& outcome : outcomes_) all = all && outcome.has_value();
  ui_->close_button->setEnabled(all);
}

void CommissioningWizard::GoTo(CommissioningStep step) {
  if (sensor_check_running() && step != CommissioningStep::sensors) StopSensorCheck();
  // The values typed to write stay while the page stays.
  const bool entering_settings = step == CommissioningStep::settings && current_ != step;
  current_ = step;
  if (entering_settings) FillSettingsTable();
  ShowStep();
}

void CommissioningWizard::ShowStep() {
  const std::size_t index = Index(current_);
  ui_->step_list->setCurrentRow(static_cast<int>(index));
  ui_->step_title->setText(QStringLiteral("<b>%1</b>").arg(CommissioningStepText(current_)));
  ui_->step_help->setText(CommissioningStepHelp(current_));
  ui_->pages->setCurrentIndex(static_cast<int>(index));
  ui_->step_result->setText(summaries_.at(index));
  const bool ran = outcomes_.at(index).has_value();
  if (current_ == CommissioningStep::sensors && sensor_check_running()) {
    ui_->run_step->setText(tr("&Finish"));
  } else {
    ui_->run_step->setText(ran ? tr("&Repeat") : tr("&Run"));
  }
  ui_->next_step->setEnabled(current_ != CommissioningStep::report);
  ui_->print_report->setEnabled(outcomes_.at(Index(CommissioningStep::report)) ==
                                StepOutcome::done);
  ui_->open_report->setEnabled(ui_->print_report->isEnabled());
  ShowVehicle();
}

bool CommissioningWizard::EnsureVehicle() {
  if (!host_.bench()) host_.choose_vehicle();
  ShowVehicle();
  if (host_.bench()) return true;
  messages_.Inform(tr("Choose or create the vehicle first: the commissioning goes into its "
                      "records."),
                   windowTitle());
  return false;
}

void CommissioningWizard::Keep(CommissioningStep step, StepOutcome outcome,
                               const std::string& reason, const QString& summary,
                               std::optional<SensorCheckRecord> sensors) {
  const std::size_t index = Index(step);
  outcomes_.at(index) = outcome;
  summaries_.at(index) = summary;
  if (outcome == StepOutcome::done) last_completed_ = step;
  if (const std::optional<VehicleEntry> bench = host_.bench()) {
    CommissioningRecord record;
    record.commissioning = commissioning_;
    record.step = step;
    record.outcome = outcome;
    record.time = host_.now_text();
    record.reason = reason;
    record.module_version = host_.module_version();
    record.technician = ui_->technician->text().trimmed().toStdString();
    record.sensors = std::move(sensors);
    const AddedRecord added = VehicleHistory(bench->folder).AddCommissioningStep(record);
    if (!added.file) {
      messages_.Inform(tr("The step's result could not be kept in the vehicle's records: %1")
                           .arg(TranslatedMessage(added.error)),
                       windowTitle());
    }
  }
  ShowStepList();
  if (step == current_) ShowStep();
}

void CommissioningWizard::RunStep() {
  if (!EnsureVehicle()) return;
  std::optional<StepDone> done;
  switch (current_) {
    case CommissioningStep::connect:
      done = host_.connect_and_read();
      break;
    case CommissioningStep::backup:
      done = host_.backup();
      if (done && done->outcome == StepOutcome::done) backup_ = host_.module_settings();
      break;
    case CommissioningStep::sensors:
      if (sensor_check_running()) {
        FinishSensorCheck();
      } else {
        RunSensorCheck();
      }
      return;
    case CommissioningStep::rpm_lambda:
      done = host_.run_program(EngineProgram::rpm_lambda);
      break;
    case CommissioningStep::map:
      done = host_.run_program(EngineProgram::map);
      break;
    case CommissioningStep::settings:
      RunSettings();
      return;
    case CommissioningStep::report: {
      // Notes go into the records once; a report made again keeps them.
      const std::string notes = ui_->notes->toPlainText().trimmed().toStdString();
      done = host_.make_report(ui_->technician->text().trimmed().toStdString(),
                               notes == notes_kept_ ? std::string() : notes);
      if (done && done->outcome == StepOutcome::done) notes_kept_ = notes;
      break;
    }
  }
  if (done) Keep(current_, done->outcome, done->reason, done->summary);
  ShowVehicle();
}

void CommissioningWizard::SkipStep() {
  if (!EnsureVehicle()) return;
  const std::optional<QString> reason = messages_.AskText(
      tr("Why is \"%1\" skipped?").arg(CommissioningStepText(current_)), tr("Skip"));
  if (!reason) return;
  if (reason->trimmed().isEmpty()) {
    messages_.Inform(tr("A step is skipped only with a reason."), tr("Skip"));
    return;
  }
  if (current_ == CommissioningStep::sensors) StopSensorCheck();
  Keep(current_, StepOutcome::skipped, reason->trimmed().toStdString(),
       SkippedText(reason->trimmed()));
  NextStep();
}

void CommissioningWizard::NextStep() {
  if (current_ == CommissioningStep::report) return;
  GoTo(static_cast<CommissioningStep>(Index(current_) + 1));
}

void CommissioningWizard::CancelClick() {
  StopSensorCheck();
  if (host_.bench()) {
    Keep(current_, StepOutcome::cancelled, "cancelled by the technician", tr("Cancelled"));
  }
  messages_.Inform(last_completed_
                       ? tr("Commissioning cancelled. The module is as the step \"%1\" left it.")
                             .arg(CommissioningStepText(*last_completed_))
                       : tr("Commissioning cancelled before any step was completed: the module "
                            "is as it was."),
                   windowTitle());
  QDialog::reject();
}

void CommissioningWizard::reject() {
  CancelClick();
}

// The sensor check.

void CommissioningWizard::RunSensorCheck() {
  const std::optional<SettingsBlock> module = host_.module_settings();
  if (!module) {
    messages_.Inform(tr("Read the module first (step 1): the check counts the crossings of its "
                        "\"Lambda Value\" setting."),
                     windowTitle());
    return;
  }
  sensor_check_ = std::make_unique<SensorCheck>(
      static_cast<int>(std::lround(SettingValue(kSettings[kValorLambda], *module))));
  last_sample_.reset();
  sensor_started_ms_ = host_.now_ms();
  ShowSensorStats();
  sensor_timer_.start();
  ShowStep();
}

void CommissioningWizard::StopSensorCheck() {
  sensor_timer_.stop();
  ShowStep();
}

void CommissioningWizard::SensorTick() {
  if (!sensor_check_) return;
  const Result<LiveSample> polled = host_.poll();
  if (polled.ok()) {
    sensor_check_->Add(polled.value, host_.now_ms());
    last_sample_ = polled.value;
  } else {
    sensor_check_->AddFailure();
  }
  ShowSensorStats();
}

void CommissioningWizard::ShowSensorStats() {
  if (!sensor_check_) return;
  const char separator = DecimalSeparatorOf(locale());
  const SensorStats& stats = sensor_check_->stats();
  for (std::size_t i = 0; i < kSensorMeasureCount; ++i) {
    const MeasuredRange& range = stats.ranges.at(i);
    const auto measure = static_cast<SensorMeasure>(i);
    const int decimals = SensorMeasureDecimals(measure);
    std::optional<double> now;
    if (last_sample_) now = MeasureOf(*last_sample_, measure);
    const auto cell = [&](int column, QString text) {
      ui_->sensor_table->setItem(static_cast<int>(i), column, new QTableWidgetItem(text));
    };
    cell(kNowColumn, now ? NumberText(*now, decimals, separator) : QString());
    cell(kMinColumn, range.samples > 0 ? NumberText(range.min, decimals, separator) : QString());
    cell(kMaxColumn, range.samples > 0 ? NumberText(range.max, decimals, separator) : QString());
  }
  const double elapsed = (host_.now_ms() - sensor_started_ms_) / 1000;
  ui_->sensor_elapsed->setText(tr("%1 s watched, %2 answers, %3 without an answer (at least %4 s)")
                                   .arg(std::floor(elapsed))
                                   .arg(stats.samples)
                                   .arg(stats.failures)
                                   .arg(kSensorCheckMs / 1000));
  ui_->crossings_value->setText(
      LambdaCrossingsText(stats.lambda_threshold_mv, stats.lambda_crossings));
}

void CommissioningWizard::FinishSensorCheck() {
  if (host_.now_ms() - sensor_started_ms_ < kSensorCheckMs) {
    messages_.Inform(tr("The check runs at least %1 s.").arg(kSensorCheckMs / 1000),
                     CommissioningStepText(CommissioningStep::sensors));
    return;
  }
  const std::array<std::pair<QCheckBox*, QLineEdit*>, kSensorItemCount> items{{
      {ui_->check_temperature, ui_->reason_temperature},
      {ui_->check_lambda, ui_->reason_lambda},
      {ui_->check_map_key_on, ui_->reason_map_key_on},
      {ui_->check_map_idle, ui_->reason_map_idle},
  }};
  SensorCheckRecord record;
  record.stats = sensor_check_->stats();
  for (std::size_t i = 0; i < kSensorItemCount; ++i) {
    const auto& [check, reason] = items.at(i);
    record.ticks.at(i).ticked = check->isChecked();
    if (!check->isChecked()) {
      record.ticks.at(i).reason = reason->text().trimmed().toStdString();
      if (record.ticks.at(i).reason.empty()) {
        messages_.Inform(tr("Give the reason why \"%1\" is not ticked.").arg(check->text()),
                         CommissioningStepText(CommissioningStep::sensors));
        reason->setFocus();
        return;
      }
    }
  }
  sensor_timer_.stop();
  const QString summary = tr("%1 answers over %2 s; the lambda voltage crossed %3 times.")
                              .arg(record.stats.samples)
                              .arg(std::floor(record.stats.seconds))
                              .arg(record.stats.lambda_crossings);
  Keep(CommissioningStep::sensors, StepOutcome::done, {}, summary, record);
}

// The settings.

void CommissioningWizard::FillSettingsTable() {
  const std::optional<SettingsBlock> module = host_.module_settings();
  const char separator = DecimalSeparatorOf(locale());
  filling_table_ = true;
  QTableWidget& table = *ui_->settings_table;
  const bool wide_band = module && OptionChecked(*module, kBandaLarga);
  for (const SettingRow& row : kSettings) {
    const int r = static_cast<int>(row.id);
    const auto fixed = [&](int column, const QString& text) {
      auto* item = new QTableWidgetItem(text);
      item->setFlags(Qt::ItemIsEnabled);
      table.setItem(r, column, item);
    };
    fixed(kSettingColumn, Translated(row.context.data(), SettingTitle(row)));
    fixed(kBackupColumn, backup_ ? SettingShown(row, *backup_, separator) : QString());
    fixed(kModuleColumn, module ? SettingShown(row, *module, separator) : QString());
    fixed(kUnitColumn, Translated(row.context.data(), UnitCaption(row, wide_band)).trimmed());
    auto* to_write = new QTableWidgetItem();
    if (!module) {
      to_write->setFlags(Qt::ItemIsEnabled);
    } else if (row.kind == SettingKind::option) {
      to_write->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
      to_write->setCheckState(OptionChecked(*module, row.id) ? Qt::Checked : Qt::Unchecked);
    } else {
      to_write->setFlags(Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemIsSelectable);
      to_write->setText(SettingShown(row, *module, separator));
    }
    table.setItem(r, kToWriteColumn, to_write);
    // A setting changed since the backup stands out.
    QFont font = table.font();
    font.setBold(backup_ && module &&
                 SettingShown(row, *backup_, separator) != SettingShown(row, *module, separator));
    table.item(r, kModuleColumn)->setFont(font);
  }
  filling_table_ = false;
}

void CommissioningWizard::SettingEdited(QTableWidgetItem* item) {
  if (filling_table_ || item->column() != kToWriteColumn) return;
  const std::optional<SettingsBlock> module = host_.module_settings();
  if (!module) return;
  const SettingRow& row = kSettings.at(static_cast<std::size_t>(item->row()));
  if (row.kind == SettingKind::option) return;
  const char separator = DecimalSeparatorOf(locale());
  const std::string text = item->text().trimmed().toStdString();
  QString refused;
  QString title = Translated("Settings", kRangeMessageTitle);
  if (row.kind == SettingKind::edit) {
    const QTableWidgetItem* limit = ui_->settings_table->item(kLimiteCorr, kToWriteColumn);
    const double limit_value =
        ParseDecimal(limit->text().toStdString(), separator).value_or(std::nan(""));
    switch (CheckEntry(row, text, separator, limit_value)) {
      case EntryVerdict::accepted:
        break;
      case EntryVerdict::conversion_failure: {
        refused = TranslatedMessage(kIncorrectValueMessage);
        // "40.5" where the user's separator is a comma: say which one is expected.
        const std::string hint =
            row.entry == NumberKind::decimal ? DecimalSeparatorHint(text) : std::string();
        if (!hint.empty()) refused += QLatin1Char('\n') + TranslatedMessage(hint);
        title = Translated("Settings", kIncorrectValueTitle);
        break;
      }
      case EntryVerdict::range_failure:
        refused = Translated(row.context.data(), row.range_message);
        break;
    }
  } else {
    const std::optional<std::int32_t> rpm = ParseInteger(text);
    if (!rpm || *rpm < row.min || *rpm > row.max) {
      refused = tr("The idle RPM must be a whole number from %1 to %2.").arg(row.min).arg(row.max);
    }
  }
  if (refused.isEmpty()) return;
  messages_.Inform(refused, title);
  filling_table_ = true;
  item->setText(SettingShown(row, *module, separator));
  filling_table_ = false;
}

FileSettings CommissioningWizard::TypedChanges() const {
  FileSettings changes;
  const std::optional<SettingsBlock> module = host_.module_settings();
  if (!module) return changes;
  const char separator = DecimalSeparatorOf(locale());
  for (const SettingRow& row : kSettings) {
    const QTableWidgetItem* item =
        ui_->settings_table->item(static_cast<int>(row.id), kToWriteColumn);
    if (item == nullptr) continue;
    if (row.kind == SettingKind::option) {
      const bool checked = item->checkState() == Qt::Checked;
      if (checked != OptionChecked(*module, row.id)) changes.values.at(row.id) = checked ? 1 : 0;
    } else if (item->text().trimmed() != SettingShown(row, *module, separator)) {
      changes.values.at(row.id) = ParseDecimal(item->text().trimmed().toStdString(), separator);
    }
  }
  return changes;
}

void CommissioningWizard::RunSettings() {
  if (!host_.module_settings()) {
    messages_.Inform(tr("Read the module first (step 1)."), windowTitle());
    return;
  }
  const std::optional<StepDone> done = host_.write_settings(TypedChanges());
  if (done) Keep(CommissioningStep::settings, done->outcome, done->reason, done->summary);
  FillSettingsTable();
}

}  // namespace zelk
