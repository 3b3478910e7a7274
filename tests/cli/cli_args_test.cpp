// SPDX-License-Identifier: GPL-3.0-or-later
// zelkctl's argument parsing, case by case.
#include "cli/cli_args.h"

#include "cli/command_table.h"

#include <gtest/gtest.h>

namespace zelk::cli {
namespace {

struct ArgsCase {
  std::vector<std::string> args;
  bool ok;
  std::string command;
  std::string port;
  bool trace;
  std::vector<std::string> operands;
  std::string error;  // a part of the message, when !ok
};

TEST(ParseCliArgs, Table) {
  using Words = std::vector<std::string>;
  const ArgsCase cases[] = {
      {{"ports"}, true, "ports", "", false, {}, ""},
      {{"--port", "ttyUSB0", "version"}, true, "version", "ttyUSB0", false, {}, ""},
      {{"version", "--port", "/dev/pts/3"}, true, "version", "/dev/pts/3", false, {}, ""},
      {{"--port=COM5", "--trace", "raw"}, true, "raw", "COM5", true, {}, ""},
      {{"--trace", "--port", "", "raw"}, true, "raw", "", true, {}, ""},
      // After the command word, what is not a global option is the command's.
      {{"ports", "version"}, true, "ports", "", false, Words{"version"}, ""},
      {{"--port", "x", "version", "extra", "--json", "--trace"},
       true,
       "version",
       "x",
       true,
       Words{"extra", "--json"},
       ""},
      {{"version", "-", "--port=x"}, true, "version", "x", false, Words{"-"}, ""},
      {{}, false, "", "", false, {}, "no command"},
      {{"--trace"}, false, "", "", false, {}, "no command"},
      {{"version"}, false, "", "", false, {}, "version needs --port"},
      {{"raw"}, false, "", "", false, {}, "raw needs --port"},
      {{"ports", "--port", "x"}, false, "", "", false, {}, "ports takes no --port"},
      {{"--port"}, false, "", "", false, {}, "--port needs a port name"},
      {{"--port", "--trace", "version"}, false, "", "", false, {}, "--port needs"},
      {{"--port", "a", "--port", "b", "version"}, false, "", "", false, {}, "more than once"},
      {{"--port", "a", "--port=b", "raw"}, false, "", "", false, {}, "more than once"},
      {{"--baud", "9600", "ports"}, false, "", "", false, {}, "unknown option '--baud'"},
      {{"-x", "ports"}, false, "", "", false, {}, "unknown option '-x'"},
      {{"flash"}, false, "", "", false, {}, "unknown command 'flash'"},
  };
  for (const ArgsCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const CliParse parse = ParseCliArgs(c.args);
    EXPECT_EQ(parse.ok, c.ok);
    if (c.ok) {
      EXPECT_EQ(parse.options.command, c.command);
      EXPECT_EQ(parse.options.port, c.port);
      EXPECT_EQ(parse.options.trace, c.trace);
      EXPECT_EQ(parse.options.operands, c.operands);
      EXPECT_FALSE(parse.options.help);
    } else {
      EXPECT_NE(parse.error.find(c.error), std::string::npos) << parse.error;
    }
  }
}

TEST(ParseCliArgs, VehicleOnTheBench) {
  struct VehicleCase {
    std::vector<std::string> args;
    const char* vehicle;  // nullptr: refused
    const char* error;
  };
  const VehicleCase cases[] = {
      {{"--vehicle", "ABC1D23", "--port", "x", "set", "temp_corr=40"}, "ABC1D23", ""},
      {{"--port", "x", "restore", "f.zelk", "--vehicle=Fusca do João"}, "Fusca do João", ""},
      {{"restore-points", "--vehicle", "ABC1D23", "--json"}, "ABC1D23", ""},
      {{"--vehicle", "A", "--vehicle", "B", "restore-points"}, nullptr, "--vehicle given more"},
      {{"--vehicle=A", "--vehicle=A", "restore-points"}, nullptr, "--vehicle given more"},
      {{"restore-points", "--vehicle"}, nullptr, "--vehicle needs a plate or name"},
      {{"--vehicle", "--json", "restore-points"}, nullptr, "--vehicle needs a plate or name"},
      {{"--vehicle", "A", "ports"}, nullptr, "ports takes no --vehicle"},
      {{"--vehicle", "A", "--port", "x", "read"}, "A", ""},
      {{"--port", "x", "backup", "-", "--vehicle", "A"}, "A", ""},
      {{"--vehicle=A", "--port", "x", "monitor", "--count", "1"}, "A", ""},
      {{"--vehicle", "A", "--port", "x", "diff", "f.zelk"}, nullptr, "diff takes no --vehicle"},
      {{"--vehicle", "A", "--port", "x", "version"}, nullptr, "version takes no --vehicle"},
      {{"vehicles", "--vehicle", "A"}, nullptr, "vehicles takes no --vehicle"},
  };
  for (const VehicleCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const CliParse parse = ParseCliArgs(c.args);
    ASSERT_EQ(parse.ok, c.vehicle != nullptr) << parse.error;
    if (c.vehicle != nullptr) {
      EXPECT_TRUE(parse.options.vehicle_given);
      EXPECT_EQ(parse.options.vehicle, c.vehicle);
    } else {
      EXPECT_NE(parse.error.find(c.error), std::string::npos) << parse.error;
    }
  }
  EXPECT_FALSE(ParseCliArgs({"--port", "x", "set", "temp_corr=40"}).options.vehicle_given);
}

TEST(ParseCliArgs, HelpIsTakenWhereverItStands) {
  const std::vector<std::vector<std::string>> helps = {
      {"--help"}, {"-h"}, {"raw", "--help"}, {"--port", "x", "version", "-h"}};
  for (const auto& args : helps) {
    const CliParse parse = ParseCliArgs(args);
    EXPECT_TRUE(parse.ok);
    EXPECT_TRUE(parse.options.help);
  }
  EXPECT_TRUE(ParseCliArgs({"--version"}).options.program_version);
  EXPECT_TRUE(ParseCliArgs({"--port", "x", "--version"}).options.program_version);
  EXPECT_FALSE(ParseCliArgs({"--port", "x", "version"}).options.program_version);
  // Arguments are read left to right: an error before --help is still reported.
  EXPECT_FALSE(ParseCliArgs({"--bogus", "--help"}).ok);
}

TEST(CliUsage, NamesEveryCommand) {
  const std::string usage = CliUsage();
  for (const CommandSpec& command : Commands()) {
    EXPECT_NE(usage.find("zelkctl " + std::string(command.usage) + "\n"), std::string::npos)
        << command.name;
    EXPECT_NE(usage.find("  " + std::string(command.name) + " "), std::string::npos)
        << command.name;
  }
  for (const char* word : {"--port", "--trace", "--help", "--version"}) {
    EXPECT_NE(usage.find(word), std::string::npos) << word;
  }
}

}  // namespace
}  // namespace zelk::cli
