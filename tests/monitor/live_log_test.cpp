// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live_log.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <locale>
#include <random>
#include <sstream>
#include <streambuf>

#include "monitor/csv_cells.h"

namespace zelk {
namespace {

using namespace std::chrono_literals;

// Period 50000, injection 1250, correction 70, temperature 128, MAP 100, lambda 60.
constexpr LiveBlock kIdling{0x50, 0xc3, 0xe2, 0x04, 0x00, 0x46, 0x00, 0x80, 0x64, 0x3c};
constexpr const char* kHeader =
    "time_s,wall_clock,rpm,injection_ms,correction_pct,temperature_c,map_v,lambda_mv,status,raw,"
    "marker";

// 2026-12-09T10:15:00.123Z
const std::chrono::system_clock::time_point kWall =
    std::chrono::sys_days{std::chrono::year{2026} / 12 / 9} + 10h + 15min + 123ms;

// Clocks a test moves by hand.
struct HandClocks {
  std::chrono::steady_clock::time_point monotonic{1000s};
  std::chrono::system_clock::time_point wall = kWall;

  LogClocks clocks() {
    return {[this] { return monotonic; }, [this] { return wall; }};
  }
  void Advance(std::chrono::milliseconds step) {
    monotonic += step;
    wall += step;
  }
};

// A decimal comma for every stream and for the C library, as a German desktop has.
struct CommaNumbers : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

class CommaLocale {
 public:
  CommaLocale() : previous_(std::locale::global(std::locale(std::locale(), new CommaNumbers))) {
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // where installed: printf's comma too
  }
  ~CommaLocale() {
    std::locale::global(previous_);
    std::setlocale(LC_NUMERIC, "C");
  }

 private:
  std::locale previous_;
};

TEST(LiveLog, HeaderAndTheExampleRow) {
  EXPECT_EQ(LiveLogHeader(), kHeader);
  const LiveSample sample = DecodePollSample(kIdling, 1);
  EXPECT_EQ(LiveLogRow(0ms, kWall, &sample),
            "0.000,2026-12-09T10:15:00.123Z,750,1,109,21,0.9803921569,1176,ok,"
            "50c3e20400460080643c,");
}

TEST(LiveLog, RowsKeepTheDotInACommaLocale) {
  CommaLocale comma;
  std::ostringstream out;  // imbued with the comma locale: the writer must not use it
  HandClocks hand;
  LiveLogWriter log(out, hand.clocks());
  hand.Advance(1234ms);
  LiveBlock block = kIdling;
  block[0] = 0x4c;  // period 49996: an RPM with decimals
  log.WriteSample(DecodePollSample(block, 2));
  EXPECT_EQ(out.str(), std::string(kHeader) +
                           "\n1.234,2026-12-09T10:15:01.357Z,375.0300024,1,109,21,"
                           "0.9803921569,1176,ok,4cc3e20400460080643c,\n");
}

TEST(LiveLog, EmptyCellsForWhatCannotBeComputed) {
  const LiveBlock stopped{0x00, 0x00, 0x00, 0x00, 0x00, 0x40, 0x00, 0x80, 0x00, 0xff};
  const LiveSample no_period = DecodePollSample(stopped, 1);
  EXPECT_EQ(LiveLogRow(5ms, kWall, &no_period),
            "0.005,2026-12-09T10:15:00.123Z,,0,100,21,0,5000,ok,000000000040008000ff,");
  const LiveSample no_factor = DecodePollSample(kIdling, std::nullopt);
  EXPECT_EQ(LiveLogRow(0ms, kWall, &no_factor).substr(30, 4), ",,1,");
  EXPECT_EQ(LiveLogRow(61001ms, kWall, nullptr), "61.001,2026-12-09T10:15:00.123Z,,,,,,,fail,,");
}

TEST(LiveLog, FailRowsAndLoggingGoesOn) {
  std::ostringstream out;
  HandClocks hand;
  LiveLogWriter log(out, hand.clocks());
  EXPECT_TRUE(log.WriteSample(DecodePollSample(kIdling, 1)));
  hand.Advance(500ms);
  EXPECT_TRUE(log.WriteFailure());
  hand.Advance(500ms);
  EXPECT_TRUE(log.WriteSample(DecodePollSample(kIdling, 1)));
  EXPECT_EQ(log.rows(), 3u);
  EXPECT_EQ(log.elapsed(), 1000ms);
  // time_s and status of each line
  std::istringstream lines(out.str());
  std::vector<std::string> seen;
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> cells;
    std::istringstream row(line);
    for (std::string cell; std::getline(row, cell, ',');) cells.push_back(cell);
    seen.push_back(cells.at(0) + " " + cells.at(8));
  }
  EXPECT_EQ(seen,
            (std::vector<std::string>{"time_s status", "0.000 ok", "0.500 fail", "1.000 ok"}));
}

// Counts flushes: a row must reach the file before the next poll.
class FlushCounter : public std::stringbuf {
 public:
  int syncs = 0;
  std::size_t bytes_at_sync = 0;

 protected:
  int sync() override {
    ++syncs;
    bytes_at_sync = str().size();
    return 0;
  }
};

TEST(LiveLog, EachRowIsFlushedWhenWritten) {
  FlushCounter buffer;
  std::ostream out(&buffer);
  HandClocks hand;
  LiveLogWriter log(out, hand.clocks());
  EXPECT_EQ(buffer.syncs, 1);  // the header
  log.WriteSample(DecodePollSample(kIdling, 1));
  EXPECT_EQ(buffer.syncs, 2);
  log.WriteFailure();
  EXPECT_EQ(buffer.syncs, 3);
  EXPECT_EQ(buffer.bytes_at_sync, buffer.str().size());
}

TEST(LiveLog, FileHoldsEveryRowWhileItIsStillOpen) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("live_log_test_" + std::to_string(std::random_device{}()) + ".csv");
  std::string error;
  HandClocks hand;
  std::unique_ptr<LiveLogFile> log = LiveLogFile::Open(path, error, hand.clocks());
  ASSERT_TRUE(log) << error;
  log->writer().WriteSample(DecodePollSample(kIdling, 1));
  log->writer().WriteFailure();
  // Read by another reader while the log stays open, as after a crash.
  std::ifstream reader(path, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(reader)),
                         std::istreambuf_iterator<char>());
  reader.close();  // Windows removes no file that is open
  EXPECT_EQ(text, std::string(kHeader) +
                      "\n0.000,2026-12-09T10:15:00.123Z,750,1,109,21,0.9803921569,1176,ok,"
                      "50c3e20400460080643c,\n0.000,2026-12-09T10:15:00.123Z,,,,,,,fail,,\n");
  EXPECT_TRUE(log->Close());
  std::filesystem::remove(path);
}

TEST(LiveLog, FilesThatCannotBeWritten) {
  std::string error;
  const std::filesystem::path missing =
      std::filesystem::temp_directory_path() / "no-such-folder-live-log" / "log.csv";
  EXPECT_FALSE(LiveLogFile::Open(missing, error));
  EXPECT_EQ(error.rfind("cannot open " + missing.string(), 0), 0u) << error;
  EXPECT_FALSE(std::filesystem::exists(missing.parent_path()));
}

#ifndef _WIN32
// A log goes to a regular file only: a FIFO with no reader (an open that
// waited would hang here), a device, a folder are refused by name.
TEST(LiveLog, OnlyARegularFileTakesALog) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("live_log_fifo_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(dir);
  const std::filesystem::path fifo = dir / "log.csv";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const struct {
    std::filesystem::path path;
    const char* says;
  } cases[] = {
      {fifo, ": is not a regular file"},
      {"/dev/null", ": is not a regular file"},
      {"/dev/full", ": is not a regular file"},
      {dir, ": is a folder"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(LiveLogFile::Open(c.path, error)) << c.path;
    EXPECT_EQ(error, c.path.string() + c.says);
  }
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  std::filesystem::remove_all(dir);
}
#endif

TEST(LiveLog, AStreamThatRefusedStaysRefused) {
  std::ostringstream out;
  LiveLogWriter log(out);
  out.setstate(std::ios::badbit);
  EXPECT_FALSE(log.WriteSample(DecodePollSample(kIdling, 1)));
  out.clear();
  EXPECT_FALSE(log.WriteFailure()) << "a later row would hide the lost one";
  EXPECT_EQ(log.rows(), 0u);
}

TEST(CsvCells, Numbers) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {0, "0"},         {-0.0, "0"},
      {750, "750"},     {0.1, "0.1"},
      {1e-4, "0.0001"}, {37500000, "37500000"},
      {2.5, "2.5"},     {1.0 / 3, "0.3333333333333333"},
      {-40, "-40"},     {0.0008, "0.0008"},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberCell(c.value), c.text) << c.value;
  EXPECT_EQ(NumberCell(std::numeric_limits<double>::quiet_NaN()), "");
  EXPECT_EQ(NumberCell(std::numeric_limits<double>::infinity()), "");
  EXPECT_EQ(NumberCell(1e300).size(), 301u);
}

// The log's numbers: 10 significant digits at most, so no binary noise.
TEST(CsvCells, LogNumbers) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {3.1192000000000002, "3.1192"},
      {0.9803921568627451, "0.9803921569"},
      {2.5, "2.5"},
      {375.03000240019196, "375.0300024"},
      {18750000, "18750000"},
      {0.0008, "0.0008"},
      {-40, "-40"},
      {1.0 / 3, "0.3333333333"},
      {9.99999999999, "10"},  // rounding carries into a new digit
      {0.00001234567891234, "0.00001234567891"},
      {123456789012345.0, "123456789000000"},
      {-0.1, "-0.1"},
  };
  for (const Case& c : cases) EXPECT_EQ(LogNumberCell(c.value), c.text) << c.value;
  EXPECT_EQ(LogNumberCell(std::numeric_limits<double>::quiet_NaN()), "");
  EXPECT_EQ(LogNumberCell(-std::numeric_limits<double>::infinity()), "");
}

TEST(LiveLog, MarkersAreRowsOfTheirOwn) {
  std::ostringstream out;
  HandClocks hand;
  LiveLogWriter log(out, hand.clocks());
  hand.Advance(731ms);
  EXPECT_TRUE(log.WriteMarker("cold start, \"choke\" pulled\r\n"));
  EXPECT_TRUE(log.WriteMarker(""));
  EXPECT_EQ(log.rows(), 0u);
  EXPECT_EQ(log.markers(), 2u);
  EXPECT_EQ(out.str(), std::string(kHeader) +
                           "\n0.731,2026-12-09T10:15:00.854Z,,,,,,,mark,,\"cold start, "
                           "\"\"choke\"\" pulled\"\n"
                           "0.731,2026-12-09T10:15:00.854Z,,,,,,,mark,,\"\"\n");
  EXPECT_EQ(LiveLogMarkerRow(0ms, kWall, std::string(500, 'x')).size(),
            std::string("0.000,2026-12-09T10:15:00.123Z,,,,,,,mark,,\"\"").size() + 200);
}

TEST(CsvCells, TimesAndHex) {
  EXPECT_EQ(SecondsCell(0ms), "0.000");
  EXPECT_EQ(SecondsCell(999ms), "0.999");
  EXPECT_EQ(SecondsCell(3600001ms), "3600.001");
  EXPECT_EQ(UtcCell(std::chrono::system_clock::time_point{}), "1970-01-01T00:00:00.000Z");
  EXPECT_EQ(
      UtcCell(std::chrono::sys_days{std::chrono::year{2028} / 2 / 29} + 23h + 59min + 59s + 999ms),
      "2028-02-29T23:59:59.999Z");
  EXPECT_EQ(HexCell(std::vector<std::uint8_t>{0x00, 0x0f, 0xa0, 0xff}), "000fa0ff");
}

}  // namespace
}  // namespace zelk
