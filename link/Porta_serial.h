#pragma once
// TForm2: the COM-port dialog and the owner of the open port. Every window
// talks to the module through its ExchangeFrame.

#include <QDialog>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "link/frame_link.h"
#include "link/requests.h"

namespace Ui {
class Form2;
}

namespace zelk {

class Messages;

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  // `ports` is the operating system's port list; `preferred_port`, when not
  // empty, is put at the top of the list and selected.
  TForm2(Messages& messages, LineOpener opener, std::vector<std::string> ports,
         const std::string& preferred_port = {}, QWidget* parent = nullptr);
  ~TForm2() override;

  // Opens the port named in the port box. On failure the reason has been
  // shown ("Invalid COMM Port") and the dialog closed.
  bool OpenPort();
  bool ExchangeFrame(std::uint8_t command, std::uint16_t address, std::uint8_t count,
                     std::span<std::uint8_t> data);
  bool ExchangeFrame(const RequestSpec& request, std::span<std::uint8_t> data) {
    return ExchangeFrame(request.command, request.address, request.count, data);
  }
  bool ClosePort();

  // True when the last OK opened the port and the module answered.
  bool link_ok() const { return link_ok_; }
  FrameLink& link() { return link_; }
  Ui::Form2& ui() { return *ui_; }

  void button_OKClick();
  void button_CancelClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The port to open: the bytes of the listed name, or the typed text.
  std::string PortName() const;
  void FormCreate(std::vector<std::string> ports, const std::string& preferred_port);

  std::unique_ptr<Ui::Form2> ui_;
  Messages& messages_;
  FrameLink link_;
  bool link_ok_ = false;
  std::vector<std::string> port_names_;  // the listed names, as given, by item index
};

}  // namespace zelk
