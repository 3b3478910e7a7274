// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's File menu: settings files and restore points.

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/Principal.h"

namespace zelk {

void TMainForm::BuildFileMenu(QMenuBar& bar) {
  QMenu* file = bar.addMenu(tr("&File"));
  file->setObjectName(QStringLiteral("menu_file"));
  QAction* quit = file->addAction(tr("&Quit"), this, &TMainForm::sairClick);
  quit->setObjectName(QStringLiteral("action_quit"));
}

}  // namespace zelk
