// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The offscreen platform's one screen at a Windows scaling factor
// (ZELK_TEST_SCALE_PERCENT: 100, 125, 150 or 200), each on the smallest screen
// that factor is usually found on, less a task bar of 40 device-independent
// pixels:
//   100 %, 125 %: 1366 x 768 (the small laptop): 1366 x 728, 1093 x 574 logical
//   150 %:        1920 x 1080 (Windows' own choice for it is 125 %): 1280 x 680
//   200 %:        2560 x 1440 (a QHD laptop; a 1920 x 1080 screen is not
//                 offered 200 %): 1280 x 680
// Qt scales by logicalDpi / logicalBaseDpi, as Windows' per-monitor DPI does.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtGlobal>
#include <array>

namespace zelk::test {

struct ScaledScreen {
  int percent;
  int width;   // device pixels
  int height;  // device pixels, the task bar included
};

inline constexpr std::array<ScaledScreen, 4> kScaledScreens{{
    {100, 1366, 768},
    {125, 1366, 768},
    {150, 1920, 1080},
    {200, 2560, 1440},
}};

inline constexpr int kTaskBarLogical = 40;

inline ScaledScreen TestScreen() {
  const int percent = qEnvironmentVariableIntValue("ZELK_TEST_SCALE_PERCENT");
  for (const ScaledScreen& screen : kScaledScreens)
    if (screen.percent == percent) return screen;
  return kScaledScreens[0];
}

// The screen's area in device-independent pixels, less the task bar.
inline QSize AvailableLogical(const ScaledScreen& screen) {
  return {screen.width * 100 / screen.percent,
          (screen.height - kTaskBarLogical * screen.percent / 100) * 100 / screen.percent};
}

// The offscreen platform's configuration: as wide and tall as the area a
// maximised window gets, scaled by its logical DPI.
inline QByteArray ScreenConfiguration(const ScaledScreen& screen) {
  return QStringLiteral(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": %1,)"
                        R"( "height": %2, "logicalDpi": %3, "logicalBaseDpi": 96}]})")
      .arg(screen.width)
      .arg(screen.height - kTaskBarLogical * screen.percent / 100)
      .arg(96 * screen.percent / 100)
      .toUtf8();
}

// Points the offscreen platform at that screen; the file goes in `folder`.
inline bool UseTestScreen(const QString& folder) {
  const QString configuration = folder + QStringLiteral("/screen.json");
  QFile file(configuration);
  if (!file.open(QIODevice::WriteOnly) || file.write(ScreenConfiguration(TestScreen())) < 0)
    return false;
  file.close();
  qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + configuration).toLocal8Bit());
  return true;
}

}  // namespace zelk::test
