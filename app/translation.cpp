// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/translation.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/qt_text.h"
#include "text/fill.h"

// The translations live in a static library, whose resources the linker drops
// unless something refers to them.
static void InitTranslationResources() {
  Q_INIT_RESOURCE(translations);
}

namespace zelk {

namespace {

constexpr const char* kPortugueseTs = ":/translations/programable-zelk_pt_BR.ts";

// The contexts of the plain C++ code, whose messages may come composed.
constexpr std::array<QStringView, 5> kPlainContexts{u"Settings", u"Monitor", u"SettingsFile",
                                                    u"Session", u"Link"};

// A format of the plain C++ code with %N places, as a pattern that takes the
// parts back out of a filled-in message.
struct Format {
  QRegularExpression pattern;
  std::vector<int> places;  // the N of each capture, in order
  QString translation;
  qsizetype fixed_length = 0;  // the longer, the more specific
};

struct MessageCatalog {
  QHash<QString, QString> whole;  // messages without places
  std::vector<Format> formats;
};

Language current_language = Language::english;

const QRegularExpression& PlaceExpression() {
  static const QRegularExpression place(QStringLiteral("%([1-9])"));
  return place;
}

Format MakeFormat(const QString& source, const QString& translation) {
  Format format;
  QString pattern = QStringLiteral("^");
  qsizetype last = 0;
  auto it = PlaceExpression().globalMatch(source);
  while (it.hasNext()) {
    const QRegularExpressionMatch place = it.next();
    pattern += QRegularExpression::escape(source.mid(last, place.capturedStart() - last));
    pattern += QStringLiteral("(.*?)");
    format.places.push_back(place.captured(1).toInt());
    format.fixed_length += place.capturedStart() - last;
    last = place.capturedEnd();
  }
  pattern += QRegularExpression::escape(source.mid(last)) + QStringLiteral("$");
  format.fixed_length += source.size() - last;
  format.pattern.setPattern(pattern);
  format.pattern.setPatternOptions(QRegularExpression::DotMatchesEverythingOption);
  format.translation = translation;
  return format;
}

// The Portuguese messages of the plain C++ contexts, read from the .ts that
// is built in beside its compiled form.
MessageCatalog LoadCatalog() {
  InitTranslationResources();
  MessageCatalog catalog;
  QFile file(QString::fromLatin1(kPortugueseTs));
  if (!file.open(QIODevice::ReadOnly)) return catalog;
  QXmlStreamReader xml(&file);
  QString context;
  QString source;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const QStringView element = xml.name();
    if (element == u"name") {
      context = xml.readElementText();
    } else if (element == u"source") {
      source = xml.readElementText();
    } else if (element == u"translation") {
      const QString translation = xml.readElementText();
      const bool plain =
          std::find(kPlainContexts.begin(), kPlainContexts.end(), context) != kPlainContexts.end();
      if (!plain || translation.isEmpty()) continue;
      if (PlaceExpression().match(source).hasMatch()) {
        catalog.formats.push_back(MakeFormat(source, translation));
      } else {
        catalog.whole.insert(source, translation);
      }
    }
  }
  std::stable_sort(
      catalog.formats.begin(), catalog.formats.end(),
      [](const Format& a, const Format& b) { return a.fixed_length > b.fixed_length; });
  return catalog;
}

const MessageCatalog& Catalog() {
  static const MessageCatalog catalog = LoadCatalog();
  return catalog;
}

QString TranslateMessage(const QString& message, int depth) {
  const MessageCatalog& catalog = Catalog();
  if (const auto whole = catalog.whole.constFind(message); whole != catalog.whole.cend()) {
    return *whole;
  }
  if (depth > 3) return message;
  for (const Format& format : catalog.formats) {
    const QRegularExpressionMatch match = format.pattern.match(message);
    if (!match.hasMatch()) continue;
    std::array<std::string, 9> parts;
    for (std::size_t i = 0; i < format.places.size(); ++i) {
      const auto n = static_cast<std::size_t>(format.places[i] - 1);
      if (parts[n].empty()) {
        parts[n] =
            TranslateMessage(match.captured(static_cast<int>(i) + 1), depth + 1).toStdString();
      }
    }
    const std::string translation = format.translation.toStdString();
    return ToQString(Fill(translation, {parts[0], parts[1], parts[2], parts[3], parts[4], parts[5],
                                        parts[6], parts[7], parts[8]}));
  }
  return message;
}

// A translation that does not load leaves its texts in English.
void Install(const QString& resource) {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(resource) || !QCoreApplication::installTranslator(translator))
    delete translator;
}

}  // namespace

std::optional<Language> LanguageNamed(const QString& name) {
  if (name == u"en") return Language::english;
  if (name == u"pt_BR" || name == u"pt") return Language::portuguese;
  return std::nullopt;
}

Language LanguageOfLocale(const QLocale& locale) {
  return locale.language() == QLocale::Portuguese ? Language::portuguese : Language::english;
}

void UseLanguage(Language language) {
  current_language = language;
  if (language == Language::english) return;
  InitTranslationResources();
  Install(QStringLiteral(":/translations/programable-zelk_pt_BR.qm"));
  // Qt's own texts: the standard buttons (Sim, Não, Cancelar) and dialogs.
  Install(QStringLiteral(":/translations/qtbase_pt_BR.qm"));
}

QString Translated(const char* context, std::string_view english) {
  const std::string source(english);
  return QCoreApplication::translate(context, source.c_str());
}

QString TranslatedMessage(std::string_view english) {
  const QString message = ToQString(english);
  if (current_language == Language::english) return message;
  return TranslateMessage(message, 0);
}

}  // namespace zelk
