// SPDX-License-Identifier: GPL-3.0-or-later
// zelkctl's argument parsing, case by case.
#include "cli/cli_args.h"

#include <gtest/gtest.h>

namespace zelk::cli {
namespace {

struct ArgsCase {
  std::vector<std::string> args;
  bool ok;
  CliCommand command;
  std::string port;
  bool trace;
  std::string error;  // a part of the message, when !ok
};

TEST(ParseCliArgs, Table) {
  const ArgsCase cases[] = {
      {{"ports"}, true, CliCommand::ports, "", false, ""},
      {{"--port", "ttyUSB0", "version"}, true, CliCommand::version, "ttyUSB0", false, ""},
      {{"version", "--port", "/dev/pts/3"}, true, CliCommand::version, "/dev/pts/3", false, ""},
      {{"--port=COM5", "--trace", "raw"}, true, CliCommand::raw, "COM5", true, ""},
      {{"--trace", "--port", "", "raw"}, true, CliCommand::raw, "", true, ""},
      {{}, false, CliCommand::none, "", false, "no command"},
      {{"--trace"}, false, CliCommand::none, "", false, "no command"},
      {{"version"}, false, CliCommand::none, "", false, "version needs --port"},
      {{"raw"}, false, CliCommand::none, "", false, "raw needs --port"},
      {{"--port"}, false, CliCommand::none, "", false, "--port needs a port name"},
      {{"--port", "--trace", "version"}, false, CliCommand::none, "", false, "--port needs"},
      {{"--port", "a", "--port", "b", "version"},
       false,
       CliCommand::none,
       "",
       false,
       "more than once"},
      {{"--port", "a", "--port=b", "raw"}, false, CliCommand::none, "", false, "more than once"},
      {{"--baud", "9600", "ports"}, false, CliCommand::none, "", false, "unknown option '--baud'"},
      {{"-x", "ports"}, false, CliCommand::none, "", false, "unknown option '-x'"},
      {{"flash"}, false, CliCommand::none, "", false, "unknown command 'flash'"},
      {{"ports", "version"}, false, CliCommand::none, "", false, "unexpected argument 'version'"},
      {{"--port", "x", "version", "extra"}, false, CliCommand::none, "", false, "unexpected"},
  };
  for (const ArgsCase& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const CliParse parse = ParseCliArgs(c.args);
    EXPECT_EQ(parse.ok, c.ok);
    if (c.ok) {
      EXPECT_EQ(parse.options.command, c.command);
      EXPECT_EQ(parse.options.port, c.port);
      EXPECT_EQ(parse.options.trace, c.trace);
      EXPECT_FALSE(parse.options.help);
    } else {
      EXPECT_NE(parse.error.find(c.error), std::string::npos) << parse.error;
    }
  }
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
  for (const char* word : {"ports", "version", "raw", "--port", "--trace", "--help", "--version"}) {
    EXPECT_NE(usage.find(word), std::string::npos) << word;
  }
}

}  // namespace
}  // namespace zelk::cli
