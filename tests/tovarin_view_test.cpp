#include <gtest/gtest.h>

#include "platform/paths.h"
#include "memory_settings/memory_settings_store.h"
#include "shell/settings.h"
#include "shell/tovarin_view.h"
#include "shell/form_layout.h"
#include "support/fake_ui.h"
#include "support/fixture.h"

namespace tovarin {
namespace {

using fixture::FakeControls;
using fixture::FakeDialogs;
using fixture::TempDir;
const std::string kSep(1, platform::kSeparator);

// A simulation tree with two data disks and the form over an in-memory settings store.
struct ViewFixture {
  TempDir dir;
  MemorySettingsStore store;
  FakeDialogs dialogs;
  FakeControls controls;
  CTovarinView view{store, dialogs, controls, layout::SourceTeamColumn()};

  ViewFixture() {
    fixture::StandardOrg(3, 2).Write(dir.MakeDir("Old.wdd/ORG00001"));
    fixture::StandardOrg(2).Write(dir.MakeDir("Old.wdd/ORG00002"));
    fixture::StandardOrg(4).Write(dir.MakeDir("New.wdd/ORG00001"));
  }
  void Store(const std::string& tgtDisk, const std::string& tgtOrg, const std::string& srcDisk,
             const std::string& srcOrg) {
    using namespace settings;
    store.WriteString(kFile, kBaseDir, dir.path());
    store.WriteString(kFile, kTgtDataDisk, tgtDisk);
    store.WriteString(kFile, kTgtOrg, tgtOrg);
    store.WriteString(kFile, kSrcDataDisk, srcDisk);
    store.WriteString(kFile, kSrcOrg, srcOrg);
    store.ClearWrites();
  }
};

TEST(TovarinView, ConstructionAndRefreshControls) {
  ViewFixture f;
  CTovarinView& v = f.view;
  EXPECT_EQ(v.renamePath, "");
  EXPECT_EQ(v.targetOrgPath, "");
  EXPECT_EQ(v.sourceOrgPath, "");
  EXPECT_EQ(v.useFarm, 0);
  EXPECT_TRUE(v.targetTeams().empty());
  EXPECT_TRUE(v.sourceTeams().empty());

  v.renamePath = "R";
  v.sourceOrgPath = "S";
  v.targetOrgPath = "T";
  v.useFarm = 1;
  v.RefreshControls();
  EXPECT_EQ(f.controls.log,
            (std::vector<std::string>{"1018", "1016", "1015", "1019", "1023", "1022"}));
  EXPECT_EQ(f.controls.renamePath, "R");
  EXPECT_EQ(f.controls.sourceOrgPath, "S");
  EXPECT_EQ(f.controls.targetOrgPath, "T");
  EXPECT_EQ(f.controls.useFarm, 1);
  EXPECT_EQ(v.renamePath, "R");  // the fields keep their values
}

TEST(TovarinView, FirstStartDefaultsAndTheirSave) {
  ViewFixture f;
  f.view.OnInitialUpdate();
  CTovarinView& v = f.view;
  EXPECT_EQ(v.targetLocation.BaseDirectory(), platform::RootDirectory());
  EXPECT_EQ(v.sourceLocation.BaseDirectory(), platform::RootDirectory());
  EXPECT_EQ(v.useFarm, 1);
  EXPECT_EQ(v.threeLetters, 1);
  EXPECT_EQ(v.smartInitials, 1);
  EXPECT_EQ(f.controls.targetLabel, "Teams - 0");
  EXPECT_EQ(f.controls.sourceLabel, "Teams - 0");
  EXPECT_EQ(f.controls.useFarm, 1);
  EXPECT_TRUE(f.dialogs.messages.empty());

  f.view.SaveSettings();
  EXPECT_EQ(f.store.writes(),
            (std::vector<std::string>{"File/BaseDir", "File/TgtDataDisk", "File/TgtOrg",
                                      "File/SrcDataDisk", "File/SrcOrg", "File/Rename",
                                      "Option/UseFarm", "Option/ThreeLetters",
                                      "Option/SmartInitials"}));
  EXPECT_EQ(f.store.ReadString("File", "BaseDir"), platform::RootDirectory());
  EXPECT_EQ(f.store.ReadString("File", "TgtOrg"), "");
  EXPECT_EQ(f.store.ReadInt("Option", "UseFarm"), 1);
}

TEST(TovarinView, SettingsRoundTripAndOneBaseDirectory) {
  ViewFixture f;
  f.Store("old.wdd", "org00001", "NEW.WDD", "ORG00001");
  f.store.WriteString("File", "Rename", "/x/renames.txt");
  f.store.WriteInt("Option", "UseFarm", 0);
  f.store.WriteInt("Option", "ThreeLetters", 7);
  f.store.WriteInt("Option", "SmartInitials", -2);
  f.view.OnInitialUpdate();
  CTovarinView& v = f.view;
  // Stored names are taken as they are, also in lower case.
  EXPECT_EQ(v.targetOrgPath, f.dir / "old.wdd" + kSep + "org00001" + kSep);
  EXPECT_EQ(v.sourceOrgPath, f.dir / "NEW.WDD" + kSep + "ORG00001" + kSep);
  EXPECT_EQ(v.targetTeams().size(), 3u);  // found through the case-blind lookup
  EXPECT_EQ(v.sourceTeams().size(), 4u);
  EXPECT_EQ(v.sourceFarmOrg, 0);
  EXPECT_EQ(f.controls.targetOrgPath, v.targetOrgPath);
  EXPECT_EQ(f.controls.renamePath, "/x/renames.txt");
  EXPECT_EQ(v.useFarm, 0);

  // One BaseDir cannot hold a different base directory on the source side: nothing is written.
  v.sourceLocation.SetBaseDirectory("/elsewhere/");
  f.store.ClearWrites();
  std::string why;
  EXPECT_FALSE(v.SaveSettings(&why));
  EXPECT_EQ(why, std::string(kSetupNotStored) + "the target organization is under the base folder " +
                     f.dir.path() + " and the source organization under /elsewhere/, but a "
                     "stored setup holds one base folder for both.\n" + platform::kStoredBeforeKept);
  EXPECT_TRUE(f.store.writes().empty());
  EXPECT_EQ(f.store.ReadString("File", "BaseDir"), f.dir.path());
  EXPECT_EQ(f.store.ReadString("File", "TgtDataDisk"), "old.wdd");
  EXPECT_EQ(f.store.ReadString("File", "SrcOrg"), "ORG00001");
  EXPECT_EQ(f.store.ReadInt("Option", "ThreeLetters"), 7);
  EXPECT_EQ(f.store.ReadInt("Option", "SmartInitials"), -2);
}

// What cannot be read is said at start and takes its default; the rest is kept. A base path
// that could not be read is never taken for the root: no Build or review until it is set.
TEST(TovarinView, AStoredSetupReadInPart) {
  const struct {
    const char* unreadable;
    int useFarm;
    std::string refusal;  // of the Build, before Set Base Path
  } rows[] = {
      {"File/BaseDir", 0, kBasePathUnread},
      {"Option/UseFarm", 1, ""},
  };
  for (const auto& row : rows) {
    TempDir dir;
    fixture::StandardOrg(3, 2).Write(dir.MakeDir("OLD.WDD/ORG00001"));
    fixture::StandardOrg(2).Write(dir.MakeDir("OLD.WDD/ORG00002"));
    fixture::PartlyUnreadableStore store;
    using namespace settings;
    store.WriteString(kFile, kBaseDir, dir.path());
    for (const char* name : {kTgtDataDisk, kSrcDataDisk}) store.WriteString(kFile, name, "OLD.WDD");
    store.WriteString(kFile, kTgtOrg, "ORG00001");
    store.WriteString(kFile, kSrcOrg, "ORG00002");
    store.WriteInt(kOption, kUseFarm, 0);
    store.unreadable = {row.unreadable};
    FakeDialogs dialogs;
    FakeControls controls;
    CTovarinView view(store, dialogs, controls, layout::SourceTeamColumn());
    view.OnInitialUpdate();
    // Then, without a base path, the organizations cannot be loaded from the root.
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages[0],
              std::string(kSetupNotRead) + "store " + row.unreadable + "\nit is of another type");
    EXPECT_EQ(view.targetLocation.OrganizationName(), "ORG00001") << row.unreadable;
    EXPECT_EQ(view.useFarm, row.useFarm) << row.unreadable;
    dialogs.messages.clear();
    EXPECT_EQ(view.ReviewBuild().error == kBasePathUnread, !row.refusal.empty()) << row.unreadable;
    if (row.refusal.empty()) continue;
    const std::optional<BuildResult> refused = view.Build(false, nullptr);
    ASSERT_TRUE(refused) << row.unreadable;
    EXPECT_EQ(refused->error, row.refusal) << row.unreadable;
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{row.refusal}) << row.unreadable;
    EXPECT_FALSE(fixture::FileExists(platform::RootDirectory() + "OLD.WDD"));
    store.ClearWrites();
    EXPECT_FALSE(view.SaveSettings()) << "the root stored as the base path";
    EXPECT_TRUE(store.writes().empty());
    dialogs.files.push_back(dir / "gstnd32.exe");
    view.SetBasePath();
    EXPECT_EQ(view.ReviewBuild().error.find(kBasePathUnread), std::string::npos) << row.unreadable;
  }
}

// A new base takes effect on the form at once: what it shows is what a Build writes. Cancel
// changes nothing.
TEST(TovarinView, SetBasePath) {
  struct Case {
    std::optional<std::string> chosen;  // under the test's folder
    std::string base;                   // under the test's folder; "" for the folder itself
    std::size_t targetTeams;
    std::size_t messages;  // load errors, one a side, where the new base has no such folder
  } cases[] = {
      {"copy" + kSep + "gstnd32.exe", "copy" + kSep, 5, 0},
      {"copy" + kSep + "game.exe", "copy" + kSep, 5, 0},  // the chosen file's folder
      {"Sim" + kSep + "gstnd32.exe", "Sim" + kSep, 0, 2},
      {std::nullopt, "", 3, 0},  // Cancel
  };
  for (const Case& c : cases) {
    ViewFixture f;
    fixture::StandardOrg(5, 2).Write(f.dir.MakeDir("copy/OLD.WDD/ORG00001"));
    fixture::StandardOrg(2).Write(f.dir.MakeDir("copy/OLD.WDD/ORG00002"));
    f.Store("OLD.WDD", "ORG00001", "OLD.WDD", "ORG00002");
    f.view.OnInitialUpdate();
    f.dialogs.files.push_back(c.chosen ? std::optional(f.dir / *c.chosen) : std::nullopt);
    f.view.SetBasePath();
    ASSERT_EQ(f.dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(f.dialogs.fileRequests[0].initialFile, f.dir / "gstnd32.exe");
    EXPECT_EQ(f.dialogs.fileRequests[0].defaultExtension, "exe");
    EXPECT_EQ(f.dialogs.fileRequests[0].title, "Choose gstnd32.exe");
    const std::string base = f.dir / c.base;
    EXPECT_EQ(f.view.targetLocation.BaseDirectory(), base);
    EXPECT_EQ(f.view.sourceLocation.BaseDirectory(), base);
    // A side whose organization the new base lacks shows none, so a Build asks for one.
    const std::string shown = c.messages ? "" : base + "OLD.WDD" + kSep;
    EXPECT_EQ(f.view.targetOrgPath, shown.empty() ? "" : shown + "ORG00001" + kSep);
    EXPECT_EQ(f.view.sourceOrgPath, shown.empty() ? "" : shown + "ORG00002" + kSep);
    EXPECT_EQ(f.controls.targetOrgPath, f.view.targetOrgPath);
    if (!shown.empty()) {
      EXPECT_EQ(f.view.MakeBuildParams().targetOrganizationPath, f.view.targetOrgPath);
    } else {
      EXPECT_EQ(f.view.MissingOrganization(), kChooseTargetFirst);
    }
    EXPECT_EQ(f.view.targetTeams().size(), c.targetTeams);
    EXPECT_EQ(f.dialogs.messages.size(), c.messages);
    EXPECT_TRUE(f.store.writes().empty());  // stored only by a later save
  }
}

TEST(TovarinView, FirstStartOffersSetBasePath) {
  const std::string exe = kSep + "Sim" + kSep + "gstnd32.exe";
  struct Case {
    std::optional<std::string> storedBase;
    bool ok;
    std::optional<std::string> chosen;
    bool asked;
    std::string base;  // of both sides afterwards
  } cases[] = {
      {std::nullopt, true, exe, true, kSep + "Sim" + kSep},
      {std::nullopt, false, exe, true, ""},      // Cancel: the form as it was
      {std::string(), true, exe, true, kSep + "Sim" + kSep},  // stored empty is none
      {kSep + "Old" + kSep, true, exe, false, kSep + "Old" + kSep},
      {platform::RootDirectory(), true, exe, false, platform::RootDirectory()},
  };
  for (const Case& c : cases) {
    ViewFixture f;
    if (c.storedBase) f.store.WriteString(settings::kFile, settings::kBaseDir, *c.storedBase);
    f.store.ClearWrites();
    f.view.OnInitialUpdate();
    f.dialogs.answers.push_back(c.ok);
    f.dialogs.files.push_back(c.chosen);
    f.view.GuideFirstStart();
    EXPECT_EQ(f.dialogs.questions,
              c.asked ? std::vector<std::string>{kFirstStartMessage} : std::vector<std::string>{});
    EXPECT_EQ(f.dialogs.fileRequests.size(), c.asked && c.ok ? 1u : 0u);
    const std::string base = c.base.empty() ? platform::RootDirectory() : c.base;
    EXPECT_EQ(f.view.targetLocation.BaseDirectory(), base);
    EXPECT_EQ(f.view.sourceLocation.BaseDirectory(), base);
    EXPECT_TRUE(f.store.writes().empty());  // stored only by a later save, as always
  }
}

TEST(TovarinView, ChooseRenameFile) {
  ViewFixture f;
  f.view.OnInitialUpdate();
  f.dialogs.files.push_back(std::string("/data/renames.txt"));
  f.view.ChooseRenameFile();
  EXPECT_EQ(f.dialogs.fileRequests.back().initialFile, platform::RootDirectory() + "*.txt");
  EXPECT_EQ(f.dialogs.fileRequests.back().defaultExtension, "txt");
  EXPECT_EQ(f.dialogs.fileRequests.back().title, "Choose Rename File");
  EXPECT_EQ(f.view.renamePath, "/data/renames.txt");
  EXPECT_EQ(f.controls.renamePath, "/data/renames.txt");
  f.view.ChooseRenameFile();  // Cancel clears it
  EXPECT_EQ(f.view.renamePath, "");
  EXPECT_EQ(f.controls.renamePath, "");
}

TEST(TovarinView, OrganizationButtons) {
  ViewFixture f;
  f.Store("OLD.WDD", "ORG00001", "NEW.WDD", "ORG00001");
  f.view.OnInitialUpdate();
  CTovarinView& v = f.view;
  ASSERT_EQ(v.targetTeams().size(), 3u);
  ASSERT_NE(v.targetTeams()[0].partner, nullptr);  // "City 1 Club" on both sides

  // A pair made by hand survives choosing the same organization again.
  TeamEntry& t0 = v.targetTeams()[0];
  TeamEntry& s0 = v.sourceTeams()[0];
  TeamEntry& s3 = v.sourceTeams()[3];
  t0.partner->partner = nullptr;
  t0.partner = &s3;
  s3.partner = &t0;
  f.dialogs.organizationDialog = fixture::PickOrganization("NEW.WDD", "ORG00001");
  v.OnSourceOrganization();
  EXPECT_EQ(v.targetTeams()[0].partner, &s3);
  EXPECT_EQ(s0.partner, nullptr);

  // Another organization: pairs by name afresh.
  f.dialogs.organizationDialog = fixture::PickOrganization("OLD.WDD", "ORG00002");
  v.OnSourceOrganization();
  EXPECT_EQ(v.sourceOrgPath, f.dir / "OLD.WDD" + kSep + "ORG00002" + kSep);
  EXPECT_EQ(f.controls.sourceOrgPath, v.sourceOrgPath);
  EXPECT_EQ(v.sourceTeams().size(), 2u);
  EXPECT_EQ(v.targetTeams()[0].partner, &v.sourceTeams()[0]);
  EXPECT_EQ(f.controls.sourceLabel, "Teams - 2");

  // Cancel empties the side's path, list and label, yet the location keeps its names.
  f.dialogs.organizationDialog = fixture::CancelOrganization;
  v.OnTargetOrganization();
  EXPECT_EQ(v.targetOrgPath, "");
  EXPECT_EQ(f.controls.targetOrgPath, "");
  EXPECT_TRUE(v.targetTeams().empty());
  EXPECT_EQ(f.controls.targetLabel, "Teams - 0");
  // The dialog's title names the side it chose.
  EXPECT_EQ(f.dialogs.organizationTitles,
            (std::vector<std::string>{"Identify Source Organization",
                                      "Identify Source Organization",
                                      "Identify Target Organization"}));
  EXPECT_TRUE(f.controls.targetRows.empty());
  EXPECT_EQ(f.controls.sourceRows.size(), 2u);  // every source team is unpaired again
  EXPECT_EQ(v.targetLocation.OrganizationName(), "ORG00001");
}

TEST(TovarinView, StoredLowerCaseOrganizationReloadsWhenPickedAgain) {
  ViewFixture f;
  f.Store("old.wdd", "org00001", "", "");
  f.view.OnInitialUpdate();
  f.view.targetTeams()[0].name = "changed by hand";
  f.dialogs.organizationDialog = fixture::PickOrganization("OLD.WDD", "ORG00001");
  f.view.OnTargetOrganization();
  // The path now reads in upper case, so it counts as changed and the list is loaded again.
  EXPECT_EQ(f.view.targetOrgPath, f.dir / "OLD.WDD" + kSep + "ORG00001" + kSep);
  EXPECT_EQ(f.view.targetTeams()[0].name, "City 1");
}

TEST(TovarinView, StartupWithAMissingOrganization) {
  ViewFixture f;
  f.Store("OLD.WDD", "ORG00009", "OLD.WDD", "ORG00001");
  f.view.OnInitialUpdate();
  // Named as spelled on disk, as far as it exists (on Windows, as the system takes it: as given).
#ifdef _WIN32
  const std::string missing = f.dir / "OLD.WDD" + kSep + "ORG00009" + kSep + "org.dat";
#else
  const std::string missing = f.dir / "Old.wdd" + kSep + "ORG00009" + kSep + "org.dat";
#endif
  EXPECT_EQ(f.dialogs.messages, (std::vector<std::string>{"CANNOT OPEN FILE :" + missing + "\n"}));
  EXPECT_EQ(f.view.targetOrgPath, "");
  EXPECT_EQ(f.controls.targetOrgPath, "");
  EXPECT_EQ(f.view.sourceTeams().size(), 3u);
  EXPECT_EQ(f.view.sourceFarmOrg, 2);
}

TEST(TovarinView, FarmCheckboxAndReinitialisation) {
  ViewFixture f;
  f.Store("OLD.WDD", "ORG00001", "OLD.WDD", "ORG00002");
  f.view.OnInitialUpdate();
  CTovarinView& v = f.view;
  v.OnUseFarm();
  EXPECT_EQ(v.useFarm, 0);
  EXPECT_EQ(f.controls.useFarm, 0);
  v.OnUseFarm();
  EXPECT_EQ(v.useFarm, 1);
  v.useFarm = 5;  // a stored value other than 0 or 1 counts as set
  v.OnUseFarm();
  EXPECT_EQ(v.useFarm, 0);

  // Unsaved changes return to the stored setup when the form is initialised again (Ctrl+N).
  f.dialogs.organizationDialog = fixture::CancelOrganization;
  v.OnTargetOrganization();
  f.dialogs.files.push_back(std::string("/r.txt"));
  v.ChooseRenameFile();
  v.OnInitialUpdate();
  EXPECT_EQ(v.useFarm, 1);
  EXPECT_EQ(v.renamePath, "");
  EXPECT_EQ(v.targetOrgPath, f.dir / "OLD.WDD" + kSep + "ORG00001" + kSep);
  EXPECT_EQ(v.targetTeams().size(), 3u);
  EXPECT_EQ(f.controls.targetLabel, "Teams - 3");
  EXPECT_TRUE(f.store.writes().empty());
}

}  // namespace
}  // namespace tovarin
