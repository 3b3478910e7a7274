// SPDX-License-Identifier: GPL-3.0-or-later
// Settings prepared with no module against the simulated one: New, Open and
// Save work with no port and send nothing; the files keep what they are (a
// block with its module bytes and version, or the settings a hand-written
// file names); a Read that meets prepared settings asks first, and each of
// its three answers does what it says; a file of another major version is
// written only after a question naming both versions.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "app/status_text.h"
#include "gui_test_main.h"
#include "records/vehicle_history.h"
#include "records/vehicle_store.h"
#include "session/data_folder.h"
#include "session/restore_points.h"
#include "settings/settings_table.h"
#include "settings_file/file_io.h"
#include "settings_file/settings_file.h"
#include "ui_MainForm.h"
#include "windows_fixture.h"

using zelk::test::Box;
using zelk::test::Windows;

namespace {

namespace fs = std::filesystem;
using Block = std::array<std::uint8_t, zelk::kSettingsBlockSize>;

constexpr int kWrite = 0;
constexpr int kReadModule = 1;
constexpr int kCancel = 2;

fs::path DataFolder() {
  return fs::path(qgetenv("ZELK_DATA_DIR").toStdString());
}

QAction* Action(Windows& w, const char* name) {
  return w.MainForm.menu_bar().findChild<QAction*>(QString::fromLatin1(name));
}

QString WriteText(const QTemporaryDir& dir, const QString& name, const std::string& text) {
  const QString path = dir.filePath(name);
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(text.data(), static_cast<qint64>(text.size()));
  return path;
}

zelk::SettingsFile ReadBack(const QString& path) {
  const zelk::FileRead read = zelk::ReadSmallFile(path.toStdString());
  auto decoded = zelk::DecodeSettingsFile(read.contents);
  if (!decoded.file) qWarning("%s: %s", qPrintable(path), decoded.error.c_str());
  return decoded.file.value_or(zelk::SettingsFile{});
}

// A backup of a module whose own bytes differ from the simulator's: status
// bits, the mixture byte and an unused byte.
zelk::SettingsFile BackupFile(const Block& module, const std::string& version) {
  Block block = module;
  block[zelk::kFlagsOffset] = static_cast<std::uint8_t>((block[zelk::kFlagsOffset] & 0xF0) | 0x03);
  block[zelk::kMixtureOffset] = 42;
  block[zelk::kSettings[zelk::kTempoPartida].offset] = 0x10;  // another injection time
  return zelk::MakeSettingsFile(block, version, "2026-12-10T09:00:00Z", zelk::SaveReason::backup);
}

int SettingsNamed(const zelk::SettingsFile& file) {
  int named = 0;
  for (const auto& value : file.settings.values) named += value ? 1 : 0;
  return named;
}

std::vector<zelk::RestorePoint> RestorePointsNow() {
  return zelk::RestorePoints(DataFolder() / "restore-points").List();
}

}  // namespace

class PreparedSettingsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    zelk::ChooseDataFolder({});
    QDir(QString::fromStdString(DataFolder().string())).removeRecursively();
  }

  void files_need_no_module_and_write_waits_for_a_read() {
    Windows w;
    for (const char* name : {"action_new_settings", "action_open_settings", "action_save_settings",
                             "action_compare"}) {
      QVERIFY2(Action(w, name)->isEnabled(), name);
    }
    QVERIFY(!Action(w, "action_restore")->isEnabled());
    QVERIFY(!w.MainForm.ui().gravar->isEnabled());
    QVERIFY(!w.MainForm.ui().prog->isEnabled());
    QVERIFY(!w.MainForm.HoldsPrepared());
    QVERIFY(w.MainForm.status_text().prepared().isEmpty());
  }

  void new_settings_save_every_setting_without_a_block() {
    Windows w;
    QTemporaryDir dir;
    w.MainForm.ui().tempo_partida->setText(QStringLiteral("1500"));
    QCOMPARE(w.MainForm.status_text().prepared(), QStringLiteral("Offline: new settings"));
    // New asks before the typed value goes, and puts the start values back.
    w.messages.answers = {true};
    Action(w, "action_new_settings")->trigger();
    QCOMPARE(w.messages.boxes.size(), std::size_t{1});
    QCOMPARE(w.MainForm.ui().tempo_partida->text(), QStringLiteral("1000"));

    w.MainForm.ui().temp_corr->setText(QStringLiteral("45"));
    w.MainForm.SaveSettingsFile(dir.filePath(QStringLiteral("desk")));
    const zelk::SettingsFile file = ReadBack(dir.filePath(QStringLiteral("desk.zelk")));
    QVERIFY(!file.block);
    QCOMPARE(file.module_version, std::string());
    QCOMPARE(file.reason, std::optional(zelk::SaveReason::prepared));
    QCOMPARE(SettingsNamed(file), static_cast<int>(zelk::kSettingRowCount));
    QCOMPARE(file.settings.values[zelk::kTempCorr], std::optional(45.0));
    QCOMPARE(file.settings.values[zelk::kTempoPartida], std::optional(1000.0));
    QCOMPARE(w.MainForm.status_text().prepared(), QStringLiteral("Offline: desk.zelk"));
    QCOMPARE(w.port.module().counters().requests, std::uint64_t{0});

    // Opened again, the boxes show what was saved.
    w.MainForm.ui().temp_corr->setText(QStringLiteral("30"));
    w.messages.answers = {true};  // drop the unsaved change
    w.MainForm.OpenSettingsFile(dir.filePath(QStringLiteral("desk.zelk")));
    QCOMPARE(w.MainForm.ui().temp_corr->text(), QStringLiteral("45"));
  }

  void a_backup_is_prepared_and_saved_with_its_own_bytes() {
    Windows w;
    QTemporaryDir dir;
    const zelk::SettingsFile backup = BackupFile(w.port.module().settings(), "2.10");
    const QString path =
        WriteText(dir, QStringLiteral("before.zelk"), zelk::EncodeSettingsFile(backup));
    w.MainForm.OpenSettingsFile(path);
    QVERIFY(w.messages.boxes.empty());
    QCOMPARE(w.MainForm.status_text().prepared(), QStringLiteral("Offline: before.zelk"));
    QCOMPARE(w.MainForm.ui().tempo_partida->text(),
             QString::number(*backup.settings.values[zelk::kTempoPartida]));

    w.MainForm.ui().temp_corr->setText(QStringLiteral("45"));
    w.MainForm.SaveSettingsFile(dir.filePath(QStringLiteral("after.zelk")));
    const zelk::SettingsFile saved = ReadBack(dir.filePath(QStringLiteral("after.zelk")));
    QVERIFY(saved.block);
    QCOMPARE(saved.module_version, std::string("2.10"));
    QCOMPARE(saved.settings.values[zelk::kTempCorr], std::optional(45.0));
    QCOMPARE((*saved.block)[zelk::kMixtureOffset], std::uint8_t{42});
    QCOMPARE((*saved.block)[zelk::kFlagsOffset] & 0x0F, 0x03);
    // Every other setting byte as the backup held it.
    QCOMPARE(saved.settings.values[zelk::kTempoPartida],
             backup.settings.values[zelk::kTempoPartida]);
    QCOMPARE(w.port.module().counters().requests, std::uint64_t{0});
  }

  void a_hand_written_file_names_what_it_named_and_what_changed() {
    Windows w;
    QTemporaryDir dir;
    const QString path = WriteText(dir, QStringLiteral("hand.zelk"),
                                   R"({"format": "zelk-settings", "format_version": 1,
                                       "settings": {"tempo_partida": 1200, "heat_en": false}})");
    w.MainForm.OpenSettingsFile(path);
    QCOMPARE(w.MainForm.ui().tempo_partida->text(), QStringLiteral("1200"));
    w.MainForm.SaveSettingsFile(dir.filePath(QStringLiteral("same.zelk")));
    zelk::SettingsFile saved = ReadBack(dir.filePath(QStringLiteral("same.zelk")));
    QVERIFY(!saved.block);
    QCOMPARE(SettingsNamed(saved), 2);
    QCOMPARE(saved.settings.values[zelk::kHeatEn], std::optional(0.0));

    w.MainForm.ui().temp_corr->setText(QStringLiteral("45"));
    w.MainForm.SaveSettingsFile(dir.filePath(QStringLiteral("more.zelk")));
    saved = ReadBack(dir.filePath(QStringLiteral("more.zelk")));
    QCOMPARE(SettingsNamed(saved), 3);
    QCOMPARE(saved.settings.values[zelk::kTempCorr], std::optional(45.0));
  }

  void a_refused_file_leaves_the_prepared_settings() {
    Windows w;
    QTemporaryDir dir;
    w.MainForm.ui().tempo_partida->setText(QStringLiteral("1500"));
    const QString bad = WriteText(dir, QStringLiteral("bad.zelk"), "{\"format\": \"other\"}");
    w.MainForm.OpenSettingsFile(bad);
    QCOMPARE(w.messages.boxes.size(), std::size_t{1});
    QCOMPARE(w.MainForm.ui().tempo_partida->text(), QStringLiteral("1500"));
    QVERIFY(w.MainForm.HoldsPrepared());
  }

  void read_asks_and_cancel_changes_nothing() {
    Windows w;
    w.MainForm.ui().tempo_partida->setText(QStringLiteral("1500"));
    w.Connect();
    QCOMPARE(w.MainForm.status_text().prepared(),
             QStringLiteral("Prepared, not written: new settings"));
    const Block module = w.port.module().settings();
    const std::uint64_t requests = w.port.module().counters().requests;
    w.messages.boxes.clear();
    w.messages.choices = {kCancel};
    w.MainForm.lerClick();
    QCOMPARE(w.messages.boxes.size(), std::size_t{1});
    QCOMPARE(w.messages.boxes[0].kind, Box::choose);
    QVERIFY(w.messages.boxes[0].text.contains(QStringLiteral("not saved")));
    QCOMPARE(w.messages.last_choices.size(), 3);
    QCOMPARE(w.port.module().counters().requests, requests);
    QCOMPARE(w.port.module().settings(), module);
    QCOMPARE(w.MainForm.ui().tempo_partida->text(), QStringLiteral("1500"));
    QVERIFY(!w.MainForm.ui().gravar->isEnabled());
    QVERIFY(!w.MainForm.ui().prog->isEnabled());  // the question comes first
    QVERIFY(w.MainForm.HoldsPrepared());
  }

  void reading_the_modules_replaces_them_and_keeps_the_file() {
    Windows w;
    QTemporaryDir dir;
    const QString path =
        WriteText(dir, QStringLiteral("before.zelk"),
                  zelk::EncodeSettingsFile(BackupFile(w.port.module().settings(), "2.10")));
    w.MainForm.OpenSettingsFile(path);
    w.Connect();
    w.messages.boxes.clear();
    w.messages.choices = {kReadModule};
    w.MainForm.lerClick();
    w.MainForm.Timer_Read().stop();
    QVERIFY(!w.MainForm.HoldsPrepared());
    QVERIFY(w.MainForm.last_read());
    QCOMPARE(*w.MainForm.last_read(), w.port.module().settings());
    QVERIFY(w.MainForm.ui().gravar->isEnabled());
    QVERIFY(w.MainForm.ui().prog->isEnabled());
    QVERIFY(w.MainForm.status_text().prepared().isEmpty());
    QVERIFY(QFile::exists(path));
    QVERIFY(RestorePointsNow().empty());
  }

  void writing_them_lays_them_over_the_module_behind_a_restore_point() {
    Windows w;
    QTemporaryDir dir;
    const Block before = w.port.module().settings();
    const zelk::SettingsFile backup = BackupFile(before, "2.10");
    w.MainForm.OpenSettingsFile(
        WriteText(dir, QStringLiteral("before.zelk"), zelk::EncodeSettingsFile(backup)));
    w.MainForm.ui().temp_corr->setText(QStringLiteral("45"));
    w.Connect();
    w.port.module().settings()[zelk::kMixtureOffset] = 7;  // the module's own byte
    w.messages.boxes.clear();
    w.messages.choices = {kWrite};
    w.messages.answers = {true};
    w.MainForm.lerClick();
    w.MainForm.Timer_Read().stop();
    // The question names the settings that will change.
    QCOMPARE(w.messages.boxes.size(), std::size_t{3});
    QVERIFY(w.messages.boxes[1].text.startsWith(
        QStringLiteral("Write the settings of before.zelk to the module?")));
    QCOMPARE(w.messages.boxes[2].text,
             QStringLiteral("The module now holds the settings of before.zelk."));
    const Block& held = w.port.module().settings();
    QCOMPARE(held[zelk::kMixtureOffset], std::uint8_t{7});
    QCOMPARE(held[zelk::kFlagsOffset] & 0x0F, before[zelk::kFlagsOffset] & 0x0F);
    QCOMPARE(held[zelk::kSettings[zelk::kTempoPartida].offset], std::uint8_t{0x10});
    QCOMPARE(w.MainForm.ui().temp_corr->text(), QStringLiteral("45"));
    QVERIFY(!w.MainForm.HoldsPrepared());
    QVERIFY(w.MainForm.ui().gravar->isEnabled());
    const std::vector<zelk::RestorePoint> points = RestorePointsNow();
    QCOMPARE(points.size(), std::size_t{1});
    QCOMPARE(points[0].file->reason, std::optional(zelk::SaveReason::before_prepared));
    Block module_then = before;
    module_then[zelk::kMixtureOffset] = 7;
    QCOMPARE(points[0].file->block, std::optional<Block>(module_then));
  }

  void a_hand_written_file_writes_only_what_it_names() {
    Windows w;
    QTemporaryDir dir;
    w.MainForm.OpenSettingsFile(WriteText(dir, QStringLiteral("hand.zelk"),
                                          R"({"format": "zelk-settings", "format_version": 1,
                                              "settings": {"tempo_partida": 1200}})"));
    w.Connect();
    const Block before = w.port.module().settings();
    w.messages.choices = {kWrite};
    w.messages.answers = {true};
    w.MainForm.lerClick();
    w.MainForm.Timer_Read().stop();
    const Block& held = w.port.module().settings();
    const zelk::SettingRow& changed = zelk::kSettings[zelk::kTempoPartida];
    for (std::size_t offset = 0; offset < held.size(); ++offset) {
      if (offset == changed.offset || offset == changed.offset + 1) continue;
      QCOMPARE(held[offset], before[offset]);
    }
    QCOMPARE(w.MainForm.ui().tempo_partida->text(), QStringLiteral("1200"));
  }

  void no_to_the_write_and_a_silent_module_keep_them() {
    Windows w;
    w.MainForm.ui().tempo_partida->setText(QStringLiteral("1500"));
    w.Connect();
    const Block before = w.port.module().settings();
    w.messages.choices = {kWrite};
    w.messages.answers = {false};
    w.MainForm.lerClick();
    QCOMPARE(w.port.module().settings(), before);
    QVERIFY(w.MainForm.HoldsPrepared());
    QCOMPARE(w.MainForm.ui().tempo_partida->text(), QStringLiteral("1500"));

    w.port.module().faults().silent = true;
    w.messages.boxes.clear();
    w.messages.choices = {kWrite};
    w.MainForm.lerClick();
    QCOMPARE(w.messages.boxes.back().text, QStringLiteral("Communication Fail"));
    QVERIFY(w.MainForm.HoldsPrepared());
    QCOMPARE(w.MainForm.ui().tempo_partida->text(), QStringLiteral("1500"));
    QVERIFY(RestorePointsNow().empty());
  }

  void another_major_version_is_written_only_after_its_question() {
    Windows w;
    QTemporaryDir dir;
    const Block before = w.port.module().settings();
    const QString path = WriteText(dir, QStringLiteral("v3.zelk"),
                                   zelk::EncodeSettingsFile(BackupFile(before, "3.1")));
    w.MainForm.OpenSettingsFile(path);
    w.Connect();
    w.messages.boxes.clear();
    w.messages.choices = {kWrite};
    w.messages.answers = {false};
    w.MainForm.lerClick();
    QCOMPARE(w.messages.boxes.size(), std::size_t{2});
    const QString question = w.messages.boxes[1].text;
    QVERIFY2(question.contains(QStringLiteral("v3.zelk")) &&
                 question.contains(QStringLiteral("version 3.1")) &&
                 question.contains(QStringLiteral("version 2.10")),
             qPrintable(question));
    QCOMPARE(w.port.module().settings(), before);
    QVERIFY(w.MainForm.HoldsPrepared());

    w.messages.choices = {kWrite};
    w.messages.answers = {true, true};
    w.MainForm.lerClick();
    w.MainForm.Timer_Read().stop();
    QVERIFY(!w.MainForm.HoldsPrepared());
    QCOMPARE(w.port.module().settings()[zelk::kSettings[zelk::kTempoPartida].offset],
             std::uint8_t{0x10});

    // Restore from the same file asks too; No writes nothing.
    w.messages.boxes.clear();
    w.messages.answers = {true, false};
    w.port.module().settings() = before;
    w.MainForm.RestoreFromFile(path);
    QCOMPARE(w.messages.boxes.size(), std::size_t{2});
    QVERIFY(w.messages.boxes[1].text.contains(QStringLiteral("version 3.1")));
    QCOMPARE(w.port.module().settings(), before);
  }

  void write_of_a_file_opened_over_a_read_asks_for_another_version() {
    Windows w;
    QTemporaryDir dir;
    const Block before = w.port.module().settings();
    w.Connect();
    w.MainForm.lerClick();
    w.MainForm.Timer_Read().stop();
    w.MainForm.OpenSettingsFile(WriteText(dir, QStringLiteral("v3.zelk"),
                                          zelk::EncodeSettingsFile(BackupFile(before, "3.1"))));
    w.messages.boxes.clear();
    w.messages.answers = {false};
    w.MainForm.gravarClick();
    QCOMPARE(w.messages.boxes.size(), std::size_t{1});
    QVERIFY(w.messages.boxes[0].text.contains(QStringLiteral("v3.zelk")));
    QCOMPARE(w.port.module().settings(), before);
  }

  void closing_asks_before_unsaved_prepared_settings_go() {
    Windows w;
    w.MainForm.show();
    w.MainForm.ui().tempo_partida->setText(QStringLiteral("1500"));
    w.messages.answers = {false};
    QVERIFY(!w.MainForm.close());
    QVERIFY(w.messages.boxes.back().text.contains(QStringLiteral("not saved")));
    w.messages.answers = {true};
    QVERIFY(w.MainForm.close());
  }

  void saved_with_a_vehicle_on_the_bench_they_are_its_prepared_record() {
    Windows w;
    QTemporaryDir dir;
    const zelk::VehicleStore store(DataFolder() / "vehicles");
    zelk::Vehicle car;
    car.id = "ABC1D23";
    QVERIFY(store.Add(car).entry);
    QVERIFY(w.MainForm.ChooseVehicle("ABC1D23"));
    Action(w, "action_new_settings")->trigger();
    QCOMPARE(w.MainForm.status_text().prepared(), QStringLiteral("Offline: ABC1D23, prepared"));
    w.MainForm.ui().temp_corr->setText(QStringLiteral("45"));
    w.MainForm.SaveSettingsFile(dir.filePath(QStringLiteral("for-abc.zelk")));
    const std::vector<zelk::HistoryRecord> records =
        zelk::VehicleHistory(store.Find("ABC1D23")->folder).Timeline();
    QCOMPARE(records.size(), std::size_t{1});
    QVERIFY(records[0].settings);
    QCOMPARE(records[0].settings->reason, std::optional(zelk::SaveReason::prepared));

    // The next day: the record opened to edit offline names the car.
    Windows next_day;
    QVERIFY(next_day.MainForm.ChooseVehicle("ABC1D23"));
    next_day.MainForm.EditOffline(QString::fromStdString(records[0].file.string()));
    QCOMPARE(next_day.MainForm.status_text().prepared(),
             QStringLiteral("Offline: ABC1D23, prepared"));
    QCOMPARE(next_day.MainForm.ui().temp_corr->text(), QStringLiteral("45"));
  }
};

ZELK_GUI_TEST_MAIN(PreparedSettingsTest)
#include "prepared_settings_test.moc"
