// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The records keep UTC ("2026-12-09T10:15:00Z"); the technician reads the
// computer's local time.

#include <QString>
#include <string_view>

namespace zelk {

// "2026-12-09 07:15:00" for "2026-12-09T10:15:00Z" at UTC-3. A text that is
// not such a time is shown as it is.
QString LocalTimeText(std::string_view utc);

}  // namespace zelk
