// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/port_search.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include "app/qt_text.h"
#include "app/translation.h"
#include "session/module_version.h"

namespace zelk {

namespace {

QString ProbeLine(const PortProbe& probe) {
  const QString port = ToQString(probe.port) + QStringLiteral(": ");
  switch (probe.verdict) {
    case ProbeVerdict::answered:
      return port + QCoreApplication::translate("PortSearch", "the module answered, version %1")
                        .arg(ToQString(ModuleVersionText(probe.version.value)));
    case ProbeVerdict::no_answer:
      return port + QCoreApplication::translate("PortSearch", "no answer");
    case ProbeVerdict::not_opened:
      return port + TranslatedMessage(DescribeFailure(probe.version.failure));
    case ProbeVerdict::cancelled:
      return port + QCoreApplication::translate("PortSearch", "not asked (cancelled)");
  }
  return port;
}

}  // namespace

QString SearchTitle() {
  return QCoreApplication::translate("PortSearch", "Find");
}

std::vector<PortProbe> RunPortSearch(QWidget* parent, std::vector<std::string> ports,
                                     const LineOpener& opener) {
  ModuleSearch search(std::move(ports), opener);
  const int count = static_cast<int>(search.port_count());
  QProgressDialog progress(
      QCoreApplication::translate("PortSearch", "Asking %1 port(s) for the module's version...")
          .arg(count),
      QCoreApplication::translate("PortSearch", "Cancel"), 0, count, parent);
  progress.setWindowTitle(SearchTitle());
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  progress.setAutoClose(false);
  progress.setAutoReset(false);

  QEventLoop loop;
  QTimer tick;
  tick.setInterval(50);
  QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
    progress.setValue(static_cast<int>(search.finished_ports()));
    if (search.done()) loop.quit();
  });
  // The threads finish the exchange they are in; nothing more is sent.
  QObject::connect(&progress, &QProgressDialog::canceled, &loop, [&] {
    search.Cancel();
    progress.setLabelText(QCoreApplication::translate("PortSearch", "Cancelling..."));
  });
  search.Start();
  progress.show();
  tick.start();
  if (!search.done()) loop.exec();
  tick.stop();
  return search.Wait();
}

QString SearchSummary(const std::vector<PortProbe>& probes) {
  const std::optional<std::size_t> first = FirstAnswered(probes);
  QString text = first ? QCoreApplication::translate("PortSearch", "The module answered on %1.")
                             .arg(ToQString(probes[*first].port))
                       : QCoreApplication::translate("PortSearch", "No port answered.");
  text += QLatin1Char('\n');
  for (const PortProbe& probe : probes) text += QLatin1Char('\n') + ProbeLine(probe);
  return text;
}

}  // namespace zelk
