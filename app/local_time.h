// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The records keep UTC ("2026-12-09T10:15:00Z"); the technician reads the
// computer's local time.

#include <QString>
#include <cstdint>
#include <string_view>

namespace zelk {

// "2026-12-09 07:15:00" for "2026-12-09T10:15:00Z" at UTC-3. A text that is
// not such a time is shown as it is.
QString LocalTimeText(std::string_view utc);

// "2026-12-09 07:15:00.123" for a time in milliseconds since 1970 (UTC), as
// a log's rows keep it.
QString LocalTimeOfMs(std::int64_t utc_ms);

}  // namespace zelk
