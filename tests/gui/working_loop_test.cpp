// SPDX-License-Identifier: GPL-3.0-or-later
// Read, the live poll, the idle-RPM buttons and Write, driven as a technician
// drives them, against the simulated module.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>

#include "app/lamp.h"
#include "gui_test_main.h"
#include "ui_MainForm.h"
#include "windows_fixture.h"

using zelk::test::Box;
using zelk::test::Windows;

namespace {

using Block = std::array<std::uint8_t, 25>;

// A connected window whose module holds `settings`.
struct Loop {
  explicit Loop(const Block* settings = nullptr) {
    if (settings != nullptr) w.port.module().settings() = *settings;
    w.Connect();
    w.messages.boxes.clear();
  }
  Ui::MainForm& ui() { return w.MainForm.ui(); }
  QString text(const char* edit) { return w.MainForm.findChild<QLineEdit*>(edit)->text(); }
  const std::vector<zelk::sim::Request>& history() { return w.port.module().history(); }
  Windows w;
};

}  // namespace

class WorkingLoopTest : public QObject {
  Q_OBJECT

 private slots:
  void readShowsTheModulesSettings() {
    Block block{};
    block[0] = 0x90;  // heating and oxygen-sensor freeze on
    block[3] = 32;    // limite_corr 50
    block[4] = 36;    // idle period 62500: 600 RPM
    block[5] = 244;
    block[12] = 196;  // tempo_partida 1220 counts: 1000 ms
    block[13] = 4;
    block[14] = 24;   // porc_mistura 37.5
    block[15] = 91;   // temp_corr 35
    block[16] = 45;   // temp_max_extra 60
    block[17] = 131;  // temp_max_cold 20
    block[18] = 251;  // var_inicial 200.8
    block[20] = 13;   // tempo_extra 20.3125
    block[21] = 6;    // injecao_extra 9.375
    block[22] = 23;   // valor_lambda 450
    block[24] = 238;  // tempo_ajuste 49
    Loop l(&block);
    l.ui().rpm_cal->setText(QStringLiteral("4"));
    l.w.MainForm.lerClick();
    const QList<QPair<const char*, const char*>> expected{
        {"tempo_partida", "1000"},  {"porc_mistura", "37.5"},   {"temp_max_cold", "20"},
        {"injecao_extra", "9.375"}, {"temp_max_extra", "60"},   {"limite_corr", "50"},
        {"temp_corr", "35"},        {"tempo_ajuste", "49"},     {"valor_lambda", "450"},
        {"var_inicial", "200.8"},   {"tempo_extra", "20.3125"}, {"rpm_adj", "600"}};
    for (const auto& [edit, text] : expected) QCOMPARE(l.text(edit), QString::fromLatin1(text));
    QCOMPARE(l.ui().rpm_cal->text(), QStringLiteral("1"));
    QCOMPARE(l.w.MainForm.WorkingFlags, 0x90);
    QVERIFY(l.ui().heat_en->isChecked());
    QVERIFY(l.ui().sonda_en->isChecked());
    QVERIFY(!l.ui().acel_rapida_en->isChecked());
    QVERIFY(l.ui().injecao_extra->isEnabled());
    QVERIFY(!l.ui().var_inicial->isEnabled());
    QVERIFY(l.ui().gravar->isEnabled());
    QVERIFY(l.ui().prog->isEnabled());
    QVERIFY(l.ui().sync->isGreen());
    QVERIFY(l.w.MainForm.Timer_Read().isActive());
    QVERIFY(l.w.messages.boxes.empty());
    // After the version query: the settings (carrying the zero block), then the instant block.
    QCOMPARE(l.history().size(), std::size_t{3});
    QCOMPARE(l.history()[1].command, 1);
    QCOMPARE(l.history()[1].payload, std::vector<std::uint8_t>(25, 0));
    QCOMPARE(l.history()[2].command, 0);
    QCOMPARE(l.history()[2].address, 0x48);
  }

  void allZeroBlockShowsTheEdgeTexts() {
    const Block zero{};
    Loop l(&zero);
    l.w.MainForm.lerClick();
    for (const char* edit :
         {"tempo_partida", "porc_mistura", "injecao_extra", "limite_corr", "tempo_ajuste",
          "valor_lambda", "var_inicial", "tempo_extra", "rpm_adj"}) {
      QCOMPARE(l.text(edit), QStringLiteral("0"));
    }
    for (const char* edit : {"temp_max_cold", "temp_max_extra", "temp_corr"}) {
      QCOMPARE(l.text(edit), QStringLiteral("1990"));
    }
    for (QCheckBox* box :
         {l.ui().heat_en, l.ui().sonda_en, l.ui().acel_rapida_en, l.ui().banda_larga}) {
      QVERIFY(!box->isChecked());
    }
    QVERIFY(!l.ui().injecao_extra->isEnabled());
    QVERIFY(!l.ui().map_prg->isGreen());
    QVERIFY(!l.ui().rpm_prg->isGreen());
    QVERIFY(l.w.messages.boxes.empty());
  }

  void allFlagsCheckEverythingAndGoBackUnchanged() {
    Block block = zelk::sim::DefaultSettings();
    block[0] = 0xFF;
    Loop l(&block);
    l.w.MainForm.lerClick();
    for (QCheckBox* box :
         {l.ui().heat_en, l.ui().sonda_en, l.ui().acel_rapida_en, l.ui().banda_larga}) {
      QVERIFY(box->isChecked());
      QVERIFY(box->isEnabled());
    }
    QVERIFY(l.ui().map_prg->isGreen());
    QVERIFY(l.ui().rpm_prg->isGreen());
    QCOMPARE(l.ui().Label20->text(), QStringLiteral("V "));
    QCOMPARE(l.w.MainForm.WorkingFlags, 0xFF);
    l.w.messages.answers = {true};
    l.w.MainForm.gravarClick();
    QCOMPARE(l.w.port.module().settings()[0], 0xFF);
  }

  void failedSettingsReadStillTakesTheLiveSnapshot() {
    Loop l;
    l.ui().gravar->setEnabled(true);
    l.w.port.module().faults().no_reply_first = 3;  // the settings read's three tries
    l.w.MainForm.lerClick();
    QCOMPARE(l.w.messages.boxes, (std::vector<Box>{{Box::inform, "Communication Fail", "Fail"}}));
    QVERIFY(!l.ui().gravar->isEnabled());
    QVERIFY(l.ui().prog->isEnabled());
    QCOMPARE(l.text("tempo_partida"), QStringLiteral("1000"));
    QCOMPARE(l.history().back().address, 0x48);
    QVERIFY(l.w.MainForm.Timer_Read().isActive());
    QVERIFY(l.ui().sync->isGreen());
  }

  void failedLiveReadIsSilentAndStartsNoPoll() {
    Loop l;
    l.w.port.module().faults().hangup_after = 2;  // answers version and settings, then dies
    l.w.MainForm.lerClick();
    QVERIFY(l.w.messages.boxes.empty());
    QVERIFY(l.ui().gravar->isEnabled());
    QVERIFY(!l.w.MainForm.Timer_Read().isActive());
    QVERIFY(!l.ui().sync->isGreen());
  }

  void pollFillsTheSixBoxesAndSendsTheInstantBytesFirst() {
    Loop l;
    l.w.MainForm.lerClick();
    const std::vector<std::uint8_t> instant(l.w.session.live_buffer().begin(),
                                            l.w.session.live_buffer().begin() + 10);
    l.w.MainForm.Timer_ReadTimer();
    const auto& poll = l.history().back();
    QCOMPARE(poll.address, 0x43);
    QCOMPARE(poll.payload, instant);
    for (const char* edit :
         {"atual_temp", "atual_map", "atual_lambda", "atual_corr", "atual_rpm", "atual_inj"}) {
      QVERIFY2(!l.text(edit).isEmpty(), edit);
    }
    // An idling engine near 850 RPM reads as such.
    const int rpm = l.text("atual_rpm").toInt();
    QVERIFY2(rpm > 600 && rpm < 1200, qPrintable(l.text("atual_rpm")));
    QVERIFY(l.text("atual_map").contains(QLatin1Char('.')));
  }

  void pollRpmFollowsTheFactorAndABadFactorShowsZero() {
    Loop l;
    l.w.MainForm.lerClick();
    l.w.MainForm.Timer_ReadTimer();
    const int at1 = l.text("atual_rpm").toInt();
    l.ui().rpm_cal->setText(QStringLiteral("2"));
    l.w.MainForm.Timer_ReadTimer();
    const int at2 = l.text("atual_rpm").toInt();
    QVERIFY2(at2 > at1 / 2 - 60 && at2 < at1 / 2 + 60, qPrintable(QString::number(at2)));
    l.ui().rpm_cal->setText(QStringLiteral("x"));
    l.w.MainForm.Timer_ReadTimer();
    QCOMPARE(l.text("atual_rpm"), QStringLiteral("0"));
    QVERIFY(l.w.messages.boxes.empty());
  }

  void failingTickStopsItselfBeforeItsBox() {
    Loop l;
    l.w.MainForm.lerClick();
    l.w.port.module().faults().silent = true;
    bool timer_active_at_box = true;
    l.w.messages.on_box = [&](const Box&) {
      timer_active_at_box = l.w.MainForm.Timer_Read().isActive();
    };
    l.w.MainForm.Timer_ReadTimer();
    QCOMPARE(l.w.messages.boxes, (std::vector<Box>{{Box::inform, "Communication Fail", "Fail"}}));
    QVERIFY(!timer_active_at_box);
    QVERIFY(!l.ui().sync->isGreen());
    QVERIFY(!l.ui().gravar->isEnabled());
    QVERIFY(!l.ui().prog->isEnabled());
    QVERIFY(l.ui().ler->isEnabled());
  }

  void idleRpmButtons_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("box");
    QTest::newRow("600 down") << "600" << false << "600"
                              << "The min. is 600RPM!";
    QTest::newRow("625 down") << "625" << false << "600"
                              << "";
    QTest::newRow("610 down") << "610" << false << "600"
                              << "The min. is 600RPM!";
    QTest::newRow("1500 up") << "1500" << true << "1500"
                             << "The max. is 1500RPM!";
    QTest::newRow("1475 up") << "1475" << true << "1500"
                             << "";
    QTest::newRow("1490 up") << "1490" << true << "1500"
                             << "The max. is 1500RPM!";
    QTest::newRow("0 up") << "0" << true << "25"
                          << "";
    QTest::newRow("0 down") << "0" << false << "600"
                            << "The min. is 600RPM!";
    QTest::newRow("125 up") << "125" << true << "150"
                            << "";
  }
  void idleRpmButtons() {
    QFETCH(QString, start);
    QFETCH(bool, up);
    QFETCH(QString, result);
    QFETCH(QString, box);
    Loop l;
    QString shown_when_box;
    l.w.messages.on_box = [&](const Box&) { shown_when_box = l.text("rpm_adj"); };
    l.ui().rpm_adj->setText(start);
    (up ? l.ui().rpmup : l.ui().rpmdown)->click();
    QCOMPARE(l.text("rpm_adj"), result);
    if (box.isEmpty()) {
      QVERIFY(l.w.messages.boxes.empty());
    } else {
      QCOMPARE(l.w.messages.boxes, (std::vector<Box>{{Box::inform, box, "Warning!"}}));
      QCOMPARE(shown_when_box, start);  // the box first, then the clamped value
    }
  }

  void calibrationCycles_data() {
    QTest::addColumn<QString>("idle");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("1000") << "1000" << QStringList{"500", "250", "125", "1000"};
    QTest::newRow("625") << "625" << QStringList{"312", "156", "78", "624"};
  }
  void calibrationCycles() {
    QFETCH(QString, idle);
    QFETCH(QStringList, after);
    Loop l;
    l.ui().rpm_adj->setText(idle);
    const QStringList factors{"2", "4", "8", "1"};
    for (int i = 0; i < 4; ++i) {
      l.ui().rpm_cal_button->click();
      QCOMPARE(l.ui().rpm_cal->text(), factors[i]);
      QCOMPARE(l.text("rpm_adj"), after[i]);
    }
  }

  void answeringNoSendsNothingAndRestartsThePoll() {
    Loop l;
    l.w.MainForm.lerClick();
    l.w.MainForm.Timer_Read().stop();
    const std::size_t before = l.history().size();
    l.w.messages.answers = {false};
    l.w.MainForm.gravarClick();
    QCOMPARE(l.history().size(), before);
    QCOMPARE(l.w.messages.boxes,
             (std::vector<Box>{{Box::ask, "Confirm Program Data !!!!", "Warning"}}));
    QVERIFY(l.w.MainForm.Timer_Read().isActive());
  }

  void writingTheDefaultsStoresTheirCountsAndReadsBack() {
    Loop l;
    l.w.MainForm.lerClick();
    // Type the window's own defaults back in, as a technician would.
    const QList<QPair<const char*, const char*>> typed{{"tempo_partida", "1000"},
                                                       {"tempo_ajuste", "50"},
                                                       {"porc_mistura", "37"},
                                                       {"injecao_extra", "10"}};
    for (const auto& [edit, text] : typed) l.w.MainForm.findChild<QLineEdit*>(edit)->setText(text);
    bool poll_stopped_at_question = false;
    l.w.messages.on_box = [&](const Box& box) {
      if (box.kind == Box::ask) poll_stopped_at_question = !l.w.MainForm.Timer_Read().isActive();
    };
    const Block before = l.w.port.module().settings();
    l.w.messages.answers = {true};
    l.w.MainForm.gravarClick();
    QVERIFY(poll_stopped_at_question);
    const Block& stored = l.w.port.module().settings();
    QCOMPARE(stored[12] + 256 * stored[13], 1220);
    QCOMPARE(stored[24], 238);
    QCOMPARE(stored[14], 24);
    QCOMPARE(stored[21], 6);
    // Bytes no box encodes go back as read.
    for (std::size_t offset : {1, 2, 6, 7, 8, 9, 10, 11, 23})
      QCOMPARE(stored[offset], before[offset]);
    QCOMPARE(l.text("tempo_partida"), QStringLiteral("1000"));
    QCOMPARE(l.text("tempo_ajuste"), QStringLiteral("49"));
    QCOMPARE(l.text("porc_mistura"), QStringLiteral("37.5"));
    QCOMPARE(l.text("injecao_extra"), QStringLiteral("9.375"));
    QCOMPARE(l.w.messages.Texts(), (QStringList{"Confirm Program Data !!!!", "Program OK"}));
    QVERIFY(l.w.MainForm.Timer_Read().isActive());
  }

  void idleRpmAtEitherFactorStoresTheSamePeriod_data() {
    QTest::addColumn<QString>("rpm");
    QTest::addColumn<QString>("factor");
    QTest::newRow("600 at 1") << "600"
                              << "1";
    QTest::newRow("300 at 2") << "300"
                              << "2";
  }
  void idleRpmAtEitherFactorStoresTheSamePeriod() {
    QFETCH(QString, rpm);
    QFETCH(QString, factor);
    Loop l;
    l.w.MainForm.lerClick();
    l.ui().rpm_adj->setText(rpm);
    l.ui().rpm_cal->setText(factor);
    l.w.messages.answers = {true};
    l.w.MainForm.gravarClick();
    const Block& stored = l.w.port.module().settings();
    QCOMPARE(stored[4], 36);
    QCOMPARE(stored[5], 244);
    QCOMPARE(l.text("rpm_adj"), QStringLiteral("600"));
    QCOMPARE(l.ui().rpm_cal->text(), QStringLiteral("1"));
  }

  // One box for the failure, and no poll behind it to show a second: the
  // Sync lamp goes red until a Read.
  void failedWriteKeepsWriteEnabledAndASecondSendsTheSameBytes() {
    Loop l;
    l.w.MainForm.lerClick();
    l.w.port.module().faults().silent = true;
    l.w.messages.answers = {true, true};
    l.w.MainForm.gravarClick();
    QCOMPARE(l.w.messages.boxes.back(), (Box{Box::inform, "Communication Fail", "Fail"}));
    QCOMPARE(l.w.messages.Texts().count(QStringLiteral("Communication Fail")), 1);
    QVERIFY(l.ui().gravar->isEnabled());
    QVERIFY(!l.w.MainForm.Timer_Read().isActive());
    QVERIFY(!l.ui().sync->isGreen());
    const Block first = l.w.session.settings_block();
    l.w.port.module().faults().silent = false;
    l.w.MainForm.gravarClick();
    const auto& history = l.history();
    auto write = std::find_if(history.rbegin(), history.rend(),
                              [](const zelk::sim::Request& r) { return r.command == 4; });
    QVERIFY(write != history.rend());
    QCOMPARE(write->payload, std::vector<std::uint8_t>(first.begin(), first.end()));
  }

  // A text that cannot be written is refused before the question, and the
  // block keeps what the module last gave.
  void unwritableTextsAreRefusedBeforeTheQuestion_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("said");
    // Period 75000: no 16-bit field holds it.
    QTest::newRow("idle RPM beyond 16 bits") << "rpm_adj"
                                             << "500"
                                             << "500";
    QTest::newRow("not a number") << "temp_corr"
                                  << "abc"
                                  << "Min. Temperature: 'abc' is not a valid integer value";
  }
  void unwritableTextsAreRefusedBeforeTheQuestion() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, said);
    Loop l;
    l.w.MainForm.lerClick();
    l.w.MainForm.findChild<QLineEdit*>(box)->setText(text);
    const Block block = l.w.session.settings_block();
    const std::size_t before = l.history().size();
    l.w.messages.answers = {true};
    l.w.MainForm.gravarClick();
    QCOMPARE(l.history().size(), before);
    QCOMPARE(l.w.messages.boxes.size(), std::size_t{1});
    QCOMPARE(l.w.messages.boxes[0].kind, Box::error);
    QVERIFY2(l.w.messages.boxes[0].text.contains(said), qPrintable(l.w.messages.boxes[0].text));
    QCOMPARE(l.w.session.settings_block(), block);
    QVERIFY(l.w.MainForm.Timer_Read().isActive());
  }
};

ZELK_GUI_TEST_MAIN(WorkingLoopTest)
#include "working_loop_test.moc"
