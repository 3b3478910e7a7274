// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Alt+letter must reach one thing only, in every language: a menu title that
// takes a button's letter would steal its accelerator, and two items of one
// menu with the same letter make the second unreachable.

#include <QAbstractButton>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>
#include <QWidget>
#include <map>

namespace zelk::test {

// The letter after '&' in a caption ("&Read " -> 'R'), or 0.
inline QChar Mnemonic(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == QLatin1Char('&')) {
      if (text[i + 1] != QLatin1Char('&')) return text[i + 1].toUpper();
      ++i;
    }
  }
  return {};
}

// Each collision as "caption and caption"; `claimed` counts the letters taken
// by the window's buttons and the menu bar's titles.
inline QStringList AcceleratorCollisions(QWidget& window, const QMenuBar* menu_bar,
                                         std::size_t* claimed = nullptr) {
  QStringList collisions;
  std::map<QChar, QString> owners;
  auto claim = [&](std::map<QChar, QString>& taken, const QString& caption) {
    const QChar letter = Mnemonic(caption);
    if (letter.isNull()) return;
    const auto [it, fresh] = taken.emplace(letter, caption);
    if (!fresh) collisions << caption + QStringLiteral(" and ") + it->second;
  };
  for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
    claim(owners, button->text());
  if (menu_bar != nullptr) {
    for (QAction* menu : menu_bar->actions()) claim(owners, menu->text());
    for (QMenu* menu : menu_bar->findChildren<QMenu*>()) {
      std::map<QChar, QString> items;
      for (QAction* item : menu->actions()) claim(items, item->text());
    }
  }
  if (claimed != nullptr) *claimed = owners.size();
  return collisions;
}

}  // namespace zelk::test
