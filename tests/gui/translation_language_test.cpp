// SPDX-License-Identifier: GPL-3.0-or-later
// The language of the windows. In English every designed caption is the
// form's own text to the character; in Portuguese each is the translation of
// that text, and composed messages of the plain C++ code come back translated
// part by part. A translator once installed stays for the life of the
// process, so this file is built twice, once per language, each process
// choosing its language before any window exists, as the program does. The
// English build also holds the checks that need no language: --lang and the
// locale.

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

#include "app/chart_window.h"
#include "app/commissioning_wizard.h"
#include "app/guide_window.h"
#include "app/log_review_window.h"
#include "app/translation.h"
#include "app/vehicle_edit_dialog.h"
#include "app/workshop_dialog.h"
#include "gui_test_main.h"
#include "records/vehicle_store.h"
#include "settings/settings_table.h"
#include "windows_fixture.h"

#ifndef ZELK_TEST_PORTUGUESE
#error "build with ZELK_TEST_PORTUGUESE 0 (English) or 1 (Portuguese)"
#endif

using zelk::Language;
using zelk::test::Windows;

Q_DECLARE_METATYPE(zelk::Language)
Q_DECLARE_METATYPE(std::optional<zelk::Language>)

namespace {

// One translatable text of a designed form: what uic puts in the widget, and
// translates under the form's class name.
struct UiText {
  QString form;  // the .ui's class: the translation context
  QString object;
  QString property;  // text, title, windowTitle or toolTip
  QString text;
};

bool IsCaption(QStringView property) {
  return property == u"text" || property == u"title" || property == u"windowTitle" ||
         property == u"toolTip";
}

// The translatable texts of every widget of ui/*.ui.
std::vector<UiText> ReadUiTexts() {
  std::vector<UiText> texts;
  const QDir dir(QStringLiteral(ZELK_UI_DIR));
  for (const QString& name : dir.entryList({QStringLiteral("*.ui")}, QDir::Files, QDir::Name)) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(file.fileName()));
    QXmlStreamReader xml(&file);
    QString form;
    QStringList widgets;   // the widgets the reader is inside, innermost last
    QStringList elements;  // every open element, innermost last
    QString property;      // a caption property of the innermost widget, while inside it
    while (!xml.atEnd()) {
      const QXmlStreamReader::TokenType token = xml.readNext();
      if (token == QXmlStreamReader::EndElement) {
        if (xml.name() == u"widget") widgets.removeLast();
        if (xml.name() == u"property") property.clear();
        elements.removeLast();
        continue;
      }
      if (token != QXmlStreamReader::StartElement) continue;
      const QStringView element = xml.name();
      const QString parent = elements.isEmpty() ? QString() : elements.last();
      if (element == u"class" && parent == u"ui") {
        form = xml.readElementText();
        continue;  // readElementText consumed the end tag
      }
      if (element == u"string" && !property.isEmpty() && parent == u"property") {
        const bool translatable = xml.attributes().value(QLatin1String("notr")) != u"true";
        const QString text = xml.readElementText();
        if (translatable && !text.isEmpty())
          texts.push_back({form, widgets.last(), property, text});
        continue;
      }
      elements << element.toString();
      if (element == u"widget") widgets << xml.attributes().value(QLatin1String("name")).toString();
      if (element == u"property" && parent == u"widget" &&
          IsCaption(xml.attributes().value(QLatin1String("name"))))
        property = xml.attributes().value(QLatin1String("name")).toString();
    }
    if (xml.hasError()) qFatal("%s: %s", qPrintable(name), qPrintable(xml.errorString()));
  }
  return texts;
}

// The widget named `object` of the window `form`, not of a window it owns.
QWidget* FindIn(QWidget& form, const QString& object) {
  if (form.objectName() == object) return &form;
  for (QWidget* widget : form.findChildren<QWidget*>(object)) {
    if (widget->window() == &form) return widget;
  }
  return nullptr;
}

// What the live widget shows for a caption property; nullopt for the
// properties that hold values the program sets (an edit's text).
std::optional<QString> Shown(const QWidget& widget, const QString& property) {
  if (property == u"windowTitle") return widget.windowTitle();
  if (property == u"toolTip") return widget.toolTip();
  if (property == u"title") {
    if (auto* box = qobject_cast<const QGroupBox*>(&widget)) return box->title();
    return std::nullopt;
  }
  if (qobject_cast<const QLabel*>(&widget) || qobject_cast<const QAbstractButton*>(&widget))
    return widget.property("text").toString();
  return std::nullopt;
}

// Every window with a designed form, open as the program opens them. The
// file dialogs need a read first, which can change what the main window
// shows, so the start-up windows are looked at before it.
class OpenForms {
 public:
  OpenForms() {
    w.MainForm.ShowLiveChart();
    w.MainForm.ShowUserGuide();
    w.MainForm.ShowVehicles();
    auto* vehicle_form = new zelk::VehicleEditDialog(
        &w.MainForm, zelk::VehicleStore(std::filesystem::path(dir_.path().toStdU16String())),
        w.messages, nullptr);
    vehicle_form->setAttribute(Qt::WA_DeleteOnClose);
    // Before a log is opened: its title is then the log's.
    auto* log_review = new zelk::LogReviewWindow(w.messages, &w.MainForm);
    log_review->setAttribute(Qt::WA_DeleteOnClose);
    zelk::CommissioningWizard* wizard = w.MainForm.MakeCommissioningWizard().release();
    wizard->setAttribute(Qt::WA_DeleteOnClose);
    auto* workshop = new zelk::WorkshopDialog({}, &w.MainForm);
    workshop->setAttribute(Qt::WA_DeleteOnClose);
    forms_ = {{QStringLiteral("MainForm"), &w.MainForm},
              {QStringLiteral("Form2"), &w.Form2},
              {QStringLiteral("ProgramForm"), &w.ProgramForm},
              {QStringLiteral("ProgramZelkForm"), &w.ProgramZelkForm},
              {QStringLiteral("ChartWindow"), w.MainForm.chart_window()},
              {QStringLiteral("GuideWindow"), w.MainForm.guide_window()},
              {QStringLiteral("VehiclesDialog"), w.MainForm.vehicles_dialog()},
              {QStringLiteral("VehicleEditDialog"), vehicle_form},
              {QStringLiteral("LogReviewWindow"), log_review},
              {QStringLiteral("CommissioningWizard"), wizard},
              {QStringLiteral("WorkshopDialog"), workshop}};
  }
  ~OpenForms() {
    for (const auto& [name, form] : forms_)
      if (form != nullptr) form->close();
  }

  void OpenFileDialogs() {
    w.OpenFileDialogs(dir_.filePath(QStringLiteral("settings.zelk")));
    forms_[QStringLiteral("CompareDialog")] = w.MainForm.compare_dialog();
    forms_[QStringLiteral("RestorePointsDialog")] = w.MainForm.restore_points_dialog();
  }

  QWidget* Form(const QString& name) const {
    const auto it = forms_.find(name);
    return it == forms_.end() ? nullptr : it->second;
  }

  QTemporaryDir dir_;
  Windows w;

 private:
  std::map<QString, QWidget*> forms_;
};

// Each caption of every form against `expected` of its .ui text; the
// differences, all of them, one a line. `checked` counts what was compared.
template <typename Expected>
QStringList Differences(const std::vector<UiText>& texts, Expected expected, int& checked) {
  QStringList differences;
  OpenForms open;
  for (bool after_read : {false, true}) {
    if (after_read) open.OpenFileDialogs();
    for (const UiText& ui : texts) {
      QWidget* form = open.Form(ui.form);
      const bool file_dialog = ui.form == u"CompareDialog" || ui.form == u"RestorePointsDialog";
      if (file_dialog != after_read) continue;
      QWidget* widget = form ? FindIn(*form, ui.object) : nullptr;
      if (widget == nullptr) {
        differences << QStringLiteral("%1 / %2: no such widget").arg(ui.form, ui.object);
        continue;
      }
      const std::optional<QString> shown = Shown(*widget, ui.property);
      if (!shown) continue;
      ++checked;
      const QString wanted = expected(ui);
      if (*shown != wanted) {
        differences << QStringLiteral("%1 / %2 %3: shows \"%4\", should be \"%5\"")
                           .arg(ui.form, ui.object, ui.property, *shown, wanted);
      }
    }
  }
  return differences;
}

}  // namespace

// QtTest cuts a failure's text at 1 kB; the list goes out whole before it.
#define FAIL_LISTING(differences)                                                         \
  do {                                                                                    \
    if (!(differences).isEmpty()) {                                                       \
      qWarning().noquote() << (differences).join(u'\n');                                  \
      QFAIL(qPrintable(                                                                   \
          QStringLiteral("%1 captions differ, listed above").arg((differences).size()))); \
    }                                                                                     \
  } while (false)

class EnglishTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { zelk::UseLanguage(Language::english); }

  void everyCaptionIsTheFormsOwnText() {
    const std::vector<UiText> texts = ReadUiTexts();
    int checked = 0;
    const QStringList differences = Differences(
        texts, [](const UiText& ui) { return ui.text; }, checked);
    FAIL_LISTING(differences);
    QVERIFY2(checked > 100, qPrintable(QString::number(checked)));
  }

  void composedMessagesStayEnglish() {
    const std::string message =
        zelk::NotASettingValueMessage(zelk::kSettings[zelk::kTempCorr], "abc", true);
    QCOMPARE(zelk::TranslatedMessage(message),
             QStringLiteral("Min. Temperature: 'abc' is not a valid integer value"));
  }

  void languageNamed_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<std::optional<Language>>("language");
    const std::optional<Language> none;
    QTest::newRow("en") << "en" << std::optional(Language::english);
    QTest::newRow("pt_BR") << "pt_BR" << std::optional(Language::portuguese);
    QTest::newRow("pt") << "pt" << std::optional(Language::portuguese);
    // Only those three: not another spelling, not another Portuguese.
    QTest::newRow("empty") << "" << none;
    QTest::newRow("fr") << "fr" << none;
    QTest::newRow("EN") << "EN" << none;
    QTest::newRow("PT_br") << "PT_br" << none;
    QTest::newRow("pt-BR") << "pt-BR" << none;
    QTest::newRow("pt_PT") << "pt_PT" << none;
    QTest::newRow("en_US") << "en_US" << none;
    QTest::newRow("blank after") << "pt " << none;
  }
  void languageNamed() {
    QFETCH(QString, name);
    QFETCH(std::optional<Language>, language);
    QCOMPARE(zelk::LanguageNamed(name), language);
  }

  void languageOfLocale_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<Language>("language");
    QTest::newRow("pt_BR") << QLocale(QStringLiteral("pt_BR")) << Language::portuguese;
    QTest::newRow("pt_PT") << QLocale(QStringLiteral("pt_PT")) << Language::portuguese;
    QTest::newRow("en_US") << QLocale(QStringLiteral("en_US")) << Language::english;
    QTest::newRow("de_DE") << QLocale(QStringLiteral("de_DE")) << Language::english;
    QTest::newRow("C") << QLocale::c() << Language::english;
  }
  void languageOfLocale() {
    QFETCH(QLocale, locale);
    QFETCH(Language, language);
    QCOMPARE(zelk::LanguageOfLocale(locale), language);
  }

  void theProgramRefusesAnUnknownLanguage_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("value");
    QTest::newRow("xx") << QStringList{QStringLiteral("--lang"), QStringLiteral("xx")} << "xx";
    QTest::newRow("PT_br") << QStringList{QStringLiteral("--lang=PT_br")} << "PT_br";
    QTest::newRow("empty") << QStringList{QStringLiteral("--lang=")} << "";
  }
  void theProgramRefusesAnUnknownLanguage() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, value);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(ZELK_PROGRAM_PATH), arguments);
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
    // A guard against a window left waiting, not a measure of speed.
    if (!program.waitForFinished(120000)) {
      program.kill();
      program.waitForFinished();
      QFAIL("the program did not stop: it must not start with an unknown language");
    }
    const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 2);
    QVERIFY2(errors.contains(QStringLiteral("--lang")), qPrintable(errors));
    QVERIFY2(errors.contains(QStringLiteral("--lang ") + value + u':'), qPrintable(errors));
    QVERIFY2(program.readAllStandardOutput().isEmpty(), "nothing on the standard output");
  }
};

class PortugueseTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { zelk::UseLanguage(Language::portuguese); }

  void everyCaptionIsTheTranslationOfTheFormsText() {
    const std::vector<UiText> texts = ReadUiTexts();
    int checked = 0;
    const QStringList differences = Differences(
        texts,
        [](const UiText& ui) {
          return QCoreApplication::translate(ui.form.toUtf8().constData(),
                                             ui.text.toUtf8().constData());
        },
        checked);
    FAIL_LISTING(differences);
    QVERIFY2(checked > 100, qPrintable(QString::number(checked)));
  }

  // Texts with a translation of their own, so a missing one shows here.
  void chosenCaptionsAreNotEnglish_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("property");
    const struct {
      const char* form;
      const char* object;
      const char* property;
    } rows[] = {
        {"MainForm", "prog", "text"},
        {"MainForm", "ler", "text"},
        {"MainForm", "gravar", "text"},
        {"MainForm", "sair", "text"},
        {"MainForm", "partida_frio", "title"},
        {"MainForm", "aquecimento", "title"},
        {"MainForm", "correcao", "title"},
        {"MainForm", "GroupBox1", "title"},
        {"MainForm", "val_atuais", "title"},
        {"MainForm", "botoes", "title"},
        {"MainForm", "heat_en", "text"},
        {"MainForm", "Label31", "text"},
        {"Form2", "Form2", "windowTitle"},
        {"Form2", "button_Cancel", "text"},
        {"ProgramForm", "prog_type", "title"},
        {"ProgramForm", "prog_type_0", "text"},
        {"ProgramZelkForm", "mensagem2", "text"},
        {"ChartWindow", "ChartWindow", "windowTitle"},
        {"ChartWindow", "export_png", "text"},
        {"GuideWindow", "GuideWindow", "windowTitle"},
        {"CompareDialog", "CompareDialog", "windowTitle"},
        {"RestorePointsDialog", "RestorePointsDialog", "windowTitle"},
    };
    for (const auto& row : rows) {
      QTest::addRow("%s %s", row.form, row.object) << row.form << row.object << row.property;
    }
  }
  void chosenCaptionsAreNotEnglish() {
    QFETCH(QString, form);
    QFETCH(QString, object);
    QFETCH(QString, property);
    const std::vector<UiText> texts = ReadUiTexts();
    const auto ui = std::find_if(texts.begin(), texts.end(), [&](const UiText& t) {
      return t.form == form && t.object == object && t.property == property;
    });
    QVERIFY2(ui != texts.end(), "not in the forms");
    // The shown text is the translation (everyCaptionIsTheTranslationOfTheFormsText).
    const QString shown =
        QCoreApplication::translate(form.toUtf8().constData(), ui->text.toUtf8().constData());
    QVERIFY2(shown != ui->text, qPrintable(shown));
  }

  void theWindowsShowTheTranslation() {
    Windows w;
    const QString read = w.MainForm.findChild<QAbstractButton*>(QStringLiteral("ler"))->text();
    QVERIFY2(read != QStringLiteral("&Read "), qPrintable(read));
    QCOMPARE(read, QCoreApplication::translate("MainForm", "&Read "));
  }

  // A message made of parts is translated by its format, each part in turn.
  void composedMessagesAreTranslatedPartByPart() {
    const zelk::SettingRow& row = zelk::kSettings[zelk::kTempCorr];
    const std::string message = zelk::NotASettingValueMessage(row, "abc", true);
    const QString english = QString::fromStdString(message);
    QCOMPARE(english, QStringLiteral("Min. Temperature: 'abc' is not a valid integer value"));
    const QString caption = QCoreApplication::translate("Settings", "Min. Temperature");
    const QString problem =
        QCoreApplication::translate("Settings", "'%1' is not a valid integer value")
            .arg(QStringLiteral("abc"));
    QVERIFY2(caption != QStringLiteral("Min. Temperature"), qPrintable(caption));
    QVERIFY2(!problem.contains(QStringLiteral("is not a valid")), qPrintable(problem));
    const QString translated = zelk::TranslatedMessage(message);
    QCOMPARE(translated, QCoreApplication::translate("Settings", "%1: %2").arg(caption, problem));
    QVERIFY(translated.contains(QStringLiteral("'abc'")));
    // Words nobody translated come back as they are.
    QCOMPARE(zelk::TranslatedMessage("no such message: abc"),
             QStringLiteral("no such message: abc"));
  }
};

#if ZELK_TEST_PORTUGUESE
ZELK_GUI_TEST_MAIN(PortugueseTest)
#else
ZELK_GUI_TEST_MAIN(EnglishTest)
#endif
#include "translation_language_test.moc"
