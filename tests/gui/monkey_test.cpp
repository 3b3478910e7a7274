// SPDX-License-Identifier: GPL-3.0-or-later
// A seeded monkey at the windows: clicks, Alt accelerators, menu items, texts
// typed into the boxes, focus moves, settings files good and bad, yes and no
// to every question, the programming dialogs, and faults on the simulated
// module switched on and off between events. After every event the module's
// side is checked: no block reaches it with a setting that is neither in its
// entry range nor what the module held, or with the module's own bytes
// changed; nothing is written without its question answered Yes; no success
// box where every exchange had to fail; nothing escaped a handler.
//
// ZELK_MONKEY_SEED and ZELK_MONKEY_EVENTS choose the run (the seed, the event
// number and the event's description name a failure, so it can be replayed);
// ZELK_MONKEY_KEEP_GOING=1 reports every violation instead of stopping at the
// first; ZELK_MONKEY_TRACE=1 prints every event. The window timers do not tick by the wall clock:
// the monkey ticks them itself on the module's virtual clock, so a run is the same every time.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/Porta_serial.h"
#include "app/Principal.h"
#include "app/Program.h"
#include "app/Zelkprogram.h"
#include "app/application.h"
#include "app/busy_cursor.h"
#include "app/commissioning_wizard.h"
#include "app/log_review_window.h"
#include "app/windows.h"
#include "gui_test_main.h"
#include "recorded_messages.h"
#include "session/session.h"
#include "settings/settings_table.h"
#include "settings/settings_values.h"
#include "settings_file/settings_overlay.h"
#include "sim/reply_plan.h"
#include "sim/simulated_line.h"
#include "ui_Form2.h"
#include "ui_MainForm.h"
#include "ui_ProgramForm.h"
#include "ui_ProgramZelkForm.h"

using zelk::test::Box;
using zelk::test::RecordedMessages;

namespace {

using Block = std::array<std::uint8_t, zelk::sim::kSettingsSize>;

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
  bool ok = false;
  const std::uint64_t value = qEnvironmentVariable(name).toULongLong(&ok);
  return ok ? value : fallback;
}

QString Hex(const std::uint8_t* bytes, std::size_t count) {
  return QByteArray(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(count)).toHex(' ');
}

// The faults switched on between events. Silence, a bad check byte and stray
// bytes make every exchange fail, so no success may be reported under them.
// A late reply is still the answer to the same request's earlier try, and a
// short reply still acknowledges a write (which carries no payload), so
// under those two a success may be true; what they must never do is put a
// wrong byte into the module, which the write checks catch.
struct FaultChoice {
  const char* name;
  void (*apply)(zelk::sim::FaultModes&);
  bool fails_every_exchange;
};
constexpr FaultChoice kFaults[] = {
    {"none", [](zelk::sim::FaultModes&) {}, false},
    {"silent", [](zelk::sim::FaultModes& f) { f.silent = true; }, true},
    {"bad check", [](zelk::sim::FaultModes& f) { f.bad_check = true; }, true},
    {"garbage", [](zelk::sim::FaultModes& f) { f.garbage_before = true; }, true},
    // Later than a read waits: the reply belongs to no later request.
    {"late", [](zelk::sim::FaultModes& f) { f.extra_delay_ms = 400; }, false},
    // One payload byte short, with a valid check byte.
    {"short", [](zelk::sim::FaultModes& f) { f.short_reply = true; }, false},
};

// A request as the module received it, with the settings it held when the
// request arrived.
struct Sent {
  zelk::sim::Request request;
  Block held;
};

// The line between the session and the simulated module, noting what the
// module held when each request reached it.
class RecordingLine : public zelk::SerialLine {
 public:
  RecordingLine(std::unique_ptr<zelk::SerialLine> line, zelk::sim::SimulatedPort& port,
                std::vector<Sent>& sent)
      : line_(std::move(line)), port_(port), sent_(sent) {}

  void SetTimeouts(const zelk::CommTimeouts& timeouts) override { line_->SetTimeouts(timeouts); }
  zelk::IoResult Write(const std::uint8_t* data, std::size_t count) override {
    zelk::sim::ZelkModule& module = port_.module();
    // A program that has run its course finishes when the next request
    // arrives, at its last byte: settle it for that moment, so `held` is
    // what the request meets.
    (void)module.ProgramStatus(port_.clock().now_ms() +
                               static_cast<double>(count) * zelk::sim::kByteTimeMs);
    const Block held = module.settings();
    const std::uint64_t before = module.counters().requests;
    const zelk::IoResult result = line_->Write(data, count);
    const auto& history = module.history();
    const std::uint64_t fresh = module.counters().requests - before;
    for (std::size_t i = history.size() - static_cast<std::size_t>(fresh); i < history.size(); ++i)
      sent_.push_back({history[i], held});
    return result;
  }
  zelk::IoResult Read(std::uint8_t* data, std::size_t capacity) override {
    return line_->Read(data, capacity);
  }
  void PurgeOutput() override { line_->PurgeOutput(); }
  void PurgeInput() override { line_->PurgeInput(); }
  void Close() override { line_->Close(); }

 private:
  std::unique_ptr<zelk::SerialLine> line_;
  zelk::sim::SimulatedPort& port_;
  std::vector<Sent>& sent_;
};

// The module behind a recording line, and the session over it.
struct MonkeyBench {
  MonkeyBench()
      : port(zelk::sim::EngineModelSettings{}, "SIM"),
        session(Opener(), [this] { return port.clock().now_ms(); }),
        busy_cursor(session) {}
  zelk::LineOpener Opener() {
    return [this](const std::string& name) {
      zelk::OpenResult opened = port.Opener()(name);
      if (opened.line)
        opened.line = std::make_unique<RecordingLine>(std::move(opened.line), port, sent);
      return opened;
    };
  }

  RecordedMessages messages;
  zelk::sim::SimulatedPort port;
  std::vector<Sent> sent;
  zelk::Session session;
  zelk::BusyCursor busy_cursor;
};

// The four windows wired as at start-up, through the recording line.
struct MonkeyWindows : MonkeyBench, zelk::Windows {
  MonkeyWindows()
      : zelk::Windows(messages, session, [] {
          return std::vector<zelk::ListedPort>{{"SIM", {}}, {"COM9", {}}};
        }) {
    // Find asks no real port: every one it tries is missing.
    Form2.SetSearchOpener([](const std::string&) {
      return zelk::OpenResult{nullptr, zelk::OpenError::not_found, {}};
    });
    port.module().SetHistoryLimit(64);
  }
};

// The texts of success boxes: each says an exchange was answered.
bool IsSuccessBox(const Box& box) {
  return box.kind == Box::inform &&
         (box.text == QStringLiteral("Program OK") ||
          box.text == QStringLiteral("Programming Completed!") ||
          box.text == QStringLiteral("Programming Aborted!") ||
          box.title == QStringLiteral("Version") ||
          box.text.startsWith(QStringLiteral("The module now holds the settings of")));
}

const QString kConfirmProgramZelk = QStringLiteral("Confirm Program Zelk !!!!");

// File-menu actions that ask for a path in a file dialog: the monkey calls
// the functions that take the path instead.
const QStringList kPathAskingActions{
    "action_open_settings", "action_save_settings", "action_compare", "action_restore",
    "action_start_log",     "action_data_folder",   "action_open_log"};

class Monkey : public QObject {
 public:
  Monkey(std::uint64_t seed, MonkeyWindows& windows, const QString& folder)
      : rng_(seed), w_(windows), folder_(folder) {
    w_.messages.on_box = [this](const Box& box) {
      if (box.kind != Box::ask) return;
      const bool yes = Chance(0.6);
      w_.messages.answers = {yes};
      Say(QStringLiteral("'%1' %2").arg(box.text.left(30), yes ? "Yes" : "No"));
      if (yes) yes_to_ << box.text;
    };
    qApp->installEventFilter(this);
  }
  ~Monkey() override { qApp->removeEventFilter(this); }

  // One event; the violations it found, if any.
  QStringList Run();

  std::map<QString, int> kinds;       // events by kind
  std::map<QString, int> box_counts;  // boxes by text
  std::map<QString, int> requests;    // module requests by name
  QString description;                // of the last event

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int Pick(std::size_t count) {
    return std::uniform_int_distribution<int>(0, static_cast<int>(count) - 1)(rng_);
  }
  bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }
  void Say(const QString& what) { description += (description.isEmpty() ? "" : "; ") + what; }
  bool MainWindowActive();

  void ClickButton();
  void Accelerator();
  void TypeText();
  void MoveFocus();
  void MenuItem();
  void FileAction();
  void RestorePoints();
  void PollTick();
  void TimePasses();
  void SwitchFault();
  void ChangeModule();
  void Garble();

  QString RandomText(const zelk::SettingRow& row);
  QString RandomPath();
  void DriveForm2();
  void DriveProgramForm();
  void DriveProgress();
  void DriveCommissioning(zelk::CommissioningWizard& wizard);
  void CheckEvent(std::size_t boxes_before, QStringList& violations);
  void CheckSettingsWrite(const Sent& sent, bool ranges, QStringList& violations);
  bool WroteSettings() const {
    return std::any_of(w_.sent.begin(), w_.sent.end(), [](const Sent& sent) {
      return sent.request.command == 4 && sent.request.address == 1;
    });
  }

  struct Kind {
    const char* name;
    int weight;
    void (Monkey::*run)();
  };
  static const std::array<Kind, 12> kKinds;

  std::mt19937_64 rng_;
  MonkeyWindows& w_;
  QString folder_;
  std::size_t fault_ = 0;
  QStringList yes_to_;  // questions answered Yes in this event
  std::uint8_t flags_at_start_ = 0;
  bool file_dialog_shown_ = false;
  bool file_event_ = false;             // the event took settings from a file
  bool file_values_confirmed_ = false;  // see CheckEvent
};

const std::array<Monkey::Kind, 12> Monkey::kKinds{{
    {"click", 40, &Monkey::ClickButton},
    {"accelerator", 3, &Monkey::Accelerator},
    {"type", 30, &Monkey::TypeText},
    {"focus", 15, &Monkey::MoveFocus},
    {"menu", 6, &Monkey::MenuItem},
    {"file", 6, &Monkey::FileAction},
    {"restore points", 2, &Monkey::RestorePoints},
    {"poll tick", 12, &Monkey::PollTick},
    {"time", 3, &Monkey::TimePasses},
    {"fault", 8, &Monkey::SwitchFault},
    {"module", 2, &Monkey::ChangeModule},
    {"garble files", 1, &Monkey::Garble},
}};

bool Monkey::eventFilter(QObject* watched, QEvent* event) {
  // The window timers tick only when the monkey says (PollTick, the progress
  // dialog's driver), on the virtual clock.
  if (event->type() == QEvent::Timer &&
      (watched == &w_.MainForm.Timer_Read() || watched == &w_.ProgramZelkForm.Timer1() ||
       watched == &w_.MainForm.Timer_Reconnect())) {
    return true;
  }
  // A modal dialog gets its driver once its own event loop runs.
  if (event->type() == QEvent::Show) {
    if (watched == &w_.Form2) QTimer::singleShot(0, &w_.Form2, [this] { DriveForm2(); });
    if (watched == &w_.ProgramForm)
      QTimer::singleShot(0, &w_.ProgramForm, [this] { DriveProgramForm(); });
    if (watched == &w_.ProgramZelkForm)
      QTimer::singleShot(0, &w_.ProgramZelkForm, [this] { DriveProgress(); });
    // The monkey never means to ask for a file this way: closed, and told.
    if (auto* dialog = qobject_cast<QFileDialog*>(watched)) {
      file_dialog_shown_ = true;
      QTimer::singleShot(0, dialog, &QDialog::reject);
    } else if (auto* wizard = qobject_cast<zelk::CommissioningWizard*>(watched)) {
      QTimer::singleShot(0, wizard, [this, wizard] { DriveCommissioning(*wizard); });
    } else if (auto* dialog = qobject_cast<QDialog*>(watched);
               dialog != nullptr && dialog != &w_.Form2 && dialog != &w_.ProgramForm &&
               dialog != &w_.ProgramZelkForm && dialog->windowModality() != Qt::NonModal) {
      // Any other modal dialog (the workshop's details, the vehicle list the
      // wizard asks with, a print dialog): the monkey backs out of it.
      QTimer::singleShot(0, dialog, &QDialog::reject);
    }
  }
  return false;
}

QStringList Monkey::Run() {
  description.clear();
  yes_to_.clear();
  w_.sent.clear();
  flags_at_start_ = w_.port.module().settings()[zelk::kFlagsOffset];
  const std::size_t boxes_before = w_.messages.boxes.size();
  if (w_.MainForm.isHidden()) w_.MainForm.show();  // after a Quit
  (void)MainWindowActive();

  int total = 0;
  for (const Kind& kind : kKinds) total += kind.weight;
  int draw = Pick(static_cast<std::size_t>(total));
  const Kind* chosen = &kKinds[0];
  for (const Kind& kind : kKinds) {
    if (draw < kind.weight) {
      chosen = &kind;
      break;
    }
    draw -= kind.weight;
  }
  ++kinds[QString::fromLatin1(chosen->name)];
  file_event_ = chosen->run == &Monkey::FileAction || chosen->run == &Monkey::RestorePoints;
  Say(QStringLiteral("[fault %1] %2").arg(kFaults[fault_].name, chosen->name));

  QStringList violations;
  try {
    (this->*chosen->run)();
  } catch (const std::exception& error) {
    violations << QStringLiteral("an exception escaped: %1").arg(error.what());
  } catch (...) {
    violations << QStringLiteral("an exception escaped");
  }
  CheckEvent(boxes_before, violations);
  if (std::exchange(file_dialog_shown_, false))
    violations << QStringLiteral("the monkey opened a file dialog (a fault of the test)");
  return violations;
}

QString Monkey::RandomText(const zelk::SettingRow& row) {
  const double max = row.max_is_limite_corr ? 50 : row.max;
  const bool integer = row.entry == zelk::NumberKind::integer;
  const auto number = [&](double value, int decimals) {
    QString text = QString::number(value, 'f', decimals);
    if (Chance(0.5)) text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
  };
  switch (Pick(9)) {
    case 0: {  // inside the range
      const double value = std::uniform_real_distribution<double>(row.min, max)(rng_);
      return number(value, integer ? 0 : Pick(4));
    }
    case 1:
      return number(row.min, 0);
    case 2:
      return number(max, 0);
    case 3:  // just outside
      return number(Chance(0.5) ? row.min - (integer ? 1 : 0.01) : max + (integer ? 1 : 0.01),
                    integer ? 0 : 2);
    case 4: {  // near an edge, with a fraction
      const double edge = Chance(0.5) ? row.min : max;
      return number(edge + std::uniform_real_distribution<double>(-0.5, 0.5)(rng_), 1 + Pick(3));
    }
    case 5: {
      static const char* const huge[] = {
          "99999999999999999999",  "4294967296", "-4294967296", "1e300", "65536", "-1e-300",
          "1.7976931348623157e309"};
      return QString::fromLatin1(huge[Pick(std::size(huge))]);
    }
    case 6: {
      static const char* const junk[] = {"abc",  "12a",   " ", "--1", "1..2",  "NaN", "inf",
                                         "0x10", "1,2.3", "+", "1e5", "1 000", "+-0", "\t7"};
      return QString::fromUtf8(junk[Pick(std::size(junk))]);
    }
    case 7:
      return {};
    default:
      return QStringLiteral(" %1 ").arg(number(row.min, 0));
  }
}

void Monkey::ClickButton() {
  QList<QAbstractButton*> buttons;
  for (QAbstractButton* button : w_.MainForm.findChildren<QAbstractButton*>())
    if (button->isEnabled() && button->isVisible() && button->window() == &w_.MainForm)
      buttons << button;
  // Half the clicks go to the operation buttons, where the module is talked to.
  const auto& ui = w_.MainForm.ui();
  const std::array<QAbstractButton*, 4> operations{ui.config, ui.ler, ui.gravar, ui.prog};
  QAbstractButton* operation = operations[static_cast<std::size_t>(Pick(operations.size()))];
  if (operation->isEnabled() && Chance(0.5)) buttons = {operation};
  if (buttons.isEmpty()) return;
  QAbstractButton* button = buttons[Pick(static_cast<std::size_t>(buttons.size()))];
  Say(QStringLiteral("click %1").arg(button->objectName()));
  QTest::mouseClick(button, Qt::LeftButton);
}

bool Monkey::MainWindowActive() {
  // A window shown during the last event (the chart, a side dialog) asks the
  // platform for the activation, and the platform's answer waits in the
  // queue: taken only by the first key sent, it would make that window the
  // active one under the key. Taken now, the main window is activated again
  // before anything is typed.
  QCoreApplication::processEvents();
  const auto active = [this] {
    return QApplication::activeWindow() == &w_.MainForm &&
           QGuiApplication::focusWindow() == w_.MainForm.windowHandle();
  };
  if (!active()) {
    w_.MainForm.activateWindow();
    (void)QTest::qWaitForWindowActive(&w_.MainForm, 1000);
    QCoreApplication::processEvents();
  }
  return active();
}

void Monkey::Accelerator() {
  static const char letters[] = "CPRWQFLVHXT";
  const char letter = letters[Pick(sizeof letters - 1)];
  Say(QStringLiteral("Alt+%1").arg(QLatin1Char(letter)));
  // The keys go to the active window: the chart's accelerators are its own.
  if (!MainWindowActive()) {
    Say(QStringLiteral("not sent: another window is active"));
    return;
  }
  QTest::keyClick(w_.MainForm.windowHandle(), static_cast<Qt::Key>(letter), Qt::AltModifier);
  // A button's accelerator clicks it a moment later, as a visible press.
  for (QAbstractButton* button : w_.MainForm.findChildren<QAbstractButton*>()) {
    if (!button->isDown()) continue;
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    (void)clicked.wait(2000);
  }
  // A menu title opens its menu: an item is chosen, or Escape closes it.
  if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
    QList<QAction*> items;
    for (QAction* action : menu->actions())
      if (action->isEnabled() && !action->isSeparator() && !action->menu() &&
          !kPathAskingActions.contains(action->objectName()))
        items << action;
    if (!items.isEmpty() && Chance(0.6)) {
      QAction* item = items[Pick(static_cast<std::size_t>(items.size()))];
      Say(QStringLiteral("item %1").arg(item->objectName()));
      menu->hide();
      item->trigger();
    } else {
      QTest::keyClick(menu, Qt::Key_Escape);
    }
  }
  while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
}

void Monkey::TypeText() {
  QList<QLineEdit*> edits;
  for (const zelk::SettingRow& row : zelk::EditRows()) {
    auto* edit = w_.MainForm.findChild<QLineEdit*>(QString::fromLatin1(row.name));
    if (edit->isEnabled()) edits << edit;
  }
  QLineEdit* edit = edits[Pick(static_cast<std::size_t>(edits.size()))];
  const QString text = RandomText(*zelk::FindSetting(edit->objectName().toStdString()));
  Say(QStringLiteral("type '%1' into %2").arg(text, edit->objectName()));
  // Keys reach a box only in the active window, as a closed dialog gives the
  // activation back to the main window on a real desktop.
  if (!MainWindowActive()) {
    Say(QStringLiteral("not typed: another window is active"));
    return;
  }
  QTest::mouseClick(edit, Qt::LeftButton);
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  // Each key goes where the focus is, as from a keyboard: a Tab in the text
  // leaves the box (its exit check runs) and the keys after it land in the
  // next control, never in the box that was left.
  for (const QChar key : text) {
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr) break;
    QTest::keyClicks(focus, QString(key));
  }
}

void Monkey::MoveFocus() {
  QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr || Chance(0.3)) {
    QList<QWidget*> targets;
    for (QWidget* widget : w_.MainForm.findChildren<QWidget*>())
      if (widget->isEnabled() && widget->isVisible() && widget->window() == &w_.MainForm &&
          widget->focusPolicy() & Qt::ClickFocus)
        targets << widget;
    if (targets.isEmpty()) return;
    QWidget* target = targets[Pick(static_cast<std::size_t>(targets.size()))];
    Say(QStringLiteral("focus to %1").arg(target->objectName()));
    target->setFocus(Qt::MouseFocusReason);
    return;
  }
  const bool back = Chance(0.3);
  Say(back ? QStringLiteral("Shift+Tab") : QStringLiteral("Tab"));
  QTest::keyClick(focus, back ? Qt::Key_Backtab : Qt::Key_Tab);
}

void Monkey::MenuItem() {
  QList<QAction*> items;
  for (QMenu* menu : w_.MainForm.menu_bar().findChildren<QMenu*>())
    for (QAction* action : menu->actions())
      if (action->isEnabled() && !action->isSeparator() && !action->menu() &&
          !kPathAskingActions.contains(action->objectName()))
        items << action;
  if (items.isEmpty()) return;
  QAction* item = items[Pick(static_cast<std::size_t>(items.size()))];
  Say(QStringLiteral("menu %1").arg(item->objectName()));
  item->trigger();
}

QString Monkey::RandomPath() {
  static const char* const names[] = {"saved.zelk",   "saved2.zelk",      "mutated.zelk",
                                      "garbage.zelk", "empty.zelk",       "missing.zelk",
                                      "folder.zelk",  "no-folder/x.zelk", "saved2"};
  return QDir(folder_).filePath(QString::fromLatin1(names[Pick(std::size(names))]));
}

void Monkey::FileAction() {
  const QString path = RandomPath();
  switch (Pick(7)) {
    case 0:
      Say(QStringLiteral("open %1").arg(path));
      w_.MainForm.OpenSettingsFile(path);
      break;
    case 1:
      Say(QStringLiteral("save %1").arg(path));
      w_.MainForm.SaveSettingsFile(path);
      break;
    case 2:
      Say(QStringLiteral("compare %1").arg(path));
      w_.MainForm.CompareWithFile(path);
      break;
    case 3:
      Say(QStringLiteral("restore %1").arg(path));
      w_.MainForm.RestoreFromFile(path);
      break;
    case 4: {
      static const char* const logs[] = {"log.csv", "folder.zelk", "no-folder/log.csv"};
      const QString log = QDir(folder_).filePath(QString::fromLatin1(logs[Pick(std::size(logs))]));
      Say(QStringLiteral("log to %1").arg(log));
      w_.MainForm.StartLog(log);
      break;
    }
    case 5: {
      // The log being written, or a file that is not a log: a window or a box.
      const QString log = QDir(folder_).filePath(Pick(2) == 0 ? QStringLiteral("log.csv") : path);
      Say(QStringLiteral("review %1").arg(log));
      w_.MainForm.OpenLogForReview(log);
      break;
    }
    default:
      Say(QStringLiteral("close the side windows"));
      if (QWidget* review = w_.MainForm.log_review_window()) review->close();
      if (QDialog* dialog = w_.MainForm.compare_dialog()) dialog->close();
      if (QDialog* dialog = w_.MainForm.restore_points_dialog()) dialog->close();
      if (w_.MainForm.chart_window() != nullptr) w_.MainForm.chart_window()->close();
      break;
  }
}

void Monkey::RestorePoints() {
  QDialog* dialog = w_.MainForm.restore_points_dialog();
  if (dialog == nullptr || Chance(0.2)) {
    Say(QStringLiteral("show the restore points"));
    w_.MainForm.ShowRestorePoints();
    return;
  }
  auto* table = dialog->findChild<QTableWidget*>();
  auto* restore = dialog->findChild<QPushButton*>(QStringLiteral("restore"));
  if (table == nullptr || restore == nullptr || table->rowCount() == 0) return;
  const int row = Pick(static_cast<std::size_t>(table->rowCount()));
  table->selectRow(row);
  Say(QStringLiteral("restore point row %1%2").arg(row).arg(restore->isEnabled() ? "" : " (off)"));
  if (restore->isEnabled()) restore->click();
}

void Monkey::PollTick() {
  QTimer& timer = w_.MainForm.Timer_Read();
  if (!timer.isActive()) {
    Say(QStringLiteral("no poll running"));
    return;
  }
  w_.port.clock().Advance(timer.interval());
  w_.MainForm.Timer_ReadTimer();
}

void Monkey::TimePasses() {
  const int ms = Pick(3000);
  Say(QStringLiteral("%1 ms pass").arg(ms));
  w_.port.clock().Advance(ms);
}

void Monkey::SwitchFault() {
  fault_ = Chance(0.6) ? 0 : static_cast<std::size_t>(Pick(std::size(kFaults)));
  Say(QStringLiteral("fault now %1").arg(kFaults[fault_].name));
  zelk::sim::FaultModes& faults = w_.port.module().faults();
  faults = {};
  kFaults[fault_].apply(faults);
}

void Monkey::ChangeModule() {
  Block& settings = w_.port.module().settings();
  if (Chance(0.3)) {
    settings = zelk::sim::DefaultSettings();
    Say(QStringLiteral("module back to its factory settings"));
  } else if (Chance(0.5)) {
    for (std::uint8_t& byte : settings) byte = static_cast<std::uint8_t>(Pick(256));
    Say(QStringLiteral("another module: %1").arg(Hex(settings.data(), settings.size())));
  } else {
    const std::size_t offset = static_cast<std::size_t>(Pick(settings.size()));
    settings[offset] = static_cast<std::uint8_t>(Pick(256));
    Say(QStringLiteral("behind the window's back: byte %1 = %2").arg(offset).arg(settings[offset]));
  }
}

void Monkey::Garble() {
  const QDir dir(folder_);
  QByteArray garbage;
  for (int i = Pick(400); i > 0; --i) garbage += static_cast<char>(Pick(256));
  QFile file(dir.filePath(QStringLiteral("garbage.zelk")));
  if (file.open(QIODevice::WriteOnly)) file.write(garbage);
  file.close();
  // A saved file with some of its digits changed: numbers out of range, a
  // block with other bytes, or no longer a settings file at all.
  QFile saved(dir.filePath(QStringLiteral("saved.zelk")));
  QByteArray text = saved.open(QIODevice::ReadOnly) ? saved.readAll() : QByteArray();
  static const char kHex[] = "0123456789abcdef-";
  for (int changes = 1 + Pick(4); changes > 0 && !text.isEmpty(); --changes) {
    const qsizetype at = Pick(static_cast<std::size_t>(text.size()));
    if (std::isxdigit(static_cast<unsigned char>(text[at])) != 0)
      text[at] = kHex[Pick(sizeof kHex - 1)];
  }
  QFile mutated(dir.filePath(QStringLiteral("mutated.zelk")));
  if (mutated.open(QIODevice::WriteOnly)) mutated.write(text);
  Say(QStringLiteral("garbage %1 bytes, mutated %2 bytes").arg(garbage.size()).arg(text.size()));
}

void Monkey::DriveForm2() {
  zelk::TForm2& form = w_.Form2;
  if (!form.isVisible()) return;
  static const char* const ports[] = {"SIM", "SIM", "SIM", "COM9", "", "NOWHERE"};
  const QString port = QString::fromLatin1(ports[Pick(std::size(ports))]);
  form.ui().combo_porta->setEditText(port);
  Say(QStringLiteral("port '%1'").arg(port));
  if (Chance(0.1)) {
    Say(QStringLiteral("Find"));
    form.ui().button_Find->click();
  }
  const int way = Pick(10);
  Say(way < 8 ? QStringLiteral("OK") : QStringLiteral("Cancel"));
  (way < 8 ? form.ui().button_OK : form.ui().button_Cancel)->click();
  if (form.isVisible()) form.reject();
}

void Monkey::DriveProgramForm() {
  zelk::TProgramForm& form = w_.ProgramForm;
  if (!form.isVisible()) return;
  auto& ui = form.ui();
  const std::array<QRadioButton*, 4> types{ui.prog_type_0, ui.prog_type_1, ui.prog_type_2,
                                           ui.prog_type_3};
  const std::array<QRadioButton*, 5> mixes{ui.mix_values_0, ui.mix_values_1, ui.mix_values_2,
                                           ui.mix_values_3, ui.mix_values_4};
  if (Chance(0.7)) types[static_cast<std::size_t>(Pick(4))]->click();
  QRadioButton* mix = mixes[static_cast<std::size_t>(Pick(5))];
  if (Chance(0.5) && mix->isEnabled()) mix->click();
  Say(QStringLiteral("program %1 mix %2")
          .arg(static_cast<int>(form.ProgramType()))
          .arg(form.MixValue()));
  const int way = Pick(10);
  Say(way < 8 ? QStringLiteral("OK") : QStringLiteral("Cancel"));
  (way < 8 ? ui.button_OK : ui.button_Cancel)->click();
  if (form.isVisible()) form.reject();
}

void Monkey::DriveProgress() {
  zelk::TProgramZelkForm& form = w_.ProgramZelkForm;
  int ticks = 0;
  // A program runs a few seconds: most runs are followed to their end.
  const int patience = Chance(0.3) ? Pick(6) : 30;
  while (form.isVisible() && ticks < patience && form.Timer1().isActive()) {
    w_.port.clock().Advance(form.Timer1().interval());
    form.Timer1Timer();
    ++ticks;
  }
  Say(QStringLiteral("%1 progress ticks").arg(ticks));
  if (form.isVisible()) {
    Say(QStringLiteral("Cancel"));
    form.ui().button_Cancel->click();
  }
  if (form.isVisible()) form.done(QDialog::Rejected);
}

// A few steps of a commissioning, run or skipped in any order, then Cancel.
void Monkey::DriveCommissioning(zelk::CommissioningWizard& wizard) {
  const int steps = 1 + Pick(4);
  for (int i = 0; i < steps && wizard.isVisible(); ++i) {
    const auto step = static_cast<zelk::CommissioningStep>(Pick(zelk::kCommissioningStepCount));
    wizard.GoTo(step);
    if (Chance(0.75)) {
      Say(QStringLiteral("commissioning: run step %1").arg(static_cast<int>(step) + 1));
      wizard.RunStep();
    } else {
      Say(QStringLiteral("commissioning: skip step %1").arg(static_cast<int>(step) + 1));
      w_.messages.texts = {QStringLiteral("the monkey skips it")};
      wizard.SkipStep();
    }
  }
  if (wizard.isVisible()) {
    Say(QStringLiteral("commissioning: Cancel"));
    wizard.CancelClick();
  }
}

void Monkey::CheckSettingsWrite(const Sent& sent, bool ranges, QStringList& violations) {
  const std::vector<std::uint8_t>& bytes = sent.request.payload;
  const QString shown =
      QStringLiteral("sent %1, the module held %2")
          .arg(Hex(bytes.data(), bytes.size()), Hex(sent.held.data(), sent.held.size()));
  if (bytes.size() != sent.held.size()) {
    violations << QStringLiteral("a settings write of %1 bytes: %2").arg(bytes.size()).arg(shown);
    return;
  }
  zelk::SettingsBlock block{};
  std::copy(bytes.begin(), bytes.end(), block.begin());
  const double limite_corr = zelk::SettingValue(zelk::kSettings[zelk::kLimiteCorr], block);
  for (const zelk::SettingRow& row : zelk::EditRows()) {
    bool held = true;
    for (std::size_t i = 0; i < row.width; ++i)
      held = held && block[row.offset + i] == sent.held[row.offset + i];
    const double value = zelk::SettingValue(row, block);
    if (ranges && !held && !zelk::InSettingRange(row, value, limite_corr)) {
      violations << QStringLiteral(
                        "%1 written as %2, out of range and not what the module held; %3")
                        .arg(QString::fromLatin1(row.name))
                        .arg(value)
                        .arg(shown);
    }
  }
  // A program that ended during this event may have set its done bit after
  // the window last looked: either state of that bit is the module's.
  const std::uint8_t finished =
      static_cast<std::uint8_t>(sent.held[zelk::kFlagsOffset] & ~flags_at_start_ & 0x03);
  for (std::size_t offset = 0; offset < block.size(); ++offset) {
    std::uint8_t own = static_cast<std::uint8_t>(~zelk::SettingBits(offset));
    if (offset == zelk::kFlagsOffset) own = static_cast<std::uint8_t>(own & ~finished);
    if ((block[offset] & own) != (sent.held[offset] & own)) {
      violations << QStringLiteral("the module's own byte %1 written as %2, it held %3; %4")
                        .arg(offset)
                        .arg(block[offset])
                        .arg(sent.held[offset])
                        .arg(shown);
    }
  }
}

void Monkey::CheckEvent(std::size_t boxes_before, QStringList& violations) {
  const bool confirmed_data =
      std::any_of(yes_to_.begin(), yes_to_.end(),
                  [](const QString& question) { return question != kConfirmProgramZelk; });
  const bool confirmed_program = yes_to_.contains(kConfirmProgramZelk);
  // Values out of every entry range may reach the module from a file only
  // when the technician says so on top of the question every write asks:
  // then what the file holds goes as it is, and only the module's own bytes
  // are checked. A file opened into the boxes with a Yes keeps that leave
  // until the boxes are filled from the module again.
  const qsizetype data_answers =
      yes_to_.size() - (confirmed_program ? yes_to_.count(kConfirmProgramZelk) : 0);
  if (file_event_ && data_answers > 0 && !WroteSettings()) file_values_confirmed_ = true;
  const bool out_of_range_confirmed = file_values_confirmed_ || (file_event_ && data_answers > 1);
  for (const Sent& sent : w_.sent) {
    const zelk::sim::Request& request = sent.request;
    const bool start = request.command == 13 && !request.payload.empty() && request.payload[0] != 0;
    const QString name = request.command == 4 && request.address == 1   ? "settings write"
                         : request.command == 4 && request.address == 3 ? "mixture write"
                         : start
                             ? "program start"
                             : QStringLiteral("%1/%2").arg(request.command).arg(request.address);
    ++requests[name];
    if (request.command == 4 && request.address == 1) {
      if (!confirmed_data) violations << QStringLiteral("a settings write nobody confirmed");
      CheckSettingsWrite(sent, !out_of_range_confirmed, violations);
    } else if ((request.command == 4 && request.address == 3) || start) {
      if (!confirmed_program)
        violations
            << QStringLiteral("a %1 without \"%2\" answered Yes").arg(name, kConfirmProgramZelk);
    } else if (request.command == 4) {
      violations << QStringLiteral("a write to address %1").arg(request.address);
    } else if (request.command == 1 && fault_ == 0 && !file_event_) {
      file_values_confirmed_ = false;  // the boxes hold the module's values again
    }
  }
  for (std::size_t i = boxes_before; i < w_.messages.boxes.size(); ++i) {
    const Box& box = w_.messages.boxes[i];
    ++box_counts[box.text.left(60)];
    if (kFaults[fault_].fails_every_exchange && IsSuccessBox(box)) {
      violations << QStringLiteral("\"%1\" shown while every exchange had to fail (%2)")
                        .arg(box.text, kFaults[fault_].name);
    }
  }
}

// The offscreen platform says, at every window shown, what it cannot do.
QtMessageHandler previous_handler = nullptr;
void QuietPlatform(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QStringLiteral("This plugin does not support"))) return;
  previous_handler(type, context, text);
}

// What escapes a handler into the application's own box.
class EscapedBoxes {
 public:
  EscapedBoxes() { static_cast<zelk::Application*>(qApp)->SetMessages(&messages); }
  ~EscapedBoxes() { static_cast<zelk::Application*>(qApp)->SetMessages(nullptr); }
  RecordedMessages messages;
};

}  // namespace

class MonkeyTest : public QObject {
  Q_OBJECT

 private slots:
  void randomUseKeepsTheModuleSound() {
    const std::uint64_t seed = EnvNumber("ZELK_MONKEY_SEED", 20240611);
    const std::uint64_t events = EnvNumber("ZELK_MONKEY_EVENTS", 2000);
    const bool keep_going = EnvNumber("ZELK_MONKEY_KEEP_GOING", 0) != 0;
    const bool trace = EnvNumber("ZELK_MONKEY_TRACE", 0) != 0;
    qApp->setQuitOnLastWindowClosed(false);  // Quit is one more event
    previous_handler = qInstallMessageHandler(QuietPlatform);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("folder.zelk")));
    QFile(QDir(folder.path()).filePath(QStringLiteral("empty.zelk"))).open(QIODevice::WriteOnly);

    MonkeyWindows w;
    EscapedBoxes escaped;
    Monkey monkey(seed, w, folder.path());
    w.MainForm.show();
    w.MainForm.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.MainForm));

    int failures = 0;
    for (std::uint64_t number = 1; number <= events; ++number) {
      QStringList violations = monkey.Run();
      for (const Box& box : escaped.messages.boxes)
        violations << QStringLiteral("the standard error box: %1").arg(box.text);
      escaped.messages.boxes.clear();
      if (trace) qInfo().noquote() << number << monkey.description;
      if (violations.isEmpty()) continue;
      ++failures;
      const QString report = QStringLiteral("seed %1, event %2 (%3):\n  %4")
                                 .arg(seed)
                                 .arg(number)
                                 .arg(monkey.description, violations.join(QStringLiteral("\n  ")));
      if (!keep_going) QFAIL(qPrintable(report));
      qWarning().noquote() << report;
    }

    qInfo().noquote() << QStringLiteral("monkey: seed %1, %2 events").arg(seed).arg(events);
    for (const auto& [kind, count] : monkey.kinds)
      qInfo().noquote() << QStringLiteral("  event %1: %2").arg(kind).arg(count);
    for (const auto& [name, count] : monkey.requests)
      qInfo().noquote() << QStringLiteral("  request %1: %2").arg(name).arg(count);
    int boxes = 0;
    for (const auto& [text, count] : monkey.box_counts) boxes += count;
    qInfo().noquote() << QStringLiteral("  boxes: %1").arg(boxes);
    for (const auto& [text, count] : monkey.box_counts)
      qInfo().noquote() << QStringLiteral("    %1 x \"%2\"").arg(count).arg(text);
    qInstallMessageHandler(previous_handler);
    QVERIFY2(failures == 0,
             qPrintable(QStringLiteral("%1 events broke an invariant").arg(failures)));
  }
};

ZELK_GUI_TEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
