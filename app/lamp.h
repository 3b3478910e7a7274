// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lamp: a small round status light, filled red or green. The main window's
// "UPM Progr.", "MAP Progr." and "Sync." lamps are Lamps; the .ui files
// declare it as a custom widget.

#include <QColor>
#include <QSize>
#include <QWidget>

class QPaintEvent;

class Lamp : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool green READ isGreen WRITE setGreen)

 public:
  explicit Lamp(QWidget* parent = nullptr);

  // Green (0, 255, 0) when true, red (255, 0, 0) when false; red at start.
  void setGreen(bool green);
  bool isGreen() const { return green_; }
  QColor color() const;

  QSize sizeHint() const override { return {14, 14}; }
  QSize minimumSizeHint() const override { return {6, 6}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool green_ = false;
};
