#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <exception>

#include "cli/command.h"
#include "tovarin_version.h"

namespace tovarin::cli {
namespace {

const char* const kDescription =
    "Carries team rosters from a source organization to a target organization of the\n"
    "Grandstand baseball simulation, matching players by name.";

const char* const kExitStatus =
    "Exit status: 0 done, 1 an error (its message on standard error) or, for renames,\n"
    "problems found, 2 wrong usage, 3 a question (games played, or no team paired) was\n"
    "not answered Yes (nothing written).";

// "--name" of an argument that looks like an option ("--name=value" included), else empty.
std::string OptionName(const std::string& arg) {
  if (arg.size() < 2 || arg[0] != '-') return "";
  return arg.substr(0, arg.find('='));
}

// The message for an option that the chosen command does not have: the commands that act on it
// are named (settings, which only stores some of them, aside), or it is unknown.
std::string ForeignOption(const std::string& name, const CLI::App& chosen,
                          const std::vector<Command>& commands) {
  std::vector<std::string> owners;
  for (const Command& command : commands) {
    if (command.app == &chosen || command.app->get_name() == "settings") continue;
    if (command.app->get_option_no_throw(name)) owners.push_back(command.app->get_name());
  }
  if (owners.empty()) return "unknown option " + name;
  if (owners.size() == 1 && owners[0] == "restore") return name + " belongs to restore";
  std::string list = owners[0];
  for (std::size_t i = 1; i < owners.size(); ++i) {
    list += (i + 1 == owners.size() ? " and " : ", ") + owners[i];
  }
  return "that option belongs to " + list + ", not " + chosen.get_name();
}

// Flags take no value: CLI11 would take "--yes=1" as a value for the flag.
void RefuseFlagValues(const std::vector<std::string>& args, const std::vector<Command>& commands) {
  for (const std::string& arg : args) {
    if (arg.rfind("--", 0) != 0 || arg.find('=') == std::string::npos) continue;
    const std::string name = OptionName(arg);
    for (const Command& command : commands) {
      const CLI::Option* option = command.app->get_option_no_throw(name);
      if (option && option->get_expected_max() == 0) throw UsageError{name + " takes no value"};
    }
  }
}

// What the parse left over: an unknown command, option or argument.
void RefuseLeftovers(const CLI::App& program, const CLI::App* chosen,
                     const std::vector<Command>& commands) {
  for (const std::string& arg : program.remaining()) {
    if (!OptionName(arg).empty()) throw UsageError{"unknown option " + OptionName(arg)};
    throw UsageError{"unknown command " + arg};
  }
  if (!chosen) throw UsageError{"no command given"};
  for (const std::string& arg : chosen->remaining()) {
    const std::string name = OptionName(arg);
    if (!name.empty()) throw UsageError{ForeignOption(name, *chosen, commands)};
    throw UsageError{"unexpected argument " + arg};
  }
}

// CLI11's message for an option without its value begins with the option's name.
std::string MissingValue(const CLI::ParseError& error) {
  const std::string what = error.what();
  const std::size_t colon = what.find(':');
  if (what.rfind("-", 0) == 0 && colon != std::string::npos) {
    return what.substr(0, colon) + " needs a value";
  }
  return what;
}

int Usage(Console& console, const std::string& message) {
  console.err << "tovarin-cli: " << message << "\n"
              << "Try 'tovarin-cli --help' for more information.\n";
  return kUsage;
}

}  // namespace

int Run(const std::vector<std::string>& args, Console& console) {
  CLI::App program(kDescription, "tovarin-cli");
  program.footer(kExitStatus);
  program.set_version_flag("--version", std::string("tovarin-cli (Tovarin) ") + TOVARIN_VERSION,
                           "show the version");
  program.set_help_flag("-h,--help", "show this help");
  program.get_formatter()->label("SUBCOMMAND", "COMMAND");
  program.get_formatter()->column_width(22);
  program.allow_extras();
  program.require_subcommand(0, 1);
  const std::vector<Command> commands = {AddBuildCommand(program), AddPairsCommand(program),
                                         AddSettingsCommand(program),
                                         AddRestoreCommand(program),
                                         AddReviewCommand(program),
                                         AddRenamesCommand(program)};
  for (const Command& command : commands) {
    command.app->allow_extras();
    command.app->set_help_flag("-h,--help", "show this help");
    command.app->footer(kExitStatus);
    command.app->group("Commands");
  }

  try {
    RefuseFlagValues(args, commands);
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them backwards
    program.parse(reversed);
    const Command* chosen = nullptr;
    for (const Command& command : commands) {
      if (command.app->parsed()) chosen = &command;
    }
    RefuseLeftovers(program, chosen ? chosen->app : nullptr, commands);
    return chosen->run(console);
  } catch (const CLI::CallForHelp& help) {
    return program.exit(help, console.out, console.err);
  } catch (const CLI::CallForVersion& version) {
    return program.exit(version, console.out, console.err);
  } catch (const CLI::ArgumentMismatch& error) {
    return Usage(console, MissingValue(error));
  } catch (const CLI::ParseError& error) {
    return Usage(console, error.what());
  } catch (const UsageError& error) {
    return Usage(console, error.message);
  } catch (const std::exception& error) {
    // Nothing may end the program unannounced: the message, and the error status.
    console.err << "tovarin-cli: " << error.what() << "\n";
    return kError;
  }
}

}  // namespace tovarin::cli
