// tovarin-cli pairs: the two team lists as the window would show them.

#include <CLI/CLI.hpp>
#include <memory>

#include "cli/command.h"
#include "cli/form_session.h"
#include "shell/sim_text.h"

namespace tovarin::cli {
namespace {

struct PairsOptions {
  SideOptions sides;
  PairingOptions pairing;
};

int Run(PairsOptions& options, Console& console) {
  options.sides.given = GivenBoth(options.sides, "pairs needs --target and --source");
  if (!options.sides.given) throw UsageError{"pairs needs --target and --source"};
  const std::vector<PairCommand> pairCommands = PairCommands(options.pairing);

  FormSession form(console, false, false);
  if (!form.Load(options.sides, SetupOptions(), options.pairing.reset, pairCommands)) {
    return kError;
  }
  const CTovarinView& view = form.view;
  console.out << view.targetLabel() << "\n";
  for (const auto& row : view.teamLists.targetList().rows) {
    console.out << DisplayText(row.text) << "\n";
  }
  console.out << "\n" << view.sourceLabel() << "\n";
  for (const auto& row : view.teamLists.sourceList().rows) {
    console.out << DisplayText(row.text) << "\n";
  }
  return kOk;
}

}  // namespace

Command AddPairsCommand(CLI::App& program) {
  auto options = std::make_shared<PairsOptions>();
  CLI::App* app =
      program.add_subcommand("pairs", "show the two team lists as the window would show them");
  AddSideOptions(*app, options->sides, "(both are needed)");
  AddPairingOptions(*app, options->pairing);
  return {app, [options](Console& console) { return Run(*options, console); }};
}

}  // namespace tovarin::cli
