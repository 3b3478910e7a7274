// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/customer_report_pdf.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

#include "app/commissioning_texts.h"
#include "app/local_time.h"
#include "app/qt_text.h"
#include "app/translation.h"
#include "settings_file/file_settings.h"

namespace zelk {

namespace {

QString Html(const std::string& text) {
  return ToQString(text).toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

QString Cell(const QString& text) {
  return QStringLiteral("<td>") + text + QStringLiteral("</td>");
}

QString HeadCell(const QString& text, int width_percent) {
  const QString width =
      width_percent > 0 ? QStringLiteral(" width=\"%1%\"").arg(width_percent) : QString();
  return QStringLiteral("<th align=\"left\"") + width + QStringLiteral(">") + text +
         QStringLiteral("</th>");
}

QString Row(std::initializer_list<QString> cells) {
  QString row = QStringLiteral("<tr>");
  for (const QString& cell : cells) row += Cell(cell);
  return row + QStringLiteral("</tr>");
}

// `widths`: each column's share of the page, in percent; none: as the text needs.
QString HeadRow(std::initializer_list<QString> cells, std::initializer_list<int> widths = {}) {
  // A table header repeats on the next page when the table goes on there.
  QString row = QStringLiteral("<thead><tr>");
  const int* width = widths.begin();
  for (const QString& cell : cells) {
    row += HeadCell(cell, width != widths.end() ? *width++ : 0);
  }
  return row + QStringLiteral("</tr></thead>");
}

QString Table(const QString& rows) {
  return QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">") +
         rows + QStringLiteral("</table>");
}

QString When(const std::string& utc) {
  return utc.empty() ? QString() : LocalTimeText(utc).toHtmlEscaped();
}

// A value as a settings file keeps it, as the technician reads it.
QString ValueText(const std::string& value, char separator) {
  if (value == "true" || value == "false") return OptionStateText(value == "true");
  QString text = ToQString(value);
  text.replace(QLatin1Char('.'), QLatin1Char(separator));
  return text.toHtmlEscaped();
}

QString Header(const CustomerReport& report) {
  const Workshop& shop = report.workshop;
  QString html = QStringLiteral("<p><b>") + Html(shop.name) + QStringLiteral("</b><br>") +
                 Html(shop.address) + QStringLiteral("<br>") + Html(shop.phone) +
                 QStringLiteral("</p>");
  html += QStringLiteral("<h2>") +
          (report.commissioning.empty()
               ? QCoreApplication::translate("CustomerReport", "Service report")
               : QCoreApplication::translate("CustomerReport", "Commissioning report")) +
          QStringLiteral("</h2>");
  const Vehicle& car = report.vehicle;
  QString rows;
  rows += Row({QCoreApplication::translate("CustomerReport", "Vehicle"),
               Html(car.id) + QStringLiteral(" &mdash; ") + Html(car.name)});
  rows += Row({QCoreApplication::translate("CustomerReport", "Customer"),
               Html(car.customer) + QStringLiteral(" ") + Html(car.phone)});
  rows += Row({QCoreApplication::translate("CustomerReport", "Date"), When(report.made_at)});
  if (!report.commissioning.empty()) {
    rows += Row({QCoreApplication::translate("CustomerReport", "Commissioning begun"),
                 When(report.commissioning)});
  }
  rows +=
      Row({QCoreApplication::translate("CustomerReport", "Technician"), Html(report.technician)});
  rows += Row({QCoreApplication::translate("CustomerReport", "Module version"),
               Html(report.module_version)});
  return html + Table(rows);
}

QString SettingsSection(const CustomerReport& report, char separator) {
  QString html = QStringLiteral("<h3>") +
                 QCoreApplication::translate("CustomerReport", "Settings") +
                 QStringLiteral("</h3>");
  if (report.settings.empty()) {
    return html + QStringLiteral("<p>") +
           QCoreApplication::translate("CustomerReport", "No settings were read from the module.") +
           QStringLiteral("</p>");
  }
  html += QStringLiteral("<p>") +
          QCoreApplication::translate("CustomerReport", "As the module held them at %1.")
              .arg(When(report.settings_time));
  if (!report.backup_time.empty()) {
    html += QStringLiteral(" ") +
            QCoreApplication::translate(
                "CustomerReport",
                "Settings marked * were changed since the backup of %1; the value before is "
                "beside them.")
                .arg(When(report.backup_time));
  }
  html += QStringLiteral("</p>");
  QString rows = HeadRow({QCoreApplication::translate("CustomerReport", "Setting"),
                          QCoreApplication::translate("CustomerReport", "Value"),
                          QCoreApplication::translate("CustomerReport", "Unit"),
                          QCoreApplication::translate("CustomerReport", "Before")});
  for (const ReportSetting& setting : report.settings) {
    const SettingRow& row = kSettings.at(setting.setting);
    const QString mark = setting.before ? QStringLiteral(" *") : QString();
    rows += Row({Translated(row.context.data(), SettingTitle(row)).toHtmlEscaped() + mark,
                 ValueText(setting.value, separator),
                 Translated(row.context.data(), UnitCaption(row, report.wide_band))
                     .trimmed()
                     .toHtmlEscaped(),
                 setting.before ? ValueText(*setting.before, separator) : QString()});
  }
  return html + Table(rows);
}

QString ProgramsSection(const CustomerReport& report) {
  QString html = QStringLiteral("<h3>") +
                 QCoreApplication::translate("CustomerReport", "Programs") +
                 QStringLiteral("</h3>");
  if (report.programs.empty()) {
    return html + QStringLiteral("<p>") +
           QCoreApplication::translate("CustomerReport", "No program was run.") +
           QStringLiteral("</p>");
  }
  QString rows = HeadRow({QCoreApplication::translate("CustomerReport", "Program"),
                          QCoreApplication::translate("CustomerReport", "Result"),
                          QCoreApplication::translate("CustomerReport", "When"),
                          QCoreApplication::translate("CustomerReport", "Reason")},
                         {34, 16, 22, 28});
  for (const ReportProgram& program : report.programs) {
    rows += Row({ProgramNameText(program.program).toHtmlEscaped(),
                 ProgramResultText(program.result).toHtmlEscaped(), When(program.time),
                 Html(program.reason)});
  }
  return html + Table(rows);
}

QString SensorsSection(const CustomerReport& report, char separator) {
  QString html = QStringLiteral("<h3>") +
                 CommissioningStepText(CommissioningStep::sensors).toHtmlEscaped() +
                 QStringLiteral("</h3>");
  if (!report.sensors) {
    return html + QStringLiteral("<p>") +
           (report.sensors_skipped.empty()
                ? QCoreApplication::translate("CustomerReport", "No sensor check was made.")
                : SkippedText(Html(report.sensors_skipped))) +
           QStringLiteral("</p>");
  }
  const SensorStats& stats = report.sensors->stats;
  const auto number = [separator](double value, int decimals) {
    QString text = QString::number(value, 'f', decimals);
    return text.replace(QLatin1Char('.'), QLatin1Char(separator));
  };
  html += QStringLiteral("<p>") +
          QCoreApplication::translate("CustomerReport", "Measured at %1 over %2 s (%3 readings).")
              .arg(When(report.sensors_time))
              .arg(number(stats.seconds, 0))
              .arg(stats.samples) +
          QStringLiteral("</p>");
  QString rows = HeadRow({QCoreApplication::translate("CustomerReport", "Value"),
                          QCoreApplication::translate("CustomerReport", "Lowest"),
                          QCoreApplication::translate("CustomerReport", "Highest")});
  for (std::size_t i = 0; i < kSensorMeasureCount; ++i) {
    const MeasuredRange& range = stats.ranges.at(i);
    const auto measure = static_cast<SensorMeasure>(i);
    const int decimals = SensorMeasureDecimals(measure);
    rows += Row({SensorMeasureText(measure).toHtmlEscaped(),
                 range.samples > 0 ? number(range.min, decimals)
                                   : QCoreApplication::translate("CustomerReport", "not measured"),
                 range.samples > 0 ? number(range.max, decimals) : QString()});
  }
  html += Table(rows);
  html += QStringLiteral("<p>") +
          LambdaCrossingsText(stats.lambda_threshold_mv, stats.lambda_crossings).toHtmlEscaped() +
          QStringLiteral("</p>");
  QString ticks = HeadRow({QCoreApplication::translate("CustomerReport", "Check"),
                           QCoreApplication::translate("CustomerReport", "Technician")});
  for (std::size_t i = 0; i < kSensorItemCount; ++i) {
    const SensorTick& tick = report.sensors->ticks.at(i);
    ticks += Row({SensorItemText(static_cast<SensorItem>(i)).toHtmlEscaped(),
                  tick.ticked ? QCoreApplication::translate("CustomerReport", "checked")
                              : QCoreApplication::translate("CustomerReport", "not checked: %1")
                                    .arg(Html(tick.reason))});
  }
  return html + Table(ticks);
}

QString NotesSection(const CustomerReport& report) {
  if (report.notes.empty()) return {};
  QString html = QStringLiteral("<h3>") + QCoreApplication::translate("CustomerReport", "Notes") +
                 QStringLiteral("</h3>");
  for (const std::string& note : report.notes) {
    html += QStringLiteral("<p>") + Html(note) + QStringLiteral("</p>");
  }
  return html;
}

QString SignatureLines() {
  return QStringLiteral("<p><br><br></p><table width=\"100%\"><tr><td>") +
         QStringLiteral("_______________________________<br>") +
         QCoreApplication::translate("CustomerReport", "Technician") +
         QStringLiteral("</td><td>_______________________________<br>") +
         QCoreApplication::translate("CustomerReport", "Customer") +
         QStringLiteral("</td></tr></table>");
}

void LayOut(QTextDocument& document, const CustomerReport& report, char separator) {
  // Arial on Windows, its metric twin Liberation Sans on Linux.
  document.setDefaultFont(QFont(QStringLiteral("Arial"), 9));
  document.setHtml(CustomerReportHtml(report, separator));
}

}  // namespace

QString CustomerReportHtml(const CustomerReport& report, char decimal_separator) {
  return QStringLiteral("<html><body>") + Header(report) +
         SettingsSection(report, decimal_separator) + ProgramsSection(report) +
         SensorsSection(report, decimal_separator) + NotesSection(report) + SignatureLines() +
         QStringLiteral("</body></html>");
}

QByteArray CustomerReportPdf(const CustomerReport& report, char decimal_separator) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(18, 15, 18, 15), QPageLayout::Millimeter);
    writer.setTitle(QCoreApplication::translate("CustomerReport", "Report for %1")
                        .arg(ToQString(report.vehicle.id)));
    writer.setCreator(QStringLiteral("Programable Zelk"));
    QTextDocument document;
    LayOut(document, report, decimal_separator);
    document.print(&writer);
  }
  return bytes;
}

bool PrintCustomerReport(QWidget* parent, const CustomerReport& report, char decimal_separator) {
  QPrinter printer;
  printer.setPageSize(QPageSize(QPageSize::A4));
  QPrintDialog dialog(&printer, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  QTextDocument document;
  LayOut(document, report, decimal_separator);
  document.print(&printer);
  return true;
}

}  // namespace zelk
