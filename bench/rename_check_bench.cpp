// The rename file checker against the Build's own rename pass, on the same generated rename files:
// the processor time each takes (steadier than the clock on a shared machine) and the peak memory
// of a process doing only that, both reading the two player files first. Each run is a fresh
// process of this program, so that one run's memory is never counted in another's.
//
// Usage: tovarin_rename_check_bench [RECORDS...]   (default 100000 1000000)

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "pairing/team_list.h"
#include "simdata/player_file.h"
#include "support/fixture.h"
#include "transfer/matching.h"
#include "transfer/rename_check.h"
#include "transfer/rename_file.h"

extern char** environ;

namespace tovarin {
namespace {

constexpr int kPlayers = 5000;

std::string Syllables(std::mt19937& random) {
  static const char* const kParts[] = {"an", "ber", "cor", "dal", "en", "fitz", "gar", "hol",
                                       "ing", "jor", "kel", "lan", "mar", "ney", "ols", "per"};
  std::string name;
  for (int i = 0, n = 2 + static_cast<int>(random() % 2); i < n; ++i) {
    name += kParts[random() % std::size(kParts)];
  }
  name[0] = static_cast<char>(name[0] - 'a' + 'A');
  return name;
}

TeamList Teams() {
  TeamList teams(30);
  for (int i = 0; i < 30; ++i) {
    teams[static_cast<std::size_t>(i)].teamIndex = i;
    // Formatted, not concatenated: GCC 12 at -O3 takes "T" + a number's text for an overlap.
    char name[16];
    std::snprintf(name, sizeof name, "T%d", i + 1);
    teams[static_cast<std::size_t>(i)].shortName = name;
  }
  return teams;
}

// Both player files, and a rename file of `records` records: most pair a source player with a
// target player, some sign one to a team, some name nobody.
void Generate(const std::string& dir, int records) {
  std::mt19937 random(2026);
  std::vector<sim::Player> source, target;
  for (int i = 0; i < kPlayers; ++i) source.push_back({Syllables(random), Syllables(random)});
  for (int i = 0; i < kPlayers; ++i) target.push_back({Syllables(random), Syllables(random)});
  sim::WritePlayersFile(dir + "source.dat", source);
  sim::WritePlayersFile(dir + "target.dat", target);
  std::FILE* file = std::fopen((dir + "renames.txt").c_str(), "wb");
  for (int i = 0; i < records; ++i) {
    const sim::Player& s = source[random() % source.size()];
    const sim::Player& t = target[random() % target.size()];
    const unsigned roll = random() % 100;
    if (roll < 80) {
      std::fprintf(file, "%s,%s,%s,%s,\r\n", s.first.c_str(), s.last.c_str(), t.first.c_str(),
                   t.last.c_str());
    } else if (roll < 90) {
      std::fprintf(file, "T%u,,%s,%s,\r\n", 1 + roll % 30, t.first.c_str(), t.last.c_str());
    } else {
      std::fprintf(file, "%s,%s,%s,%s,\r\n", t.first.c_str(), t.last.c_str(), s.first.c_str(),
                   s.last.c_str());
    }
  }
  std::fclose(file);
}

// One run in this process.
int Run(const std::string& what, const std::string& dir) {
  const std::vector<PlayerName> source = LoadPlayerNames(dir + "source.dat");
  const std::vector<PlayerName> target = LoadPlayerNames(dir + "target.dat");
  const TeamList teams = Teams();
  const std::string path = dir + "renames.txt";
  std::size_t records = 0;
  if (what == "pass") {
    MatchState state = NewMatchState(source.size(), target.size());
    TeamPlayerLists lists(teams.size());
    RenameReader reader(path);
    records = RenamePass(reader, source, target, teams, state, lists).size();
  } else {
    // As tovarin-cli renames runs it: each finding is seen, then let go.
    std::size_t problems = 0;
    const RenameCheck check = CheckRenameFile(
        [&path] { return std::make_unique<RenameReader>(path); }, source, target, teams,
        std::vector<char>(source.size() + 1, 0),
        [&problems](const RenameFinding& finding) { problems += finding.problems.size(); });
    records = static_cast<std::size_t>(check.read);
  }
  return records > 0 ? 0 : 1;
}

struct Measure {
  long long ms = 0;
  long peakKiB = 0;
};

// Runs `what` in a fresh process of this program, and measures it.
Measure Spawn(const std::string& self, const std::string& what, const std::string& dir) {
  std::string run = "--run";
  std::vector<char*> argv = {const_cast<char*>(self.c_str()), run.data(),
                             const_cast<char*>(what.c_str()), const_cast<char*>(dir.c_str()),
                             nullptr};
  pid_t child = 0;
  if (posix_spawn(&child, self.c_str(), nullptr, nullptr, argv.data(), environ) != 0) std::exit(1);
  int status = 0;
  struct rusage usage {};
  wait4(child, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "the %s run failed\n", what.c_str());
    std::exit(1);
  }
  auto ms = [](const timeval& t) { return t.tv_sec * 1000LL + t.tv_usec / 1000; };
  return {ms(usage.ru_utime) + ms(usage.ru_stime), usage.ru_maxrss};
}

}  // namespace
}  // namespace tovarin

int main(int argc, char** argv) {
  using namespace tovarin;
  if (argc == 4 && std::string(argv[1]) == "--run") return Run(argv[2], argv[3]);
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {100000, 1000000};
  const std::string self = "/proc/self/exe";
  char resolved[4096] = {};
  const ssize_t length = readlink(self.c_str(), resolved, sizeof resolved - 1);
  if (length <= 0) return 1;

  std::printf("%10s %8s %9s %9s %9s %9s %6s %6s\n", "records", "MB", "pass ms", "pass MB",
              "check ms", "check MB", "time", "memory");
  for (const int records : sizes) {
    fixture::TempDir dir;
    Generate(dir.path(), records);
    const Measure pass = Spawn(resolved, "pass", dir.path());
    const Measure check = Spawn(resolved, "check", dir.path());
    std::FILE* file = std::fopen((dir.path() + "renames.txt").c_str(), "rb");
    std::fseek(file, 0, SEEK_END);
    const double megabytes = static_cast<double>(std::ftell(file)) / 1e6;
    std::fclose(file);
    std::printf("%10d %8.1f %9lld %9.1f %9lld %9.1f %5.2fx %5.2fx\n", records, megabytes, pass.ms,
                static_cast<double>(pass.peakKiB) / 1024.0, check.ms,
                static_cast<double>(check.peakKiB) / 1024.0,
                static_cast<double>(check.ms) / static_cast<double>(std::max(pass.ms, 1LL)),
                static_cast<double>(check.peakKiB) / static_cast<double>(pass.peakKiB));
  }
  return 0;
}
