// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/detect_command.h"

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli/hex_text.h"
#include "cli/stop_signal.h"
#include "link/port_list.h"
#include "session/module_version.h"
#include "text/terminal_text.h"

namespace zelk::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kAnswered = "answered";
constexpr std::string_view kNoAnswer = "no answer";
constexpr std::string_view kNotOpened = "not opened";
constexpr std::string_view kCancelled = "not asked (stopped)";

std::string_view VerdictName(ProbeVerdict verdict) {
  switch (verdict) {
    case ProbeVerdict::answered:
      return kAnswered;
    case ProbeVerdict::no_answer:
      return kNoAnswer;
    case ProbeVerdict::not_opened:
      return kNotOpened;
    case ProbeVerdict::cancelled:
      break;
  }
  return kCancelled;
}

// Why a port that opened gave no usable answer; nothing to add for silence.
std::string NoAnswerReason(Failure failure) {
  switch (failure) {
    case Failure::bad_check:
      return "a reply with a wrong check byte";
    case Failure::short_reply:
      return "a reply too short to hold a version";
    case Failure::port_gone:
      return "the device went away";
    default:
      return {};
  }
}

std::string ReasonOf(const PortProbe& probe) {
  switch (probe.verdict) {
    case ProbeVerdict::no_answer:
      return NoAnswerReason(probe.version.failure);
    case ProbeVerdict::not_opened:
      return DescribeFailure(probe.version.failure);
    default:
      return {};
  }
}

// JSON wants valid UTF-8; a port name is shown the way the terminal gets it.
Json ProbeJson(const PortProbe& probe) {
  Json entry;
  entry["port"] = TerminalSafe(probe.port);
  entry["result"] = VerdictName(probe.verdict);
  if (probe.verdict == ProbeVerdict::answered) {
    entry["version"] = ModuleVersionText(probe.version.value);
  } else if (const std::string reason = ReasonOf(probe); !reason.empty()) {
    entry["reason"] = reason;
  }
  return entry;
}

}  // namespace

std::string ProbeText(const PortProbe& probe) {
  switch (probe.verdict) {
    case ProbeVerdict::answered:
      return std::string(kAnswered) + ' ' + ModuleVersionText(probe.version.value);
    case ProbeVerdict::no_answer: {
      const std::string reason = ReasonOf(probe);
      return reason.empty() ? std::string(kNoAnswer) : std::string(kNoAnswer) + " (" + reason + ')';
    }
    case ProbeVerdict::not_opened:
      return ReasonOf(probe);
    case ProbeVerdict::cancelled:
      break;
  }
  return std::string(kCancelled);
}

int PrintProbes(const std::vector<PortProbe>& probes, bool json, std::ostream& out) {
  if (json) {
    Json all = Json::array();
    for (const PortProbe& probe : probes) all.push_back(ProbeJson(probe));
    out << all.dump(2) << '\n';
  } else {
    for (const PortProbe& probe : probes) {
      out << TerminalSafe(probe.port) << ": " << ProbeText(probe) << '\n';
    }
  }
  out.flush();
  return FirstAnswered(probes) ? kExitOk : kExitCommunication;
}

int RunDetect(const std::vector<std::string>& ports, bool json, const LineOpener& opener,
              const std::function<bool()>& stop, std::ostream& out, std::ostream& err) {
  const std::vector<std::string> asked = ports.empty() ? ListSerialPorts() : ports;
  if (asked.empty()) {
    err << "zelkctl: this computer lists no serial ports; name one: zelkctl detect PORT\n";
    return kExitCommunication;
  }
  const int status = PrintProbes(FindModule(asked, opener, stop), json, out);
  if (stop && stop()) {
    err << "zelkctl: stopped\n";
    return kExitCommunication;
  }
  return status;
}

int RunVersionJson(Session& session, std::ostream& out, std::ostream& err) {
  const Result<ModuleVersion> asked = session.ReadVersion();
  if (!asked.ok()) {
    err << kCommunicationFailText << '\n';
    return kExitCommunication;
  }
  const ModuleVersion& version = asked.value;
  Json answer;
  answer["version"] = ModuleVersionText(version);
  answer["major"] = version.numbers[0];
  answer["minor"] = version.numbers[1];
  out << answer.dump() << '\n';
  return kExitOk;
}

int DetectCommand(CommandContext& context, const std::vector<std::string>& operands) {
  bool json = false;
  std::vector<std::string> ports;
  for (const std::string& operand : operands) {
    if (operand == "--json") {
      json = true;
    } else if (operand.size() > 1 && operand.starts_with('-')) {
      return UsageError(context, "detect: unknown option '" + Excerpt(operand) + "'");
    } else {
      ports.push_back(operand);
    }
  }
  if (ports.size() > kMaxDetectPorts) {
    return UsageError(context, "detect: at most " + std::to_string(kMaxDetectPorts) +
                                   " ports at once (" + std::to_string(ports.size()) + " given)");
  }
  // A stop lets every port finish its exchange and be closed properly.
  InstallStopSignals();
  return RunDetect(ports, json, OpenPlatformSerialLine, StopRequested, context.out, context.err);
}

}  // namespace zelk::cli
