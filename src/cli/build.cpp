// tovarin-cli build: the Build of the window's Build button.

#include <CLI/CLI.hpp>
#include <memory>

#include "cli/command.h"
#include "cli/form_session.h"
#include "platform/format.h"
#include "shell/sim_text.h"
#include "transfer/report.h"

namespace tovarin::cli {
namespace {

struct BuildOptions {
  SideOptions sides;
  SetupOptions setup;
  PairingOptions pairing;
  bool yes = false, dryRun = false, saveSetup = false, summary = false;
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
    out_ << path << "  (" << DisplayText(team.name) << "): " << players.size()
         << (players.size() == 1 ? " player\n" : " players\n");
    for (const RosterPlayer& p : players) {
      out_ << platform::Format("%7d  ", p.number) << DisplayText(p.name.first + " " + p.name.last)
           << "\n";
    }
  }
  void PrintNearMatches() {
    if (nearLines_.empty()) return;
    out_ << "Near matches (not carried; add them to the rename file to pair them):\n"
         << NearMatchHeader() << "\n";
    for (const std::string& line : nearLines_) out_ << DisplayText(line) << "\n";
  }

 private:
  std::ostream& out_;
  std::vector<std::string> nearLines_;
};

void PrintSummary(const BuildResult& result, bool dryRun, std::ostream& out) {
  out << "Rosters written: " << result.rostersWritten << "\n"
      << "Players carried: " << result.playersCarried << "\n"
      << "Players dropped (no match on the target data disk): " << result.playersDropped << "\n"
      << "Near misses: " << result.nearMatches << "\n"
      << (result.renameFile ? RenameUseLine(result) + "\n" : "")
      << (result.emptied.empty() ? "" : EmptiedLine(result) + "\n")
      << "Report: "
      << (dryRun                 ? "(a dry run writes none)"
          : result.reportCreated ? result.reportPath
                                 : "(could not be written)")
      << "\n";
}

int Run(BuildOptions& options, Console& console) {
  options.sides.given = GivenBoth(
      options.sides, "give both --target and --source, or neither to use the stored setup");
  TakeSetupOptions(options.setup);
  const std::vector<PairCommand> pairCommands = PairCommands(options.pairing);

  FormSession form(console, options.saveSetup && !options.dryRun, options.yes);
  if (!form.Load(options.sides, options.setup, options.pairing.reset, pairCommands)) return kError;
  CTovarinView& view = form.view;
  if (!options.sides.given && !options.setup.setupFileGiven &&
      !view.MissingOrganization().empty()) {
    throw UsageError{NoSetupStored("build")};
  }

  DryRunPrinter printer(console.out);
  const std::optional<BuildResult> result =
      view.Build(options.dryRun, options.dryRun ? &printer : nullptr, options.saveSetup);
  if (!result) return kNotConfirmed;
  if (!result->ok) return kError;
  if (options.dryRun) {
    // What the completion message would say besides, and the counts, as a Build gives them.
    printer.PrintNearMatches();
    for (const std::string& note : result->notes) console.out << note << "\n";
  }
  if (options.summary) PrintSummary(*result, options.dryRun, console.out);
  return kOk;
}

}  // namespace

Command AddBuildCommand(CLI::App& program) {
  auto options = std::make_shared<BuildOptions>();
  CLI::App* app = program.add_subcommand(
      "build", "rewrite every target team's roster from its paired source team");
  AddSideOptions(*app, options->sides,
                 "With both, the two organizations are paired by team\n"
                 "name and nothing is taken from the stored setup; with\n"
                 "neither, build works on the stored setup, as the\n"
                 "window would at start-up");
  AddSetupOptions(*app, options->setup);
  AddSetupFileOption(*app, options->setup);
  AddPairingOptions(*app, options->pairing);
  app->add_flag("--yes", options->yes,
                "replace the rosters even when the target teams have\nplayed games, or when no team "
                "is paired");
  app->add_flag("--dry-run", options->dryRun, "show what would be written, and write nothing");
  app->add_flag("--save-setup", options->saveSetup,
                "store this setup as the window's Save Current Setup\nwould");
  app->add_flag("--summary", options->summary, "after a Build, count what it did");
  return {app, [options](Console& console) { return Run(*options, console); }};
}

}  // namespace tovarin::cli
