// tovarin-cli settings: the stored setup, and storing one for the window.

#include <CLI/CLI.hpp>
#include <memory>

#include "cli/command.h"
#include "cli/form_session.h"
#include "shell/settings.h"

namespace tovarin::cli {
namespace {

struct SettingsOptions {
  SideOptions sides;
  SetupOptions setup;
};

int Run(SettingsOptions& options, Console& console) {
  using namespace settings;
  TakeSetupOptions(options.setup);
  const bool storing = options.sides.app->count("--target") > 0 ||
                       options.sides.app->count("--source") > 0 || options.setup.renameGiven ||
                       options.setup.farmGiven;
  if (storing) {
    options.sides.given = GivenBoth(options.sides, "settings needs --target and --source");
    if (!options.sides.given) throw UsageError{"settings needs --target and --source"};
    // Stores a setup for the window, as its Save Current Setup would, after checking that both
    // organizations load.
    FormSession form(console, true, false);
    if (!form.Load(options.sides, options.setup, false, {})) return kError;
    if (const std::string unstorable = form.view.UnstorableSetup(); !unstorable.empty()) {
      throw UsageError{"this setup cannot be stored: " + unstorable};
    }
    std::string why;
    if (!form.view.SaveSettings(&why)) {
      console.err << why << "\n";
      return kError;
    }
  }
  for (const char* name : {kBaseDir, kTgtDataDisk, kTgtOrg, kSrcDataDisk, kSrcOrg, kRename}) {
    console.out << kFile << "/" << name << "="
                << console.settings.ReadString(kFile, name).value_or("") << "\n";
  }
  for (const char* name : {kUseFarm, kThreeLetters, kSmartInitials}) {
    console.out << kOption << "/" << name << "="
                << console.settings.ReadInt(kOption, name).value_or(1) << "\n";
  }
  // Shown as their defaults above, which they are not.
  if (const std::string problem = console.settings.ReadProblem(); !problem.empty()) {
    console.err << kSetupNotRead << problem << "\n";
    return kError;
  }
  return kOk;
}

}  // namespace

Command AddSettingsCommand(CLI::App& program) {
  auto options = std::make_shared<SettingsOptions>();
  CLI::App* app = program.add_subcommand(
      "settings",
      "show the stored setup; with --target and --source (and\n"
      "--rename, --farm or --no-farm), store that setup first,\n"
      "for the window");
  AddSideOptions(*app, options->sides, "With both, that setup is stored");
  AddSetupOptions(*app, options->setup);
  return {app, [options](Console& console) { return Run(*options, console); }};
}

}  // namespace tovarin::cli
