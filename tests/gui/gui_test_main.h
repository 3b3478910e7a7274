// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Window tests run inside the program's own Application, so an exception
// that escapes a handler takes the same road as in the program. Restore
// points go to a folder of the test's own, removed when it ends.

#include <QTemporaryDir>
#include <QtTest>

#include "app/application.h"

#define ZELK_GUI_TEST_MAIN(TestClass)                           \
  int main(int argc, char** argv) {                             \
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen")); \
    QTemporaryDir data_dir;                                     \
    qputenv("ZELK_DATA_DIR", data_dir.path().toLocal8Bit());    \
    zelk::Application app(argc, argv);                          \
    app.setApplicationName(QStringLiteral("Programable Zelk")); \
    TestClass test;                                             \
    return QTest::qExec(&test, argc, argv);                     \
  }
