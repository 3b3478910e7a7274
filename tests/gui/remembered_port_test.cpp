// SPDX-License-Identifier: GPL-3.0-or-later
// The remembered port: offered first when it is listed, never over --port,
// and handed on after each successful connection only.

#include <QComboBox>
#include <QtTest>

#include "gui_test_main.h"
#include "ui_Form2.h"
#include "windows_fixture.h"

using zelk::test::Windows;

class RememberedPortTest : public QObject {
  Q_OBJECT

 private slots:
  void preselection() {
    struct Case {
      std::vector<std::string> listed;
      std::string preferred;
      std::string remembered;
      QString selected;
    };
    const Case cases[] = {
        {{"ttyS0", "SIM"}, "", "SIM", "SIM"},        // listed: offered first
        {{"ttyS0", "SIM"}, "", "ttyUSB9", "ttyS0"},  // not listed: the list as it is
        {{"ttyS0", "SIM"}, "", "", "ttyS0"},         // nothing remembered
        {{"ttyS0", "SIM"}, "ttyX", "SIM", "ttyX"},   // --port wins
    };
    for (const Case& c : cases) {
      zelk::test::RecordedMessages messages;
      zelk::Session session;
      zelk::TForm2 form(messages, session, c.listed, c.preferred);
      form.PreselectRemembered(c.remembered);
      QCOMPARE(form.ui().combo_porta->currentText(), c.selected);
    }
  }

  void only_a_successful_connection_is_remembered() {
    Windows w({"SIM", "NOWHERE"});
    std::vector<std::string> remembered;
    w.Form2.SetOnConnected([&](const std::string& port) { remembered.push_back(port); });
    w.Connect(QStringLiteral("NOWHERE"));
    QVERIFY(remembered.empty());
    w.port.module().faults().silent = true;
    w.Connect(QStringLiteral("SIM"));
    QVERIFY(remembered.empty());
    w.port.module().faults().silent = false;
    w.Connect(QStringLiteral("SIM"));
    QCOMPARE(remembered, std::vector<std::string>{"SIM"});
  }
};

ZELK_GUI_TEST_MAIN(RememberedPortTest)
#include "remembered_port_test.moc"
