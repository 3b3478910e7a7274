// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four windows wired as at start-up, talking through one session to a
// simulated module on a virtual clock, with every message box recorded.

#include <memory>
#include <string>
#include <vector>

#include "app/busy_cursor.h"
#include "app/windows.h"
#include "recorded_messages.h"
#include "session/session.h"
#include "sim/simulated_line.h"

namespace zelk::test {

// What the windows need before they are made: the message recorder, the
// simulated module and the session on its clock.
// The ports a test's COM-port dialog lists, by name, without descriptions.
std::vector<ListedPort> Listed(const std::vector<std::string>& names);

// A port list the test changes as it goes: the dialog reads it at each opening.
struct ChangingPortList {
  std::vector<ListedPort> ports;
  PortLister Lister() {
    return [this] { return ports; };
  }
};

struct SimulatedBench {
  explicit SimulatedBench(const sim::EngineModelSettings& engine,
                          std::vector<std::string> port_names = {"SIM"})
      : listed{Listed(port_names)},
        port(engine, "SIM"),
        session(port.Opener(), [this] { return port.clock().now_ms(); }),
        busy_cursor(session) {}

  ChangingPortList listed;
  RecordedMessages messages;
  sim::SimulatedPort port;
  Session session;
  BusyCursor busy_cursor;
};

struct Windows : SimulatedBench, zelk::Windows {
  explicit Windows(std::vector<std::string> ports = {"SIM"}, sim::EngineModelSettings engine = {})
      : SimulatedBench(engine, std::move(ports)),
        zelk::Windows(messages, session, listed.Lister()) {}

  // Config: opens the COM-port dialog as the main window does and presses OK
  // with `port_name` in the port box.
  void Connect(const QString& port_name = QStringLiteral("SIM"));

  // Config, Read (the poll stopped), then the File dialogs that stay open: the
  // settings saved to `file`, compared with it, and the restore points.
  void OpenFileDialogs(const QString& file);
};

}  // namespace zelk::test
