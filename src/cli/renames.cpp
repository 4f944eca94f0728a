// tovarin-cli renames: what a Build does with each record of the rename file, and what is wrong
// with it, in the form editors jump to.

#include <CLI/CLI.hpp>
#include <memory>

#include "cli/command.h"
#include "cli/form_session.h"
#include "shell/rename_check_model.h"

namespace tovarin::cli {
namespace {

struct RenamesOptions {
  SideOptions sides;
  SetupOptions setup;
};

int Run(RenamesOptions& options, Console& console) {
  options.sides.given = GivenBoth(
      options.sides, "give both --target and --source, or neither to use the stored setup");
  TakeSetupOptions(options.setup);

  FormSession form(console, false, false);
  if (!form.Load(options.sides, options.setup, false, {})) return kError;
  CTovarinView& view = form.view;
  if (!options.sides.given && !options.setup.setupFileGiven &&
      !view.MissingOrganization().empty()) {
    throw UsageError{NoSetupStored("renames")};
  }
  if (view.renamePath.empty()) {
    throw UsageError{"no rename file is chosen; give renames --rename FILE, or store one first "
                     "with tovarin-cli settings --rename FILE"};
  }

  // Printed as they are found: a file of any size is checked in little memory.
  const std::string& path = view.renamePath;
  const RenameCheckModel model = CheckRenames(
      view.MakeBuildParams(), view.targetTeams(), [&](const RenameFinding& finding) {
        for (const RenameProblem& problem : finding.problems) {
          console.out << DiagnosticLine(path, problem) << "\n";
        }
      });
  if (!model.error.empty()) {
    console.err << model.error << "\n";
    return kError;
  }
  for (const RenameProblem& problem : model.check.fileProblems) {
    console.out << DiagnosticLine(path, problem) << "\n";
  }
  console.out << model.summary << "\n";
  return model.check.problems == 0 ? kOk : kError;
}

}  // namespace

Command AddRenamesCommand(CLI::App& program) {
  auto options = std::make_shared<RenamesOptions>();
  CLI::App* app = program.add_subcommand(
      "renames", "check the rename file: what a Build does with each record,\nand what is wrong "
                 "with it (exit 1 when something is)");
  AddSideOptions(*app, options->sides, "With neither, renames works on the stored setup");
  // Only the rename file of the setup's options matters here.
  options->setup.app = app;
  AddSetupFileOption(*app, options->setup);
  app->add_option("--rename", options->setup.rename, "the rename file to check")
      ->type_name("FILE")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  return {app, [options](Console& console) { return Run(*options, console); }};
}

}  // namespace tovarin::cli
