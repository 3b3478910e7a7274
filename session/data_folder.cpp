// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/data_folder.h"

#include <cstdlib>

#include "text/translatable.h"

#ifdef _WIN32
#include <shlobj.h>
#include <windows.h>
#endif

#include "records/vehicle_store.h"

namespace zelk {

namespace {

#ifdef _WIN32
// A variable's value as a path (wide, so any user name works); empty when unset.
std::filesystem::path Variable(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}

DataFolder PlatformFolder() {
  PWSTR known = nullptr;
  std::filesystem::path roaming;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &known))) {
    roaming = known;
  }
  CoTaskMemFree(known);
  if (roaming.empty()) roaming = Variable(L"APPDATA");
  if (roaming.empty()) {
    return {std::nullopt,
            QT_TRANSLATE_NOOP("Session", "no application data folder (%APPDATA% is not set)")};
  }
  return {roaming / L"Programable Zelk", {}};
}

std::filesystem::path OverrideFolder() {
  return Variable(L"ZELK_DATA_DIR");
}

constexpr const char* kRelativeOverride =
    QT_TRANSLATE_NOOP("Session", "%ZELK_DATA_DIR% is not an absolute path");
#else
std::filesystem::path Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}

DataFolder PlatformFolder() {
  // A relative XDG_DATA_HOME is invalid and ignored, as the base directory rules say.
  const std::filesystem::path xdg = Variable("XDG_DATA_HOME");
  if (xdg.is_absolute()) return {xdg / "programable-zelk", {}};
  const std::filesystem::path home = Variable("HOME");
  if (home.empty()) {
    return {std::nullopt, QT_TRANSLATE_NOOP("Session", "no home folder ($HOME is not set)")};
  }
  return {home / ".local" / "share" / "programable-zelk", {}};
}

std::filesystem::path OverrideFolder() {
  return Variable("ZELK_DATA_DIR");
}

constexpr const char* kRelativeOverride =
    QT_TRANSLATE_NOOP("Session", "$ZELK_DATA_DIR is not an absolute path");
#endif

std::filesystem::path& ChosenFolder() {
  static std::filesystem::path chosen;
  return chosen;
}

}  // namespace

void ChooseDataFolder(std::filesystem::path folder) {
  ChosenFolder() = folder.is_absolute() ? std::move(folder) : std::filesystem::path();
}

DataFolder UserDataFolder() {
  if (!ChosenFolder().empty()) return {ChosenFolder(), {}};
  std::filesystem::path chosen = OverrideFolder();
  // Relative, it would name a different folder for every working directory
  // (and "~/x" a folder called "~"): refused, not taken as it comes.
  if (!chosen.empty() && !chosen.is_absolute()) return {std::nullopt, kRelativeOverride};
  if (!chosen.empty()) return {std::move(chosen), {}};
  return PlatformFolder();
}

DataFolder RestorePointFolder() {
  DataFolder folder = UserDataFolder();
  if (folder.path) *folder.path /= "restore-points";
  return folder;
}

DataFolder VehiclesFolder() {
  DataFolder folder = UserDataFolder();
  if (folder.path) *folder.path /= kVehiclesFolderName;
  return folder;
}

}  // namespace zelk
