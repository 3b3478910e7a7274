// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/watched_line.h"

#include <utility>

namespace zelk {

WatchedLine::WatchedLine(std::unique_ptr<SerialLine> line, std::function<void()> after_io)
    : line_(std::move(line)), after_io_(std::move(after_io)) {}

IoResult WatchedLine::Write(const std::uint8_t* data, std::size_t count) {
  const IoResult result = line_->Write(data, count);
  after_io_();
  return result;
}

IoResult WatchedLine::Read(std::uint8_t* data, std::size_t capacity) {
  const IoResult result = line_->Read(data, capacity);
  after_io_();
  return result;
}

LineOpener WatchedOpener(LineOpener opener, std::function<void()> after_io) {
  if (!opener) return opener;  // the link says itself that it has no way to open a port
  return [opener = std::move(opener), after_io = std::move(after_io)](const std::string& name) {
    OpenResult result = opener(name);
    if (result.line) result.line = std::make_unique<WatchedLine>(std::move(result.line), after_io);
    return result;
  };
}

}  // namespace zelk
