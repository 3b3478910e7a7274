// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commissioning_texts.h"

#include <QCoreApplication>
#include <array>
#include <utility>

#include "app/qt_text.h"

namespace zelk {

namespace {

constexpr const char* kContext = "Commissioning";

QString Tr(const char* text) {
  return QCoreApplication::translate(kContext, text);
}

template <typename Enum, std::size_t N>
QString FromTable(const std::array<const char*, N>& table, Enum value) {
  return Tr(table.at(static_cast<std::size_t>(value)));
}

// By CommissioningStep.
constexpr std::array<const char*, kCommissioningStepCount> kStepNames{
    QT_TRANSLATE_NOOP("Commissioning", "Connect and read"),
    QT_TRANSLATE_NOOP("Commissioning", "Backup"),
    QT_TRANSLATE_NOOP("Commissioning", "Sensor check"),
    QT_TRANSLATE_NOOP("Commissioning", "RPM/oxygen-sensor program"),
    QT_TRANSLATE_NOOP("Commissioning", "MAP program"),
    QT_TRANSLATE_NOOP("Commissioning", "Settings"),
    QT_TRANSLATE_NOOP("Commissioning", "Report")};

constexpr std::array<const char*, kCommissioningStepCount> kStepHelp{
    QT_TRANSLATE_NOOP("Commissioning",
                      "Run connects to the module (when its port does not answer, Find asks "
                      "every port), shows its version and reads its settings."),
    QT_TRANSLATE_NOOP("Commissioning",
                      "Run keeps the module's settings as the restore point "
                      "\"before-commissioning\" in the vehicle's records. The report marks every "
                      "setting changed since."),
    QT_TRANSLATE_NOOP("Commissioning",
                      "Run watches the live values; after 30 s Finish keeps the lowest and "
                      "highest of each and how often the lambda voltage crossed the \"Lambda "
                      "Value\" setting. Tick each check, or give the reason it is not ticked."),
    QT_TRANSLATE_NOOP("Commissioning",
                      "Run starts the RPM/oxygen-sensor program and follows it to its end."),
    QT_TRANSLATE_NOOP("Commissioning",
                      "Run starts the MAP program and follows it to its end; do what its "
                      "prompts ask."),
    QT_TRANSLATE_NOOP("Commissioning",
                      "The module's settings beside the backup. Change what is to change in the "
                      "column \"To write\"; Run writes them, reads them back and verifies them."),
    QT_TRANSLATE_NOOP("Commissioning",
                      "Run makes the customer's report (PDF) from the vehicle's records and "
                      "keeps it with them.")};

// By StepOutcome.
constexpr std::array<const char*, 4> kOutcomes{
    QT_TRANSLATE_NOOP("Commissioning", "done"), QT_TRANSLATE_NOOP("Commissioning", "skipped"),
    QT_TRANSLATE_NOOP("Commissioning", "failed"), QT_TRANSLATE_NOOP("Commissioning", "cancelled")};

// By SensorMeasure.
constexpr std::array<std::pair<const char*, int>, kSensorMeasureCount> kMeasures{{
    {QT_TRANSLATE_NOOP("Commissioning", "Engine temperature (C)"), 0},
    {QT_TRANSLATE_NOOP("Commissioning", "MAP (V)"), 2},
    {QT_TRANSLATE_NOOP("Commissioning", "Lambda (mV)"), 0},
    {QT_TRANSLATE_NOOP("Commissioning", "RPM"), 0},
}};

// By SensorItem.
constexpr std::array<const char*, kSensorItemCount> kItems{
    QT_TRANSLATE_NOOP("Commissioning", "Engine temperature reads sensibly"),
    QT_TRANSLATE_NOOP("Commissioning", "Lambda switches"),
    QT_TRANSLATE_NOOP("Commissioning", "MAP with the key on"),
    QT_TRANSLATE_NOOP("Commissioning", "MAP at idle")};

}  // namespace

QString CommissioningStepText(CommissioningStep step) {
  return FromTable(kStepNames, step);
}

QString CommissioningStepHelp(CommissioningStep step) {
  return FromTable(kStepHelp, step);
}

QString StepOutcomeText(StepOutcome outcome) {
  return FromTable(kOutcomes, outcome);
}

QString SensorMeasureText(SensorMeasure measure) {
  return Tr(kMeasures.at(static_cast<std::size_t>(measure)).first);
}

int SensorMeasureDecimals(SensorMeasure measure) {
  return kMeasures.at(static_cast<std::size_t>(measure)).second;
}

QString SensorItemText(SensorItem item) {
  return FromTable(kItems, item);
}

QString LambdaCrossingsText(int threshold_mv, int crossings) {
  return QCoreApplication::translate(
             "Commissioning",
             "The lambda voltage crossed the \"Lambda Value\" setting (%1 mV) %2 times.")
      .arg(threshold_mv)
      .arg(crossings);
}

QString SkippedText(const QString& reason) {
  return QCoreApplication::translate("Commissioning", "Skipped: %1").arg(reason);
}

QString ReportKeptText(const QString& vehicle_id, const QString& path) {
  return QCoreApplication::translate("Commissioning", "The report is kept in %1's records:\n%2")
      .arg(vehicle_id, path);
}

QString OptionStateText(bool checked) {
  return checked ? QCoreApplication::translate("Commissioning", "on")
                 : QCoreApplication::translate("Commissioning", "off");
}

QString ProgramNameText(const std::string& program) {
  // The programming dialog's own names for the four programs.
  static constexpr std::array<std::pair<std::string_view, const char*>, 4> kNames{{
      {"mix", QT_TRANSLATE_NOOP("ProgramForm", "Mix Program")},
      {"reset", QT_TRANSLATE_NOOP("ProgramForm", "Reset Program")},
      {"rpm_lambda", QT_TRANSLATE_NOOP("ProgramForm", "RPM/Oxygen Sensor Program")},
      {"map", QT_TRANSLATE_NOOP("ProgramForm", "MAP Program")},
  }};
  for (const auto& [key, text] : kNames) {
    if (program == key) return QCoreApplication::translate("ProgramForm", text);
  }
  return ToQString(program);
}

QString ProgramResultText(const std::string& result) {
  static constexpr std::array<std::pair<std::string_view, const char*>, 4> kResults{{
      {"completed", QT_TRANSLATE_NOOP("Commissioning", "completed")},
      {"aborted", QT_TRANSLATE_NOOP("Commissioning", "aborted")},
      {"failed", QT_TRANSLATE_NOOP("Commissioning", "failed")},
      {"skipped", QT_TRANSLATE_NOOP("Commissioning", "skipped")},
  }};
  for (const auto& [key, text] : kResults) {
    if (result == key) return Tr(text);
  }
  return ToQString(result);
}

}  // namespace zelk
