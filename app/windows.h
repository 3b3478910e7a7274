// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four windows that live for the whole run, created in their fixed order
// (the main window first: the first window made is the application's main
// window) and wired to each other once they all exist. They share the one
// session, which must outlive them; start-up and the window tests alike build
// them here.

#include <string>
#include <vector>

#include "app/Porta_serial.h"
#include "app/Principal.h"
#include "app/Program.h"
#include "app/Zelkprogram.h"

namespace zelk {

class Messages;
class Session;

struct Windows {
  // `list_ports` and `preferred_port` fill the COM-port dialog's list.
  Windows(Messages& messages, Session& session, PortLister list_ports,
          const std::string& preferred_port = {});
  Windows(const Windows&) = delete;
  Windows& operator=(const Windows&) = delete;

  TMainForm MainForm;
  TForm2 Form2;
  TProgramForm ProgramForm;
  TProgramZelkForm ProgramZelkForm;
};

}  // namespace zelk
