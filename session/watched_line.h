// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A SerialLine that reports after every write and read, so the session can
// tell, while an exchange is still running, that it has taken long.

#include <functional>
#include <memory>

#include "link/frame_link.h"
#include "link/serial_line.h"

namespace zelk {

class WatchedLine : public SerialLine {
 public:
  WatchedLine(std::unique_ptr<SerialLine> line, std::function<void()> after_io);

  void SetTimeouts(const CommTimeouts& timeouts) override { line_->SetTimeouts(timeouts); }
  IoResult Write(const std::uint8_t* data, std::size_t count) override;
  IoResult Read(std::uint8_t* data, std::size_t capacity) override;
  void PurgeOutput() override { line_->PurgeOutput(); }
  void PurgeInput() override { line_->PurgeInput(); }
  void Close() override { line_->Close(); }

 private:
  std::unique_ptr<SerialLine> line_;
  std::function<void()> after_io_;
};

// `opener`, with every line it opens watched by `after_io`.
LineOpener WatchedOpener(LineOpener opener, std::function<void()> after_io);

}  // namespace zelk
