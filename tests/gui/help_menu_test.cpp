// SPDX-License-Identifier: GPL-3.0-or-later
// The menu bar and the Help menu: the user guide (F1) and the About box.

#include <QAbstractButton>
#include <QCommandLineParser>
#include <QMenu>
#include <QMenuBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTranslator>
#include <QtTest>
#include <map>

#include "accelerators.h"
#include "app/command_line_help.h"
#include "app/guide_window.h"
#include "gui_test_main.h"
#include "session/program_version.h"
#include "settings/number_text.h"
#include "settings/settings_guide.h"
#include "settings/settings_table.h"
#include "ui_MainForm.h"
#include "windows_fixture.h"

using zelk::test::Box;
using zelk::test::Windows;

namespace {

QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A translation without a compiled file: it names the guide file it is given
// and marks every other text with its context, so the test sees what was
// asked under which context.
class MarkingTranslator : public QTranslator {
 public:
  explicit MarkingTranslator(QString guide_file) : guide_file_(std::move(guide_file)) {}

  bool isEmpty() const override { return false; }

  QString translate(const char* context, const char* source_text, const char* = nullptr,
                    int = -1) const override {
    const QString english = QString::fromUtf8(source_text);
    if (qstrcmp(context, "Guide") == 0 && english == QStringLiteral("user-guide.md"))
      return guide_file_;
    return QStringLiteral("<%1>%2").arg(QString::fromUtf8(context), english);
  }

 private:
  QString guide_file_;
};

// Installed for one scope only, so the other cases see the English.
class InstalledTranslator {
 public:
  explicit InstalledTranslator(QTranslator& translator) : translator_(translator) {
    QCoreApplication::installTranslator(&translator_);
  }
  ~InstalledTranslator() { QCoreApplication::removeTranslator(&translator_); }
  InstalledTranslator(const InstalledTranslator&) = delete;
  InstalledTranslator& operator=(const InstalledTranslator&) = delete;

 private:
  QTranslator& translator_;
};

}  // namespace

class HelpMenuTest : public QObject {
  Q_OBJECT

 private slots:
  // Alt+letter must reach one thing only (tests/gui/accelerators.h).
  void accelerator_letters_collide_with_none() {
    Windows w;
    std::size_t claimed = 0;
    const QStringList collisions =
        zelk::test::AcceleratorCollisions(w.MainForm, &w.MainForm.menu_bar(), &claimed);
    QVERIFY2(collisions.isEmpty(), qPrintable(collisions.join(QStringLiteral("; "))));
    QVERIFY(claimed >= 6);  // the five buttons and Help at least
    QVERIFY(zelk::test::AcceleratorCollisions(w.Form2, nullptr).isEmpty());
  }

  void f1_opens_the_guide_with_every_setting() {
    Windows w;
    w.MainForm.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.MainForm));
    QVERIFY(w.MainForm.guide_window() == nullptr);
    QTest::keyClick(&w.MainForm, Qt::Key_F1);
    zelk::GuideWindow* guide = w.MainForm.guide_window();
    QVERIFY(guide != nullptr);
    QVERIFY(guide->isVisible());
    const QString shown = guide->text().toPlainText();
    QVERIFY(shown.contains(QStringLiteral("Connecting")));
    for (const zelk::SettingRow& row : zelk::EditRows()) {
      QVERIFY2(shown.contains(Latin1(row.caption).trimmed()), row.name.data());
      QVERIFY2(shown.contains(QString::fromStdString(zelk::GeneralText(row.min, '.')) +
                              QStringLiteral(" to ")),
               row.name.data());
    }
    const QString markdown = zelk::GuideWindow::Markdown();
    QVERIFY(!markdown.contains(Latin1(zelk::kSettingsTableMarker)));
    QVERIFY(!markdown.contains(Latin1(zelk::kOptionsTableMarker)));
    // A second F1 shows the same window again.
    guide->close();
    QTest::keyClick(&w.MainForm, Qt::Key_F1);
    QCOMPARE(w.MainForm.guide_window(), guide);
    QVERIFY(guide->isVisible());
    guide->close();
  }

  // The translation names the guide's file; the tables come translated with it.
  void the_guide_follows_the_translation() {
    const QString settings_heading = QStringLiteral("| <Guide>Setting | <Guide>Unit |");
    struct Case {
      QString guide_file;
      QString heading;  // of the file that must be shown
    };
    const Case cases[] = {
        {QStringLiteral("user-guide.pt_BR.md"), QStringLiteral("## Conectando")},
        {QStringLiteral("user-guide.md"), QStringLiteral("## Connecting")},
        // A file that is not shipped gives the English guide, not an empty window.
        {QStringLiteral("user-guide.xx.md"), QStringLiteral("## Connecting")},
        {QStringLiteral("../user-guide.pt_BR.md"), QStringLiteral("## Connecting")},
    };
    for (const Case& c : cases) {
      MarkingTranslator translator(c.guide_file);
      InstalledTranslator installed(translator);
      const QString markdown = zelk::GuideWindow::Markdown();
      QVERIFY2(markdown.contains(c.heading), qPrintable(c.guide_file));
      QVERIFY2(markdown.contains(settings_heading), qPrintable(c.guide_file));
      QVERIFY(markdown.contains(QStringLiteral("| <Guide>Option | <Guide>Meaning |")));
      QVERIFY(!markdown.contains(Latin1(zelk::kSettingsTableMarker)));
      QVERIFY(!markdown.contains(Latin1(zelk::kOptionsTableMarker)));
      // Both guides carry the names table.
      QVERIFY2(!markdown.contains(Latin1(zelk::kNamesTableMarker)), qPrintable(c.guide_file));
      QVERIFY2(markdown.contains(QStringLiteral("| <Settings>Injec. Time | `tempo_partida` |")),
               qPrintable(c.guide_file));
      QVERIFY2(markdown.contains(QStringLiteral("| <SettingsFile>Idle RPM | `rpm_adj` |")),
               qPrintable(c.guide_file));
      for (const zelk::SettingRow& row : zelk::EditRows()) {
        QVERIFY2(markdown.contains(QStringLiteral("| <Settings>") + Latin1(row.caption).trimmed() +
                                   QStringLiteral(" |")),
                 row.name.data());
      }
    }
    // Without the translation the window shows the English guide again.
    QVERIFY(zelk::GuideWindow::Markdown().contains(QStringLiteral("| Setting | Unit |")));
  }

  // The port chapter of the reader's system: Windows' COM ports and drivers,
  // or Linux's device names and dialout group, never both.
  void the_guide_speaks_of_the_readers_system() {
    struct Case {
      QString guide_file;
      zelk::GuideSystem system;
      QStringList shown;
      QStringList left_out;
    };
    const QStringList windows_en{
        "### On Windows", "Device Manager",           "CH340", "FTDI", "PL2303",
        "CP210x",         "in use by another program"};
    const QStringList linux_en{"### On Linux", "dialout", "/dev/ttyUSB0"};
    const QStringList windows_pt{
        "### No Windows", "Gerenciador de Dispositivos", "CH340", "FTDI", "PL2303",
        "CP210x",         "em uso por outro programa"};
    const QStringList linux_pt{"### No Linux", "dialout", "/dev/ttyUSB0"};
    const Case cases[] = {
        {"user-guide.md", zelk::GuideSystem::windows_pc, windows_en, linux_en},
        {"user-guide.md", zelk::GuideSystem::linux_pc, linux_en, windows_en},
        {"user-guide.pt_BR.md", zelk::GuideSystem::windows_pc, windows_pt, linux_pt},
        {"user-guide.pt_BR.md", zelk::GuideSystem::linux_pc, linux_pt, windows_pt},
    };
    for (const Case& c : cases) {
      MarkingTranslator translator(c.guide_file);
      InstalledTranslator installed(translator);
      // One line of words: a paragraph may break a phrase anywhere.
      const QString markdown = zelk::GuideWindow::Markdown(c.system).simplified();
      for (const QString& text : c.shown)
        QVERIFY2(markdown.contains(text), qPrintable(c.guide_file + QStringLiteral(": ") + text));
      for (const QString& text : c.left_out)
        QVERIFY2(!markdown.contains(text), qPrintable(c.guide_file + QStringLiteral(": ") + text));
      QVERIFY(!markdown.contains(QStringLiteral("<!-- ")));
    }
  }

  // --help in a box: fixed pitch, every space kept, so the columns line up.
  void the_command_line_help_keeps_its_columns() {
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("port"), QStringLiteral("Serial port <first> & more."),
                      QStringLiteral("NAME")});
    const QString help = parser.helpText();
    QTextDocument shown;
    shown.setHtml(zelk::HelpBoxText(help));
    QCOMPARE(shown.toPlainText(), help.trimmed());
    for (QTextBlock block = shown.begin(); block.isValid(); block = block.next()) {
      QVERIFY2(
          block.charFormat().fontFixedPitch() || QFontInfo(block.charFormat().font()).fixedPitch(),
          qPrintable(block.text()));
    }
  }

  void about_names_version_qt_licence_and_module() {
    Windows w;
    w.MainForm.ShowAbout();
    QCOMPARE(w.messages.boxes.size(), std::size_t{1});
    const Box before = w.messages.boxes.back();
    QCOMPARE(before.title, QStringLiteral("About Programable Zelk"));
    QVERIFY(before.text.contains(QStringLiteral("Programable Zelk ") +
                                 QString::fromLatin1(zelk::kProgramVersion.data())));
    QVERIFY(before.text.contains(QStringLiteral("Qt ") + QString::fromLatin1(qVersion())));
    QVERIFY(before.text.contains(QStringLiteral("GPL-3.0-or-later")));
    QVERIFY(before.text.contains(QStringLiteral("Module: not connected")));

    w.Connect();
    QCOMPARE(w.messages.boxes.back().text, QStringLiteral("2.10"));
    w.MainForm.ShowAbout();
    QVERIFY(w.messages.boxes.back().text.contains(QStringLiteral("Module version: 2.10")));

    // A Config that fails leaves no old version behind.
    w.Connect(QStringLiteral("NOWHERE"));
    w.MainForm.ShowAbout();
    QVERIFY(w.messages.boxes.back().text.contains(QStringLiteral("Module: not connected")));
  }
};

ZELK_GUI_TEST_MAIN(HelpMenuTest)
#include "help_menu_test.moc"
