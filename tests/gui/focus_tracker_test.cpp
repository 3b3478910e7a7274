// SPDX-License-Identifier: GPL-3.0-or-later
// The focus tracker must report Exit(old) before Enter(new) for every move
// between controls of its window, however the move is made, and must not
// report the focus leaving for a box or another window.

#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>
#include <QtTest>

#include "app/focus_tracker.h"
#include "gui_test_main.h"

namespace {

struct Form {
  Form() {
    auto* layout = new QVBoxLayout(&window);
    for (const char* name : {"a", "b", "c"}) {
      auto* edit = new QLineEdit(&window);
      edit->setObjectName(QString::fromLatin1(name));
      layout->addWidget(edit);
    }
    tracker = new zelk::FocusTracker(
        &window, [this](QWidget* w) { Record("exit", w); },
        [this](QWidget* w) { Record("enter", w); });
    window.show();
    window.activateWindow();
    (void)QTest::qWaitForWindowActive(&window);
  }
  QLineEdit* edit(const char* name) {
    return window.findChild<QLineEdit*>(QString::fromLatin1(name));
  }
  void Record(const char* what, QWidget* w) {
    events << QStringLiteral("%1 %2").arg(QLatin1String(what), w->objectName());
    if (what == QByteArrayLiteral("exit") && on_exit) on_exit(w);
  }

  QWidget window;
  zelk::FocusTracker* tracker = nullptr;
  QStringList events;
  std::function<void(QWidget*)> on_exit;
};

}  // namespace

class FocusTrackerTest : public QObject {
  Q_OBJECT

 private slots:
  void tabMovesReportExitThenEnter() {
    Form f;
    f.edit("a")->setFocus();
    QTRY_COMPARE(f.window.focusWidget(), f.edit("a"));
    QTest::keyClick(f.edit("a"), Qt::Key_Tab);
    QTest::keyClick(f.edit("b"), Qt::Key_Tab);
    QCOMPARE(f.events, (QStringList{"enter a", "exit a", "enter b", "exit b", "enter c"}));
  }

  void mouseAndSetFocusMovesAreReported() {
    Form f;
    f.edit("a")->setFocus();
    QTest::mouseClick(f.edit("c"), Qt::LeftButton);
    f.edit("b")->setFocus();
    QCOMPARE(f.events, (QStringList{"enter a", "exit a", "enter c", "exit c", "enter b"}));
  }

  void returningToTheSameControlIsNoMove() {
    Form f;
    f.edit("a")->setFocus();
    QWidget other;
    other.show();
    other.activateWindow();
    QTest::qWait(20);
    f.window.activateWindow();
    f.edit("a")->setFocus();
    QCOMPARE(f.events, (QStringList{"enter a"}));
  }

  void aBoxOpenedFromExitDoesNotConfuseTheOrder() {
    Form f;
    f.edit("a")->setFocus();
    f.on_exit = [&f](QWidget*) {
      f.on_exit = nullptr;
      QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Warning!"), QStringLiteral("bad"),
                      QMessageBox::Ok);
      QTimer::singleShot(30, &box, [&box] { box.accept(); });
      box.exec();
    };
    QTest::keyClick(f.edit("a"), Qt::Key_Tab);
    QTRY_COMPARE(f.window.focusWidget(), f.edit("b"));
    QCOMPARE(f.events, (QStringList{"enter a", "exit a", "enter b"}));
    // Under a window manager the window is active again once the box is gone.
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QTest::keyClick(f.edit("b"), Qt::Key_Tab);
    QCOMPARE(f.events.last(), QStringLiteral("enter c"));
    QCOMPARE(f.events.size(), 5);
  }
};

ZELK_GUI_TEST_MAIN(FocusTrackerTest)
#include "focus_tracker_test.moc"
