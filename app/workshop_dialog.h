// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Settings > Workshop: the workshop's name, address and phone and the
// technician's name, entered once for every customer's report.

#include <optional>

#include "records/customer_report.h"

class QWidget;

namespace zelk {

// The dialog filled with `workshop`; the details as entered, or nothing when
// cancelled.
std::optional<Workshop> AskWorkshop(QWidget* parent, const Workshop& workshop);

}  // namespace zelk
