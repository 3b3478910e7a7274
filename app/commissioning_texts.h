// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The words of a commissioning, in the program's language, for the wizard
// and the customer's report alike: the steps, their outcomes, the sensor
// check's values and ticks, the programs and their results.

#include <QString>
#include <string>

#include "monitor/sensor_check.h"
#include "records/commissioning.h"

namespace zelk {

QString CommissioningStepText(CommissioningStep step);  // "Sensor check"
QString CommissioningStepHelp(CommissioningStep step);
QString StepOutcomeText(StepOutcome outcome);      // "skipped"
QString SensorMeasureText(SensorMeasure measure);  // "Engine temperature (C)"
// Digits after the point a measure is shown with.
int SensorMeasureDecimals(SensorMeasure measure);
QString SensorItemText(SensorItem item);  // "Lambda switches"
// "The lambda voltage crossed the "Lambda Value" setting (450 mV) 58 times."
QString LambdaCrossingsText(int threshold_mv, int crossings);
// "Skipped: no MAP sensor fitted"
QString SkippedText(const QString& reason);
// Where a customer's report was kept.
QString ReportKeptText(const QString& vehicle_id, const QString& path);
// An option box's state: "on", "off".
QString OptionStateText(bool checked);
// A program by its record's name ("rpm_lambda"), as the programming dialog names it.
QString ProgramNameText(const std::string& program);
// A program run's result by its record's name ("aborted"), or "skipped".
QString ProgramResultText(const std::string& result);

}  // namespace zelk
