// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/log_export.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zelk {
namespace {

constexpr const char* kLog =
    "time_s,wall_clock,rpm,injection_ms,correction_pct,temperature_c,map_v,lambda_mv,status,raw,"
    "marker\n"
    "0.000,2026-12-09T10:15:00.123Z,750,1.5,109,21.5,0.9803921569,1176,ok,50c3,\n"
    "0.500,2026-12-09T10:15:00.623Z,,,,,,,fail,,\n"
    "0.731,2026-12-09T10:15:00.854Z,,,,,,,mark,,\"cold; \"\"choke\"\", 2\"\n"
    "1.000,2026-12-09T10:15:01.123Z,,3.1192,100,-40,2.5,5000,ok,0000,\n"
    "1.250,2026-12-09T10:15:01.373Z,,,,,,,mark,,\"after\"\n";

LogData Log() {
  std::istringstream in(kLog);
  std::string error;
  std::optional<LogData> log = ParseLog(in, error);
  EXPECT_TRUE(log) << error;
  return log ? std::move(*log) : LogData{};
}

constexpr const char* kBom = "\xEF\xBB\xBF";

TEST(LogExport, TheUsersSeparators) {
  const LogData log = Log();
  const struct {
    const char* list;
    const char* decimal;
    std::string text;
  } cases[] = {
      {";", ",",
       std::string(kBom) +
           "time_s;wall_clock;rpm;injection_ms;correction_pct;temperature_c;map_v;lambda_mv;"
           "status;marker\r\n"
           "0,000;2026-12-09T10:15:00.123Z;750;1,5;109;21,5;0,9803921569;1176;ok;\r\n"
           "0,500;2026-12-09T10:15:00.623Z;;;;;;;fail;\r\n"
           "0,731;2026-12-09T10:15:00.854Z;;;;;;;mark;\"cold; \"\"choke\"\", 2\"\r\n"
           "1,000;2026-12-09T10:15:01.123Z;;3,1192;100;-40;2,5;5000;ok;\r\n"},
      {",", ".",
       std::string(kBom) +
           "time_s,wall_clock,rpm,injection_ms,correction_pct,temperature_c,map_v,lambda_mv,"
           "status,marker\r\n"
           "0.000,2026-12-09T10:15:00.123Z,750,1.5,109,21.5,0.9803921569,1176,ok,\r\n"
           "0.500,2026-12-09T10:15:00.623Z,,,,,,,fail,\r\n"
           "0.731,2026-12-09T10:15:00.854Z,,,,,,,mark,\"cold; \"\"choke\"\", 2\"\r\n"
           "1.000,2026-12-09T10:15:01.123Z,,3.1192,100,-40,2.5,5000,ok,\r\n"},
      // The same separator for both: the numbers with a decimal are quoted.
      {",", ",",
       std::string(kBom) +
           "time_s,wall_clock,rpm,injection_ms,correction_pct,temperature_c,map_v,lambda_mv,"
           "status,marker\r\n"
           "\"0,000\",2026-12-09T10:15:00.123Z,750,\"1,5\",109,\"21,5\",\"0,9803921569\",1176,ok,"
           "\r\n"
           "\"0,500\",2026-12-09T10:15:00.623Z,,,,,,,fail,\r\n"
           "\"0,731\",2026-12-09T10:15:00.854Z,,,,,,,mark,\"cold; \"\"choke\"\", 2\"\r\n"
           "\"1,000\",2026-12-09T10:15:01.123Z,,\"3,1192\",100,-40,\"2,5\",5000,ok,\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SpreadsheetLogText(log, 0, 99, c.list, c.decimal), c.text) << c.list << c.decimal;
  }
}

// What is shown: the rows of the range and the markers among them.
TEST(LogExport, ARangeOfRows) {
  const LogData log = Log();
  const std::string header =
      std::string(kBom) +
      "time_s;wall_clock;rpm;injection_ms;correction_pct;temperature_c;map_v;lambda_mv;status;"
      "marker\r\n";
  EXPECT_EQ(SpreadsheetLogText(log, 1, 2, ";", ","),
            header + "0,500;2026-12-09T10:15:00.623Z;;;;;;;fail;\r\n");
  EXPECT_EQ(SpreadsheetLogText(log, 1, 3, ";", ","),
            header +
                "0,500;2026-12-09T10:15:00.623Z;;;;;;;fail;\r\n"
                "0,731;2026-12-09T10:15:00.854Z;;;;;;;mark;\"cold; \"\"choke\"\", 2\"\r\n"
                "1,000;2026-12-09T10:15:01.123Z;;3,1192;100;-40;2,5;5000;ok;\r\n");
  EXPECT_EQ(SpreadsheetLogText(log, 2, 3, ";", ","),  // the marker is before the range
            header + "1,000;2026-12-09T10:15:01.123Z;;3,1192;100;-40;2,5;5000;ok;\r\n");
  EXPECT_EQ(SpreadsheetLogText(log, 2, 2, ";", ","), header);
  EXPECT_EQ(SpreadsheetLogText(log, 5, 1, ";", ","), header);
  EXPECT_EQ(SpreadsheetLogText(LogData{}, 0, 10, ";", ","), header);
}

TEST(LogExport, ANameWithoutAnExtensionGetsCsv) {
  const struct {
    const char* given;
    const char* saved;
  } cases[] = {
      {"drive", "drive.csv"},     {"logs/drive", "logs/drive.csv"},
      {"drive.", "drive.csv"},    {"drive.csv", "drive.csv"},
      {"drive.txt", "drive.txt"}, {"my.drive/log", "my.drive/log.csv"},
      {"logs/", "logs/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithLogExtension(c.given).generic_string(), c.saved) << c.given;
  }
}

}  // namespace
}  // namespace zelk
