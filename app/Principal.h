// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TMainForm: the main window. The session holds the module's blocks; the
// window holds the working flags and the texts of its edit boxes, which keep
// the settings between a read and a write. Its handlers are thin: they read
// widgets, call the session and format its values.

#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "app/chart_window.h"  // complete for the destructor
#include "app/poll_controller.h"
#include "monitor/live_log.h"
#include "programming/program_kind.h"
#include "programming/program_status.h"
#include "records/customer_report.h"
#include "records/vehicle_store.h"
#include "session/failure.h"
#include "session/guarded_write.h"
#include "session/restore_points.h"
#include "settings/settings_block.h"
#include "settings/settings_table.h"
#include "settings_file/settings_file.h"

namespace Ui {
class MainForm;
}
class QAction;
class QCloseEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QActionGroup;

namespace zelk {

class CommissioningWizard;
struct StepDone;
class GuideWindow;
class LogReviewWindow;
class ReconnectWatch;
class StatusText;
class Messages;
class Session;
struct InstantSample;
struct LiveSample;
class TForm2;
class TProgramForm;
struct RpmStep;

class TMainForm : public QWidget {
  Q_OBJECT

 public:
  TMainForm(Messages& messages, Session& session, QWidget* parent = nullptr);
  ~TMainForm() override;

  // The other windows, created after this one.
  void Attach(TForm2& form2, TProgramForm& program_form);

  Ui::MainForm& ui() { return *ui_; }
  QTimer& Timer_Read() { return poll_.timer(); }
  // The user's decimal separator, for number texts.
  char DecimalSeparator() const;

  // Operation buttons.
  void configClick();
  void progClick();
  void sairClick();
  void lerClick();
  void gravarClick();
  // How many settings in the window differ from what the module holds (the
  // marked ones); 0 before a Read.
  int UnwrittenChanges();
  // Live values.
  void Timer_ReadTimer();
  // Idle RPM and calibration.
  void rpmdownClick();
  void rpmupClick();
  void rpm_cal_buttonClick();
  // The menu bar above the client area: Help.
  QMenuBar& menu_bar() { return *menu_bar_; }
  void ShowUserGuide();
  void ShowAbout();
  GuideWindow* guide_window() const { return guide_.get(); }
  // Settings files and restore points (the File menu). Each action asks for
  // its file and then calls the function that takes the path.
  void OpenSettingsFile(const QString& path);
  void SaveSettingsFile(const QString& path);
  void CompareWithFile(const QString& path);
  void RestoreFromFile(const QString& path);
  void ShowRestorePoints();
  // The dialogs of Compare and Restore points, while they are open.
  QDialog* compare_dialog() const { return compare_dialog_; }
  QDialog* restore_points_dialog() const { return restore_points_dialog_; }
  // The block the module held at the last successful read, if any.
  const std::optional<SettingsBlock>& last_read() const { return last_read_; }
  // The correction limit the module holds, which the mixture program
  // follows: from ModuleSettings. Nothing, after its failure box, when the
  // read fails.
  std::optional<double> ModuleCorrectionLimit();
  // Before a program starts: a restore point of the settings as last read
  // (a program changes the module's own settings). True when there is none
  // to keep or it was kept; false after the box saying why not.
  bool KeepBeforeProgram();
  // Back after an unplug: after a failure that says the port went away, a
  // look once a second whether the same port is back (ReconnectLookTick); the
  // status text beside the menus says what the watch found. Config and Quit
  // end it.
  void ReconnectLookTick();
  bool watching_port() const { return reconnect_watch_ != nullptr; }
  QTimer& Timer_Reconnect() { return timer_reconnect_; }
  StatusText& status_text() { return *status_text_; }
  // Milliseconds on the session's clock (tests run the simulated module's).
  void SetClock(std::function<double()> now_ms) { now_ms_ = std::move(now_ms); }
  // Option check boxes.
  void heat_enClick();
  void sonda_enClick();
  void acel_rapida_enClick();
  void banda_largaClick();

  // The entry check's text to put back, and the option boxes' flags byte.
  QString SavedText;
  std::uint8_t WorkingFlags = 0;

 protected:
  // Quit and the title bar's close button: asks before unwritten changes go.
  void closeEvent(QCloseEvent* event) override;

 private:
  void ConnectHandlers();
  void BuildMenuBar();
  // The menus, left to right, each in the file of its feature.
  void BuildFileMenu(QMenuBar& bar);  // Principal_files.cpp
  void BuildLogMenus(QMenuBar& bar);  // Principal_log.cpp: Log and View
  void BuildHelpMenu(QMenuBar& bar);
  // After the COM-port dialog or the commissioning's connect: the buttons
  // follow whether a module answered (returned).
  bool AfterConnect();
  // After a program run: the run kept in the bench vehicle's history, the
  // settings read again, the watch for a port that went away. True when it
  // met a communication failure.
  bool FinishProgramRun(ProgramKind kind, const std::string& started_at);
  // The settings block into the boxes, as a read shows it; the boxes are then
  // "as filled" from `block` until the technician changes one.
  void ShowSettings(const SettingsBlock& block);
  // The settings as the window holds them. A setting whose box (or idle RPM
  // with its factor, or option box) is as last filled keeps the bytes it was
  // filled from, byte for byte: decoding and encoding again is not exact for
  // every count, and a Write with nothing changed must not move a setting. A
  // changed one is encoded as Write has always encoded it. The other bytes
  // are those the boxes were filled from. Nothing (with the reason shown) when
  // a text cannot be encoded.
  std::optional<SettingsBlock> WindowSettings();
  // WindowSettings laid over the block as last read (the module's own bytes).
  std::optional<SettingsBlock> BlockWithChanges();
  // The settings the window holds: over the module's block after a Read,
  // else the boxes alone (prepared settings).
  std::optional<SettingsBlock> WindowBlock();
  // Its settings as texts, to count differences; none before a Read or when
  // a box does not encode.
  std::optional<SettingTexts> WindowTexts();
  // True when a box differs from what it was last filled with.
  bool EditsPending() const;
  // A restore point of `block` (what the module holds); false (with the
  // reason shown) when none could be saved.
  bool SaveRestorePoint(const SettingsBlock& block, SaveReason reason);
  // A file whose block holds a setting no entry check allows is used only
  // when the technician says so (No by default), each such setting named.
  bool MayUseOutOfRange(const SettingsFile& file, const QString& path, const QString& title);
  // "No restore point could be saved, so nothing was written: ..."
  void InformNoRestorePoint(const std::string& error);
  // Restore's write of `file`: a restore point, the read of the module's own
  // bytes, the write, its read back and verification, each outcome in its
  // box. True when it met a communication failure.
  // Only the `chosen` settings of the file when given.
  // `outcome`, when given, takes how the write ended; `reason` is the
  // restore point's.
  bool WriteFileSettings(const SettingsFile& file, const std::vector<SettingIndex>* chosen,
                         const QString& path, const QString& title, WriteOutcome* outcome = nullptr,
                         SaveReason reason = SaveReason::before_restore);
  // Restore from a file or a record: all its settings, or the chosen ones.
  void RestoreSettings(const QString& path, const std::vector<SettingIndex>* chosen,
                       const QString& title);
  // The settings block, or nothing after the failure's box.
  std::optional<SettingsBlock> ReadModuleBlock();
  // The module's settings for a program that depends on them: as last read,
  // or read now when no Read was made since Config. Nothing, after its
  // failure box, when that read fails.
  std::optional<SettingsBlock> ModuleSettings();
  // The "UPM Progr." and "MAP Progr." lamps from the flags byte.
  void ShowLamps(std::uint8_t flags);
  // Reads the block just before a write, for the module's own bytes (status
  // bits, the mixture byte its program set, the bytes no box shows). Nothing,
  // after its failure box, when the module does not answer.
  std::optional<SettingsBlock> ReadBeforeWrite();
  // "Confirm Program Data !!!!" with the settings that will change.
  bool AskToWrite(const SettingsBlock& settings);
  // Read's work without its question: the settings into the boxes, the
  // snapshot, the poll set running. Also the read back after a Write.
  struct ReadShown {
    bool settings;  // the settings were read
    bool live;      // and the snapshot too
  };
  ReadShown ReadAndShow();
  // A settings block read from the module into the boxes: the window now
  // holds the module's settings, and Write and the file actions follow.
  void ShowModuleRead(const SettingsBlock& block);
  // The live snapshot that ends every read, and the poll set running; false
  // (silently) when it failed.
  bool ReadLiveSnapshot();
  // "Write the settings of NAME to the module?" with the settings that will change.
  QString WriteQuestion(const QString& name, const SettingsBlock& module,
                        const SettingsBlock& to_write);
  // A write of a file's (or prepared) settings, each outcome in its box; true
  // when it met a communication failure.
  bool ShowWriteOutcome(const GuardedWrite& done, const SettingsBlock& sent, const QString& name,
                        const QString& title);
  // Before an action replaces or drops settings the technician changed and
  // did not write: asks, No by default. True when nothing is changed or the
  // answer is Yes.
  bool MayDiscardEdits();
  // After a write: the block read back against the block sent, over the bytes
  // and bits a write sets. A difference is named in one box, `intro` first
  // when given; false when there was one.
  bool VerifyTaken(const SettingsBlock& sent, const SettingsBlock& held, const QString& intro = {});
  // After a program: the lamps and the block as last read follow the module;
  // the boxes too unless the technician has changed one. False when the read
  // failed (its box shown).
  bool ReadAfterProgram();
  // A setting whose text differs from the block as last read is marked.
  void UpdateChangedMarks();
  // Whether the idle RPM, with its factor, would write other bytes than `read`.
  bool IdleRpmChangedFrom(const SettingsBlock& read) const;
  void SetFileActionsEnabled(bool enabled);
  // The failure's box; a port that went away starts the watch for it.
  void ReportFailure(Failure failure);
  // The watch for the port, when it has gone away (its box already shown).
  void WatchForPortIfGone();
  void StopReconnectWatch();
  void SettingEnter(QWidget* control);
  void SettingExit(QWidget* control);
  // The exit check of one setting box: a refused text is reported and put
  // back. `naming` names the setting in a conversion failure, for the check
  // that runs when an action is pressed rather than the box left.
  bool CheckSetting(QLineEdit& edit, const SettingRow& row, bool naming);
  QString TextToPutBack(const QLineEdit& edit, const SettingRow& row) const;
  // Write and Program press their button without the focus leaving its box
  // (an accelerator, a tool button), so its check has not run yet: run it
  // first. False when the box's text was refused.
  bool CheckFocusedSetting();
  // An option box's bit and the boxes it enables follow its check.
  void ApplyOption(SettingIndex option);
  QLineEdit* Edit(SettingIndex setting) const;
  void ShowInstantSample(const InstantSample& sample);
  // A whole number from a box or label, or nothing (with the error shown).
  std::optional<int> WholeNumberIn(const QString& text);
  void StepIdleRpm(RpmStep (*step)(int), std::string_view limit_message);

  std::unique_ptr<Ui::MainForm> ui_;
  Messages& messages_;
  Session& session_;
  TForm2* form2_ = nullptr;
  TProgramForm* program_form_ = nullptr;
  PollController poll_;  // the live-values poll
  QMenuBar* menu_bar_ = nullptr;
  std::unique_ptr<GuideWindow> guide_;  // made when first asked for
  StatusText* status_text_ = nullptr;
  QTimer timer_reconnect_;
  std::unique_ptr<ReconnectWatch> reconnect_watch_;
  std::function<double()> now_ms_;
  std::optional<SettingsBlock> last_read_;
  std::optional<SettingsBlock> filled_;  // what the boxes were last filled from
  // The module's block the boxes last showed (a Read, a read back); File >
  // Open fills the boxes but leaves it, so the file's values count as changes.
  std::optional<SettingsBlock> shown_module_;
  const QLineEdit* saved_for_ = nullptr;  // the box SavedText was taken from
  bool read_since_config_ = false;
  std::vector<QAction*> file_actions_;  // enabled after a successful read
  // Guarded: each deletes itself when closed, and goes with the window.
  QPointer<QDialog> compare_dialog_;
  QPointer<QDialog> restore_points_dialog_;
  // The module version of the file last opened into the boxes over a module
  // read: Write asks before sending a file of another major version.
  std::string opened_version_;
  QString opened_file_;

  // Logging and the live chart (Principal_log.cpp). Both take the window's
  // own poll: they add no traffic.
 public:
  // Starts a log in `path` (a running one ends when the new one has opened);
  // false, with a box and nothing changed, when the file cannot be opened.
  bool StartLog(const QString& path);
  void StopLog();
  bool logging() const { return live_log_ != nullptr; }
  // The poll's period; 0: back to back, as fast as the link allows.
  void SetPollInterval(int interval_ms);
  QActionGroup& poll_rates() { return *poll_rates_; }
  void ShowLiveChart();
  ChartWindow* chart_window() const { return chart_.get(); }
  // A marker with `text` (may be empty) into the running log and the live
  // chart, at this moment.
  void AddMarker(const QString& text);
  // File > Open log... and a log of the timeline: the log review window;
  // null after the box saying why the file is not a log.
  LogReviewWindow* OpenLogForReview(const QString& path);
  LogReviewWindow* log_review_window() const;

 private:
  void StartLogClick();
  void AddOpenLogAction(QMenu& file);
  // Log > Mark...: asks for the marker's text, then AddMarker.
  void MarkClick();
  // After a row or marker was written: the status, or the log stopped with
  // its box when the disk refused it.
  void AfterLogWrite(bool written);
  // One poll's result for the log and the chart; null: the poll failed.
  void FeedLogAndChart(const LiveSample* sample);
  void ShowLogStatus();
  // Quit and the window's close button: the log closes, the chart goes.
  void CloseLogAndChart();

  std::unique_ptr<LiveLogFile> live_log_;
  QActionGroup* poll_rates_ = nullptr;
  std::unique_ptr<ChartWindow> chart_;
  QPointer<LogReviewWindow> log_review_;  // the last one opened; each deletes itself when closed

  // The Vehicle menu (Principal_vehicles.cpp): the workshop's vehicles, the
  // one on the bench, and its history. With a vehicle on the bench, its
  // history takes the restore points, a snapshot of each Read that differs
  // from its newest settings, the settings files saved, the logs started and
  // the program runs.
 public:
  void ShowVehicles();
  // Restore points of no vehicle into the vehicle the technician then
  // chooses in the Vehicles dialog; the Restore points dialog opens again.
  void AssignRestorePointsToVehicle(const QStringList& paths);
  // File > Data folder...: where restore points and vehicles are kept, for
  // the rest of the run; `on_chosen` (start-up's) remembers it for the next.
  // A folder that cannot be written is refused with the reason, and the old
  // one stays. The vehicle on the bench, from the old folder, leaves it.
  bool UseDataFolder(const QString& folder);
  void SetOnDataFolderChosen(std::function<void(const QString&)> on_chosen) {
    on_data_folder_chosen_ = std::move(on_chosen);
  }
  // Puts the vehicle on the bench; false (with a box) when it is not found.
  bool ChooseVehicle(const std::string& id);
  void ClearVehicle();
  void AddVehicleNote();
  void ShowVehicleTimeline();
  const std::optional<VehicleEntry>& bench() const { return bench_; }
  QDialog* vehicles_dialog() const { return vehicles_dialog_; }
  QDialog* timeline_dialog() const { return timeline_dialog_; }
  // Restore of some settings of a record: the `chosen` ones as the record
  // holds them, the rest as the module holds them, through the same question,
  // restore point and verification as every restore.
  void RestoreChosenSettings(const QString& path, const std::vector<SettingIndex>& chosen);

 private:
  void BuildVehicleMenu(QMenuBar& bar);
  void ChooseDataFolderClick();
  // Where a write keeps its restore point: the history of the vehicle on the
  // bench, else the restore points of no vehicle. Null, with the reason,
  // when the data folder cannot be had.
  struct RestorePointsTarget {
    std::unique_ptr<RestorePointTarget> target;
    std::string error;
  };
  RestorePointsTarget RestorePointsInUse() const;
  // Where a file dialog opens: the bench vehicle's folder, else the folder
  // of the last file chosen, else Documents (DialogFolder).
  QString FileDialogFolder() const;
  // After a Read (or a choice made after one): says when the module differs
  // from the vehicle's newest settings, then keeps the settings as read.
  void RecordReadOnBench(const SettingsBlock& block);
  // The warning of the last Read about the car on the bench goes.
  void ClearBenchWarning();
  // What the module read back after a write: the car's settings now (no
  // warning: the difference from its last record is the write's own).
  void RecordReadBackOnBench(const SettingsBlock& block);
  // A settings file saved from the window, into the history too.
  void RecordSavedOnBench(const SettingsFile& file);
  void RecordProgramRunOnBench(ProgramKind kind, const std::string& started_at, bool failed,
                               bool aborted);
  // Where a log started now goes in the bench vehicle's history; empty when
  // its folder cannot be made (a box said why).
  QString BenchLogPath();
  void InformVehicleRecordFailed(const std::string& error);

  std::optional<VehicleEntry> bench_;
  QString bench_warning_;  // the status a Read gave when the module differed from the car
  QPointer<QDialog> vehicles_dialog_;
  QPointer<QDialog> timeline_dialog_;
  std::vector<QAction*> bench_actions_;  // useful only with a vehicle chosen
  std::function<void(const QString&)> on_data_folder_chosen_;

  // Settings prepared with no module (Principal_prepared.cpp): opened from a
  // file or a vehicle's record, or the window's defaults, edited and saved
  // with no port; a Read that meets them asks first.
 public:
  // File > New settings: the boxes as the window starts.
  void NewSettings();
  // A vehicle's settings record opened to prepare ("Edit offline").
  void EditOffline(const QString& path);
  // True while the boxes hold settings no Read has replaced: opened, new,
  // or typed with no module read.
  bool HoldsPrepared() const;
  // The prepared settings as File > Save writes them; nothing (with the box
  // of the text refused) when a box does not encode.
  std::optional<SettingsFile> PreparedFile();

 private:
  struct Prepared {
    QString label;               // what the status names: "before.zelk", "ABC1D23, prepared"
    std::string module_version;  // the file's; empty when it names none
    // A file's block: saved again with its module bytes, and then the
    // settings are all laid over a module's block when written.
    std::optional<SettingsBlock> file_block;
    // Without a block: the settings the file names; only these (and those
    // changed since) are saved and written.
    std::vector<SettingIndex> named;
    SettingTexts saved{};  // as last opened or saved, to tell unsaved changes
  };
  // The boxes as the window started, for New settings.
  struct StartBoxes {
    std::array<QString, kSettingRowCount> texts;
    std::array<bool, kSettingRowCount> checked{};
    QString rpm_cal;
  };
  enum class PreparedAnswer { write, read, cancel };
  void KeepStartBoxes();
  void ShowStartBoxes();
  bool BoxesAsAtStart() const;
  Prepared PreparedOrStart() const;
  std::vector<SettingIndex> NamedNow(const Prepared& prepared, const SettingsBlock& window) const;
  bool PreparedUnsaved();
  // Before prepared work with unsaved changes goes: asks, No by default.
  bool MayDropPrepared();
  void ShowPreparedStatus();
  QString BenchPreparedLabel() const;
  // File > Open with no module read; false when refused or not dropped.
  bool OpenPrepared(const SettingsFile& file, const QString& label, const QString& path,
                    const QString& title);
  void OpenSettingsFileAs(const QString& path, const QString& label);
  bool SavePrepared(const QString& path, const QString& title);
  // A file of another major version than the module's is written only after
  // a question naming both; true to go on.
  bool MayWriteVersion(const std::string& file_version, const QString& name, const QString& title);
  // Read's question when the window holds prepared settings.
  PreparedAnswer AskAboutPrepared();
  // Reads the module, lays the prepared settings over it, shows what will
  // change, asks, keeps a restore point, writes, reads back and verifies.
  // True when it met a communication failure.
  bool WritePrepared();

  std::optional<Prepared> prepared_;
  StartBoxes start_boxes_;

  // Commissioning, the workshop and the customer's report
  // (Principal_commissioning.cpp).
 public:
  // Tools > Commissioning...: the wizard, modal, for the vehicle on the bench.
  void ShowCommissioning();
  // The wizard wired to this window (ShowCommissioning runs it; tests drive it).
  std::unique_ptr<CommissioningWizard> MakeCommissioningWizard();
  // Settings > Workshop...: the details every report names.
  void ShowWorkshop();
  const Workshop& workshop() const { return workshop_; }
  // The details remembered from an earlier run.
  void SetWorkshop(const Workshop& workshop);
  // Runs after the technician changed the details, to remember them.
  void SetOnWorkshopChanged(std::function<void(const Workshop&)> on_changed) {
    on_workshop_changed_ = std::move(on_changed);
  }
  // File > Customer report...: for the vehicle on the bench, else the one
  // chosen in the Vehicles dialog; kept in its records, then offered for
  // printing.
  void CustomerReportClick();
  // The report last made and where its PDF is kept.
  const std::optional<CustomerReport>& last_report() const { return last_report_; }
  const QString& last_report_path() const { return last_report_path_; }

 private:
  struct ReportMade {
    QString path;       // the PDF in the vehicle's records; empty when none was kept
    std::string error;  // then why
  };
  void BuildToolsMenus(QMenuBar& bar);
  void AddCustomerReportAction(QMenu& file);
  void ReportForBench();
  // The bench vehicle's report from its records, kept with them.
  ReportMade MakeCustomerReportFile(const std::string& technician);
  void PrintLastReport();
  void OpenLastReport();
  // The wizard's steps, each with this window's own operations; nothing
  // when the technician declined.
  std::optional<StepDone> CommissioningConnect();
  std::optional<StepDone> CommissioningBackup();
  std::optional<StepDone> CommissioningProgram(EngineProgram program);
  std::optional<StepDone> CommissioningWrite(const FileSettings& changes);
  std::optional<StepDone> CommissioningReport(const std::string& technician,
                                              const std::string& notes);

  Workshop workshop_;
  std::function<void(const Workshop&)> on_workshop_changed_;
  std::optional<CustomerReport> last_report_;
  QString last_report_path_;
};

}  // namespace zelk
