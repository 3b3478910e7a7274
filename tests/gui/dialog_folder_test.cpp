// SPDX-License-Identifier: GPL-3.0-or-later
// Where the file dialogs open: the last folder a file was chosen in, else
// Documents, else home; never an empty folder (the platform would take the
// working folder, the install folder when started from the Start menu).

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "app/dialog_folder.h"
#include "gui_test_main.h"

class DialogFolderTest : public QObject {
  Q_OBJECT

 private slots:
  void documents_then_the_last_folder_then_documents_again() {
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    zelk::SetDialogFolder({});
    QStringList kept;
    zelk::SetOnDialogFolderChosen([&kept](const QString& folder) { kept << folder; });

    // No Documents folder: home.
    QCOMPARE(zelk::DialogFolder(), QDir::homePath());
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("Documents")));
    QCOMPARE(zelk::DialogFolder(), home.filePath(QStringLiteral("Documents")));

    const QString customers = home.filePath(QStringLiteral("Clientes João"));
    QVERIFY(QDir().mkpath(customers));
    zelk::RememberDialogFolder(customers + QStringLiteral("/car.zelk"));
    zelk::RememberDialogFolder(customers + QStringLiteral("/other.zelk"));  // same folder
    QCOMPARE(zelk::DialogFolder(), customers);
    QCOMPARE(kept, QStringList{customers});
    zelk::RememberDialogFolder({});  // a cancelled dialog
    QCOMPARE(zelk::DialogFolder(), customers);

    // A remembered folder that is gone (a share not mounted): Documents.
    QVERIFY(QDir(customers).removeRecursively());
    QCOMPARE(zelk::DialogFolder(), home.filePath(QStringLiteral("Documents")));
    zelk::SetDialogFolder(home.filePath(QStringLiteral("nowhere")));
    QCOMPARE(zelk::DialogFolder(), home.filePath(QStringLiteral("Documents")));
    zelk::SetOnDialogFolderChosen({});
  }
};

ZELK_GUI_TEST_MAIN(DialogFolderTest)
#include "dialog_folder_test.moc"
