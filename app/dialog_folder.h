// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the file dialogs open: the folder of the last file chosen in any of
// them (remembered across runs by main()), else the user's Documents. Never
// the working folder: started from the Start menu, that is the install folder,
// where customer files would land among the program's DLLs.

#include <QString>
#include <functional>

class QWidget;

namespace zelk {

// The folder to open a file dialog in; an existing folder, never empty.
QString DialogFolder();
// After a file was chosen in a dialog: its folder is where the next opens.
void RememberDialogFolder(const QString& chosen_file);
// The folder remembered from an earlier run (ignored when it is gone), and
// who keeps each new one for the next.
void SetDialogFolder(const QString& folder);
void SetOnDialogFolderChosen(std::function<void(const QString&)> on_chosen);

// The file dialogs, opened in DialogFolder() and remembering the folder of the
// file chosen; empty when cancelled. `chosen_filter`, when given, starts as
// the filter offered first and comes back as the one chosen.
QString AskFileToOpen(QWidget* parent, const QString& title, const QString& filter);
QString AskFileToSave(QWidget* parent, const QString& title, const QString& filter,
                      QString* chosen_filter = nullptr);

}  // namespace zelk
