// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/log_review_window.h"

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <filesystem>
#include <string>

#include "app/decimal_separator.h"
#include "app/dialog_folder.h"
#include "app/log_panels.h"
#include "app/log_value_tables.h"
#include "app/log_value_text.h"
#include "app/messages.h"
#include "app/qt_text.h"
#include "app/translation.h"
#include "app/window_placement.h"
#include "monitor/log_export.h"
#include "settings_file/log_export_file.h"
#include "ui_LogReviewWindow.h"

namespace zelk {

namespace {

constexpr double kZoomStep = 0.5;        // + halves the view, - doubles it
constexpr double kPanStep = 0.25;        // Ctrl+Left/Right move a quarter of the view
constexpr double kNarrowestView = 0.05;  // seconds: two rows at the fastest poll
constexpr int kClickSlack = 3;           // pixels a click may move and stay a click

// By the alignment box's items.
enum Alignment { kAtStarts, kAtMarkers };

QString MarkerText(const LogMarker& marker) {
  return QStringLiteral("%1  %2").arg(ElapsedText(marker.time_s), ToQString(marker.text));
}

// The view of a whole log: from its first row to its last (a second at least).
QCPRange WholeRange(const LogData& log) {
  if (log.time_s.empty()) return {0, 1};
  return {log.time_s.front(), std::max(log.time_s.back(), log.time_s.front() + 1)};
}

QString WithExtension(const QString& path, const QString& extension) {
  return QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + extension : path;
}

QString FileName(const QString& path) {
  return QFileInfo(path).fileName();
}

}  // namespace

LogReviewWindow::LogReviewWindow(Messages& messages, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ui_(std::make_unique<Ui::LogReviewWindow>()),
      messages_(messages) {
  ui_->setupUi(this);
  panels_ = new LogPanels(*ui_->plot);
  SetUpCursorTable(*ui_->cursor_table);
  SetUpStatsTable(*ui_->stats_table);
  ui_->cut_note->hide();
  FillAlignment();
  // Over the window that opens it, as large as designed where the screen has room.
  FitOnScreen(*this, parent != nullptr ? parent->pos() : QPoint());

  connect(panels_, &LogPanels::rangeChanged, this, [this] { ViewChanged(); });
  connect(ui_->plot, &QCustomPlot::mousePress, this, &LogReviewWindow::PressOnPlot);
  connect(ui_->plot, &QCustomPlot::mouseRelease, this, &LogReviewWindow::ReleaseOnPlot);
  connect(ui_->markers, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { JumpToMarker(ui_->markers->row(item)); });
  connect(ui_->markers, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { JumpToMarker(ui_->markers->row(item)); });
  connect(ui_->open_log, &QPushButton::clicked, this, &LogReviewWindow::OpenLogClick);
  connect(ui_->overlay_log, &QPushButton::clicked, this, &LogReviewWindow::OverlayLogClick);
  connect(ui_->whole_log, &QPushButton::clicked, this, &LogReviewWindow::ShowWholeLog);
  connect(ui_->export_view, &QPushButton::clicked, this, &LogReviewWindow::ExportClick);
  connect(ui_->export_spreadsheet, &QPushButton::clicked, this,
          &LogReviewWindow::ExportSpreadsheetClick);
  for (QComboBox* box : {ui_->align_at, ui_->base_marker, ui_->overlay_marker})
    connect(box, &QComboBox::activated, this, [this] { AlignmentChosen(); });
}

LogReviewWindow::~LogReviewWindow() = default;

LogReviewWindow* LogReviewWindow::ShowLog(QWidget* parent, Messages& messages,
                                          const QString& path) {
  auto* window = new LogReviewWindow(messages, parent);
  window->setAttribute(Qt::WA_DeleteOnClose);
  if (!window->OpenLog(path)) {
    delete window;
    return nullptr;
  }
  window->show();
  return window;
}

QCustomPlot& LogReviewWindow::plot() {
  return *ui_->plot;
}
QTableWidget& LogReviewWindow::cursor_table() {
  return *ui_->cursor_table;
}
QTableWidget& LogReviewWindow::stats_table() {
  return *ui_->stats_table;
}
QListWidget& LogReviewWindow::marker_list() {
  return *ui_->markers;
}
QLabel& LogReviewWindow::cut_note() {
  return *ui_->cut_note;
}

std::optional<LogData> LogReviewWindow::Read(const QString& path) {
  std::string error;
  std::optional<LogData> read = ReadLog(std::filesystem::path(path.toStdU16String()), error);
  if (!read) {
    messages_.Inform(tr("%1 cannot be opened as a log: %2")
                         .arg(QDir::toNativeSeparators(path), TranslatedMessage(error)),
                     tr("Log review"));
  }
  return read;
}

bool LogReviewWindow::OpenLog(const QString& path) {
  std::optional<LogData> read = Read(path);
  if (!read) return false;
  log_ = std::move(read);
  log_name_ = FileName(path);
  overlay_.reset();
  overlay_name_.clear();
  overlay_offset_s_ = 0;
  cursor_.reset();
  second_cursor_.reset();
  panels_->ShowLog(*log_);
  FillMarkers();
  FillAlignment();
  ShowCutNote();
  setWindowTitle(Title());
  ShowCursorLines();
  ViewChanged();
  ui_->plot->replot();
  ui_->plot->setFocus();  // for the keys
  return true;
}

QString LogReviewWindow::Title() const {
  if (overlay_) return tr("Programable Zelk: log %1 with %2").arg(log_name_, overlay_name_);
  return tr("Programable Zelk: log %1").arg(log_name_);
}

bool LogReviewWindow::OverlayLog(const QString& path) {
  if (!log_) return false;
  std::optional<LogData> read = Read(path);
  if (!read) return false;
  overlay_ = std::move(read);
  overlay_name_ = FileName(path);
  FillAlignment();
  ShowCutNote();
  setWindowTitle(Title());
  AlignOverlayAtStarts();
  return true;
}

void LogReviewWindow::AlignOverlayAtStarts() {
  if (!log_ || !overlay_) return;
  overlay_offset_s_ = OverlayOffset(*log_, *overlay_);
  ui_->align_at->setCurrentIndex(kAtStarts);
  EnableAlignment();
  panels_->ShowOverlay(&*overlay_, overlay_offset_s_);
  ui_->plot->replot();
}

bool LogReviewWindow::AlignOverlayAtMarkers(std::size_t base_marker, std::size_t overlay_marker) {
  if (!log_ || !overlay_) return false;
  const std::optional<double> offset = OverlayOffset(*log_, base_marker, *overlay_, overlay_marker);
  if (!offset) return false;
  overlay_offset_s_ = *offset;
  ui_->align_at->setCurrentIndex(kAtMarkers);
  ui_->base_marker->setCurrentIndex(static_cast<int>(base_marker));
  ui_->overlay_marker->setCurrentIndex(static_cast<int>(overlay_marker));
  EnableAlignment();
  panels_->ShowOverlay(&*overlay_, overlay_offset_s_);
  ui_->plot->replot();
  return true;
}

// The alignment's choices, for the logs now open: markers only when both
// logs have some.
void LogReviewWindow::FillAlignment() {
  const auto fill = [](QComboBox& box, const LogData* log) {
    box.clear();
    if (log == nullptr) return;
    for (const LogMarker& marker : log->markers) box.addItem(MarkerText(marker));
  };
  fill(*ui_->base_marker, log());
  fill(*ui_->overlay_marker, overlay());
  ui_->align_at->clear();
  ui_->align_at->addItem(tr("their starts"));
  if (ui_->base_marker->count() > 0 && ui_->overlay_marker->count() > 0)
    ui_->align_at->addItem(tr("markers"));
  EnableAlignment();
}

// Each log's marker is chosen only while aligning at markers.
void LogReviewWindow::EnableAlignment() {
  const bool at_markers = ui_->align_at->currentIndex() == kAtMarkers;
  ui_->overlay_log->setEnabled(log_.has_value());
  ui_->align_label->setEnabled(overlay_.has_value());
  ui_->align_at->setEnabled(overlay_.has_value());
  ui_->base_marker->setEnabled(at_markers);
  ui_->overlay_marker->setEnabled(at_markers);
}

void LogReviewWindow::AlignmentChosen() {
  if (ui_->align_at->currentIndex() == kAtMarkers) {
    AlignOverlayAtMarkers(
        static_cast<std::size_t>(std::max(ui_->base_marker->currentIndex(), 0)),
        static_cast<std::size_t>(std::max(ui_->overlay_marker->currentIndex(), 0)));
  } else {
    AlignOverlayAtStarts();
  }
}

void LogReviewWindow::FillMarkers() {
  ui_->markers->clear();
  if (!log_) return;
  for (const LogMarker& marker : log_->markers) ui_->markers->addItem(MarkerText(marker));
}

void LogReviewWindow::ShowCutNote() {
  QStringList cut;
  if (log_ && log_->cut) cut << log_name_;
  if (overlay_ && overlay_->cut) cut << overlay_name_;
  ui_->cut_note->setVisible(!cut.isEmpty());
  ui_->cut_note->setText(
      cut.isEmpty() ? QString()
                    : tr("The end of %1 was cut (the program or the computer stopped while "
                         "logging): every complete row is shown.")
                          .arg(cut.join(QStringLiteral(", "))));
}

void LogReviewWindow::ShowWholeLog() {
  if (!log_) return;
  const QCPRange whole = WholeRange(*log_);
  ShowTimes(whole.lower, whole.upper);
}

void LogReviewWindow::ShowTimes(double from_s, double to_s) {
  if (!(to_s - from_s >= kNarrowestView)) return;
  panels_->SetRange(QCPRange(from_s, to_s));
  ui_->plot->replot();
}

double LogReviewWindow::shown_from_s() const {
  return panels_->range().lower;
}

double LogReviewWindow::shown_to_s() const {
  return panels_->range().upper;
}

void LogReviewWindow::Zoom(double factor) {
  if (!log_ || !(factor > 0)) return;
  const QCPRange range = panels_->range();
  // Out no further than the whole log, in no nearer than a fraction of a poll.
  const double widest = WholeRange(*log_).size();
  const double width =
      std::clamp(range.size() * factor, kNarrowestView, std::max(widest, range.size()));
  const double centre = range.center();
  ShowTimes(centre - width / 2, centre + width / 2);
}

void LogReviewWindow::Pan(double fraction) {
  const QCPRange range = panels_->range();
  const double by = range.size() * fraction;
  ShowTimes(range.lower + by, range.upper + by);
}

RowRange LogReviewWindow::shown_rows() const {
  if (!log_) return {};
  const QCPRange range = panels_->range();
  return RowsBetween(log_->time_s, range.lower, range.upper);
}

void LogReviewWindow::ViewChanged() {
  ShowStats(*ui_->stats_table, log(), shown_rows());
}

void LogReviewWindow::SetCursor(std::size_t row) {
  if (!log_ || row >= log_->rows()) return;
  cursor_ = row;
  ShowCursorLines();
}

void LogReviewWindow::SetSecondCursor(std::size_t row) {
  if (!log_ || row >= log_->rows()) return;
  second_cursor_ = row;
  ShowCursorLines();
}

// One row on; the view follows a cursor that leaves it.
void LogReviewWindow::StepCursor(int rows) {
  if (!log_ || log_->rows() == 0) return;
  const auto last = static_cast<long long>(log_->rows()) - 1;
  const long long from = cursor_ ? static_cast<long long>(*cursor_) : 0;
  const auto row = static_cast<std::size_t>(std::clamp(from + rows, 0LL, last));
  SetCursor(row);
  const double at = log_->time_s[row];
  const QCPRange range = panels_->range();
  if (at < range.lower || at > range.upper) ShowTimes(at - range.size() / 2, at + range.size() / 2);
}

void LogReviewWindow::ShowCursorLines() {
  const auto time_of = [this](std::optional<std::size_t> row) -> std::optional<double> {
    if (!row || !log_) return std::nullopt;
    return log_->time_s[*row];
  };
  panels_->SetCursors(time_of(cursor_), time_of(second_cursor_));
  ShowCursors(*ui_->cursor_table, log(), cursor_, second_cursor_);
  panels_->RedrawCursors();
}

void LogReviewWindow::JumpToMarker(std::size_t index) {
  if (!log_ || index >= log_->markers.size()) return;
  const double at = log_->markers[index].time_s;
  const QCPRange range = panels_->range();
  ShowTimes(at - range.size() / 2, at + range.size() / 2);
  if (const std::optional<std::size_t> row = NearestRow(log_->time_s, at)) SetCursor(*row);
}

// A drag over a panel zooms to its span; with Ctrl it pans. The plot
// decides between the two when the button goes down.
void LogReviewWindow::PressOnPlot(QMouseEvent* event) {
  press_at_ = event->pos();
  const bool pan = event->modifiers().testFlag(Qt::ControlModifier);
  ui_->plot->setSelectionRectMode(pan ? QCP::srmNone : QCP::srmZoom);
}

// A click (a press and release in one place) puts a cursor there.
void LogReviewWindow::ReleaseOnPlot(QMouseEvent* event) {
  if (!log_ || event->button() != Qt::LeftButton) return;
  if ((event->pos() - press_at_).manhattanLength() > kClickSlack) return;
  const std::optional<double> at = panels_->TimeAt(event->position());
  if (!at) return;
  const std::optional<std::size_t> row = NearestRow(log_->time_s, *at);
  if (!row) return;
  if (event->modifiers().testFlag(Qt::ShiftModifier)) {
    SetSecondCursor(*row);
  } else {
    SetCursor(*row);
  }
}

void LogReviewWindow::keyPressEvent(QKeyEvent* event) {
  const bool control = event->modifiers().testFlag(Qt::ControlModifier);
  switch (event->key()) {
    case Qt::Key_Left:
      control ? Pan(-kPanStep) : StepCursor(-1);
      break;
    case Qt::Key_Right:
      control ? Pan(kPanStep) : StepCursor(1);
      break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      Zoom(kZoomStep);
      break;
    case Qt::Key_Minus:
      Zoom(1 / kZoomStep);
      break;
    case Qt::Key_Home:
      ShowWholeLog();
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
}

bool LogReviewWindow::WriteAtomically(const QString& path, const QByteArray& bytes) {
  // QSaveFile writes a temporary file beside `path` and renames it on commit:
  // the old file stays whole until the new one is.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    messages_.Inform(
        tr("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()),
        tr("Log review"));
    return false;
  }
  return true;
}

bool LogReviewWindow::ExportPng(const QString& path) {
  ui_->plot->replot();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!ui_->plot->toPixmap().save(&buffer, "PNG")) {
    messages_.Inform(tr("Cannot make a PNG image of the log."), tr("Log review"));
    return false;
  }
  return WriteAtomically(WithExtension(path, QStringLiteral("png")), bytes);
}

// The panels as drawn, in vectors, on one page of their own size.
bool LogReviewWindow::ExportPdf(const QString& path) {
  QCustomPlot& plot = *ui_->plot;
  const int width = std::max(plot.width(), 1);
  const int height = std::max(plot.height(), 1);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Programable Zelk"));
    writer.setTitle(windowTitle());
    writer.setPageLayout(QPageLayout(
        QPageSize(QSizeF(width, height), QPageSize::Point, QString(), QPageSize::ExactMatch),
        QPageLayout::Portrait, QMarginsF()));
    QCPPainter painter;
    if (!painter.begin(&writer)) {
      messages_.Inform(tr("Cannot make a PDF document of the log."), tr("Log review"));
      return false;
    }
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    painter.setWindow(QRect(0, 0, width, height));
    plot.toPainter(&painter, width, height);
    painter.end();
  }
  return WriteAtomically(WithExtension(path, QStringLiteral("pdf")), bytes);
}

QString LogReviewWindow::LogFilter() {
  return tr("Logs (*.csv);;All files (*)");
}

void LogReviewWindow::OpenLogClick() {
  const QString path = AskFileToOpen(this, tr("Open a log"), LogFilter());
  if (path.isEmpty()) return;
  OpenLog(path);
}

void LogReviewWindow::OverlayLogClick() {
  const QString path = AskFileToOpen(this, tr("Lay a log over this one"), LogFilter());
  if (path.isEmpty()) return;
  OverlayLog(path);
}

void LogReviewWindow::ExportClick() {
  const QString png = tr("PNG images (*.png)");
  const QString pdf = tr("PDF documents (*.pdf)");
  QString filter = png;
  const QString path =
      AskFileToSave(this, tr("Export what is shown"), png + QStringLiteral(";;") + pdf, &filter);
  if (path.isEmpty()) return;
  const QString suffix = QFileInfo(path).suffix().toLower();
  const bool as_pdf =
      suffix == QLatin1String("pdf") || (suffix != QLatin1String("png") && filter == pdf);
  as_pdf ? ExportPdf(path) : ExportPng(path);
}

bool LogReviewWindow::ExportForSpreadsheet(const QString& path) {
  if (!log_) return false;
  // A spreadsheet set to a decimal comma takes ';' between cells (the
  // Portuguese and most European settings), else ','.
  const char decimal = DecimalSeparatorOf(locale());
  const std::string decimal_separator(1, decimal);
  const std::string_view list_separator = decimal == ',' ? ";" : ",";
  const std::filesystem::path target =
      WithLogExtension(std::filesystem::path(path.toStdU16String()));
  const RowRange rows = shown_rows();
  const FileWrite written = ExportLogForSpreadsheet(target, *log_, rows.first, rows.end,
                                                    list_separator, decimal_separator);
  if (!written.ok) {
    messages_.Inform(
        tr("Cannot write %1: %2").arg(PathText(target), TranslatedMessage(written.error)), Title());
    return false;
  }
  return true;
}

void LogReviewWindow::ExportSpreadsheetClick() {
  const QString path = AskFileToSave(this, tr("Export for a spreadsheet"), tr("CSV files (*.csv)"));
  if (path.isEmpty()) return;
  ExportForSpreadsheet(path);
}

}  // namespace zelk
