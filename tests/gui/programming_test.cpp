// SPDX-License-Identifier: GPL-3.0-or-later
// The programming dialogs: the mixture byte and the reset as single requests,
// and the RPM/lambda and MAP programs followed tick by tick to their end or
// to Cancel. Ticks are driven directly; the module's clock is virtual.

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <optional>

#include "app/Program.h"
#include "app/lamp.h"
#include "gui_test_main.h"
#include "settings/settings_block.h"
#include "ui_MainForm.h"
#include "ui_ProgramForm.h"
#include "ui_ProgramZelkForm.h"
#include "windows_fixture.h"

using zelk::test::Box;
using zelk::test::Windows;

namespace {

zelk::sim::EngineModelSettings ShortPrograms() {
  zelk::sim::EngineModelSettings engine;
  engine.rpm_program_ms = 2000;
  engine.map_program_ms = 6000;
  engine.map_prompt_from = 0.25;  // prompts from 1.5 s ...
  engine.map_prompt_to = 0.7;     // ... to 4.2 s
  return engine;
}

struct Programming {
  Programming() : w({"SIM"}, ShortPrograms()) {
    w.Connect();
    w.messages.boxes.clear();
  }

  std::vector<zelk::sim::Request> RequestsSince(std::size_t from) {
    const auto& all = w.port.module().history();
    return {all.begin() + static_cast<std::ptrdiff_t>(from), all.end()};
  }

  // Presses OK with program `type` (and `mix`), answering the question with
  // `yes`. While the progress dialog runs, `during_run` drives it.
  void Start(int type, bool yes, int mix = 0, std::function<void()> during_run = {}) {
    w.ProgramForm.findChild<QRadioButton*>(QStringLiteral("prog_type_%1").arg(type))->click();
    w.ProgramForm.findChild<QRadioButton*>(QStringLiteral("mix_values_%1").arg(mix))
        ->setChecked(true);
    w.messages.answers = {yes};
    if (during_run) {
      QTimer::singleShot(0, &w.ProgramZelkForm, [this, during_run] {
        timer_started_at_show = w.ProgramZelkForm.Timer1().isActive();
        w.ProgramZelkForm.Timer1().stop();  // the test ticks by hand
        during_run();
        // A failed check must not leave the modal dialog waiting forever.
        if (w.ProgramZelkForm.isVisible()) w.ProgramZelkForm.button_CancelClick();
      });
    }
    w.ProgramForm.button_OKClick();
  }

  // One tick, `advance_ms` of module time after the previous one.
  void Tick(double advance_ms = 500) {
    w.port.clock().Advance(advance_ms);
    w.ProgramZelkForm.Timer1Timer();
  }
  bool PromptsShown() {
    auto& ui = w.ProgramZelkForm.ui();
    return !ui.mensagem2->isHidden() && !ui.mensagem3->isHidden();
  }
  bool PromptsHidden() {
    auto& ui = w.ProgramZelkForm.ui();
    return ui.mensagem2->isHidden() && ui.mensagem3->isHidden();
  }

  Windows w;
  bool timer_started_at_show = false;
};

}  // namespace

class ProgrammingTest : public QObject {
  Q_OBJECT

 private slots:
  // The module's own correction limit, read first as no Read was made since
  // Config.: 50 % is count 32, and 10.9375 % (count 7) the lowest limit an
  // entry of 10 stores.
  void mixtureBytes_data() {
    QTest::addColumn<int>("limit_count");
    QTest::addColumn<QList<int>>("bytes");
    QTest::newRow("L 50") << 32 << QList<int>{1, 8, 16, 24, 31};
    QTest::newRow("L 10.9375") << 7 << QList<int>{1, 2, 4, 5, 6};
  }
  void mixtureBytes() {
    QFETCH(int, limit_count);
    QFETCH(QList<int>, bytes);
    for (int mix = 0; mix < 5; ++mix) {
      Programming p;
      p.w.port.module().settings()[3] = static_cast<std::uint8_t>(limit_count);
      const std::size_t before = p.w.port.module().history().size();
      p.Start(0, true, mix);
      const auto sent = p.RequestsSince(before);
      QCOMPARE(sent.size(), std::size_t{2});
      QCOMPARE(sent[0].command, 1);
      QCOMPARE(sent[1].command, 4);
      QCOMPARE(sent[1].address, 3);
      QCOMPARE(sent[1].payload, std::vector<std::uint8_t>{static_cast<std::uint8_t>(bytes[mix])});
      QCOMPARE(p.w.port.module().settings()[zelk::kMixtureOffset], bytes[mix]);
      QCOMPARE(p.w.messages.boxes,
               (std::vector<Box>{{Box::ask, "Confirm Program Zelk !!!!", "Warning"},
                                 {Box::inform, "Program OK", "Program"}}));
    }
  }

  // The mixture program writes the module's mixture byte alone; a Write
  // after it, without a Read, must carry the new byte, not the one last read.
  void aWriteAfterTheMixtureProgramKeepsItsByte() {
    Programming p;
    p.w.MainForm.lerClick();
    const std::uint8_t read_byte = p.w.session.settings_block()[zelk::kMixtureOffset];
    p.Start(0, true, 4);  // 100 % at limit 50: 31
    QCOMPARE(p.w.port.module().settings()[zelk::kMixtureOffset], 31);
    QVERIFY(read_byte != 31);
    QCOMPARE(p.w.session.settings_block()[zelk::kMixtureOffset], 31);
    const std::size_t from = p.w.port.module().history().size();
    p.w.messages.answers = {true};
    p.w.MainForm.gravarClick();
    const auto sent = p.RequestsSince(from);
    QVERIFY(sent.size() >= 2);
    QCOMPARE(sent[0].command, 1);  // the module's own bytes, read just before
    QCOMPARE(sent[1].command, 4);
    QCOMPARE(sent[1].payload[zelk::kMixtureOffset], 31);
    QCOMPARE(p.w.port.module().settings()[zelk::kMixtureOffset], 31);
  }

  void aFailedMixtureWriteLeavesTheBlockAlone() {
    Programming p;
    p.w.MainForm.lerClick();
    const auto block = p.w.session.settings_block();
    p.w.port.module().faults().silent = true;
    p.Start(0, true, 4);
    QCOMPARE(p.w.messages.boxes.back().text, QStringLiteral("Communication Fail"));
    QCOMPARE(p.w.session.settings_block(), block);
  }

  // The dialog alone, with the limit it is given: the mixture byte follows
  // that limit; without one (its read failed, its box shown) nothing is sent.
  void theDialogTakesTheLimitItIsGiven() {
    for (const std::optional<double> limit : {std::optional<double>(10), std::optional<double>()}) {
      zelk::test::RecordedMessages messages;
      zelk::sim::SimulatedPort port;
      zelk::Session session(port.Opener());
      QVERIFY(session.Open("SIM").ok());
      int asked = 0;
      zelk::TProgramForm form(messages, session, [&] {
        ++asked;
        return limit;
      });
      form.ui().prog_type_0->click();
      form.ui().mix_values_4->setChecked(true);
      messages.answers = {true};
      form.button_OKClick();
      QCOMPARE(asked, 1);
      if (limit) {
        QCOMPARE(port.module().history().size(), std::size_t{1});
        QCOMPARE(port.module().history()[0].payload, std::vector<std::uint8_t>{6});
        QVERIFY(form.ran() && !form.failed());
      } else {
        QVERIFY(port.module().history().empty());
        QVERIFY(!form.ran() && form.failed());
        QCOMPARE(messages.Texts(), QStringList{"Confirm Program Zelk !!!!"});
      }
    }
  }

  void answeringNoSendsNothing() {
    Programming p;
    const std::size_t before = p.w.port.module().history().size();
    p.Start(1, false);
    QVERIFY(p.RequestsSince(before).empty());
    QCOMPARE(p.w.messages.Texts(), QStringList{"Confirm Program Zelk !!!!"});
  }

  void resetSendsTheProgramControlZero() {
    Programming p;
    const std::size_t before = p.w.port.module().history().size();
    p.Start(1, true);
    const auto sent = p.RequestsSince(before);
    QCOMPARE(sent.size(), std::size_t{1});
    QCOMPARE(sent[0].command, 13);
    QCOMPARE(sent[0].address, 1);
    QCOMPARE(sent[0].payload, std::vector<std::uint8_t>{0});
    QCOMPARE(p.w.messages.Texts().last(), QStringLiteral("Program OK"));
  }

  void mixGroupFollowsTheProgramTypeAndPersists() {
    Programming p;
    auto& ui = p.w.ProgramForm.ui();
    QVERIFY(ui.mix_values->isEnabled());
    ui.prog_type_2->click();
    QVERIFY(!ui.mix_values->isEnabled());
    ui.prog_type_0->click();
    QVERIFY(ui.mix_values->isEnabled());
    ui.prog_type_3->click();
    p.w.ProgramForm.button_CancelClick();
    QCOMPARE(p.w.ProgramForm.ProgramType(), zelk::ProgramKind::map);
    QVERIFY(!ui.mix_values->isEnabled());
  }

  // The limit in the box is the technician's, perhaps not written: after a
  // Read the mixture follows the limit the module holds.
  void anUnwrittenLimitInTheBoxDoesNotChangeTheMixture() {
    Programming p;
    p.w.MainForm.lerClick();
    p.w.MainForm.ui().limite_corr->setText(QStringLiteral("abc"));
    const std::size_t before = p.w.port.module().history().size();
    p.Start(0, true, 4);
    const auto sent = p.RequestsSince(before);
    QCOMPARE(sent.size(), std::size_t{1});
    QCOMPARE(sent[0].payload, std::vector<std::uint8_t>{31});  // module limit 50
  }

  void failedStartOpensNoProgressDialog() {
    Programming p;
    p.w.port.module().faults().silent = true;
    bool progress_shown = false;
    p.Start(3, true, 0, [&] { progress_shown = true; });
    QVERIFY(!progress_shown);
    QCOMPARE(p.w.messages.Texts().last(), QStringLiteral("Communication Fail"));
    QVERIFY(!p.w.ProgramZelkForm.Timer1().isActive());
  }

  void rpmProgramRunsToCompletion() {
    Programming p;
    int ticks = 0;
    bool timer_stopped_at_box = false;
    p.w.messages.on_box = [&](const Box& box) {
      if (box.text == QStringLiteral("Programming Completed!")) {
        timer_stopped_at_box = !p.w.ProgramZelkForm.Timer1().isActive();
      }
    };
    p.Start(2, true, 0, [&] {
      QCOMPARE(p.w.ProgramZelkForm.ui().mensagem->text(), QStringLiteral("RPM/Lambda Programming"));
      QVERIFY(p.w.ProgramZelkForm.program == zelk::EngineProgram::rpm_lambda);
      p.w.ProgramZelkForm.Timer1().start();  // as Completed must find it running
      while (p.w.ProgramZelkForm.isVisible() && ticks < 20) {
        p.Tick();
        ++ticks;
      }
    });
    QVERIFY(p.timer_started_at_show);
    QVERIFY(ticks >= 4 && ticks <= 6);  // 2 s of program at 500 ms a tick
    QVERIFY(timer_stopped_at_box);
    QCOMPARE(p.w.messages.boxes.back(), (Box{Box::inform, "Programming Completed!", "Finished"}));
    QVERIFY(!p.w.ProgramForm.isVisible());
    QVERIFY(p.PromptsHidden());
    QVERIFY(p.w.ProgramZelkForm.ui().atual_temp->text() != QStringLiteral("0"));
  }

  void modesLookOnlyAtTheirOwnBits() {
    // The module runs the MAP program (bits 0 and 1), the dialog follows the
    // RPM program: bit 6 is clear, so it is over at the first status.
    {
      Programming p;
      QVERIFY(p.w.session.StartProgram(zelk::EngineProgram::map).ok());
      p.w.ProgramZelkForm.program = zelk::EngineProgram::rpm_lambda;
      p.Tick(2000);  // inside the prompt phase
      QCOMPARE(p.w.messages.Texts().last(), QStringLiteral("Programming Completed!"));
    }
    // And the other way round: bit 6 set means nothing to the MAP mode.
    {
      Programming p;
      QVERIFY(p.w.session.StartProgram(zelk::EngineProgram::rpm_lambda).ok());
      p.w.ProgramZelkForm.program = zelk::EngineProgram::map;
      p.Tick(100);
      QCOMPARE(p.w.messages.Texts().last(), QStringLiteral("Programming Completed!"));
    }
  }

  void mapPromptsFlashTogetherAndFreezeWhenTheModuleStopsAsking() {
    Programming p;
    QList<int> shown;  // 1 shown, 0 hidden, after each tick
    p.Start(3, true, 0, [&] {
      QCOMPARE(p.w.ProgramZelkForm.ui().mensagem->text(), QStringLiteral("MAP Sensor Programming"));
      for (int tick = 0; tick < 20 && p.w.ProgramZelkForm.isVisible(); ++tick) {
        p.Tick();
        QVERIFY(p.PromptsShown() || p.PromptsHidden());  // always together
        if (p.w.ProgramZelkForm.isVisible()) shown << (p.PromptsShown() ? 1 : 0);
      }
    });
    // A tick every 500 ms plus its two exchanges (about 64 ms): no prompt at
    // the first two; flashing from 1.5 s; frozen (shown) once the module stops
    // asking at 4.2 s; the program ends at 6 s.
    QCOMPARE(shown, (QList<int>{0, 0, 1, 0, 1, 0, 1, 1, 1, 1}));
    QCOMPARE(p.w.messages.boxes.back().text, QStringLiteral("Programming Completed!"));
    QVERIFY(p.PromptsHidden());
  }

  void afterACompleteMapProgramAReadLightsItsLamp() {
    Programming p;
    p.Start(3, true, 0, [&] {
      for (int tick = 0; tick < 20 && p.w.ProgramZelkForm.isVisible(); ++tick) p.Tick();
    });
    QVERIFY(!p.w.MainForm.ui().map_prg->isGreen());  // nothing refreshed by itself
    p.w.MainForm.lerClick();
    QVERIFY(p.w.MainForm.ui().map_prg->isGreen());
    QVERIFY(!p.w.MainForm.ui().rpm_prg->isGreen());
  }

  void cancelHidesThePromptsAndSendsOneAbort() {
    Programming p;
    std::size_t before_cancel = 0;
    p.Start(3, true, 0, [&] {
      p.Tick(1600);
      QVERIFY(p.PromptsShown());
      p.w.ProgramZelkForm.Timer1().start();
      before_cancel = p.w.port.module().history().size();
      p.w.ProgramZelkForm.ui().button_Cancel->click();
    });
    const auto sent = p.RequestsSince(before_cancel);
    QCOMPARE(sent.size(), std::size_t{1});
    QCOMPARE(sent[0].command, 13);
    QCOMPARE(sent[0].payload, std::vector<std::uint8_t>{0});
    QVERIFY(!p.w.ProgramZelkForm.Timer1().isActive());
    QVERIFY(p.PromptsHidden());
    QCOMPARE(p.w.messages.boxes.back(), (Box{Box::inform, "Programming Aborted!", "Cancel"}));
    QCOMPARE(p.w.port.module().ProgramStatus(p.w.port.clock().now_ms()), 0);
    // The next run starts with the prompts hidden.
    bool hidden_at_start = false;
    p.Start(3, true, 0, [&] {
      hidden_at_start = p.PromptsHidden();
      p.w.ProgramZelkForm.ui().button_Cancel->click();
    });
    QVERIFY(hidden_at_start);
  }

  void aFailingLinkIsSaidAndCancelSaysTheAbortDidNotGetThrough() {
    Programming p;
    p.Start(2, true, 0, [&] {
      p.Tick();
      const QString temperature = p.w.ProgramZelkForm.ui().atual_temp->text();
      p.w.port.module().faults().silent = true;
      for (int i = 0; i < 3; ++i) p.Tick();
      QCOMPARE(p.w.ProgramZelkForm.ui().atual_temp->text(), temperature);
      QVERIFY(p.w.ProgramZelkForm.isVisible());
      p.w.ProgramZelkForm.ui().button_Cancel->click();
    });
    // Three silent ticks say so in the dialog; Cancel then says the abort did
    // not get through.
    QCOMPARE(p.w.messages.Texts(),
             (QStringList{"Confirm Program Zelk !!!!",
                          "The abort did not reach the module: it may still be running the "
                          "program."}));
    QVERIFY(!p.w.ProgramZelkForm.isVisible());
  }

  void fieldsKeepThePreviousRunsValuesUntilTheFirstRead() {
    Programming p;
    p.Start(2, true, 0, [&] {
      p.Tick();
      p.w.ProgramZelkForm.ui().button_Cancel->click();
    });
    const QString lambda = p.w.ProgramZelkForm.ui().atual_lambda->text();
    QVERIFY(lambda != QStringLiteral("0"));
    p.Start(2, true, 0, [&] {
      QCOMPARE(p.w.ProgramZelkForm.ui().atual_lambda->text(), lambda);
      p.w.ProgramZelkForm.ui().button_Cancel->click();
    });
  }

  void pollRunsAgainAfterTheDialogsEvenBeforeAnyRead() {
    Programming p;
    QVERIFY(!p.w.MainForm.Timer_Read().isActive());
    QTimer::singleShot(0, &p.w.ProgramForm, [&] {
      QVERIFY(!p.w.MainForm.Timer_Read().isActive());
      p.w.messages.answers = {true};
      p.w.ProgramForm.ui().prog_type_1->click();
      p.w.ProgramForm.ui().button_OK->click();
    });
    p.w.MainForm.progClick();
    QVERIFY(p.w.MainForm.Timer_Read().isActive());
    QCOMPARE(p.w.messages.Texts().last(), QStringLiteral("Program OK"));
  }
};

ZELK_GUI_TEST_MAIN(ProgrammingTest)
#include "programming_test.moc"
