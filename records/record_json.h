// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The JSON of the records' own files (a vehicle, a commissioning step, a
// note, a program run): written indented and ending in a newline, with text
// typed in broken UTF-8 kept (replaced) rather than a crash; read back only
// as an object that names its own format.

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace zelk {

template <typename Json>
std::string RecordJsonText(const Json& doc) {
  return doc.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

// The object; nothing, with `error` set, when the text is not a JSON object
// or its "format" is not `format` (then `error` is `not_this`).
template <typename Json>
std::optional<Json> ParseRecordObject(std::string_view text, std::string_view format,
                                      std::string_view not_this, std::string& error) {
  Json doc = Json::parse(text, nullptr, false);
  if (doc.is_discarded() || !doc.is_object()) {
    error = "not a JSON object";
    return std::nullopt;
  }
  const auto found = doc.find("format");
  if (found == doc.end() || !found->is_string() || found->template get<std::string>() != format) {
    error = not_this;
    return std::nullopt;
  }
  return doc;
}

}  // namespace zelk
