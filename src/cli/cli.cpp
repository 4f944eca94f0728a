#include "cli/cli.h"

#include <filesystem>
#include <iostream>
#include <optional>

#include "platform/case_blind.h"
#include "platform/dialog_units.h"
#include "platform/format.h"
#include "platform/native_path.h"
#include "platform/paths.h"
#include "shell/settings.h"
#include "shell/tovarin_view.h"
#include "transfer/backup.h"
#include "transfer/report.h"

namespace fs = std::filesystem;

namespace tovarin::cli {
namespace {

const char* const kHelp =
    R"(Usage: tovarin-cli COMMAND [OPTIONS]

Carries team rosters from a source organization to a target organization of the
Grandstand baseball simulation, matching players by name.

Commands:
  build     rewrite every target team's roster from its paired source team
  pairs     show the two team lists as the window would show them
  settings  show the stored setup; with --target and --source (and --rename,
            --farm or --no-farm), store that setup first, for the window
  restore   put back the target rosters a Build replaced

Options of build and pairs:
  --target DIR      the target organization directory (.../NAME.WDD/ORGnnnnn)
  --source DIR      the source organization directory
                    With both, the two organizations are paired by team name and
                    nothing is taken from the stored setup; with neither, build
                    works on the stored setup, as the window would at start-up.
  --reset           undo every pair made by name
  --unmatch TID     undo the pair of target team TID
  --match TID:SID   pair target team TID with source team SID (undoing their
                    earlier pairs); team numbers name the roster files (T%05dRS.ORG)
                    --reset comes first, then --unmatch and --match in order.
Options of build (--rename, --farm and --no-farm also of settings):
  --rename FILE     the rename file (players named differently on the two disks)
  --farm, --no-farm carry (or not) the players of each source team's farm affiliate
  --yes             replace the rosters even when the target teams have played games
  --dry-run         show what would be written, and write nothing
  --save-setup      store this setup as the window's Save Current Setup would
  --summary         after a Build, count what it did
Options of restore:
  --list            list the kept backups, newest last
  NAME              the backup to put back (default: the newest)

  --help            show this help
  --version         show the version

Exit status: 0 done, 1 an error (its message on standard error), 2 wrong usage,
3 the games-played question was not answered Yes (nothing written).
)";

struct UsageError {
  std::string message;
};

struct PairCommand {
  bool match = false;
  int target = 0;
  int source = 0;
  std::string text;  // as given, for messages
};

struct Options {
  std::string command;
  std::optional<std::string> target, source, rename;
  std::optional<bool> farm;
  bool yes = false, dryRun = false, saveSetup = false, reset = false, summary = false;
  bool list = false;
  std::vector<std::string> names;
  std::vector<PairCommand> pairCommands;
};

int ParseNumber(const std::string& option, const std::string& text) {
  std::size_t used = 0;
  int value = 0;
  try {
    value = std::stoi(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (text.empty() || used != text.size()) {
    throw UsageError{option + " " + text + ": not a team number"};
  }
  return value;
}

Options Parse(const std::vector<std::string>& args) {
  Options options;
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    std::optional<std::string> inlineValue;
    if (arg.rfind("--", 0) == 0) {
      if (const std::size_t eq = arg.find('='); eq != std::string::npos) {
        inlineValue = arg.substr(eq + 1);
        arg = arg.substr(0, eq);
      }
    }
    auto value = [&]() -> std::string {
      if (inlineValue) return *inlineValue;
      if (i + 1 >= args.size()) throw UsageError{arg + " needs a value"};
      return args[++i];
    };
    auto flag = [&](bool& field) {
      if (inlineValue) throw UsageError{arg + " takes no value"};
      field = true;
    };
    if (arg == "--target") {
      options.target = value();
    } else if (arg == "--source") {
      options.source = value();
    } else if (arg == "--rename") {
      options.rename = value();
    } else if (arg == "--farm" || arg == "--no-farm") {
      bool set = false;
      flag(set);
      options.farm = arg == "--farm";
    } else if (arg == "--yes") {
      flag(options.yes);
    } else if (arg == "--dry-run") {
      flag(options.dryRun);
    } else if (arg == "--save-setup") {
      flag(options.saveSetup);
    } else if (arg == "--summary") {
      flag(options.summary);
    } else if (arg == "--reset") {
      flag(options.reset);
    } else if (arg == "--list") {
      flag(options.list);
    } else if (arg == "--unmatch") {
      const std::string text = value();
      options.pairCommands.push_back({false, ParseNumber(arg, text), 0, "--unmatch " + text});
    } else if (arg == "--match") {
      const std::string text = value();
      const std::size_t colon = text.find(':');
      if (colon == std::string::npos) throw UsageError{"--match " + text + ": expected TID:SID"};
      options.pairCommands.push_back({true, ParseNumber(arg, text.substr(0, colon)),
                                      ParseNumber(arg, text.substr(colon + 1)),
                                      "--match " + text});
    } else if (arg.rfind("-", 0) == 0 && arg.size() > 1) {
      throw UsageError{"unknown option " + arg};
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.empty()) throw UsageError{"no command given"};
  options.command = positional[0];
  options.names.assign(positional.begin() + 1, positional.end());

  const bool pairing = options.command == "build" || options.command == "pairs";
  const bool storing = options.command == "settings" && (options.target || options.source ||
                                                         options.rename || options.farm);
  const bool buildOnly = options.yes || options.dryRun || options.saveSetup || options.summary ||
                         (!storing && (options.rename || options.farm));
  if (options.command != "build" && options.command != "pairs" &&
      options.command != "settings" && options.command != "restore") {
    throw UsageError{"unknown command " + options.command};
  }
  if (options.command != "restore" && !options.names.empty()) {
    throw UsageError{"unexpected argument " + options.names[0]};
  }
  if (options.command != "build" && buildOnly) {
    throw UsageError{"that option belongs to build, not " + options.command};
  }
  if (!pairing && (options.reset || !options.pairCommands.empty() ||
                   (!storing && (options.target || options.source)))) {
    throw UsageError{"that option belongs to build and pairs, not " + options.command};
  }
  if (options.command != "restore" && options.list) {
    throw UsageError{"--list belongs to restore"};
  }
  if (options.command == "restore" && options.names.size() > 1) {
    throw UsageError{"restore takes one backup name at most"};
  }
  if ((options.command == "pairs" || storing) && !(options.target && options.source)) {
    throw UsageError{options.command + " needs --target and --source"};
  }
  if (options.command == "build" && options.target.has_value() != options.source.has_value()) {
    throw UsageError{"give both --target and --source, or neither to use the stored setup"};
  }
  return options;
}

// An organization directory, split as the Identify Organization dialog would give it.
void SetLocation(const std::string& option, const std::string& dir, OrgLocation& location) {
  fs::path path = fs::absolute(platform::NativePath(dir)).lexically_normal();
  if (!path.has_filename()) path = path.parent_path();
  const fs::path diskPath = path.parent_path();
  const std::string organization = platform::PathText(path.filename());
  const std::string dataDisk = platform::PathText(diskPath.filename());
  if (organization.empty() || dataDisk.empty() || diskPath == path) {
    throw UsageError{option + " " + dir + ": not an organization directory (.../NAME.WDD/ORGnnnnn)"};
  }
  std::string base = platform::PathText(diskPath.parent_path());
  if (!platform::EndsWithSeparator(base)) base += platform::kSeparator;
  location.SetBaseDirectory(base);
  location.SetDataDisk(platform::ToUpper(dataDisk));
  location.SetOrganization(platform::ToUpper(organization));
}

class NoControls : public FormControls {
 public:
  void SetRenamePath(const std::string&) override {}
  void SetSourceOrgPath(const std::string&) override {}
  void SetTargetOrgPath(const std::string&) override {}
  void SetUseFarm(int) override {}
  void SetSourceLabel(const std::string&) override {}
  void SetTargetLabel(const std::string&) override {}
  void ShowLists(const ListBoxModel&, const ListBoxModel&) override {}
};

// Messages go to standard error, the completion message to standard output; the one question
// is asked on the terminal, or answered by --yes.
class ConsoleDialogs : public ViewDialogs {
 public:
  ConsoleDialogs(Console& console, bool yes) : console_(console), yes_(yes) {}

  bool errorShown = false;
  bool declined = false;

  void ShowMessage(const std::string& text) override {
    if (text == kBuildCompleted) {
      console_.out << text << "\n";
      return;
    }
    errorShown = true;
    console_.err << text;
    if (text.empty() || text.back() != '\n') console_.err << "\n";
  }
  bool AskYesNo(const std::string& text) override {
    if (yes_) return true;
    console_.err << text << "\n";
    if (console_.interactive) {
      console_.err << "[Y/n] " << std::flush;
      std::string answer;
      if (std::getline(console_.in, answer)) {
        answer = platform::ToLower(answer);
        if (answer.empty() || answer == "y" || answer == "yes") return true;
      }
    } else {
      console_.err << "(not asked: no terminal; give --yes to go on)\n";
    }
    declined = true;
    return false;
  }
  std::optional<std::string> ChooseFile(const std::string&, const std::string&) override {
    return std::nullopt;
  }
  bool IdentifyOrganization(OrgLocation&) override { return false; }

 private:
  Console& console_;
  bool yes_;
};

// Reads the per-user settings; writes them only when the user asked for it.
class GatedSettings : public platform::SettingsStore {
 public:
  GatedSettings(platform::SettingsStore& store, bool writable)
      : store_(store), writable_(writable) {}
  std::optional<std::string> ReadString(const std::string& s, const std::string& n) override {
    return store_.ReadString(s, n);
  }
  std::optional<std::int32_t> ReadInt(const std::string& s, const std::string& n) override {
    return store_.ReadInt(s, n);
  }
  void WriteString(const std::string& s, const std::string& n, const std::string& v) override {
    if (writable_) store_.WriteString(s, n, v);
  }
  void WriteInt(const std::string& s, const std::string& n, std::int32_t v) override {
    if (writable_) store_.WriteInt(s, n, v);
  }

 private:
  platform::SettingsStore& store_;
  bool writable_;
};

// Prints what a dry run would write.
class DryRunPrinter : public BuildObserver {
 public:
  explicit DryRunPrinter(std::ostream& out) : out_(out) {}
  void OnNearMatch(const PlayerName& source, const PlayerName& target) override {
    nearLines_.push_back(NearMatchLine(source, target));
  }
  void OnRoster(const TeamEntry& team, const std::string& path,
                const std::vector<RosterPlayer>& players) override {
    out_ << path << "  (" << team.name << "): " << players.size()
         << (players.size() == 1 ? " player\n" : " players\n");
    for (const RosterPlayer& p : players) {
      out_ << platform::Format("%7d  ", p.number) << p.name.first << " " << p.name.last << "\n";
    }
  }
  void PrintNearMatches() {
    if (nearLines_.empty()) return;
    out_ << "Near matches (not carried; add them to the rename file to pair them):\n"
         << NearMatchHeader() << "\n";
    for (const std::string& line : nearLines_) out_ << line << "\n";
  }

 private:
  std::ostream& out_;
  std::vector<std::string> nearLines_;
};

TeamEntry* FindTeam(TeamList& list, int id) {
  for (TeamEntry& entry : list) {
    if (entry.teamId == id) return &entry;
  }
  return nullptr;
}

void ApplyPairCommands(const Options& options, CTovarinView& view) {
  if (options.reset) view.teamLists.Reset();
  for (const PairCommand& command : options.pairCommands) {
    TeamEntry* target = FindTeam(view.targetTeams(), command.target);
    if (!target) {
      throw UsageError{command.text + ": no team " + std::to_string(command.target) +
                       " in the target organization " + view.targetOrgPath};
    }
    if (!command.match) {
      Unpair(*target);
      continue;
    }
    TeamEntry* source = FindTeam(view.sourceTeams(), command.source);
    if (!source) {
      throw UsageError{command.text + ": no team " + std::to_string(command.source) +
                       " in the source organization " + view.sourceOrgPath};
    }
    Pair(*target, *source);
  }
  view.teamLists.FillTargetList();
  view.teamLists.FillSourceList();
}

// Loads both sides into the form, from the options or the stored setup. False when a side
// failed to load (its message has been shown).
bool LoadForm(const Options& options, CTovarinView& view, ConsoleDialogs& dialogs,
              platform::SettingsStore& store) {
  if (options.target) {
    SetLocation("--target", *options.target, view.targetLocation);
    SetLocation("--source", *options.source, view.sourceLocation);
    view.targetOrgPath = view.targetLocation.OrganizationPath();
    view.sourceOrgPath = view.sourceLocation.OrganizationPath();
    view.useFarm = 1;
    // Options that nothing consults are kept as stored, so --save-setup leaves them alone.
    view.threeLetters = store.ReadInt(settings::kOption, settings::kThreeLetters).value_or(1);
    view.smartInitials = store.ReadInt(settings::kOption, settings::kSmartInitials).value_or(1);
    view.ReloadTeamLists();
  } else {
    view.OnInitialUpdate();
  }
  if (options.rename) {
    view.renamePath = platform::PathText(fs::absolute(platform::NativePath(*options.rename)));
  }
  if (options.farm) view.useFarm = *options.farm ? 1 : 0;
  if (dialogs.errorShown) return false;
  ApplyPairCommands(options, view);
  return true;
}

int Pairs(const Options& options, Console& console) {
  GatedSettings store(console.settings, false);
  ConsoleDialogs dialogs(console, false);
  NoControls controls;
  CTovarinView view(store, dialogs, controls, platform::HorizontalDialogBaseUnit());
  if (!LoadForm(options, view, dialogs, store)) return kError;
  console.out << view.targetLabel() << "\n";
  for (const auto& row : view.teamLists.targetList().rows) console.out << row.text << "\n";
  console.out << "\n" << view.sourceLabel() << "\n";
  for (const auto& row : view.teamLists.sourceList().rows) console.out << row.text << "\n";
  return kOk;
}

int Build(const Options& options, Console& console) {
  GatedSettings store(console.settings, options.saveSetup && !options.dryRun);
  ConsoleDialogs dialogs(console, options.yes);
  NoControls controls;
  CTovarinView view(store, dialogs, controls, platform::HorizontalDialogBaseUnit());
  view.backupDirectory = console.backups;
  if (!LoadForm(options, view, dialogs, store)) return kError;

  DryRunPrinter printer(console.out);
  const std::optional<BuildResult> result =
      view.Build(options.dryRun, options.dryRun ? &printer : nullptr);
  if (!result) return kNotConfirmed;
  if (!result->ok) return kError;
  if (options.dryRun) {
    printer.PrintNearMatches();
    return kOk;
  }
  if (options.summary) {
    console.out << "Rosters written: " << result->rostersWritten << "\n"
                << "Players carried: " << result->playersCarried << "\n"
                << "Players dropped (no match on the target data disk): "
                << result->playersDropped << "\n"
                << "Near misses: " << result->nearMatches << "\n"
                << "Report: "
                << (result->reportCreated ? result->reportPath : "(could not be created)")
                << "\n";
  }
  return kOk;
}

int Settings(const Options& options, Console& console) {
  using namespace settings;
  if (options.target) {
    // Stores a setup for the window, as its Save Current Setup would, after checking that both
    // organizations load.
    ConsoleDialogs dialogs(console, false);
    NoControls controls;
    CTovarinView view(console.settings, dialogs, controls, platform::HorizontalDialogBaseUnit());
    if (!LoadForm(options, view, dialogs, console.settings)) return kError;
    view.SaveSettings();
  }
  for (const char* name : {kBaseDir, kTgtDataDisk, kTgtOrg, kSrcDataDisk, kSrcOrg, kRename}) {
    console.out << kFile << "/" << name << "="
                << console.settings.ReadString(kFile, name).value_or("") << "\n";
  }
  for (const char* name : {kUseFarm, kThreeLetters, kSmartInitials}) {
    console.out << kOption << "/" << name << "="
                << console.settings.ReadInt(kOption, name).value_or(1) << "\n";
  }
  return kOk;
}

int Restore(const Options& options, Console& console) {
  BackupStore store(console.backups);
  if (options.list) {
    const std::vector<BackupInfo> backups = store.List();
    if (backups.empty()) console.out << "No backups are kept in " << store.root() << "\n";
    for (const BackupInfo& b : backups) {
      console.out << b.name << "  " << b.time << "  " << b.organization << "  (" << b.files
                  << (b.files == 1 ? " roster)\n" : " rosters)\n");
    }
    return kOk;
  }
  BackupInfo restored;
  std::string why;
  if (!store.Restore(options.names.empty() ? "" : options.names[0], &why, &restored)) {
    console.err << why << "\n";
    return kError;
  }
  console.out << "Put back " << restored.files << (restored.files == 1 ? " roster" : " rosters")
              << " of " << restored.organization << " as they were before the Build of "
              << restored.time << ".\n";
  return kOk;
}

}  // namespace

int Run(const std::vector<std::string>& args, Console& console) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      console.out << kHelp;
      return kOk;
    }
    if (arg == "--version") {
      console.out << "tovarin-cli (Tovarin) 1.0.4\n";
      return kOk;
    }
  }
  try {
    const Options options = Parse(args);
    if (options.command == "build") return Build(options, console);
    if (options.command == "pairs") return Pairs(options, console);
    if (options.command == "settings") return Settings(options, console);
    return Restore(options, console);
  } catch (const UsageError& error) {
    console.err << "tovarin-cli: " << error.message << "\n"
                << "Try 'tovarin-cli --help' for more information.\n";
    return kUsage;
  }
}

}  // namespace tovarin::cli
