// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/pty_link.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace zelk::sim {

namespace {

constexpr std::string_view kPtyDir = "/dev/pts/";

bool ReadLink(const std::string& path, std::string& target) {
  std::vector<char> buf(4096);
  const ssize_t n = readlink(path.c_str(), buf.data(), buf.size());
  if (n < 0 || static_cast<std::size_t>(n) >= buf.size()) return false;
  target.assign(buf.data(), static_cast<std::size_t>(n));
  return true;
}

}  // namespace

std::string DefaultLinkPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  struct stat st {};
  if (runtime != nullptr && runtime[0] != '\0' && stat(runtime, &st) == 0 && S_ISDIR(st.st_mode)) {
    return std::string(runtime) + "/zelk-sim";
  }
  return "/tmp/zelk-sim-" + std::to_string(getuid());
}

bool CreatePtyLink(const std::string& target, const std::string& link_path, std::string& error) {
  struct stat st {};
  if (lstat(link_path.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      error = link_path + " exists and is not a symlink; not replacing it";
      return false;
    }
    // Only the leftover of a simulator that was killed goes: a link to a
    // pseudo-terminal that no longer exists. Any other link may matter to
    // someone (a typo as root could name a system link).
    std::string old_target;
    struct stat pointed {};
    const bool stale = ReadLink(link_path, old_target) && old_target.starts_with(kPtyDir) &&
                       stat(old_target.c_str(), &pointed) != 0 && errno == ENOENT;
    if (!stale) {
      error = link_path + " is a symlink that is not a stale zelk-sim link; not replacing it";
      return false;
    }
    if (unlink(link_path.c_str()) != 0) {
      error = "cannot remove the old link " + link_path + ": " + std::strerror(errno);
      return false;
    }
  }
  if (symlink(target.c_str(), link_path.c_str()) != 0) {
    error = "cannot create " + link_path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

void RemovePtyLink(const std::string& target, const std::string& link_path) {
  std::string current;
  if (ReadLink(link_path, current) && current == target) unlink(link_path.c_str());
}

}  // namespace zelk::sim
