// SPDX-License-Identifier: GPL-3.0-or-later
// Find in the COM-port dialog: every port asked for its version at once, the
// first that answered (in list order) selected, one line per port in the box,
// and the port the program already holds left alone.

#include <QComboBox>
#include <QPushButton>
#include <QtTest>
#include <map>
#include <memory>

#include "gui_test_main.h"
#include "ui_Form2.h"
#include "windows_fixture.h"

using zelk::test::Box;
using zelk::test::Windows;

namespace {

// Simulated modules by port name, beside the fixture's "SIM"; each port is
// asked by one search thread only.
struct MorePorts {
  std::map<std::string, std::unique_ptr<zelk::sim::SimulatedPort>> ports;
  zelk::sim::SimulatedPort* sim = nullptr;

  zelk::sim::SimulatedPort& Add(const std::string& name) {
    auto& port = ports[name];
    port = std::make_unique<zelk::sim::SimulatedPort>(zelk::sim::EngineModelSettings{}, name);
    return *port;
  }
  zelk::LineOpener Opener() {
    return [this](const std::string& name) {
      if (name == "SIM") return sim->Opener()(name);
      const auto found = ports.find(name);
      if (found == ports.end()) return zelk::sim::SimulatedPort().Opener()(name);  // no such port
      return found->second->Opener()(name);
    };
  }
};

}  // namespace

class FindModuleTest : public QObject {
  Q_OBJECT

 private slots:
  void selects_the_first_that_answered_and_says_what_each_said() {
    Windows w({"QUIET", "NOWHERE", "SIM", "OTHER"});
    MorePorts more;
    more.sim = &w.port;
    more.Add("QUIET").module().faults().silent = true;
    more.Add("OTHER").module().version() = {3, 7};
    w.Form2.SetSearchOpener(more.Opener());
    QCOMPARE(w.Form2.ui().combo_porta->currentText(), QStringLiteral("QUIET"));

    w.Form2.button_FindClick();
    QCOMPARE(w.Form2.ui().combo_porta->currentText(), QStringLiteral("SIM"));
    QCOMPARE(w.messages.boxes.size(), std::size_t{1});
    const Box box = w.messages.boxes.back();
    QCOMPARE(box.title, QStringLiteral("Find"));
    const QStringList lines = box.text.split(QLatin1Char('\n'));
    QCOMPARE(lines.value(0), QStringLiteral("The module answered on SIM."));
    QCOMPARE(lines.value(2), QStringLiteral("QUIET: no answer"));
    QVERIFY2(lines.value(3).startsWith(QStringLiteral("NOWHERE: ")), qPrintable(lines.value(3)));
    QCOMPARE(lines.value(4), QStringLiteral("SIM: the module answered, version 2.10"));
    QCOMPARE(lines.value(5), QStringLiteral("OTHER: the module answered, version 3.7"));
    // The version request alone (a silent port hears it three times), and
    // every opened port closed again.
    QCOMPARE(w.port.module().counters().requests, std::uint64_t{1});
    QCOMPARE(more.ports["OTHER"]->module().counters().requests, std::uint64_t{1});
    QCOMPARE(more.ports["QUIET"]->module().counters().requests, std::uint64_t{3});
    QCOMPARE(w.port.calls().closes, 1);
    QVERIFY(!w.session.connected());
  }

  // An adapter plugged in while the dialog is open: Find reads the list again.
  void find_asks_a_port_plugged_in_since_the_dialog_opened() {
    Windows w({"QUIET"});
    MorePorts more;
    more.sim = &w.port;
    more.Add("QUIET").module().faults().silent = true;
    more.Add("COM7");
    w.Form2.SetSearchOpener(more.Opener());
    w.listed.ports.push_back({"COM7", "USB-SERIAL CH340 (COM7)"});
    w.Form2.button_FindClick();
    QCOMPARE(w.Form2.ui().combo_porta->currentText(), QStringLiteral("USB-SERIAL CH340 (COM7)"));
    QVERIFY(w.messages.boxes.back().text.contains(QStringLiteral("COM7: the module answered")));
  }

  void no_answer_leaves_the_selection() {
    Windows w({"QUIET", "NOWHERE"});
    MorePorts more;
    more.sim = &w.port;
    more.Add("QUIET").module().faults().silent = true;
    w.Form2.SetSearchOpener(more.Opener());
    w.Form2.ui().combo_porta->setCurrentIndex(1);
    w.Form2.button_FindClick();
    QCOMPARE(w.Form2.ui().combo_porta->currentText(), QStringLiteral("NOWHERE"));
    QVERIFY(w.messages.boxes.back().text.startsWith(QStringLiteral("No port answered.")));
  }

  void a_typed_port_is_asked_too() {
    Windows w({"QUIET"});
    MorePorts more;
    more.sim = &w.port;
    more.Add("QUIET").module().faults().silent = true;
    more.Add("TYPED");
    w.Form2.SetSearchOpener(more.Opener());
    w.Form2.ui().combo_porta->setEditText(QStringLiteral("TYPED"));
    w.Form2.button_FindClick();
    QCOMPARE(w.Form2.ui().combo_porta->currentText(), QStringLiteral("TYPED"));
    QVERIFY(w.messages.boxes.back().text.contains(QStringLiteral("TYPED: the module answered")));
  }

  void the_connected_port_is_not_asked_again() {
    Windows w({"SIM", "OTHER"});
    MorePorts more;
    more.sim = &w.port;
    more.Add("OTHER");
    w.Form2.SetSearchOpener(more.Opener());
    w.Connect();
    QVERIFY(w.session.connected());
    const std::uint64_t before = w.port.module().counters().requests;
    w.Form2.button_FindClick();
    QCOMPARE(w.port.module().counters().requests, before);
    QVERIFY(w.session.connected());
    QVERIFY(w.messages.boxes.back().text.contains(
        QStringLiteral("SIM: the module answered, version 2.10")));
    QCOMPARE(w.Form2.ui().combo_porta->currentText(), QStringLiteral("SIM"));
  }

  void find_has_an_accelerator_of_its_own_and_enter_still_presses_ok() {
    Windows w;
    QCOMPARE(w.Form2.ui().button_Find->text(), QStringLiteral("F&ind"));
    QVERIFY(!w.Form2.ui().button_Find->autoDefault());
    QVERIFY(w.Form2.ui().button_OK->isDefault());
  }
};

ZELK_GUI_TEST_MAIN(FindModuleTest)
#include "find_module_test.moc"
