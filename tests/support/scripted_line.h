// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A SerialLine that plays back scripted read results and records every call,
// so the link's exact sequence of port operations can be asserted.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "link/frame_link.h"
#include "link/serial_line.h"

namespace zelk::testing {

using Bytes = std::vector<std::uint8_t>;

enum class Call { set_timeouts, write, read, purge_output, purge_input, close };

struct ScriptedIo {
  Bytes bytes;
  LineError error = LineError::none;
};

// Shared between the test and the lines it hands out.
struct LineScript {
  std::deque<ScriptedIo> reads;        // played in order; when empty a read is silent
  std::deque<LineError> write_errors;  // played in order; when empty writes succeed
  std::vector<std::string> calls;      // "open <name>" and "line<N>.<call>", N counting from 1
  std::vector<Bytes> written;
  std::vector<std::size_t> read_capacities;
  std::vector<std::string> opened_names;
  int lines_opened = 0;
  OpenError fail_open = OpenError::none;  // the next opens fail so

  void Reply(Bytes bytes) { reads.push_back({std::move(bytes), LineError::none}); }
  void Silence() { reads.push_back({}); }
  void Fail(LineError error) { reads.push_back({{}, error}); }
};

inline const char* CallName(Call call) {
  switch (call) {
    case Call::set_timeouts:
      return "set_timeouts";
    case Call::write:
      return "write";
    case Call::read:
      return "read";
    case Call::purge_output:
      return "purge_output";
    case Call::purge_input:
      return "purge_input";
    case Call::close:
      return "close";
  }
  return "?";
}

class ScriptedLine : public SerialLine {
 public:
  ScriptedLine(std::shared_ptr<LineScript> script, int id) : script_(std::move(script)), id_(id) {}

  void SetTimeouts(const CommTimeouts&) override { Log(Call::set_timeouts); }
  IoResult Write(const std::uint8_t* data, std::size_t count) override {
    Log(Call::write);
    script_->written.emplace_back(data, data + count);
    IoResult result{count, LineError::none};
    if (!script_->write_errors.empty()) {
      result.error = script_->write_errors.front();
      script_->write_errors.pop_front();
      if (result.error != LineError::none) result.bytes = 0;
    }
    return result;
  }
  IoResult Read(std::uint8_t* data, std::size_t capacity) override {
    Log(Call::read);
    script_->read_capacities.push_back(capacity);
    if (script_->reads.empty()) return {};
    ScriptedIo next = std::move(script_->reads.front());
    script_->reads.pop_front();
    const std::size_t n = std::min(next.bytes.size(), capacity);
    std::copy_n(next.bytes.begin(), n, data);
    return {n, next.error};
  }
  void PurgeOutput() override { Log(Call::purge_output); }
  void PurgeInput() override { Log(Call::purge_input); }
  void Close() override { Log(Call::close); }

 private:
  void Log(Call call) {
    script_->calls.push_back("line" + std::to_string(id_) + "." + CallName(call));
  }

  std::shared_ptr<LineScript> script_;
  int id_;
};

// An opener handing out ScriptedLines that share `script`.
inline LineOpener ScriptedOpener(std::shared_ptr<LineScript> script) {
  return [script](const std::string& name) {
    script->opened_names.push_back(name);
    script->calls.push_back("open " + name);
    OpenResult result;
    if (script->fail_open != OpenError::none) {
      result.error = script->fail_open;
      result.detail = "scripted failure";
      return result;
    }
    result.line = std::make_unique<ScriptedLine>(script, ++script->lines_opened);
    return result;
  };
}

}  // namespace zelk::testing
