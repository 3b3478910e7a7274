// SPDX-License-Identifier: GPL-3.0-or-later
// The main window after an unplug: once the line has said the port went
// away, it looks about once a second whether the same port is back, and says
// what it found in the status text beside the menus. It never reads or
// writes the module on its own: the technician presses Read.

#include <QCoreApplication>
#include <QLabel>

#include "app/Principal.h"
#include "app/module_messages.h"
#include "app/qt_text.h"
#include "app/status_text.h"
#include "session/module_version.h"
#include "session/reconnect_watch.h"
#include "session/session.h"

namespace zelk {

namespace {}  // namespace

void TMainForm::ReportFailure(Failure failure) {
  InformFailure(messages_, failure);
  if (failure == Failure::port_gone) WatchForPortIfGone();
}

void TMainForm::WatchForPortIfGone() {
  const std::string& port = session_.connected_port();
  if (port.empty() || session_.connected()) return;
  reconnect_watch_ = std::make_unique<ReconnectWatch>(port, now_ms_());
  status_text_->setText(
      QCoreApplication::translate("Reconnect", "%1 is gone: waiting for it to come back")
          .arg(ToQString(port)));
  timer_reconnect_.start();
}

void TMainForm::ReconnectLookTick() {
  if (!reconnect_watch_) {
    timer_reconnect_.stop();
    return;
  }
  const QString port = ToQString(reconnect_watch_->port_name());
  const ReconnectLook look = reconnect_watch_->Look(session_, now_ms_());
  switch (look.state) {
    case ReconnectState::waiting:
      return;
    case ReconnectState::back:
      status_text_->setText(
          QCoreApplication::translate(
              "Reconnect", "The module is back on %1 (version %2): press Read to refresh")
              .arg(port, ToQString(ModuleVersionText(look.version.value))));
      break;
    case ReconnectState::gave_up:
      status_text_->setText(
          QCoreApplication::translate("Reconnect", "%1 did not come back: press Config.")
              .arg(port));
      break;
  }
  timer_reconnect_.stop();
  reconnect_watch_.reset();
}

void TMainForm::StopReconnectWatch() {
  timer_reconnect_.stop();
  reconnect_watch_.reset();
  status_text_->clear();
}

}  // namespace zelk
