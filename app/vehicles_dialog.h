// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Vehicle > Vehicles...: the workshop's vehicles, newest activity first, with
// a search that narrows the list as it is typed (plate, description or
// customer, ignoring case and accents). New and Edit open the vehicle's form;
// Choose (or a double click) picks the vehicle the window works on. A vehicle
// whose record does not read is listed by its folder, marked, and can be
// neither edited nor chosen.

#include <functional>
#include <string>

class QDialog;
class QWidget;

namespace zelk {

class Messages;
class VehicleStore;

// A dialog, a child of `parent` that deletes itself when closed, not yet
// shown. It keeps a copy of the store; `messages` must outlive it. Choose
// closes it, then runs `choose` with the vehicle's identifier.
QDialog* MakeVehiclesDialog(QWidget* parent, const VehicleStore& store, Messages& messages,
                            std::function<void(const std::string& id)> choose);

}  // namespace zelk
