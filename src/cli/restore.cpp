// tovarin-cli restore: puts back the target rosters a Build replaced.

#include <CLI/CLI.hpp>
#include <memory>

#include "cli/command.h"
#include "shell/restore_list.h"
#include "transfer/backup.h"

namespace tovarin::cli {
namespace {

struct RestoreOptions {
  bool list = false;
  std::vector<std::string> names;
};

int List(const BackupStore& store, Console& console) {
  const std::vector<BackupInfo> backups = store.List();
  if (backups.empty()) console.out << "No backups are kept in " << store.root() << "\n";
  for (const BackupInfo& b : backups) {
    if (!b.damage.empty()) {
      console.out << b.name << "  (damaged: " << b.damage << ")\n";
      continue;
    }
    console.out << b.name << "  " << b.time << "  " << b.organization << "  (" << b.files
                << (b.files == 1 ? " roster" : " rosters")
                << (b.restoring.empty() ? "" : ", before restoring " + b.restoring)
                << (b.putBack.empty() ? "" : ", put back " + b.putBack) << ")\n";
  }
  return kOk;
}

int Run(const RestoreOptions& options, Console& console) {
  if (options.names.size() > 1) throw UsageError{"restore takes one backup name at most"};
  BackupStore store(console.backups, *console.writer);
  if (options.list) return List(store, console);
  BackupInfo restored;
  std::string why;
  if (!store.Restore(options.names.empty() ? "" : options.names[0], &why, &restored)) {
    console.err << why << "\n";
    return kError;
  }
  console.out << "Put back "
              << RostersBefore(restored.files, restored.organization, BackupEvent(restored))
              << "; `tovarin-cli restore` undoes it.\n";
  return kOk;
}

}  // namespace

Command AddRestoreCommand(CLI::App& program) {
  auto options = std::make_shared<RestoreOptions>();
  CLI::App* app =
      program.add_subcommand("restore", "put back the target rosters a Build replaced");
  app->add_flag("--list", options->list, "list the kept backups, newest last");
  app->add_option("NAME", options->names, "the backup to put back (default: the newest)")
      ->type_name("");
  return {app, [options](Console& console) { return Run(*options, console); }};
}

}  // namespace tovarin::cli
