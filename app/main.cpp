// SPDX-License-Identifier: GPL-3.0-or-later
// Programable Zelk: start-up. Creates the four windows in their fixed order,
// shows the main window and runs the message loop.

#include <QCommandLineParser>
#include <QLocale>
#include <QSettings>
#include <array>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/Porta_serial.h"
#include "app/application.h"
#include "app/busy_cursor.h"
#include "app/command_line_help.h"
#include "app/dialog_folder.h"
#include "app/fonts.h"
#include "app/group_box_frame_style.h"
#include "app/log_review_window.h"
#include "app/messages.h"
#include "app/qt_text.h"
#include "app/translation.h"
#include "app/windows.h"
#include "link/port_list.h"
#include "session/data_folder.h"
#include "session/program_version.h"
#include "session/session.h"

namespace {

// The last --port value as the bytes given. The parser hands back decoded
// text, and a path that is not valid UTF-8 would not survive the round trip.
std::string RawPortArgument(int argc, char** argv) {
  std::string value;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--") break;
    if (arg == "--port" && i + 1 < argc) {
      value = argv[++i];
    } else if (arg.starts_with("--port=")) {
      value = arg.substr(7);
    }
  }
  return value;
}

struct StartOptions {
  bool help_shown = false;  // --help: nothing more to do
  std::string preferred_port;
  QString log;  // opened for review at start when given
  zelk::Language language = zelk::Language::english;
};

// `--port NAME` puts NAME at the top of the port list and selects it; without
// it the program starts exactly as it always does. `--lang` overrides the
// language of the system's locale. `--log FILE` opens a log for review.
std::optional<StartOptions> ReadStartOptions(const zelk::Application& app,
                                             [[maybe_unused]] zelk::Messages& messages, int argc,
                                             char** argv) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral("Configurator for the Zelk flex-fuel module"));
  const QCommandLineOption help = parser.addHelpOption();
  parser.addVersionOption();
  QCommandLineOption port(QStringLiteral("port"),
                          QStringLiteral("Serial port to offer first in the COM port dialog."),
                          QStringLiteral("NAME"));
  QCommandLineOption lang(QStringLiteral("lang"),
                          QStringLiteral("Language of the windows: en or pt_BR (default: the "
                                         "system's; Portuguese for pt, English otherwise)."),
                          QStringLiteral("LANGUAGE"));
  QCommandLineOption log(QStringLiteral("log"),
                         QStringLiteral("A log (CSV) of this program, opened for review at start."),
                         QStringLiteral("FILE"));
  parser.addOption(port);
  parser.addOption(lang);
  parser.addOption(log);
  StartOptions options;
  // Help before anything else the parser does, in our own box on Windows;
  // a bad option or --version as the parser always handled them.
  if (parser.parse(QCoreApplication::arguments()) && parser.isSet(help)) {
    const QString text = parser.helpText();
    std::fputs(text.toLocal8Bit().constData(), stdout);
#ifdef _WIN32
    messages.Inform(zelk::HelpBoxText(text), QCoreApplication::applicationName());
#endif
    options.help_shown = true;
    return options;
  }
  parser.process(app);
  if (parser.isSet(port)) options.preferred_port = RawPortArgument(argc, argv);
  if (parser.isSet(log)) options.log = parser.value(log);
  options.language = zelk::LanguageOfLocale(QLocale::system());
  if (parser.isSet(lang)) {
    const auto named = zelk::LanguageNamed(parser.value(lang));
    if (!named) {
      const QString problem =
          QStringLiteral("--lang %1: the languages are en and pt_BR\n").arg(parser.value(lang));
      std::fputs(problem.toLocal8Bit().constData(), stderr);
#ifdef _WIN32
      // A program of the Windows subsystem has no console to print to; Qt's own
      // parser shows its complaints in a box there too.
      messages.Error(problem.trimmed());
#endif
      return std::nullopt;
    }
    options.language = *named;
  }
  return options;
}

// Kept between runs: the port of the last successful
// connection, offered first next time (a --port still wins). Kept as the
// name's bytes, which need not be valid UTF-8 on Linux.
void RememberThePort(zelk::TForm2& form2) {
  const QString key = QStringLiteral("connection/last_port");
  const QByteArray remembered = QSettings().value(key).toByteArray();
  form2.PreselectRemembered(remembered.toStdString());
  form2.SetOnConnected([key](const std::string& port) {
    QSettings settings;
    settings.setValue(key, QByteArray::fromStdString(port));
  });
}

// The data folder chosen in File > Data folder..., taken again at start.
void RememberTheDataFolder(zelk::TMainForm& main_form) {
  const QString key = QStringLiteral("records/data_folder");
  const QString remembered = QSettings().value(key).toString();
  if (!remembered.isEmpty())
    zelk::ChooseDataFolder(std::filesystem::path(remembered.toStdU16String()));
  main_form.SetOnDataFolderChosen([key](const QString& folder) {
    QSettings settings;
    settings.setValue(key, folder);
  });
}

// The folder the file dialogs last chose a file in, taken again at start.
void RememberTheDialogFolder() {
  const QString key = QStringLiteral("files/last_folder");
  zelk::SetDialogFolder(QSettings().value(key).toString());
  zelk::SetOnDialogFolderChosen([key](const QString& folder) {
    QSettings settings;
    settings.setValue(key, folder);
  });
}

// The workshop's details for the customer's report, entered once.
void RememberTheWorkshop(zelk::TMainForm& main_form) {
  struct Field {
    const char* key;
    std::string zelk::Workshop::*value;
  };
  static constexpr std::array<Field, 4> kFields{{
      {"workshop/name", &zelk::Workshop::name},
      {"workshop/address", &zelk::Workshop::address},
      {"workshop/phone", &zelk::Workshop::phone},
      {"workshop/technician", &zelk::Workshop::technician},
  }};
  zelk::Workshop workshop;
  const QSettings remembered;
  for (const Field& field : kFields) {
    workshop.*field.value = remembered.value(QLatin1String(field.key)).toString().toStdString();
  }
  main_form.SetWorkshop(workshop);
  main_form.SetOnWorkshopChanged([](const zelk::Workshop& changed) {
    QSettings settings;
    for (const Field& field : kFields) {
      settings.setValue(QLatin1String(field.key), zelk::ToQString(changed.*field.value));
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  zelk::Application app(argc, argv);
  zelk::BoxMessages messages;
  app.SetMessages(&messages);
  try {
    QApplication::setApplicationName(QStringLiteral("Programable Zelk"));
    QApplication::setApplicationVersion(zelk::ToQString(zelk::kProgramVersion));
    QApplication::setOrganizationName(QStringLiteral("Quibrane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/zelk")));
    // The style the platform (or -style) chose, with the group boxes' frames
    // whole at fractional scalings; the windows' style sheets wrap it.
    QApplication::setStyle(new zelk::GroupBoxFrameStyle(QApplication::style()->name()));
    zelk::LoadWindowFonts();
    const std::optional<StartOptions> options = ReadStartOptions(app, messages, argc, argv);
    if (!options) return 2;
    if (options->help_shown) return 0;
    zelk::UseLanguage(options->language);
    const std::string& preferred_port = options->preferred_port;

    // The session outlives the windows that use it.
    zelk::Session session(zelk::OpenPlatformSerialLine);
    zelk::BusyCursor busy_cursor(session);
    zelk::Windows windows(messages, session, zelk::ListDescribedSerialPorts, preferred_port);
    RememberThePort(windows.Form2);
    RememberTheDataFolder(windows.MainForm);
    RememberTheWorkshop(windows.MainForm);
    RememberTheDialogFolder();

    windows.MainForm.show();
    // Over the main window; a file that is not a log is named in a box.
    if (!options->log.isEmpty())
      zelk::LogReviewWindow::ShowLog(&windows.MainForm, messages, options->log);
    QApplication::exec();
  } catch (const std::exception& error) {
    zelk::ShowHandlerException(&messages, QString::fromUtf8(error.what()));
  } catch (...) {
    zelk::ShowHandlerException(&messages, QCoreApplication::translate("Messages", "Unknown error"));
  }
  return 0;
}
