// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user guide: Markdown shipped inside the program, shown in a text
// browser, with its settings and option tables made from the tables the main
// window itself uses.

#include <QString>
#include <QWidget>
#include <memory>

#include "settings/settings_guide.h"

namespace Ui {
class GuideWindow;
}
class QTextBrowser;

namespace zelk {

class GuideWindow : public QWidget {
  Q_OBJECT

 public:
  explicit GuideWindow(QWidget* parent = nullptr);
  ~GuideWindow() override;

  // The guide's Markdown as shown: the shipped text in the language of the
  // installed translation, with the sections of `system` (this program's
  // own unless a test asks) and its tables filled in and translated alike.
  static QString Markdown(GuideSystem system = kThisGuideSystem);

  QTextBrowser& text();

 private:
  std::unique_ptr<Ui::GuideWindow> ui_;
};

}  // namespace zelk
