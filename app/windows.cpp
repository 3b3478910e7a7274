// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows.h"

#include <utility>

namespace zelk {

Windows::Windows(Messages& messages, Session& session, PortLister list_ports,
                 const std::string& preferred_port)
    : MainForm(messages, session),
      Form2(messages, session, std::move(list_ports), preferred_port),
      // The mixture follows the limit the module holds, which the main
      // window reads when no Read has shown it since Config.
      ProgramForm(messages, session, [this] { return MainForm.ModuleCorrectionLimit(); }),
      ProgramZelkForm(messages, session) {
  ProgramForm.Attach(ProgramZelkForm);
  ProgramForm.SetBeforeProgram([this] { return MainForm.KeepBeforeProgram(); });
  MainForm.Attach(Form2, ProgramForm);
}

}  // namespace zelk
