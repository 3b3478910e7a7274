// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs Exit(old control) then Enter(new control) when the focus moves from
// one control of a window to another. Focus-event reasons cannot be trusted
// for this: when an Exit handler opens a message box, the next control gets
// its focus back only later and with another reason. Watching the
// application's focus changes and remembering the window's last control is
// what reproduces the order the settings entry relies on.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace zelk {

class FocusTracker : public QObject {
 public:
  using Handler = std::function<void(QWidget*)>;
  FocusTracker(QWidget* window, Handler on_exit, Handler on_enter);

 private:
  void OnFocusChanged(QWidget* old, QWidget* now);

  QWidget* window_;
  Handler on_exit_;
  Handler on_enter_;
  QPointer<QWidget> last_;
};

}  // namespace zelk
