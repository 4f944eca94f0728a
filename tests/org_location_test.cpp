#include <gtest/gtest.h>

#include "platform/paths.h"
#include "shell/org_location.h"
#include "shell/sim_text.h"
#include "support/fixture.h"

namespace tovarin {
namespace {

using fixture::TempDir;
const std::string kSep(1, platform::kSeparator);

TEST(OrgLocation, Paths) {
  struct Case {
    std::string base, dataDisk, organization;
    std::string baseDirectory, dataDiskPath, organizationPath;
  } cases[] = {
      {kSep + "Sim" + kSep, "LEAGUE.WDD", "ORG00001", kSep + "Sim" + kSep,
       kSep + "Sim" + kSep + "LEAGUE.WDD" + kSep, kSep + "Sim" + kSep + "LEAGUE.WDD" + kSep + "ORG00001" + kSep},
      {"", "LEAGUE.WDD", "ORG00001", platform::RootDirectory(),
       platform::RootDirectory() + "LEAGUE.WDD" + kSep,
       platform::RootDirectory() + "LEAGUE.WDD" + kSep + "ORG00001" + kSep},
      // A base directory given without its separator gets one.
      {kSep + "Sim", "LEAGUE.WDD", "ORG00001", kSep + "Sim" + kSep,
       kSep + "Sim" + kSep + "LEAGUE.WDD" + kSep,
       kSep + "Sim" + kSep + "LEAGUE.WDD" + kSep + "ORG00001" + kSep},
      // Each level checks only its own field.
      {kSep + "Sim" + kSep, "", "ORG00001", kSep + "Sim" + kSep, "", "ORG00001" + kSep},
      {"", "", "", platform::RootDirectory(), "", ""},
  };
  for (const Case& c : cases) {
    OrgLocation location;
    location.SetBaseDirectory(c.base);
    location.SetDataDisk(c.dataDisk);
    location.SetOrganization(c.organization);
    EXPECT_EQ(location.BaseDirectory(), c.baseDirectory) << c.base;
    EXPECT_EQ(location.DataDiskPath(), c.dataDiskPath) << c.base << c.dataDisk;
    EXPECT_EQ(location.OrganizationPath(), c.organizationPath) << c.base << c.organization;
    EXPECT_EQ(location.DataDiskName(), c.dataDisk);
    EXPECT_EQ(location.OrganizationName(), c.organization);
  }
}

// A base directory with two data disks (one without organizations) and some noise.
struct PickerTree {
  TempDir dir;
  PickerTree() {
    dir.MakeDir("league.wdd/org00002");
    dir.MakeDir("league.wdd/Org00001");
    dir.MakeDir("league.wdd/misc");
    dir.MakeDir("Empty.WDD");
    dir.MakeDir("Other.Wdd/ORG00007");
    dir.MakeDir("notadisk");
    sim::WriteBytes(dir / "file.wdd", {0});
    sim::WriteBytes(dir / "league.wdd/ORG99999", {0});
  }
  OrgLocation Location(const std::string& dataDisk, const std::string& organization) const {
    OrgLocation location;
    location.SetBaseDirectory(dir.path());
    location.SetDataDisk(dataDisk);
    location.SetOrganization(organization);
    return location;
  }
};

TEST(OrgPicker, OpeningPreselectsStoredNames) {
  PickerTree tree;
  struct Case {
    std::string storedDisk, storedOrg;
    int diskSelection;
    std::vector<std::string> organizations;
    int orgSelection;
    std::string disk, org;
  } cases[] = {
      {"LEAGUE.WDD", "ORG00002", 1, {"", "ORG00001", "ORG00002"}, 2, "LEAGUE.WDD", "ORG00002"},
      // Lower case and prefixes still find their entries; the fields take the full upper name.
      {"league.wdd", "org00001", 1, {"", "ORG00001", "ORG00002"}, 1, "LEAGUE.WDD", "ORG00001"},
      {"lea", "org", 1, {"", "ORG00001", "ORG00002"}, 1, "LEAGUE.WDD", "ORG00001"},
      // A stored organization that is gone selects the empty entry.
      {"LEAGUE.WDD", "ORG00005", 1, {"", "ORG00001", "ORG00002"}, 0, "LEAGUE.WDD", ""},
      {"LEAGUE.WDD", "", 1, {"", "ORG00001", "ORG00002"}, 0, "LEAGUE.WDD", ""},
      // A stored data disk that is gone: no selection anywhere, both fields empty.
      {"GONE.WDD", "ORG00001", -1, {""}, -1, "", ""},
      {"", "", -1, {""}, -1, "", ""},
  };
  for (const Case& c : cases) {
    OrgLocation location = tree.Location(c.storedDisk, c.storedOrg);
    OrgPicker picker(location);
    EXPECT_EQ(picker.dataDisks(),
              (std::vector<std::string>{"EMPTY.WDD", "LEAGUE.WDD", "OTHER.WDD"}));
    EXPECT_EQ(picker.dataDiskSelection(), c.diskSelection) << c.storedDisk;
    EXPECT_EQ(picker.organizations(), c.organizations) << c.storedDisk;
    EXPECT_EQ(picker.organizationSelection(), c.orgSelection) << c.storedDisk << c.storedOrg;
    EXPECT_EQ(location.DataDiskName(), c.disk) << c.storedDisk;
    EXPECT_EQ(location.OrganizationName(), c.org) << c.storedDisk << c.storedOrg;
    picker.Cancel();  // Cancel keeps what opening took
    EXPECT_EQ(location.DataDiskName(), c.disk);
    EXPECT_EQ(location.OrganizationName(), c.org);
  }
}

TEST(OrgPicker, EmptyEntryAndOk) {
  PickerTree tree;
  OrgLocation location = tree.Location("LEAGUE.WDD", "ORG00002");
  OrgPicker picker(location);
  picker.SelectOrganization(0);
  EXPECT_EQ(location.OrganizationName(), "ORG00002");  // nothing changes before OK
  picker.Ok();
  EXPECT_EQ(location.OrganizationName(), "");
  EXPECT_EQ(location.OrganizationPath(), "");
  EXPECT_EQ(location.DataDiskPath(), tree.dir / "LEAGUE.WDD" + kSep);
}

TEST(OrgPicker, DataDiskChangeAndCancel) {
  PickerTree tree;
  OrgLocation location = tree.Location("LEAGUE.WDD", "ORG00002");
  OrgPicker picker(location);

  picker.ChooseDataDisk(2);  // OTHER.WDD
  EXPECT_EQ(picker.organizations(), (std::vector<std::string>{"ORG00007"}));
  EXPECT_EQ(picker.organizationSelection(), 0);
  picker.Cancel();
  EXPECT_EQ(location.DataDiskName(), "OTHER.WDD");  // the change stays, even on Cancel
  EXPECT_EQ(location.OrganizationName(), "ORG00007");
  EXPECT_EQ(location.OrganizationPath(), tree.dir / "OTHER.WDD" + kSep + "ORG00007" + kSep);

  // The same data disk again refills the list and takes its first organization.
  picker.ChooseDataDisk(1);
  picker.SelectOrganization(1);
  picker.ChooseDataDisk(1);
  EXPECT_EQ(picker.organizations(), (std::vector<std::string>{"ORG00001", "ORG00002"}));
  EXPECT_EQ(picker.organizationSelection(), 0);
  EXPECT_EQ(location.OrganizationName(), "ORG00001");

  // A data disk without organizations: an empty list and, on OK, no organization.
  picker.ChooseDataDisk(0);
  EXPECT_TRUE(picker.organizations().empty());
  EXPECT_EQ(picker.organizationSelection(), -1);
  picker.Ok();
  EXPECT_EQ(location.DataDiskName(), "EMPTY.WDD");
  EXPECT_EQ(location.OrganizationName(), "");
}

TEST(OrgPicker, BaseDirectoryWithoutItsSeparatorListsTheSameDisksItOpens) {
  PickerTree tree;
  std::string base = tree.dir.path();
  base.pop_back();
  OrgLocation location;
  location.SetBaseDirectory(base);
  OrgPicker picker(location);
  ASSERT_EQ(picker.dataDisks().size(), 3u);
  picker.ChooseDataDisk(1);  // LEAGUE.WDD
  EXPECT_EQ(picker.organizations(), (std::vector<std::string>{"ORG00001", "ORG00002"}));
  picker.Ok();
  EXPECT_EQ(location.OrganizationPath(), tree.dir / "LEAGUE.WDD" + kSep + "ORG00001" + kSep);
}

TEST(OrgPicker, MissingBaseDirectoryListsNothing) {
  OrgLocation location;
  location.SetBaseDirectory("/no/such/base/");
  location.SetDataDisk("LEAGUE.WDD");
  OrgPicker picker(location);
  EXPECT_TRUE(picker.dataDisks().empty());
  EXPECT_EQ(picker.organizations(), (std::vector<std::string>{""}));
  EXPECT_EQ(picker.note(), "No data disk (a folder ending in .WDD) was found in " +
                               location.BaseDirectory() +
                               ". Use File > Set Base Path to choose gstnd32.exe in the folder "
                               "where Grandstand is installed.");
  picker.Ok();
  EXPECT_EQ(location.DataDiskName(), "");

  PickerTree tree;  // with data disks, where they are
  OrgLocation found = tree.Location("LEAGUE.WDD", "ORG00002");
  EXPECT_EQ(OrgPicker(found).note(), "Data disks in " + found.BaseDirectory() +
                                         " (File > Set Base Path chooses another folder).");
}

// Names are Windows-1252 in the simulation's files and UTF-8 where a person reads them.
TEST(SimText, TheOneCrossing) {
  struct Case {
    std::string windows1252, utf8;
  } cases[] = {
      {"Montr\xE9" "al", "Montr\xC3\xA9" "al"},
      {"Jos\xE9 Pe\xF1" "a", "Jos\xC3\xA9 Pe\xC3\xB1" "a"},
      {"\x80\x8A\x9F\xFF", "\xE2\x82\xAC\xC5\xA0\xC5\xB8\xC3\xBF"},
      {"\x81\x9D", "\xC2\x81\xC2\x9D"},  // undefined in Windows-1252, kept as Latin-1
      {"PLAIN", "PLAIN"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DisplayText(c.windows1252), c.utf8) << c.utf8;
    EXPECT_EQ(SimText(c.utf8), c.windows1252) << c.utf8;
  }
  EXPECT_EQ(SimText("\xC5\x81" "ODZ"), std::nullopt);  // no place for it in Windows-1252
  EXPECT_EQ(SimText("QU\xC9" "BEC"), "QU\xC9" "BEC");  // not UTF-8: a Linux name's own bytes
}

}  // namespace
}  // namespace tovarin
