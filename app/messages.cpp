#include "app/messages.h"

#include <QApplication>
#include <QMessageBox>

namespace zelk {

namespace {

QMessageBox::StandardButton Show(const QString& text, const QString& title,
                                 QMessageBox::StandardButtons buttons) {
  // No parent: the boxes belong to the application, not to whichever window
  // happens to be active (a closing dialog would take its box with it).
  QMessageBox box(QMessageBox::NoIcon, title, text, buttons);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void BoxMessages::Inform(const QString& text, const QString& title) {
  Show(text, title, QMessageBox::Ok);
}

bool BoxMessages::AskYesNo(const QString& text, const QString& title) {
  return Show(text, title, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void BoxMessages::Error(const QString& text) {
  QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok);
  box.exec();
}

}  // namespace zelk
