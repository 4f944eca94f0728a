#pragma once

// The form as the command line drives it: the two sides and the pairing commands given as
// options, and console stand-ins for the form's controls, dialogs and settings.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/command.h"
#include "shell/tovarin_view.h"

namespace CLI {
class App;
}  // namespace CLI

namespace tovarin::cli {

// --target and --source.
struct SideOptions {
  std::string target, source;
  bool given = false;  // both were given; checked by the command
  CLI::App* app = nullptr;
};
void AddSideOptions(CLI::App& app, SideOptions& sides, const std::string& description);
// True when both were given; a usage error when only one was.
bool GivenBoth(const SideOptions& sides, const std::string& whenOne);

// --rename, --farm and --no-farm.
struct SetupOptions {
  std::string rename;
  bool renameGiven = false;
  std::string setupFile;  // --setup, a setup document in place of the stored setup
  bool setupFileGiven = false;
  bool farm = true;
  bool farmGiven = false;
  CLI::App* app = nullptr;
};
void AddSetupOptions(CLI::App& app, SetupOptions& setup);
// --setup FILE, for the commands that work on a setup without storing one.
void AddSetupFileOption(CLI::App& app, SetupOptions& setup);
// Reads what the parse gave.
void TakeSetupOptions(SetupOptions& setup);

// --reset, --unmatch and --match, applied in that order: --reset first, then --unmatch and
// --match as they stand on the command line.
struct PairingOptions {
  bool reset = false;
  std::vector<std::string> unmatch, match;
  CLI::App* app = nullptr;
};
void AddPairingOptions(CLI::App& app, PairingOptions& pairing);

// One --unmatch or --match, checked.
struct PairCommand {
  bool match = false;
  int target = 0;
  int source = 0;
  std::string text;  // as given, for messages
};
// The pairing commands in the order they apply; a malformed one is a usage error.
std::vector<PairCommand> PairCommands(const PairingOptions& pairing);

// The controls show nothing on a console.
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

// Errors go to standard error, what is done to standard output; the one question is asked on
// the terminal, or answered by --yes.
class ConsoleDialogs : public ViewDialogs {
 public:
  ConsoleDialogs(Console& console, bool yes) : console_(console), yes_(yes) {}

  bool errorShown = false;
  bool declined = false;

  void ShowMessage(const std::string& text, MessageKind kind) override;
  bool AskYesNo(const std::string& text, Default answer) override;
  std::optional<std::string> ChooseFile(const std::string&, const std::string&,
                                        const layout::FilePicker&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseNewFile(const std::string&, const std::string&,
                                           const layout::FilePicker&) override {
    return std::nullopt;
  }
  bool IdentifyOrganization(OrgLocation&, const std::string&) override { return false; }
  std::optional<std::size_t> ChooseBackup(const RestoreModel&) override {
    return std::nullopt;
  }
  // Nothing is offered: the command line has no dialog to open.
  bool AskOkCancel(const std::string&) override { return false; }

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
  bool Commit(std::string* what) override { return !writable_ || store_.Commit(what); }
  std::string ReadProblem() override { return store_.ReadProblem(); }

 private:
  platform::SettingsStore& store_;
  bool writable_;
};

// The form as one command drives it: the per-user settings (written only when `writeSettings`),
// the console dialogs (`yes` answers their question), and the view over them.
class FormSession {
 public:
  FormSession(Console& console, bool writeSettings, bool yes);
  FormSession(const FormSession&) = delete;
  FormSession& operator=(const FormSession&) = delete;

  // Loads both sides into the form, from the options when given or else from the stored setup,
  // then applies the setup options and the pairing commands. False when a side failed to load
  // (its message has been shown). A stored setup that cannot all be read, and a pairing command
  // naming no team, are usage errors.
  bool Load(const SideOptions& sides, const SetupOptions& setup, bool reset,
            const std::vector<PairCommand>& pairCommands);

  GatedSettings store;
  ConsoleDialogs dialogs;
  NoControls controls;
  CTovarinView view;
};

}  // namespace tovarin::cli
