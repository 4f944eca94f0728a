#include "cli/form_session.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <optional>

#include "platform/case_blind.h"
#include "shell/form_layout.h"
#include "platform/native_path.h"
#include "platform/paths.h"
#include "shell/settings.h"

namespace fs = std::filesystem;

namespace tovarin::cli {
namespace {

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

// The path an option gives, made absolute; a usage error naming the option when it cannot be.
std::string AbsoluteOption(const std::string& option, const std::string& value) {
  std::string why;
  const std::optional<std::string> path = platform::AbsolutePath(value, &why);
  if (!path) throw UsageError{option + (value.empty() ? "" : " " + value) + ": " + why};
  return *path;
}

// An organization directory, split as the Identify Organization dialog would give it. The names
// are the folders' own as spelled on disk, however the option spells them (a short name, "..",
// trailing dots, a link); a folder that is not there is taken as given and fails to load.
void SetLocation(const std::string& option, const std::string& dir, OrgLocation& location) {
  std::string path = AbsoluteOption(option, dir);
  if (const std::optional<std::string> spelled = platform::SpelledOnDisk(path)) {
    path = *spelled;
  } else {
#ifndef _WIN32
    path = platform::PathText(platform::NativePath(path).lexically_normal());
#endif
  }
  std::string diskPath, organization, base, dataDisk;
  platform::SplitLastName(path, diskPath, organization);
  platform::SplitLastName(diskPath, base, dataDisk);
  if (organization.empty() || dataDisk.empty() || base.empty() || organization == ".." ||
      dataDisk == "..") {
    throw UsageError{option + " " + dir +
                     ": not an organization directory (.../NAME.WDD/ORGnnnnn)"};
  }
  location.SetBaseDirectory(base);
  location.SetDataDisk(platform::ToUpper(dataDisk));
  location.SetOrganization(platform::ToUpper(organization));
}

TeamEntry* FindTeam(TeamList& list, int id) {
  for (TeamEntry& entry : list) {
    if (entry.teamId == id) return &entry;
  }
  return nullptr;
}

}  // namespace

std::string NoSetupStored(const std::string& command) {
  return "no setup is stored; give " + command +
         " --target DIR --source DIR, or store them first with tovarin-cli settings --target DIR "
         "--source DIR";
}

void AddSideOptions(CLI::App& app, SideOptions& sides, const std::string& description) {
  sides.app = &app;
  app.add_option("--target", sides.target,
                 "the target organization directory\n(.../NAME.WDD/ORGnnnnn)")
      ->type_name("DIR")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_option("--source", sides.source, "the source organization directory\n" + description)
      ->type_name("DIR")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

bool GivenBoth(const SideOptions& sides, const std::string& whenOne) {
  const bool target = sides.app->count("--target") > 0;
  const bool source = sides.app->count("--source") > 0;
  if (target != source) throw UsageError{whenOne};
  return target;
}

void AddSetupOptions(CLI::App& app, SetupOptions& setup) {
  setup.app = &app;
  app.add_option("--rename", setup.rename,
                 "the rename file (players named differently on the\ntwo data disks)")
      ->type_name("FILE")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_flag("--farm")->description(
      "carry the players of each source team's farm\naffiliate (the default)");
  app.add_flag("--no-farm")->description("do not carry them");
}

void AddSetupFileOption(CLI::App& app, SetupOptions& setup) {
  app.add_option("--setup", setup.setupFile,
                 "a setup document saved by the window (Ctrl+S),\n"
                 "in place of the stored setup")
      ->type_name("FILE");
}

void TakeSetupOptions(SetupOptions& setup) {
  setup.renameGiven = setup.app->count("--rename") > 0;
  const CLI::Option* setupFile = setup.app->get_option_no_throw("--setup");
  setup.setupFileGiven = setupFile && setupFile->count() > 0;
  for (const CLI::Option* option : setup.app->parse_order()) {  // the last one given counts
    if (option->get_name() == "--farm" || option->get_name() == "--no-farm") {
      setup.farmGiven = true;
      setup.farm = option->get_name() == "--farm";
    }
  }
}

void AddPairingOptions(CLI::App& app, PairingOptions& pairing) {
  pairing.app = &app;
  app.add_flag("--reset", pairing.reset, "undo every pair made by name");
  app.add_option("--unmatch", pairing.unmatch, "undo the pair of target team TID")
      ->type_name("TID")
      ->allow_extra_args(false);
  app.add_option("--match", pairing.match,
                 "pair target team TID with source team SID (undoing\n"
                 "their earlier pairs); team numbers name the roster\n"
                 "files (T%05dRS.ORG). --reset comes first, then\n"
                 "--unmatch and --match in the order given")
      ->type_name("TID:SID")
      ->allow_extra_args(false);
}

std::vector<PairCommand> PairCommands(const PairingOptions& pairing) {
  std::vector<PairCommand> commands;
  std::size_t nextUnmatch = 0, nextMatch = 0;
  for (const CLI::Option* option : pairing.app->parse_order()) {
    const std::string name = option->get_name();
    if (name == "--unmatch") {
      const std::string& text = pairing.unmatch.at(nextUnmatch++);
      commands.push_back({false, ParseNumber(name, text), 0, "--unmatch " + text});
    } else if (name == "--match") {
      const std::string& text = pairing.match.at(nextMatch++);
      const std::size_t colon = text.find(':');
      if (colon == std::string::npos) throw UsageError{"--match " + text + ": expected TID:SID"};
      commands.push_back({true, ParseNumber(name, text.substr(0, colon)),
                          ParseNumber(name, text.substr(colon + 1)), "--match " + text});
    }
  }
  return commands;
}

void ConsoleDialogs::ShowMessage(const std::string& text, MessageKind kind) {
  std::ostream& stream = kind == MessageKind::kError ? console_.err : console_.out;
  if (kind == MessageKind::kError) errorShown = true;
  stream << text;
  if (text.empty() || text.back() != '\n') stream << "\n";
}

bool ConsoleDialogs::AskYesNo(const std::string& text, Default /*answer*/) {
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

FormSession::FormSession(Console& console, bool writeSettings, bool yes)
    : store(console.settings, writeSettings),
      dialogs(console, yes),
      view(store, dialogs, controls, layout::SourceTeamColumn(), *console.writer) {
  view.backupDirectory = console.backups;
}

bool FormSession::Load(const SideOptions& sides, const SetupOptions& setup, bool reset,
                       const std::vector<PairCommand>& pairCommands) {
  if (setup.setupFileGiven) {
    if (sides.given) throw UsageError{"give --setup FILE or --target and --source, not both"};
    const std::string path = AbsoluteOption("--setup", setup.setupFile);
    CTovarinDoc document;
    std::optional<FormSetup> read;
    std::string why;
    if (!document.Open(path, read, &why)) throw UsageError{"--setup " + setup.setupFile + ": " + why};
    if (!read) {
      throw UsageError{"--setup " + setup.setupFile + ": the file is empty, so it holds no setup"};
    }
    view.ApplySetup(*read);
  } else if (sides.given) {
    SetLocation("--target", sides.target, view.targetLocation);
    SetLocation("--source", sides.source, view.sourceLocation);
    view.targetOrgPath = view.targetLocation.OrganizationPath();
    view.sourceOrgPath = view.sourceLocation.OrganizationPath();
    view.useFarm = 1;
    // Options that nothing consults are kept as stored, so --save-setup leaves them alone.
    view.threeLetters =
        store.ReadInt(settings::kOption, settings::kThreeLetters).value_or(1);
    view.smartInitials =
        store.ReadInt(settings::kOption, settings::kSmartInitials).value_or(1);
    view.ReloadTeamLists();
  } else {
    // A setup read in part would be another one: the command is given no other.
    view.LoadSettings();
    if (const std::string problem = store.ReadProblem(); !problem.empty()) {
      throw UsageError{kSetupNotRead + problem +
                       "\ngive --target DIR --source DIR, or store a setup with tovarin-cli "
                       "settings --target DIR --source DIR"};
    }
    view.ReloadTeamLists();
  }
  if (setup.renameGiven) {
    // Stored and told as spelled on disk (not by a short name or another letter case), like the
    // organizations; a file not there yet is taken as given.
    const std::string path = AbsoluteOption("--rename", setup.rename);
    view.renamePath = setup.rename.empty() ? path : platform::SpelledOnDisk(path).value_or(path);
  }
  if (setup.farmGiven) view.useFarm = setup.farm ? 1 : 0;
  if (dialogs.errorShown) return false;

  if (reset) view.teamLists.Reset();
  for (const PairCommand& command : pairCommands) {
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
  return true;
}

}  // namespace tovarin::cli
