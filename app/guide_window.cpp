// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/guide_window.h"

#include <QFile>

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
}

GuideWindow::~GuideWindow() = default;

QString GuideWindow::Markdown() {
  InitGuideResources();
  QFile file(QStringLiteral(":/guide/user-guide.md"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray shipped = file.readAll();
  const std::string filled = WithGuideTables(std::string_view(shipped.constData(), shipped.size()));
  return QString::fromUtf8(filled.data(), static_cast<qsizetype>(filled.size()));
}

QTextBrowser& GuideWindow::text() {
  return *ui_->guide_text;
}

}  // namespace zelk
