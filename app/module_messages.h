// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The boxes that report how the module answered. The windows map a failure
// kind to its text here, so each text is written once.

#include <QString>

#include "session/failure.h"

namespace zelk {

class Messages;

// "Communication Fail" for a failed exchange; "Invalid COMM Port" for a port
// that would not open (on Linux with the reason the technician can act on).
QString FailureText(Failure failure);

// The failure's text, titled "Fail".
void InformFailure(Messages& messages, Failure failure);
// After the open failure itself: "Error Opening Port" / "Fail".
void InformErrorOpeningPort(Messages& messages);
// A request the module answered: "Program OK" / "Program".
void InformProgramOk(Messages& messages);

}  // namespace zelk
