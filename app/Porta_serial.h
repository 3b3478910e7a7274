// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TForm2: the COM-port dialog. It opens the chosen port on the session and
// proves the link with the module's version; the session keeps what came of
// it (the port, whether the module answered, its version).

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/frame_link.h"

namespace Ui {
class Form2;
}

namespace zelk {

class Messages;
class Session;

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  // `ports` is the operating system's port list; `preferred_port`, when not
  // empty, is put at the top of the list and selected.
  TForm2(Messages& messages, Session& session, std::vector<std::string> ports,
         const std::string& preferred_port = {}, QWidget* parent = nullptr);
  ~TForm2() override;

  Ui::Form2& ui() { return *ui_; }

  void button_OKClick();
  void button_CancelClick();
  // Find: the version request on every listed port (and a typed one), then
  // the first that answered is selected and the box says what each said.
  // OK still connects.
  void button_FindClick();
  // The port of the last successful connection of an earlier run: selected
  // when it is listed, unless a preferred port (--port) was given.
  void PreselectRemembered(const std::string& port);
  // Runs with the port's name after every successful OK, to remember it.
  void SetOnConnected(std::function<void(const std::string&)> on_connected) {
    on_connected_ = std::move(on_connected);
  }
  // How Find opens ports (the platform's serial ports unless a test says).
  void SetSearchOpener(LineOpener opener) { search_opener_ = std::move(opener); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The port to open: the bytes of the listed name, or the typed text.
  std::string PortName() const;
  // Opens the port named in the port box. On failure the reason has been
  // shown ("Invalid COMM Port") and the dialog closed.
  bool OpenPort();
  void FormCreate(std::vector<std::string> ports, const std::string& preferred_port);

  std::unique_ptr<Ui::Form2> ui_;
  Messages& messages_;
  Session& session_;
  LineOpener search_opener_ = OpenPlatformSerialLine;
  std::function<void(const std::string&)> on_connected_;
  bool preferred_given_ = false;
  std::vector<std::string> port_names_;  // the listed names, as given, by item index
};

}  // namespace zelk
