// SPDX-License-Identifier: GPL-3.0-or-later
// The live-values poll has one owner and one rule: every operation pauses it
// (no box is ever shown while it runs), and afterwards it runs where the
// operation lets it and never behind a communication failure. First the rule
// alone, on the controller; then every operation of the window against the
// simulated module, with and without a failure.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <array>
#include <functional>

#include "app/lamp.h"
#include "app/poll_controller.h"
#include "gui_test_main.h"
#include "ui_MainForm.h"
#include "ui_ProgramForm.h"
#include "windows_fixture.h"

using zelk::PollController;
using zelk::PollPause;
using zelk::test::Box;
using zelk::test::Windows;
using Then = PollPause::Then;

namespace {

// ---- The controller alone ------------------------------------------------

struct Poll {
  bool connected = true;
  int stalled = 0;
  PollController controller{[this] { return connected; }, [this] { ++stalled; }};
};

struct RuleCase {
  const char* name;
  bool running_before;
  bool connected;
  void (*operation)(PollController&);
  bool running_after;
  bool stalled;  // the Sync lamp told that live data stopped
};

const std::array<RuleCase, 13> kRuleCases{{
    {"as before: was running", true, true,
     [](PollController& p) { PollPause pause(p, Then::as_before); }, true, false},
    {"as before: was stopped", false, true,
     [](PollController& p) { PollPause pause(p, Then::as_before); }, false, false},
    {"run: was stopped", false, true, [](PollController& p) { PollPause pause(p, Then::run); },
     true, false},
    {"live data came", false, true,
     [](PollController& p) {
       PollPause pause(p, Then::as_before);
       p.Run();
     },
     true, false},
    {"failed", true, true,
     [](PollController& p) {
       PollPause pause(p, Then::run);
       pause.Failed();
     },
     false, true},
    {"failed after live data came", true, true,
     [](PollController& p) {
       PollPause pause(p, Then::run);
       p.Run();
       pause.Failed();
     },
     false, true},
    {"ended", true, true,
     [](PollController& p) {
       PollPause pause(p, Then::run);
       pause.EndStopped();
     },
     false, false},
    {"ended and failed", true, true,
     [](PollController& p) {
       PollPause pause(p, Then::as_before);
       pause.EndStopped();
       pause.Failed();
     },
     false, true},
    {"line closed", true, false, [](PollController& p) { PollPause pause(p, Then::run); }, false,
     true},
    {"line closed, poll was stopped", false, false,
     [](PollController& p) { PollPause pause(p, Then::as_before); }, false, false},
    {"inner failure reaches the outer", true, true,
     [](PollController& p) {
       PollPause outer(p, Then::as_before);
       {
         PollPause inner(p, Then::as_before);
         inner.Failed();
       }
     },
     false, true},
    {"inner that runs it", false, true,
     [](PollController& p) {
       PollPause outer(p, Then::as_before);
       PollPause inner(p, Then::run);
     },
     true, false},
    {"the tick's own failure", true, true, [](PollController& p) { p.StopAfterFailure(); }, false,
     true},
}};

// ---- Every operation of the window ----------------------------------------

enum class Fault {
  none,
  silent,             // the module stops answering before the operation
  settings_read_lost  // the next settings read goes unanswered, the module then answers
};

// Connected and read, the poll as the case needs it, a settings file saved.
struct Bench {
  explicit Bench(bool polling) {
    w.Connect();
    w.MainForm.lerClick();
    w.MainForm.SaveSettingsFile(file);
    if (!polling) w.MainForm.Timer_Read().stop();
    w.messages.boxes.clear();
  }
  QTemporaryDir dir;
  QString file = dir.filePath(QStringLiteral("car.zelk"));
  Windows w;
  std::function<void(const Box&)> at_box;  // a case's own hook
  QStringList shown_while_polling;         // boxes and dialogs
  void Shown(const QString& what) {
    if (w.MainForm.Timer_Read().isActive()) shown_while_polling << what;
  }
};

// Runs the program dialog as Program does, with `drive` inside it.
void Program(Bench& b, void (*drive)(Bench&)) {
  QTimer::singleShot(0, &b.w.ProgramForm, [&b, drive] { drive(b); });
  b.w.MainForm.progClick();
}

void ResetProgram(Bench& b) {
  Program(b, [](Bench& bench) {
    bench.w.messages.answers = {true};
    bench.w.ProgramForm.ui().prog_type_1->click();
    bench.w.ProgramForm.ui().button_OK->click();
  });
}

struct OperationCase {
  const char* name;
  bool running_before;
  Fault fault;
  void (*operation)(Bench&);
  bool running_after;
  bool sync_after;
};

const std::array<OperationCase, 23> kOperationCases{{
    {"Read", false, Fault::none, [](Bench& b) { b.w.MainForm.lerClick(); }, true, true},
    {"Read: silent module", true, Fault::silent, [](Bench& b) { b.w.MainForm.lerClick(); }, false,
     false},
    {"Read: settings lost, snapshot came", false, Fault::settings_read_lost,
     [](Bench& b) { b.w.MainForm.lerClick(); }, true, true},
    {"Read: edits kept (No)", true, Fault::none,
     [](Bench& b) {
       b.w.MainForm.findChild<QLineEdit*>(QStringLiteral("temp_corr"))->setText("40");
       b.w.MainForm.lerClick();
     },
     true, true},
    {"Write", false, Fault::none,
     [](Bench& b) {
       b.w.messages.answers = {true};
       b.w.MainForm.gravarClick();
     },
     true, true},
    {"Write: silent module", true, Fault::silent,
     [](Bench& b) {
       b.w.messages.answers = {true};
       b.w.MainForm.gravarClick();
     },
     false, false},
    {"Write: answered No", false, Fault::none, [](Bench& b) { b.w.MainForm.gravarClick(); }, true,
     true},
    {"Restore", true, Fault::none,
     [](Bench& b) {
       b.w.messages.answers = {true};
       b.w.MainForm.RestoreFromFile(b.file);
     },
     true, true},
    {"Restore: poll was stopped", false, Fault::none,
     [](Bench& b) {
       b.w.messages.answers = {true};
       b.w.MainForm.RestoreFromFile(b.file);
     },
     false, true},
    {"Restore: silent module", true, Fault::silent,
     [](Bench& b) {
       b.w.messages.answers = {true};
       b.w.MainForm.RestoreFromFile(b.file);
     },
     false, false},
    {"Program", false, Fault::none, ResetProgram, true, true},
    {"Program: silent module", true, Fault::silent, ResetProgram, false, false},
    {"Program: the read after it fails", true, Fault::none,
     [](Bench& b) {
       b.at_box = [&b](const Box& box) {
         if (box.text == QStringLiteral("Program OK")) b.w.port.module().faults().silent = true;
       };
       ResetProgram(b);
     },
     false, false},
    {"Program: cancelled", false, Fault::none,
     [](Bench& b) {
       Program(b, [](Bench& bench) { bench.w.ProgramForm.ui().button_Cancel->click(); });
     },
     true, true},
    {"Config", true, Fault::none, [](Bench& b) { b.w.Connect(); }, true, true},
    {"Config: poll was stopped", false, Fault::none, [](Bench& b) { b.w.Connect(); }, false, true},
    // No module: the poll stops, the lamps keep their colours.
    {"Config: no such port", true, Fault::none,
     [](Bench& b) { b.w.Connect(QStringLiteral("nope")); }, false, true},
    {"File > Open: dialog cancelled", true, Fault::none,
     [](Bench& b) {
       QTimer::singleShot(0, [&b] {
         auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
         QVERIFY(dialog != nullptr);
         b.Shown(QStringLiteral("file dialog"));
         dialog->reject();
       });
       b.w.MainForm.menu_bar()
           .findChild<QAction*>(QStringLiteral("action_open_settings"))
           ->trigger();
     },
     true, true},
    {"Quit: edits kept (No)", true, Fault::none,
     [](Bench& b) {
       b.w.MainForm.findChild<QLineEdit*>(QStringLiteral("temp_corr"))->setText("40");
       b.w.MainForm.show();
       b.w.MainForm.sairClick();
     },
     true, true},
    {"Quit", true, Fault::none,
     [](Bench& b) {
       b.w.MainForm.show();
       b.w.MainForm.sairClick();
     },
     false, true},
    {"poll tick", true, Fault::none, [](Bench& b) { b.w.MainForm.Timer_ReadTimer(); }, true, true},
    {"poll tick: silent module", true, Fault::silent,
     [](Bench& b) { b.w.MainForm.Timer_ReadTimer(); }, false, false},
    {"poll rate", true, Fault::none,
     [](Bench& b) {
       b.w.MainForm.findChild<QAction*>(QStringLiteral("action_poll_200"))->trigger();
     },
     true, true},
}};

}  // namespace

class PollOwnerTest : public QObject {
  Q_OBJECT

 private slots:
  void theRule_data() {
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < kRuleCases.size(); ++i)
      QTest::newRow(kRuleCases[i].name) << static_cast<int>(i);
  }
  void theRule() {
    QFETCH(int, index);
    const RuleCase& c = kRuleCases[static_cast<std::size_t>(index)];
    Poll poll;
    poll.connected = c.connected;
    if (c.running_before) poll.controller.timer().start();
    c.operation(poll.controller);
    QCOMPARE(poll.controller.running(), c.running_after);
    QCOMPARE(poll.stalled, c.stalled ? 1 : 0);
  }

  void aPauseHoldsThePollUntilItEnds() {
    Poll poll;
    poll.controller.timer().start();
    {
      PollPause outer(poll.controller, Then::as_before);
      QVERIFY(!poll.controller.running());
      {
        PollPause inner(poll.controller, Then::run);
        poll.controller.Run();
      }
      QVERIFY(!poll.controller.running());  // the outer operation still runs
    }
    QVERIFY(poll.controller.running());
    QCOMPARE(poll.controller.timer().interval(), 500);
  }

  void everyOperation_data() {
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < kOperationCases.size(); ++i)
      QTest::newRow(kOperationCases[i].name) << static_cast<int>(i);
  }
  void everyOperation() {
    QFETCH(int, index);
    const OperationCase& c = kOperationCases[static_cast<std::size_t>(index)];
    Bench b(c.running_before);
    QCOMPARE(b.w.MainForm.Timer_Read().isActive(), c.running_before);
    b.w.messages.on_box = [&b](const Box& box) {
      b.Shown(box.text);
      if (b.at_box) b.at_box(box);
    };
    zelk::sim::FaultModes& faults = b.w.port.module().faults();
    faults.silent = c.fault == Fault::silent;
    faults.no_reply_first = c.fault == Fault::settings_read_lost ? 3 : 0;
    c.operation(b);
    QVERIFY2(b.shown_while_polling.isEmpty(), qPrintable(b.shown_while_polling.join(" | ")));
    QCOMPARE(b.w.MainForm.Timer_Read().isActive(), c.running_after);
    QCOMPARE(b.w.MainForm.ui().sync->isGreen(), c.sync_after);
    // One failure, one box.
    QVERIFY(b.w.messages.Texts().count(QStringLiteral("Communication Fail")) <= 1);
  }
};

ZELK_GUI_TEST_MAIN(PollOwnerTest)

#include "poll_owner_test.moc"
