// SPDX-License-Identifier: GPL-3.0-or-later
// The window says what happened and asks before work is lost: the settings a
// Write will change, the ones the module did not take, the question before
// unwritten changes are dropped, a module that goes silent during a program,
// and one box for one failure.

#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include "app/lamp.h"
#include "app/status_text.h"
#include "gui_test_main.h"
#include "settings/settings_table.h"
#include "ui_Form2.h"
#include "ui_MainForm.h"
#include "ui_ProgramForm.h"
#include "ui_ProgramZelkForm.h"
#include "windows_fixture.h"

using zelk::test::Box;
using zelk::test::Windows;

namespace {

const QString kDiscard = QStringLiteral(
    "1 changed setting(s) have not been written to the module and will be lost. Go on?");

// Connected and read, the poll stopped (ticks are driven by hand).
struct Bench {
  Bench() {
    w.MainForm.SetClock([this] { return w.port.clock().now_ms(); });
    w.Connect();
    w.MainForm.lerClick();
    w.MainForm.Timer_Read().stop();
    w.messages.boxes.clear();
  }
  QLineEdit* edit(const char* name) { return w.MainForm.findChild<QLineEdit*>(name); }
  std::size_t requests() { return w.port.module().history().size(); }
  bool WroteSince(std::size_t from) {
    const auto& all = w.port.module().history();
    for (std::size_t i = from; i < all.size(); ++i) {
      if (all[i].command == 4) return true;
    }
    return false;
  }
  int CountOf(const QString& text) { return static_cast<int>(w.messages.Texts().count(text)); }

  Windows w;
};

}  // namespace

class SayAndAskTest : public QObject {
  Q_OBJECT

 private slots:
  void theWriteQuestionListsWhatWillChange() {
    Bench b;
    b.edit("temp_corr")->setText(QStringLiteral("40"));
    b.edit("tempo_partida")->setText(QStringLiteral("1200"));
    const QString temp_before =
        b.w.MainForm.last_read()
            ? QString::fromStdString(zelk::DecodeSetting(zelk::kSettings[zelk::kTempCorr],
                                                         *b.w.MainForm.last_read(), '.'))
            : QString();
    b.w.messages.answers = {false};
    b.w.MainForm.gravarClick();
    QCOMPARE(b.w.messages.boxes.size(), std::size_t{1});
    QCOMPARE(b.w.messages.boxes[0].title, QStringLiteral("Warning"));
    QCOMPARE(b.w.messages.boxes[0].text,
             QStringLiteral("Confirm Program Data !!!!\n\nInjec. Time: 1000 ms -> 1200 ms\n"
                            "Min. Temperature: %1 C -> 40 C")
                 .arg(temp_before));
  }

  void theRestoreQuestionListsWhatWillChange() {
    Bench b;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("before.zelk"));
    b.w.MainForm.SaveSettingsFile(file);
    b.w.port.module().settings()[12] = 0x5E;  // tempo_partida 1230 counts: 1008.6 ms
    b.w.port.module().settings()[13] = 0x04;
    b.w.MainForm.lerClick();
    b.w.MainForm.Timer_Read().stop();
    b.w.messages.boxes.clear();
    b.w.messages.answers = {false};
    b.w.MainForm.RestoreFromFile(file);
    QCOMPARE(b.w.messages.boxes.size(), std::size_t{1});
    QVERIFY2(b.w.messages.boxes[0].text.endsWith(QStringLiteral("\n\nInjec. Time: %1 ms -> 1000 ms")
                                                     .arg(b.edit("tempo_partida")->text())),
             qPrintable(b.w.messages.boxes[0].text));
  }

  void withNothingChangedTheQuestionIsAsEver() {
    Bench b;
    b.w.messages.answers = {true};
    b.w.MainForm.gravarClick();
    QCOMPARE(b.w.messages.boxes,
             (std::vector<Box>{{Box::ask, "Confirm Program Data !!!!", "Warning"},
                               {Box::inform, "Program OK", "Program"}}));
  }

  // A module that does not keep one setting: named with what was sent and
  // what it holds, in one box after the read back.
  void aSettingTheModuleDidNotTakeIsNamed() {
    Bench b;
    const std::uint8_t kept = b.w.port.module().settings()[12];
    const std::uint8_t kept_high = b.w.port.module().settings()[13];
    b.edit("tempo_partida")->setText(QStringLiteral("1200"));
    b.w.messages.on_box = [&](const Box& box) {
      if (box.text != QStringLiteral("Program OK")) return;
      b.w.port.module().settings()[12] = kept;  // the module put its own value back
      b.w.port.module().settings()[13] = kept_high;
    };
    b.w.messages.answers = {true};
    b.w.MainForm.gravarClick();
    QCOMPARE(b.w.messages.boxes.size(), std::size_t{3});
    QCOMPARE(b.w.messages.boxes[2],
             (Box{Box::inform, "Injec. Time: sent 1200 ms, the module holds 1000 ms", "Warning!"}));
  }

  // The actions that replace or drop the boxes ask first; No leaves everything
  // and sends nothing.
  void readAsksAndNoKeepsTheEdit() {
    Bench b;
    b.edit("temp_corr")->setText(QStringLiteral("40"));
    const std::size_t from = b.requests();
    b.w.messages.answers = {false};
    b.w.MainForm.lerClick();
    QCOMPARE(b.w.messages.boxes, (std::vector<Box>{{Box::ask, kDiscard, "Warning"}}));
    QCOMPARE(b.requests(), from);
    QCOMPARE(b.edit("temp_corr")->text(), QStringLiteral("40"));
    b.w.messages.answers = {true};
    b.w.MainForm.lerClick();
    QVERIFY(b.edit("temp_corr")->text() != QStringLiteral("40"));
  }

  void configAsks() {
    Bench b;
    b.edit("temp_corr")->setText(QStringLiteral("40"));
    b.w.messages.answers = {false};
    bool dialog_opened = false;
    QTimer::singleShot(0, &b.w.Form2, [&] {
      dialog_opened = b.w.Form2.isVisible();
      b.w.Form2.reject();
    });
    b.w.MainForm.configClick();
    QCoreApplication::processEvents();  // the dialog's closer runs, finding none
    QVERIFY(!dialog_opened);
    QCOMPARE(b.w.messages.Texts(), QStringList{kDiscard});
    QTimer::singleShot(0, &b.w.Form2, [&] {
      dialog_opened = b.w.Form2.isVisible();
      b.w.Form2.reject();
    });
    b.w.messages.answers = {true};
    b.w.MainForm.configClick();
    QVERIFY(dialog_opened);
  }

  void openAndRestoreAsk() {
    Bench b;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("s.zelk"));
    b.w.MainForm.SaveSettingsFile(file);
    b.edit("temp_corr")->setText(QStringLiteral("40"));
    b.w.messages.boxes.clear();
    b.w.messages.answers = {false};
    b.w.MainForm.OpenSettingsFile(file);
    QCOMPARE(b.w.messages.Texts(), QStringList{kDiscard});
    QCOMPARE(b.edit("temp_corr")->text(), QStringLiteral("40"));
    const std::size_t from = b.requests();
    b.w.messages.answers = {false};
    b.w.MainForm.RestoreFromFile(file);
    QCOMPARE(b.w.messages.Texts(), (QStringList{kDiscard, kDiscard}));
    QCOMPARE(b.requests(), from);
    b.w.messages.answers = {true};
    b.w.MainForm.OpenSettingsFile(file);
    QVERIFY(b.edit("temp_corr")->text() != QStringLiteral("40"));
  }

  void quitAsksAndNoKeepsTheWindowOpen() {
    Bench b;
    b.w.MainForm.show();
    b.edit("temp_corr")->setText(QStringLiteral("40"));
    b.w.messages.answers = {false};
    b.w.MainForm.sairClick();
    QVERIFY(b.w.MainForm.isVisible());
    QCOMPARE(b.w.messages.Texts(), QStringList{kDiscard});
    b.w.messages.answers = {false};
    b.w.MainForm.close();  // the title bar's close button
    QVERIFY(b.w.MainForm.isVisible());
    b.w.messages.answers = {true};
    b.w.MainForm.sairClick();
    QVERIFY(!b.w.MainForm.isVisible());
  }

  void nothingChangedNothingAsked() {
    Bench b;
    b.w.MainForm.show();
    b.w.MainForm.lerClick();
    b.w.MainForm.sairClick();
    QVERIFY(!b.w.MainForm.isVisible());
    QVERIFY(b.w.messages.boxes.empty());
  }

  // The module goes silent during the RPM program: the dialog says so after
  // three polls, Cancel says the abort did not get through, and the window
  // shows no second box and does not poll behind it.
  void aSilentModuleDuringAProgramIsSaid() {
    Bench b;
    QTimer::singleShot(0, &b.w.ProgramForm, [&] {
      QTimer::singleShot(0, &b.w.ProgramZelkForm, [&] {
        auto& form = b.w.ProgramZelkForm;
        form.Timer1().stop();
        form.Timer1Timer();
        QVERIFY(form.ui().silent_text->isHidden());
        b.w.port.module().faults().silent = true;
        form.Timer1Timer();
        form.Timer1Timer();
        QVERIFY(form.ui().silent_text->isHidden());
        form.Timer1Timer();
        QVERIFY(!form.ui().silent_text->isHidden());
        QVERIFY(form.isVisible());
        form.ui().button_Cancel->click();
      });
      b.w.messages.answers = {true};
      b.w.ProgramForm.ui().prog_type_2->click();
      b.w.ProgramForm.ui().button_OK->click();
    });
    b.w.MainForm.progClick();
    QCOMPARE(b.w.messages.Texts(),
             (QStringList{"Confirm Program Zelk !!!!",
                          "The abort did not reach the module: it may still be running the "
                          "program."}));
    QVERIFY(!b.w.MainForm.Timer_Read().isActive());
    QVERIFY(!b.w.MainForm.ui().sync->isGreen());
  }

  // The port goes during a program: after the dialog the reconnect watch
  // takes over, with no box of its own.
  void aPortGoneDuringAProgramStartsTheWatch() {
    Bench b;
    QTimer::singleShot(0, &b.w.ProgramForm, [&] {
      QTimer::singleShot(0, &b.w.ProgramZelkForm, [&] {
        auto& form = b.w.ProgramZelkForm;
        form.Timer1().stop();
        b.w.port.module().faults().hangup_after =
            static_cast<int>(b.w.port.module().counters().replies);
        for (int i = 0; i < 3; ++i) form.Timer1Timer();
        QVERIFY(!form.ui().silent_text->isHidden());
        form.ui().button_Cancel->click();
      });
      b.w.messages.answers = {true};
      b.w.ProgramForm.ui().prog_type_2->click();
      b.w.ProgramForm.ui().button_OK->click();
    });
    b.w.MainForm.progClick();
    QVERIFY(!b.w.session.connected());
    QVERIFY(b.w.MainForm.watching_port());
    QCOMPARE(b.CountOf(QStringLiteral("Communication Fail")), 0);
    QVERIFY(!b.w.MainForm.Timer_Read().isActive());
  }

  // Unplugged during a Write: one "Communication Fail", no poll behind it.
  void aWriteThatMeetsAHangUpShowsOneBox() {
    Bench b;
    b.w.MainForm.Timer_Read().start();
    b.w.port.module().faults().hangup_after =
        static_cast<int>(b.w.port.module().counters().replies);
    b.w.messages.answers = {true};
    b.w.MainForm.gravarClick();
    QCOMPARE(b.CountOf(QStringLiteral("Communication Fail")), 1);
    QVERIFY(!b.w.MainForm.Timer_Read().isActive());
    QVERIFY(b.w.MainForm.watching_port());
  }

  // The status right of the menus shows its whole text where there is room,
  // and elides it (the whole text as tooltip) only where there is not.
  void theStatusShowsItsWholeText() {
    Bench b;
    b.w.MainForm.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b.w.MainForm));
    zelk::StatusText& status = b.w.MainForm.status_text();
    const QString text = QStringLiteral("The module is back on SIM: press Read");
    status.setText(text);
    QCOMPARE(status.shown_text(), text);
    QVERIFY(status.width() >= status.fontMetrics().horizontalAdvance(text));
    QVERIFY(status.geometry().right() <= b.w.MainForm.menu_bar().width());
    QVERIFY(status.toolTip().isEmpty());
    // Too narrow: elided, and the whole text in the tooltip.
    b.w.MainForm.menu_bar().resize(b.w.MainForm.menu_bar().sizeHint().width() + 60,
                                   b.w.MainForm.menu_bar().height());
    QVERIFY(status.shown_text() != text);
    QVERIFY(status.shown_text().endsWith(QChar(0x2026)));
    QCOMPARE(status.toolTip(), text);
  }
};

ZELK_GUI_TEST_MAIN(SayAndAskTest)
#include "say_and_ask_test.moc"
