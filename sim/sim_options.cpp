// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/sim_options.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <optional>
#include <string_view>

namespace zelk::sim {

namespace {

template <typename T>
bool ParseWhole(std::string_view text, T max, T& value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  T parsed{};
  const auto [ptr, ec] = std::from_chars(text.data(), end, parsed);
  if (ec != std::errc() || ptr != end || parsed > max) return false;
  value = parsed;
  return true;
}

bool ParseVersion(std::string_view text, std::array<std::uint8_t, 2>& version) {
  const auto dot = text.find('.');
  if (dot == std::string_view::npos) return false;
  unsigned major = 0, minor = 0;
  if (!ParseWhole(text.substr(0, dot), 255u, major) ||
      !ParseWhole(text.substr(dot + 1), 255u, minor)) {
    return false;
  }
  version = {static_cast<std::uint8_t>(major), static_cast<std::uint8_t>(minor)};
  return true;
}

constexpr std::string_view kValuedOptions[] = {
    "--link", "--fault", "--module-version", "--rpm-program-ms", "--map-program-ms",
    "--seed", "--pace"};

// Program durations: whole milliseconds, up to a day.
bool ParseDuration(std::string_view text, double& ms) {
  unsigned value = 0;
  if (!ParseWhole(text, 86400000u, value)) return false;
  ms = value;
  return true;
}

bool ParsePace(std::string_view text, Pace& pace) {
  if (text == "line") {
    pace = Pace::line;
  } else if (text == "reply") {
    pace = Pace::reply;
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options,
                     std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    std::optional<std::string> inline_value;
    if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
      inline_value = std::string(arg.substr(eq + 1));
      arg = arg.substr(0, eq);
    }

    if (arg == "--help" || arg == "-h" || arg == "--quiet" || arg == "--version") {
      // "--quiet=0" must not pass for "--quiet".
      if (inline_value) {
        error = std::string(arg) + " takes no value";
        return false;
      }
      (arg == "--quiet"     ? options.quiet
       : arg == "--version" ? options.program_version
                            : options.help) = true;
      continue;
    }

    // Known first, so that "--bogus" is not said to lack a value.
    if (std::find(std::begin(kValuedOptions), std::end(kValuedOptions), arg) ==
        std::end(kValuedOptions)) {
      error = "unknown option " + std::string(arg);
      return false;
    }
    std::string value;
    if (inline_value) {
      value = *inline_value;
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      error = "missing value after " + std::string(arg);
      return false;
    }

    bool ok = true;
    if (arg == "--link") {
      ok = !value.empty();
      options.link_path = value;
    } else if (arg == "--fault") {
      if (!ApplyFaultToken(value, options.faults, error)) return false;
    } else if (arg == "--module-version") {
      ok = ParseVersion(value, options.version);
    } else if (arg == "--rpm-program-ms") {
      ok = ParseDuration(value, options.engine.rpm_program_ms);
    } else if (arg == "--map-program-ms") {
      ok = ParseDuration(value, options.engine.map_program_ms);
    } else if (arg == "--pace") {
      ok = ParsePace(value, options.pace);
    } else {  // --seed
      ok = ParseWhole(std::string_view(value), std::uint32_t{0xFFFFFFFF}, options.engine.seed);
    }
    if (!ok) {
      error = "bad value for " + std::string(arg) + ": '" + value + "'";
      return false;
    }
  }
  return true;
}

std::string SimUsage() {
  return "usage: zelk-sim [options]\n"
         "Serves a simulated Zelk module on a pseudo-terminal and prints the path to open.\n"
         "\n"
         "  --link PATH            symlink to the pty (default: $XDG_RUNTIME_DIR/zelk-sim,\n"
         "                         or /tmp/zelk-sim-<uid>)\n"
         "  --fault NAME[=N]       misbehave; repeatable. NAME is one of:\n"
         "                           silent, no-reply-first=N, bad-check, truncated,\n"
         "                           short, garbage-before, oversize, split-pause=MS,\n"
         "                           late-bytes, hangup-after=N, extra-delay=MS, random=P\n"
         "                         random=P answers each request, with probability P\n"
         "                         (0 to 1), with one of silent, bad-check, garbage-before,\n"
         "                         short, drawn from --seed and the request number; each\n"
         "                         one is logged with its request number unless --quiet\n"
         "  --module-version MAJOR.MINOR\n"
         "                         version the module reports (default 2.10)\n"
         "  --rpm-program-ms MS    length of the RPM/lambda program (default 4000)\n"
         "  --map-program-ms MS    length of the MAP program (default 6000)\n"
         "  --seed N               seed of the engine's jitter and random faults (default 1)\n"
         "  --pace line|reply      line: each reply byte when it would arrive at 19200 baud\n"
         "                         (default); reply: each reply in one write when its last\n"
         "                         byte would arrive, so a busy host cannot split it\n"
         "  --quiet                do not log requests and late replies on stderr\n"
         "  --help                 show this text\n"
         "  --version              show the program's version\n"
         "\n"
         "After a hang-up (hangup-after) the pty is closed and the program exits.\n"
         "SIGINT, SIGTERM and SIGHUP remove the link and exit.\n";
}

}  // namespace zelk::sim
