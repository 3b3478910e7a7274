// SPDX-License-Identifier: GPL-3.0-or-later
// What a Write sends: the settings the technician left alone go back byte for
// byte as they were read (a count does not always survive being shown and
// typed again), the changed ones encoded, and the module's own bytes as the
// module holds them at the moment of writing.

#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <filesystem>

#include "app/lamp.h"
#include "gui_test_main.h"
#include "session/data_folder.h"
#include "session/restore_points.h"
#include "settings/settings_table.h"
#include "ui_MainForm.h"
#include "ui_ProgramForm.h"
#include "windows_fixture.h"

using zelk::test::Box;
using zelk::test::Windows;

namespace {

using Block = std::array<std::uint8_t, 25>;

struct Bench {
  Bench() {
    w.Connect();
    w.messages.boxes.clear();
  }
  Block& module() { return w.port.module().settings(); }
  std::size_t requests() { return w.port.module().history().size(); }
  std::vector<zelk::sim::Request> RequestsSince(std::size_t from) {
    const auto& all = w.port.module().history();
    return {all.begin() + static_cast<std::ptrdiff_t>(from), all.end()};
  }
  // The payload of the one settings write among `sent`, if any.
  static std::optional<Block> WrittenBlock(const std::vector<zelk::sim::Request>& sent) {
    std::optional<Block> written;
    for (const zelk::sim::Request& request : sent) {
      if (request.command != 4 || request.address != 1) continue;
      Block block{};
      std::copy_n(request.payload.begin(), std::min<std::size_t>(25, request.payload.size()),
                  block.begin());
      written = block;
    }
    return written;
  }
  // Write, answering its question Yes; the settings block it sent.
  std::optional<Block> Write() {
    const std::size_t from = requests();
    w.messages.answers = {true};
    w.MainForm.gravarClick();
    return WrittenBlock(RequestsSince(from));
  }
  void Type(const char* edit, const QString& text) {
    w.MainForm.findChild<QLineEdit*>(edit)->setText(text);
  }
  // Mix Program at `mix` (0..4), answered Yes.
  void MixProgram(int mix) {
    w.ProgramForm.findChild<QRadioButton*>(QStringLiteral("prog_type_0"))->click();
    w.ProgramForm.findChild<QRadioButton*>(QStringLiteral("mix_values_%1").arg(mix))
        ->setChecked(true);
    w.messages.answers = {true};
    w.ProgramForm.button_OKClick();
  }

  Windows w;
};

std::vector<std::size_t> DifferingOffsets(const Block& a, const Block& b) {
  std::vector<std::size_t> offsets;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) offsets.push_back(i);
  }
  return offsets;
}

}  // namespace

class ExactWriteTest : public QObject {
  Q_OBJECT

 private slots:
  // Every byte value at every position: Adjust Time, the temperatures, the
  // cold-start word and idle periods off the RPM grid all drifted before.
  void aWriteWithNoEditSendsBackTheBlockHeld() {
    Bench b;
    for (int value = 0; value < 256; ++value) {
      Block block;
      block.fill(static_cast<std::uint8_t>(value));
      b.module() = block;
      b.w.MainForm.lerClick();
      const std::optional<Block> written = b.Write();
      QVERIFY2(written.has_value(), qPrintable(QString::number(value)));
      QVERIFY2(*written == block,
               qPrintable(QStringLiteral("byte value %1: offsets %2 differ").arg(value).arg([&] {
                 QStringList offsets;
                 for (std::size_t o : DifferingOffsets(*written, block))
                   offsets << QString::number(o);
                 return offsets.join(QLatin1Char(','));
               }())));
      QCOMPARE(b.module(), block);
    }
  }

  // Two Writes in a row move nothing either (Adjust Time 238 once went to 233,
  // then 229).
  void repeatedWritesDoNotDrift() {
    Bench b;
    Block block = zelk::sim::DefaultSettings();
    block[24] = 238;
    b.module() = block;
    b.w.MainForm.lerClick();
    for (int i = 0; i < 3; ++i) {
      const std::optional<Block> written = b.Write();
      QVERIFY(written.has_value());
      QCOMPARE(*written, block);
    }
  }

  void oneEditChangesOnlyThatSettingsBytes() {
    Bench b;
    Block block;
    block.fill(238);
    b.module() = block;
    b.w.MainForm.lerClick();
    b.Type("temp_corr", QStringLiteral("40"));
    const std::optional<Block> written = b.Write();
    QVERIFY(written.has_value());
    const std::size_t offset = zelk::kSettings[zelk::kTempCorr].offset;
    QCOMPARE(DifferingOffsets(*written, block), std::vector<std::size_t>{offset});
    QCOMPARE(zelk::DecodeSetting(zelk::kSettings[zelk::kTempCorr], *written, '.'), "40");
  }

  // The module ran its MAP program, changed its mixture byte and a byte no box
  // shows behind the window's back: the Write reads them first and keeps them.
  void theModulesOwnBytesAreTakenJustBeforeTheWrite() {
    Bench b;
    b.w.MainForm.lerClick();
    Block now = b.module();
    now[0] |= 0x01;  // MAP program done
    now[1] = 0x55;   // a byte no box shows
    now[2] = 28;     // the mixture byte
    now[23] = 0xA5;  // and another
    b.module() = now;
    const std::size_t from = b.requests();
    b.w.messages.answers = {true};
    b.w.MainForm.gravarClick();
    const auto sent = b.RequestsSince(from);
    QVERIFY(sent.size() >= 2);
    QCOMPARE(sent[0].command, 1);  // the read just before the write
    QCOMPARE(sent[1].command, 4);
    QCOMPARE(*Bench::WrittenBlock(sent), now);
    // The read back shows the lamp the program lit.
    QVERIFY(b.w.MainForm.ui().map_prg->isGreen());
  }

  // A setting changed behind the window's back (another program, a reset)
  // and not edited here is left as the module holds it; the one the
  // technician changed goes.
  void aSettingChangedBehindTheWindowsBackIsLeftAlone() {
    Bench b;
    b.w.MainForm.lerClick();
    b.module()[20] = 0xA1;  // tempo_extra, out of its range, set elsewhere
    Block expected = b.module();
    b.Type("temp_corr", QStringLiteral("40"));
    const std::optional<Block> written = b.Write();
    QVERIFY(written.has_value());
    const std::size_t offset = zelk::kSettings[zelk::kTempCorr].offset;
    QCOMPARE(DifferingOffsets(*written, expected), std::vector<std::size_t>{offset});
  }

  // The module changes behind the window's back, a program's end is read
  // while an edit is pending (the boxes keep what they showed): the Write
  // still sends only the edit, the rest as the module now holds it.
  void aReadAfterAProgramDoesNotTurnTheOldValuesIntoChanges() {
    Bench b;
    b.w.MainForm.lerClick();
    b.Type("temp_corr", QStringLiteral("40"));
    Block other = b.module();
    other[12] = 0x10;  // tempo_partida and injecao_extra as another tool left them
    other[21] = 0x09;
    b.module() = other;
    QTimer::singleShot(0, &b.w.ProgramForm, [&] {
      b.w.messages.answers = {true};
      b.w.ProgramForm.ui().prog_type_1->click();  // reset: one request
      b.w.ProgramForm.ui().button_OK->click();
    });
    b.w.MainForm.progClick();
    b.w.MainForm.Timer_Read().stop();
    const std::optional<Block> written = b.Write();
    QVERIFY(written.has_value());
    const std::size_t offset = zelk::kSettings[zelk::kTempCorr].offset;
    QCOMPARE(DifferingOffsets(*written, other), std::vector<std::size_t>{offset});
  }

  // A limit lowered behind the window's back does not end up under a start
  // mix the technician raised: the mix is lowered to it.
  void aNewStartMixStaysWithinTheModulesLimit() {
    Bench b;
    b.w.MainForm.lerClick();
    b.module()[zelk::kSettings[zelk::kLimiteCorr].offset] = 18;  // 28.125 %, set elsewhere
    b.Type("porc_mistura", QStringLiteral("45"));
    const std::optional<Block> written = b.Write();
    QVERIFY(written.has_value());
    QCOMPARE((*written)[zelk::kSettings[zelk::kLimiteCorr].offset], 18);
    QCOMPARE((*written)[zelk::kSettings[zelk::kPorcMistura].offset], 18);
  }

  void noWriteWhenTheReadBeforeItFails() {
    Bench b;
    b.w.MainForm.lerClick();
    b.w.port.module().faults().silent = true;
    const std::size_t from = b.requests();
    b.w.messages.boxes.clear();
    b.w.messages.answers = {true};
    b.w.MainForm.gravarClick();
    for (const zelk::sim::Request& request : b.RequestsSince(from)) {
      QVERIFY(request.command != 4);
    }
    QVERIFY(b.w.messages.Texts().contains(QStringLiteral("Communication Fail")));
    QVERIFY(!b.w.messages.Texts().contains(QStringLiteral("Program OK")));
  }

  // The restore point before a Write keeps what the module held at that
  // moment, not at the last Read.
  void theRestorePointHoldsTheModuleAsItWasWritten() {
    Bench b;
    b.w.MainForm.lerClick();
    b.module()[2] = 29;
    QVERIFY(b.Write().has_value());
    const zelk::DataFolder folder = zelk::RestorePointFolder();
    QVERIFY(folder.path.has_value());
    const std::vector<zelk::RestorePoint> points = zelk::RestorePoints(*folder.path).List();
    QVERIFY(!points.empty());
    QVERIFY(points.front().file && points.front().file->block);
    QCOMPARE((*points.front().file->block)[2], 29);
  }

  // Mix Program then Restore from file: the file's settings go over the
  // mixture byte the program wrote, which stays.
  void restoreAfterTheMixProgramKeepsItsByte() {
    Bench b;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("before.zelk"));
    b.w.MainForm.lerClick();
    b.w.MainForm.SaveSettingsFile(file);
    b.MixProgram(4);
    const std::uint8_t mixed = b.module()[2];
    QVERIFY(mixed != zelk::sim::DefaultSettings()[2]);
    const std::size_t from = b.requests();
    b.w.messages.answers = {true};
    b.w.MainForm.RestoreFromFile(file);
    const std::optional<Block> written = Bench::WrittenBlock(b.RequestsSince(from));
    QVERIFY(written.has_value());
    QCOMPARE((*written)[2], mixed);
    QCOMPARE(b.module()[2], mixed);
  }

  // No Read since Config.: the mixture follows the module's own correction
  // limit, not the window's placeholder 50.
  void mixProgramBeforeAReadUsesTheModulesLimit_data() {
    QTest::addColumn<int>("limit_count");
    QTest::addColumn<int>("mixture");
    QTest::newRow("45.3125 %") << 29 << 28;  // (45.3125 - 1) * 0.64 = 28.36
    QTest::newRow("20.3125 %") << 13 << 12;  // (20.3125 - 1) * 0.64 = 12.36
  }
  void mixProgramBeforeAReadUsesTheModulesLimit() {
    QFETCH(int, limit_count);
    QFETCH(int, mixture);
    Bench b;
    b.module()[3] = static_cast<std::uint8_t>(limit_count);
    QCOMPARE(b.w.MainForm.ui().limite_corr->text(), QStringLiteral("50"));
    const std::size_t from = b.requests();
    b.MixProgram(4);
    const auto sent = b.RequestsSince(from);
    QCOMPARE(sent.size(), std::size_t{2});
    QCOMPARE(sent[0].command, 1);  // the settings, for the limit
    QCOMPARE(sent[1].command, 4);
    QCOMPARE(sent[1].address, 3);
    QCOMPARE(b.module()[2], mixture);
  }

  // A failed read for the limit writes nothing.
  void mixProgramWhoseReadFailsWritesNothing() {
    Bench b;
    b.w.port.module().faults().silent = true;
    const std::size_t from = b.requests();
    b.MixProgram(4);
    for (const zelk::sim::Request& request : b.RequestsSince(from)) {
      QVERIFY(request.command != 4);
    }
    QCOMPARE(b.w.messages.Texts().last(), QStringLiteral("Communication Fail"));
  }

  // After a program run from the Program button the window reads the
  // settings: the MAP lamp lights and a Write keeps the flag the program set.
  void aProgramsEndIsReadAndAWriteKeepsItsFlag() {
    Windows w({"SIM"}, [] {
      zelk::sim::EngineModelSettings engine;
      engine.map_program_ms = 2000;
      return engine;
    }());
    w.Connect();
    w.MainForm.lerClick();
    QVERIFY(!w.MainForm.ui().map_prg->isGreen());
    QTimer::singleShot(0, &w.ProgramForm, [&] {
      QTimer::singleShot(0, &w.ProgramZelkForm, [&] {
        w.ProgramZelkForm.Timer1().stop();
        for (int tick = 0; tick < 20 && w.ProgramZelkForm.isVisible(); ++tick) {
          w.port.clock().Advance(500);
          w.ProgramZelkForm.Timer1Timer();
        }
        if (w.ProgramZelkForm.isVisible()) w.ProgramZelkForm.button_CancelClick();
      });
      w.messages.answers = {true};
      w.ProgramForm.ui().prog_type_3->click();
      w.ProgramForm.ui().button_OK->click();
    });
    w.MainForm.progClick();
    QVERIFY(w.messages.Texts().contains(QStringLiteral("Programming Completed!")));
    QVERIFY(w.MainForm.ui().map_prg->isGreen());
    w.MainForm.Timer_Read().stop();
    const std::size_t from = w.port.module().history().size();
    w.messages.answers = {true};
    w.MainForm.gravarClick();
    const auto& all = w.port.module().history();
    const std::optional<Block> written =
        Bench::WrittenBlock({all.begin() + static_cast<std::ptrdiff_t>(from), all.end()});
    QVERIFY(written.has_value());
    QCOMPARE((*written)[0] & 0x01, 0x01);
    QCOMPARE(w.port.module().settings()[0] & 0x01, 0x01);
  }

  // An edit the technician has not written survives the read after a program.
  void aProgramsEndKeepsUnwrittenEdits() {
    Bench b;
    b.w.MainForm.lerClick();
    b.Type("temp_corr", QStringLiteral("40"));
    QTimer::singleShot(0, &b.w.ProgramForm, [&] {
      b.w.messages.answers = {true};
      b.w.ProgramForm.ui().prog_type_1->click();  // reset: one request
      b.w.ProgramForm.ui().button_OK->click();
    });
    b.w.MainForm.progClick();
    QCOMPARE(b.w.MainForm.findChild<QLineEdit*>("temp_corr")->text(), QStringLiteral("40"));
  }
};

ZELK_GUI_TEST_MAIN(ExactWriteTest)
#include "exact_write_test.moc"
