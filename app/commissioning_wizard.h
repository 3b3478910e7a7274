// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tools > Commissioning: the routine of installing a module in a car, one
// step after the other, for the vehicle on the bench: connect and read,
// backup, sensor check, the RPM/oxygen-sensor program, the MAP program,
// settings, report. Any step can be run again or skipped with a reason;
// every result goes into the vehicle's records. The wizard talks to the
// module only through the main window (its host), which keeps its rules:
// the poll paused, one exchange at a time, the same boxes and restore points.

#include <QDialog>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "monitor/sensor_check.h"
#include "programming/program_status.h"
#include "records/commissioning.h"
#include "records/vehicle_store.h"
#include "session/session.h"
#include "settings/settings_block.h"
#include "settings_file/file_settings.h"

namespace Ui {
class CommissioningWizard;
}
class QTableWidgetItem;

namespace zelk {

class Messages;

// A step the host ran: what the page shows, and for a failure what the
// record keeps.
struct StepDone {
  StepOutcome outcome = StepOutcome::done;
  QString summary;
  std::string reason;
};

// What the main window does for the wizard. A step function returns nothing
// when the technician declined its question: nothing happened, nothing is
// recorded.
struct CommissioningHost {
  std::function<std::optional<VehicleEntry>()> bench;
  std::function<void()> choose_vehicle;  // the Vehicles dialog; the bench follows the choice
  std::function<std::optional<StepDone>()> connect_and_read;
  std::function<std::optional<StepDone>()> backup;
  std::function<Result<LiveSample>()> poll;
  std::function<std::optional<StepDone>(EngineProgram)> run_program;
  std::function<std::optional<SettingsBlock>()> module_settings;  // as last read
  std::function<std::optional<StepDone>(const FileSettings&)> write_settings;
  // Keeps the notes, makes the report from the records and keeps it there.
  std::function<std::optional<StepDone>(const std::string& technician, const std::string& notes)>
      make_report;
  std::function<void()> print_report;  // the report just made
  std::function<void()> open_report;
  std::function<std::string()> module_version;
  std::function<std::string()> technician;  // the workshop's, to start with
  std::function<double()> now_ms;           // monotonic
  std::function<std::string()> now_text;    // UTC
};

class CommissioningWizard : public QDialog {
  Q_OBJECT

 public:
  // The sensor check runs at least this long.
  static constexpr double kSensorCheckMs = 30000;

  CommissioningWizard(Messages& messages, CommissioningHost host, QWidget* parent = nullptr);
  ~CommissioningWizard() override;

  Ui::CommissioningWizard& ui() { return *ui_; }
  QTimer& sensor_timer() { return sensor_timer_; }
  CommissioningStep current() const { return current_; }
  std::optional<StepOutcome> outcome(CommissioningStep step) const;
  // When this commissioning began: the records name it by that.
  const std::string& commissioning() const { return commissioning_; }
  bool sensor_check_running() const { return sensor_timer_.isActive(); }

  void GoTo(CommissioningStep step);
  // Run, Repeat, or Finish for a sensor check under way.
  void RunStep();
  // Asks for the reason; skipped with it.
  void SkipStep();
  void NextStep();
  // Stops what runs, keeps the cancellation and says how the module was left.
  void CancelClick();
  void SensorTick();

 protected:
  // Esc and the title bar's close button cancel.
  void reject() override;

 private:
  void RunSensorCheck();
  void FinishSensorCheck();
  void StopSensorCheck();
  void ShowSensorStats();
  void RunSettings();
  void FillSettingsTable();
  void SettingEdited(QTableWidgetItem* item);
  // The changes typed into the "To write" column, against the module.
  FileSettings TypedChanges() const;
  // True when a vehicle is on the bench (asked for when not).
  bool EnsureVehicle();
  // Keeps the step's outcome in the vehicle's records and on the page.
  void Keep(CommissioningStep step, StepOutcome outcome, const std::string& reason,
            const QString& summary, std::optional<SensorCheckRecord> sensors = {});
  void ShowStep();
  void ShowStepList();
  void ShowVehicle();

  std::unique_ptr<Ui::CommissioningWizard> ui_;
  Messages& messages_;
  CommissioningHost host_;
  std::string commissioning_;
  CommissioningStep current_ = CommissioningStep::connect;
  std::array<std::optional<StepOutcome>, kCommissioningStepCount> outcomes_{};
  std::array<QString, kCommissioningStepCount> summaries_{};
  std::optional<CommissioningStep> last_completed_;
  QTimer sensor_timer_;
  std::unique_ptr<SensorCheck> sensor_check_;
  std::optional<LiveSample> last_sample_;
  double sensor_started_ms_ = 0;
  std::optional<SettingsBlock> backup_;  // the block the backup kept
  bool filling_table_ = false;
  std::string notes_kept_;  // the notes the records already hold
};

}  // namespace zelk
