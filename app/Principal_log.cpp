// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's Log and View menus: the live log, the poll rate and the
// live chart. All three live on the window's own poll (Timer_ReadTimer):
// logging and charting send nothing of their own.

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "app/Principal.h"
#include "app/dialog_folder.h"
#include "app/log_review_window.h"
#include "app/messages.h"
#include "app/qt_text.h"
#include "app/status_text.h"
#include "app/translation.h"
#include "monitor/log_export.h"
#include "monitor/poll_schedule.h"
#include "session/session.h"

namespace zelk {

namespace {

QString LogTitle() {
  return QCoreApplication::translate("Log", "Log");
}

struct PollRate {
  const char* caption;
  int interval_ms;
};

// The module's own pace is the default at every start; the faster ones are
// for logging and the chart, and are never remembered.
constexpr std::array<PollRate, 4> kPollRates{{
    {QT_TRANSLATE_NOOP("Log", "&500 ms"), kPollIntervalMs},
    {QT_TRANSLATE_NOOP("Log", "&200 ms"), 200},
    {QT_TRANSLATE_NOOP("Log", "&100 ms"), 100},
    {QT_TRANSLATE_NOOP("Log", "&As fast as the link allows"), 0},
}};

QString Elapsed(std::chrono::milliseconds elapsed) {
  const long long seconds = elapsed.count() / 1000;
  return QStringLiteral("%1:%2:%3")
      .arg(seconds / 3600)
      .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
      .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

void TMainForm::BuildLogMenus(QMenuBar& bar) {
  QMenu* log = bar.addMenu(tr("&Log"));
  log->setObjectName(QStringLiteral("menu_log"));
  QAction* start = log->addAction(tr("&Start log..."), this, &TMainForm::StartLogClick);
  start->setObjectName(QStringLiteral("action_start_log"));
  QAction* stop = log->addAction(tr("S&top log"), this, &TMainForm::StopLog);
  stop->setObjectName(QStringLiteral("action_stop_log"));
  // The moment the engine did something, marked while it happens: the key
  // works in every window of the program, the live chart's included.
  QAction* mark = log->addAction(tr("&Mark..."), this, &TMainForm::MarkClick);
  mark->setObjectName(QStringLiteral("action_mark"));
  mark->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
  mark->setShortcutContext(Qt::ApplicationShortcut);
  log->addSeparator();
  QMenu* rates = log->addMenu(tr("&Poll rate"));
  rates->setObjectName(QStringLiteral("menu_poll_rate"));
  poll_rates_ = new QActionGroup(this);
  poll_rates_->setExclusive(true);
  for (const PollRate& rate : kPollRates) {
    QAction* choice = rates->addAction(QCoreApplication::translate("Log", rate.caption));
    choice->setCheckable(true);
    choice->setChecked(rate.interval_ms == kPollIntervalMs);
    choice->setData(rate.interval_ms);
    choice->setObjectName(QStringLiteral("action_poll_%1").arg(rate.interval_ms));
    poll_rates_->addAction(choice);
    connect(choice, &QAction::triggered, this,
            [this, interval = rate.interval_ms] { SetPollInterval(interval); });
  }

  QMenu* view = bar.addMenu(tr("&View"));
  view->setObjectName(QStringLiteral("menu_view"));
  QAction* chart = view->addAction(tr("Live &chart"), this, &TMainForm::ShowLiveChart);
  chart->setObjectName(QStringLiteral("action_live_chart"));
  chart->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
}

void TMainForm::StartLogClick() {
  // With a vehicle on the bench the log goes into its history.
  if (bench_) {
    if (const QString path = BenchLogPath(); !path.isEmpty()) StartLog(path);
    return;
  }
  const QString path = QFileDialog::getSaveFileName(this, tr("Start a log"), FileDialogFolder(),
                                                    tr("CSV files (*.csv)"));
  if (path.isEmpty()) return;
  RememberDialogFolder(path);
  StartLog(path);
}

void TMainForm::AddOpenLogAction(QMenu& file) {
  QAction* open_log = file.addAction(tr("Open &log..."), this, [this] {
    const QString path = QFileDialog::getOpenFileName(this, tr("Open log"), FileDialogFolder(),
                                                      tr("CSV files (*.csv)"));
    if (path.isEmpty()) return;
    RememberDialogFolder(path);
    OpenLogForReview(path);
  });
  open_log->setObjectName(QStringLiteral("action_open_log"));
  open_log->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
}

LogReviewWindow* TMainForm::OpenLogForReview(const QString& path) {
  // A window of its own for each log, so yesterday's and today's sit side by side.
  log_review_ = LogReviewWindow::ShowLog(this, messages_, path);
  return log_review_;
}

LogReviewWindow* TMainForm::log_review_window() const {
  return log_review_;
}

bool TMainForm::StartLog(const QString& path) {
  std::string error;
  std::unique_ptr<LiveLogFile> opened =
      LiveLogFile::Open(WithLogExtension(std::filesystem::path(path.toStdU16String())), error);
  if (!opened) {
    messages_.Inform(tr("The log was not started: %1").arg(TranslatedMessage(error)), LogTitle());
    return false;
  }
  StopLog();  // the running one, if any, ends complete
  live_log_ = std::move(opened);
  ShowLogStatus();
  return true;
}

void TMainForm::StopLog() {
  if (!live_log_) return;
  std::unique_ptr<LiveLogFile> log = std::move(live_log_);
  status_text_->clear();
  if (!log->Close()) {
    messages_.Inform(
        tr("The log %1 is not complete: the disk refused a write.").arg(PathText(log->path())),
        LogTitle());
  }
}

void TMainForm::SetPollInterval(int interval_ms) {
  poll_.SetInterval(interval_ms);
  for (QAction* choice : poll_rates_->actions()) {
    if (choice->data().toInt() == interval_ms) choice->setChecked(true);
  }
}

void TMainForm::ShowLiveChart() {
  if (!chart_) chart_ = std::make_unique<ChartWindow>(messages_, this);
  chart_->show();
  chart_->raise();
  chart_->activateWindow();
}

void TMainForm::FeedLogAndChart(const LiveSample* sample) {
  if (chart_) {
    if (sample != nullptr) {
      chart_->history().AddSample(*sample);
    } else {
      chart_->history().AddFailure(std::chrono::steady_clock::now());
    }
  }
  if (!live_log_) return;
  LiveLogWriter& writer = live_log_->writer();
  AfterLogWrite(sample != nullptr ? writer.WriteSample(*sample) : writer.WriteFailure());
}

void TMainForm::AfterLogWrite(bool written) {
  if (!written) {
    // The log goes first, and the poll waits while the box is open.
    const std::unique_ptr<LiveLogFile> log = std::move(live_log_);
    status_text_->clear();
    const PollPause pause(poll_, PollPause::Then::as_before);
    messages_.Inform(
        tr("The log %1 was stopped: the disk refused a write.").arg(PathText(log->path())),
        LogTitle());
    return;
  }
  ShowLogStatus();
}

void TMainForm::MarkClick() {
  if (!live_log_ && !chart_) {
    messages_.Inform(
        tr("A marker goes into the running log and the live chart: start one of them first."),
        tr("Mark"));
    return;
  }
  // The poll and the log go on while the text is typed; the marker is where
  // it is given.
  const std::optional<QString> text =
      messages_.AskText(tr("Marker text (may be empty):"), tr("Mark"));
  if (text) AddMarker(*text);
}

void TMainForm::AddMarker(const QString& text) {
  if (chart_) chart_->AddMarker(text);
  if (live_log_) AfterLogWrite(live_log_->writer().WriteMarker(text.toStdString()));
}

void TMainForm::ShowLogStatus() {
  if (!live_log_) return;
  const LiveLogWriter& writer = live_log_->writer();
  const QString name = QFileInfo(PathText(live_log_->path())).fileName();
  status_text_->setText(tr("Logging to %1: %2 rows, %3")
                            .arg(name, QString::number(writer.rows()), Elapsed(writer.elapsed())));
}

void TMainForm::CloseLogAndChart() {
  StopLog();
  if (chart_) chart_->close();
}

}  // namespace zelk
