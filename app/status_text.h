// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The line right of the menus where the window says what it is doing
// ("Logging to ...", "The module is back on ...: press Read"). It places
// itself in the space the menus leave, so its whole text shows whenever that
// space is wide enough, and it is elided (the whole text as its tooltip)
// only when the window is too narrow. A menu bar's corner widget keeps the
// width of its first text under some window managers, which cut later texts
// to their first letter.

#include <QString>
#include <QWidget>

class QMenuBar;

namespace zelk {

class StatusText : public QWidget {
  Q_OBJECT

 public:
  explicit StatusText(QMenuBar& bar);

  void setText(const QString& text);
  void clear() { setText({}); }
  // The status, whether or not it fits.
  const QString& text() const { return text_; }
  // The vehicle on the bench ("Vehicle: ABC1D23"), shown before the status
  // and kept while the status changes; empty when none is chosen.
  void setBench(const QString& bench);
  const QString& bench() const { return bench_; }
  // The settings the window holds without a module read ("Offline:
  // before.zelk"), shown after the bench; empty when it holds none.
  void setPrepared(const QString& prepared);
  const QString& prepared() const { return prepared_; }
  // What is drawn: the bench and the status, or their elided form.
  const QString& shown_text() const { return shown_; }

  QSize sizeHint() const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // Right-aligned in the menu bar, from the end of its last menu.
  void Place();
  QString Whole() const;

  QMenuBar& bar_;
  QString text_;
  QString bench_;
  QString prepared_;
  QString shown_;
};

}  // namespace zelk
