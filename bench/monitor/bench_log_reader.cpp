// SPDX-License-Identifier: GPL-3.0-or-later
// bench_log_reader: how fast a long live log opens, and what it holds in memory.
//
//  * a day at the window's 500 ms poll (172,800 rows, about 17 MB);
//  * an hour at the link's floor (35 polls a second, 126,000 rows).
// Each is written into a temporary file as the live log writes it (a fail row
// now and then, a marker every ten minutes), then read back: the time to read
// the file's bytes alone, the time of ReadLog (the reader the log review
// window and zelkctl log-summary use), best and median of the runs, and the
// bytes a row of the LogData it gives holds (heap in use and resident memory,
// before and after, over the rows). Targets: open under 0.5 s, under 200
// bytes a row.
//
// Usage: bench_log_reader [RUNS]   (default 5)

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "monitor/live_log.h"
#include "monitor/log_reader.h"
#include "settings/regular_file.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// A drive: the bytes of the poll block wander like an engine's values.
std::string MakeLog(std::size_t rows, std::chrono::microseconds interval) {
  std::mt19937 random(12345);
  std::string text = zelk::LiveLogHeader() + "\n";
  text.reserve(rows * 110);
  const auto wall_start = std::chrono::sys_days{std::chrono::year{2026} / 12 / 11};
  zelk::LiveBlock block{0x50, 0xc3, 0xe2, 0x04, 0x00, 0x46, 0x00, 0x80, 0x64, 0x3c};
  const std::size_t marker_every = static_cast<std::size_t>(std::chrono::minutes(10) / interval);
  for (std::size_t row = 0; row < rows; ++row) {
    const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(interval * row);
    const auto wall = std::chrono::system_clock::time_point(wall_start) + since;
    if (row % marker_every == marker_every / 2) {
      text += zelk::LiveLogMarkerRow(since, wall, "marker " + std::to_string(row));
      text += '\n';
    }
    for (std::uint8_t& byte : block) byte = static_cast<std::uint8_t>(byte + random() % 5 - 2);
    if (random() % 100 == 0) {
      text += zelk::LiveLogRow(since, wall, nullptr);
    } else {
      const zelk::LiveSample sample = zelk::DecodePollSample(block, 1);
      text += zelk::LiveLogRow(since, wall, &sample);
    }
    text += '\n';
  }
  return text;
}

// The file's bytes alone, in the chunks the reader takes.
std::size_t ReadBytes(const std::filesystem::path& path) {
  zelk::RegularFile file;
  std::error_code error;
  if (file.Open(path, zelk::FileUse::read, error) != zelk::FileRefusal::none) return 0;
  std::vector<char> chunk(1 << 16);
  std::size_t total = 0;
  for (long long got; (got = file.Read(chunk.data(), chunk.size())) > 0;)
    total += static_cast<std::size_t>(got);
  return total;
}

long ResidentBytes() {
  long pages_total = 0, pages_resident = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (!statm) return -1;
  const int read = std::fscanf(statm, "%ld %ld", &pages_total, &pages_resident);
  std::fclose(statm);
  return read == 2 ? pages_resident * sysconf(_SC_PAGESIZE) : -1;
}

struct Figures {
  double best = 0;
  double median = 0;
};

Figures Summarize(std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  return {ms.front(), ms[ms.size() / 2]};
}

bool Bench(const char* name, std::size_t rows, std::chrono::microseconds interval, int runs) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("bench_log_reader_" + std::to_string(getpid()) + "_" + std::to_string(rows) + ".csv");
  {
    const std::string text = MakeLog(rows, interval);
    std::ofstream(path, std::ios::binary) << text;
  }
  const auto size = std::filesystem::file_size(path);

  std::vector<double> read_ms, parse_ms;
  std::size_t kept_rows = 0, markers = 0;
  long heap_per_row = 0, resident_per_row = 0;
  for (int run = 0; run < runs; ++run) {
    auto start = Clock::now();
    if (ReadBytes(path) != size) {
      std::fprintf(stderr, "bench_log_reader: cannot read %s\n", path.string().c_str());
      return false;
    }
    read_ms.push_back(Ms(Clock::now() - start));

    malloc_trim(0);
    const std::size_t heap_before = mallinfo2().uordblks;
    const long resident_before = ResidentBytes();
    start = Clock::now();
    std::string error;
    const std::optional<zelk::LogData> log = zelk::ReadLog(path, error);
    parse_ms.push_back(Ms(Clock::now() - start));
    if (!log) {
      std::fprintf(stderr, "bench_log_reader: %s\n", error.c_str());
      return false;
    }
    kept_rows = log->rows();
    markers = log->markers.size();
    heap_per_row =
        static_cast<long>(mallinfo2().uordblks - heap_before) / static_cast<long>(kept_rows);
    resident_per_row = (ResidentBytes() - resident_before) / static_cast<long>(kept_rows);
  }
  std::filesystem::remove(path);

  const Figures read = Summarize(read_ms);
  const Figures parse = Summarize(parse_ms);
  std::printf(
      "%s: %zu rows, %zu markers, %.1f MB (%.0f bytes a row)\n"
      "  read the bytes alone  best %7.1f ms  median %7.1f ms\n"
      "  ReadLog               best %7.1f ms  median %7.1f ms   (target under 500 ms)\n"
      "  held: %ld bytes a row of heap, %ld bytes a row resident (last run; target under 200)\n",
      name, kept_rows, markers, static_cast<double>(size) / 1e6,
      static_cast<double>(size) / static_cast<double>(rows), read.best, read.median, parse.best,
      parse.median, heap_per_row, resident_per_row);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::printf("bench_log_reader: %d runs each, page cache warm\n", runs);
  bool ok = Bench("a day at 500 ms", 172'800, std::chrono::milliseconds(500), runs);
  // The link's floor: one poll exchange takes about 28.6 ms (35 polls a second).
  ok = Bench("an hour at the link's floor", 126'000, std::chrono::microseconds(28'571), runs) && ok;
  return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
