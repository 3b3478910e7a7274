// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A log written by this program, opened for review in a window of its own:
// the six values in stacked panels on one time axis (a zoom or pan moves
// them all), a cursor locked by a click with the values there, a second
// cursor (Shift+click) with the differences, the minimum, maximum and mean
// of what is shown, the markers set while logging, and a second log laid
// over the first, aligned at their starts or at a marker chosen in each.
//
// Keys: Left/Right step the cursor a row, Ctrl+Left/Right pan, + and - zoom,
// Home shows the whole log. A drag over a panel zooms to its span, a
// Ctrl+drag pans, the wheel zooms.

#include <QString>
#include <QWidget>
#include <cstddef>
#include <memory>
#include <optional>

#include "app/log_rows.h"
#include "monitor/log_reader.h"

namespace Ui {
class LogReviewWindow;
}
class QCustomPlot;
class QLabel;
class QListWidget;
class QTableWidget;

namespace zelk {

class LogPanels;
class Messages;

class LogReviewWindow : public QWidget {
  Q_OBJECT

 public:
  explicit LogReviewWindow(Messages& messages, QWidget* parent = nullptr);
  ~LogReviewWindow() override;

  // A window of its own for the log at `path`, shown, deleted when closed;
  // null, after a box naming why, when the file is not one of our logs.
  static LogReviewWindow* ShowLog(QWidget* parent, Messages& messages, const QString& path);

  // Replaces the log shown (and drops a log laid over it); false, with a box
  // naming why and the window as it was, for a file that is not one of ours.
  bool OpenLog(const QString& path);
  // Lays a second log over the first, aligned at their starts; false, with a
  // box and nothing changed, for a file that is not one of ours or with no
  // log open.
  bool OverlayLog(const QString& path);
  void AlignOverlayAtStarts();
  // Moves the overlaid log so that its marker falls on this log's; false,
  // with nothing moved, without such markers.
  bool AlignOverlayAtMarkers(std::size_t base_marker, std::size_t overlay_marker);
  // Seconds added to the overlaid log's times.
  double overlay_offset_s() const { return overlay_offset_s_; }

  // The view, in seconds since the log's start.
  void ShowWholeLog();
  void ShowTimes(double from_s, double to_s);
  double shown_from_s() const;
  double shown_to_s() const;
  // Narrows (factor < 1) or widens the view around its centre.
  void Zoom(double factor);
  // Moves the view by `fraction` of its width (negative: earlier).
  void Pan(double fraction);
  // The rows the view shows.
  RowRange shown_rows() const;

  // The cursors, by row; the second one's differences are to the first.
  void SetCursor(std::size_t row);
  void SetSecondCursor(std::size_t row);
  void StepCursor(int rows);
  std::optional<std::size_t> cursor_row() const { return cursor_; }
  std::optional<std::size_t> second_cursor_row() const { return second_cursor_; }

  // Centres the view on the marker and puts the cursor there.
  void JumpToMarker(std::size_t index);

  // What is shown, written atomically; a name without an extension gets
  // ".png" or ".pdf". False, with a box, when it cannot be written.
  bool ExportPng(const QString& path);
  bool ExportPdf(const QString& path);
  // The rows shown, for a spreadsheet: the user's decimal separator, and ';'
  // between cells where that is a comma; a name without an extension gets
  // ".csv". False, with a box, when it cannot be written.
  bool ExportForSpreadsheet(const QString& path);

  const LogData* log() const { return log_ ? &*log_ : nullptr; }
  const LogData* overlay() const { return overlay_ ? &*overlay_ : nullptr; }
  QCustomPlot& plot();
  LogPanels& panels() { return *panels_; }
  QTableWidget& cursor_table();
  QTableWidget& stats_table();
  QListWidget& marker_list();
  QLabel& cut_note();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::optional<LogData> Read(const QString& path);
  void ViewChanged();
  void ShowCursorLines();
  void FillMarkers();
  void FillAlignment();
  void EnableAlignment();
  void AlignmentChosen();
  void ShowCutNote();
  void PressOnPlot(QMouseEvent* event);
  void ReleaseOnPlot(QMouseEvent* event);
  static QString LogFilter();  // the file dialogs' filter for logs
  void OpenLogClick();
  void OverlayLogClick();
  void ExportClick();
  void ExportSpreadsheetClick();
  bool WriteAtomically(const QString& path, const QByteArray& bytes);
  QString Title() const;

  std::unique_ptr<Ui::LogReviewWindow> ui_;
  Messages& messages_;
  LogPanels* panels_ = nullptr;  // owned by the plot
  std::optional<LogData> log_;
  std::optional<LogData> overlay_;
  QString log_name_;
  QString overlay_name_;
  double overlay_offset_s_ = 0;
  std::optional<std::size_t> cursor_;
  std::optional<std::size_t> second_cursor_;
  QPoint press_at_;
};

}  // namespace zelk
