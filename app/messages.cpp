// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/messages.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>
#include <algorithm>
#include <vector>

namespace zelk {

namespace {

// A box sized to a short text ("2.10") is too narrow for the window manager
// to show its title ("Version"); widen it to leave room for the title and the
// title bar's buttons.
void KeepTitleVisible(QMessageBox& box, const QString& title) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (grid == nullptr) return;
  const int width = QFontMetrics(box.font()).horizontalAdvance(title) + 140;
  grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                grid->rowCount(), 0, 1, grid->columnCount());
}

QMessageBox::StandardButton Show(
    const QString& text, const QString& title, QMessageBox::StandardButtons buttons,
    QMessageBox::StandardButton default_button = QMessageBox::NoButton) {
  // No parent: the boxes belong to the application, not to whichever window
  // happens to be active (a closing dialog would take its box with it).
  QMessageBox box(QMessageBox::NoIcon, title, text, buttons);
  if (default_button != QMessageBox::NoButton) box.setDefaultButton(default_button);
  KeepTitleVisible(box, title);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void BoxMessages::Inform(const QString& text, const QString& title) {
  Show(text, title, QMessageBox::Ok);
}

bool BoxMessages::AskYesNo(const QString& text, const QString& title) {
  return Show(text, title, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool BoxMessages::AskYesNoDefaultNo(const QString& text, const QString& title) {
  return Show(text, title, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void BoxMessages::Error(const QString& text) {
  QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok);
  KeepTitleVisible(box, box.windowTitle());
  box.exec();
}

std::optional<QString> BoxMessages::AskText(const QString& label, const QString& title) {
  bool ok = false;
  const QString text = QInputDialog::getMultiLineText(nullptr, title, label, QString(), &ok);
  if (!ok) return std::nullopt;
  return text;
}

int BoxMessages::Choose(const QString& text, const QString& title, const QStringList& choices) {
  QMessageBox box(QMessageBox::NoIcon, title, text);
  std::vector<QAbstractButton*> buttons;
  for (qsizetype i = 0; i < choices.size(); ++i) {
    const bool last = i + 1 == choices.size();
    QPushButton* button =
        box.addButton(choices[i], last ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
    if (last) {
      box.setDefaultButton(button);
      box.setEscapeButton(button);
    }
    buttons.push_back(button);
  }
  KeepTitleVisible(box, title);
  box.exec();
  const auto pressed = std::find(buttons.begin(), buttons.end(), box.clickedButton());
  if (pressed == buttons.end()) return static_cast<int>(choices.size()) - 1;
  return static_cast<int>(pressed - buttons.begin());
}

}  // namespace zelk
