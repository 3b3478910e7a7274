// SPDX-License-Identifier: GPL-3.0-or-later
// Write and Program pressed while a setting box still has the focus: by a
// click, by their Alt accelerator, or from the keyboard (Tab onto the button,
// Space). However pressed, a refused text in the box must never reach the
// module.

#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

#include "gui_test_main.h"
#include "ui_MainForm.h"
#include "ui_ProgramForm.h"
#include "windows_fixture.h"

using zelk::test::Box;
using zelk::test::Windows;

namespace {

enum class Action { write, program };
enum class Press { click, accelerator, keyboard };

}  // namespace

Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(Press)

class PressedActionsTest : public QObject {
  Q_OBJECT

 private slots:
  void refusedTextInTheFocusedBoxStopsTheAction_data() {
    QTest::addColumn<Action>("action");
    QTest::addColumn<Press>("press");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refusal");  // the first box shown
    const struct {
      const char* box;
      const char* typed;
      const char* range;
      const char* named;  // what a press says of a text that is no number
    } texts[] = {
        {"temp_corr", "4001", "This value must be between 0 and 100!", nullptr},
        {"limite_corr", "60", "This value must be between 10 and 50!", nullptr},
        {"temp_corr", "abc", nullptr, "Min. Temperature: 'abc' is not a valid integer value"},
        {"limite_corr", "x", nullptr, "Max. Correction: 'x' is not a valid floating point value"},
    };
    const struct {
      Action action;
      const char* name;
    } actions[] = {{Action::write, "Write"}, {Action::program, "Program"}};
    const struct {
      Press press;
      const char* name;
    } presses[] = {
        {Press::click, "click"}, {Press::accelerator, "Alt"}, {Press::keyboard, "Tab+Space"}};
    for (const auto& a : actions) {
      for (const auto& p : presses) {
        for (const auto& t : texts) {
          // Tab leaves the box, so the ordinary exit check speaks first.
          const char* refusal = t.range != nullptr
                                    ? t.range
                                    : (p.press == Press::keyboard ? "Incorrect Value!" : t.named);
          QTest::addRow("%s %s %s=%s", a.name, p.name, t.box, t.typed)
              << a.action << p.press << t.box << t.typed << refusal;
        }
      }
    }
  }
  // A Portuguese locale refuses "40.5": the box says a comma is expected.
  void aDecimalWithTheOtherSeparatorNamesTheExpectedOne() {
    Windows w;
    w.MainForm.setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    w.Connect();
    w.MainForm.lerClick();
    w.MainForm.Timer_Read().stop();
    w.messages.boxes.clear();
    w.MainForm.show();
    w.MainForm.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.MainForm));
    QLineEdit* edit = w.MainForm.ui().limite_corr;
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("40.5"));
    QTest::mouseClick(w.MainForm.ui().gravar, Qt::LeftButton);
    QVERIFY(!w.messages.boxes.empty());
    QCOMPARE(w.messages.boxes.front().text,
             QStringLiteral("Max. Correction: '40.5' is not a valid floating point value\n"
                            "A comma is expected as the decimal separator: 40,5"));

    // Leaving the box says it under the box's own refusal.
    w.messages.boxes.clear();
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("40.5"));
    QTest::keyClick(edit, Qt::Key_Tab);
    QVERIFY(!w.messages.boxes.empty());
    QCOMPARE(
        w.messages.boxes.front().text,
        QStringLiteral("Incorrect Value!\nA comma is expected as the decimal separator: 40,5"));
  }

  void refusedTextInTheFocusedBoxStopsTheAction() {
    QFETCH(Action, action);
    QFETCH(Press, press);
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, refusal);

    Windows w;
    w.Connect();
    w.MainForm.lerClick();
    w.MainForm.Timer_Read().stop();
    w.messages.boxes.clear();
    auto& ui = w.MainForm.ui();
    w.MainForm.show();
    w.MainForm.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.MainForm));

    auto* edit = w.MainForm.findChild<QLineEdit*>(box);
    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(w.MainForm.focusWidget(), edit);
    const QString before = edit->text();
    edit->selectAll();
    QTest::keyClicks(edit, typed);

    // Should the dialog open, it starts the mixture program at 100 %, whose
    // byte shows whether a refused limit got through.
    QTimer dialog_driver;
    bool dialog_opened = false;
    connect(&dialog_driver, &QTimer::timeout, &w.ProgramForm, [&] {
      if (!w.ProgramForm.isVisible()) return;
      dialog_opened = true;
      w.ProgramForm.ui().prog_type_0->click();
      w.ProgramForm.ui().mix_values_4->setChecked(true);
      w.ProgramForm.ui().button_OK->click();
      if (w.ProgramForm.isVisible()) w.ProgramForm.close();
    });
    dialog_driver.start(10);

    const auto before_block = w.port.module().settings();
    const std::size_t sent_before = w.port.module().history().size();
    w.messages.answers = {true, true};  // Yes to whatever is asked
    QToolButton* button = action == Action::write ? ui.gravar : ui.prog;
    QSignalSpy pressed(button, &QToolButton::clicked);
    switch (press) {
      case Press::click:
        QTest::mouseClick(button, Qt::LeftButton);
        break;
      case Press::accelerator:
        // Through the window system, where shortcuts are matched.
        QTest::keyClick(w.MainForm.windowHandle(), action == Action::write ? Qt::Key_W : Qt::Key_P,
                        Qt::AltModifier);
        break;
      case Press::keyboard:
        button->setFocus(Qt::TabFocusReason);
        QTest::keyClick(button, Qt::Key_Space);
        break;
    }
    // An accelerator clicks the button a moment later, as a visible press.
    if (pressed.isEmpty()) QVERIFY(pressed.wait(5000));
    dialog_driver.stop();

    QVERIFY(!w.messages.boxes.empty());
    QCOMPARE(w.messages.boxes[0].text, refusal);
    QCOMPARE(edit->text(), before);
    auto& module = w.port.module();
    if (press == Press::keyboard) {
      // The refusal came on leaving the box; the press that followed acted
      // on the text put back, so the module holds only legal values.
      QCOMPARE(module.settings()[15], before_block[15]);  // temp_corr
      QCOMPARE(module.settings()[3], before_block[3]);    // limite_corr
      if (action == Action::program) {
        QVERIFY(dialog_opened);
        QVERIFY2(module.settings()[2] <= 31, qPrintable(QString::number(module.settings()[2])));
      }
    } else {
      QCOMPARE(w.messages.boxes.size(), std::size_t{1});
      QVERIFY(!dialog_opened);
      QCOMPARE(module.history().size(), sent_before);
      QCOMPARE(module.settings(), before_block);
    }
  }
};

ZELK_GUI_TEST_MAIN(PressedActionsTest)
#include "pressed_actions_test.moc"
