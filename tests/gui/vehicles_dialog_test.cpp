// SPDX-License-Identifier: GPL-3.0-or-later
// Vehicle > Vehicles... and the vehicle's form, on a vehicles' folder of the
// test's own: the list newest first, the search as it is typed (case and
// accents ignored), a damaged record listed but never edited or chosen, the
// form refusing what the store refuses (and keeping what was typed), New and
// Edit written to disk, Choose handing the identifier back once closed.

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "app/vehicle_edit_dialog.h"
#include "app/vehicles_dialog.h"
#include "gui_test_main.h"
#include "recorded_messages.h"
#include "records/vehicle_id.h"
#include "records/vehicle_store.h"

using zelk::test::Box;

namespace {

using namespace std::chrono;

// A vehicles' folder with a clock that moves an hour per vehicle added.
struct Garage {
  QTemporaryDir dir;
  system_clock::time_point now = sys_days{year{2026} / 12 / 9} + hours(10);
  std::filesystem::path root = std::filesystem::path(dir.path().toStdString()) / "vehicles";
  zelk::VehicleStore store{root, [this] { return now; }};
  zelk::test::RecordedMessages messages;

  void Add(const char* id, const char* name, const char* customer, const char* phone) {
    zelk::Vehicle vehicle;
    vehicle.id = id;
    vehicle.name = name;
    vehicle.customer = customer;
    vehicle.phone = phone;
    QVERIFY(store.Add(vehicle).entry.has_value());
    now += hours(1);
  }

  // Three vehicles, made at 10:00, 11:00 and 12:00 UTC.
  void AddThree() {
    Add("ABC-1D23", "Fiat Uno 1995 1.0", "José Silva", "11 99999-0000");
    Add("XYZ9A87", "Volkswagen Gol 2010 1.6", "Maria Souza", "21 98888-1111");
    Add("Trator do Sítio", "Massey Ferguson 265", "João Pereira", "");
  }

  int FolderCount() const {
    return static_cast<int>(QDir(QString::fromStdString(root.string()))
                                .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                                .size());
  }
};

QString LocalAt(int hour) {
  return QDateTime(QDate(2026, 12, 9), QTime(hour, 0), Qt::UTC)
      .toLocalTime()
      .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

template <typename T>
T* Child(QWidget* parent, const char* name) {
  T* child = parent->findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) qWarning("no %s", name);
  return child;
}

QTableWidget* Table(QWidget* dialog) {
  return Child<QTableWidget>(dialog, "vehicles");
}

QStringList Column(QWidget* dialog, int column) {
  QStringList texts;
  QTableWidget* table = Table(dialog);
  for (int row = 0; row < table->rowCount(); ++row) texts << table->item(row, column)->text();
  return texts;
}

QString SelectedPlate(QWidget* dialog) {
  const QList<QTableWidgetItem*> selected = Table(dialog)->selectedItems();
  return selected.isEmpty() ? QString() : Table(dialog)->item(selected.front()->row(), 0)->text();
}

void SelectRow(QWidget* dialog, int row) {
  Table(dialog)->selectRow(row);
}

bool CanEditAndChoose(QWidget* dialog) {
  const bool edit = Child<QPushButton>(dialog, "edit_vehicle")->isEnabled();
  const bool choose = Child<QPushButton>(dialog, "choose_vehicle")->isEnabled();
  if (edit != choose) qWarning("Edit and Choose disagree");
  return edit && choose;
}

// As a mouse does it: the press, then the double click a view acts on only
// where the press was (QTest's double click alone brings no press).
void DoubleClick(QTableWidget& table, int row) {
  const QPoint at = table.visualItemRect(table.item(row, 1)).center();
  QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, at);
}

// Runs `fill` on the vehicle's form once it is open (modal, in its own loop).
void WhenTheFormOpens(std::function<void(QDialog& form)> fill) {
  QTimer::singleShot(0, [fill = std::move(fill)] {
    auto* form = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (form == nullptr) {
      qWarning("no form open");
      return;
    }
    fill(*form);
  });
}

void PressOk(QDialog& form) {
  Child<QDialogButtonBox>(&form, "buttons")->button(QDialogButtonBox::Ok)->click();
}

QString IdRule() {
  return QCoreApplication::translate("Vehicles", zelk::kVehicleIdRule);
}

}  // namespace

class VehiclesDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void lists_newest_activity_first_with_every_column() {
    Garage garage;
    garage.AddThree();
    QDialog* dialog = zelk::MakeVehiclesDialog(nullptr, garage.store, garage.messages, {});
    QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
    QTableWidget* table = Table(dialog);
    QStringList headers;
    for (int column = 0; column < table->columnCount(); ++column)
      headers << table->horizontalHeaderItem(column)->text();
    QCOMPARE(headers,
             QStringList({"Plate or name", "Description", "Customer", "Phone", "Last activity"}));
    QCOMPARE(Column(dialog, 0), QStringList({"Trator do Sítio", "XYZ9A87", "ABC-1D23"}));
    QCOMPARE(Column(dialog, 1),
             QStringList({"Massey Ferguson 265", "Volkswagen Gol 2010 1.6", "Fiat Uno 1995 1.0"}));
    QCOMPARE(Column(dialog, 2), QStringList({"João Pereira", "Maria Souza", "José Silva"}));
    QCOMPARE(Column(dialog, 3), QStringList({"", "21 98888-1111", "11 99999-0000"}));
    QCOMPARE(Column(dialog, 4), QStringList({LocalAt(12), LocalAt(11), LocalAt(10)}));
    delete dialog;
  }

  void search_ignores_case_and_accents_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("plates");
    QTest::newRow("nothing: all") << QString()
                                  << QStringList({"Trator do Sítio", "XYZ9A87", "ABC-1D23"});
    QTest::newRow("plate, other case") << "abc-1d" << QStringList({"ABC-1D23"});
    QTest::newRow("plate, accent left out") << "SITIO" << QStringList({"Trator do Sítio"});
    QTest::newRow("description") << "gol 2010" << QStringList({"XYZ9A87"});
    QTest::newRow("customer, accent left out") << "jose" << QStringList({"ABC-1D23"});
    QTest::newRow("customer, accent typed on a capital")
        << "JOÃO" << QStringList({"Trator do Sítio"});
    QTest::newRow("in several, newest first")
        << "o" << QStringList({"Trator do Sítio", "XYZ9A87", "ABC-1D23"});
    QTest::newRow("the phone is not searched") << "98888" << QStringList();
    QTest::newRow("nowhere") << "zzz" << QStringList();
  }
  void search_ignores_case_and_accents() {
    QFETCH(QString, typed);
    QFETCH(QStringList, plates);
    Garage garage;
    garage.AddThree();
    QDialog* dialog = zelk::MakeVehiclesDialog(nullptr, garage.store, garage.messages, {});
    QTest::keyClicks(Child<QLineEdit>(dialog, "search"), typed);
    QCOMPARE(Column(dialog, 0), plates);
    // The first match is selected, so Enter chooses it.
    QCOMPARE(SelectedPlate(dialog), plates.isEmpty() ? QString() : plates.front());
    QCOMPARE(CanEditAndChoose(dialog), !plates.isEmpty());
    delete dialog;
  }

  void search_narrows_and_widens_key_by_key() {
    Garage garage;
    garage.AddThree();
    QDialog* dialog = zelk::MakeVehiclesDialog(nullptr, garage.store, garage.messages, {});
    auto* search = Child<QLineEdit>(dialog, "search");
    QTest::keyClick(search, Qt::Key_M);
    QCOMPARE(Column(dialog, 0), QStringList({"Trator do Sítio", "XYZ9A87"}));  // Massey, Maria
    QTest::keyClick(search, Qt::Key_A);
    QCOMPARE(Column(dialog, 0), QStringList({"Trator do Sítio", "XYZ9A87"}));
    QTest::keyClick(search, Qt::Key_R);
    QCOMPARE(Column(dialog, 0), QStringList({"XYZ9A87"}));
    QTest::keyClick(search, Qt::Key_Backspace);
    QCOMPARE(Column(dialog, 0), QStringList({"Trator do Sítio", "XYZ9A87"}));
    // The vehicle selected stays selected while it is still shown.
    SelectRow(dialog, 1);
    QTest::keyClick(search, Qt::Key_Backspace);
    QCOMPARE(SelectedPlate(dialog), QStringLiteral("XYZ9A87"));
    QTest::keyClick(search, Qt::Key_Backspace);
    QCOMPARE(Column(dialog, 0).size(), 3);
    QCOMPARE(SelectedPlate(dialog), QStringLiteral("XYZ9A87"));
    delete dialog;
  }

  void a_damaged_vehicle_is_listed_marked_and_cannot_be_used() {
    Garage garage;
    garage.AddThree();
    const std::filesystem::path broken = garage.root / "broken-folder";
    std::filesystem::create_directories(broken);
    QFile file(QString::fromStdString((broken / "vehicle.json").string()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("{\"id\": ");
    file.close();
    int chosen = 0;
    QPointer<QDialog> dialog = zelk::MakeVehiclesDialog(
        nullptr, garage.store, garage.messages, [&chosen](const std::string&) { ++chosen; });
    dialog->show();
    QCOMPARE(Column(dialog, 0).size(), 4);
    const int row = static_cast<int>(Column(dialog, 0).indexOf(QStringLiteral("broken-folder")));
    QVERIFY(row >= 0);
    QVERIFY2(Column(dialog, 1)[row].startsWith(QStringLiteral("Damaged: ")),
             qPrintable(Column(dialog, 1)[row]));
    QVERIFY(Column(dialog, 1)[row].size() > QStringLiteral("Damaged: ").size());
    SelectRow(dialog, row);
    QVERIFY(!CanEditAndChoose(dialog));
    // Neither a double click nor Enter chooses it.
    QTableWidget* table = Table(dialog);
    DoubleClick(*table, row);
    QTest::keyClick(dialog, Qt::Key_Return);
    QCOMPARE(chosen, 0);
    QVERIFY(dialog->isVisible());
    // It has no text to search: a search leaves it out.
    QTest::keyClicks(Child<QLineEdit>(dialog, "search"), QStringLiteral("broken"));
    QCOMPARE(Column(dialog, 0), QStringList());
    Child<QLineEdit>(dialog, "search")->clear();
    SelectRow(dialog, row == 0 ? 1 : 0);
    QVERIFY(CanEditAndChoose(dialog));
    delete dialog;
  }

  // The form itself, OK pressed on what was typed: a refusal is told once,
  // the form stays open with the text, and no folder is left behind.
  void the_form_refuses_what_the_store_refuses_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const QString rule = IdRule();
    QTest::newRow("dot dot") << ".." << rule;
    QTest::newRow("33 characters") << QString(33, QLatin1Char('a')) << rule;
    QTest::newRow("a slash") << "a/b" << rule;
    QTest::newRow("only spaces") << "   " << rule;
    QTest::newRow("exists, other case and accents")
        << "trator do sitio"
        << "A vehicle trator do sitio is already recorded.";
    QTest::newRow("exists, spaces around") << " XYZ9a87 "
                                           << "A vehicle XYZ9a87 is already recorded.";
  }
  void the_form_refuses_what_the_store_refuses() {
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Garage garage;
    garage.AddThree();
    zelk::VehicleEditDialog form(nullptr, garage.store, garage.messages, nullptr);
    form.show();
    Child<QLineEdit>(&form, "plate")->setText(typed);
    Child<QLineEdit>(&form, "customer")->setText(QStringLiteral("Someone Else"));
    PressOk(form);
    QCOMPARE(garage.messages.Texts(), QStringList({message}));
    QCOMPARE(garage.messages.boxes.front().kind, Box::inform);
    QVERIFY(form.isVisible());
    QVERIFY(!form.saved().has_value());
    QCOMPARE(Child<QLineEdit>(&form, "plate")->text(), typed);
    QCOMPARE(Child<QLineEdit>(&form, "customer")->text(), QStringLiteral("Someone Else"));
    QCOMPARE(garage.FolderCount(), 3);
    // The vehicle it clashed with is as it was.
    QCOMPARE(garage.store.Find("Trator do Sítio")->vehicle->customer, std::string("João Pereira"));
    QCOMPARE(garage.store.Find("XYZ9A87")->vehicle->customer, std::string("Maria Souza"));
  }

  void a_failed_write_is_told_with_the_systems_reason() {
    Garage garage;
    QFile in_the_way(QString::fromStdString(garage.root.string()));
    QVERIFY(in_the_way.open(QIODevice::WriteOnly));  // a file where the folder would be
    in_the_way.close();
    zelk::VehicleEditDialog form(nullptr, garage.store, garage.messages, nullptr);
    form.show();
    Child<QLineEdit>(&form, "plate")->setText(QStringLiteral("ABC-1D23"));
    PressOk(form);
    QCOMPARE(garage.messages.boxes.size(), std::size_t{1});
    const QString text = garage.messages.boxes.front().text;
    QVERIFY2(text.startsWith(QStringLiteral("The vehicle could not be saved: ")), qPrintable(text));
    QVERIFY(text.size() > QStringLiteral("The vehicle could not be saved: ").size());
    QVERIFY(form.isVisible());
    QVERIFY(QFileInfo(QString::fromStdString(garage.root.string())).isFile());
  }

  void editing_a_vehicle_gone_meanwhile_is_told() {
    Garage garage;
    garage.AddThree();
    const zelk::Vehicle vehicle = *garage.store.Find("XYZ9A87")->vehicle;
    zelk::VehicleEditDialog form(nullptr, garage.store, garage.messages, &vehicle);
    form.show();
    QVERIFY(Child<QLineEdit>(&form, "plate")->isReadOnly());
    QCOMPARE(Child<QLineEdit>(&form, "customer")->text(), QStringLiteral("Maria Souza"));
    std::filesystem::remove_all(garage.store.Find("XYZ9A87")->folder);
    PressOk(form);
    QCOMPARE(garage.messages.Texts(), QStringList({"The vehicle XYZ9A87 is no longer recorded."}));
    QVERIFY(form.isVisible());
    QCOMPARE(garage.FolderCount(), 2);
  }

  // Through the list: a refused identifier keeps the form open in its own
  // loop; Cancel then leaves the list as it was.
  void new_refused_then_cancelled_from_the_list() {
    Garage garage;
    garage.AddThree();
    QDialog* dialog = zelk::MakeVehiclesDialog(nullptr, garage.store, garage.messages, {});
    dialog->show();
    bool open_after_refusal = false;
    WhenTheFormOpens([&open_after_refusal](QDialog& form) {
      Child<QLineEdit>(&form, "plate")->setText(QStringLiteral("a/b"));
      PressOk(form);
      open_after_refusal = form.isVisible();
      form.reject();
    });
    Child<QPushButton>(dialog, "new_vehicle")->click();
    QVERIFY(open_after_refusal);
    QCOMPARE(garage.messages.Texts(), QStringList({IdRule()}));
    QCOMPARE(garage.FolderCount(), 3);
    QCOMPARE(Column(dialog, 0).size(), 3);
    delete dialog;
  }

  void a_new_vehicle_is_listed_selected_and_the_search_cleared() {
    Garage garage;
    garage.AddThree();
    QDialog* dialog = zelk::MakeVehiclesDialog(nullptr, garage.store, garage.messages, {});
    dialog->show();
    QTest::keyClicks(Child<QLineEdit>(dialog, "search"), QStringLiteral("gol"));
    WhenTheFormOpens([](QDialog& form) {
      Child<QLineEdit>(&form, "plate")->setText(QStringLiteral("  QRS-4T56 "));
      Child<QLineEdit>(&form, "description")->setText(QStringLiteral("Honda Civic 2015 2.0"));
      Child<QLineEdit>(&form, "customer")->setText(QStringLiteral("Ana Lima"));
      Child<QPlainTextEdit>(&form, "notes")->setPlainText(QStringLiteral("Gas leak\nat idle"));
      PressOk(form);
    });
    Child<QPushButton>(dialog, "new_vehicle")->click();
    QCOMPARE(garage.messages.Texts(), QStringList());
    QCOMPARE(Child<QLineEdit>(dialog, "search")->text(), QString());
    QCOMPARE(Column(dialog, 0),
             QStringList({"QRS-4T56", "Trator do Sítio", "XYZ9A87", "ABC-1D23"}));
    QCOMPARE(SelectedPlate(dialog), QStringLiteral("QRS-4T56"));
    const std::optional<zelk::VehicleEntry> stored = garage.store.Find("qrs-4t56");
    QVERIFY(stored && stored->vehicle);
    QCOMPARE(stored->vehicle->name, std::string("Honda Civic 2015 2.0"));
    QCOMPARE(stored->vehicle->customer, std::string("Ana Lima"));
    QCOMPARE(stored->vehicle->notes, std::string("Gas leak\nat idle"));
    delete dialog;
  }

  void edit_changes_the_record_on_disk() {
    Garage garage;
    garage.AddThree();
    QDialog* dialog = zelk::MakeVehiclesDialog(nullptr, garage.store, garage.messages, {});
    dialog->show();
    QTest::keyClicks(Child<QLineEdit>(dialog, "search"), QStringLiteral("abc"));
    bool plate_read_only = false;
    QString plate_shown;
    WhenTheFormOpens([&](QDialog& form) {
      auto* plate = Child<QLineEdit>(&form, "plate");
      plate_read_only = plate->isReadOnly();
      plate_shown = plate->text();
      Child<QLineEdit>(&form, "customer")->setText(QStringLiteral("Pedro Álvares"));
      PressOk(form);
    });
    Child<QPushButton>(dialog, "edit_vehicle")->click();
    QVERIFY(plate_read_only);
    QCOMPARE(plate_shown, QStringLiteral("ABC-1D23"));
    QCOMPARE(garage.messages.Texts(), QStringList());
    const zelk::Vehicle stored = *garage.store.Find("ABC-1D23")->vehicle;
    QCOMPARE(stored.customer, std::string("Pedro Álvares"));
    QCOMPARE(stored.name, std::string("Fiat Uno 1995 1.0"));
    QCOMPARE(stored.phone, std::string("11 99999-0000"));
    QCOMPARE(stored.created_at, std::string("2026-12-09T10:00:00Z"));
    // The list is taken again: the search kept, the new customer shown.
    QCOMPARE(Column(dialog, 2), QStringList({"Pedro Álvares"}));
    QCOMPARE(SelectedPlate(dialog), QStringLiteral("ABC-1D23"));
    delete dialog;
  }

  void choose_closes_then_hands_back_the_id_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("button") << "button";
    QTest::newRow("double click") << "double click";
    QTest::newRow("Enter in the search") << "enter";
  }
  void choose_closes_then_hands_back_the_id() {
    QFETCH(QString, how);
    Garage garage;
    garage.AddThree();
    std::vector<std::string> chosen;
    QPointer<QDialog> dialog;
    bool open_when_chosen = true;
    dialog = zelk::MakeVehiclesDialog(nullptr, garage.store, garage.messages,
                                      [&](const std::string& id) {
                                        chosen.push_back(id);
                                        open_when_chosen = dialog && dialog->isVisible();
                                      });
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QTest::keyClicks(Child<QLineEdit>(dialog, "search"), QStringLiteral("gol"));
    QTableWidget* table = Table(dialog);
    if (how == "button") {
      Child<QPushButton>(dialog, "choose_vehicle")->click();
    } else if (how == "double click") {
      DoubleClick(*table, 0);
    } else {
      QTest::keyClick(Child<QLineEdit>(dialog, "search"), Qt::Key_Return);
    }
    QCOMPARE(chosen, std::vector<std::string>({"XYZ9A87"}));
    QVERIFY(!open_when_chosen);
    QTRY_VERIFY(dialog.isNull());  // deleted once closed
  }
};

ZELK_GUI_TEST_MAIN(VehiclesDialogTest)
#include "vehicles_dialog_test.moc"
