// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/commands.h"

#include <algorithm>
#include <array>
#include <exception>
#include <optional>

#include "cli/detect_command.h"
#include "cli/hex_text.h"
#include "cli/raw_request.h"
#include "link/port_list.h"
#include "session/program_version.h"
#include "text/terminal_text.h"

namespace zelk::cli {

int RunPorts(const std::vector<std::string>& ports, std::ostream& out) {
  for (const std::string& port : ports) out << port << '\n';
  out.flush();
  return kExitOk;
}

int RunVersion(Session& session, std::ostream& out, std::ostream& err) {
  const Result<ModuleVersion> asked = session.ReadVersion();
  if (!asked.ok()) {
    err << kCommunicationFailText << '\n';
    return kExitCommunication;
  }
  const auto& version = asked.value.numbers;
  out << unsigned{version[0]} << '.' << unsigned{version[1]} << '\n';
  return kExitOk;
}

namespace {

enum class LineRead { line, too_long, end, failed };

// The next byte of the input, EOF at its end; nullopt when it cannot be read
// (standard input a folder, a terminal gone): the stream buffer of a file
// throws then.
std::optional<int> NextByte(std::streambuf& source) {
  try {
    return source.sbumpc();
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

// One line of at most kMaxRawLine bytes. A longer one is read to its end and
// dropped, so no input line is ever held whole.
LineRead ReadRawLine(std::istream& in, std::string& text) {
  text.clear();
  std::streambuf* source = in.rdbuf();
  if (source == nullptr) return LineRead::end;
  bool any = false;
  bool too_long = false;
  for (;;) {
    const std::optional<int> next = NextByte(*source);
    if (!next) return LineRead::failed;
    const int c = *next;
    if (c == std::char_traits<char>::eof()) {
      if (!any) return LineRead::end;
      break;
    }
    any = true;
    if (c == '\n') break;
    if (text.size() < kMaxRawLine) {
      text.push_back(static_cast<char>(c));
    } else {
      too_long = true;
    }
  }
  return too_long ? LineRead::too_long : LineRead::line;
}

}  // namespace

int RunRaw(Session& session, std::istream& in, std::ostream& out, std::ostream& err) {
  bool any_failed = false;
  bool any_bad = false;
  std::string text;
  for (std::size_t number = 1;; ++number) {
    const LineRead read = ReadRawLine(in, text);
    if (read == LineRead::end) break;
    if (read == LineRead::failed) {
      err << "zelkctl: line " << number << ": the input cannot be read; stopped\n";
      return kExitUsage;
    }
    const RawLine line = read == LineRead::too_long ? RawLine{RawLineKind::bad, {}, "line too long"}
                                                    : ParseRawLine(text);
    if (line.kind == RawLineKind::skip) continue;
    if (line.kind == RawLineKind::bad) {
      err << "zelkctl: line " << number << ": " << TerminalSafe(line.error) << " (skipped)\n";
      any_bad = true;
      continue;
    }
    // A device error closed the port: every further request would fail.
    if (!session.connected()) {
      err << "zelkctl: line " << number << ": the port was closed by a device error; stopped\n"
          << kCommunicationFailText << '\n';
      return kExitCommunication;
    }
    // The reply may be up to 97 bytes whatever was asked: room for all of it.
    std::array<std::uint8_t, kFrameBufferSize> buffer{};
    const RawRequest& request = line.request;
    std::copy(request.payload.begin(), request.payload.end(), buffer.begin());
    const Result<std::size_t> exchanged =
        session.Exchange(request.command, request.address, request.count, buffer);
    if (exchanged.ok()) {
      out << "ok";
      if (exchanged.value > 0) out << ' ' << HexPairs(std::span(buffer.data(), exchanged.value));
      out << '\n';
    } else {
      out << "fail\n";
      any_failed = true;
    }
    out.flush();
    // Nobody can read the results any more: send nothing further.
    if (!out) {
      err << "zelkctl: cannot write the results; stopped at line " << number << '\n';
      return kExitUsage;
    }
  }
  if (any_failed) {
    err << kCommunicationFailText << '\n';
    return kExitCommunication;
  }
  return any_bad ? kExitUsage : kExitOk;
}

bool OpenPortOrSay(Session& session, const std::string& port, std::ostream& err) {
  const Outcome opened = session.Open(port);
  if (opened.ok()) return true;
  err << kInvalidPortText << ": " << TerminalSafe(port) << ": " << DescribeFailure(opened.failure);
  if (opened.failure == Failure::open_failed && !opened.detail.empty())
    err << " (" << TerminalSafe(opened.detail) << ')';
  err << '\n';
  return false;
}

int RunProgramVersion(std::ostream& out) {
  out << kProgramVersion << '\n';
  out.flush();
  return kExitOk;
}

int PortsCommand(CommandContext& context, const std::vector<std::string>& operands) {
  if (!NoOperands(context, operands)) return kExitUsage;
  return RunPorts(ListSerialPorts(), context.out);
}

int VersionCommand(CommandContext& context, const std::vector<std::string>& operands) {
  const std::optional<bool> json_flag = JsonFlagOnly(context, operands);
  if (!json_flag) return kExitUsage;
  const bool json = *json_flag;
  Session* session = context.OpenSession();
  if (session == nullptr) return kExitUsage;
  return json ? RunVersionJson(*session, context.out, context.err)
              : RunVersion(*session, context.out, context.err);
}

int RawCommand(CommandContext& context, const std::vector<std::string>& operands) {
  if (!NoOperands(context, operands)) return kExitUsage;
  Session* session = context.OpenSession();
  if (session == nullptr) return kExitUsage;
  return RunRaw(*session, context.in, context.out, context.err);
}

}  // namespace zelk::cli
