#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "platform/native_path.h"
#include "memory_settings/memory_settings_store.h"
#include "cli/cli.h"
#include "support/build_tree.h"
#include "support/fake_ui.h"
#include "tovarin_version.h"
#include "transfer/report.h"

namespace tovarin {
namespace {

using fixture::BuildTree;
using fixture::ReadFileBytes;

struct CliRun {
  int status = -1;
  std::string out, err;
};

// A device in place of a file, under `dir` on Windows, where the name makes it one anywhere.
std::string Device(const fixture::TempDir& dir) {
#ifdef _WIN32
  return dir / "NUL.txt";
#else
  (void)dir;
  return "/dev/null";
#endif
}

// The trees of BuildTree, driven through the command line instead of the form.
struct CliFixture {
  BuildTree tree;
  MemorySettingsStore store;


  CliRun Run(std::vector<std::string> args, bool interactive = false,
             const std::string& input = "") {
    std::ostringstream out, err;
    std::istringstream in(input);
    // Each fixture keeps its backups to itself, also when the tests share one process.
    cli::Console console{out, err, in, interactive, store, tree.backups};
    CliRun run;
    run.status = cli::Run(args, console);
    run.out = out.str();
    run.err = err.str();
    return run;
  }
  std::vector<std::string> Sides() { return {"--target", tree.targetOrg, "--source", tree.sourceOrg}; }
  std::vector<std::string> Build(std::vector<std::string> extra) {
    std::vector<std::string> args = {"build", "--target", tree.targetOrg, "--source",
                                     tree.sourceOrg};
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  }
};

// A setup document saved by the window stands in for the stored setup; anything else is refused.
TEST(Cli, ASetupDocumentInPlaceOfTheStoredSetup) {
  CliFixture f;
  const std::string document = f.tree.dir / "league.tov";
  sim::WriteBytes(document, BuildTree::Text(
      "Tovarin setup 1\nTgtBase=" + f.tree.dir.path() + "\nTgtDataDisk=LEAGUE.WDD\nTgtOrg=ORG00001\n"
      "SrcBase=" + f.tree.dir.path() + "\nSrcDataDisk=SRC.WDD\nSrcOrg=ORG00001\nRename=" +
      f.tree.dir / "renames.txt" + "\nUseFarm=0\nThreeLetters=1\nSmartInitials=1\n"));
  CliRun run = f.Run({"build", "--setup", document});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(f.tree.TargetRoster(1), (std::vector<int>{2, 4}));  // no farm, as the setup says
  EXPECT_EQ(f.tree.TargetRoster(3), (std::vector<int>{7}));     // its rename file's signing
  EXPECT_TRUE(f.store.writes().empty());
  const struct {
    std::vector<std::string> args;
    std::string err;
  } refused[] = {
      {{"review", "--setup", f.tree.dir / "renames.txt"},
       "--setup " + f.tree.dir / "renames.txt" + ": The file " + f.tree.dir / "renames.txt" +
           " is not a Tovarin setup, so nothing was opened."},
      {{"renames", "--setup", document, "--target", f.tree.targetOrg, "--source",
        f.tree.sourceOrg},
       "give --setup FILE or --target and --source, not both"},
  };
  for (const auto& row : refused) {
    run = f.Run(row.args);
    EXPECT_EQ(run.status, 2) << row.args[0];
    EXPECT_EQ(run.err.rfind("tovarin-cli: " + row.err + "\n", 0), 0u) << run.err;
  }
}

TEST(Cli, BuildWithBothSides) {
  CliFixture f;
  CliRun run = f.Run(f.Build({"--rename", f.tree.dir / "renames.txt"}));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, f.tree.Completed() + "\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(f.tree.TargetRoster(1), (std::vector<int>{2, 4, 5}));  // farm players by default
  EXPECT_EQ(f.tree.TargetRoster(3), (std::vector<int>{7}));
  EXPECT_TRUE(f.store.writes().empty()) << "the setup is written only with --save-setup";

  // Without --rename no rename file is read; --no-farm leaves the farm out.
  run = f.Run(f.Build({"--no-farm", "--summary"}));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(f.tree.TargetRoster(1), (std::vector<int>{2, 4}));
  EXPECT_EQ(f.tree.TargetRoster(3), (std::vector<int>{}));
  EXPECT_EQ(run.out,
            f.tree.Completed(3, "", "", "City 3") + "\nRosters written: 3\nPlayers carried: 3\n"
            "Players dropped (no match on the target data disk): 2\nNear misses: 1\n"
            "Emptied (no source team): City 3\nReport: " + f.tree.targetDisk + "Tovarin.txt\n");

  // With a rename file, the summary says how many of its records the Build used.
  run = f.Run(f.Build({"--rename", f.tree.dir / "renames.txt", "--no-farm", "--summary"}));
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("\nNear misses: 1\nRename file: 1 of 1 records used\nReport: "),
            std::string::npos)
      << run.out;
}

TEST(Cli, OrganizationDirectoriesAreTakenAsTheDialogWouldGiveThem) {
  CliFixture f;
  std::filesystem::rename(platform::NativePath(f.tree.dir / "LEAGUE.WDD"),
                          platform::NativePath(f.tree.dir / "League.wdd"));
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(platform::NativePath(f.tree.dir.path()));
  CliRun run = f.Run({"build", "--target", "League.wdd/./ORG00001", "--source",
                      f.tree.sourceOrg + "../ORG00001/", "--save-setup"});
  std::filesystem::current_path(cwd);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(f.store.ReadString("File", "BaseDir"), f.tree.dir.path());
  EXPECT_EQ(f.store.ReadString("File", "TgtDataDisk"), "LEAGUE.WDD");
  EXPECT_EQ(f.store.ReadString("File", "TgtOrg"), "ORG00001");
  EXPECT_EQ(f.store.ReadString("File", "SrcDataDisk"), "SRC.WDD");
  EXPECT_EQ(f.store.ReadString("File", "Rename"), "");
  EXPECT_EQ(f.store.ReadInt("Option", "UseFarm"), 1);
  EXPECT_EQ(ReadFileBytes(f.tree.dir / "League.wdd/ORG00001/T00001RS.ORG"),
            BuildTree::Expected({2, 4, 5}));
}

TEST(Cli, BuildOnTheStoredSetup) {
  CliFixture f;
  using namespace settings;
  f.store.WriteString(kFile, kBaseDir, f.tree.dir.path());
  f.store.WriteString(kFile, kTgtDataDisk, "LEAGUE.WDD");
  f.store.WriteString(kFile, kTgtOrg, "ORG00001");
  f.store.WriteString(kFile, kSrcDataDisk, "SRC.WDD");
  f.store.WriteString(kFile, kSrcOrg, "ORG00001");
  f.store.WriteString(kFile, kRename, f.tree.dir / "renames.txt");
  f.store.WriteInt(kOption, kUseFarm, 0);
  f.store.WriteInt(kOption, kThreeLetters, 9);
  f.store.ClearWrites();

  CliRun run = f.Run({"build"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(f.tree.TargetRoster(1), (std::vector<int>{2, 4}));
  EXPECT_EQ(f.tree.TargetRoster(3), (std::vector<int>{7}));
  EXPECT_TRUE(f.store.writes().empty());

  run = f.Run({"build", "--farm", "--rename", f.tree.dir / "none.txt", "--save-setup"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(f.tree.TargetRoster(1), (std::vector<int>{2, 4, 5}));
  EXPECT_EQ(f.tree.TargetRoster(3), (std::vector<int>{}));
  EXPECT_EQ(f.store.ReadInt(kOption, kUseFarm), 1);
  EXPECT_EQ(f.store.ReadInt(kOption, kThreeLetters), 9);
  EXPECT_EQ(f.store.ReadString(kFile, kRename), f.tree.dir / "none.txt");

  // Storing a setup for the window, without building.
  run = f.Run({"settings", "--target", f.tree.targetOrg, "--source", f.tree.targetOrg,
               "--no-farm", "--rename", f.tree.dir / "none.txt"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(f.store.ReadString(kFile, kSrcDataDisk), "LEAGUE.WDD");
  EXPECT_EQ(f.store.ReadInt(kOption, kUseFarm), 0);
  EXPECT_EQ(f.store.ReadInt(kOption, kThreeLetters), 9);
  run = f.Run({"settings", "--target", f.tree.targetOrg, "--source", f.tree.sourceOrg});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("File/SrcDataDisk=SRC.WDD\n"), std::string::npos) << "shown once stored";
  EXPECT_EQ(f.Run({"settings", "--target", f.tree.dir / "LEAGUE.WDD/ORG00005", "--source",
                   f.tree.sourceOrg}).status, 1);
  f.Run({"settings", "--target", f.tree.targetOrg, "--source", f.tree.sourceOrg, "--farm",
         "--rename", f.tree.dir / "none.txt"});

  run = f.Run({"settings"});
  EXPECT_EQ(run.out, "File/BaseDir=" + f.tree.dir.path() +
                         "\nFile/TgtDataDisk=LEAGUE.WDD\nFile/TgtOrg=ORG00001\n"
                         "File/SrcDataDisk=SRC.WDD\nFile/SrcOrg=ORG00001\nFile/Rename=" +
                         f.tree.dir / "none.txt" +
                         "\nOption/UseFarm=1\nOption/ThreeLetters=9\nOption/SmartInitials=1\n");
}

// A setup that the store could not keep is never shown as stored: settings exits 1, and a
// Build says so in its completion message.
TEST(Cli, ASetupThatCannotBeStoredIsSaid) {
  struct RefusingStore : MemorySettingsStore {
    bool Commit(std::string* what) override {
      *what = "/config/Didozuza/Tovarin.conf\nNo space left on device";
      return false;
    }
  };
  BuildTree tree;
  RefusingStore store;
  auto run = [&](std::vector<std::string> args) {
    std::ostringstream out, err;
    std::istringstream in;
    cli::Console console{out, err, in, false, store, tree.backups};
    return CliRun{cli::Run(args, console), out.str(), err.str()};
  };
  const std::string said =
      "The setup could not be stored: /config/Didozuza/Tovarin.conf\nNo space left on device\n";
  CliRun settings = run({"settings", "--target", tree.targetOrg, "--source", tree.sourceOrg});
  EXPECT_EQ(settings.status, 1);
  EXPECT_EQ(settings.err, said);
  EXPECT_EQ(settings.out, "");
  CliRun build = run({"build", "--target", tree.targetOrg, "--source", tree.sourceOrg,
                      "--save-setup"});
  EXPECT_EQ(build.status, 0) << build.err;
  EXPECT_EQ(build.out, tree.Completed(3, "", "", "City 3") + "\n" + said);  // no rename file given
}

// A stored setup that cannot all be read is not the user's: build, review and renames refuse it
// (status 2), settings says what it could not read (status 1), and nothing is written.
TEST(Cli, AStoredSetupReadInPartIsRefused) {
  const struct {
    std::vector<std::string> args;
    int status;
  } rows[] = {{{"build", "--yes"}, 2}, {{"review"}, 2}, {{"renames"}, 2}, {{"settings"}, 1}};
  for (const auto& row : rows) {
    BuildTree tree;
    fixture::PartlyUnreadableStore store;
    tree.StoreSetup(store);
    store.unreadable = {"File/BaseDir", "Option/UseFarm"};
    store.ClearWrites();
    const sim::Bytes roster = ReadFileBytes(BuildTree::RosterName(tree.targetOrg, 1));
    std::ostringstream out, err;
    std::istringstream in;
    cli::Console console{out, err, in, false, store, tree.backups};
    EXPECT_EQ(cli::Run(row.args, console), row.status) << row.args[0] << err.str();
    const std::string said = "The setup could not be read: store File/BaseDir\nit is of another "
                             "type\nstore Option/UseFarm\nit is of another type\n";
    EXPECT_NE(err.str().find(said), std::string::npos) << row.args[0] << err.str();
    EXPECT_EQ(ReadFileBytes(BuildTree::RosterName(tree.targetOrg, 1)), roster) << row.args[0];
    EXPECT_FALSE(fixture::FileExists(tree.targetDisk + "Tovarin.txt")) << row.args[0];
    EXPECT_TRUE(store.writes().empty()) << row.args[0];
  }
}

// Target and source under two base folders: the stored setup holds one, so settings refuses to
// store it (status 2) and a Build saving its setup completes and says it was not stored.
TEST(Cli, TwoBaseFoldersAreNoStoredSetup) {
  CliFixture f;
  const std::string other = f.tree.dir.MakeDir("other");
  std::filesystem::copy(platform::NativePath(f.tree.dir / "SRC.WDD"),
                        platform::NativePath(f.tree.dir / "other/SRC.WDD"),
                        std::filesystem::copy_options::recursive);
  const std::string source = f.tree.dir / "other/SRC.WDD/ORG00001";
  const std::string why = "the target organization is under the base folder " + f.tree.dir.path() +
                          " and the source organization under " + other +
                          ", but a stored setup holds one base folder for both.";
  CliRun run = f.Run({"settings", "--target", f.tree.targetOrg, "--source", source});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err.rfind("tovarin-cli: this setup cannot be stored: " + why + "\n", 0), 0u)
      << run.err;
  run = f.Run({"build", "--target", f.tree.targetOrg, "--source", source, "--save-setup"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, f.tree.Completed(3, "", "", "City 3") + "\nThe setup could not be stored: " +
                         why + "\nThe setup stored before is unchanged.\n");
  EXPECT_TRUE(f.store.writes().empty());
}

// Asking for the version or the help reads no settings at all, so no settings file can hold
// them up.
TEST(Cli, VersionAndHelpNeedNoSettings) {
  struct UntouchableStore : platform::SettingsStore {
    std::optional<std::string> ReadString(const std::string&, const std::string&) override {
      ADD_FAILURE() << "settings read";
      return std::nullopt;
    }
    std::optional<std::int32_t> ReadInt(const std::string&, const std::string&) override {
      ADD_FAILURE() << "settings read";
      return std::nullopt;
    }
    void WriteString(const std::string&, const std::string&, const std::string&) override {
      ADD_FAILURE() << "settings written";
    }
    void WriteInt(const std::string&, const std::string&, std::int32_t) override {
      ADD_FAILURE() << "settings written";
    }
    std::string ReadProblem() override {
      ADD_FAILURE() << "settings opened";
      return "";
    }
  } store;
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--version"}, {"--help"}, {"build", "--help"},
        {"settings", "--help"}}) {
    std::ostringstream out, err;
    std::istringstream in;
    cli::Console console{out, err, in, false, store, ""};
    EXPECT_EQ(cli::Run(args, console), 0) << args[0];
  }
}

TEST(Cli, GamesPlayedQuestion) {
  struct Case {
    std::string name;
    std::vector<std::string> extra;
    bool interactive;
    std::string answer;
    int status;
  } cases[] = {
      {"no terminal, no --yes", {}, false, "", 3},
      {"--yes", {"--yes"}, false, "", 0},
      {"terminal, Enter takes Yes", {}, true, "\n", 0},
      {"terminal, y", {}, true, "Y\n", 0},
      {"terminal, n", {}, true, "n\n", 3},
      {"terminal, end of input", {}, true, "", 3},
  };
  for (const Case& c : cases) {
    CliFixture f;
    fixture::StandardOrgWithGamesPlayed(3, 2).Write(f.tree.targetOrg);
    CliRun run = f.Run(f.Build(c.extra), c.interactive, c.answer);
    EXPECT_EQ(run.status, c.status) << c.name << run.err;
    EXPECT_EQ(fixture::FileExists(BuildTree::RosterName(f.tree.targetOrg, 1)), c.status == 0)
        << c.name;
    if (c.extra.empty()) {
      EXPECT_EQ(run.err.rfind("Target Organization already has games played.\n"
                              "Tovarin clears the rosters of the target teams.\n"
                              "Are you sure you wish to continue?\n",
                              0),
                0u)
          << c.name << run.err;
    }
  }
}

TEST(Cli, BuildPreconditions) {
  const std::string nothingPaired =
      "No target team is paired with a source team, so every target roster will be emptied. "
      "Continue?\n(not asked: no terminal; give --yes to go on)\n";
  struct Case {
    std::string name;
    std::vector<std::string> args;  // empty: build on the sides
    int status;
    std::string err;  // its start
  } cases[] = {
      {"no stored setup, no sides", {"build"}, 2,
       "tovarin-cli: no setup is stored; give build --target DIR --source DIR, or store them "
       "first with tovarin-cli settings --target DIR --source DIR\n"},
      {"nothing paired, no terminal", {"--reset"}, 3, nothingPaired},
      {"nothing paired, --yes", {"--reset", "--yes"}, 0, ""},
  };
  for (const Case& c : cases) {
    CliFixture f;
    BuildTree::Roster(f.tree.targetOrg, 1, {99}, "OLD");
    CliRun run = f.Run(c.args.empty() || c.args[0] != "build" ? f.Build(c.args) : c.args);
    EXPECT_EQ(run.status, c.status) << c.name;
    EXPECT_EQ(run.err.substr(0, c.err.size()), c.err) << c.name;
    EXPECT_EQ(f.tree.TargetRoster(1) != std::vector<int>{99}, c.status == 0) << c.name;
    EXPECT_EQ(fixture::FileExists(f.tree.targetDisk + "Tovarin.txt"), c.status == 0) << c.name;
  }
}

// Windows shows paths as given and has no folders that differ only in case.
#ifndef _WIN32
// The command line upper-cases the folder names, as the picker shows them; messages still name
// folders as they are spelled on disk, and a Build refuses a target it cannot tell from a twin.
TEST(Cli, FoldersAsSpelledOnDisk) {
  struct Case {
    std::string name;
    std::string make;    // a folder made in the tree first
    std::string target;  // under the tree
    std::string err;     // '@' stands for the tree's folder
  } cases[] = {
      {"a twin of the organization", "LEAGUE.WDD/org00001", "LEAGUE.WDD/org00001",
       "@/LEAGUE.WDD/ORG00001 and @/LEAGUE.WDD/org00001 differ only in case, so Tovarin cannot "
       "tell which one to build; rename one of them.\n"},
      {"a lower-case folder that is no organization", "lower.wdd/plain", "lower.wdd/plain",
       "CANNOT OPEN FILE :@/lower.wdd/plain/org.dat\n"},
  };
  for (const Case& c : cases) {
    CliFixture f;
    f.tree.dir.MakeDir(c.make);
    CliRun run = f.Run({"build", "--target", f.tree.dir / c.target, "--source", f.tree.sourceOrg});
    EXPECT_EQ(run.status, 1) << c.name;
    EXPECT_EQ(run.err, fixture::InDir(f.tree.dir, c.err)) << c.name;
    EXPECT_FALSE(fixture::FileExists(f.tree.targetDisk + "Tovarin.txt")) << c.name;
    EXPECT_FALSE(fixture::FileExists(BuildTree::RosterName(f.tree.targetOrg, 1))) << c.name;
  }
}
#endif

#ifndef _WIN32
// A roster records its data disk by the name of the folder the user reached, as spelled on
// disk: through a link, the link's, whose folder the simulation lists; the report and the
// stored setup name that folder too.
TEST(Cli, RostersNameTheDataDiskAsSpelledOnDisk) {
  CliFixture f;
  std::filesystem::create_directory_symlink("LEAGUE.WDD",
                                           platform::NativePath(f.tree.dir / "Season.wdd"));
  CliRun run = f.Run({"build", "--target", f.tree.dir / "SEASON.WDD/ORG00001", "--source",
                      f.tree.sourceOrg, "--save-setup"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFileBytes(BuildTree::RosterName(f.tree.targetOrg, 1)),
            BuildTree::Expected({2, 4, 5}, "SEASON"));
  EXPECT_NE(run.out.find("Report: " + f.tree.dir / "Season.wdd/Tovarin.txt"), std::string::npos)
      << run.out;
  EXPECT_EQ(f.store.ReadString("File", "TgtDataDisk"), "SEASON.WDD");
  EXPECT_EQ(f.store.ReadString("File", "BaseDir"), f.tree.dir.path());
}
#endif

// A path option that cannot be made a path is wrong usage, named by its option.
TEST(Cli, PathOptionsThatNameNoPath) {
  struct Case {
    std::string name;
    std::vector<std::string> args;  // after the sides
    bool fromDeletedFolder;
    std::string err;
  } cases[] = {
      {"empty --rename", {"--rename", ""}, false, "tovarin-cli: --rename: the path is empty\n"},
      {"empty --target", {"--target", ""}, false, "tovarin-cli: --target: the path is empty\n"},
#ifndef _WIN32  // Windows keeps a process's current folder from being removed
      {"relative --rename from a deleted folder", {"--rename", "renames.txt"}, true,
       "tovarin-cli: --rename renames.txt: a relative path needs the current folder, which "
       "cannot be found (No such file or directory)\n"},
#endif
  };
  const std::filesystem::path home = std::filesystem::current_path();
  for (const Case& c : cases) {
    CliFixture f;
    std::vector<std::string> args = {"build", "--source", f.tree.sourceOrg};
    if (c.args[0] != "--target") args.insert(args.end(), {"--target", f.tree.targetOrg});
    args.insert(args.end(), c.args.begin(), c.args.end());
    if (c.fromDeletedFolder) {
      std::filesystem::current_path(platform::NativePath(f.tree.dir.MakeDir("gone")));
      std::filesystem::remove(platform::NativePath(f.tree.dir / "gone"));
    }
    CliRun run = f.Run(args);
    std::filesystem::current_path(home);
    EXPECT_EQ(run.status, 2) << c.name;
    EXPECT_EQ(run.err.substr(0, run.err.find('\n') + 1), c.err) << c.name;
    EXPECT_FALSE(fixture::FileExists(f.tree.targetDisk + "Tovarin.txt")) << c.name;
  }
}

TEST(Cli, ErrorsGoToStandardErrorWithStatusOne) {
  CliFixture f;
  std::filesystem::remove(platform::NativePath(BuildTree::RosterName(f.tree.sourceOrg, 2)));
  CliRun run = f.Run(f.Build({}));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "Error while reading file : " + BuildTree::RosterName(f.tree.sourceOrg, 2) +
                         "\nThe Build stopped there, and the rosters it had replaced were put "
                         "back as they were, so no roster was changed.\n");

  std::filesystem::remove(platform::NativePath(f.tree.targetDisk + "Tovarin.txt"));
  run = f.Run({"build", "--target", f.tree.dir / "LEAGUE.WDD/ORG00009", "--source",
               f.tree.sourceOrg});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "CANNOT OPEN FILE :" + f.tree.dir / "LEAGUE.WDD/ORG00009/org.dat\n");
  EXPECT_FALSE(fixture::FileExists(f.tree.targetDisk + "Tovarin.txt"));
}

TEST(Cli, DryRunWritesNothing) {
  CliFixture f;
  BuildTree::Roster(f.tree.targetOrg, 1, {99}, "OLD");
  CliRun run = f.Run(f.Build({"--dry-run", "--save-setup", "--rename",
                              f.tree.dir / "renames.txt"}));
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string org = f.tree.targetOrg;
  EXPECT_EQ(run.out, org + "T00001RS.ORG  (City 1): 3 players\n"
                           "      2  John Smith\n      4  Ann Jones\n      5  Al Lee\n" +
                         org + "T00002RS.ORG  (City 2): 1 player\n      1  Bob Brown\n" +
                         org + "T00003RS.ORG  (City 3): 1 player\n      7  Sam Park\n"
                               "Near matches (not carried; add them to the rename file to pair "
                               "them):\n" + NearMatchHeader() + "\n" +
                         NearMatchLine({"Fox", "Jon"}, {"Fox", "John"}) + "\n");
  EXPECT_EQ(f.tree.TargetRoster(1), (std::vector<int>{99}));
  EXPECT_FALSE(fixture::FileExists(BuildTree::RosterName(f.tree.targetOrg, 2)));
  EXPECT_FALSE(fixture::FileExists(f.tree.targetDisk + "Tovarin.txt"));
  EXPECT_TRUE(f.store.writes().empty());

  // It says what the Build would note, and counts as the Build would.
  const std::string device = Device(f.tree.dir);
  run = f.Run(f.Build({"--dry-run", "--summary", "--rename", device}));
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string said = run.out.substr(run.out.find("The rename file"));
  EXPECT_EQ(said,
            "The rename file could not be read: " + device + "\nit is a device\n"
            "Emptied (no source team): City 3\nRosters written: 3\nPlayers carried: 4\n"
            "Players dropped (no match on the target data disk): 2\nNear misses: 1\n"
            "Rename file: 0 of 0 records used\nEmptied (no source team): City 3\n"
            "Report: (a dry run writes none)\n");
  EXPECT_FALSE(fixture::FileExists(f.tree.targetDisk + "Tovarin.txt"));
}

TEST(Cli, PairsAndPairCommands) {
  CliFixture f;
  struct Case {
    std::vector<std::string> extra;
    std::string out;
  } cases[] = {
      {{}, "Teams - 3\nCity 1  (AL E)\tC1  (AL E)\nCity 2  (NL E)\tC2  (NL E)\nCity 3  (AL E)\n"
           "\nTeams - 2\n"},
      {{"--reset"}, "Teams - 3\nCity 1  (AL E)\nCity 2  (NL E)\nCity 3  (AL E)\n"
                    "\nTeams - 2\nC1  (AL E)\nC2  (NL E)\n"},
      {{"--unmatch", "2"}, "Teams - 3\nCity 1  (AL E)\tC1  (AL E)\nCity 2  (NL E)\n"
                           "City 3  (AL E)\n\nTeams - 2\nC2  (NL E)\n"},
      // --match undoes the source team's earlier pair, and the options run in order.
      {{"--match", "3:1"}, "Teams - 3\nCity 1  (AL E)\nCity 2  (NL E)\tC2  (NL E)\n"
                           "City 3  (AL E)\tC1  (AL E)\n\nTeams - 2\n"},
      {{"--match=3:1", "--unmatch", "3", "--reset", "--match", "2:1"},
       "Teams - 3\nCity 1  (AL E)\nCity 2  (NL E)\tC1  (AL E)\nCity 3  (AL E)\n"
       "\nTeams - 2\nC2  (NL E)\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"pairs"};
    for (const std::string& a : f.Sides()) args.push_back(a);
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    CliRun run = f.Run(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, c.out) << c.extra.size();
  }

  // A Build carries the pairs made on the command line.
  CliRun run = f.Run(f.Build({"--no-farm", "--match", "1:2", "--match", "2:1"}));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(f.tree.TargetRoster(1), (std::vector<int>{1}));
  EXPECT_EQ(f.tree.TargetRoster(2), (std::vector<int>{2, 4}));
}

TEST(Cli, RestorePutsBackTheLastBuild) {
  CliFixture f;
  BuildTree::Roster(f.tree.targetOrg, 1, {99}, "OLD");
  const sim::Bytes original = ReadFileBytes(BuildTree::RosterName(f.tree.targetOrg, 1));

  CliRun run = f.Run({"restore"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "There is no backup to put back.\n");

  ASSERT_EQ(f.Run(f.Build({})).status, 0);
  ASSERT_EQ(f.Run(f.Build({"--no-farm"})).status, 0);
  run = f.Run({"restore", "--list"});
  EXPECT_EQ(run.status, 0);
  std::vector<std::string> names;
  std::istringstream lines(run.out);
  for (std::string line; std::getline(lines, line);) {
    names.push_back(line.substr(0, line.find(' ')));
    EXPECT_NE(line.find("  " + f.tree.targetOrg + "  (3 rosters)"), std::string::npos) << line;
  }
  ASSERT_EQ(names.size(), 2u);

  run = f.Run({"restore"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("Put back the 3 rosters of " + f.tree.targetOrg, 0), 0u) << run.out;
  EXPECT_EQ(f.tree.TargetRoster(1), (std::vector<int>{2, 4, 5}));  // the first Build's
  run = f.Run({"restore", names[0]});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFileBytes(BuildTree::RosterName(f.tree.targetOrg, 1)), original);
  EXPECT_FALSE(fixture::FileExists(BuildTree::RosterName(f.tree.targetOrg, 2)));

  // Each restore kept what it replaced, the newest listed last; a dry run keeps no backup.
  ASSERT_EQ(f.Run(f.Build({"--dry-run"})).status, 0);
  std::istringstream again(f.Run({"restore", "--list"}).out);
  std::vector<std::string> listed;
  for (std::string line; std::getline(again, line);) listed.push_back(line);
  ASSERT_EQ(listed.size(), 4u);
  EXPECT_NE(listed[3].find("  (3 rosters, before restoring " + names[0] + ")"), std::string::npos)
      << listed[3];
  names[1] = listed[3].substr(0, listed[3].find(' '));

  // The newest backup damaged: nothing is put back, and an older one can still be named.
  const std::string newest = f.tree.backups + names[1] + platform::kSeparator;
  sim::WriteBytes(newest + "manifest.txt", BuildTree::Text("Tovarin backup\nfile\n"));
  const sim::Bytes before = ReadFileBytes(BuildTree::RosterName(f.tree.targetOrg, 1));
  run = f.Run({"restore"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "The newest backup, " + names[1] +
                         ", is damaged: line 2 of its manifest cannot be read.\n"
                         "Nothing was put back.\n");
  EXPECT_EQ(ReadFileBytes(BuildTree::RosterName(f.tree.targetOrg, 1)), before);
  run = f.Run({"restore", "--list"});
  EXPECT_NE(run.out.find(names[1] + "  (damaged: line 2 of its manifest cannot be read)\n"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(f.Run({"restore", names[0]}).status, 0);
}

TEST(Cli, ReviewListsDroppedPlayersAndAcceptsTheirCandidates) {
  CliFixture f;
  const std::string renames = f.tree.dir / "renames.txt";
  std::vector<std::string> args = {"review"};
  for (const std::string& side : f.Sides()) args.push_back(side);
  args.insert(args.end(), {"--rename", renames});
  const std::string counts =
      "Players carried: 5\n"
      "Players dropped: 2\n"
      "Dropped players with candidates: 1\n"
      "Target teams left empty: 0\n"
      "Rename records the Build would use: 1 of 1\n";
  CliRun run = f.Run(args);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, counts +
                         "    #5 Jon Fox, City 1: John Fox (near miss, 1 letter apart)\n"
                         "    #6 Tim Gray, City 2: no candidate\n");

  // A choice that gives no record refuses them all.
  auto accept = [&](const std::string& lines) {
    std::vector<std::string> with = args;
    with.insert(with.end(), {"--accept", lines});
    return f.Run(with);
  };
  run = accept("5,6");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Nothing was added to the rename file:\n#6: Tim Gray has no candidate\n");
  run = accept("1");
  EXPECT_EQ(run.status, 1) << "a player the Build carries";
  EXPECT_EQ(run.err, "Nothing was added to the rename file:\n#1: not a dropped player\n");
  EXPECT_EQ(fixture::ReadFileText(renames), "C3,,Sam,Park,\r\n");

  run = accept("5,5");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Nothing was added to the rename file:\n#5: given twice\n");
  std::vector<std::string> twice = args;
  twice.insert(twice.end(), {"--accept", "5", "--accept", "6"});
  run = f.Run(twice);
  EXPECT_EQ(run.status, 1) << "every --accept counts";
  EXPECT_EQ(run.err, "Nothing was added to the rename file:\n#6: Tim Gray has no candidate\n");

  // The rename file is named as spelled on disk.
  args[args.size() - 1] = f.tree.dir / "RENAMES.TXT";
  run = accept("#5");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, counts + "1 pair added to " + renames +
                         "\nPlayers carried: 6\nPlayers dropped: 1\n"
                         "Dropped players with candidates: 0\nTarget teams left empty: 0\n"
                         "Rename records the Build would use: 2 of 2\n");
  EXPECT_EQ(fixture::ReadFileText(renames), "C3,,Sam,Park,\r\nJon,Fox,John,Fox,\r\n");
  EXPECT_FALSE(fixture::FileExists(f.tree.targetDisk + "Tovarin.txt")) << "a review writes no report";

  EXPECT_EQ(f.Run({"review", "--accept", "1"}).status, 2) << "--accept needs --rename";
  EXPECT_EQ(accept("1,x").status, 2);
  EXPECT_EQ(accept("").status, 2);
  EXPECT_EQ(f.Run({"review", "--yes"}).status, 2);
}

// Accepting pairs into one of the simulation's files is refused and leaves it byte for byte; a
// rename file that is there but cannot be read is said by the review and the Build, which go on
// without it.
TEST(Cli, TheRenameFileIsTheUsersOwn) {
  CliFixture f;
  auto review = [&](const std::string& rename, std::vector<std::string> extra) {
    std::vector<std::string> args = {"review"};
    for (const std::string& side : f.Sides()) args.push_back(side);
    args.insert(args.end(), {"--rename", rename});
    args.insert(args.end(), extra.begin(), extra.end());
    return f.Run(args);
  };
  const std::string players = f.tree.sourceDisk + "Players.dat";
  const sim::Bytes before = ReadFileBytes(players);
  CliRun run = review(players, {"--accept", "5"});  // Jon Fox, whose candidate is free
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "The rename file " + players +
                         " is one of the simulation's files, which Tovarin never writes, so "
                         "nothing was added. Choose a text file of your own.\n");
  EXPECT_EQ(ReadFileBytes(players), before);

  const std::string folder = f.tree.dir.MakeDir("folder.txt");
  const std::string named = folder.substr(0, folder.size() - 1);
  run = review(named, {});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err.rfind("The rename file could not be read: " + named + "\n", 0), 0u) << run.err;
  run = review(Device(f.tree.dir), {});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "The rename file could not be read: " + Device(f.tree.dir) +
                         "\nit is a device\n");
  run = f.Run(f.Build({"--rename", named}));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind(f.tree.Completed(3, "", "Rename file: 0 of 0 records used") +
                              "\nThe rename file could not be read: " + named + "\n",
                          0),
            0u)
      << run.out;
}

TEST(Cli, RenamesChecksTheRenameFile) {
  CliFixture f;
  const std::string renames = f.tree.dir / "renames.txt";
  auto check = [&](std::vector<std::string> extra) {
    std::vector<std::string> args = {"renames"};
    for (const std::string& side : f.Sides()) args.push_back(side);
    args.insert(args.end(), extra.begin(), extra.end());
    return f.Run(args);
  };

  CliRun run = check({"--rename", renames});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "1 record: 0 pair players, 1 signs players, 0 do nothing; 0 problems\n");

  // One line per problem, FILE:LINE:COLUMN: message, then the summary; exit 1.
  // The record after the missing comma is shifted, and so says nothing of its own; the next
  // line starts afresh.
  sim::WriteBytes(renames, BuildTree::Text("Jon,Fox,John,Fox\r\nTim,Gray,Guy,New,\r\nX,\r\n"
                                           "Tim,Gray,New,Guy,\r\n"));
  run = check({"--rename", renames});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            renames + ":1:17: the fourth field runs across a line break: most likely the comma "
                      "after \"Fox\" is missing, and the record after it is shifted\n" +
                renames + ":4:10: names no target player: \"New Guy\"\n"
                "3 records: 0 pair players, 0 sign players, 3 do nothing; 2 problems\n");

  // Names are printed as UTF-8.
  sim::WriteBytes(renames, BuildTree::Text("Jon,Fox,J\xf6hn,Fox,\r\n"));
  run = check({"--rename", renames});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("\"J\xc3\xb6hn Fox\"; nearest target player: John Fox (#3)"),
            std::string::npos)
      << run.out;

  // A record that takes the exact match of a source player on a roster, who is then dropped.
  sim::WriteBytes(renames, BuildTree::Text("Tim,Gray,John,Smith,\r\n"));
  run = check({"--rename", renames});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, renames + ":1:10: takes John Smith, who is also source player #1 John "
                               "Smith's exact match; #1 will be dropped\n"
                               "1 record: 1 pairs players, 0 sign players, 0 do nothing; "
                               "1 problem\n");

  // A file that cannot be opened, or read, is said with why; the counts cover what was read.
  const std::string folder = f.tree.dir.MakeDir("folder.txt");
  // Why is in the system's words: Linux's are checked, Windows' vary with its language.
#ifdef _WIN32
  const bool onLinux = false;
#else
  const bool onLinux = true;
#endif
  struct Unreadable {
    std::string path;
    std::string why;  // empty: the file is opened, its read fails
    std::string out;
  } unreadable[] = {
      {f.tree.dir / "missing.txt", onLinux ? "No such file or directory" : "*", ""},
      {folder.substr(0, folder.size() - 1), onLinux ? "it is not a plain file" : "*", ""},
      {Device(f.tree.dir), "it is a device", ""},
      {onLinux ? "/proc/self/mem" : "", "",
       "/proc/self/mem:1:1: the file could not be read to its end: Input/output error\n"
       "0 records read before it failed: 0 pair players, 0 sign players, 0 do nothing; "
       "1 problem\n"},
  };
  for (const Unreadable& u : unreadable) {
    if (u.path.empty()) continue;
    run = check({"--rename", u.path});
    EXPECT_EQ(run.status, 1) << u.path;
    const std::string said = "The rename file could not be read: " + u.path + "\n";
    if (u.why.empty()) {
      EXPECT_EQ(run.err, "");
    } else if (u.why == "*") {
      EXPECT_EQ(run.err.rfind(said, 0), 0u) << run.err;
    } else {
      EXPECT_EQ(run.err, said + u.why + "\n");
    }
    EXPECT_EQ(run.out, u.out);
  }

  // Wrong usage: no rename file, or no organizations, chosen; review refuses as build does.
  run = check({});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("no rename file is chosen"), std::string::npos) << run.err;
  for (const std::string command : {"renames", "review", "build"}) {
    run = f.Run({command});
    EXPECT_EQ(run.status, 2) << command;
    EXPECT_EQ(run.err, "tovarin-cli: no setup is stored; give " + command +
                           " --target DIR --source DIR, or store them first with tovarin-cli "
                           "settings --target DIR --source DIR\n"
                           "Try 'tovarin-cli --help' for more information.\n");
  }
}

TEST(Cli, UsageErrors) {
  CliFixture f;
  const std::string target = f.tree.targetOrg, source = f.tree.sourceOrg;
  struct Case {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{}, "no command given"},
      {{"transfer"}, "unknown command transfer"},
      {{"build", "--bogus"}, "unknown option --bogus"},
      {{"build", "--target", target}, "give both --target and --source, or neither to use the "
                                      "stored setup"},
      {{"build", "--rename"}, "--rename needs a value"},
      {{"build", "--yes=1"}, "--yes takes no value"},
      {{"pairs", "--target", target}, "pairs needs --target and --source"},
      {{"pairs", "--target", target, "--source", source, "--dry-run"},
       "that option belongs to build, not pairs"},
      {{"settings", "--reset"}, "that option belongs to build, pairs and review, not settings"},
      {{"build", "--accept", "1"}, "that option belongs to review, not build"},
      {{"settings", "--rename", "r.txt"}, "settings needs --target and --source"},
      {{"settings", "--target", target, "--source", source, "--yes"},
       "that option belongs to build, not settings"},
      {{"restore", "a", "b"}, "restore takes one backup name at most"},
      {{"build", "--list"}, "--list belongs to restore"},
      {{"build", "extra"}, "unexpected argument extra"},
      {{"build", "--match", "3"}, "--match 3: expected TID:SID"},
      {{"build", "--unmatch", "x1"}, "--unmatch x1: not a team number"},
      {{"pairs", "--target", "/ORG00001", "--source", source},
       "--target /ORG00001: not an organization directory (.../NAME.WDD/ORGnnnnn)"},
      {{"pairs", "--target", target, "--source", source, "--match", "7:1"},
       "--match 7:1: no team 7 in the target organization " + target},
      {{"pairs", "--target", target, "--source", source, "--match", "1:5"},
       "--match 1:5: no team 5 in the source organization " + source},
      {{"build", "--target", target, "--source", source, "--unmatch", "0"},
       "--unmatch 0: no team 0 in the target organization " + target},
  };
  for (const Case& c : cases) {
    CliRun run = f.Run(c.args);
    EXPECT_EQ(run.status, 2) << c.message;
    EXPECT_EQ(run.err, "tovarin-cli: " + c.message +
                           "\nTry 'tovarin-cli --help' for more information.\n");
    EXPECT_EQ(run.out, "");
  }
  EXPECT_FALSE(fixture::FileExists(BuildTree::RosterName(target, 1)));

  EXPECT_EQ(f.Run({"--version"}).out,
            std::string("tovarin-cli (Tovarin) ") + TOVARIN_VERSION + "\n");
}

// Each command's help shows its own options and no other command's.
TEST(Cli, EachCommandHasItsHelp) {
  CliFixture f;
  struct Case {
    std::vector<std::string> args;
    std::string usage;
    std::vector<std::string> shown, notShown;
  } cases[] = {
      {{"--help"}, "tovarin-cli [OPTIONS] [COMMAND]", {"build", "pairs", "settings", "restore"},
       {"--dry-run"}},
      {{"build", "--help"}, "tovarin-cli build [OPTIONS]", {"--dry-run", "--match", "--no-farm"},
       {"--list"}},
      {{"pairs", "-h"}, "tovarin-cli pairs [OPTIONS]", {"--target", "--unmatch"},
       {"--rename", "--yes"}},
      {{"settings", "--help"}, "tovarin-cli settings [OPTIONS]", {"--rename", "--farm"},
       {"--match", "--summary"}},
      {{"restore", "--help"}, "tovarin-cli restore [OPTIONS] [NAME...]", {"--list"},
       {"--target"}},
      {{"renames", "--help"}, "tovarin-cli renames [OPTIONS]", {"--target", "--rename"},
       {"--farm", "--accept", "--match"}},
  };
  for (const Case& c : cases) {
    const CliRun run = f.Run(c.args);
    EXPECT_EQ(run.status, 0) << c.usage;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("Usage: " + c.usage + "\n"), std::string::npos) << run.out;
    for (const std::string& text : c.shown) {
      EXPECT_NE(run.out.find(text), std::string::npos) << c.usage << ": " << text;
    }
    for (const std::string& text : c.notShown) {
      EXPECT_EQ(run.out.find(text), std::string::npos) << c.usage << ": " << text;
    }
  }
}

}  // namespace
}  // namespace tovarin
