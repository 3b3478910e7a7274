// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/workshop_dialog.h"

#include <QDialog>
#include <QLineEdit>

#include "app/qt_text.h"
#include "ui_WorkshopDialog.h"

namespace zelk {

std::optional<Workshop> AskWorkshop(QWidget* parent, const Workshop& workshop) {
  QDialog dialog(parent);
  Ui::WorkshopDialog ui;
  ui.setupUi(&dialog);
  QObject::connect(ui.buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(ui.buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  const std::array<std::pair<QLineEdit*, const std::string*>, 4> fields{{
      {ui.workshop_name, &workshop.name},
      {ui.workshop_address, &workshop.address},
      {ui.workshop_phone, &workshop.phone},
      {ui.workshop_technician, &workshop.technician},
  }};
  for (const auto& [edit, value] : fields) edit->setText(ToQString(*value));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const auto text = [](const QLineEdit* edit) { return edit->text().trimmed().toStdString(); };
  return Workshop{text(ui.workshop_name), text(ui.workshop_address), text(ui.workshop_phone),
                  text(ui.workshop_technician)};
}

}  // namespace zelk
