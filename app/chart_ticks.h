// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tick labels that never run into each other. An axis asks for about five
// ticks whatever its length, and rounds their step down to a readable one,
// so a short strip or a narrow window crowds their texts over one another;
// here each axis gets as many ticks as its length has room for labels, never
// closer than a label's room, and a time axis reads as h:mm:ss.

class QCPAxis;
class QCustomPlot;

namespace zelk {

// Seconds since a start as "0:02:15" (with milliseconds when the ticks are
// less than a second apart).
void UseElapsedTimeTicks(QCPAxis& axis);

// Fits every axis's tick count to its length before each drawing of `plot`.
void KeepTickLabelsApart(QCustomPlot& plot);

// The fit for one axis, by its present length and range.
void FitTickCount(QCPAxis& axis);

}  // namespace zelk
