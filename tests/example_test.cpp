#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "cli/cli.h"
#include "memory_settings/memory_settings_store.h"
#include "platform/native_path.h"
#include "simdata/player_file.h"
#include "simdata/roster_file.h"
#include "support/fixture.h"
#include "tools/example/example_league.h"
#include "transfer/report.h"

namespace tovarin {
namespace {

namespace fs = std::filesystem;
using fixture::ReadFileBytes;
using fixture::TempDir;

std::map<std::string, sim::Bytes> Tree(const std::string& root) {
  std::map<std::string, sim::Bytes> files;
  const fs::path native = platform::NativePath(root);
  for (const auto& entry : fs::recursive_directory_iterator(native)) {
    if (entry.is_regular_file()) {
      files[fs::relative(entry.path(), native).generic_string()] =
          ReadFileBytes(platform::PathText(entry.path()));
    }
  }
  return files;
}

TEST(ExampleLeague, TheSameSeedWritesTheSameBytes) {
  TempDir dir;
  example::WriteExampleLeague(dir / "a", 7);
  example::WriteExampleLeague(dir / "b", 7);
  example::WriteExampleLeague(dir / "c", 8);
  const auto a = Tree(dir / "a");
  EXPECT_EQ(a.size(), 98u);  // 4 org.dat, 2 Players.dat, 90 rosters, the rename file, the game
  EXPECT_EQ(a, Tree(dir / "b"));
  EXPECT_NE(a, Tree(dir / "c"));
}

TEST(ExampleLeague, ABuildOnItKeepsItsPromises) {
  TempDir dir;
  const example::ExampleLeague league = example::WriteExampleLeague(dir / "league", 2026);
  EXPECT_GE(league.sourcePlayers, 1400);
  EXPECT_GE(league.targetPlayers, 1400);
  std::map<int, sim::Bytes> before;
  for (int team = 10; team < 40; ++team) {
    before[team] = ReadFileBytes(RosterPath(league.targetOrganization, team));
    ASSERT_FALSE(before[team].empty());
  }

  MemorySettingsStore store;
  std::ostringstream out, err;
  std::istringstream in;
  cli::Console console{out, err, in, false, store, dir.MakeDir("backups")};
  ASSERT_EQ(cli::Run({"build", "--target", league.targetOrganization, "--source",
                      league.sourceOrganization, "--rename", league.renameFile},
                     console),
            0)
      << err.str();

  // Every target roster is written anew, each entry naming the 2026 data disk.
  for (int team = 10; team < 40; ++team) {
    RosterFile roster;
    ASSERT_EQ(roster.Load(RosterPath(league.targetOrganization, team)),
              RosterFile::LoadResult::kOk);
    EXPECT_NE(ReadFileBytes(RosterPath(league.targetOrganization, team)), before[team]) << team;
    EXPECT_GE(roster.count(), 40) << team;  // about 26 + 20, less retired players
    for (int i = 0; i < roster.count(); ++i) {
      EXPECT_EQ(roster.entry(i).name, "2026");
      EXPECT_EQ(roster.entry(i).marker1, 120);
      EXPECT_EQ(roster.entry(i).marker2, 5);
    }
  }

  // The players the rename file signs to a club by its short name lead that club's roster.
  const std::vector<PlayerName> players26 =
      LoadPlayerNames(league.baseDirectory + "2026.WDD/Players.dat");
  std::istringstream renames(fixture::ReadFileText(league.renameFile));
  int signings = 0;
  for (std::string line; std::getline(renames, line);) {
    const std::size_t teamEnd = line.find(",,");
    if (teamEnd == std::string::npos) continue;
    std::vector<std::string> f;
    std::istringstream fields(line.substr(teamEnd + 2));
    for (std::string field; std::getline(fields, field, ',');) f.push_back(field);
    const std::string club = line.substr(0, teamEnd);
    const int team = club == "HCG" ? 10 : club == "CSM" ? 17 : -1;
    ASSERT_NE(team, -1) << line;
    RosterFile roster;
    roster.Load(RosterPath(league.targetOrganization, team));
    const PlayerName& first = players26.at(static_cast<std::size_t>(roster.entry(0).player - 1));
    EXPECT_EQ(first.first, f.at(0));
    EXPECT_EQ(first.last, f.at(1));
    ++signings;
  }
  EXPECT_EQ(signings, 2);

  // The report has near misses, ahead of the player section.
  const std::string report = fixture::ReadFileText(league.baseDirectory + "2026.WDD/Tovarin.txt");
  const std::size_t players = report.find(PlayerHeader());
  ASSERT_NE(players, std::string::npos);
  const std::string nearSection = report.substr(0, players);
  EXPECT_GE(std::count(nearSection.begin(), nearSection.end(), '\n'), 6);
}

TEST(ExampleLeague, ItsReviewFindsCandidatesOfEveryKind) {
  TempDir dir;
  const example::ExampleLeague league = example::WriteExampleLeague(dir / "league", 2026);
  MemorySettingsStore store;
  auto review = [&](std::vector<std::string> more) {
    std::vector<std::string> args = {"review", "--target", league.targetOrganization, "--source",
                                     league.sourceOrganization, "--rename", league.renameFile};
    args.insert(args.end(), more.begin(), more.end());
    std::ostringstream out, err;
    std::istringstream in;
    cli::Console console{out, err, in, false, store, dir.MakeDir("backups")};
    EXPECT_EQ(cli::Run(args, console), 0) << err.str();
    return out.str();
  };
  // Names are printed in UTF-8, whatever the data disks' Windows-1252 spells them in.
  const std::string listed = review({});
  EXPECT_NE(listed.find("Jos\xC3\xA9 Pe\xC3\xB1" "a"), std::string::npos) << listed;
  // Free candidates end their line with their kind; each kind is there.
  std::istringstream lines(listed);
  std::map<std::string, std::vector<std::string>> free;
  for (std::string line; std::getline(lines, line);) {
    for (const char* kind : {"likely", "nickname", "respelled", "near miss"}) {
      const bool unclaimed = !line.empty() && line.back() == ')' &&
                        line.find(std::string(" (") + kind) != std::string::npos;
      if (unclaimed) {
        const std::size_t number = line.find('#');
        free[kind].push_back(line.substr(number, line.find(' ', number) - number));
      }
    }
  }
  EXPECT_EQ(free["likely"].size(), 4u);    // accents, punctuation, inner spaces, a suffix
  EXPECT_EQ(free["nickname"].size(), 3u);  // Mike, Bob, Bill
  EXPECT_EQ(free["near miss"].size(), 7u);

  // Accepting them all carries them all.
  std::string accept;
  for (const auto& [kind, numbers] : free) {
    for (const std::string& n : numbers) accept += (accept.empty() ? "" : ",") + n;
  }
  const std::string after = review({"--accept", accept});
  EXPECT_NE(after.find("14 pairs added to "), std::string::npos) << after;
  EXPECT_NE(after.find("Players dropped: 40\n"), std::string::npos) << after;
}

}  // namespace
}  // namespace tovarin
