// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The form of one vehicle: new (the plate or name typed once) or edited (the
// identifier shown, not changed; a vehicle's folder and history hang on it).
// OK saves through the store; when the store refuses, the box says why and
// the form stays open with what was typed.

#include <QDialog>
#include <QString>
#include <memory>
#include <optional>

#include "records/vehicle_store.h"

namespace Ui {
class VehicleEditDialog;
}

namespace zelk {

class Messages;

// The words for a refusal of the store, `id` as typed.
QString VehicleRefusalText(const VehicleChange& change, const QString& id);

class VehicleEditDialog : public QDialog {
 public:
  // `existing` null: a new vehicle. The store is kept by copy.
  VehicleEditDialog(QWidget* parent, const VehicleStore& store, Messages& messages,
                    const Vehicle* existing);
  ~VehicleEditDialog() override;

  // OK: saves, and closes only when the store took the vehicle.
  void accept() override;

  // Add or Update with what is typed; a refusal is told in a box.
  VehicleChange Save();

  // The vehicle as stored by the last OK that was taken.
  const std::optional<VehicleEntry>& saved() const { return saved_; }

 private:
  Vehicle Typed() const;

  std::unique_ptr<Ui::VehicleEditDialog> ui_;
  VehicleStore store_;
  Messages& messages_;
  std::optional<Vehicle> existing_;
  std::optional<VehicleEntry> saved_;
};

// Runs the form modally; the vehicle as stored, or nothing on Cancel.
std::optional<VehicleEntry> EditVehicle(QWidget* parent, const VehicleStore& store,
                                        Messages& messages, const Vehicle* existing);

}  // namespace zelk
