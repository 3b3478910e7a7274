// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fonts.h"

#include <QFile>
#include <QFontDatabase>

namespace zelk {

void LoadWindowFonts() {
  for (const char* path :
       {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
    if (QFile::exists(QString::fromLatin1(path))) {
      QFontDatabase::addApplicationFont(QString::fromLatin1(path));
    }
  }
}

}  // namespace zelk
