// SPDX-License-Identifier: GPL-3.0-or-later
// zelkctl log-summary on logs the test writes itself: the JSON fields scripts
// rely on, against figures the test computes from the samples it logged.
#include "cli/log_summary_command.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>

#include "cli/commands.h"
#include "monitor/live_log.h"
#include "monitor/live_series.h"

namespace zelk::cli {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Json = nlohmann::json;

struct Ran {
  int status;
  std::string out;
  std::string err;
};

Ran Summarize(const std::vector<std::string>& operands, const std::string& input = "") {
  CliOptions options;
  std::istringstream in(input);
  std::ostringstream out, err;
  CommandContext context(options, in, out, err);
  const int status = LogSummaryCommand(context, operands);
  return {status, out.str(), err.str()};
}

// Per column: min, max, sum and count over the samples that carry the value.
struct Expected {
  std::array<double, kLiveSeriesCount> min{}, max{}, sum{};
  std::array<std::size_t, kLiveSeriesCount> count{};

  void Add(const LiveSample& sample) {
    for (const LiveSeriesRow& row : kLiveSeries) {
      const std::optional<double> v = SeriesValue(sample, row.series);
      if (!v) continue;
      const std::size_t i = SeriesIndex(row.series);
      // The log keeps 10 significant digits: compare with what it holds.
      const double logged = std::stod(LogNumberCellOf(*v));
      min[i] = count[i] ? std::min(min[i], logged) : logged;
      max[i] = count[i] ? std::max(max[i], logged) : logged;
      sum[i] += logged;
      ++count[i];
    }
  }
  static std::string LogNumberCellOf(double v) {
    std::ostringstream text;
    text.precision(10);
    text << v;
    return text.str();
  }
};

class LogSummary : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() / ("zelk-log-summary-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // 40 polls 500 ms apart with changing bytes, every 7th one failed, an RPM
  // that cannot be computed now and then, two markers.
  std::string WriteLog(const std::string& tail = "") {
    std::ostringstream text;
    std::chrono::steady_clock::time_point now{50s};
    LiveLogWriter log(text, {[&] { return now; },
                             [&] {
                               return std::chrono::system_clock::time_point{} + 1h +
                                      (now - std::chrono::steady_clock::time_point{50s});
                             }});
    for (int i = 0; i < 40; ++i) {
      if (i == 3) log.WriteMarker("cold start");
      if (i == 30) log.WriteMarker("idle, \"hunting\"");
      if (i % 7 == 6) {
        log.WriteFailure();
        ++fails_;
      } else {
        const auto b = static_cast<std::uint8_t>(i * 37 + 11);
        const bool stopped = i % 5 == 0;  // a period of 0: no RPM
        const LiveBlock block{static_cast<std::uint8_t>(stopped ? 0 : b),
                              static_cast<std::uint8_t>(stopped ? 0 : 0x40 + i),
                              b,
                              0x04,
                              0,
                              static_cast<std::uint8_t>(50 + i),
                              0,
                              static_cast<std::uint8_t>(90 + 3 * i),
                              static_cast<std::uint8_t>(200 - i),
                              static_cast<std::uint8_t>(i * 6)};
        const LiveSample sample = DecodePollSample(block, 1);
        log.WriteSample(sample);
        expected_.Add(sample);
      }
      now += 500ms;
    }
    const fs::path path = dir_ / "drive.csv";
    std::ofstream(path, std::ios::binary) << text.str() << tail;
    return path.string();
  }

  fs::path dir_;
  Expected expected_;
  std::size_t fails_ = 0;
};

TEST_F(LogSummary, JsonAgainstTheSamplesLogged) {
  const Ran ran = Summarize({WriteLog(), "--json"});
  ASSERT_EQ(ran.status, kExitOk) << ran.err;
  EXPECT_EQ(ran.err, "");
  const Json summary = Json::parse(ran.out);
  EXPECT_EQ(summary["rows"], 40);
  EXPECT_EQ(summary["fail_rows"], fails_);
  EXPECT_DOUBLE_EQ(summary["duration_s"].get<double>(), 19.5);
  EXPECT_EQ(summary["cut"], false);
  EXPECT_EQ(
      summary["markers"],
      Json::parse(
          R"([{"time_s":1.5,"text":"cold start"},{"time_s":15,"text":"idle, \"hunting\""}])"));
  ASSERT_EQ(summary["values"].size(), kLiveSeriesCount);
  for (const LiveSeriesRow& row : kLiveSeries) {
    const std::size_t i = SeriesIndex(row.series);
    const Json& value = summary["values"][std::string(row.column)];
    ASSERT_GT(expected_.count[i], 0u) << row.column;
    EXPECT_DOUBLE_EQ(value["min"].get<double>(), expected_.min[i]) << row.column;
    EXPECT_DOUBLE_EQ(value["max"].get<double>(), expected_.max[i]) << row.column;
    EXPECT_NEAR(value["mean"].get<double>(), expected_.sum[i] / expected_.count[i],
                1e-9 * std::abs(expected_.max[i]))
        << row.column;
  }
  EXPECT_LT(expected_.count[SeriesIndex(LiveSeries::rpm)],
            expected_.count[SeriesIndex(LiveSeries::map_v)]);  // some RPMs not computed
}

TEST_F(LogSummary, ACutLogIsReadAndSaysSo) {
  const Ran json = Summarize({"--json", WriteLog("20.000,1970-01-01T01:00:2")});
  ASSERT_EQ(json.status, kExitOk) << json.err;
  const Json summary = Json::parse(json.out);
  EXPECT_EQ(summary["cut"], true);
  EXPECT_EQ(summary["rows"], 40);

  const Ran text = Summarize({(dir_ / "drive.csv").string()});
  ASSERT_EQ(text.status, kExitOk);
  EXPECT_NE(text.out.find("rows            40 (" + std::to_string(fails_) + " failed)\n"),
            std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("duration        0:00:19 (19.500 s)\n"), std::string::npos);
  EXPECT_NE(text.out.find("cut             the last line was incomplete"), std::string::npos);
  EXPECT_NE(text.out.find("markers         2\n       1.500 s  cold start\n"), std::string::npos)
      << text.out;
}

TEST_F(LogSummary, RefusedFilesAndUsage) {
  const fs::path foreign = dir_ / "contacts.csv";
  std::ofstream(foreign) << "name,phone\nAna,555\n";
  const struct {
    std::vector<std::string> operands;
    std::string input;
    std::string err;
  } cases[] = {
      {{foreign.string()},
       "",
       "zelkctl: " + foreign.string() +
           ": not a log of this program: its first line is not a log's header\n"},
      {{"-", "--json"},
       "time_s,wall_clock\n",
       "zelkctl: standard input: not a log of this program: 2 columns, where a log has 10 or "
       "11\n"},
      {{dir_.string()}, "", "zelkctl: " + dir_.string() + ": is a folder\n"},
      {{}, "", "zelkctl: log-summary needs a FILE\n"},
      {{"a.csv", "b.csv"}, "", "zelkctl: log-summary: unexpected argument 'b.csv'\n"},
      {{"a.csv", "--csv"}, "", "zelkctl: log-summary: unexpected argument '--csv'\n"},
  };
  for (const auto& c : cases) {
    const Ran ran = Summarize(c.operands, c.input);
    EXPECT_EQ(ran.status, kExitUsage);
    EXPECT_EQ(ran.err, c.err);
    EXPECT_EQ(ran.out, "");
  }
}

TEST_F(LogSummary, AnEmptyLogHasNoFigures) {
  const Ran ran = Summarize({"-", "--json"}, LiveLogHeader() + "\n");
  ASSERT_EQ(ran.status, kExitOk) << ran.err;
  const Json summary = Json::parse(ran.out);
  EXPECT_EQ(summary["rows"], 0);
  EXPECT_EQ(summary["duration_s"], 0);
  EXPECT_EQ(summary["values"]["rpm"], Json::parse(R"({"min":null,"max":null,"mean":null})"));
  const Ran text = Summarize({"-"}, LiveLogHeader() + "\n");
  EXPECT_NE(text.out.find("rpm                          -             -             -\n"),
            std::string::npos)
      << text.out;
}

}  // namespace
}  // namespace zelk::cli
