// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A vehicle is known by its plate or, for a car without one, a short name the
// technician gives it. Two identifiers that fold alike ("ABC-1D23",
// "abc-1d23") are the same vehicle. On disk a vehicle is a folder whose name
// is made from the identifier, never the identifier itself: the folder must
// be a valid, distinct name on Windows (reserved names such as CON, no
// trailing dots, no case distinctions) and on a network share.

#include <cstddef>
#include <string>
#include <string_view>

#include "text/translatable.h"

namespace zelk {

inline constexpr std::size_t kLongestVehicleId = 32;  // characters, not bytes

inline constexpr const char* kVehicleIdRule = QT_TRANSLATE_NOOP(
    "Vehicles",
    "A plate or name has 1 to 32 characters: letters, digits, spaces, hyphens and dots, and "
    "is not \".\" or \"..\".");

struct VehicleIdCheck {
  std::string id;   // the identifier as kept: without spaces at either end
  bool ok = false;  // else the identifier breaks kVehicleIdRule
};

VehicleIdCheck CheckVehicleId(std::string_view typed);

// The folded form that says whether two identifiers are the same vehicle.
std::string VehicleKey(std::string_view id);

// The vehicle's folder name: the key's ASCII letters and digits (others as
// '_', at most kLongestVehicleId of them), a hyphen and a 16-digit hash of
// the key. Lower case ASCII only, so a case-insensitive file system, Windows'
// reserved names and a share's character rules all leave it distinct.
std::string VehicleFolderName(std::string_view id);

}  // namespace zelk
