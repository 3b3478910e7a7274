// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two calibration programs the module runs on the engine, and what its
// program status byte says about the one that was started.

#include <cstdint>

#include "link/requests.h"

namespace zelk {

enum class EngineProgram { rpm_lambda, map };

// The program-control payload that starts it.
constexpr ProgramControl StartPayload(EngineProgram program) {
  return program == EngineProgram::rpm_lambda ? ProgramControl::rpm_lambda : ProgramControl::map;
}

// Each program has its own running bit; the other program's bits mean nothing to it.
constexpr bool ProgramRunning(EngineProgram program, std::uint8_t status) {
  const std::uint8_t bit =
      program == EngineProgram::rpm_lambda ? kStatusRpmRunning : kStatusMapRunning;
  return (status & bit) != 0;
}

// Only the MAP program asks for the operator prompts.
constexpr bool ProgramWantsPrompts(EngineProgram program, std::uint8_t status) {
  return program == EngineProgram::map && (status & kStatusMapPrompt) != 0;
}

}  // namespace zelk
