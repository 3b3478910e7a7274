// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/utc_time.h"

#include <cstdio>

namespace zelk {
namespace {

using std::chrono::system_clock;

struct UtcParts {
  int year, month, day, hours, minutes, seconds, milliseconds;
};

UtcParts PartsOf(system_clock::time_point time) {
  using namespace std::chrono;
  const auto day = floor<days>(time);
  const year_month_day date{day};
  const hh_mm_ss clock{floor<milliseconds>(time - day)};
  return {static_cast<int>(date.year()),
          static_cast<int>(static_cast<unsigned>(date.month())),
          static_cast<int>(static_cast<unsigned>(date.day())),
          static_cast<int>(clock.hours().count()),
          static_cast<int>(clock.minutes().count()),
          static_cast<int>(clock.seconds().count()),
          static_cast<int>(clock.subseconds().count())};
}

}  // namespace

std::string UtcNowText() {
  return UtcTimeText(system_clock::now());
}

std::string UtcTimeText(system_clock::time_point time) {
  const UtcParts t = PartsOf(time);
  char text[32];
  (void)std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", t.year, t.month, t.day,
                      t.hours, t.minutes, t.seconds);
  return text;
}

std::optional<system_clock::time_point> UtcTimeOfText(std::string_view text) {
  using namespace std::chrono;
  static const std::string kSample = UtcTimeText({});
  if (!MatchesSample(text, kSample)) return std::nullopt;
  auto number = [text](std::size_t at, std::size_t digits) {
    int value = 0;
    for (std::size_t i = at; i < at + digits; ++i) value = value * 10 + (text[i] - '0');
    return value;
  };
  const year_month_day date{year{number(0, 4)}, month{static_cast<unsigned>(number(5, 2))},
                            day{static_cast<unsigned>(number(8, 2))}};
  const int hours = number(11, 2), minutes_ = number(14, 2), seconds_ = number(17, 2);
  if (!date.ok() || hours > 23 || minutes_ > 59 || seconds_ > 59) return std::nullopt;
  return sys_days{date} + std::chrono::hours{hours} + std::chrono::minutes{minutes_} +
         std::chrono::seconds{seconds_};
}

std::string UtcFileStem(system_clock::time_point time) {
  const UtcParts t = PartsOf(time);
  char stem[64];
  (void)std::snprintf(stem, sizeof stem, "%04d-%02d-%02dT%02d-%02d-%02d.%03dZ", t.year, t.month,
                      t.day, t.hours, t.minutes, t.seconds, t.milliseconds);
  return stem;
}

std::optional<std::string> UtcTimeTextOfStem(std::string_view stem) {
  static const std::string kSample = UtcFileStem({});
  if (!MatchesSample(stem, kSample)) return std::nullopt;
  // "YYYY-MM-DDTHH-MM-SS.mmmZ" -> "YYYY-MM-DDTHH:MM:SSZ"
  std::string text(stem.substr(0, 19));
  text[13] = ':';
  text[16] = ':';
  text += 'Z';
  return text;
}

bool MatchesSample(std::string_view text, std::string_view sample) {
  if (text.size() != sample.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digit_expected = sample[i] >= '0' && sample[i] <= '9';
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (digit_expected ? !digit : text[i] != sample[i]) return false;
  }
  return true;
}

}  // namespace zelk
