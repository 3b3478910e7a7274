// SPDX-License-Identifier: GPL-3.0-or-later
// The menu bar and the Help menu: the user guide (F1) and the About box.

#include <QAbstractButton>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>
#include <QtTest>
#include <map>

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

// The letter after '&' in a caption ("&Read " -> 'R'), or 0.
QChar Mnemonic(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == QLatin1Char('&')) {
      if (text[i + 1] != QLatin1Char('&')) return text[i + 1].toUpper();
      ++i;
    }
  }
  return {};
}

QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

class HelpMenuTest : public QObject {
  Q_OBJECT

 private slots:
  // Alt+letter must reach one thing only: a menu title that takes a
  // button's letter would steal its accelerator.
  void accelerator_letters_collide_with_none() {
    Windows w;
    std::map<QChar, QString> owners;
    auto claim = [&owners](const QString& caption) {
      const QChar letter = Mnemonic(caption);
      if (letter.isNull()) return;
      const auto [it, fresh] = owners.emplace(letter, caption);
      QVERIFY2(fresh, qPrintable(caption + QStringLiteral(" and ") + it->second));
    };
    for (QAbstractButton* button : w.MainForm.findChildren<QAbstractButton*>())
      claim(button->text());
    for (QAction* menu : w.MainForm.menu_bar().actions()) claim(menu->text());
    QVERIFY(owners.size() >= 6);  // the five buttons and Help at least
    // Inside a menu, items must differ from each other.
    for (QMenu* menu : w.MainForm.menu_bar().findChildren<QMenu*>()) {
      std::map<QChar, QString> items;
      for (QAction* item : menu->actions()) {
        const QChar letter = Mnemonic(item->text());
        if (!letter.isNull())
          QVERIFY2(items.emplace(letter, item->text()).second, qPrintable(item->text()));
      }
    }
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
    for (const zelk::SettingRow& row : zelk::kSettingRows) {
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
