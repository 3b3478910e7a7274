// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/vehicle_store.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "records/vehicle_history.h"
#include "records_folder.h"
#include "settings_file/file_io.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace zelk {
namespace {

namespace fs = std::filesystem;
using std::chrono::hours;

class VehicleStoreTest : public testing::RecordsFolderTest {
 protected:
  VehicleStore Store() {
    return VehicleStore(dir_ / "vehicles", [this] { return now_; });
  }
  static Vehicle Car(std::string id, std::string customer = {}) {
    Vehicle v;
    v.id = std::move(id);
    v.name = "VW Gol 1.6 2012";
    v.customer = std::move(customer);
    v.phone = "+55 11 5555-0100";
    return v;
  }
};

TEST_F(VehicleStoreTest, AddKeepsTheVehicleInItsOwnFolder) {
  VehicleStore store = Store();
  const VehicleChange added = store.Add(Car("  ABC1D23 ", "José Conceição"));
  ASSERT_EQ(added.refusal, VehicleRefusal::none) << added.error;
  ASSERT_TRUE(added.entry && added.entry->vehicle);
  EXPECT_EQ(added.entry->vehicle->id, "ABC1D23");
  EXPECT_EQ(added.entry->vehicle->created_at, "2026-12-09T10:15:00Z");
  EXPECT_EQ(added.entry->folder.parent_path(), dir_ / "vehicles");
  EXPECT_TRUE(fs::is_regular_file(added.entry->folder / "vehicle.json"));

  const std::optional<VehicleEntry> found = store.Find("abc1d23");
  ASSERT_TRUE(found && found->vehicle);
  EXPECT_EQ(found->vehicle->customer, "José Conceição");
  EXPECT_EQ(found->vehicle->phone, "+55 11 5555-0100");
}

TEST_F(VehicleStoreTest, RefusalsMakeNothing) {
  VehicleStore store = Store();
  ASSERT_EQ(store.Add(Car("Fusca do João")).refusal, VehicleRefusal::none);
  const auto before = store.List();
  struct Refusal {
    const char* id;
    VehicleRefusal refusal;
  };
  for (const Refusal& r :
       {Refusal{"FUSCA DO JOAO", VehicleRefusal::exists},
        Refusal{"fusca do joão", VehicleRefusal::exists}, Refusal{"..", VehicleRefusal::bad_id},
        Refusal{"a/b", VehicleRefusal::bad_id}, Refusal{"", VehicleRefusal::bad_id}}) {
    EXPECT_EQ(store.Add(Car(r.id)).refusal, r.refusal) << r.id;
  }
  EXPECT_EQ(store.List().size(), before.size());
  EXPECT_EQ(store.Update(Car("XYZ9999")).refusal, VehicleRefusal::unknown);
  EXPECT_EQ(store.List().size(), before.size());
}

TEST_F(VehicleStoreTest, UpdateKeepsIdentifierAndCreation) {
  VehicleStore store = Store();
  ASSERT_EQ(store.Add(Car("ABC1D23")).refusal, VehicleRefusal::none);
  now_ += hours(24);
  Vehicle edited = Car("abc1d23", "Maria");
  edited.notes = "Injector 3 replaced";
  edited.created_at = "1999-01-01T00:00:00Z";
  const VehicleChange changed = store.Update(edited);
  ASSERT_EQ(changed.refusal, VehicleRefusal::none) << changed.error;
  EXPECT_EQ(changed.entry->vehicle->id, "ABC1D23");
  EXPECT_EQ(changed.entry->vehicle->created_at, "2026-12-09T10:15:00Z");
  EXPECT_EQ(changed.entry->vehicle->customer, "Maria");
  EXPECT_EQ(store.Find("ABC1D23")->vehicle->notes, "Injector 3 replaced");
}

TEST_F(VehicleStoreTest, ListIsNewestActivityFirstAndKeepsDamagedOnes) {
  VehicleStore store = Store();
  ASSERT_EQ(store.Add(Car("OLD1111")).refusal, VehicleRefusal::none);
  now_ += hours(1);
  ASSERT_EQ(store.Add(Car("MID2222")).refusal, VehicleRefusal::none);
  now_ += hours(1);
  ASSERT_EQ(store.Add(Car("NEW3333")).refusal, VehicleRefusal::none);
  now_ += hours(1);
  // Work on the oldest car makes it the most recent.
  VehicleHistory history(store.Find("OLD1111")->folder, [this] { return now_; });
  ASSERT_TRUE(history.AddNote("Came back: rough idle").file);
  // A record edited by hand into broken JSON.
  const fs::path broken = store.Find("MID2222")->folder / "vehicle.json";
  ASSERT_TRUE(WriteFileAtomically(broken, "{\"format\": \"zelk-vehicle\", ").ok);

  const std::vector<VehicleEntry> list = store.List();
  ASSERT_EQ(list.size(), 3u);
  ASSERT_TRUE(list[0].vehicle);
  EXPECT_EQ(list[0].vehicle->id, "OLD1111");
  EXPECT_EQ(list[0].last_activity, "2026-12-09T13:15:00Z");
  EXPECT_EQ(list[1].vehicle->id, "NEW3333");
  EXPECT_FALSE(list[2].vehicle);
  EXPECT_FALSE(list[2].damaged.empty());
  EXPECT_TRUE(fs::exists(broken));  // never deleted for being unreadable
  // Nor can it be taken over by adding the same plate again.
  EXPECT_EQ(store.Add(Car("MID2222")).refusal, VehicleRefusal::exists);
}

TEST_F(VehicleStoreTest, SearchFoldsPlateNameAndCustomer) {
  VehicleStore store = Store();
  ASSERT_EQ(store.Add(Car("ABC1D23", "José Conceição")).refusal, VehicleRefusal::none);
  Vehicle lada = Car("Лада 2107", "Ivan");
  lada.name = "Lada Riva";
  ASSERT_EQ(store.Add(lada).refusal, VehicleRefusal::none);
  const std::vector<VehicleEntry> list = store.List();
  struct Search {
    const char* text;
    std::size_t found;
  };
  for (const Search& s : {Search{"", 2}, Search{"abc1", 1}, Search{"CONCEICAO", 1},
                          Search{"jose", 1}, Search{"лада", 1}, Search{"riva", 1}, Search{"gol", 1},
                          Search{"zzz", 0}, Search{"5555", 0}}) {
    EXPECT_EQ(SearchVehicles(list, s.text).size(), s.found) << s.text;
  }
}

#ifndef _WIN32
// Two programs (a window and zelkctl) adding the same plate and notes at
// once: exactly one vehicle, every note kept.
TEST_F(VehicleStoreTest, TwoProcessesAtOnceLoseNothing) {
  constexpr int kNotes = 40;
  std::vector<pid_t> children;
  for (int child = 0; child < 2; ++child) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      VehicleStore store(dir_ / "vehicles");
      const VehicleChange added = store.Add(Car("ABC1D23"));
      const bool made = added.refusal == VehicleRefusal::none;
      const std::optional<VehicleEntry> entry = store.Find("ABC1D23");
      if (!entry) _exit(3);
      VehicleHistory history(entry->folder);
      for (int i = 0; i < kNotes; ++i) {
        if (!history.AddNote("note " + std::to_string(child) + "." + std::to_string(i)).file) {
          _exit(4);
        }
      }
      _exit(made ? 0 : 1);
    }
    children.push_back(pid);
  }
  int made = 0;
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_LE(WEXITSTATUS(status), 1) << "child failed";
    made += WEXITSTATUS(status) == 0 ? 1 : 0;
  }
  EXPECT_EQ(made, 1);
  const std::vector<VehicleEntry> list = Store().List();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(VehicleHistory(list[0].folder).Timeline().size(), 2u * kNotes);
}
#endif

}  // namespace
}  // namespace zelk
