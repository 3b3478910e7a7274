#include "link/Porta_serial.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <array>

#include "app/messages.h"
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
    case OpenError::permission_denied:
    case OpenError::busy:
    case OpenError::not_a_serial_port:
      return base + QStringLiteral(": ") + QString::fromStdString(DescribeOpenError(result.error));
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
  move(514, 281);  // where the dialog was designed to open
#ifdef _WIN32
  if (QLineEdit* edit = ui_->combo_porta->lineEdit()) edit->setMaxLength(kPortNameMaxTyped);
#endif
  // A path is longer than the box is wide; the tip shows all of it.
  connect(ui_->combo_porta, &QComboBox::currentTextChanged, ui_->combo_porta,
          &QComboBox::setToolTip);
  connect(ui_->button_OK, &QPushButton::clicked, this, &TForm2::button_OKClick);
  connect(ui_->button_Cancel, &QPushButton::clicked, this, &TForm2::button_CancelClick);
  FormCreate(std::move(ports), preferred_port);
}

TForm2::~TForm2() {
  ClosePort();
}

void TForm2::FormCreate(std::vector<std::string> ports, const std::string& preferred_port) {
  if (!preferred_port.empty()) ports.insert(ports.begin(), preferred_port);
  for (const std::string& port : ports) ui_->combo_porta->addItem(QString::fromStdString(port));
  if (ui_->combo_porta->count() > 0) ui_->combo_porta->setCurrentIndex(0);
}

bool TForm2::OpenPort() {
  const std::string name = ui_->combo_porta->currentText().toStdString();
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
