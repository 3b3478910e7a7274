// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/workshop_dialog.h"

#include <QLineEdit>
#include <array>
#include <utility>

#include "app/qt_text.h"
#include "ui_WorkshopDialog.h"

namespace zelk {

WorkshopDialog::WorkshopDialog(const Workshop& workshop, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::WorkshopDialog>()) {
  ui_->setupUi(this);
  connect(ui_->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(ui_->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  const std::array<std::pair<QLineEdit*, const std::string*>, 4> fields{{
      {ui_->workshop_name, &workshop.name},
      {ui_->workshop_address, &workshop.address},
      {ui_->workshop_phone, &workshop.phone},
      {ui_->workshop_technician, &workshop.technician},
  }};
  for (const auto& [edit, value] : fields) edit->setText(ToQString(*value));
}

WorkshopDialog::~WorkshopDialog() = default;

Workshop WorkshopDialog::Entered() const {
  const auto text = [](const QLineEdit* edit) { return edit->text().trimmed().toStdString(); };
  return Workshop{text(ui_->workshop_name), text(ui_->workshop_address), text(ui_->workshop_phone),
                  text(ui_->workshop_technician)};
}

std::optional<Workshop> AskWorkshop(QWidget* parent, const Workshop& workshop) {
  WorkshopDialog dialog(workshop, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Entered();
}

}  // namespace zelk
