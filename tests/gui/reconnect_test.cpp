// SPDX-License-Identifier: GPL-3.0-or-later
// The main window after an unplug: "Communication Fail", then a look once a
// second for the same port, nothing sent while it is away, the version alone
// when it is back, a status text instead of a box, and Config ending it.

#include <QLabel>
#include <QtTest>

#include <QPushButton>

#include "app/status_text.h"
#include "gui_test_main.h"
#include "ui_Form2.h"
#include "ui_MainForm.h"
#include "windows_fixture.h"

using zelk::test::Box;
using zelk::test::Windows;

namespace {

// Config and Read on a module that hangs up after those three exchanges,
// then the poll that finds the port gone.
void UnplugWhilePolling(Windows& w) {
  w.MainForm.SetClock([&w] { return w.port.clock().now_ms(); });
  w.port.module().faults().hangup_after = 3;  // version, settings, instant values
  w.Connect();
  w.MainForm.lerClick();
  QVERIFY(w.MainForm.Timer_Read().isActive());
  w.MainForm.Timer_ReadTimer();
}

}  // namespace

class ReconnectTest : public QObject {
  Q_OBJECT

 private slots:
  void the_window_says_when_the_module_is_back() {
    Windows w;
    UnplugWhilePolling(w);
    QCOMPARE(w.messages.boxes.back(), (Box{Box::inform, "Communication Fail", "Fail"}));
    QVERIFY(!w.session.connected());
    QVERIFY(w.MainForm.watching_port());
    QVERIFY(w.MainForm.Timer_Reconnect().isActive());
    QCOMPARE(w.MainForm.Timer_Reconnect().interval(), 1000);
    QCOMPARE(w.MainForm.status_text().text(),
             QStringLiteral("SIM is gone: waiting for it to come back"));

    // Away: the looks send nothing.
    const std::uint64_t bytes = w.port.module().counters().bytes_received;
    const std::size_t boxes = w.messages.boxes.size();
    for (int i = 0; i < 3; ++i) w.MainForm.ReconnectLookTick();
    QCOMPARE(w.port.module().counters().bytes_received, bytes);
    QVERIFY(w.MainForm.watching_port());

    // Back: the version request alone, and a text rather than a box.
    w.port.module().faults().hangup_after = -1;
    w.port.module().Reconnect();
    const std::uint64_t requests = w.port.module().counters().requests;
    w.MainForm.ReconnectLookTick();
    QCOMPARE(w.port.module().counters().requests, requests + 1);
    QVERIFY(w.session.connected());
    QVERIFY(!w.MainForm.watching_port());
    QVERIFY(!w.MainForm.Timer_Reconnect().isActive());
    QCOMPARE(w.MainForm.status_text().text(),
             QStringLiteral("The module is back on SIM (version 2.10): press Read to refresh"));
    QCOMPARE(w.messages.boxes.size(), boxes);
    QVERIFY(!w.MainForm.Timer_Read().isActive());  // nothing read on its own

    // Read works as after a Config.
    QVERIFY(w.MainForm.ui().ler->isEnabled());
    w.MainForm.lerClick();
    QCOMPARE(w.messages.boxes.size(), boxes);
    QVERIFY(w.MainForm.Timer_Read().isActive());
    w.MainForm.Timer_Read().stop();
  }

  void the_watch_gives_up_after_ten_minutes() {
    Windows w;
    UnplugWhilePolling(w);
    QVERIFY(w.MainForm.watching_port());
    w.port.clock().Advance(10 * 60 * 1000.0 + 1);
    w.MainForm.ReconnectLookTick();
    QVERIFY(!w.MainForm.watching_port());
    QCOMPARE(w.MainForm.status_text().text(),
             QStringLiteral("SIM did not come back: press Config."));
  }

  void config_ends_the_watch() {
    Windows w;
    UnplugWhilePolling(w);
    QVERIFY(w.MainForm.watching_port());
    QTimer::singleShot(0, &w.Form2, [&w] { w.Form2.ui().button_Cancel->click(); });
    w.MainForm.configClick();
    QVERIFY(!w.MainForm.watching_port());
    QVERIFY(!w.MainForm.Timer_Reconnect().isActive());
    QVERIFY(w.MainForm.status_text().text().isEmpty());
  }

  void a_silent_module_starts_no_watch() {
    Windows w;
    w.Connect();
    w.MainForm.lerClick();
    w.port.module().faults().silent = true;
    w.MainForm.Timer_ReadTimer();
    QCOMPARE(w.messages.boxes.back(), (Box{Box::inform, "Communication Fail", "Fail"}));
    QVERIFY(!w.MainForm.watching_port());
    QVERIFY(w.MainForm.status_text().text().isEmpty());
  }
};

ZELK_GUI_TEST_MAIN(ReconnectTest)
#include "reconnect_test.moc"
