// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Porta_serial.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <algorithm>
#include "app/messages.h"
#include "app/module_messages.h"
#include "app/port_search.h"
#include "app/qt_text.h"
#include "app/window_placement.h"
#include "session/module_version.h"
#include "session/session.h"
#include "ui_Form2.h"

namespace zelk {

namespace {

#ifdef _WIN32
// Windows port names are short ("COM12"); the box takes at most this many
// typed characters there. Elsewhere a port is often a path (/dev/ttyUSB0, a
// pseudo-terminal under /run/user), so the box takes any length.
constexpr int kPortNameMaxTyped = 10;

// The limit holds for what is typed; a listed adapter's name ("USB-SERIAL
// CH340 (COM7)") is longer and is shown whole. A line edit's maximum length
// would cut it, and the cut text would then be opened as a typed name.
class TypedPortValidator : public QValidator {
 public:
  explicit TypedPortValidator(QComboBox& box) : QValidator(&box), box_(box) {}

  State validate(QString& input, int&) const override {
    if (input.size() <= kPortNameMaxTyped || box_.findText(input) >= 0) return Acceptable;
    for (int i = 0; i < box_.count(); ++i)
      if (box_.itemText(i).startsWith(input)) return Intermediate;
    return Invalid;
  }

 private:
  QComboBox& box_;
};
#endif

}  // namespace

TForm2::TForm2(Messages& messages, Session& session, PortLister list_ports,
               const std::string& preferred_port, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::Form2>()),
      messages_(messages),
      session_(session),
      list_ports_(std::move(list_ports)) {
  ui_->setupUi(this);
  // The layout sizes the dialog to its texts in the current font and scale.
  adjustSize();
  PlaceOnScreen(*this, QPoint(514, 281));
#ifdef _WIN32
  ui_->combo_porta->setValidator(new TypedPortValidator(*ui_->combo_porta));
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
  connect(ui_->button_Find, &QPushButton::clicked, this, &TForm2::button_FindClick);
  connect(ui_->button_Refresh, &QPushButton::clicked, this, &TForm2::button_RefreshClick);
  FormCreate(preferred_port);
}

// The dialog owns the port's lifetime: the program closes it as it ends.
TForm2::~TForm2() {
  session_.Close();
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

void TForm2::showEvent(QShowEvent* event) {
  FillPortList();
  QDialog::showEvent(event);
}

void TForm2::FormCreate(const std::string& preferred_port) {
  preferred_port_ = preferred_port;
  FillPortList();
}

bool TForm2::Typed() const {
  const QComboBox& box = *ui_->combo_porta;
  const int index = box.currentIndex();
  return index < 0 || box.itemText(index) != box.currentText();
}

void TForm2::FillPortList() {
  const bool typed = Typed();
  const QString typed_text = ui_->combo_porta->currentText();
  const std::string chosen = PortName();

  std::vector<ListedPort> ports = list_ports_ ? list_ports_() : std::vector<ListedPort>{};
  if (!preferred_port_.empty()) ports.insert(ports.begin(), ListedPort{preferred_port_, {}});
  QComboBox& box = *ui_->combo_porta;
  box.clear();
  port_names_.clear();
  for (const ListedPort& port : ports) {
    box.addItem(ToQString(ListedPortText(port)));
    port_names_.push_back(port.name);
  }
  absent_index_ = -1;
  if (!remembered_port_.empty() &&
      std::find(port_names_.begin(), port_names_.end(), remembered_port_) == port_names_.end()) {
    // A port opened by a path the system does not list is offered as it is.
    const bool there = UnlistedPortExists(remembered_port_);
    if (!there) absent_index_ = box.count();
    box.addItem(there ? ToQString(remembered_port_)
                      : tr("%1 (absent)").arg(ToQString(remembered_port_)));
    port_names_.push_back(remembered_port_);
  }

  if (typed && !typed_text.isEmpty()) {
    box.setEditText(typed_text);
    return;
  }
  const auto listed = std::find(port_names_.begin(), port_names_.end(), chosen);
  const int index = static_cast<int>(listed - port_names_.begin());
  if (!chosen.empty() && chosen != selected_at_start_ && listed != port_names_.end() &&
      index != absent_index_) {
    box.setCurrentIndex(index);
    return;
  }
  SelectAsAtStart();
}

void TForm2::SelectAsAtStart() {
  QComboBox& box = *ui_->combo_porta;
  int index = box.count() > 0 ? 0 : -1;
  if (preferred_port_.empty() && !remembered_port_.empty() && absent_index_ < 0) {
    index = static_cast<int>(std::find(port_names_.begin(), port_names_.end(), remembered_port_) -
                             port_names_.begin());
  }
  box.setCurrentIndex(index);
  selected_at_start_ = index >= 0 ? port_names_[static_cast<std::size_t>(index)] : std::string();
}

void TForm2::PreselectRemembered(const std::string& port) {
  remembered_port_ = port;
  FillPortList();
}

void TForm2::button_RefreshClick() {
  FillPortList();
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
  const Outcome opened = session_.Open(PortName());
  if (opened.ok()) return true;
  InformFailure(messages_, opened.failure);
  close();
  return false;
}

void TForm2::button_OKClick() {
  // Whatever this OK finds, the module reached before is forgotten first
  // (the open would close its port anyway).
  session_.Close();
  if (!OpenPort()) {
    InformErrorOpeningPort(messages_);
    session_.Close();
  } else {
    // Not Session::Connect: the port stays open while the failure box shows.
    const Result<ModuleVersion> version = session_.ReadVersion();
    if (version.ok()) {
      remembered_port_ = session_.connected_port();
      if (on_connected_) on_connected_(session_.connected_port());
      messages_.Inform(ToQString(ModuleVersionText(version.value)), tr("Version"));
    } else {
      InformFailure(messages_, version.failure);
      session_.Close();
    }
  }
  close();
}

void TForm2::button_CancelClick() {
  close();
}

void TForm2::button_FindClick() {
  FindModule();
}

Result<ModuleVersion> TForm2::ConnectOrFind() {
  FillPortList();
  session_.Close();
  Result<ModuleVersion> version;
  version.failure = Failure::no_reply;
  const std::string port = PortName();
  const bool absent = absent_index_ >= 0 && ui_->combo_porta->currentIndex() == absent_index_;
  if (!port.empty() && !absent) version = session_.Connect(port);
  if (!version.ok()) {
    const std::optional<std::string> found = FindModule();
    if (found) version = session_.Connect(*found);
  }
  if (version.ok()) {
    remembered_port_ = session_.connected_port();
    if (on_connected_) on_connected_(session_.connected_port());
  }
  return version;
}

std::optional<std::string> TForm2::FindModule() {
  FillPortList();
  // The listed ports, without the absent remembered one (nothing to ask),
  // and a typed name.
  std::vector<std::string> ports = port_names_;
  if (absent_index_ >= 0) ports.erase(ports.begin() + absent_index_);
  const std::string typed = PortName();
  if (Typed() && !typed.empty() && std::find(ports.begin(), ports.end(), typed) == ports.end())
    ports.push_back(typed);
  // The port this program holds open would only report itself busy: it is
  // the module, as its last OK showed, and it is left as it is.
  const std::string& held_port = session_.connected_port();
  const bool holding = session_.connected() && !held_port.empty();
  std::vector<std::string> asked;
  for (const std::string& port : ports)
    if (!holding || port != held_port) asked.push_back(port);

  const std::vector<PortProbe> found = RunPortSearch(this, asked, search_opener_);
  std::vector<PortProbe> probes;
  auto next = found.begin();
  for (const std::string& port : ports) {
    if (holding && port == held_port) {
      PortProbe held{port, ProbeVerdict::answered, {}};
      held.version.value = *session_.module_version();
      probes.push_back(held);
    } else if (next != found.end()) {
      probes.push_back(*next++);
    }
  }

  std::optional<std::string> answered;
  if (const std::optional<std::size_t> first = FirstAnswered(probes)) {
    const std::string& port = probes[*first].port;
    answered = port;
    const auto listed = std::find(port_names_.begin(), port_names_.end(), port);
    if (listed != port_names_.end()) {
      ui_->combo_porta->setCurrentIndex(static_cast<int>(listed - port_names_.begin()));
    } else {
      ui_->combo_porta->setEditText(ToQString(port));
    }
  }
  messages_.Inform(SearchSummary(probes), SearchTitle());
  return answered;
}

}  // namespace zelk
