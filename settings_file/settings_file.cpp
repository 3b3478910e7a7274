// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings_file/settings_file.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <set>
#include <utility>
#include <vector>

#include "settings/number_text.h"
#include "settings_file/settings_overlay.h"
#include "text/fill.h"
#include "text/translatable.h"

namespace zelk {

namespace {

// Keys in the order they are written, so a file reads top-down.
using Json = nlohmann::ordered_json;

// Stored in files as they stand; the windows show them translated.
constexpr std::array<std::string_view, 10> kReasonNames{
    "backup", "save",           "before-write", "before-restore",  "before-set",
    "read",   "before-program", "prepared",     "before-prepared", "before-commissioning"};
// The same reasons as the windows say them.
constexpr std::array<std::string_view, 10> kReasonWords{
    QT_TRANSLATE_NOOP("SettingsFile", "a backup"),
    QT_TRANSLATE_NOOP("SettingsFile", "saved from the window"),
    QT_TRANSLATE_NOOP("SettingsFile", "before a write"),
    QT_TRANSLATE_NOOP("SettingsFile", "before a restore"),
    QT_TRANSLATE_NOOP("SettingsFile", "before a set"),
    QT_TRANSLATE_NOOP("SettingsFile", "as read"),
    QT_TRANSLATE_NOOP("SettingsFile", "before a program"),
    QT_TRANSLATE_NOOP("SettingsFile", "prepared without a module"),
    QT_TRANSLATE_NOOP("SettingsFile", "before writing prepared settings"),
    QT_TRANSLATE_NOOP("SettingsFile", "before commissioning")};
constexpr std::string_view kHexDigits = "0123456789abcdef";

// Values and names from the file as a message shows them: short, whatever the file holds.
constexpr std::size_t kShownLength = 40;

std::string Shortened(std::string text) {
  if (text.size() > kShownLength) text = text.substr(0, kShownLength) + "...";
  return text;
}

std::string Shown(const Json& value) {
  return Shortened(value.dump());
}

// What is wrong with a text that is no settings file at all.
std::string NotASettingsFile(std::string_view what) {
  return Fill(QT_TRANSLATE_NOOP("SettingsFile", "not a settings file: %1"), {what});
}

std::string FormatVersionNotValid(std::string_view version) {
  return Fill(QT_TRANSLATE_NOOP("SettingsFile", "format_version %1 is not valid"), {version});
}

std::string MustBeText(std::string_view key) {
  return Fill(QT_TRANSLATE_NOOP("SettingsFile", "\"%1\" must be a text"), {key});
}

std::string AllReasons() {
  std::string all;
  for (std::string_view name : kReasonNames) {
    if (!all.empty()) all += ", ";
    all += name;
  }
  return all;
}

std::string BlockHex(const SettingsBlock& block) {
  std::string hex;
  for (std::uint8_t byte : block) {
    hex += kHexDigits[byte >> 4];
    hex += kHexDigits[byte & 0x0F];
  }
  return hex;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A whole number goes out as an integer (1230, not 1230.0).
Json NumberJson(double value) {
  if (std::trunc(value) == value && std::fabs(value) < 9e15) {
    return static_cast<std::int64_t>(value);
  }
  return value;
}

// A file's shape, checked as it is read and before a document is built from
// it: refused are nesting deeper than a file needs (printing a value for a
// message is recursive), objects of more members than a file has (an ordered
// object finds a key by a linear search), and a key given twice in one object
// (only one of them would count, silently).
constexpr std::size_t kMaxDepth = 8;      // a settings file uses 2
constexpr std::size_t kMaxMembers = 200;  // and about 40 members

class ShapeCheck {
 public:
  // Empty when the shape is acceptable or the text is no JSON (the parser
  // that builds the document then says where).
  const std::string& problem() const { return problem_; }

  bool null() { return true; }
  bool boolean(bool /*value*/) { return true; }
  bool number_integer(Json::number_integer_t /*value*/) { return true; }
  bool number_unsigned(Json::number_unsigned_t /*value*/) { return true; }
  bool number_float(Json::number_float_t /*value*/, const Json::string_t& /*text*/) { return true; }
  bool string(Json::string_t& /*value*/) { return true; }
  bool binary(Json::binary_t& /*value*/) { return true; }
  bool start_object(std::size_t /*size*/) {
    objects_.emplace_back();
    return Enter();
  }
  bool key(Json::string_t& name) {
    std::set<std::string>& keys = objects_.back();
    if (keys.size() == kMaxMembers) {
      return Refuse(Fill(QT_TRANSLATE_NOOP("SettingsFile", "an object with more than %1 members"),
                         {std::to_string(kMaxMembers)}));
    }
    if (!keys.insert(name).second) {
      return Refuse(Fill(QT_TRANSLATE_NOOP("SettingsFile", "the key \"%1\" is given twice"),
                         {Shortened(name)}));
    }
    return true;
  }
  bool end_object() {
    objects_.pop_back();
    --depth_;
    return true;
  }
  bool start_array(std::size_t /*size*/) { return Enter(); }
  bool end_array() {
    --depth_;
    return true;
  }
  bool parse_error(std::size_t /*byte*/, const std::string& /*token*/,
                   const Json::exception& /*error*/) {
    return false;
  }

 private:
  bool Enter() {
    if (++depth_ <= kMaxDepth) return true;
    return Refuse(Fill(QT_TRANSLATE_NOOP("SettingsFile", "nested more than %1 levels deep"),
                       {std::to_string(kMaxDepth)}));
  }
  bool Refuse(const std::string& what) {
    problem_ = NotASettingsFile(what);
    return false;
  }

  std::vector<std::set<std::string>> objects_;
  std::size_t depth_ = 0;
  std::string problem_;
};

// Each step of the reading either fills in the file or gives the reason it
// is refused.
class Reader {
 public:
  explicit Reader(const Json& doc) : doc_(doc) {}

  std::string Read(SettingsFile& file) {
    if (!doc_.is_object()) {
      return NotASettingsFile(QT_TRANSLATE_NOOP("SettingsFile", "the file is not a JSON object"));
    }
    std::string problem = ReadFormat();
    if (problem.empty()) problem = ReadTexts(file);
    if (problem.empty()) problem = ReadBlock(file);
    if (problem.empty()) problem = ReadSettings(file);
    if (problem.empty()) problem = CheckSettings(file);
    return problem;
  }

 private:
  std::string ReadFormat() const {
    const auto format = doc_.find("format");
    if (format == doc_.end()) {
      return NotASettingsFile(QT_TRANSLATE_NOOP("SettingsFile", "it has no \"format\""));
    }
    if (!format->is_string() || format->get_ref<const std::string&>() != kSettingsFileFormat) {
      return Fill(QT_TRANSLATE_NOOP("SettingsFile", "another format: %1 is not \"%2\""),
                  {Shown(*format), kSettingsFileFormat});
    }
    const auto version = doc_.find("format_version");
    if (version == doc_.end()) {
      return QT_TRANSLATE_NOOP("SettingsFile", "the file has no \"format_version\"");
    }
    if (!version->is_number_integer()) {
      return QT_TRANSLATE_NOOP("SettingsFile", "\"format_version\" must be a whole number");
    }
    // The parser holds every number from 0 up as unsigned, up to 2^64 - 1.
    if (!version->is_number_unsigned()) {
      return FormatVersionNotValid(std::to_string(version->get<std::int64_t>()));
    }
    const auto number = version->get<std::uint64_t>();
    if (number > kSettingsFileVersion) {
      return Fill(
          QT_TRANSLATE_NOOP("SettingsFile",
                            "format_version %1 is newer than this program reads (up to %2)"),
          {std::to_string(number), std::to_string(kSettingsFileVersion)});
    }
    if (number < 1) return FormatVersionNotValid(std::to_string(number));
    return {};
  }

  // The optional texts of the header.
  std::string ReadTexts(SettingsFile& file) const {
    for (auto [key, target] : {std::pair{"module_version", &file.module_version},
                               std::pair{"saved_at", &file.saved_at}}) {
      const auto item = doc_.find(key);
      if (item == doc_.end()) continue;
      if (!item->is_string()) return MustBeText(key);
      *target = item->get<std::string>();
    }
    const auto reason = doc_.find("reason");
    if (reason == doc_.end()) return {};
    if (!reason->is_string()) return MustBeText("reason");
    file.reason = ReasonFromName(reason->get_ref<const std::string&>());
    if (!file.reason) {
      return Fill(QT_TRANSLATE_NOOP("SettingsFile", "reason %1 is not one of %2"),
                  {Shown(*reason), AllReasons()});
    }
    return {};
  }

  std::string ReadBlock(SettingsFile& file) const {
    const auto item = doc_.find("block");
    if (item == doc_.end()) return {};
    if (!item->is_string()) {
      return QT_TRANSLATE_NOOP("SettingsFile", "\"block\" must be a text of 50 hex digits");
    }
    const auto& hex = item->get_ref<const std::string&>();
    if (hex.size() != 2 * kSettingsBlockSize) {
      return Fill(QT_TRANSLATE_NOOP("SettingsFile",
                                    "the block must be 50 hex digits; it has %1 characters"),
                  {std::to_string(hex.size())});
    }
    SettingsBlock block{};
    for (std::size_t i = 0; i < hex.size(); i += 2) {
      const int high = HexValue(hex[i]);
      const int low = HexValue(hex[i + 1]);
      if (high < 0 || low < 0) {
        return Fill(QT_TRANSLATE_NOOP("SettingsFile",
                                      "the block must be 50 hex digits; character %1 is not one"),
                    {std::to_string(i + (high < 0 ? 1 : 2))});
      }
      block[i / 2] = static_cast<std::uint8_t>(high << 4 | low);
    }
    file.block = block;
    return {};
  }

  std::string ReadSettings(SettingsFile& file) const {
    const auto item = doc_.find("settings");
    if (item == doc_.end()) {
      return file.block
                 ? std::string()
                 : QT_TRANSLATE_NOOP("SettingsFile", "the file has neither a block nor settings");
    }
    if (!item->is_object()) {
      return QT_TRANSLATE_NOOP("SettingsFile", "\"settings\" must be a JSON object");
    }
    for (const auto& [name, value] : item->items()) {
      const SettingRow* setting = FindSetting(name);
      if (setting == nullptr) {
        return Fill(QT_TRANSLATE_NOOP("SettingsFile", "unknown setting \"%1\""), {Shortened(name)});
      }
      if (setting->kind == SettingKind::option) {
        if (!value.is_boolean()) {
          return Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1 must be true or false, not %2"),
                      {name, Shown(value)});
        }
        file.settings.values[setting->id] = value.get<bool>() ? 1 : 0;
      } else if (!value.is_number()) {
        return Fill(QT_TRANSLATE_NOOP("SettingsFile", "%1 must be a number, not %2"),
                    {name, Shown(value)});
      } else {
        file.settings.values[setting->id] = value.get<double>();
      }
    }
    return {};
  }

  // With a block, the settings are what the block shows; without one they
  // must pass the window's entry rules.
  static std::string CheckSettings(const SettingsFile& file) {
    if (!file.block) {
      return CheckSettingRanges(file.settings, kSettings[kLimiteCorr].max);
    }
    const SettingTexts stated = TextsOf(file.settings);
    const SettingTexts held = TextsOf(SettingsOfBlock(*file.block));
    for (const SettingRow& row : kSettings) {
      if (stated[row.id] && *stated[row.id] != *held[row.id]) {
        return Fill(
            QT_TRANSLATE_NOOP("SettingsFile", "%1 is %2 in the file, but its block holds %3"),
            {row.name, *stated[row.id], *held[row.id]});
      }
    }
    return {};
  }

  const Json& doc_;
};

}  // namespace

std::string_view ReasonName(SaveReason reason) {
  return kReasonNames.at(static_cast<std::size_t>(reason));
}

std::string_view ReasonWords(SaveReason reason) {
  return kReasonWords.at(static_cast<std::size_t>(reason));
}

std::optional<SaveReason> ReasonFromName(std::string_view name) {
  for (std::size_t i = 0; i < kReasonNames.size(); ++i) {
    if (kReasonNames[i] == name) return static_cast<SaveReason>(i);
  }
  return std::nullopt;
}

SettingsFile MakeSettingsFile(const SettingsBlock& block, std::string module_version,
                              std::string saved_at, SaveReason reason) {
  SettingsFile file;
  file.module_version = std::move(module_version);
  file.saved_at = std::move(saved_at);
  file.reason = reason;
  file.block = block;
  file.settings = SettingsOfBlock(block);
  return file;
}

SettingTexts TextsOfFile(const SettingsFile& file) {
  return TextsOf(file.block ? SettingsOfBlock(*file.block) : file.settings);
}

std::string EncodeSettingsFile(const SettingsFile& file) {
  Json doc;
  doc["format"] = kSettingsFileFormat;
  doc["format_version"] = kSettingsFileVersion;
  if (!file.module_version.empty()) doc["module_version"] = file.module_version;
  if (!file.saved_at.empty()) doc["saved_at"] = file.saved_at;
  if (file.reason) doc["reason"] = ReasonName(*file.reason);
  if (file.block) doc["block"] = BlockHex(*file.block);
  Json settings = Json::object();
  for (const SettingRow& row : kSettings) {
    const std::optional<double>& value = file.settings.values[row.id];
    if (!value) continue;
    Json& item = settings[std::string(row.name)];
    item = row.kind == SettingKind::option ? Json(*value != 0) : NumberJson(*value);
  }
  doc["settings"] = std::move(settings);
  return doc.dump(2) + "\n";
}

DecodedSettingsFile DecodeSettingsFile(std::string_view text) {
  // The parser takes a NUL byte for the end of the text and would accept
  // whatever follows it.
  if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
    return {std::nullopt,
            NotASettingsFile(Fill(QT_TRANSLATE_NOOP("SettingsFile", "a NUL byte at byte %1"),
                                  {std::to_string(nul + 1)}))};
  }
  ShapeCheck shape;
  if (!Json::sax_parse(text, &shape) && !shape.problem().empty()) {
    return {std::nullopt, shape.problem()};
  }
  Json doc;
  try {
    doc = Json::parse(text);
  } catch (const Json::parse_error& error) {
    return {std::nullopt,
            NotASettingsFile(Fill(QT_TRANSLATE_NOOP("SettingsFile", "not JSON (error at byte %1)"),
                                  {std::to_string(error.byte)}))};
  } catch (const Json::out_of_range&) {
    // The parser's only other complaint: a number beyond the range of a double.
    return {std::nullopt,
            NotASettingsFile(QT_TRANSLATE_NOOP("SettingsFile", "a number too large to read"))};
  }
  SettingsFile file;
  std::string problem = Reader(doc).Read(file);
  if (!problem.empty()) return {std::nullopt, std::move(problem)};
  return {std::move(file), {}};
}

}  // namespace zelk
