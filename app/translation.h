// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's language. English is the source of every text and needs no
// translator; Brazilian Portuguese comes from translations/*.ts, compiled in,
// with Qt's own translation of its standard buttons and dialogs.

#include <QString>
#include <optional>
#include <string_view>

class QLocale;

namespace zelk {

enum class Language { english, portuguese };

// The value of --lang: "en", or "pt_BR" (also "pt"); nullopt for anything else.
std::optional<Language> LanguageNamed(const QString& name);

// Portuguese for every Portuguese locale, English for the rest.
Language LanguageOfLocale(const QLocale& locale);

// Installs the translators for `language` (none for English). Call once,
// before the windows are made: they take their texts when built.
void UseLanguage(Language language);

// A text of the plain C++ tables, marked there under `context`.
QString Translated(const char* context, std::string_view english);

// A message the plain C++ code made, from a text of its tables or from a
// format with its parts filled in: translated whole, or by its format with
// each part translated in turn. Anything unknown comes back as it is, and so
// does everything while the language is English.
QString TranslatedMessage(std::string_view english);

}  // namespace zelk
