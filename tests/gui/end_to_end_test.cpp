// SPDX-License-Identifier: GPL-3.0-or-later
// The configurator against zelk-sim over a real pseudo-terminal: the serial
// code, the timers and the windows together, as a technician uses them.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

#include "app/Porta_serial.h"
#include "app/Principal.h"
#include "app/Program.h"
#include "app/Zelkprogram.h"
#include "app/busy_cursor.h"
#include "app/lamp.h"
#include "app/windows.h"
#include "gui_test_main.h"
#include "recorded_messages.h"
#include "session/session.h"
#include "support/sim_process.h"
#include "ui_Form2.h"
#include "ui_MainForm.h"
#include "ui_ProgramForm.h"
#include "ui_ProgramZelkForm.h"

using zelk::test::Box;

namespace {

// zelk-sim on a pty in a temporary directory, stopped with the test.
class Simulator {
 public:
  explicit Simulator(const std::vector<std::string>& extra) : process_(ZELK_SIM_PATH) {
    std::string error;
    ready_ = process_.Start(extra, error);
    if (!ready_) qWarning("%s", error.c_str());
  }
  QString link() const { return QString::fromStdString(process_.link()); }
  bool ready() const { return ready_; }

 private:
  zelk::testing::SimProcess process_;
  bool ready_ = false;
};

struct RealSession {
  RealSession() : busy_cursor(session) {}
  zelk::test::RecordedMessages messages;
  zelk::Session session;
  zelk::BusyCursor busy_cursor;
};

struct RealWindows : RealSession, zelk::Windows {
  RealWindows() : zelk::Windows(messages, session, {}) {}
};

QString Text(zelk::TMainForm& form, const char* edit) {
  return form.findChild<QLineEdit*>(QString::fromLatin1(edit))->text();
}

}  // namespace

class EndToEndTest : public QObject {
  Q_OBJECT

 private slots:
  void configReadPollWriteAndReadBack() {
    Simulator sim({});
    QVERIFY(sim.ready());
    RealWindows w;
    auto& ui = w.MainForm.ui();

    QTimer::singleShot(0, &w.Form2, [&] {
      w.Form2.ui().combo_porta->setEditText(sim.link());
      w.Form2.ui().button_OK->click();
    });
    w.MainForm.configClick();
    QCOMPARE(w.messages.boxes, (std::vector<Box>{{Box::inform, "2.10", "Version"}}));
    QVERIFY(ui.ler->isEnabled());

    w.MainForm.lerClick();
    QCOMPARE(w.messages.boxes.size(), std::size_t{1});
    QCOMPARE(Text(w.MainForm, "tempo_partida"), QStringLiteral("1000"));
    QCOMPARE(Text(w.MainForm, "porc_mistura"), QStringLiteral("37.5"));
    QVERIFY(ui.sync->isGreen());
    QVERIFY(w.MainForm.Timer_Read().isActive());

    // Three ticks of the real 500 ms poll.
    int ticks = 0;
    QObject::connect(&w.MainForm.Timer_Read(), &QTimer::timeout, [&ticks] { ++ticks; });
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, 10000);
    QVERIFY(!Text(w.MainForm, "atual_rpm").isEmpty());
    QVERIFY(Text(w.MainForm, "atual_rpm") != QStringLiteral("0"));
    QVERIFY(w.messages.boxes.size() == 1);

    ui.tempo_partida->setText(QStringLiteral("1500"));
    ui.rpmup->click();  // idle 850 -> 875
    const QString idle = Text(w.MainForm, "rpm_adj");
    w.messages.answers = {true};
    w.MainForm.gravarClick();
    // The question names what will change.
    QCOMPARE(w.messages.Texts().mid(1),
             (QStringList{"Confirm Program Data !!!!\n\nInjec. Time: 1000 ms -> 1500 ms\n"
                          "Idle RPM: 850 RPM -> 875 RPM",
                          "Program OK"}));
    QCOMPARE(Text(w.MainForm, "tempo_partida"), QStringLiteral("1500"));
    QVERIFY(qAbs(Text(w.MainForm, "rpm_adj").toInt() - idle.toInt()) <= 1);
    QVERIFY(w.MainForm.Timer_Read().isActive());
  }

  void mapProgramRunsToCompletionOverThePty() {
    Simulator sim({"--map-program-ms", "3000"});
    QVERIFY(sim.ready());
    RealWindows w;
    QTimer::singleShot(0, &w.Form2, [&] {
      w.Form2.ui().combo_porta->setEditText(sim.link());
      w.Form2.ui().button_OK->click();
    });
    w.MainForm.configClick();
    QVERIFY(w.session.module_answered());

    bool prompts_seen = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      prompts_seen = prompts_seen || !w.ProgramZelkForm.ui().mensagem2->isHidden();
    });
    watch.start(50);
    // A guard: should the run never end, Cancel it so the test fails instead of hanging.
    QTimer::singleShot(30000, &w.ProgramZelkForm, [&] {
      if (w.ProgramZelkForm.isVisible()) w.ProgramZelkForm.button_CancelClick();
    });
    QTimer::singleShot(0, &w.ProgramForm, [&] {
      w.ProgramForm.ui().prog_type_3->click();
      w.messages.answers = {true};
      w.ProgramForm.ui().button_OK->click();
    });
    w.MainForm.progClick();
    QCOMPARE(w.messages.boxes.back(), (Box{Box::inform, "Programming Completed!", "Finished"}));
    QVERIFY(prompts_seen);
    QVERIFY(w.MainForm.Timer_Read().isActive());
    w.MainForm.Timer_Read().stop();
    w.MainForm.lerClick();
    QVERIFY(w.MainForm.ui().map_prg->isGreen());
  }
};

ZELK_GUI_TEST_MAIN(EndToEndTest)
#include "end_to_end_test.moc"
