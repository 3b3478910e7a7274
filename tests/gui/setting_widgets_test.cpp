// SPDX-License-Identifier: GPL-3.0-or-later
// The binding of the settings table to the main window's widgets: every
// setting has its box and labels, each one is in ui/MainForm.ui with the class
// the window uses it as, in its group, and says what the table says.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QtTest>
#include <algorithm>

#include "app/lamp.h"
#include "app/qt_text.h"
#include "app/setting_widgets.h"
#include "gui_test_main.h"
#include "ui_MainForm.h"

namespace {

// The one widget of `window` by that name and class, or null.
template <typename Widget>
Widget* OnlyOne(const QWidget& window, std::string_view name) {
  const QList<Widget*> found = window.findChildren<Widget*>(zelk::ToQString(name));
  return found.size() == 1 ? found.front() : nullptr;
}

bool InGroup(const QWidget* widget, std::string_view group) {
  for (const QWidget* parent = widget->parentWidget(); parent != nullptr;
       parent = parent->parentWidget()) {
    if (qobject_cast<const QGroupBox*>(parent) != nullptr &&
        parent->objectName() == zelk::ToQString(group)) {
      return true;
    }
  }
  return false;
}

}  // namespace

class SettingWidgetsTest : public QObject {
  Q_OBJECT

 private slots:
  void everySettingHasItsWidgetsInTheForm() {
    QWidget window;
    Ui::MainForm ui;
    ui.setupUi(&window);
    QSet<QString> used;
    for (const zelk::SettingRow& row : zelk::kSettings) {
      const zelk::SettingWidgets& widgets = zelk::WidgetsOf(row.id);
      const char* name = row.name.data();
      QCOMPARE(widgets.setting, row.id);
      QWidget* box = nullptr;
      if (row.kind == zelk::SettingKind::option) {
        auto* check_box = OnlyOne<QCheckBox>(window, widgets.box);
        QVERIFY2(check_box != nullptr, name);
        QCOMPARE(check_box->text(), zelk::ToQString(row.caption));
        QVERIFY2(widgets.caption_label.empty() && widgets.unit_label.empty(), name);
        box = check_box;
      } else {
        box = OnlyOne<QLineEdit>(window, widgets.box);
        QVERIFY2(box != nullptr, name);
        auto* caption = OnlyOne<QLabel>(window, widgets.caption_label);
        auto* unit = OnlyOne<QLabel>(window, widgets.unit_label);
        QVERIFY2(caption != nullptr && unit != nullptr, name);
        QVERIFY2(InGroup(caption, widgets.group) && InGroup(unit, widgets.group), name);
        QCOMPARE(unit->text(), zelk::ToQString(row.unit));
        // The idle RPM's label has its own spelling ("Iddle RPM"); the
        // table's caption is the one the messages use.
        if (row.kind == zelk::SettingKind::edit) {
          QCOMPARE(caption->text(), zelk::ToQString(row.caption));
        }
      }
      QVERIFY2(InGroup(box, widgets.group), name);
      for (std::string_view widget : {widgets.box, widgets.caption_label, widgets.unit_label}) {
        if (widget.empty()) continue;
        QVERIFY2(!used.contains(zelk::ToQString(widget)), widget.data());
        used.insert(zelk::ToQString(widget));
      }
    }
    for (std::size_t lamp = 0; lamp < zelk::kStatusLamps.size(); ++lamp) {
      QVERIFY(OnlyOne<Lamp>(window, zelk::kLampWidgets[lamp]) != nullptr);
      QCOMPARE(zelk::LampOf(window, lamp), OnlyOne<Lamp>(window, zelk::kLampWidgets[lamp]));
    }
  }

  // Only the edit boxes' settings are checked when their box is left: the
  // idle RPM's box is set by its buttons.
  void theEntryCheckFindsTheEditBoxesOnly() {
    QWidget window;
    Ui::MainForm ui;
    ui.setupUi(&window);
    for (const zelk::SettingRow& row : zelk::kSettings) {
      QWidget* box = zelk::BoxOf(window, row.id);
      QVERIFY(box != nullptr);
      const zelk::SettingRow* checked = zelk::CheckedSettingOf(box);
      QCOMPARE(checked, row.kind == zelk::SettingKind::edit ? &row : nullptr);
    }
    QVERIFY(zelk::CheckedSettingOf(ui.Label5) == nullptr);
    QVERIFY(zelk::CheckedSettingOf(ui.atual_temp) == nullptr);
    QVERIFY(zelk::CheckedSettingOf(nullptr) == nullptr);
  }

  // An option box enables the boxes and labels of the settings that need it,
  // as the user guide's "Needs" column says.
  void optionBoxesEnableWhatNeedsThem() {
    QWidget window;
    Ui::MainForm ui;
    ui.setupUi(&window);
    for (const zelk::SettingRow& option : zelk::OptionRows()) {
      QSet<QWidget*> expected;
      for (const zelk::SettingRow& row : zelk::kSettings) {
        if (row.needs != option.id) continue;
        const zelk::SettingWidgets& widgets = zelk::WidgetsOf(row.id);
        for (std::string_view name : {widgets.box, widgets.caption_label, widgets.unit_label}) {
          if (!name.empty()) expected.insert(window.findChild<QWidget*>(zelk::ToQString(name)));
        }
      }
      const std::vector<QWidget*> enabled = zelk::WidgetsEnabledBy(window, option.id);
      QCOMPARE(QSet<QWidget*>(enabled.begin(), enabled.end()), expected);
      QCOMPARE(static_cast<qsizetype>(enabled.size()), expected.size());
      QVERIFY(!expected.contains(nullptr));
    }
    QCOMPARE(zelk::WidgetsEnabledBy(window, zelk::kBandaLarga).size(), std::size_t{0});
    const std::vector<QWidget*> sonda = zelk::WidgetsEnabledBy(window, zelk::kSondaEn);
    QVERIFY(std::find(sonda.begin(), sonda.end(), ui.banda_larga) != sonda.end());
  }
};

ZELK_GUI_TEST_MAIN(SettingWidgetsTest)
#include "setting_widgets_test.moc"
