// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/vehicle_edit_dialog.h"

#include <QCoreApplication>

#include "app/messages.h"
#include "app/qt_text.h"
#include "app/translation.h"
#include "records/vehicle_id.h"
#include "ui_VehicleEditDialog.h"

namespace zelk {

QString VehicleRefusalText(const VehicleChange& change, const QString& id) {
  switch (change.refusal) {
    case VehicleRefusal::none:
      break;
    case VehicleRefusal::bad_id:
      return Translated("Vehicles", kVehicleIdRule);
    case VehicleRefusal::exists:
      return QCoreApplication::translate("Vehicles", "A vehicle %1 is already recorded.").arg(id);
    case VehicleRefusal::unknown:
      return QCoreApplication::translate("Vehicles", "The vehicle %1 is no longer recorded.")
          .arg(id);
    case VehicleRefusal::write_failed:
      return QCoreApplication::translate("Vehicles", "The vehicle could not be saved: %1")
          .arg(TranslatedMessage(change.error));
  }
  return {};
}

VehicleEditDialog::VehicleEditDialog(QWidget* parent, const VehicleStore& store, Messages& messages,
                                     const Vehicle* existing)
    : QDialog(parent),
      ui_(std::make_unique<Ui::VehicleEditDialog>()),
      store_(store),
      messages_(messages) {
  ui_->setupUi(this);
  if (existing == nullptr) return;
  existing_ = *existing;
  ui_->plate->setText(ToQString(existing->id));
  ui_->plate->setReadOnly(true);
  ui_->description->setText(ToQString(existing->name));
  ui_->customer->setText(ToQString(existing->customer));
  ui_->phone->setText(ToQString(existing->phone));
  ui_->notes->setPlainText(ToQString(existing->notes));
  ui_->description->setFocus();
}

VehicleEditDialog::~VehicleEditDialog() = default;

Vehicle VehicleEditDialog::Typed() const {
  Vehicle vehicle;
  if (existing_) vehicle = *existing_;
  vehicle.id = ui_->plate->text().trimmed().toStdString();
  vehicle.name = ui_->description->text().trimmed().toStdString();
  vehicle.customer = ui_->customer->text().trimmed().toStdString();
  vehicle.phone = ui_->phone->text().trimmed().toStdString();
  vehicle.notes = ui_->notes->toPlainText().toStdString();
  return vehicle;
}

VehicleChange VehicleEditDialog::Save() {
  const Vehicle typed = Typed();
  VehicleChange change = existing_ ? store_.Update(typed) : store_.Add(typed);
  if (change.refusal != VehicleRefusal::none) {
    messages_.Inform(VehicleRefusalText(change, ToQString(typed.id)), windowTitle());
  } else {
    saved_ = change.entry;
  }
  return change;
}

void VehicleEditDialog::accept() {
  if (Save().refusal == VehicleRefusal::none) QDialog::accept();
}

std::optional<VehicleEntry> EditVehicle(QWidget* parent, const VehicleStore& store,
                                        Messages& messages, const Vehicle* existing) {
  VehicleEditDialog form(parent, store, messages, existing);
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.saved();
}

}  // namespace zelk
