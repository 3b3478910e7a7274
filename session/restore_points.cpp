// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/restore_points.h"

#include <algorithm>
#include <cstdio>
#include <system_error>
#include <utility>

#include "settings_file/file_io.h"
#include "text/fill.h"
#include "text/translatable.h"

namespace zelk {

namespace {

using std::chrono::system_clock;

// Sequence numbers within one millisecond.
constexpr int kNamesPerMillisecond = 100;

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

std::string FileStem(system_clock::time_point time, int sequence) {
  const UtcParts t = PartsOf(time);
  char stem[64];
  (void)std::snprintf(stem, sizeof stem, "%04d-%02d-%02dT%02d-%02d-%02d.%03dZ-%02d", t.year,
                      t.month, t.day, t.hours, t.minutes, t.seconds, t.milliseconds, sequence);
  return stem;
}

// Only the files this store names take part in listing and dropping.
bool IsRestorePointName(const std::string& name) {
  static const std::string kSample = FileStem({}, 0) + std::string(kSettingsFileExtension);
  if (name.size() != kSample.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const bool digit_expected = kSample[i] >= '0' && kSample[i] <= '9';
    const bool digit = name[i] >= '0' && name[i] <= '9';
    if (digit_expected ? !digit : name[i] != kSample[i]) return false;
  }
  return true;
}

}  // namespace

std::string UtcTimeText(system_clock::time_point time) {
  const UtcParts t = PartsOf(time);
  char text[32];
  (void)std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", t.year, t.month, t.day,
                      t.hours, t.minutes, t.seconds);
  return text;
}

RestorePoints::RestorePoints(std::filesystem::path folder, Now now)
    : folder_(std::move(folder)), now_(std::move(now)) {}

SavedRestorePoint RestorePoints::Save(const SettingsBlock& block, const std::string& module_version,
                                      SaveReason reason) {
  std::error_code error;
  std::filesystem::create_directories(folder_, error);
  if (error) {
    return {std::nullopt,
            Fill(QT_TRANSLATE_NOOP("Session", "cannot make the restore point folder %1: %2"),
                 {folder_.string(), error.message()})};
  }
  const system_clock::time_point now = now_();
  const std::string contents =
      EncodeSettingsFile(MakeSettingsFile(block, module_version, UtcTimeText(now), reason));
  for (int sequence = 0; sequence < kNamesPerMillisecond; ++sequence) {
    std::filesystem::path path =
        folder_ / (FileStem(now, sequence) + std::string(kSettingsFileExtension));
    const FileWrite written = WriteFileAtomically(path, contents, ExistingFile::keep);
    if (written.ok) {
      DropOldest();
      return {std::move(path), {}};
    }
    if (!written.exists) {
      return {std::nullopt, Fill(QT_TRANSLATE_NOOP("Session", "cannot save the restore point %1"),
                                 {written.error})};
    }
  }
  return {std::nullopt,
          QT_TRANSLATE_NOOP("Session",
                            "cannot save the restore point: too many saved in one millisecond")};
}

std::vector<std::filesystem::path> RestorePoints::NamesNewestFirst() const {
  std::vector<std::filesystem::path> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder_, error), end; !error && it != end;
       it.increment(error)) {
    // Only files: opening a pipe of such a name would wait for a writer forever.
    std::error_code type_error;
    if (!it->is_regular_file(type_error)) continue;
    const std::string name = it->path().filename().string();
    if (IsRestorePointName(name)) names.push_back(it->path());
  }
  std::sort(names.begin(), names.end(),
            [](const auto& a, const auto& b) { return a.filename() > b.filename(); });
  return names;
}

void RestorePoints::DropOldest() const {
  const std::vector<std::filesystem::path> names = NamesNewestFirst();
  for (std::size_t i = kRestorePointsKept; i < names.size(); ++i) {
    std::error_code ignored;  // one left over is tried again after the next save
    std::filesystem::remove(names[i], ignored);
  }
}

std::vector<RestorePoint> RestorePoints::List() const {
  std::vector<RestorePoint> points;
  for (const std::filesystem::path& path : NamesNewestFirst()) {
    RestorePoint point{path, std::nullopt, {}};
    const FileRead read = ReadSmallFile(path);
    if (!read.ok) {
      point.error = read.error;
    } else {
      DecodedSettingsFile decoded = DecodeSettingsFile(read.contents);
      point.file = std::move(decoded.file);
      point.error = std::move(decoded.error);
    }
    points.push_back(std::move(point));
  }
  return points;
}

}  // namespace zelk
