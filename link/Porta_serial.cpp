#include "link/Porta_serial.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <array>

#include "app/messages.h"
#include "app/qt_text.h"
#include "app/window_placement.h"
#include "ui_Form2.h"

namespace zelk {

namespace {

#ifdef _WIN32
// Windows port names are short ("COM12"); the box takes at most this many
// typed characters there. Elsewhere a port is often a path (/dev/ttyUSB0, a
// pseudo-terminal under /run/user), so the box takes any length.
constexpr int kPortNameMaxTyped = 10;
#endif

QString OpenFailureText(const OpenResult& result) {
  const QString base = QStringLiteral("Invalid COMM Port");
#ifdef _WIN32
  (void)result;
  return base;
#else
  // On Linux the usual causes have a remedy the technician can apply (join
  // the dialout group, close the other program), so the box names them.
  switch (result.error) {
    case OpenError::not_found:
    case OpenError::permission_denied:
    case OpenError::busy:
    case OpenError::not_a_serial_port:
      return base + QStringLiteral(": ") + ToQString(DescribeOpenError(result.error));
    default:
      return base;
  }
#endif
}

}  // namespace

TForm2::TForm2(Messages& messages, LineOpener opener, std::vector<std::string> ports,
               const std::string& preferred_port, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::Form2>()),
      messages_(messages),
      link_(std::move(opener)) {
  ui_->setupUi(this);
  setFixedSize(size());
  PlaceOnScreen(*this, QPoint(514, 281));
#ifdef _WIN32
  if (QLineEdit* edit = ui_->combo_porta->lineEdit()) edit->setMaxLength(kPortNameMaxTyped);
#endif
  // A path is longer than the box is wide; the tip shows all of it.
  connect(ui_->combo_porta, &QComboBox::currentTextChanged, ui_->combo_porta,
          &QComboBox::setToolTip);
  // The box's inline completion keeps the text selected when the dialog
  // opens again, and an Enter on a selection only accepts the completion.
  // The box hands its keys to its line edit directly, past any filter there.
  ui_->combo_porta->installEventFilter(this);
  connect(ui_->button_OK, &QPushButton::clicked, this, &TForm2::button_OKClick);
  connect(ui_->button_Cancel, &QPushButton::clicked, this, &TForm2::button_CancelClick);
  FormCreate(std::move(ports), preferred_port);
}

TForm2::~TForm2() {
  ClosePort();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    QLineEdit* edit = ui_->combo_porta->lineEdit();
    // Enter presses OK whatever is selected: take the completion, then let
    // the key go on to the default button.
    if (watched == ui_->combo_porta && edit != nullptr &&
        (key == Qt::Key_Return || key == Qt::Key_Enter)) {
      edit->deselect();
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TForm2::FormCreate(std::vector<std::string> ports, const std::string& preferred_port) {
  if (!preferred_port.empty()) ports.insert(ports.begin(), preferred_port);
  for (const std::string& port : ports) ui_->combo_porta->addItem(ToQString(port));
  port_names_ = std::move(ports);
  if (ui_->combo_porta->count() > 0) ui_->combo_porta->setCurrentIndex(0);
}

std::string TForm2::PortName() const {
  const QComboBox& box = *ui_->combo_porta;
  const int index = box.currentIndex();
  // A listed name opens by its own bytes: one that is not valid UTF-8 shows
  // with replacement characters, which name no file.
  if (index >= 0 && static_cast<std::size_t>(index) < port_names_.size() &&
      box.itemText(index) == box.currentText()) {
    return port_names_[static_cast<std::size_t>(index)];
  }
  return box.currentText().toStdString();
}

bool TForm2::OpenPort() {
  const std::string name = PortName();
  OpenResult result = link_.OpenPort(name);
  if (link_.port_open()) return true;
  messages_.Inform(OpenFailureText(result), QStringLiteral("Fail"));
  close();
  return false;
}

bool TForm2::ExchangeFrame(std::uint8_t command, std::uint16_t address, std::uint8_t count,
                           std::span<std::uint8_t> data) {
  return link_.ExchangeFrame(command, address, count, data);
}

bool TForm2::ClosePort() {
  return link_.ClosePort();
}

void TForm2::button_OKClick() {
  if (!OpenPort()) {
    link_ok_ = false;
    messages_.Inform(QStringLiteral("Error Opening Port"), QStringLiteral("Fail"));
    ClosePort();
  } else {
    std::array<std::uint8_t, 2> version{0, 0};  // the one payload byte is not significant
    if (link_.ExchangeFrame(requests::kVersion, version)) {
      const std::size_t received = link_.last_payload_size();
      link_ok_ = true;
      // A reply too short to carry the minor number shows it as "?".
      const QString minor = received >= 2 ? QString::number(version[1]) : QStringLiteral("?");
      const QString major = received >= 1 ? QString::number(version[0]) : QStringLiteral("?");
      messages_.Inform(major + QLatin1Char('.') + minor, QStringLiteral("Version"));
    } else {
      link_ok_ = false;
      messages_.Inform(QStringLiteral("Communication Fail"), QStringLiteral("Fail"));
      ClosePort();
    }
  }
  close();
}

void TForm2::button_CancelClick() {
  close();
}

}  // namespace zelk
