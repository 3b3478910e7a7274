// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/log_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <streambuf>

#include "monitor/live_log.h"
#include "monitor/marker_text.h"

namespace zelk {
namespace {

using namespace std::chrono_literals;

constexpr const char* kTodayHeader =
    "time_s,wall_clock,rpm,injection_ms,correction_pct,temperature_c,map_v,lambda_mv,status,raw\n";
constexpr const char* kMarkerHeader =
    "time_s,wall_clock,rpm,injection_ms,correction_pct,temperature_c,map_v,lambda_mv,status,raw,"
    "marker\n";
constexpr const char* kTodayOk =
    "0.000,2026-12-09T10:15:00.123Z,750,1,109,21,0.9803921568627451,1176,ok,50c3e20400460080643c\n";
constexpr const char* kTodayFail = "0.500,2026-12-09T10:15:00.623Z,,,,,,,fail,\n";
constexpr const char* kTodayOk2 =
    "1.000,2026-12-09T10:15:01.123Z,,1.5,100,-40,2.5,5000,ok,00000000000000000000\n";

// 2026-12-09T10:15:00.123Z
constexpr std::int64_t kWallMs = 1796811300123;

std::optional<LogData> Parse(const std::string& text, std::string& error) {
  std::istringstream in(text);
  return ParseLog(in, error);
}

bool Nan(double v) {
  return std::isnan(v);
}

TEST(LogReader, TodaysFormatOpensUnchanged) {
  std::string error;
  const std::optional<LogData> log =
      Parse(std::string(kTodayHeader) + kTodayOk + kTodayFail + kTodayOk2, error);
  ASSERT_TRUE(log) << error;
  EXPECT_EQ(log->rows(), 3u);
  EXPECT_FALSE(log->cut);
  EXPECT_EQ(log->time_s, (std::vector<double>{0, 0.5, 1}));
  EXPECT_EQ(log->wall_ms, (std::vector<std::int64_t>{kWallMs, kWallMs + 500, kWallMs + 1000}));
  EXPECT_EQ(log->failed, (std::vector<bool>{false, true, false}));
  EXPECT_EQ(log->column(LogValue::rpm)[0], 750);
  EXPECT_EQ(log->column(LogValue::map_v)[0], 0.9803921568627451);
  EXPECT_EQ(log->column(LogValue::lambda_mv)[0], 1176);
  for (const auto& column : log->values) EXPECT_TRUE(Nan(column[1]));
  EXPECT_TRUE(Nan(log->column(LogValue::rpm)[2]));  // an RPM that could not be computed
  EXPECT_EQ(log->column(LogValue::temperature_c)[2], -40);
  EXPECT_TRUE(log->markers.empty());
}

// What the writer writes, the reader reads: values, fail rows and markers.
TEST(LogReader, ReadsWhatTheWriterWrote) {
  std::ostringstream out;
  std::chrono::steady_clock::time_point now{100s};
  LiveLogWriter writer(
      out, {[&] { return now; }, [] { return std::chrono::system_clock::time_point{1h}; }});
  const LiveSample sample =
      DecodePollSample(LiveBlock{0x50, 0xc3, 0xe2, 0x04, 0x00, 0x46, 0x00, 0x80, 0x64, 0x3c}, 1);
  writer.WriteSample(sample);
  now += 250ms;
  writer.WriteMarker("cold start, \"choke\" pulled");
  writer.WriteFailure();
  now += 250ms;
  writer.WriteMarker("");
  writer.WriteSample(sample);
  std::string error;
  const std::optional<LogData> log = Parse(out.str(), error);
  ASSERT_TRUE(log) << error << out.str();
  EXPECT_EQ(log->rows(), 3u);
  EXPECT_EQ(log->failed, (std::vector<bool>{false, true, false}));
  EXPECT_EQ(log->time_s, (std::vector<double>{0, 0.25, 0.5}));
  EXPECT_EQ(log->wall_ms, (std::vector<std::int64_t>{3600000, 3600000, 3600000}));
  ASSERT_EQ(log->markers.size(), 2u);
  EXPECT_EQ(log->markers[0].time_s, 0.25);
  EXPECT_EQ(log->markers[0].text, "cold start, \"choke\" pulled");
  EXPECT_EQ(log->markers[1].time_s, 0.5);
  EXPECT_EQ(log->markers[1].text, "");
  EXPECT_NEAR(log->column(LogValue::map_v)[2], sample.map_v, 1e-10);  // 10 digits written
  EXPECT_EQ(log->column(LogValue::rpm)[0], 750);
}

// A crash or a full disk leaves the last line without its end; a last line
// that reads whole is a row.
TEST(LogReader, TheCutLastLine) {
  const struct {
    const char* name;
    std::string text;
    std::size_t rows;
    bool cut;
  } cases[] = {
      {"cut in the time", std::string(kTodayHeader) + kTodayOk + "0.5", 1, true},
      {"cut in the raw bytes",
       std::string(kTodayHeader) + kTodayOk + kTodayFail +
           "1.000,2026-12-09T10:15:01.123Z,750,1,109,21,0.9,1176,ok,50c",
       2, true},
      {"cut before the status", std::string(kTodayHeader) + kTodayOk + "1.000,2026-12-09T10:1", 1,
       true},
      {"zeros after a power loss", std::string(kTodayHeader) + kTodayOk + std::string(300, '\0'), 1,
       true},
      {"a megabyte without an end",
       std::string(kTodayHeader) + kTodayOk + std::string(1 << 20, 'x'), 1, true},
      {"a marker's quote not closed",
       std::string(kMarkerHeader) + "0.1,2026-12-09T10:15:00.123Z,,,,,,,mark,,\"cold st", 0, true},
      {"last row without its end",
       std::string(kTodayHeader) + kTodayOk + "0.5,2026-12-09T10:15:00.623Z,,,,,,,fail,", 2, false},
      {"header only", kTodayHeader, 0, false},
      {"header without its end",
       "time_s,wall_clock,rpm,injection_ms,correction_pct,temperature_c,"
       "map_v,lambda_mv,status,raw",
       0, false},
      {"CRLF line ends",
       "\xEF\xBB\xBFtime_s,wall_clock,rpm,injection_ms,correction_pct,"
       "temperature_c,map_v,lambda_mv,status,raw\r\n0,2026-12-09T10:15:00.123Z,"
       "750,1,109,21,0.98,1176,ok,50\r\n",
       1, false},
  };
  for (const auto& c : cases) {
    std::string error;
    const std::optional<LogData> log = Parse(c.text, error);
    ASSERT_TRUE(log) << c.name << ": " << error;
    EXPECT_EQ(log->rows(), c.rows) << c.name;
    EXPECT_EQ(log->cut, c.cut) << c.name;
  }
}

// Files that are not one of our logs, each refused naming why.
TEST(LogReader, RefusedFiles) {
  const std::string ok = kTodayOk;
  const struct {
    const char* name;
    std::string text;
    std::string error;
  } cases[] = {
      {"empty", "", "not a log of this program: it is empty"},
      {"a foreign CSV", "name,phone\nAna,555\n",
       "not a log of this program: its first line is not a log's header"},
      {"a settings file", "{\"format\": 1}\n",
       "not a log of this program: its first line is not a log's header"},
      {"binary", std::string("\x89PNG\r\n\x1a\n\0\0", 10),
       "not a log of this program: its first line is not a log's header"},
      {"a megabyte's first line", std::string(1 << 20, 'a') + "\n",
       "not a log of this program: its first line is not a log's header"},
      {"a column renamed",
       "time_s,wall_clock,rpm,inj,correction_pct,temperature_c,map_v,lambda_mv,status,raw\n",
       "not a log of this program: column 4 is \"inj\", where a log has \"injection_ms\""},
      {"a column missing", "time_s,wall_clock,rpm,injection_ms\n",
       "not a log of this program: 4 columns, where a log has 10 or 11"},
      {"a column too many", std::string(kMarkerHeader, std::strlen(kMarkerHeader) - 1) + ",x\n",
       "not a log of this program: 12 columns, where a log has 10 or 11"},
      {"a row short of a cell", kTodayHeader + ok + "0.5,2026-12-09T10:15:00.623Z,,,,,,,fail\n",
       "line 3: 9 cells, where a row of this log has 10"},
      {"a letter in a value",
       kTodayHeader + ok + "0.5,2026-12-09T10:15:00.623Z,75O,1,109,21,0.98,1176,ok,50\n",
       "line 3: rpm is not a number: \"75O\""},
      {"a decimal comma",
       std::string(kTodayHeader) +
           "0.5,2026-12-09T10:15:00.623Z,750,1,109,21,\"0,98\",1176,ok,50\n",
       "line 2: map_v is not a number: \"0,98\""},
      {"infinity", std::string(kTodayHeader) + "0.5,2026-12-09T10:15:00.623Z,inf,,,,,,ok,50\n",
       "line 2: rpm is not a number: \"inf\""},
      {"a bad time", std::string(kTodayHeader) + "soon,2026-12-09T10:15:00.623Z,,,,,,,fail,\n",
       "line 2: time_s is not a number: \"soon\""},
      {"time going back",
       kTodayHeader + ok + kTodayOk2 + "0.5,2026-12-09T10:15:00.623Z,,,,,,,fail,\n",
       "line 4: time_s 0.5 goes back before 1"},
      {"a local time", std::string(kTodayHeader) + "0,2026-12-09 10:15:00,,,,,,,fail,\n",
       "line 2: wall_clock is not a UTC time: \"2026-12-09 10:15:00\""},
      {"a year no clock shows",
       std::string(kTodayHeader) + "0,1066-10-14T10:15:00.000Z,,,,,,,fail,\n",
       "line 2: wall_clock is not a UTC time: \"1066-10-14T10:15:00.000Z\""},
      {"a time no log lasts",
       std::string(kTodayHeader) + "1e12,2026-12-09T10:15:00.623Z,,,,,,,fail,\n",
       "line 2: time_s 1e12 is longer than a log lasts"},
      {"the 30th of February",
       std::string(kTodayHeader) + "0,2026-02-30T10:15:00.000Z,,,,,,,fail,\n",
       "line 2: wall_clock is not a UTC time: \"2026-02-30T10:15:00.000Z\""},
      {"an unknown status", std::string(kTodayHeader) + "0,2026-12-09T10:15:00.623Z,,,,,,,maybe,\n",
       "line 2: status is \"maybe\", none of ok, fail"},
      {"a marker in a log without the column",
       std::string(kTodayHeader) + "0,2026-12-09T10:15:00.623Z,,,,,,,mark,\n",
       "line 2: status is \"mark\", none of ok, fail"},
      {"raw not hex", std::string(kTodayHeader) + "0,2026-12-09T10:15:00.623Z,,,,,,,ok,5g\n",
       "line 2: raw is not hex bytes: \"5g\""},
      {"a quote not closed mid-file",
       std::string(kMarkerHeader) + "0,2026-12-09T10:15:00.623Z,,,,,,,mark,,\"a\n" + "1" + ok,
       "line 2: a quoted cell is not closed, or text follows its closing quote"},
      {"text after a closing quote",
       std::string(kMarkerHeader) + "0,2026-12-09T10:15:00.623Z,,,,,,,mark,,\"a\"b\n" + "1" + ok,
       "line 2: a quoted cell is not closed, or text follows its closing quote"},
      {"bad UTF-8 in a value",
       std::string(kTodayHeader) + "0,2026-12-09T10:15:00.623Z,7\xC3\x28,,,,,,ok,50\n",
       "line 2: rpm is not a number: \"7?(\""},
      {"a megabyte's line mid-file", kTodayHeader + std::string(1 << 20, '7') + "\n" + ok,
       "line 2: longer than 2048 bytes, which no row of a log is"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(Parse(c.text, error)) << c.name;
    EXPECT_EQ(error, c.error) << c.name;
  }
}

// A stream of `size` bytes: `head`, then `fill` over and over, never held whole.
class EndlessBytes : public std::streambuf {
 public:
  EndlessBytes(std::string head, char fill, std::size_t size)
      : head_(std::move(head)), block_(1 << 16, fill), left_(size) {
    setg(head_.data(), head_.data(), head_.data() + head_.size());
    left_ -= head_.size();
  }

 protected:
  int_type underflow() override {
    if (left_ == 0) return traits_type::eof();
    const std::size_t give = std::min(left_, block_.size());
    left_ -= give;
    setg(block_.data(), block_.data(), block_.data() + give);
    return traits_type::to_int_type(block_[0]);
  }

 private:
  std::string head_;
  std::string block_;
  std::size_t left_;
};

// A gigabyte of zeros after the last row, as a file system can leave after
// a power loss: read through, the rows before kept, the end said to be cut.
TEST(LogReader, AGigabyteOfZerosIsACutEnd) {
  EndlessBytes bytes(std::string(kTodayHeader) + kTodayOk, '\0', std::size_t{1} << 30);
  std::istream in(&bytes);
  std::string error;
  const std::optional<LogData> log = ParseLog(in, error);
  ASSERT_TRUE(log) << error;
  EXPECT_EQ(log->rows(), 1u);
  EXPECT_TRUE(log->cut);
}

TEST(LogReader, MarkerTextsAreCleanedAsWritten) {
  const struct {
    std::string cell;
    std::string text;
  } cases[] = {
      {"\"plain\"", "plain"},
      {"unquoted", "unquoted"},
      {"\"\"", ""},
      {"\"a \"\"quote\"\", a comma\"", "a \"quote\", a comma"},
      {"\"  spaced  \"", "spaced"},
      {"\"tab\there\"", "tabhere"},
      {"\"bad \xFF byte\"", "bad \xEF\xBF\xBD byte"},
      {"\"acentuação\"", "acentuação"},
      {"\"" + std::string(300, 'x') + "\"", std::string(kMaxMarkerBytes, 'x')},
  };
  for (const auto& c : cases) {
    std::string error;
    const std::optional<LogData> log = Parse(
        std::string(kMarkerHeader) + "0.5,2026-12-09T10:15:00.623Z,,,,,,,mark,," + c.cell + "\n",
        error);
    ASSERT_TRUE(log) << c.cell << ": " << error;
    ASSERT_EQ(log->markers.size(), 1u);
    EXPECT_EQ(log->markers[0].text, c.text);
    EXPECT_EQ(log->rows(), 0u);
  }
}

TEST(LogReader, StatsOverTheRowsThatCarryTheValue) {
  std::string error;
  const std::optional<LogData> log =
      Parse(std::string(kTodayHeader) + kTodayOk + kTodayFail + kTodayOk2, error);
  ASSERT_TRUE(log) << error;
  const std::optional<ValueStats> temperature = StatsOf(*log, LogValue::temperature_c, 0, 3);
  ASSERT_TRUE(temperature);
  EXPECT_EQ(temperature->min, -40);
  EXPECT_EQ(temperature->max, 21);
  EXPECT_EQ(temperature->mean, -9.5);
  EXPECT_EQ(temperature->count, 2u);
  const std::optional<ValueStats> rpm = StatsOf(*log, LogValue::rpm, 0, 100);  // end clamped
  ASSERT_TRUE(rpm);
  EXPECT_EQ(rpm->count, 1u);
  EXPECT_EQ(rpm->mean, 750);
  EXPECT_FALSE(StatsOf(*log, LogValue::rpm, 1, 3));  // a fail row and an RPM of no period
  EXPECT_FALSE(StatsOf(*log, LogValue::rpm, 2, 1));
}

TEST(LogReader, ColumnsNameTheLogsColumns) {
  const std::string header = LiveLogHeader();
  for (std::size_t i = 0; i < kLogValueCount; ++i) {
    const LogValueColumn& column = LogValueColumns()[i];
    EXPECT_EQ(static_cast<std::size_t>(column.value), i);
    EXPECT_NE(header.find("," + std::string(column.name) + ","), std::string::npos);
  }
}

TEST(LogReader, FilesAndWhatIsNotOne) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                    ("log_reader_test_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(dir);
  const std::filesystem::path path = dir / "drive.csv";
  {
    std::ofstream file(path, std::ios::binary);
    file << kTodayHeader << kTodayOk << kTodayFail;
  }
  std::string error;
  const std::optional<LogData> log = ReadLog(path, error);
  ASSERT_TRUE(log) << error;
  EXPECT_EQ(log->rows(), 2u);

  {
    std::ofstream file(path, std::ios::binary);
    file << "name,phone\n";
  }
  EXPECT_FALSE(ReadLog(path, error));
  EXPECT_EQ(error,
            path.string() + ": not a log of this program: its first line is not a log's header");
  // Larger than any log: refused before a byte is read (a sparse file: no disk used).
  std::filesystem::resize_file(path, std::uintmax_t{600} << 20);
  EXPECT_FALSE(ReadLog(path, error));
  EXPECT_EQ(error,
            path.string() + ": 600 MB, larger than the 512 MB a log of this program reaches");
  EXPECT_FALSE(ReadLog(dir, error));
  EXPECT_EQ(error, dir.string() + ": is a folder");
  EXPECT_FALSE(ReadLog(dir / "missing.csv", error));
  EXPECT_EQ(error.rfind("cannot open " + (dir / "missing.csv").string() + ": ", 0), 0u) << error;
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zelk
