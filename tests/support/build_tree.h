#pragma once

// A complete small simulation tree for Build tests: a source data disk SRC.WDD with its players,
// organization ORG00001 (teams 1 and 2, farm organization 2) and farm ORG00002; a target data disk
// LEAGUE.WDD with its players and organization ORG00001 (teams 1 to 3). Everything can be
// changed before the form is started.

#include <string>
#include <vector>

#include "platform/paths.h"
#include "memory_settings/memory_settings_store.h"
#include "platform/settings_store.h"
#include "shell/form_layout.h"
#include "shell/settings.h"
#include "shell/tovarin_view.h"
#include "simdata/roster_file.h"
#include "support/fake_ui.h"
#include "support/fixture.h"

namespace tovarin::fixture {

struct BuildTree {
  TempDir dir;
  std::string sourceDisk = dir.MakeDir("SRC.WDD");
  std::string targetDisk = dir.MakeDir("LEAGUE.WDD");
  std::string sourceOrg = dir.MakeDir("SRC.WDD/ORG00001");
  std::string farmOrg = dir.MakeDir("SRC.WDD/ORG00002");
  std::string targetOrg = dir.MakeDir("LEAGUE.WDD/ORG00001");
  std::string backups = dir.MakeDir("backups");  // the form's Build backups, of this tree only

  MemorySettingsStore store;
  FakeDialogs dialogs;
  FakeControls controls;
  FillingDisk disk;  // every file the form writes goes through it
  CTovarinView view{store, dialogs, controls, layout::SourceTeamColumn(), disk};

  BuildTree() {
    view.backupDirectory = backups;
    sim::WritePlayersFile(sourceDisk + "Players.dat", {{"Smith", "John"},
                                                       {"Jones", "Ann"},
                                                       {"Brown", "Bob"},
                                                       {"Lee", "Al"},
                                                       {"Fox", "Jon"},
                                                       {"Gray", "Tim"}});
    sim::WritePlayersFile(targetDisk + "Players.dat", {{"Brown", "Bob"},
                                                       {"Smith", "John"},
                                                       {"Fox", "John"},
                                                       {"Jones", "Ann"},
                                                       {"Lee", "Al"},
                                                       {"New", "Guy"},
                                                       {"Park", "Sam"}});
    StandardOrg(2, 2).Write(sourceOrg);
    StandardOrg(3).Write(targetOrg);
    Roster(sourceOrg, 1, {1, 5, 2});
    Roster(sourceOrg, 2, {3, 6});
    Roster(farmOrg, 101, {4});
    sim::WriteBytes(dir / "renames.txt", Text("C3,,Sam,Park,\r\n"));
  }

  static sim::Bytes Text(const std::string& text) { return sim::Bytes(text.begin(), text.end()); }

  // A roster file of the source data disk with these player numbers.
  static void Roster(const std::string& orgDir, int team, const std::vector<int>& players,
                     const std::string& dataDisk = "SRC") {
    std::vector<sim::RosterEntry> entries;
    for (int p : players) entries.push_back({120, 5, dataDisk, static_cast<std::int16_t>(p)});
    sim::WriteRosterFile(RosterName(orgDir, team), entries);
  }
  static std::string RosterName(const std::string& orgDir, int team) {
    return RosterPath(orgDir, team);
  }
  // The bytes a Build writes for these target players.
  static sim::Bytes Expected(const std::vector<int>& players, const std::string& name = "LEAGUE") {
    std::vector<sim::RosterEntry> entries;
    for (int p : players) entries.push_back({120, 5, name, static_cast<std::int16_t>(p)});
    return sim::EncodeRoster(entries);
  }
  std::vector<int> TargetRoster(int team) const {
    const sim::Bytes bytes = ReadFileBytes(RosterName(targetOrg, team));
    std::vector<int> players;
    std::size_t at = 2;
    while (at + 6 <= bytes.size()) {
      const std::size_t nameLength = static_cast<std::size_t>(bytes[at + 2] | (bytes[at + 3] << 8));
      at += 4 + nameLength;
      players.push_back(static_cast<std::int16_t>(bytes[at] | (bytes[at + 1] << 8)));
      at += 2;
    }
    return players;
  }

  // The message of a completed Build of this tree; `reportWhy` says why its report could not be
  // written, empty when it was; `renames` is the rename file's line, empty without a rename file;
  // `emptied` names the unpaired teams it emptied (team 3 has none: the rename file signs a
  // player to it).
  std::string Completed(int rosters = 3, const std::string& reportWhy = "",
                        const std::string& renames = "Rename file: 1 of 1 records used",
                        const std::string& emptied = "") const {
    return "Build Completed Successfully!\n" + std::to_string(rosters) +
           " target rosters written.\n" + (renames.empty() ? "" : renames + "\n") +
           (reportWhy.empty() ? "Report: " + targetDisk + "Tovarin.txt"
                              : "The report could not be written: " + targetDisk +
                                    "Tovarin.txt\n" + reportWhy) +
           (emptied.empty() ? "" : "\nEmptied (no source team): " + emptied);
  }

  // Writes the whole setup of the tree into `settings`, as a completed Build would leave it.
  void StoreSetup(platform::SettingsStore& settings, bool useFarm = true,
                  bool withRenames = true) const {
    using namespace tovarin::settings;
    settings.WriteString(kFile, kBaseDir, dir.path());
    settings.WriteString(kFile, kTgtDataDisk, "LEAGUE.WDD");
    settings.WriteString(kFile, kTgtOrg, "ORG00001");
    settings.WriteString(kFile, kSrcDataDisk, "SRC.WDD");
    settings.WriteString(kFile, kSrcOrg, "ORG00001");
    settings.WriteString(kFile, kRename, withRenames ? dir / "renames.txt" : "");
    settings.WriteInt(kOption, kUseFarm, useFarm ? 1 : 0);
  }

  // Stores the setup and starts the form on it.
  void Start(bool useFarm = true, bool withRenames = true) {
    StoreSetup(store, useFarm, withRenames);
    store.ClearWrites();
    view.OnInitialUpdate();
  }
};

}  // namespace tovarin::fixture
