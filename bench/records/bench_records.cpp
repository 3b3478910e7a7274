// SPDX-License-Identifier: GPL-3.0-or-later
// bench_records: the vehicle records at a busy workshop's size. It makes a
// data folder of VEHICLES vehicles with RECORDS records each (a third of them
// settings records, the rest notes and program runs), then measures
//
//  * the first listing of all vehicles (target under 300 ms),
//  * a search as the technician types, one letter at a time (under 50 ms a key),
//  * one vehicle's timeline, every record read (under 50 ms).
//
// Usage: bench_records [VEHICLES] [RECORDS] [FOLDER]
//        (defaults 2000 and 50; FOLDER is filled when it holds no vehicles and
//        measured as it is when it does; without it a fresh folder under the
//        temporary folder is used and removed afterwards)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "records/vehicle_history.h"
#include "records/vehicle_store.h"
#include "text/utc_time.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

const char* const kCustomers[] = {"José Conceição",  "Maria Aparecida", "João Pereira",
                                  "Ana Luíza Souza", "Paulo Ribeiro",   "Fernanda Lima"};
const char* const kModels[] = {"VW Gol 1.6 2012", "Fiat Uno 1.0 2008", "Chevrolet Onix 1.4 2016",
                               "Ford Ka 1.0 2015", "Renault Sandero 1.6 2014"};

bool Generate(const fs::path& root, int vehicles, int records) {
  auto now = std::chrono::system_clock::time_point(std::chrono::seconds(1796811300));
  zelk::VehicleStore store(root, [&now] { return now; });
  std::mt19937 random(7);
  for (int v = 0; v < vehicles; ++v) {
    char plate[16];
    (void)std::snprintf(plate, sizeof plate, "%c%c%c%d%c%02d", 'A' + v % 26, 'A' + v / 26 % 26,
                        'A' + v / 676 % 26, v % 10, 'A' + v * 7 % 26, v % 100);
    zelk::Vehicle vehicle;
    vehicle.id = plate;
    vehicle.name = kModels[v % 5];
    vehicle.customer = kCustomers[v % 6] + std::string(" ") + std::to_string(v);
    const zelk::VehicleChange added = store.Add(vehicle);
    if (!added.entry) {
      std::fprintf(stderr, "bench_records: cannot add %s%s%s\n", plate,
                   added.refusal == zelk::VehicleRefusal::exists ? ": it exists" : ": ",
                   added.error.c_str());
      return false;
    }
    zelk::VehicleHistory history(
        added.entry->folder, [&now] { return now; },
        [&random] { return static_cast<std::uint32_t>(random()); });
    for (int r = 0; r < records; ++r) {
      now += std::chrono::minutes(1);
      zelk::AddedRecord record;
      if (r % 3 == 0) {
        zelk::SettingsBlock block{};
        block.fill(static_cast<std::uint8_t>(r));
        record = history.AddSettings(zelk::MakeSettingsFile(block, "2.10", zelk::UtcTimeText(now),
                                                            zelk::SaveReason::before_write));
      } else if (r % 3 == 1) {
        record = history.AddNote("Checked the injectors, idle at 850 RPM");
      } else {
        record =
            history.AddProgramRun({"rpm_lambda", zelk::UtcTimeText(now), zelk::UtcTimeText(now),
                                   zelk::ProgramResult::completed, "2.10"});
      }
      if (!record.file) {
        std::fprintf(stderr, "bench_records: %s\n", record.error.c_str());
        return false;
      }
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const int vehicles = argc > 1 ? std::atoi(argv[1]) : 2000;
  const int records = argc > 2 ? std::atoi(argv[2]) : 50;
  if (vehicles < 1 || records < 1) {
    std::fprintf(stderr, "usage: bench_records [VEHICLES] [RECORDS] [FOLDER]\n");
    return 2;
  }
  const bool own_folder = argc <= 3;
  const fs::path root = own_folder
                            ? fs::temp_directory_path() /
                                  ("zelk-bench-records-" + std::to_string(std::random_device{}()))
                            : fs::path(argv[3]);
  // A FOLDER that already holds vehicles is measured as it is (run again on
  // the same folder, or on a workshop's data folder on its share).
  std::error_code error;
  if (own_folder || !fs::exists(root / "vehicles", error)) {
    const auto made = Clock::now();
    if (!Generate(root / "vehicles", vehicles, records)) return 1;
    std::printf("made %d vehicles x %d records in %.1f s (%s)\n", vehicles, records,
                Ms(Clock::now() - made) / 1000, root.string().c_str());
  } else {
    std::printf("measuring the vehicles already in %s\n", root.string().c_str());
  }

  zelk::VehicleStore store(root / "vehicles");
  auto start = Clock::now();
  const std::vector<zelk::VehicleEntry> list = store.List();
  const double listing = Ms(Clock::now() - start);
  std::printf("first listing: %zu vehicles in %.1f ms (target under 300 ms)\n", list.size(),
              listing);

  // The technician types a customer's name; each key searches the whole list.
  const std::string typed = "CONCEICAO 19";
  double slowest_key = 0;
  std::size_t found = 0;
  for (std::size_t length = 1; length <= typed.size(); ++length) {
    start = Clock::now();
    found = zelk::SearchVehicles(list, typed.substr(0, length)).size();
    slowest_key = std::max(slowest_key, Ms(Clock::now() - start));
  }
  std::printf("search as you type \"%s\": slowest key %.2f ms, %zu found (target under 50 ms)\n",
              typed.c_str(), slowest_key, found);

  start = Clock::now();
  const std::vector<zelk::HistoryRecord> timeline =
      zelk::VehicleHistory(list.front().folder).Timeline();
  const double timeline_ms = Ms(Clock::now() - start);
  std::printf("timeline: %zu records in %.2f ms (target under 50 ms)\n", timeline.size(),
              timeline_ms);

  if (own_folder) fs::remove_all(root);
  const bool met = listing < 300 && slowest_key < 50 && timeline_ms < 50;
  std::printf("%s\n", met ? "all targets met" : "a target was missed");
  return met ? 0 : 1;
}
