// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/vehicles_dialog.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTableWidget>
#include <optional>
#include <utility>
#include <vector>

#include "app/local_time.h"
#include "app/messages.h"
#include "app/qt_text.h"
#include "app/translation.h"
#include "app/vehicle_edit_dialog.h"
#include "records/vehicle_store.h"
#include "ui_VehiclesDialog.h"

namespace zelk {
namespace {

// Each row's first item holds the index of its entry in the list taken last.
constexpr int kEntryIndexRole = Qt::UserRole;
// A first look at the columns may not push the dialog off a small screen.
constexpr int kWidestColumnOnOpen = 220;

class VehiclesDialog final : public QDialog {
 public:
  VehiclesDialog(QWidget* parent, const VehicleStore& store, Messages& messages,
                 std::function<void(const std::string& id)> choose)
      : QDialog(parent), store_(store), messages_(messages), choose_(std::move(choose)) {
    setAttribute(Qt::WA_DeleteOnClose);
    ui_.setupUi(this);
    connect(ui_.buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(ui_.search, &QLineEdit::textChanged, this, [this] { Fill(std::nullopt); });
    connect(ui_.vehicles, &QTableWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    connect(ui_.vehicles, &QTableWidget::cellDoubleClicked, this, [this] { ChooseSelected(); });
    connect(ui_.new_vehicle, &QPushButton::clicked, this, [this] { NewVehicle(); });
    connect(ui_.edit_vehicle, &QPushButton::clicked, this, [this] { EditSelected(); });
    connect(ui_.choose_vehicle, &QPushButton::clicked, this, [this] { ChooseSelected(); });
    entries_ = store_.List();
    Fill(std::nullopt);
    ui_.vehicles->resizeColumnsToContents();
    for (int column = 0; column < ui_.vehicles->columnCount(); ++column) {
      if (ui_.vehicles->columnWidth(column) > kWidestColumnOnOpen)
        ui_.vehicles->setColumnWidth(column, kWidestColumnOnOpen);
    }
    ui_.search->setFocus();
  }

 private:
  // The rows the search lets through; a damaged vehicle has no text to
  // search, so it shows only while the search is empty. The selection stays
  // on `keep` (else on the vehicle selected before, else on the first row).
  void Fill(std::optional<std::filesystem::path> keep) {
    if (!keep) {
      if (const VehicleEntry* selected = Selected()) keep = selected->folder;
    }
    const std::string search = ui_.search->text().toStdString();
    std::vector<const VehicleEntry*> shown;
    if (search.empty()) {
      for (const VehicleEntry& entry : entries_) shown.push_back(&entry);
    } else {
      shown = SearchVehicles(entries_, search);
    }
    QTableWidget& table = *ui_.vehicles;
    table.clearSelection();
    table.setRowCount(static_cast<int>(shown.size()));
    int selected_row = shown.empty() ? -1 : 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
      const int row = static_cast<int>(i);
      const VehicleEntry& entry = *shown[i];
      SetRow(row, entry);
      table.item(row, 0)->setData(kEntryIndexRole,
                                  static_cast<qulonglong>(&entry - entries_.data()));
      if (keep && entry.folder == *keep) selected_row = row;
    }
    if (selected_row >= 0) {
      table.selectRow(selected_row);
      table.scrollToItem(table.item(selected_row, 0));
    }
    UpdateButtons();
  }

  void SetRow(int row, const VehicleEntry& entry) {
    QStringList texts;
    if (entry.vehicle) {
      texts << ToQString(entry.vehicle->id) << ToQString(entry.vehicle->name)
            << ToQString(entry.vehicle->customer) << ToQString(entry.vehicle->phone);
    } else {
      texts << PathText(entry.folder.filename())
            << QCoreApplication::translate("Vehicles", "Damaged: %1")
                   .arg(TranslatedMessage(entry.damaged))
            << QString() << QString();
    }
    texts << LocalTimeText(entry.last_activity);
    for (int column = 0; column < texts.size(); ++column) {
      auto* item = new QTableWidgetItem(texts[column]);
      item->setToolTip(texts[column]);
      ui_.vehicles->setItem(row, column, item);
    }
  }

  const VehicleEntry* Selected() const {
    const QList<QTableWidgetItem*> items = ui_.vehicles->selectedItems();
    if (items.isEmpty()) return nullptr;
    const QTableWidgetItem* first = ui_.vehicles->item(items.front()->row(), 0);
    if (first == nullptr) return nullptr;
    const auto index = first->data(kEntryIndexRole).toULongLong();
    return index < entries_.size() ? &entries_[index] : nullptr;
  }

  const Vehicle* SelectedVehicle() const {
    const VehicleEntry* entry = Selected();
    return entry != nullptr && entry->vehicle ? &*entry->vehicle : nullptr;
  }

  void UpdateButtons() {
    const bool usable = SelectedVehicle() != nullptr;
    ui_.edit_vehicle->setEnabled(usable);
    ui_.choose_vehicle->setEnabled(usable);
  }

  // A new vehicle is shown whatever was searched, and selected.
  void NewVehicle() {
    const std::optional<VehicleEntry> saved = EditVehicle(this, store_, messages_, nullptr);
    if (!saved) return;
    entries_ = store_.List();
    {
      const QSignalBlocker quiet(ui_.search);
      ui_.search->clear();
    }
    Fill(saved->folder);
  }

  // The list is taken again even on Cancel: another program may have
  // changed it while the form was open.
  void EditSelected() {
    const Vehicle* selected = SelectedVehicle();
    if (selected == nullptr) return;
    const Vehicle vehicle = *selected;
    const std::filesystem::path folder = Selected()->folder;
    EditVehicle(this, store_, messages_, &vehicle);
    entries_ = store_.List();
    Fill(folder);
  }

  void ChooseSelected() {
    const Vehicle* selected = SelectedVehicle();
    if (selected == nullptr) return;
    const std::string id = selected->id;
    // The dialog is deleted later, once the event loop runs again.
    const std::function<void(const std::string&)> choose = choose_;
    close();
    if (choose) choose(id);
  }

  Ui::VehiclesDialog ui_;
  VehicleStore store_;
  Messages& messages_;
  std::function<void(const std::string& id)> choose_;
  std::vector<VehicleEntry> entries_;
};

}  // namespace

QDialog* MakeVehiclesDialog(QWidget* parent, const VehicleStore& store, Messages& messages,
                            std::function<void(const std::string& id)> choose) {
  return new VehiclesDialog(parent, store, messages, std::move(choose));
}

}  // namespace zelk
