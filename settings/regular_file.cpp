// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/regular_file.h"

#include <utility>

#include "text/fill.h"
#include "text/translatable.h"

namespace zelk {

std::string NotARegularFileMessage(const std::filesystem::path& path, FileRefusal refusal) {
  return Fill(refusal == FileRefusal::folder
                  ? QT_TRANSLATE_NOOP("SettingsFile", "%1: is a folder")
                  : QT_TRANSLATE_NOOP("SettingsFile", "%1: is not a regular file"),
              {Utf8PathText(path)});
}

RegularFile::~RegularFile() {
  Close();
}

RegularFile::RegularFile(RegularFile&& other) noexcept {
  *this = std::move(other);
}

RegularFile& RegularFile::operator=(RegularFile&& other) noexcept {
  if (this != &other) {
    Close();
#ifdef _WIN32
    handle_ = std::exchange(other.handle_, nullptr);
#else
    fd_ = std::exchange(other.fd_, -1);
#endif
  }
  return *this;
}

RegularFileBuf::RegularFileBuf(RegularFile file) : file_(std::move(file)) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

RegularFileBuf::~RegularFileBuf() {
  Close();
}

bool RegularFileBuf::Drain() {
  const auto pending = static_cast<std::size_t>(pptr() - pbase());
  if (pending > 0 && !failed_) failed_ = !file_.WriteAll(pbase(), pending);
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return !failed_;
}

RegularFileBuf::int_type RegularFileBuf::overflow(int_type ch) {
  if (!Drain()) return traits_type::eof();
  if (!traits_type::eq_int_type(ch, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(ch);
    pbump(1);
  }
  return traits_type::not_eof(ch);
}

int RegularFileBuf::sync() {
  return Drain() ? 0 : -1;
}

bool RegularFileBuf::Close() {
  if (!file_.is_open()) return !failed_;
  const bool drained = Drain();
  return file_.Close() && drained;
}

}  // namespace zelk
