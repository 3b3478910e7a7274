// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/setting_widgets.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <string>

#include "app/lamp.h"
#include "app/qt_text.h"
#include "app/translation.h"

namespace zelk {

namespace {

constexpr bool KeyedByIdentity() {
  for (std::size_t index = 0; index < kSettingWidgets.size(); ++index) {
    if (kSettingWidgets[index].setting != index) return false;
  }
  return true;
}
static_assert(KeyedByIdentity(), "one row a setting, in the settings table's order");

template <typename Widget>
Widget* Named(const QWidget& window, std::string_view name) {
  return window.findChild<Widget*>(ToQString(name));
}

}  // namespace

const SettingWidgets& WidgetsOf(SettingIndex setting) {
  return kSettingWidgets[setting];
}

const SettingRow* CheckedSettingOf(const QWidget* widget) {
  if (qobject_cast<const QLineEdit*>(widget) == nullptr) return nullptr;
  const QString name = widget->objectName();
  for (const SettingRow& row : EditRows()) {
    if (name == ToQString(WidgetsOf(row.id).box)) return &row;
  }
  return nullptr;
}

QLineEdit* EditOf(const QWidget& window, SettingIndex setting) {
  return Named<QLineEdit>(window, WidgetsOf(setting).box);
}

QCheckBox* CheckBoxOf(const QWidget& window, SettingIndex option) {
  return Named<QCheckBox>(window, WidgetsOf(option).box);
}

QWidget* BoxOf(const QWidget& window, SettingIndex setting) {
  return Named<QWidget>(window, WidgetsOf(setting).box);
}

QLabel* UnitLabelOf(const QWidget& window, SettingIndex setting) {
  return Named<QLabel>(window, WidgetsOf(setting).unit_label);
}

Lamp* LampOf(const QWidget& window, std::size_t lamp) {
  return Named<Lamp>(window, kLampWidgets[lamp]);
}

QString RowText(const SettingRow& row, std::string_view english) {
  return Translated(std::string(row.context).c_str(), english);
}

std::vector<QWidget*> WidgetsEnabledBy(const QWidget& window, SettingIndex option) {
  std::vector<QWidget*> boxes;
  std::vector<QWidget*> labels;
  for (const SettingRow& row : kSettings) {
    if (row.needs != option) continue;
    const SettingWidgets& widgets = WidgetsOf(row.id);
    boxes.push_back(BoxOf(window, row.id));
    for (std::string_view label : {widgets.caption_label, widgets.unit_label}) {
      if (!label.empty()) labels.push_back(Named<QLabel>(window, label));
    }
  }
  boxes.insert(boxes.end(), labels.begin(), labels.end());
  return boxes;
}

}  // namespace zelk
