// SPDX-License-Identifier: GPL-3.0-or-later
// The File menu against the simulated module: Save keeps the bytes of what
// was not changed, Open fills the boxes without a word to the module, Write
// and Restore save a restore point first (and write nothing without one),
// Restore writes the file's bytes and says whether the module took them,
// Compare marks the differences, and changed settings are marked until the
// next Read.

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "gui_test_main.h"
#include "session/restore_points.h"
#include "settings/settings_table.h"
#include "settings_file/file_io.h"
#include "settings_file/settings_file.h"
#include "ui_MainForm.h"
#include "windows_fixture.h"

using zelk::test::Box;
using zelk::test::Windows;

namespace {

using Block = std::array<std::uint8_t, zelk::kSettingsBlockSize>;

void ConnectAndRead(Windows& w) {
  w.Connect();
  w.MainForm.lerClick();
  w.MainForm.Timer_Read().stop();  // the tests tick by hand
  w.messages.boxes.clear();
}

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
  const QString path = dir.filePath(name);
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(text);
  return path;
}

zelk::SettingsFile ReadBack(const QString& path) {
  const zelk::FileRead read = zelk::ReadSmallFile(path.toStdString());
  auto decoded = zelk::DecodeSettingsFile(read.contents);
  if (!decoded.file) qWarning("%s", decoded.error.c_str());
  return decoded.file.value_or(zelk::SettingsFile{});
}

QAction* Action(Windows& w, const char* name) {
  return w.MainForm.menu_bar().findChild<QAction*>(QString::fromLatin1(name));
}

std::vector<zelk::RestorePoint> RestorePointsNow() {
  return zelk::RestorePoints(std::filesystem::path(qgetenv("ZELK_DATA_DIR").toStdString()) /
                             "restore-points")
      .List();
}

}  // namespace

class SettingsFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QDir(QString::fromLocal8Bit(qgetenv("ZELK_DATA_DIR")) + QStringLiteral("/restore-points"))
        .removeRecursively();
  }

  void only_the_file_action_that_writes_waits_for_a_read() {
    Windows w;
    for (const char* name : {"action_open_settings", "action_save_settings", "action_compare"}) {
      QVERIFY2(Action(w, name)->isEnabled(), name);
    }
    QVERIFY(!Action(w, "action_restore")->isEnabled());
    QVERIFY(Action(w, "action_restore_points")->isEnabled());
    QVERIFY(Action(w, "action_quit")->isEnabled());
    QCOMPARE(Action(w, "action_open_settings")->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    QCOMPARE(Action(w, "action_save_settings")->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    ConnectAndRead(w);
    QVERIFY(Action(w, "action_restore")->isEnabled());
  }

  void save_keeps_the_bytes_of_unchanged_settings() {
    Windows w;
    QTemporaryDir dir;
    ConnectAndRead(w);
    const Block as_read = *w.MainForm.last_read();
    w.MainForm.ui().tempo_partida->setText(QStringLiteral("1230"));
    w.MainForm.SaveSettingsFile(dir.filePath(QStringLiteral("car")));
    QVERIFY(w.messages.boxes.empty());
    const zelk::SettingsFile file = ReadBack(dir.filePath(QStringLiteral("car.zelk")));
    QVERIFY(file.block.has_value());
    QCOMPARE(file.module_version, std::string("2.10"));
    QCOMPARE(file.reason, std::optional(zelk::SaveReason::save));
    const zelk::SettingRow& changed = zelk::kSettings[zelk::kTempoPartida];
    for (std::size_t offset = 0; offset < as_read.size(); ++offset) {
      if (offset == changed.offset || offset == changed.offset + 1) continue;
      QCOMPARE((*file.block)[offset], as_read[offset]);
    }
    QCOMPARE(file.settings.values[zelk::kTempoPartida], std::optional(1230.0));

    // A text that does not encode writes nothing.
    w.MainForm.ui().tempo_partida->setText(QStringLiteral("12x"));
    w.MainForm.SaveSettingsFile(dir.filePath(QStringLiteral("bad.zelk")));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("bad.zelk"))));
    QVERIFY(!w.messages.boxes.empty());
  }

  void open_fills_the_boxes_and_sends_nothing() {
    Windows w;
    QTemporaryDir dir;
    ConnectAndRead(w);
    const std::uint64_t requests = w.port.module().counters().requests;
    const QString path = Write(dir, QStringLiteral("hand.zelk"),
                               R"({"format": "zelk-settings", "format_version": 1,
                                   "settings": {"temp_corr": 40, "heat_en": false}})");
    w.MainForm.OpenSettingsFile(path);
    QVERIFY(w.messages.boxes.empty());
    QCOMPARE(w.MainForm.ui().temp_corr->text(), QStringLiteral("40"));
    QVERIFY(!w.MainForm.ui().heat_en->isChecked());
    QCOMPARE(w.port.module().counters().requests, requests);
    // What Write will change is marked; the rest is not.
    QVERIFY(w.MainForm.ui().temp_corr->property("changed").toBool());
    QVERIFY(w.MainForm.ui().heat_en->property("changed").toBool());
    QVERIFY(!w.MainForm.ui().tempo_partida->property("changed").toBool());
    // A Read takes the marks away, once the technician agrees to drop them.
    w.messages.answers = {true};
    w.MainForm.lerClick();
    QCOMPARE(w.messages.boxes.size(), std::size_t{1});
    QCOMPARE(w.messages.boxes[0].kind, Box::ask);
    w.MainForm.Timer_Read().stop();
    QVERIFY(!w.MainForm.ui().temp_corr->property("changed").toBool());
  }

  void refused_files_change_nothing() {
    struct Case {
      const char* name;
      QByteArray text;
      const char* says;
    };
    const Case cases[] = {
        {"not-json.zelk", "{ nope", "JSON"},
        {"other.zelk", R"({"format": "other", "format_version": 1})", "format"},
        {"range.zelk", R"({"format": "zelk-settings", "format_version": 1,
                          "settings": {"temp_corr": 400}})",
         "between 0 and 100"},
        {"unknown.zelk", R"({"format": "zelk-settings", "format_version": 1,
                            "settings": {"turbo": 1}})",
         "turbo"},
    };
    Windows w;
    QTemporaryDir dir;
    ConnectAndRead(w);
    const QString before = w.MainForm.ui().temp_corr->text();
    for (const Case& c : cases) {
      w.messages.boxes.clear();
      w.MainForm.OpenSettingsFile(Write(dir, QString::fromLatin1(c.name), c.text));
      QCOMPARE(w.messages.boxes.size(), std::size_t{1});
      QVERIFY2(w.messages.boxes.back().text.contains(QString::fromLatin1(c.says)),
               qPrintable(w.messages.boxes.back().text));
      QCOMPARE(w.MainForm.ui().temp_corr->text(), before);
    }
  }

  void write_saves_a_restore_point_of_the_block_as_read() {
    Windows w;
    ConnectAndRead(w);
    const Block as_read = *w.MainForm.last_read();
    w.MainForm.ui().temp_corr->setText(QStringLiteral("40"));
    w.messages.answers = {true};
    w.MainForm.gravarClick();
    w.MainForm.Timer_Read().stop();
    const std::vector<zelk::RestorePoint> points = RestorePointsNow();
    QCOMPARE(points.size(), std::size_t{1});
    QVERIFY(points[0].file.has_value());
    QCOMPARE(points[0].file->reason, std::optional(zelk::SaveReason::before_write));
    QCOMPARE(*points[0].file->block, as_read);
    QCOMPARE(w.MainForm.ui().temp_corr->text(), QStringLiteral("40"));  // read back
  }

  void no_restore_point_no_write() {
    Windows w;
    QTemporaryDir dir;
    ConnectAndRead(w);
    const QString blocker = Write(dir, QStringLiteral("a-file"), "x");
    const QByteArray data_dir = qgetenv("ZELK_DATA_DIR");
    qputenv("ZELK_DATA_DIR", blocker.toLocal8Bit());  // a folder under a regular file
    const auto module_before = w.port.module().settings();
    w.MainForm.ui().temp_corr->setText(QStringLiteral("40"));
    w.messages.answers = {true};
    w.MainForm.gravarClick();
    w.MainForm.Timer_Read().stop();
    qputenv("ZELK_DATA_DIR", data_dir);
    QCOMPARE(w.port.module().settings(), module_before);
    QCOMPARE(w.messages.boxes.back().kind, Box::error);
    QVERIFY2(w.messages.boxes.back().text.startsWith(
                 QStringLiteral("No restore point could be saved, so nothing was written")),
             qPrintable(w.messages.boxes.back().text));
  }

  void restore_writes_the_file_and_says_the_module_holds_it() {
    Windows w;
    QTemporaryDir dir;
    ConnectAndRead(w);
    const QString saved = dir.filePath(QStringLiteral("before.zelk"));
    w.MainForm.SaveSettingsFile(saved);
    const Block file_block = *ReadBack(saved).block;

    // The module changes (another write), and the window reads it.
    w.port.module().settings()[zelk::kSettings[zelk::kTempCorr].offset] ^= 0x0F;
    w.port.module().settings()[zelk::kMixtureOffset] = 7;  // the module's own byte
    w.MainForm.lerClick();
    w.MainForm.Timer_Read().stop();
    w.messages.boxes.clear();

    w.messages.answers = {true};
    w.MainForm.RestoreFromFile(saved);
    QCOMPARE(w.messages.boxes.size(), std::size_t{2});
    QCOMPARE(w.messages.boxes[0].kind, Box::ask);
    QVERIFY(w.messages.boxes[0].text.contains(QStringLiteral("1 setting(s) differ")));
    QCOMPARE(w.messages.boxes[1].text,
             QStringLiteral("The module now holds the settings of before.zelk."));
    for (std::size_t offset = 0; offset < file_block.size(); ++offset) {
      if (offset == zelk::kMixtureOffset) continue;
      QCOMPARE(w.port.module().settings()[offset], file_block[offset]);
    }
    QCOMPARE(w.port.module().settings()[zelk::kMixtureOffset], std::uint8_t{7});
    const std::vector<zelk::RestorePoint> points = RestorePointsNow();
    QCOMPARE(points.size(), std::size_t{1});
    QCOMPARE(points[0].file->reason, std::optional(zelk::SaveReason::before_restore));

    // No: nothing is sent.
    const std::uint64_t requests = w.port.module().counters().requests;
    w.messages.answers = {false};
    w.MainForm.RestoreFromFile(saved);
    QCOMPARE(w.port.module().counters().requests, requests);
  }

  void compare_marks_every_difference() {
    Windows w;
    QTemporaryDir dir;
    ConnectAndRead(w);
    const QString saved = dir.filePath(QStringLiteral("same.zelk"));
    w.MainForm.SaveSettingsFile(saved);
    w.MainForm.ui().temp_corr->setText(QStringLiteral("40"));
    w.MainForm.ui().heat_en->setChecked(!w.MainForm.ui().heat_en->isChecked());
    w.MainForm.CompareWithFile(saved);
    QDialog* dialog = w.MainForm.compare_dialog();
    QVERIFY(dialog != nullptr);
    auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("table"));
    QCOMPARE(table->rowCount(), 16);
    QStringList marked;
    for (int row = 0; row < table->rowCount(); ++row) {
      if (table->item(row, 0)->data(Qt::UserRole).toBool()) marked << table->item(row, 0)->text();
    }
    QCOMPARE(marked,
             (QStringList{QStringLiteral("Min. Temperature"),
                          QString::fromLatin1(
                              zelk::kSettings[zelk::kHeatEn].caption.data(),
                              static_cast<qsizetype>(zelk::kSettings[zelk::kHeatEn].caption.size()))
                              .trimmed()}));
    dialog->close();
  }

  void restore_points_list_newest_first() {
    Windows w;
    ConnectAndRead(w);
    const QString first = w.MainForm.ui().temp_corr->text();
    for (const char* value : {"40", "45"}) {
      w.MainForm.ui().temp_corr->setText(QString::fromLatin1(value));
      w.messages.answers = {true};
      w.MainForm.gravarClick();
      w.MainForm.Timer_Read().stop();
    }
    w.MainForm.ShowRestorePoints();
    QDialog* dialog = w.MainForm.restore_points_dialog();
    QVERIFY(dialog != nullptr);
    auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("table"));
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, 1)->text(), QStringLiteral("2.10"));
    QCOMPARE(table->item(0, 2)->text(), QStringLiteral("before a write"));
    // The newest was saved holding 40, one setting away from the window's 45.
    QCOMPARE(table->item(0, 3)->text(), QStringLiteral("1"));
    table->selectRow(1);
    auto* restore = dialog->findChild<QPushButton*>(QStringLiteral("restore"));
    QVERIFY(restore->isEnabled());
    w.messages.answers = {true};
    restore->click();
    QCOMPARE(w.messages.boxes.back().text.left(34),
             QStringLiteral("The module now holds the settings "));
    QCOMPARE(w.MainForm.ui().temp_corr->text(), first);  // the oldest: as first read
  }
};

ZELK_GUI_TEST_MAIN(SettingsFilesTest)
#include "settings_files_test.moc"
