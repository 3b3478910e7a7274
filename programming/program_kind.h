// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four programs the technician can start on the module, in the order the
// programming dialog lists them: two are one request each, two run on the
// engine and are followed to their end.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "programming/program_status.h"

namespace zelk {

enum class ProgramKind { mix, reset, rpm_lambda, map };

// The name a vehicle's record of a run and zelkctl give the program.
constexpr std::string_view ProgramKindName(ProgramKind kind) {
  constexpr std::array<std::string_view, 4> kNames{"mix", "reset", "rpm_lambda", "map"};
  return kNames.at(static_cast<std::size_t>(kind));
}

// The program that runs on the engine, or none for the one-request kinds.
constexpr std::optional<EngineProgram> EngineProgramOf(ProgramKind kind) {
  switch (kind) {
    case ProgramKind::rpm_lambda:
      return EngineProgram::rpm_lambda;
    case ProgramKind::map:
      return EngineProgram::map;
    case ProgramKind::mix:
    case ProgramKind::reset:
      break;
  }
  return std::nullopt;
}

}  // namespace zelk
