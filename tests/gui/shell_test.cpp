// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, the main window's state table as Config and Program drive it,
// the COM-port dialog and the exception box.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "app/lamp.h"
#include "app/window_placement.h"
#include "gui_test_main.h"
#include "ui_Form2.h"
#include "ui_MainForm.h"
#include "ui_ProgramForm.h"
#include "windows_fixture.h"

using zelk::test::Box;
using zelk::test::Windows;

namespace {

// Runs the COM-port dialog modally as Config does, pressing `button` in it.
void ConfigWith(Windows& w, QAbstractButton* button, const QString& port = {}) {
  QTimer::singleShot(0, [&w, button, port] {
    if (!port.isNull()) w.Form2.ui().combo_porta->setEditText(port);
    button->click();
  });
  w.MainForm.configClick();
}

// The first box of a failed open; on Linux it names the reason.
QString InvalidPort(const char* reason) {
#ifdef _WIN32
  (void)reason;
  return QStringLiteral("Invalid COMM Port");
#else
  return QStringLiteral("Invalid COMM Port: ") + QString::fromLatin1(reason);
#endif
}

void ConfigOk(Windows& w, const QString& port = QStringLiteral("SIM")) {
  ConfigWith(w, w.Form2.ui().button_OK, port);
}

}  // namespace

class ShellTest : public QObject {
  Q_OBJECT

 private slots:
  void startUpState() {
    Windows w;
    auto& ui = w.MainForm.ui();
    QCOMPARE(w.MainForm.windowTitle(), QStringLiteral("Quibrane - Programable Zelk v 2.2"));
    // The designed client area, and the menu bar above it.
    QCOMPARE(ui.client_area->size(), QSize(794, 576));
    QCOMPARE(ui.client_area->pos(), QPoint(0, w.MainForm.menu_bar().height()));
    QCOMPARE(w.MainForm.size(), QSize(794, 576 + w.MainForm.menu_bar().height()));
    QCOMPARE(w.MainForm.minimumSize(), w.MainForm.maximumSize());
    QVERIFY(ui.config->isEnabled());
    QVERIFY(ui.sair->isEnabled());
    QVERIFY(!ui.ler->isEnabled());
    QVERIFY(!ui.prog->isEnabled());
    QVERIFY(!ui.gravar->isEnabled());
    QVERIFY(!w.MainForm.Timer_Read().isActive());
    QCOMPARE(w.MainForm.Timer_Read().interval(), 500);
    for (Lamp* lamp : {ui.sync, ui.map_prg, ui.rpm_prg}) {
      QVERIFY(!lamp->isGreen());
      QCOMPARE(lamp->color(), QColor(255, 0, 0));
    }
    QCOMPARE(ui.rpm_cal->text(), QStringLiteral("1"));
    QCOMPARE(ui.rpm_adj->text(), QStringLiteral("600"));
    QVERIFY(ui.rpm_adj->isReadOnly());
    QCOMPARE(w.MainForm.SavedText, QString());
    QCOMPARE(w.MainForm.WorkingFlags, 0);
    for (std::uint8_t b : w.session.settings_block()) QCOMPARE(b, 0);
    for (std::uint8_t b : w.session.live_buffer()) QCOMPARE(b, 0);
    QCOMPARE(ui.config->text(), QStringLiteral("&Config."));
    QCOMPARE(ui.prog->text(), QStringLiteral("&Program "));
    QCOMPARE(ui.ler->text(), QStringLiteral("&Read "));
    QCOMPARE(ui.gravar->text(), QStringLiteral("&Write "));
    QCOMPARE(ui.sair->text(), QStringLiteral("&Quit "));
    QVERIFY(!ui.sair->icon().isNull());
    QVERIFY(w.messages.boxes.empty());
    QVERIFY(!w.session.module_answered());
    QVERIFY(!w.session.connected());
  }

  void groupGeometry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QString>("title");
    QTest::newRow("partida_frio") << "partida_frio" << QRect(8, 7, 249, 145) << "Cold Start ";
    QTest::newRow("aquecimento") << "aquecimento" << QRect(263, 8, 258, 121) << "Engine Heating ";
    QTest::newRow("correcao") << "correcao" << QRect(527, 8, 259, 121) << "Correction ";
    QTest::newRow("acel_rapida") << "acel_rapida" << QRect(263, 135, 523, 66) << "";
    QTest::newRow("GroupBox1") << "GroupBox1" << QRect(8, 155, 249, 97) << "RPM Iddle Adjust.";
    QTest::newRow("val_atuais") << "val_atuais" << QRect(263, 207, 523, 186) << "Instant Values ";
    QTest::newRow("sonda") << "sonda" << QRect(8, 258, 249, 135) << "";
    QTest::newRow("botoes") << "botoes" << QRect(8, 399, 778, 170) << "Operation  ";
  }
  void groupGeometry() {
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    QFETCH(QString, title);
    Windows w;
    w.MainForm.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.MainForm));
    auto* group = w.MainForm.findChild<QGroupBox*>(name);
    QVERIFY(group != nullptr);
    QCOMPARE(group->geometry(), rect);
    QCOMPARE(group->title(), title);
    // 12 px wider than first designed, around the same centres: "Programar"
    // was cut to "Pro...ar" on Windows at 125 % with the style's margins.
    for (auto* button : w.MainForm.ui().botoes->findChildren<QToolButton*>()) {
      QCOMPARE(button->size(), QSize(101, 81));
    }
    w.MainForm.close();
  }

  void configSuccessShowsVersionAndEnablesReadAndProgram() {
    Windows w;
    ConfigOk(w);
    QCOMPARE(w.messages.boxes.size(), std::size_t{1});
    QCOMPARE(w.messages.boxes[0], (Box{Box::inform, "2.10", "Version"}));
    QVERIFY(w.session.module_answered());
    QVERIFY(w.session.connected());
    QVERIFY(w.MainForm.ui().ler->isEnabled());
    QVERIFY(w.MainForm.ui().prog->isEnabled());
    QVERIFY(!w.MainForm.ui().gravar->isEnabled());
    QVERIFY(!w.MainForm.Timer_Read().isActive());
    // The version query: command 3, address 1, one payload byte.
    const auto& history = w.port.module().history();
    QCOMPARE(history.size(), std::size_t{1});
    QCOMPARE(history[0].command, 3);
    QCOMPARE(history[0].address, 1);
    QCOMPARE(history[0].payload.size(), std::size_t{1});
  }

  void versionBytesOneAndZeroShowOnePointZero() {
    Windows w;
    w.port.module().version() = {1, 0};
    ConfigOk(w);
    QCOMPARE(w.messages.boxes.back(), (Box{Box::inform, "1.0", "Version"}));
  }

  void silentModuleFailsAndClosesThePort() {
    Windows w;
    w.port.module().faults().silent = true;
    ConfigOk(w);
    QCOMPARE(w.messages.Texts(), QStringList{"Communication Fail"});
    QCOMPARE(w.messages.boxes[0].title, QStringLiteral("Fail"));
    QVERIFY(!w.session.module_answered());
    QVERIFY(!w.session.connected());
    QVERIFY(!w.MainForm.ui().ler->isEnabled());
    QVERIFY(!w.MainForm.ui().prog->isEnabled());
    QCOMPARE(w.port.calls().writes, 3);
  }

  void failedOpenShowsTwoBoxes() {
    Windows w;
    ConfigOk(w, QStringLiteral("COM9"));
    QCOMPARE(w.messages.boxes.size(), std::size_t{2});
    // A port that does not exist says so, as zelkctl does.
    QCOMPARE(w.messages.boxes[0], (Box{Box::inform, InvalidPort("no such port"), "Fail"}));
    QCOMPARE(w.messages.boxes[1], (Box{Box::inform, "Error Opening Port", "Fail"}));
    QVERIFY(!w.session.module_answered());
    QVERIFY(!w.session.connected());
    QVERIFY(!w.MainForm.ui().ler->isEnabled());
  }

  void busyPortNamesTheReason() {
    Windows w;
    w.port.busy = true;
    ConfigOk(w);
    QVERIFY(w.messages.boxes[0].text.startsWith(QStringLiteral("Invalid COMM Port: ")));
    QVERIFY(w.messages.boxes[0].text.contains(QStringLiteral("in use")));
    QCOMPARE(w.messages.boxes[1].text, QStringLiteral("Error Opening Port"));
  }

  void cancelAfterSuccessKeepsLinkAndPort() {
    Windows w;
    ConfigOk(w);
    w.messages.boxes.clear();
    w.MainForm.ui().ler->setEnabled(false);  // Cancel re-applies the verdict
    ConfigWith(w, w.Form2.ui().button_Cancel);
    QVERIFY(w.messages.boxes.empty());
    QVERIFY(w.session.module_answered());
    QVERIFY(w.session.connected());
    QVERIFY(w.MainForm.ui().ler->isEnabled());
    QVERIFY(w.MainForm.ui().prog->isEnabled());
  }

  void secondOkReopensAndTheNewQueryDecides() {
    Windows w;
    ConfigOk(w);
    QCOMPARE(w.port.opens(), 1);
    w.MainForm.ui().gravar->setEnabled(true);  // as after a read
    ConfigOk(w);
    QCOMPARE(w.port.opens(), 2);
    QCOMPARE(w.port.calls().closes, 1);  // the first port was closed before the second open
    QVERIFY(w.MainForm.ui().gravar->isEnabled());  // a successful Config leaves Write alone
    // Now an OK on a port that does not exist: no module reached, nothing open.
    ConfigOk(w, QStringLiteral("nope"));
    QVERIFY(!w.session.module_answered());
    QVERIFY(!w.session.connected());
    QVERIFY(!w.MainForm.ui().gravar->isEnabled());
  }

  void failedConfigStopsThePoll() {
    Windows w;
    ConfigOk(w);
    w.MainForm.Timer_Read().start();
    w.port.module().faults().silent = true;
    ConfigOk(w);
    QVERIFY(!w.MainForm.Timer_Read().isActive());
    QVERIFY(!w.MainForm.ui().ler->isEnabled());
  }

  void portListKeepsTheSystemsOrderAndSelectsTheFirst() {
    Windows w({"ttyS0", "ttyUSB0", "", "ttyUSB0"});
    QComboBox* box = w.Form2.ui().combo_porta;
    QCOMPARE(box->count(), 4);
    QCOMPARE(box->itemText(2), QString());
    QCOMPARE(box->currentText(), QStringLiteral("ttyS0"));
    QVERIFY(box->isEditable());
  }

  void noPortsLeavesTheBoxEmptyAndOkFails() {
    Windows w(std::vector<std::string>{});
    QCOMPARE(w.Form2.ui().combo_porta->count(), 0);
    QCOMPARE(w.Form2.ui().combo_porta->currentText(), QString());
    ConfigOk(w, QString());
    QCOMPARE(w.messages.Texts(), (QStringList{InvalidPort("no such port"), "Error Opening Port"}));
  }

  void preferredPortComesFirst() {
    zelk::test::RecordedMessages messages;
    zelk::sim::SimulatedPort port;
    zelk::Session session(port.Opener());
    zelk::TForm2 form(
        messages, session,
        [] {
          return zelk::test::Listed({"ttyS0", "ttyS1"});
        },
        "/tmp/zelk-sim");
    QCOMPARE(form.ui().combo_porta->count(), 3);
    QCOMPARE(form.ui().combo_porta->currentText(), QStringLiteral("/tmp/zelk-sim"));
    QCOMPARE(form.ui().combo_porta->toolTip(), QStringLiteral("/tmp/zelk-sim"));
  }

  // Enter presses OK on every opening of the COM-port dialog, also when the
  // box shows its text selected, as it does from the second opening on.
  void enterPressesOkOnEveryOpening() {
    Windows w;
    for (int opening = 1; opening <= 4; ++opening) {
      bool still_open = false;
      QTimer::singleShot(0, &w.Form2, [&w, &still_open] {
        still_open = true;
        if (QTest::qWaitForWindowActive(&w.Form2)) {
          QWidget* focus = QApplication::focusWidget();
          // From the second opening on the port text is shown selected.
          if (focus == w.Form2.ui().combo_porta) w.Form2.ui().combo_porta->lineEdit()->selectAll();
          if (focus != nullptr) QTest::keyClick(focus, Qt::Key_Return);
          still_open = w.Form2.isVisible();
        }
        if (w.Form2.isVisible()) w.Form2.ui().button_Cancel->click();
      });
      w.messages.boxes.clear();
      w.MainForm.configClick();
      QVERIFY2(!still_open, qPrintable(QStringLiteral("opening %1").arg(opening)));
      QCOMPARE(w.messages.Texts(), QStringList{"2.10"});
    }
  }

  // A listed name opens by its own bytes, as zelkctl opens its --port.
  void aPortNameThatIsNotUtf8OpensAsGiven() {
    const std::string name = "/tmp/zelk-\xff\xfe";
    zelk::test::RecordedMessages messages;
    zelk::sim::SimulatedPort port({}, name);
    zelk::Session session(port.Opener());
    zelk::TForm2 form(
        messages, session, [] { return zelk::test::Listed({"ttyS0"}); }, name);
    form.button_OKClick();
    QCOMPARE(messages.Texts(), QStringList{"2.10"});
    QVERIFY(session.module_answered());
  }

  // Read-only boxes are left out of the Tab chain: Tab goes setting to setting.
  void tabSkipsTheBoxesThatOnlyShowValues() {
    Windows w;
    auto& ui = w.MainForm.ui();
    w.MainForm.show();
    w.MainForm.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.MainForm));
    const QList<QLineEdit*> shown{ui.atual_corr, ui.atual_temp, ui.atual_map, ui.atual_lambda,
                                  ui.atual_rpm,  ui.atual_inj,  ui.rpm_adj};
    ui.tempo_partida->setFocus(Qt::TabFocusReason);
    QWidget* start = w.MainForm.focusWidget();
    for (int step = 0; step < 60; ++step) {
      QTest::keyClick(w.MainForm.focusWidget(), Qt::Key_Tab);
      QWidget* now = w.MainForm.focusWidget();
      QVERIFY2(!shown.contains(qobject_cast<QLineEdit*>(now)), qPrintable(now->objectName()));
      if (now == start) break;
    }
    QCOMPARE(w.MainForm.focusWidget(), start);
    QVERIFY(w.messages.boxes.empty());
  }

  void windowsLieInsideTheScreen_data() {
    QTest::addColumn<QPoint>("designed");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QPoint>("placed");
    const QRect screen(0, 0, 1093, 582);  // 1366 x 768 at 125 %, less a task bar
    QTest::newRow("fits: designed position")
        << QPoint(514, 281) << QSize(286, 160) << screen << QPoint(514, 281);
    QTest::newRow("bottom out: moved up")
        << QPoint(274, 50) << QSize(794, 600) << screen << QPoint(274, 0);
    QTest::newRow("right out: moved left")
        << QPoint(700, 100) << QSize(476, 250) << screen << QPoint(617, 100);
    QTest::newRow("larger than the area: top left kept")
        << QPoint(274, 50) << QSize(1200, 700) << screen << QPoint(0, 0);
    QTest::newRow("area not at the origin")
        << QPoint(0, 0) << QSize(100, 100) << QRect(50, 30, 800, 600) << QPoint(50, 30);
  }
  void windowsLieInsideTheScreen() {
    QFETCH(QPoint, designed);
    QFETCH(QSize, frame);
    QFETCH(QRect, available);
    QFETCH(QPoint, placed);
    QCOMPARE(zelk::PlacedInside(designed, frame, available), placed);
  }

  // The test screen (800 x 800, offscreen) is too small for the main window and the
  // programming dialog at their designed positions.
  void everyWindowOpensInsideTheScreen() {
    Windows w;
    for (QWidget* window : std::initializer_list<QWidget*>{&w.MainForm, &w.Form2, &w.ProgramForm,
                                                           &w.ProgramZelkForm}) {
      const QRect available = window->screen()->availableGeometry();
      const QRect frame(window->pos(), window->frameGeometry().size());
      QVERIFY2(available.contains(frame), qPrintable(window->objectName()));
    }
    // The COM-port dialog, wide enough for an adapter's name, keeps its
    // designed height and goes only as far left as the screen makes it.
    const QRect available = w.Form2.screen()->availableGeometry();
    QCOMPARE(w.Form2.pos().y(), 281);
    QVERIFY(w.Form2.pos().x() <= 514);
    QVERIFY(w.Form2.pos().x() == 514 ||
            w.Form2.pos().x() + w.Form2.frameGeometry().width() == available.right() + 1);
  }

  void programStartsThePollWhenItCloses() {
    Windows w;
    ConfigOk(w);
    QVERIFY(!w.MainForm.Timer_Read().isActive());
    QTimer::singleShot(0, [&w] {
      QVERIFY(!w.MainForm.Timer_Read().isActive());
      w.ProgramForm.ui().button_Cancel->click();
    });
    w.MainForm.progClick();
    QVERIFY(w.MainForm.Timer_Read().isActive());
    QVERIFY(w.messages.boxes.size() == 1);  // only the version box of Config
  }

  void quitClosesTheMainWindowWithoutAMessage() {
    Windows w;
    ConfigOk(w);
    w.MainForm.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.MainForm));
    w.MainForm.Timer_Read().start();
    QTest::mouseClick(w.MainForm.ui().sair, Qt::LeftButton);
    QVERIFY(!w.MainForm.isVisible());
    QCOMPARE(w.messages.boxes.size(), std::size_t{1});  // the version box only
  }

  void destroyingTheDialogClosesThePort() {
    zelk::test::RecordedMessages messages;
    zelk::sim::SimulatedPort port;
    zelk::Session session(port.Opener());
    auto form = std::make_unique<zelk::TForm2>(messages, session,
                                               [] { return zelk::test::Listed({"SIM"}); });
    form->button_OKClick();
    QVERIFY(session.connected());
    form.reset();
    QCOMPARE(port.calls().closes, 1);
  }

  void exceptionInAHandlerReachesTheErrorBoxAndTheProgramGoesOn() {
    zelk::test::RecordedMessages messages;
    static_cast<zelk::Application*>(qApp)->SetMessages(&messages);
    QPushButton button(QStringLiteral("throw"));
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&clicks] {
      ++clicks;
      throw std::runtime_error("'abc' is not a valid integer value");
    });
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(clicks, 2);
    QCOMPARE(messages.boxes.size(), std::size_t{2});
    QCOMPARE(messages.boxes[0], (Box{Box::error, "'abc' is not a valid integer value", QString()}));
    static_cast<zelk::Application*>(qApp)->SetMessages(nullptr);
  }
};

ZELK_GUI_TEST_MAIN(ShellTest)
#include "shell_test.moc"
