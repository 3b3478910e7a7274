// SPDX-License-Identifier: GPL-3.0-or-later
// The busy cursor: shown while an exchange with the module runs long, and
// back to normal before any box opens and after every way out.

#include <QApplication>
#include <QCursor>
#include <QToolButton>
#include <QtTest>

#include "gui_test_main.h"
#include "ui_MainForm.h"
#include "windows_fixture.h"

using zelk::test::Windows;

class BusyCursorTest : public QObject {
  Q_OBJECT

 private slots:
  void anAnsweringModuleNeverShowsIt() {
    Windows w;
    w.Connect();
    w.MainForm.lerClick();
    w.MainForm.Timer_ReadTimer();
    QCOMPARE(w.busy_cursor.times_shown(), 0);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  void aSilentModuleShowsItForEachExchangeAndNotInTheBox() {
    Windows w;
    w.Connect();
    w.port.module().faults().silent = true;
    QList<bool> cursor_in_box;
    w.messages.on_box = [&](const zelk::test::Box&) {
      cursor_in_box << (QApplication::overrideCursor() != nullptr);
    };
    w.MainForm.lerClick();  // the settings block, its box, then the snapshot
    QCOMPARE(w.messages.Texts(), (QStringList{"2.10", "Communication Fail"}));
    QCOMPARE(cursor_in_box, QList<bool>{false});
    QCOMPARE(w.busy_cursor.times_shown(), 2);
    QVERIFY(!w.busy_cursor.shown());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  void aFailedPollPutsItBackBeforeItsBox() {
    Windows w;
    w.Connect();
    w.MainForm.lerClick();
    w.port.module().faults().silent = true;
    bool cursor_in_box = true;
    w.messages.on_box = [&](const zelk::test::Box&) {
      cursor_in_box = QApplication::overrideCursor() != nullptr;
    };
    w.MainForm.Timer_ReadTimer();
    QCOMPARE(w.messages.Texts().last(), QStringLiteral("Communication Fail"));
    QVERIFY(!cursor_in_box);
    QCOMPARE(w.busy_cursor.times_shown(), 1);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }
};

ZELK_GUI_TEST_MAIN(BusyCursorTest)
#include "busy_cursor_test.moc"
