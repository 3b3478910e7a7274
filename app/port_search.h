// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Find, in the COM-port dialog: the version request on every port at once
// (the search's own threads do the asking), with a progress box and its
// Cancel while the window keeps painting, then one line per port.

#include <QString>
#include <string>
#include <vector>

#include "link/serial_line.h"
#include "session/find_module.h"

class QWidget;

namespace zelk {

// Runs the search over `ports`; returns one result per port, in list order.
std::vector<PortProbe> RunPortSearch(QWidget* parent, std::vector<std::string> ports,
                                     const LineOpener& opener);

// What the search found, for its box: a first line saying where the module
// answered (or that no port did), then one line per port.
QString SearchSummary(const std::vector<PortProbe>& probes);

QString SearchTitle();

}  // namespace zelk
