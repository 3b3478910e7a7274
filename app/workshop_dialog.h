// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Settings > Workshop: the workshop's name, address and phone and the
// technician's name, entered once for every customer's report.

#include <QDialog>
#include <memory>
#include <optional>

#include "records/customer_report.h"

namespace Ui {
class WorkshopDialog;
}

namespace zelk {

class WorkshopDialog : public QDialog {
  Q_OBJECT

 public:
  WorkshopDialog(const Workshop& workshop, QWidget* parent = nullptr);
  ~WorkshopDialog() override;

  // The details as the fields hold them, trimmed.
  Workshop Entered() const;

 private:
  std::unique_ptr<Ui::WorkshopDialog> ui_;
};

// The dialog filled with `workshop`; the details as entered, or nothing when
// cancelled.
std::optional<Workshop> AskWorkshop(QWidget* parent, const Workshop& workshop);

}  // namespace zelk
