#pragma once

// What every command of tovarin-cli shares: how it is registered on the command line, how it
// runs, and how it says that it was used wrongly.

#include <functional>
#include <string>

#include "cli/cli.h"

namespace CLI {
class App;
}  // namespace CLI

namespace tovarin::cli {

// Wrong usage: the message names what is wrong; the program exits with kUsage.
struct UsageError {
  std::string message;
};

// A command, registered as a subcommand of the program. `run` is called when the command line
// chose it, after the whole line has been parsed; it returns the exit status.
struct Command {
  CLI::App* app = nullptr;
  std::function<int(Console&)> run;
};

Command AddBuildCommand(CLI::App& program);
Command AddPairsCommand(CLI::App& program);
Command AddSettingsCommand(CLI::App& program);
Command AddRestoreCommand(CLI::App& program);
Command AddReviewCommand(CLI::App& program);
Command AddRenamesCommand(CLI::App& program);

// Why `command` cannot work on the stored setup: none is stored.
std::string NoSetupStored(const std::string& command);

}  // namespace tovarin::cli
