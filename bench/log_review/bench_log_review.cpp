// SPDX-License-Identifier: GPL-3.0-or-later
// A day's log at 500 ms (172,800 rows, a failed poll every 1,000 and a marker
// every hour) in the review window, offscreen at 1100 x 700: the time to open
// it, then each of a run of zooms, pans and cursor steps, redrawn at once.
// Target: every redraw under 50 ms.
//
// usage: bench_log_review [ROWS]

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/log_review_window.h"
#include "app/messages.h"
#include "qcustomplot.h"

namespace {

class SilentMessages : public zelk::Messages {
 public:
  void Inform(const QString& text, const QString&) override {
    std::fprintf(stderr, "box: %s\n", qPrintable(text));
  }
  bool AskYesNo(const QString&, const QString&) override { return false; }
  bool AskYesNoDefaultNo(const QString&, const QString&) override { return false; }
  void Error(const QString& text) override { Inform(text, {}); }
  std::optional<QString> AskText(const QString&, const QString&) override { return {}; }
  int Choose(const QString&, const QString&, const QStringList& choices) override {
    return static_cast<int>(choices.size()) - 1;  // the last: cancel
  }
};

bool WriteDayLog(const QString& path, long rows) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  std::string text =
      "time_s,wall_clock,rpm,injection_ms,correction_pct,temperature_c,map_v,lambda_mv,status,"
      "raw\n";
  char line[200];
  for (long row = 0; row < rows; ++row) {
    const long ms = row * 500;
    const long second = ms / 1000;
    const int n =
        std::snprintf(line, sizeof line, "%ld.%03ld,2026-12-09T%02ld:%02ld:%02ld.%03ldZ,", second,
                      ms % 1000, second / 3600 % 24, second / 60 % 60, second % 60, ms % 1000);
    text.append(line, static_cast<std::size_t>(n));
    if (row % 1000 == 999) {
      text += ",,,,,,fail,\n";
      continue;
    }
    const int m =
        std::snprintf(line, sizeof line, "%ld,%.3f,%ld,%ld,%.4f,%ld,ok,50c3e20400460080643c\n",
                      800 + row % 3000, 1.5 + (row % 40) * 0.1, 90 + row % 30, 20 + row % 70,
                      0.5 + (row % 100) * 0.01, 100 + row % 800);
    text.append(line, static_cast<std::size_t>(m));
  }
  return file.write(text.data(), static_cast<qint64>(text.size())) ==
         static_cast<qint64>(text.size());
}

// Resident memory in kB, from /proc (Linux only: 0 elsewhere).
long ResidentKb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toLong();
  }
  return 0;
}

double Milliseconds(const std::function<void()>& work) {
  QElapsedTimer timer;
  timer.start();
  work();
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
  QApplication app(argc, argv);
  const long rows = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 172800;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("day.csv"));
  if (rows <= 0 || !WriteDayLog(path, rows)) {
    std::fprintf(stderr, "bench_log_review: cannot write the log\n");
    return 1;
  }
  SilentMessages messages;
  zelk::LogReviewWindow window(messages);
  window.resize(1100, 700);
  window.show();
  QCoreApplication::processEvents();
  bool opened = false;
  const long resident_before = ResidentKb();
  const double open_ms = Milliseconds([&] { opened = window.OpenLog(path); });
  if (!opened) return 1;
  const long resident_after = ResidentKb();
  std::printf("rows %ld, file %.1f MB: opened and drawn in %.0f ms\n", rows,
              static_cast<double>(QFile(path).size()) / 1e6, open_ms);
  std::printf(
      "resident memory: %.0f bytes a row above the empty window (target under 200)\n",
      static_cast<double>(resident_after - resident_before) * 1024 / static_cast<double>(rows));

  QCustomPlot& plot = window.plot();
  const std::vector<std::pair<const char*, std::function<void()>>> steps{
      {"whole log", [&] { window.ShowWholeLog(); }},
      {"zoom in", [&] { window.Zoom(0.5); }},
      {"pan", [&] { window.Pan(0.25); }},
      {"zoom to an hour", [&] { window.ShowTimes(36000, 39600); }},
      {"cursor step", [&] { window.StepCursor(1); }},
      {"zoom to a minute", [&] { window.ShowTimes(36000, 36060); }},
      {"pan", [&] { window.Pan(-0.25); }},
      {"zoom out", [&] { window.Zoom(2); }},
  };
  double worst = 0;
  for (int round = 0; round < 5; ++round) {
    for (const auto& [name, step] : steps) {
      // Each step redraws at once; repaint() paints the new buffer too.
      const double ms = Milliseconds([&] {
        step();
        plot.repaint();
      });
      worst = std::max(worst, ms);
      if (round == 0) std::printf("%-18s %6.1f ms\n", name, ms);
    }
  }
  std::printf("slowest redraw over 5 rounds: %.1f ms (target under 50 ms)\n", worst);
  return worst < 50 ? 0 : 1;
}
