// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/guide_window.h"

#include <QCoreApplication>
#include <QFile>
#include <string>

#include "app/qt_text.h"
#include "app/window_placement.h"
#include "settings/settings_guide.h"
#include "ui_GuideWindow.h"

// The guide lives in a static library, whose resources the linker drops
// unless something refers to them.
static void InitGuideResources() {
  Q_INIT_RESOURCE(guide);
}

namespace zelk {

GuideWindow::GuideWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), ui_(std::make_unique<Ui::GuideWindow>()) {
  ui_->setupUi(this);
  ui_->guide_text->setMarkdown(Markdown());
  // Over the window that opens it, as large as designed where the screen has room.
  FitOnScreen(*this, parent != nullptr ? parent->pos() : QPoint());
}

GuideWindow::~GuideWindow() = default;

namespace {

// The guide in the reader's language is a file of its own, named by its
// translation; a name that is not shipped falls back to the English guide.
QByteArray ShippedGuide() {
  const QString english = QStringLiteral("user-guide.md");
  const QString named = QCoreApplication::translate("Guide", "user-guide.md");
  for (const QString& name : {named, english}) {
    QFile file(QStringLiteral(":/guide/") + name);
    if (file.open(QIODevice::ReadOnly)) return file.readAll();
  }
  return {};
}

std::string TranslatedTableText(std::string_view context, std::string_view english) {
  // translate() takes NUL-terminated texts.
  const std::string context_text(context);
  const std::string english_text(english);
  return QCoreApplication::translate(context_text.c_str(), english_text.c_str())
      .toUtf8()
      .toStdString();
}

}  // namespace

QString GuideWindow::Markdown(GuideSystem system) {
  InitGuideResources();
  const QByteArray shipped = ShippedGuide();
  const std::string filled = WithGuideTables(
      GuideForSystem(
          std::string_view(shipped.constData(), static_cast<std::size_t>(shipped.size())), system),
      TranslatedTableText);
  return ToQString(filled);
}

QTextBrowser& GuideWindow::text() {
  return *ui_->guide_text;
}

}  // namespace zelk
