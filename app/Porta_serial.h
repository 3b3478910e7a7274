// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TForm2: the COM-port dialog. It opens the chosen port on the session and
// proves the link with the module's version; the session keeps what came of
// it (the port, whether the module answered, its version).

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/frame_link.h"
#include "link/port_list.h"
#include "session/session.h"

namespace Ui {
class Form2;
}

namespace zelk {

class Messages;
class Session;

// The operating system's port list as it is now; asked each time the dialog
// opens, when Find starts and on Refresh, so an adapter plugged in while the
// program runs is offered.
using PortLister = std::function<std::vector<ListedPort>()>;

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  // `preferred_port`, when not empty, is put at the top of the list and
  // selected (--port).
  TForm2(Messages& messages, Session& session, PortLister list_ports,
         const std::string& preferred_port = {}, QWidget* parent = nullptr);
  ~TForm2() override;

  Ui::Form2& ui() { return *ui_; }

  void button_OKClick();
  void button_CancelClick();
  // Find: the version request on every listed port (and a typed one), then
  // the first that answered is selected and the box says what each said.
  // OK still connects.
  void button_FindClick();
  // The commissioning's connect, without this dialog: the selected port (the
  // remembered one), and when no module answers there, Find, then the port
  // where it answered. Only Find's box is shown.
  Result<ModuleVersion> ConnectOrFind();
  // Reads the port list again. The port the user chose or typed stays chosen
  // while it is listed (a typed name in any case); else the selection starts
  // over: --port, the remembered port, the first listed.
  void button_RefreshClick();
  // The port of the last successful connection (of an earlier run, then of
  // this one): selected when it is listed, unless a preferred port (--port)
  // was given; listed as absent when the system does not list it.
  void PreselectRemembered(const std::string& port);
  // Runs with the port's name after every successful OK, to remember it.
  void SetOnConnected(std::function<void(const std::string&)> on_connected) {
    on_connected_ = std::move(on_connected);
  }
  // How Find opens ports (the platform's serial ports unless a test says).
  void SetSearchOpener(LineOpener opener) { search_opener_ = std::move(opener); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // The port to open: the bytes of the listed name, or the typed text.
  std::string PortName() const;
  // Opens the port named in the port box. On failure the reason has been
  // shown ("Invalid COMM Port") and the dialog closed.
  bool OpenPort();
  // The list read again, the selection kept or started over as Refresh says.
  void FillPortList();
  // The selection when nothing the user chose is kept.
  void SelectAsAtStart();
  // Whether the box's text is typed rather than a listed item's.
  bool Typed() const;
  // Find's work: the port where the module answered first, if any.
  std::optional<std::string> FindModule();
  void FormCreate(const std::string& preferred_port);

  std::unique_ptr<Ui::Form2> ui_;
  Messages& messages_;
  Session& session_;
  LineOpener search_opener_ = OpenPlatformSerialLine;
  std::function<void(const std::string&)> on_connected_;
  PortLister list_ports_;
  std::string preferred_port_;
  std::string remembered_port_;
  // The port SelectAsAtStart chose: while it stays selected the user chose
  // nothing, and a new list may select another (the remembered port, back).
  std::string selected_at_start_;
  std::vector<std::string> port_names_;  // the listed names, as given, by item index
  int absent_index_ = -1;                // the remembered port's item when it is not listed
};

}  // namespace zelk
