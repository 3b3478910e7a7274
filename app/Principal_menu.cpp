// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's menu bar. It sits above the client area, which keeps its
// designed layout; menu titles take letters that none of the window's own
// accelerators (Config., Program, Read, Write, Quit) use.

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QtGlobal>

#include "app/Principal.h"
#include "app/about_text.h"
#include "app/guide_window.h"
#include "app/messages.h"
#include "app/qt_text.h"
#include "app/status_text.h"
#include "session/module_version.h"
#include "session/program_version.h"
#include "session/session.h"

namespace zelk {

void TMainForm::BuildMenuBar() {
  menu_bar_ = new QMenuBar(this);
  menu_bar_->setObjectName(QStringLiteral("menu_bar"));
  layout()->setMenuBar(menu_bar_);
  // What the window wants the technician to know without a box or a change
  // of layout (a port that went away and came back), right of the menus.
  status_text_ = new StatusText(*menu_bar_);
  status_text_->setObjectName(QStringLiteral("status_text"));

  BuildFileMenu(*menu_bar_);
  BuildLogMenus(*menu_bar_);
  BuildVehicleMenu(*menu_bar_);
  BuildToolsMenus(*menu_bar_);
  BuildHelpMenu(*menu_bar_);
}

void TMainForm::BuildHelpMenu(QMenuBar& bar) {
  QMenu* help = bar.addMenu(tr("&Help"));
  help->setObjectName(QStringLiteral("menu_help"));
  QAction* guide = help->addAction(tr("&User guide"), this, &TMainForm::ShowUserGuide);
  guide->setObjectName(QStringLiteral("action_user_guide"));
  guide->setShortcut(QKeySequence(Qt::Key_F1));
  QAction* about = help->addAction(tr("&About Programable Zelk"), this, &TMainForm::ShowAbout);
  about->setObjectName(QStringLiteral("action_about"));
}

void TMainForm::ShowUserGuide() {
  if (!guide_) guide_ = std::make_unique<GuideWindow>(this);
  guide_->show();
  guide_->raise();
  guide_->activateWindow();
}

void TMainForm::ShowAbout() {
  const QString module =
      session_.connected() ? ToQString(ModuleVersionText(session_.module_version())) : QString();
  messages_.Inform(AboutText(ToQString(kProgramVersion), QString::fromLatin1(qVersion()), module),
                   AboutTitle());
}

}  // namespace zelk
