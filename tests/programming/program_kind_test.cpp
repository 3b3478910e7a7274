// SPDX-License-Identifier: GPL-3.0-or-later
#include "programming/program_kind.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

// Only the two engine programs are followed; each starts with its own payload.
TEST(ProgramKind, EngineProgramOfEachKind) {
  const struct {
    ProgramKind kind;
    std::optional<EngineProgram> engine;
  } cases[] = {
      {ProgramKind::mix, std::nullopt},
      {ProgramKind::reset, std::nullopt},
      {ProgramKind::rpm_lambda, EngineProgram::rpm_lambda},
      {ProgramKind::map, EngineProgram::map},
  };
  for (const auto& c : cases) EXPECT_EQ(EngineProgramOf(c.kind), c.engine);
  static_assert(StartPayload(*EngineProgramOf(ProgramKind::rpm_lambda)) ==
                ProgramControl::rpm_lambda);
  static_assert(StartPayload(*EngineProgramOf(ProgramKind::map)) == ProgramControl::map);
}

}  // namespace
}  // namespace zelk
