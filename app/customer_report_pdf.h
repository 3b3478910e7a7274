// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The customer's report laid out on A4 paper in the program's language: the
// workshop, the vehicle and customer, the settings (those changed since the
// backup with the value before), the programs, the sensor check, the notes
// and the signature lines. The content is records/customer_report's; this
// file only lays it out, as a PDF or on a printer.

#include <QByteArray>
#include <QString>

#include "records/customer_report.h"

class QWidget;

namespace zelk {

// The report as rich text, in the language and with the decimal separator given.
QString CustomerReportHtml(const CustomerReport& report, char decimal_separator);

// The PDF's bytes.
QByteArray CustomerReportPdf(const CustomerReport& report, char decimal_separator);

// The system's print dialog, then the report on the printer chosen; false
// when the technician cancelled.
bool PrintCustomerReport(QWidget* parent, const CustomerReport& report, char decimal_separator);

}  // namespace zelk
