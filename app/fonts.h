// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zelk {

// The windows are drawn in Tahoma and Arial. Arial maps to a metric-compatible
// font through fontconfig on Linux; Tahoma is loaded from wine's font files
// when they are there, else the platform's sans serif stands in.
void LoadWindowFonts();

}  // namespace zelk
