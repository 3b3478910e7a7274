// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/restore_points.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <system_error>
#include <utility>

#include "settings_file/file_io.h"
#include "text/fill.h"
#include "text/translatable.h"
#include "text/utc_time.h"

namespace zelk {

// Where a restore point stands among the others: saved later is a higher
// sequence number. Names of the earlier form ("<time>-NN.zelk", without a
// sequence) come before every numbered one, in the order of their names.
struct NamedRestorePoint {
  std::filesystem::path path;
  std::uint64_t sequence = 0;
  std::string name;

  bool SavedAfter(const NamedRestorePoint& other) const {
    return sequence != other.sequence ? sequence > other.sequence : name > other.name;
  }
};

namespace {

using std::chrono::system_clock;

// Tries at the next numbers when other programs save at the same moment.
constexpr int kSaveAttempts = 100;
// Sequence numbers are written with at least this many digits, so names sort
// by number in a file manager too, and read with at most the second.
constexpr int kSequenceDigits = 8;
constexpr std::size_t kLongestSequence = 18;

std::string FileName(std::uint64_t sequence, system_clock::time_point time) {
  char number[32];
  (void)std::snprintf(number, sizeof number, "%0*llu", kSequenceDigits,
                      static_cast<unsigned long long>(sequence));
  // Appended piece by piece: GCC 12 at -O3 takes "-" + a temporary for an
  // overlapping copy (-Wrestrict) and stops a packager's build.
  std::string name(number);
  name.append("-").append(UtcFileStem(time)).append(kSettingsFileExtension);
  return name;
}

// Only the files this store names take part in listing and dropping.
std::optional<NamedRestorePoint> ParseName(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  const std::string extension(kSettingsFileExtension);
  static const std::string kEarlierSample = UtcFileStem({}) + "-00" + extension;
  if (MatchesSample(name, kEarlierSample)) return NamedRestorePoint{path, 0, name};
  static const std::string kTimeSample = std::string("-").append(UtcFileStem({})).append(extension);
  if (name.size() <= kTimeSample.size()) return std::nullopt;
  const std::size_t digits = name.size() - kTimeSample.size();
  if (digits > kLongestSequence || !MatchesSample(name.substr(digits), kTimeSample)) {
    return std::nullopt;
  }
  std::uint64_t sequence = 0;
  for (std::size_t i = 0; i < digits; ++i) {
    if (name[i] < '0' || name[i] > '9') return std::nullopt;
    sequence = sequence * 10 + static_cast<std::uint64_t>(name[i] - '0');
  }
  return NamedRestorePoint{path, sequence, name};
}

}  // namespace

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
  // Numbered one above the newest, whatever the clock says: a clock set back
  // cannot make the point just saved look older than the others.
  const std::vector<NamedRestorePoint> present = NewestFirst();
  const std::uint64_t next = present.empty() ? 1 : present.front().sequence + 1;
  for (int attempt = 0; attempt < kSaveAttempts; ++attempt) {
    std::filesystem::path path =
        folder_ / FileName(next + static_cast<std::uint64_t>(attempt), now);
    const FileWrite written = WriteFileAtomically(path, contents, ExistingFile::keep);
    if (written.ok) {
      DropOldest(path);
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

std::vector<NamedRestorePoint> RestorePoints::NewestFirst() const {
  std::vector<NamedRestorePoint> points;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder_, error), end; !error && it != end;
       it.increment(error)) {
    // Only files: opening a pipe of such a name would wait for a writer forever.
    std::error_code type_error;
    if (!it->is_regular_file(type_error)) continue;
    if (std::optional<NamedRestorePoint> point = ParseName(it->path())) points.push_back(*point);
  }
  std::sort(points.begin(), points.end(),
            [](const NamedRestorePoint& a, const NamedRestorePoint& b) { return a.SavedAfter(b); });
  return points;
}

void RestorePoints::DropOldest(const std::filesystem::path& just_saved) const {
  const std::vector<NamedRestorePoint> points = NewestFirst();
  for (std::size_t i = kRestorePointsKept; i < points.size(); ++i) {
    // Whatever other programs saved meanwhile, the point this save promised stays.
    if (points[i].path == just_saved) continue;
    std::error_code ignored;  // one left over is tried again after the next save
    std::filesystem::remove(points[i].path, ignored);
  }
}

std::vector<RestorePoint> RestorePoints::List() const {
  std::vector<RestorePoint> points;
  for (const NamedRestorePoint& named : NewestFirst()) {
    const std::filesystem::path& path = named.path;
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
