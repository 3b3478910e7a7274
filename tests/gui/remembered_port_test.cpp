// SPDX-License-Identifier: GPL-3.0-or-later
// The remembered port: offered first when it is listed, never over --port,
// and handed on after each successful connection only.

#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "gui_test_main.h"
#include "ui_Form2.h"
#include "windows_fixture.h"

using zelk::test::Windows;

namespace {

QStringList Items(const QComboBox& box) {
  QStringList items;
  for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
  return items;
}

void OpenAndCancel(Windows& w) {
  QTimer::singleShot(0, &w.Form2, [&w] { w.Form2.ui().button_Cancel->click(); });
  w.MainForm.configClick();
}

}  // namespace

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
        {{}, "", "COM7", "COM7 (absent)"},           // nothing else to offer
    };
    for (const Case& c : cases) {
      zelk::test::RecordedMessages messages;
      zelk::Session session;
      zelk::TForm2 form(
          messages, session, [&c] { return zelk::test::Listed(c.listed); }, c.preferred);
      form.PreselectRemembered(c.remembered);
      QCOMPARE(form.ui().combo_porta->currentText(), c.selected);
    }
  }

  // The remembered port, unplugged, is listed last as absent; plugged in
  // again it is selected at the next opening.
  void the_remembered_port_absent_then_back() {
    Windows w({"ttyS0"});
    w.Form2.PreselectRemembered("COM7");
    QComboBox* box = w.Form2.ui().combo_porta;
    QCOMPARE(Items(*box), (QStringList{"ttyS0", "COM7 (absent)"}));
    QCOMPARE(box->currentText(), QStringLiteral("ttyS0"));
    w.listed.ports.push_back({"COM7", "USB-SERIAL CH340 (COM7)"});
    OpenAndCancel(w);
    QCOMPARE(Items(*box), (QStringList{"ttyS0", "USB-SERIAL CH340 (COM7)"}));
    QCOMPARE(box->currentText(), QStringLiteral("USB-SERIAL CH340 (COM7)"));
  }

  // A port opened by a path the system does not list (a pseudo-terminal, a
  // /dev/serial/by-id link) is offered plainly while the path is there.
  void a_remembered_path_that_is_there_is_not_absent() {
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("pty")).toStdString();
    QFile file(QString::fromStdString(path));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    Windows w({"ttyS0"});
    w.Form2.PreselectRemembered(path);
    QCOMPARE(Items(*w.Form2.ui().combo_porta),
             (QStringList{"ttyS0", QString::fromStdString(path)}));
    QCOMPARE(w.Form2.ui().combo_porta->currentText(), QString::fromStdString(path));
  }

  // Each opening, Find and Refresh read the system's list again; a port the
  // user chose stays chosen while it is listed, a typed name in any case.
  void the_list_follows_the_cable() {
    Windows w({"ttyS0"});
    QComboBox* box = w.Form2.ui().combo_porta;
    w.listed.ports.push_back({"COM7", "USB-SERIAL CH340 (COM7)"});
    QCOMPARE(box->count(), 1);
    OpenAndCancel(w);
    QCOMPARE(Items(*box), (QStringList{"ttyS0", "USB-SERIAL CH340 (COM7)"}));
    box->setCurrentIndex(1);  // the user's choice
    w.listed.ports.insert(w.listed.ports.begin(), {"COM3", ""});
    w.Form2.ui().button_Refresh->click();
    QCOMPARE(Items(*box), (QStringList{"COM3", "ttyS0", "USB-SERIAL CH340 (COM7)"}));
    QCOMPARE(box->currentText(), QStringLiteral("USB-SERIAL CH340 (COM7)"));
    w.listed.ports.pop_back();  // unplugged: the selection starts over
    w.Form2.ui().button_Refresh->click();
    QCOMPARE(box->currentText(), QStringLiteral("COM3"));
    box->setEditText(QStringLiteral("COM12"));
    w.Form2.ui().button_Refresh->click();
    QCOMPARE(box->currentText(), QStringLiteral("COM12"));
  }

  // The box shows the adapter's name; the port opened is the bare name.
  void a_described_port_opens_by_its_name() {
    Windows w(std::vector<std::string>{});
    w.listed.ports = {{"SIM", "USB-SERIAL CH340 (SIM)"}};
    std::vector<std::string> remembered;
    w.Form2.SetOnConnected([&](const std::string& port) { remembered.push_back(port); });
    QTimer::singleShot(0, &w.Form2, [&w] {
      QCOMPARE(w.Form2.ui().combo_porta->currentText(), QStringLiteral("USB-SERIAL CH340 (SIM)"));
      w.Form2.ui().button_OK->click();
    });
    w.MainForm.configClick();
    QCOMPARE(w.messages.Texts(), QStringList{"2.10"});
    QCOMPARE(w.session.connected_port(), std::string("SIM"));
    QCOMPARE(remembered, std::vector<std::string>{"SIM"});
    // Unplugged while connected: the port just used shows as absent.
    w.listed.ports.clear();
    w.Form2.ui().button_Refresh->click();
    QCOMPARE(Items(*w.Form2.ui().combo_porta), QStringList{"SIM (absent)"});
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
