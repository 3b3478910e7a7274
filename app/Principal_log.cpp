// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's Log and View menus: the live log and the live chart.

#include <QMenuBar>

#include "app/Principal.h"

namespace zelk {

void TMainForm::BuildLogMenus(QMenuBar& /*bar*/) {}

}  // namespace zelk
