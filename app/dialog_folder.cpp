// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialog_folder.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <utility>

namespace zelk {

namespace {

struct DialogFolderState {
  QString last;
  std::function<void(const QString&)> on_chosen;
};

DialogFolderState& State() {
  static DialogFolderState state;
  return state;
}

bool IsFolder(const QString& folder) {
  return !folder.isEmpty() && QFileInfo(folder).isDir();
}

}  // namespace

QString DialogFolder() {
  if (IsFolder(State().last)) return State().last;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (IsFolder(documents)) return documents;
  return QDir::homePath();
}

void RememberDialogFolder(const QString& chosen_file) {
  if (chosen_file.isEmpty()) return;
  const QString folder = QFileInfo(chosen_file).absolutePath();
  if (folder == State().last) return;
  State().last = folder;
  if (State().on_chosen) State().on_chosen(folder);
}

void SetDialogFolder(const QString& folder) {
  State().last = folder;
}

void SetOnDialogFolderChosen(std::function<void(const QString&)> on_chosen) {
  State().on_chosen = std::move(on_chosen);
}

QString AskFileToOpen(QWidget* parent, const QString& title, const QString& filter) {
  const QString path = QFileDialog::getOpenFileName(parent, title, DialogFolder(), filter);
  RememberDialogFolder(path);
  return path;
}

QString AskFileToSave(QWidget* parent, const QString& title, const QString& filter,
                      QString* chosen_filter) {
  const QString path =
      QFileDialog::getSaveFileName(parent, title, DialogFolder(), filter, chosen_filter);
  RememberDialogFolder(path);
  return path;
}

}  // namespace zelk
