// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows_fixture.h"

#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include "ui_Form2.h"

namespace zelk::test {

std::vector<ListedPort> Listed(const std::vector<std::string>& names) {
  std::vector<ListedPort> ports;
  for (const std::string& name : names) ports.push_back({name, {}});
  return ports;
}

void Windows::Connect(const QString& port_name) {
  QTimer::singleShot(0, &Form2, [this, port_name] {
    Form2.ui().combo_porta->setEditText(port_name);
    Form2.ui().button_OK->click();
  });
  MainForm.configClick();
}

void Windows::OpenFileDialogs(const QString& file) {
  Connect();
  MainForm.lerClick();
  MainForm.Timer_Read().stop();
  MainForm.SaveSettingsFile(file);
  MainForm.CompareWithFile(file);
  MainForm.ShowRestorePoints();
}

}  // namespace zelk::test
