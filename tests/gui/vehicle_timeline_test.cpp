// SPDX-License-Identifier: GPL-3.0-or-later
// The vehicle's timeline against a history written in a folder of the
// test's own: each record's row (local time, kind, what, version,
// differences from the window), the buttons each kind of record offers, the
// record's file handed to each action, and the choice of settings to restore.

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <chrono>
#include <ctime>
#include <fstream>
#include <memory>

#include "accelerators.h"
#include "app/application.h"
#include "app/choose_settings_dialog.h"
#include "app/vehicle_timeline_dialog.h"
#include "records/vehicle_history.h"
#include "text/utc_time.h"

namespace {

using namespace zelk;
using std::chrono::minutes;

// The rows the history below gives, newest first.
enum Row { kLogRow, kDamagedRow, kReadRow, kProgramRow, kNoteRow, kBeforeWriteRow, kRowCount };

constexpr std::array<const char*, 5> kButtons{"compare", "restore", "restore_chosen",
                                              "open_settings", "open_log"};

SettingsBlock BeforeWriteBlock() {
  SettingsBlock block;
  block.fill(0x10);
  return block;
}

// As read later: the minimum temperature changed since the write.
SettingsBlock ReadBlock() {
  SettingsBlock block = BeforeWriteBlock();
  block[kSettings[kTempCorr].offset] = 0x20;
  return block;
}

// The window: the read, and the adjust time changed since.
SettingTexts WindowTexts() {
  SettingsBlock block = ReadBlock();
  block[kSettings[kTempoAjuste].offset] = 0x20;
  return TextsOf(SettingsOfBlock(block));
}

void WriteByHand(const std::filesystem::path& path, const char* contents) {
  std::ofstream(path, std::ios::binary) << contents;
}

// Six records, one every five minutes from 10:15 UTC.
class History {
 public:
  History() : history_(std::filesystem::path(dir_.path().toStdString()) / "ABC1D23", Clock()) {
    Add(history_.AddSettings(
        MakeSettingsFile(BeforeWriteBlock(), "2.10", UtcTimeText(now_), SaveReason::before_write)));
    Add(history_.AddNote("Injector 3 replaced\nCustomer waits"));
    Add(history_.AddProgramRun({"map", "a", "b", ProgramResult::completed, "2.10"}));
    Add(history_.AddSettings(
        MakeSettingsFile(ReadBlock(), "2.10", UtcTimeText(now_), SaveReason::read)));
    WriteByHand(history_.folder() / "2026-12-09T10-35-00.000Z-0000abcd.zelk", "{ not json");
    WriteByHand(history_.folder() / "2026-12-09T10-40-00.000Z-0000beef.csv", "t\n");
    records_ = history_.Timeline();
  }

  const std::vector<HistoryRecord>& records() const { return records_; }
  std::filesystem::path File(int row) const { return records_.at(std::size_t(row)).file; }

  TimelineShown Shown(bool window, bool can_write) const {
    return {"ABC1D23", records_, window ? std::optional<SettingTexts>(WindowTexts()) : std::nullopt,
            can_write};
  }

 private:
  VehicleHistory::Now Clock() {
    return [this] { return now_; };
  }
  void Add(const AddedRecord& added) {
    if (!added.file) qFatal("%s", added.error.c_str());
    now_ += minutes(5);
  }

  QTemporaryDir dir_;
  std::chrono::system_clock::time_point now_{std::chrono::seconds(1796811300)};  // 10:15 UTC
  VehicleHistory history_;
  std::vector<HistoryRecord> records_;
};

QString FileName(const std::filesystem::path& file) {
  return QString::fromStdString(file.filename().string());
}

// What the actions were called with, one line a call: "restore 2026-...zelk".
struct Calls {
  QStringList lines;

  TimelineActions Actions() {
    auto line = [this](const char* action) {
      return [this, action](const std::filesystem::path& file) {
        lines << QStringLiteral("%1 %2").arg(QString::fromLatin1(action), FileName(file));
      };
    };
    return {line("compare"),
            line("restore"),
            [this](const std::filesystem::path& file, std::vector<SettingIndex> chosen) {
              QStringList names;
              for (SettingIndex setting : chosen)
                names << QString::fromLatin1(kSettings[setting].name.data(),
                                             qsizetype(kSettings[setting].name.size()));
              lines << QStringLiteral("restore_chosen %1 %2").arg(FileName(file), names.join(u','));
            },
            line("open_settings"),
            line("open_log"),
            line("open_report")};
  }
};

QTableWidget* Table(QWidget* dialog) {
  return dialog->findChild<QTableWidget*>(QStringLiteral("timeline"));
}

QPushButton* Button(QWidget* dialog, const char* name) {
  return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
}

// "10100": which of kButtons are enabled.
QString Enabled(QWidget* dialog) {
  QString enabled;
  for (const char* name : kButtons) enabled += Button(dialog, name)->isEnabled() ? u'1' : u'0';
  return enabled;
}

}  // namespace

class VehicleTimelineTest : public QObject {
  Q_OBJECT

 private slots:
  void everyRecordHasItsRowNewestFirst_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("cells");  // time, kind, what, version, differences
    QTest::newRow("log") << int(kLogRow) << QStringList{"2026-12-09 07:40:00", "Log", "", "", ""};
    QTest::newRow("settings before a write")
        << int(kBeforeWriteRow)
        << QStringList{"2026-12-09 07:15:00", "Settings", "before a write", "2.10", "2"};
    QTest::newRow("settings as read")
        << int(kReadRow) << QStringList{"2026-12-09 07:30:00", "Settings", "as read", "2.10", "1"};
    QTest::newRow("program run") << int(kProgramRow)
                                 << QStringList{"2026-12-09 07:25:00", "Program run",
                                                "map: completed", "2.10", ""};
    QTest::newRow("note on one line")
        << int(kNoteRow)
        << QStringList{"2026-12-09 07:20:00", "Note", "Injector 3 replaced Customer waits", "", ""};
  }
  void everyRecordHasItsRowNewestFirst() {
    QFETCH(int, row);
    QFETCH(QStringList, cells);
    const History history;
    QDialog* dialog = MakeVehicleTimelineDialog(nullptr, history.Shown(true, true), {});
    QTableWidget* table = Table(dialog);
    QCOMPARE(table->rowCount(), int(kRowCount));
    QStringList shown;
    for (int column = 0; column < table->columnCount(); ++column)
      shown << table->item(row, column)->text();
    QCOMPARE(shown, cells);
    delete dialog;
  }

  void theCaptionNamesTheVehicle() {
    const History history;
    std::unique_ptr<QDialog> dialog(
        MakeVehicleTimelineDialog(nullptr, history.Shown(false, false), {}));
    QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("caption"))->text(),
             QStringLiteral("ABC1D23: every record, newest first"));
    // Without the window's settings there is nothing to count.
    QCOMPARE(Table(dialog.get())->item(kReadRow, 4)->text(), QString());
  }

  void aNoteKeepsItsWholeTextAsTooltip() {
    const History history;
    std::unique_ptr<QDialog> dialog(
        MakeVehicleTimelineDialog(nullptr, history.Shown(true, true), {}));
    QCOMPARE(Table(dialog.get())->item(kNoteRow, 2)->toolTip(),
             QStringLiteral("Injector 3 replaced\nCustomer waits"));
  }

  void aDamagedRecordSaysWhyAndOffersNothing() {
    const History history;
    QVERIFY(!history.records()[kDamagedRow].damaged.empty());
    std::unique_ptr<QDialog> dialog(
        MakeVehicleTimelineDialog(nullptr, history.Shown(true, true), {}));
    QTableWidget* table = Table(dialog.get());
    QCOMPARE(table->item(kDamagedRow, 1)->text(), QStringLiteral("Settings"));
    QCOMPARE(table->item(kDamagedRow, 2)->text(),
             QStringLiteral("Damaged: ") +
                 QString::fromStdString(history.records()[kDamagedRow].damaged));
    table->selectRow(kDamagedRow);
    QCOMPARE(Enabled(dialog.get()), QStringLiteral("00000"));
  }

  void theButtonsFollowTheSelectedRecord_data() {
    QTest::addColumn<int>("row");  // -1: none selected
    QTest::addColumn<bool>("window");
    QTest::addColumn<bool>("can_write");
    QTest::addColumn<QString>("enabled");  // compare, restore, chosen, open settings, open log
    QTest::newRow("nothing selected") << -1 << true << true << "00000";
    QTest::newRow("settings") << int(kReadRow) << true << true << "11110";
    QTest::newRow("settings before a read") << int(kReadRow) << false << true << "01110";
    QTest::newRow("settings, module not writable") << int(kReadRow) << true << false << "10010";
    QTest::newRow("settings, neither") << int(kBeforeWriteRow) << false << false << "00010";
    QTest::newRow("log") << int(kLogRow) << true << true << "00001";
    QTest::newRow("note") << int(kNoteRow) << true << true << "00000";
    QTest::newRow("program run") << int(kProgramRow) << true << true << "00000";
  }
  void theButtonsFollowTheSelectedRecord() {
    QFETCH(int, row);
    QFETCH(bool, window);
    QFETCH(bool, can_write);
    QFETCH(QString, enabled);
    const History history;
    std::unique_ptr<QDialog> dialog(
        MakeVehicleTimelineDialog(nullptr, history.Shown(window, can_write), {}));
    if (row >= 0) Table(dialog.get())->selectRow(row);
    QCOMPARE(Enabled(dialog.get()), enabled);
  }

  void eachActionClosesThenGetsTheRecordsFile_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("row");
    QTest::newRow("compare") << "compare" << int(kBeforeWriteRow);
    QTest::newRow("restore") << "restore" << int(kReadRow);
    QTest::newRow("open settings") << "open_settings" << int(kBeforeWriteRow);
    QTest::newRow("open log") << "open_log" << int(kLogRow);
  }
  void eachActionClosesThenGetsTheRecordsFile() {
    QFETCH(QString, button);
    QFETCH(int, row);
    const History history;
    Calls calls;
    QPointer<QDialog> dialog =
        MakeVehicleTimelineDialog(nullptr, history.Shown(true, true), calls.Actions());
    dialog->show();
    Table(dialog)->selectRow(row);
    Button(dialog, qPrintable(button))->click();
    QCOMPARE(calls.lines, QStringList{button + u' ' + FileName(history.File(row))});
    QVERIFY(dialog.isNull() || !dialog->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(dialog.isNull());
  }

  // A commissioning step says what it was and how it ended; a customer's
  // report opens from the same button as a log, named for it.
  void aReportOpensAndAStepSaysHowItEnded() {
    QTemporaryDir dir;
    std::chrono::system_clock::time_point now{std::chrono::seconds(1796811300)};
    VehicleHistory history(std::filesystem::path(dir.path().toStdString()) / "ABC1D23",
                           [&now] { return now; });
    CommissioningRecord step;
    step.commissioning = "2026-12-09T10:00:00Z";
    step.step = CommissioningStep::map;
    step.outcome = StepOutcome::skipped;
    step.reason = "no MAP sensor fitted";
    step.module_version = "2.10";
    QVERIFY(history.AddCommissioningStep(step).file);
    now += minutes(5);  // the report is the newer
    QVERIFY(history.AddReport("%PDF-1.4 made by hand\n").file);
    const std::vector<HistoryRecord> records = history.Timeline();
    QCOMPARE(records.size(), std::size_t{2});
    Calls calls;
    QPointer<QDialog> dialog = MakeVehicleTimelineDialog(
        nullptr, {"ABC1D23", records, std::nullopt, false}, calls.Actions());
    dialog->show();
    QCOMPARE(Table(dialog)->item(1, 2)->text(),
             QStringLiteral("MAP program: skipped: no MAP sensor fitted"));
    QCOMPARE(Table(dialog)->item(1, 3)->text(), QStringLiteral("2.10"));
    QCOMPARE(Table(dialog)->item(0, 1)->text(), QStringLiteral("Customer report"));
    Table(dialog)->selectRow(1);
    QVERIFY(!Button(dialog, "open_log")->isEnabled());
    Table(dialog)->selectRow(0);
    QVERIFY(Button(dialog, "open_log")->isEnabled());
    QCOMPARE(Button(dialog, "open_log")->text(), QStringLiteral("Open re&port"));
    Button(dialog, "open_log")->click();
    QCOMPARE(calls.lines, QStringList{QStringLiteral("open_report ") + FileName(records[0].file)});
  }

  void restoreChosenTakesTheTickedSettings() {
    const History history;
    Calls calls;
    QPointer<QDialog> dialog =
        MakeVehicleTimelineDialog(nullptr, history.Shown(true, true), calls.Actions());
    dialog->show();
    Table(dialog)->selectRow(kBeforeWriteRow);
    QTimer::singleShot(0, [] {
      auto* chooser = qobject_cast<ChooseSettingsDialog*>(QApplication::activeModalWidget());
      if (chooser == nullptr) return;
      auto* table = chooser->findChild<QTableWidget*>(QStringLiteral("settings"));
      table->item(kHeatEn, 0)->setCheckState(Qt::Checked);
      table->item(kTempCorr, 0)->setCheckState(Qt::Checked);
      chooser->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    Button(dialog, "restore_chosen")->click();
    QCOMPARE(calls.lines, QStringList{QStringLiteral("restore_chosen %1 temp_corr,heat_en")
                                          .arg(FileName(history.File(kBeforeWriteRow)))});
    QVERIFY(dialog.isNull() || !dialog->isVisible());
  }

  void restoreChosenCancelledKeepsTheTimeline() {
    const History history;
    Calls calls;
    std::unique_ptr<QDialog> dialog(
        MakeVehicleTimelineDialog(nullptr, history.Shown(true, true), calls.Actions()));
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    dialog->show();
    Table(dialog.get())->selectRow(kReadRow);
    QTimer::singleShot(0, [] {
      if (QWidget* chooser = QApplication::activeModalWidget()) chooser->close();
    });
    Button(dialog.get(), "restore_chosen")->click();
    QCOMPARE(calls.lines, QStringList());
    QVERIFY(dialog->isVisible());
  }

  void theAcceleratorsDoNotCollide() {
    const History history;
    std::unique_ptr<QDialog> dialog(
        MakeVehicleTimelineDialog(nullptr, history.Shown(true, true), {}));
    std::size_t claimed = 0;
    QCOMPARE(zelk::test::AcceleratorCollisions(*dialog, nullptr, &claimed), QStringList());
    QVERIFY(claimed >= 5);
  }

  // The chooser, driven directly.
  void noSettingIsTickedAtFirst() {
    const SettingsFile record = MakeSettingsFile(BeforeWriteBlock(), "2.10", "", SaveReason::read);
    ChooseSettingsDialog chooser(nullptr, record, WindowTexts());
    QCOMPARE(chooser.Chosen(), std::vector<SettingIndex>());
    QVERIFY(!chooser.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled());
  }

  void okFollowsTheTicksAndChosenIsInTableOrder() {
    const SettingsFile record = MakeSettingsFile(BeforeWriteBlock(), "2.10", "", SaveReason::read);
    ChooseSettingsDialog chooser(nullptr, record, WindowTexts());
    auto* table = chooser.findChild<QTableWidget*>(QStringLiteral("settings"));
    QPushButton* ok = chooser.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    table->item(kBandaLarga, 0)->setCheckState(Qt::Checked);
    table->item(kTempoPartida, 0)->setCheckState(Qt::Checked);
    QVERIFY(ok->isEnabled());
    QCOMPARE(chooser.Chosen(), (std::vector<SettingIndex>{kTempoPartida, kBandaLarga}));
    table->item(kBandaLarga, 0)->setCheckState(Qt::Unchecked);
    table->item(kTempoPartida, 0)->setCheckState(Qt::Unchecked);
    QVERIFY(!ok->isEnabled());
  }

  void theDifferingSettingsAreBoldAndValuesSideBySide() {
    const SettingsFile record = MakeSettingsFile(BeforeWriteBlock(), "2.10", "", SaveReason::read);
    const SettingTexts window = WindowTexts();
    ChooseSettingsDialog chooser(nullptr, record, window);
    auto* table = chooser.findChild<QTableWidget*>(QStringLiteral("settings"));
    QCOMPARE(table->rowCount(), int(kSettingRowCount));
    const SettingTexts in_record = TextsOfFile(record);
    std::vector<SettingIndex> bold;
    for (const SettingRow& row : kSettings) {
      const int r = int(row.id);
      QCOMPARE(table->item(r, 1)->text(), QString::fromStdString(*in_record[row.id]));
      QCOMPARE(table->item(r, 2)->text(), QString::fromStdString(*window[row.id]));
      if (table->item(r, 0)->font().bold()) bold.push_back(row.id);
    }
    QCOMPARE(bold, (std::vector<SettingIndex>{kTempCorr, kTempoAjuste}));
  }

  void aSettingTheRecordLacksCannotBeTicked() {
    SettingsFile record;  // written by hand: no block, one setting
    record.settings.values[kTempCorr] = 40;
    ChooseSettingsDialog chooser(nullptr, record, std::nullopt);
    auto* table = chooser.findChild<QTableWidget*>(QStringLiteral("settings"));
    for (const SettingRow& row : kSettings) {
      const bool tickable = table->item(int(row.id), 0)->flags() & Qt::ItemIsUserCheckable;
      QCOMPARE(tickable, row.id == kTempCorr);
      QCOMPARE(table->item(int(row.id), 2)->text(), QString());
    }
    QCOMPARE(table->item(kTempCorr, 1)->text(), QStringLiteral("40"));
  }
};

// Records keep UTC; the technician in Sao Paulo (UTC-3, no summer time since
// 2019) sees 10:15Z as 07:15.
int main(int argc, char** argv) {
  qputenv("TZ", QByteArrayLiteral("America/Sao_Paulo"));
  tzset();
  qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
  QTemporaryDir data_dir;
  qputenv("ZELK_DATA_DIR", data_dir.path().toLocal8Bit());
  zelk::Application app(argc, argv);
  app.setApplicationName(QStringLiteral("Programable Zelk"));
  VehicleTimelineTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "vehicle_timeline_test.moc"
