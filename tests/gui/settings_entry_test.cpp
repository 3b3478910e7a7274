// SPDX-License-Identifier: GPL-3.0-or-later
// Checked entry as a technician meets it: typing into a box and leaving it
// by Tab or by a click, with every message box recorded.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "app/lamp.h"
#include "gui_test_main.h"
#include "ui_MainForm.h"
#include "windows_fixture.h"

using zelk::test::Box;
using zelk::test::Windows;

namespace {

struct Screen {
  explicit Screen(Windows& windows) : w(windows), ui(windows.MainForm.ui()) {
    w.MainForm.show();
    w.MainForm.activateWindow();
    (void)QTest::qWaitForWindowActive(&w.MainForm);
  }
  // Clicks into the box, replaces its text by typing, then clicks `next`.
  void Enter(QLineEdit* edit, const QString& text, QWidget* next) {
    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(w.MainForm.focusWidget(), edit);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QTest::mouseClick(next, Qt::LeftButton);
  }
  Windows& w;
  Ui::MainForm& ui;
};

}  // namespace

class SettingsEntryTest : public QObject {
  Q_OBJECT

 private slots:
  void integerEditAcceptsItsRangeAndRestoresOtherwise_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("boxes");
    const QString range = QStringLiteral("This value must be between 0 and 4000!");
    QTest::newRow("upper bound") << "4000"
                                 << "4000" << QStringList{};
    QTest::newRow("lower bound") << "0"
                                 << "0" << QStringList{};
    QTest::newRow("blanks around") << " 25 "
                                   << " 25 " << QStringList{};
    QTest::newRow("above") << "4001"
                           << "1000" << QStringList{range};
    QTest::newRow("below") << "-1"
                           << "1000" << QStringList{range};
    QTest::newRow("empty") << ""
                           << "1000" << QStringList{"Incorrect Value!"};
    QTest::newRow("fraction") << "12.5"
                              << "1000" << QStringList{"Incorrect Value!"};
    QTest::newRow("beyond 32 bits") << "4294967296"
                                    << "1000" << QStringList{"Incorrect Value!"};
    QTest::newRow("letters") << "12a"
                             << "1000" << QStringList{"Incorrect Value!"};
  }
  void integerEditAcceptsItsRangeAndRestoresOtherwise() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QStringList, boxes);
    Windows w;
    Screen s(w);
    s.Enter(s.ui.tempo_partida, typed, s.ui.limite_corr);
    QCOMPARE(s.ui.tempo_partida->text(), shown);
    QCOMPARE(w.messages.Texts(), boxes);
    if (!boxes.isEmpty()) {
      const bool conversion = boxes[0] == QStringLiteral("Incorrect Value!");
      QCOMPARE(w.messages.boxes[0].title,
               conversion ? QStringLiteral("Error!") : QStringLiteral("Warning!"));
    }
    // The focus stays where the user moved it.
    QCOMPARE(w.MainForm.focusWidget(), s.ui.limite_corr);
  }

  void tabLeavesAndChecksToo() {
    Windows w;
    Screen s(w);
    QTest::mouseClick(s.ui.temp_max_cold, Qt::LeftButton);
    s.ui.temp_max_cold->selectAll();
    QTest::keyClicks(s.ui.temp_max_cold, QStringLiteral("36"));
    QTest::keyClick(s.ui.temp_max_cold, Qt::Key_Tab);
    QCOMPARE(
        w.messages.boxes,
        (std::vector<Box>{{Box::inform, "This value must be between 15 and 35!", "Warning!"}}));
    QCOMPARE(s.ui.temp_max_cold->text(), QStringLiteral("20"));
    QVERIFY(w.MainForm.focusWidget() != s.ui.temp_max_cold);
  }

  void decimalAndIntegerEditsDiffer() {
    Windows w;
    Screen s(w);
    s.ui.heat_en->setChecked(true);
    s.ui.acel_rapida_en->setChecked(true);
    s.Enter(s.ui.var_inicial, QStringLiteral("12.5"), s.ui.limite_corr);
    s.Enter(s.ui.injecao_extra, QStringLiteral("12.5"), s.ui.limite_corr);
    s.Enter(s.ui.injecao_extra, QStringLiteral("7.5"), s.ui.limite_corr);
    QCOMPARE(w.messages.Texts(),
             (QStringList{"Incorrect Value!", "This value must be between 0 and 10!"}));
    QCOMPARE(s.ui.var_inicial->text(), QStringLiteral("200"));
    QCOMPARE(s.ui.injecao_extra->text(), QStringLiteral("7.5"));
  }

  void carelessParserTextsAreRefused_data() {
    QTest::addColumn<QString>("typed");
    for (const char* text :
         {"nan", "NaN", "inf", "-inf", "1e400", "0x10", "0x1p3", "1,5", "--1", "."}) {
      QTest::newRow(text) << QString::fromLatin1(text);
    }
  }
  void carelessParserTextsAreRefused() {
    QFETCH(QString, typed);
    Windows w;
    Screen s(w);
    s.Enter(s.ui.limite_corr, typed, s.ui.tempo_partida);
    // A decimal with the other separator is told which one is expected.
    const QString refusal =
        typed == QStringLiteral("1,5")
            ? QStringLiteral("Incorrect Value!\nA point is expected as the decimal separator: 1.5")
            : QStringLiteral("Incorrect Value!");
    QCOMPARE(w.messages.Texts(), QStringList{refusal});
    QCOMPARE(s.ui.limite_corr->text(), QStringLiteral("50"));
  }

  void correctionLimitPullsStartMixDownNeverUp() {
    Windows w;
    Screen s(w);
    s.Enter(s.ui.limite_corr, QStringLiteral("30"), s.ui.tempo_partida);
    QCOMPARE(s.ui.porc_mistura->text(), QStringLiteral("30"));
    s.Enter(s.ui.limite_corr, QStringLiteral("50"), s.ui.tempo_partida);
    QCOMPARE(s.ui.porc_mistura->text(), QStringLiteral("30"));
    QVERIFY(w.messages.boxes.empty());
  }

  void startMixIsBoundedByTheCurrentLimit() {
    Windows w;
    Screen s(w);
    const QString message =
        QStringLiteral("This value must be between 10 and Max Correction Value(%)!");
    s.Enter(s.ui.porc_mistura, QStringLiteral("50"), s.ui.tempo_partida);  // equal: fine
    s.Enter(s.ui.porc_mistura, QStringLiteral("9.9"), s.ui.tempo_partida);
    s.Enter(s.ui.porc_mistura, QStringLiteral("50.5"), s.ui.tempo_partida);
    QCOMPARE(w.messages.Texts(), (QStringList{message, message}));
    QCOMPARE(s.ui.porc_mistura->text(), QStringLiteral("50"));
  }

  void aReadFractionInAnIntegerEditIsReportedWhenLeftUnchanged() {
    Windows w;
    w.port.module().settings()[0] |= 0x40;  // quick throttle on
    w.port.module().settings()[18] = 251;   // 251 x 0.8 = 200.8
    w.port.module().settings()[19] = 0;
    w.Connect();
    w.MainForm.lerClick();
    Screen s(w);
    QCOMPARE(s.ui.var_inicial->text(), QStringLiteral("200.8"));
    w.messages.boxes.clear();
    QTest::mouseClick(s.ui.var_inicial, Qt::LeftButton);
    QTest::mouseClick(s.ui.tempo_partida, Qt::LeftButton);
    QCOMPARE(w.messages.Texts(), QStringList{"Incorrect Value!"});
    QCOMPARE(s.ui.var_inicial->text(), QStringLiteral("200.8"));
  }

  void programTextsAreNotChecked() {
    Windows w;
    Screen s(w);
    s.ui.temp_corr->setText(QStringLiteral("99999"));
    QTest::mouseClick(s.ui.limite_corr, Qt::LeftButton);
    QTest::mouseClick(s.ui.tempo_partida, Qt::LeftButton);
    QCOMPARE(s.ui.temp_corr->text(), QStringLiteral("99999"));
    QVERIFY(w.messages.boxes.empty());
  }

  void commaLocaleReadsAndTypesWithAComma() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    {
      Windows w;
      w.Connect();
      w.MainForm.lerClick();
      Screen s(w);
      QCOMPARE(s.ui.porc_mistura->text(), QStringLiteral("37,5"));
      w.messages.boxes.clear();
      s.Enter(s.ui.limite_corr, QStringLiteral("40,5"), s.ui.tempo_partida);
      s.Enter(s.ui.limite_corr, QStringLiteral("40.5"), s.ui.tempo_partida);
      QCOMPARE(w.messages.Texts(),
               QStringList{"Incorrect Value!\nA comma is expected as the decimal separator: 40,5"});
      QCOMPARE(s.ui.limite_corr->text(), QStringLiteral("40,5"));
    }
    QLocale::setDefault(QLocale::c());
  }

  void optionBoxesEnableTheirControlsAndFlags() {
    Windows w;
    Screen s(w);
    struct Row {
      QCheckBox* box;
      std::uint8_t bit;
      QList<QWidget*> governed;
    };
    const QList<Row> rows{
        {s.ui.heat_en,
         0x80,
         {s.ui.injecao_extra, s.ui.temp_max_extra, s.ui.Label11, s.ui.Label12, s.ui.Label13,
          s.ui.Label14}},
        {s.ui.sonda_en,
         0x10,
         {s.ui.tempo_ajuste, s.ui.valor_lambda, s.ui.Label17, s.ui.Label18, s.ui.Label19,
          s.ui.Label20, s.ui.banda_larga}},
        {s.ui.acel_rapida_en,
         0x40,
         {s.ui.var_inicial, s.ui.tempo_extra, s.ui.Label1, s.ui.Label2, s.ui.Label3, s.ui.Label4}},
    };
    for (const Row& row : rows) {
      for (QWidget* control : row.governed) QVERIFY(!control->isEnabled());
      QTest::mouseClick(row.box, Qt::LeftButton, {}, QPoint(6, row.box->height() / 2));
      QVERIFY(row.box->isChecked());
      QCOMPARE(w.MainForm.WorkingFlags & row.bit, row.bit);
      for (QWidget* control : row.governed)
        QVERIFY2(control->isEnabled(), qPrintable(control->objectName()));
    }
    QCOMPARE(w.MainForm.WorkingFlags, 0xD0);
    QVERIFY(s.ui.tempo_partida->isEnabled());
    QVERIFY(s.ui.limite_corr->isEnabled());
  }

  void wideBandKeepsItsStateThroughOxygenSensorToggles() {
    Windows w;
    Screen s(w);
    s.ui.sonda_en->setChecked(true);
    s.ui.banda_larga->setChecked(true);
    QCOMPARE(s.ui.Label20->text(), QStringLiteral("V "));
    QCOMPARE(w.MainForm.WorkingFlags, 0x30);
    s.ui.sonda_en->setChecked(false);
    QVERIFY(!s.ui.banda_larga->isEnabled());
    QVERIFY(s.ui.banda_larga->isChecked());
    QCOMPARE(w.MainForm.WorkingFlags, 0x20);
    QCOMPARE(s.ui.Label20->text(), QStringLiteral("V "));
    s.ui.sonda_en->setChecked(true);
    QVERIFY(s.ui.banda_larga->isEnabled());
    QVERIFY(s.ui.banda_larga->isChecked());
    s.ui.banda_larga->setChecked(false);
    QCOMPARE(s.ui.Label20->text(), QStringLiteral("mV "));
    QCOMPARE(w.MainForm.WorkingFlags, 0x10);
  }
};

ZELK_GUI_TEST_MAIN(SettingsEntryTest)
#include "settings_entry_test.moc"
