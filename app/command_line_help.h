// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// --help of the window program. On Windows it shows in a box (a program of
// the Windows subsystem has no console), whose proportional font would
// scatter the columns the parser lines up with spaces.

#include <QString>

namespace zelk {

// The parser's help text for a box: preformatted, so in a fixed-pitch font
// with its spaces kept and its columns aligned.
QString HelpBoxText(const QString& help);

}  // namespace zelk
