#include "guardian/guardian.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

#include "cli/cli.h"
#include "platform/case_blind.h"
#include "platform/native_path.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "shell/form_layout.h"
#include "shell/frame_commands.h"
#include "shell/menu_layout.h"
#include "shell/preview.h"
#include "shell/restore_list.h"
#include "shell/settings.h"
#include "shell/tovarin_doc.h"
#include "shell/tovarin_view.h"
#include "simdata/roster_file.h"
#include "support/fake_ui.h"
#include "support/fixture.h"
#include "transfer/backup.h"

namespace tovarin::guardian {
namespace {

namespace fs = std::filesystem;
using fixture::FakeControls;
using fixture::FakeDialogs;
using fixture::TempDir;

// A disk on which any step of any write fails, now and then: full, broken or refusing.
class FailingDisk : public platform::FileWriter {
 public:
  explicit FailingDisk(Choices& choices) : choices_(choices) {}
  unsigned per1000 = 0;  // how often a step fails
  mutable int failures = 0;

  long long Write(int fd, const char* data, std::size_t size) const override {
    if (const int error = Failure()) return errno = error, -1;
    // Sometimes only part goes through, and the writer has to come back for the rest.
    return FileWriter::Write(fd, data, size > 1 && choices_.Below(4) == 0 ? size / 2 : size);
  }
  int Flush(int fd) const override {
    if (const int error = Failure()) return errno = error, -1;
    return FileWriter::Flush(fd);
  }
  std::error_code Replace(const std::string& from, const std::string& to) const override {
    if (const int error = Failure()) return {error, std::generic_category()};
    return FileWriter::Replace(from, to);
  }
  std::error_code MakeDirectory(const std::string& path) const override {
    if (const int error = Failure()) return {error, std::generic_category()};
    return FileWriter::MakeDirectory(path);
  }
  std::error_code Remove(const std::string& path) const override {
    if (const int error = Failure()) return {error, std::generic_category()};
    return FileWriter::Remove(path);
  }

 private:
  int Failure() const {
    if (per1000 == 0 || choices_.Below(1000) >= per1000) return 0;
    ++failures;
    static const int kErrors[] = {ENOSPC, EIO, EACCES};
    return kErrors[choices_.Below(3)];
  }
  Choices& choices_;
};

// The per-user settings, the test's own: a Commit stores all of its writes or, failing now and
// then, none.
class Store : public platform::SettingsStore {
 public:
  explicit Store(Choices& choices) : choices_(choices) {}
  using Values = std::map<std::string, std::string>;
  Values stored;
  bool failing = false;  // commits may fail
  int commits = 0, failedCommits = 0;

  std::optional<std::string> ReadString(const std::string& s, const std::string& n) override {
    const auto it = stored.find(s + "/" + n);
    if (it == stored.end()) return std::nullopt;
    return it->second;
  }
  std::optional<std::int32_t> ReadInt(const std::string& s, const std::string& n) override {
    const auto text = ReadString(s, n);
    if (!text) return std::nullopt;
    return std::stoi(*text);
  }
  void WriteString(const std::string& s, const std::string& n, const std::string& v) override {
    pending_[s + "/" + n] = v;
  }
  void WriteInt(const std::string& s, const std::string& n, std::int32_t v) override {
    pending_[s + "/" + n] = std::to_string(v);
  }
  bool Commit(std::string* what) override {
    Values pending;
    pending.swap(pending_);
    if (failing && choices_.Below(5) == 0) {
      ++failedCommits;
      if (what)
        *what = std::string("the test's store\nno space left\n") + platform::kStoredBeforeKept;
      return false;
    }
    for (auto& [key, value] : pending) stored[key] = value;
    ++commits;
    return true;
  }

 private:
  Choices& choices_;
  Values pending_;
};

// One entry of the tree as a step leaves it.
struct Entry {
  char type = 'f';    // f file, d folder, l link
  std::string bytes;  // a file's bytes, a link's target
  bool operator==(const Entry&) const = default;
};
using Tree = std::map<std::string, Entry>;  // by path below the world's root, '/'-separated

Tree Snapshot(const std::string& root) {
  Tree tree;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(platform::NativePath(root), ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    const std::string path = fs::relative(it->path(), platform::NativePath(root)).generic_string();
    std::error_code typeError;
    if (it->is_symlink(typeError)) {
      tree[path] = {'l', fs::read_symlink(it->path(), typeError).generic_string()};
      it.disable_recursion_pending();
    } else if (it->is_directory(typeError)) {
      tree[path] = {'d', ""};
    } else {
      const sim::Bytes bytes = fixture::ReadFileBytes(platform::PathText(it->path()));
      tree[path] = {'f', std::string(bytes.begin(), bytes.end())};
    }
  }
  return tree;
}

bool IsRosterName(const std::string& path) {
  return IsRosterFileName(path.substr(path.find_last_of('/') + 1));
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "" : path.substr(0, slash);
}

// A Tovarin backup folder's name: its sequence number, a dash, the rest.
bool IsBackupName(const std::string& name) {
  std::size_t digits = 0;
  while (digits < name.size() && name[digits] >= '0' && name[digits] <= '9') ++digits;
  return digits >= 6 && digits < name.size() && name[digits] == '-';
}

// The finished backups of a tree, oldest first (their names start with their sequence).
std::vector<std::string> Backups(const Tree& tree) {
  std::vector<std::string> names;
  for (const auto& [path, entry] : tree) {
    if (path.rfind("backups/", 0) == 0 && path.find('/', 8) == std::string::npos &&
        IsBackupName(path.substr(8)) && tree.count(path + "/manifest.txt")) {
      names.push_back(path.substr(8));
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

// What one step may change, beyond the per-user settings.
struct Allowed {
  std::set<std::string> rosterFolders;  // whose rosters may be replaced
  bool anyRosters = false;              // a restore: the rosters of the backup's organization
  std::set<std::string> reports;        // Tovarin.txt of these data disks
  std::string renameFile;               // may only grow, every old byte kept
  std::string newFile;                  // the file a dialog named for creating
  std::string document;                 // a setup document the user named for saving
  bool backups = false;                 // backups may be made (and pruned by a completed Build)
};

class World {
 public:
  explicit World(Choices& choices)
      : choices_(choices),
        disk_(choices),
        store_(choices),
        view_(store_, dialogs_, controls_, layout::SourceTeamColumn(), disk_),
        frame_(view_, dialogs_, window_) {
    Make();
    view_.backupDirectory = backups_;
    window_.world = this;
  }

  std::string Run(int steps, bool trace);

 private:
  struct Window : FrameWindow {
    World* world = nullptr;
    void SetTitle(const std::string&) override {}
    void ShowStatusBar(bool) override {}
    void ShowHelp() override {}
    void ShowAbout() override {}
    void ShowPreview(PreviewSession& preview) override { world->PlayPreview(preview); }
    void ShowRenameCheck(const RenameCheckModel&) override {}
    std::optional<std::string> ChooseDocument(DocumentDialog kind, const std::string&) override {
      return world->ChooseDocument(kind);
    }
    void Close() override {}
  };

  void Make();
  std::string Root(const std::string& relative) const { return dir_ / relative; }
  std::string Relative(const std::string& path) const;
  unsigned Pick(unsigned n) { return choices_.Below(n); }

  // The steps.
  void Step(std::string& name, Allowed& allowed);
  void AnswerQuestions();
  void PlayPreview(PreviewSession& preview);
  std::optional<std::string> ChooseDocument(FrameWindow::DocumentDialog kind);
  int Cli(const std::vector<std::string>& args);
  void ChangeTheWorld(std::string& name);

  // The invariants: the broken one and the file that broke it, or empty.
  // Where a step started from, beside the tree.
  struct Start {
    std::size_t firstMessage = 0;
    int failures = 0, commits = 0, failedCommits = 0;
    Store::Values stored;
  };
  std::string Check(const Tree& before, const Tree& after, const Allowed& allowed,
                    const Start& start);
  std::string Messages(std::size_t from) const;

  Choices& choices_;
  TempDir dir_;
  std::string base_, otherBase_, backups_, docs_;
  FailingDisk disk_;
  Store store_;
  FakeDialogs dialogs_;
  FakeControls controls_;
  CTovarinView view_;
  Window window_;
  FrameCommands frame_;
  std::string documentChosen_;
  std::string newFileChosen_;
  std::string restoredBackup_;
  bool cliStep_ = false;  // the step was a command line's, which shows no form
  // Per backup made without a failure: the rosters of its organization before the step that
  // made it, which restoring it must give back.
  std::map<std::string, Tree> made_;
  Tree before_;
};

std::string World::Relative(const std::string& path) const {
  std::error_code ec;
  const fs::path canonical = fs::weakly_canonical(platform::NativePath(path), ec);
  const fs::path root = fs::weakly_canonical(platform::NativePath(dir_.path()), ec);
  std::string relative = canonical.lexically_relative(root).generic_string();
  while (!relative.empty() && relative.back() == '/') relative.pop_back();
  return relative;
}

void World::Make() {
  base_ = dir_.MakeDir("league");
  otherBase_ = dir_.MakeDir("other");
  backups_ = dir_.MakeDir("backups");
  docs_ = dir_.MakeDir("docs");
  auto text = [](const std::string& t) { return sim::Bytes(t.begin(), t.end()); };
  const std::vector<sim::Player> players = {{"Smith", "John"}, {"Jones", "Ann"}, {"Brown", "Bob"},
                                            {"Lee", "Al"},     {"Fox", "Jon"},   {"Gray", "Tim"},
                                            {"Park", "Sam"},   {"New", "Guy"}};
  auto roster = [](const std::string& org, int team, const std::vector<int>& numbers,
                   const std::string& disk) {
    std::vector<sim::RosterEntry> entries;
    for (int p : numbers) entries.push_back({120, 5, disk, static_cast<std::int16_t>(p)});
    sim::WriteRosterFile(RosterPath(org, team), entries);
  };
  // Every folder Tovarin works in holds files of the user's that it must leave alone, some named
  // as its own temporaries are.
  auto userFiles = [&](const std::string& folder) {
    sim::WriteBytes(folder + "notes.txt", text("the user's notes\n"));
    sim::WriteBytes(folder + ".notes.txt.tovarin-backup", text("a copy of the user's\n"));
    sim::WriteBytes(folder + ".x.tovarin-abcdef", text("not a temporary of Tovarin's\n"));
#ifndef _WIN32
    fs::create_symlink("notes.txt", folder + "notes-link");
#endif
  };
  for (const std::string& b : {base_, otherBase_}) {
    sim::WriteBytes(b + kSimulationExecutable, text("MZ"));
    userFiles(b);
  }
  const std::string target = dir_.MakeDir("league/A.WDD/ORG00001");
  const std::string source = dir_.MakeDir("league/B.WDD/ORG00001");
  const std::string farm = dir_.MakeDir("league/B.WDD/ORG00002");
  // Another copy of the league, as a commissioner keeps one a season: its data disk is named as
  // the first one's is.
  const std::string other = dir_.MakeDir("other/A.WDD/ORG00001");
  // The target disk spells two players otherwise, so that Builds drop them and the review
  // offers them to the rename file.
  sim::WritePlayersFile(base_ + "A.WDD/Players.dat", {{"Brown", "Bob"},
                                                      {"Smith", "John"},
                                                      {"Fox", "John"},
                                                      {"Jones", "Ann"},
                                                      {"Lee", "Al"},
                                                      {"New", "Guy"},
                                                      {"Park", "Sam"},
                                                      {"Grey", "Tim"}});
  sim::WritePlayersFile(base_ + "B.WDD/Players.dat", players);
  sim::WritePlayersFile(otherBase_ + "A.WDD/Players.dat", players);
  fixture::StandardOrg(3).Write(target);
  fixture::StandardOrg(2, 2).Write(source);
  fixture::StandardOrg(3).Write(other);
  for (int team = 1; team <= 3; ++team) {
    roster(target, team, {team, team + 3}, "A");
    roster(other, team, {team + 1}, "A");
  }
  roster(source, 1, {1, 5, 2}, "B");
  roster(source, 2, {3, 6, 8}, "B");
  roster(farm, 101, {4, 7}, "B");
  for (const std::string& folder :
       {target, source, farm, other, base_ + "A.WDD/", base_ + "B.WDD/", otherBase_ + "A.WDD/"}) {
    userFiles(folder + (platform::EndsWithSeparator(folder) ? "" : "/"));
  }
  sim::WriteBytes(base_ + "renames.txt", text("C3,,Sam,Park,\r\nJones,Ann,Jones,Anne,\r\n"));
  dir_.MakeDir("backups/my-notes");
  sim::WriteBytes(backups_ + "my-notes/manifest.txt", text("the user's, not a backup\n"));
  sim::WriteBytes(docs_ + "letter.txt", text("Dear commissioner,\n"));
  FormSetup setup;
  setup.targetBase = setup.sourceBase = base_;
  setup.targetDataDisk = "A.WDD";
  setup.targetOrganization = setup.sourceOrganization = "ORG00001";
  setup.sourceDataDisk = "B.WDD";
  sim::WriteBytes(docs_ + "league.tovarin", text(*EncodeSetup(setup)));
  dir_.MakeDir("moved");
  // Now and then a user with a long history: as many backups as are kept, all Tovarin's.
  if (Pick(3) == 0) {
    BackupStore store(backups_);
    for (std::size_t i = 0; i < BackupStore::kKept; ++i) {
      std::string why;
      store.Create(target, "Build", {RosterPath(target, 1), RosterPath(target, 2)}, &why);
    }
  }
}

void World::AnswerQuestions() {
  dialogs_.answers.clear();
  for (int i = 0; i < 4; ++i) dialogs_.answers.push_back(Pick(4) != 0);
}

void World::PlayPreview(PreviewSession& preview) {
  std::vector<std::size_t> rows;
  for (std::size_t i = 0; i < preview.model().dropped.size(); ++i) {
    if (Pick(2) == 0) rows.push_back(i);
  }
  if (!rows.empty() && Pick(3) != 0) {
    // Without a rename file, the one it asks for is created where the user says.
    const std::string answer = Pick(2) == 0 ? base_ + "renames.txt" : docs_ + "new renames.txt";
    const std::size_t asked = dialogs_.newFileTitles.size();
    dialogs_.files.push_back(answer);
    preview.AddToRenameFile(rows);
    if (dialogs_.newFileTitles.size() != asked) newFileChosen_ = answer;
    dialogs_.files.clear();
  }
}

std::optional<std::string> World::ChooseDocument(FrameWindow::DocumentDialog) {
  const std::vector<std::string> files = {docs_ + "league.tovarin",    docs_ + "letter.txt",
                                          docs_ + "new.tovarin",       base_ + "renames.txt",
                                          base_ + "A.WDD/Players.dat", base_ + "notes.txt"};
  const unsigned choice = Pick(static_cast<unsigned>(files.size()) + 1);
  if (choice == files.size()) return std::nullopt;
  documentChosen_ = files[choice];
  return documentChosen_;
}

int World::Cli(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  std::istringstream in;
  cli::Console console{out, err, in, false, store_, backups_};
  console.writer = &disk_;
  cliStep_ = true;
  const int status = cli::Run(args, console);
  // What the command said counts as a message of the step.
  dialogs_.messages.push_back(out.str() + err.str());
  dialogs_.kinds.push_back(status == cli::kOk ? MessageKind::kDone : MessageKind::kError);
  return status;
}

// The stored target organization, as the command line finds it.
std::string StoredOrganization(const Store& store, const char* disk, const char* org) {
  auto value = [&](const char* name) {
    const auto it = store.stored.find(std::string(settings::kFile) + "/" + name);
    return it == store.stored.end() ? std::string() : it->second;
  };
  if (value(disk).empty() || value(org).empty()) return "";
  return value(settings::kBaseDir) + value(disk) + platform::kSeparator + value(org);
}

void World::Step(std::string& name, Allowed& allowed) {
  namespace id = layout::id;
  auto orgDialog = [&] {
    const unsigned disk = Pick(4), org = Pick(3);
    const bool ok = Pick(5) != 0;
    dialogs_.organizationDialog = [=](OrgPicker& picker) {
      if (!picker.dataDisks().empty()) {
        picker.ChooseDataDisk(static_cast<int>(disk % picker.dataDisks().size()));
      }
      if (!picker.organizations().empty()) {
        picker.SelectOrganization(static_cast<int>(org % picker.organizations().size()));
      }
      if (ok) picker.Ok();
      return ok;
    };
  };
  auto select = [&](ListBoxModel& list) {
    list.selected = list.rows.empty()
                        ? -1
                        : static_cast<int>(Pick(static_cast<unsigned>(list.rows.size()) + 1)) - 1;
  };
  switch (Pick(24)) {
    case 0: {
      name = "Set Base Path";
      const unsigned choice = Pick(5);
      if (choice < 4)
        dialogs_.files.push_back((choice < 3 ? base_ : otherBase_) + kSimulationExecutable);
      frame_.OnCommand(layout::command::kSetBasePath);
      break;
    }
    case 1:
    case 2:
      name = "Target Organization";
      orgDialog();
      frame_.OnCommand(id::kTargetOrganization);
      break;
    case 3:
    case 4:
      name = "Source Organization";
      orgDialog();
      frame_.OnCommand(id::kSourceOrganization);
      break;
    case 5: {
      name = "Rename File";
      const std::vector<std::string> files = {base_ + "renames.txt", docs_ + "new renames.txt",
                                              base_ + "B.WDD/Players.dat"};
      const unsigned choice = Pick(4);
      if (choice < files.size()) dialogs_.files.push_back(files[choice]);
      frame_.OnCommand(id::kRenameFile);
      break;
    }
    case 6:
      name = "Match";
      select(view_.teamLists.targetList());
      select(view_.teamLists.sourceList());
      frame_.OnCommand(id::kMatch);
      break;
    case 7:
      name = "Un Match";
      select(view_.teamLists.targetList());
      frame_.OnCommand(id::kUnmatch);
      break;
    case 8:
      name = Pick(2) == 0 ? "Reset" : "double-click";
      select(view_.teamLists.targetList());
      select(view_.teamLists.sourceList());
      if (name == "Reset") {
        frame_.OnCommand(id::kReset);
      } else if (Pick(2) == 0) {
        view_.OnDblclkTargetList();
      } else {
        view_.OnDblclkSourceList();
      }
      break;
    case 9:
      name = "farm check box";
      frame_.OnCommand(id::kUseFarm);
      break;
    case 10:
    case 11:
    case 12:
      name = "Build";
      AnswerQuestions();
      allowed.rosterFolders.insert(Relative(controls_.targetOrgPath));
      allowed.reports.insert(FolderOf(Relative(controls_.targetOrgPath)));
      allowed.backups = true;
      frame_.OnCommand(id::kBuild);
      break;
    case 13:
      name = "Preview Build";
      newFileChosen_.clear();
      frame_.OnCommand(layout::command::kPreviewBuild);
      allowed.renameFile = Relative(view_.renamePath);
      // A rename file is created where a dialog named it: now, or when it was chosen.
      allowed.newFile = newFileChosen_.empty() ? allowed.renameFile : Relative(newFileChosen_);
      break;
    case 14:
      name = "Check Rename File";
      frame_.OnCommand(layout::command::kCheckRenameFile);
      break;
    case 15: {
      name = "Restore Build";
      AnswerQuestions();
      const unsigned choice = Pick(4);
      dialogs_.backupChoice = choice == 3 ? std::nullopt : std::optional<std::size_t>(choice);
      const std::size_t lists = dialogs_.backupLists.size();
      allowed.anyRosters = allowed.backups = true;
      frame_.OnCommand(layout::command::kRestoreBuild);
      // Which one was put back: the chosen row of the rows shown.
      if (dialogs_.backupLists.size() > lists && dialogs_.backupChoice) {
        const std::vector<std::string> names = Backups(before_);  // the dialog lists newest first
        restoredBackup_ = *dialogs_.backupChoice < names.size()
                              ? names[names.size() - 1 - *dialogs_.backupChoice]
                              : "";
      }
      break;
    }
    case 16:
      name = "Save Current Setup";
      frame_.OnCommand(layout::command::kSaveSetup);
      break;
    case 17:
      name = "New";
      frame_.OnCommand(layout::command::kFileNew);
      break;
    case 18:
      name = "Open";
      frame_.OnCommand(layout::command::kFileOpen);
      break;
    case 19:
      documentChosen_.clear();
      name = "Save";
      frame_.OnCommand(layout::command::kFileSave);
      allowed.document = documentChosen_.empty() ? frame_.document().pathName() : documentChosen_;
      allowed.document = allowed.document.empty() ? "" : Relative(allowed.document);
      break;
    case 20: {
      const std::string rename =
          view_.renamePath.empty() ? base_ + "renames.txt" : view_.renamePath;
      // Mostly the two players the target disk spells otherwise, now and then any.
      const std::string player = std::to_string(Pick(3) == 0 ? 1 + Pick(9) : 5 + Pick(2));
      name = "tovarin-cli review --accept " + player;
      allowed.renameFile = Relative(rename);
      allowed.newFile = fixture::FileExists(rename) ? "" : allowed.renameFile;  // named by --rename
      Cli({"review", "--rename", rename, "--accept", player});
      break;
    }
    case 21: {
      name = "tovarin-cli build";
      const std::string stored =
          StoredOrganization(store_, settings::kTgtDataDisk, settings::kTgtOrg);
      if (!stored.empty()) {
        allowed.rosterFolders.insert(Relative(stored));
        allowed.reports.insert(FolderOf(Relative(stored)));
      }
      allowed.backups = true;
      Cli({"build", "--yes"});
      break;
    }
    case 22: {
      name = "tovarin-cli restore";
      allowed.anyRosters = allowed.backups = true;
      const std::vector<std::string> names = Backups(before_);
      restoredBackup_ = names.empty() ? "" : names.back();
      Cli({"restore"});
      break;
    }
    default:
      if (Pick(2) == 0) {
        name = "tovarin-cli settings";
        Cli({"settings"});
      } else {
        name = "tovarin-cli settings --target --source";
        Cli({"settings", "--target", base_ + "A.WDD/ORG00001", "--source", base_ + "B.WDD/ORG00001",
             "--rename", base_ + "renames.txt"});
      }
      break;
  }
}

// The world changes as a user's would, between Tovarin's steps.
void World::ChangeTheWorld(std::string& name) {
  const std::vector<std::string> rosters = {"league/A.WDD/ORG00001/T00001RS.ORG",
                                            "league/A.WDD/ORG00001/T00002RS.ORG",
                                            "other/A.WDD/ORG00001/T00003RS.ORG"};
  switch (Pick(4)) {
    case 0: {
      const std::string roster = rosters[Pick(3)];
      const bool readOnly = Pick(2) == 0;
      name = std::string(readOnly ? "(the user makes " : "(the user lets Tovarin write ") + roster +
             ")";
      std::error_code ec;
      fs::permissions(platform::NativePath(Root(roster)), fs::perms::owner_write,
                      readOnly ? fs::perm_options::remove : fs::perm_options::add, ec);
      break;
    }
    case 1: {
      const std::string here = Root("league/B.WDD/ORG00001/T00002RS.ORG"),
                        away = Root("moved/T00002RS.ORG");
      const bool back = fixture::FileExists(away);
      name =
          back ? "(the user puts a source roster back)" : "(the user moves a source roster away)";
      std::error_code ec;
      fs::rename(platform::NativePath(back ? away : here), platform::NativePath(back ? here : away),
                 ec);
      break;
    }
    default: {
      name = "(the user edits the rename file)";
      const sim::Bytes old = fixture::ReadFileBytes(base_ + "renames.txt");
      std::string bytes(old.begin(), old.end());
      bytes += Pick(2) == 0 ? "Gray,Tim,Grey,Tim,\r\n" : "Lee,Al,Smith,John";
      sim::WriteBytes(base_ + "renames.txt", sim::Bytes(bytes.begin(), bytes.end()));
      break;
    }
  }
}

std::string World::Messages(std::size_t from) const {
  std::string all;
  for (std::size_t i = from; i < dialogs_.messages.size(); ++i) all += dialogs_.messages[i] + "\n";
  return all;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::string Describe(const std::string& path, const Tree& before, const Tree& after) {
  const bool was = before.count(path) != 0, is = after.count(path) != 0;
  return path + (was && is ? " (changed)" : was ? " (removed)" : " (made)");
}

std::string World::Check(const Tree& before, const Tree& after, const Allowed& allowed,
                         const Start& start) {
  const std::string said = Messages(start.firstMessage);
  const bool completed = Contains(said, "Build Completed Successfully!");
  const bool faultFree = disk_.failures == start.failures;
  std::set<std::string> changed;
  for (const auto& [path, entry] : before) {
    const auto it = after.find(path);
    if (it == after.end() || !(it->second == entry)) changed.insert(path);
  }
  for (const auto& [path, entry] : after) {
    if (!before.count(path)) changed.insert(path);
  }

  // 1, 2: Tovarin writes only what it owns, and a Build only under the organization shown.
  for (const std::string& path : changed) {
    const auto now = after.find(path);
    const auto was = before.find(path);
    const bool isFile = now != after.end() && now->second.type == 'f';
    if (path.rfind("backups/", 0) == 0 && allowed.backups &&
        IsBackupName(path.substr(8, path.find('/', 8) - 8))) {
      continue;
    }
    if (path.rfind("backups/", 0) == 0 && allowed.backups &&
        path.substr(8).rfind(".pruned-", 0) == 0) {
      continue;
    }
    // A restore also takes away a roster that was not there before the Build it undoes.
    if (IsRosterName(path) && (isFile || (allowed.anyRosters && now == after.end())) &&
        (allowed.anyRosters || allowed.rosterFolders.count(FolderOf(path)))) {
      continue;
    }
    if (isFile && path.substr(path.find_last_of('/') + 1) == "Tovarin.txt" &&
        allowed.reports.count(FolderOf(path))) {
      if (completed && !Contains(said, "Report: "))
        return "2: a report was written unannounced: " + path;
      continue;
    }
    if (isFile && path == allowed.renameFile && was != before.end()) {
      // Only appended: the old bytes stand before and after what was added.
      const std::string& old = was->second.bytes;
      const std::string& grown = now->second.bytes;
      std::size_t same = 0;
      while (same < old.size() && same < grown.size() && old[same] == grown[same]) ++same;
      if (grown.size() >= old.size() &&
          grown.compare(grown.size() - (old.size() - same), old.size() - same, old, same) == 0) {
        continue;
      }
      return "1: the rename file lost bytes: " + path;
    }
    if (isFile && was == before.end() && path == allowed.newFile) continue;
    if (isFile && path == allowed.document && now->second.bytes.rfind(kSetupHeader, 0) != 0) {
      return "5: a document was saved that is not a setup: " + Describe(path, before, after);
    }
    if (isFile && path == allowed.document &&
        (was == before.end() || was->second.bytes.empty() ||
         was->second.bytes.rfind(kSetupHeader, 0) == 0)) {
      continue;
    }
    return "1: Tovarin changed what it does not own: " + Describe(path, before, after);
  }

  // 3: every roster reads whole; a failed Build leaves them as they were.
  for (const auto& [path, entry] : after) {
    if (!IsRosterName(path) || entry.type != 'f') continue;
    RosterFile roster;
    std::string why;
    if (roster.Load(Root(path), &why) != RosterFile::LoadResult::kOk) {
      return "3: a roster does not read whole: " + path + ": " + why;
    }
  }
  const bool buildFailed = !allowed.rosterFolders.empty() && !completed &&
                           !Contains(said, "could not be put back") &&
                           !Contains(said, "Build Completed");
  if (buildFailed && !allowed.anyRosters) {
    for (const std::string& path : changed) {
      if (IsRosterName(path)) return "3: a Build that did not complete changed " + path;
    }
  }

  // 4: backups fall only by pruning after a completed Build; restoring gives back the rosters
  // from before the step that made the backup.
  const std::vector<std::string> listedBefore = Backups(before), listedAfter = Backups(after);
  const std::set<std::string> backupsBefore(listedBefore.begin(), listedBefore.end()),
      backupsAfter(listedAfter.begin(), listedAfter.end());
  if (backupsAfter.size() < backupsBefore.size() && !completed) {
    return "4: a backup went without a completed Build: backups/" +
           *std::find_if(backupsBefore.begin(), backupsBefore.end(),
                         [&](const std::string& b) { return !backupsAfter.count(b); });
  }
  for (const std::string& backup : backupsAfter) {
    if (backupsBefore.count(backup) || !faultFree) continue;
    // A new backup: its organization's rosters as they were.
    const std::string manifest = after.at("backups/" + backup + "/manifest.txt").bytes;
    const std::size_t at = manifest.find("organization\t");
    if (at == std::string::npos) continue;
    const std::size_t end = manifest.find('\n', at);
    const std::string organization = Relative(manifest.substr(at + 13, end - at - 13));
    Tree& rosters = made_[backup];
    for (const auto& [path, entry] : before) {
      if (IsRosterName(path) && FolderOf(path) == organization) rosters[path] = entry;
    }
  }
  if (faultFree && !restoredBackup_.empty() && made_.count(restoredBackup_) &&
      Contains(said, "as they were before")) {
    for (const auto& [path, entry] : made_[restoredBackup_]) {
      const auto it = after.find(path);
      if (it == after.end() || !(it->second == entry)) {
        return "4: restoring " + restoredBackup_ + " did not give back " + path;
      }
    }
  }

  // 5: what a message says happened, happened.
  if (completed) {
    const std::size_t at = said.find("Report: ");
    if (at != std::string::npos) {
      const std::string report = said.substr(at + 8, said.find('\n', at) - at - 8);
      if (!fixture::FileExists(report)) return "5: the report named is not there: " + report;
    }
  }
  if (Contains(said, " pair added to ") || Contains(said, " pairs added to ")) {
    bool grew = false;
    for (const std::string& path : changed) {
      grew = grew || path == allowed.renameFile || path == allowed.newFile;
    }
    if (!grew) return "5: pairs were said to be added, but no rename file changed";
  }

  // 6: the stored setup changes only by a store that succeeded, and then to what the form shows;
  // a store that failed says so.
  if (store_.commits == start.commits && store_.stored != start.stored) {
    return "6: the stored setup changed without a store";
  }
  if (store_.failedCommits != start.failedCommits && !Contains(said, kSetupNotStored)) {
    return "6: the setup was not stored, and nothing said so";
  }
  if (store_.commits != start.commits && !cliStep_) {
    auto stored = [&](const char* section, const char* name) {
      const auto it = store_.stored.find(std::string(section) + "/" + name);
      return it == store_.stored.end() ? std::string() : it->second;
    };
    using namespace settings;
    const std::string base = stored(kFile, kBaseDir);
    auto organization = [&](const char* disk, const char* org) {
      return stored(kFile, disk).empty() || stored(kFile, org).empty()
                 ? std::string()
                 : Relative(base + stored(kFile, disk) + platform::kSeparator + stored(kFile, org));
    };
    auto shown = [&](const std::string& path) { return path.empty() ? path : Relative(path); };
    if (organization(kTgtDataDisk, kTgtOrg) != shown(controls_.targetOrgPath) ||
        organization(kSrcDataDisk, kSrcOrg) != shown(controls_.sourceOrgPath) ||
        stored(kFile, kRename) != controls_.renamePath ||
        stored(kOption, kUseFarm) != std::to_string(controls_.useFarm)) {
      return "6: the setup stored is not the one the form shows: " + base + " " +
             stored(kFile, kTgtDataDisk) + " " + stored(kFile, kSrcDataDisk) + " against " +
             controls_.targetOrgPath + " and " + controls_.sourceOrgPath;
    }
  }
  return "";
}

std::string World::Run(int steps, bool trace) {
  disk_.per1000 = std::vector<unsigned>{0, 0, 5, 30, 150}[Pick(5)];
  store_.failing = Pick(3) == 0;
  if (Pick(3) != 0) {
    // A returning user: the setup of an earlier session is stored.
    using namespace settings;
    auto key = [](const char* section, const char* name) {
      return std::string(section) + "/" + name;
    };
    store_.stored = {
        {key(kFile, kBaseDir), base_},     {key(kFile, kTgtDataDisk), "A.WDD"},
        {key(kFile, kTgtOrg), "ORG00001"}, {key(kFile, kSrcDataDisk), "B.WDD"},
        {key(kFile, kSrcOrg), "ORG00001"}, {key(kFile, kRename), base_ + "renames.txt"},
        {key(kOption, kUseFarm), "1"}};
  }
  frame_.StartUp();
  std::vector<std::string> taken;
  before_ = Snapshot(dir_.path());
  for (int step = 0; step < steps && choices_.More(); ++step) {
    std::string name;
    if (Pick(8) == 0) {
      ChangeTheWorld(name);
      taken.push_back(name);
      if (trace) std::cout << step << ": " << name << "\n";
      before_ = Snapshot(dir_.path());
      continue;
    }
    Allowed allowed;
    const Start start{dialogs_.messages.size(), disk_.failures, store_.commits,
                      store_.failedCommits, store_.stored};
    cliStep_ = false;
    restoredBackup_.clear();
    Step(name, allowed);
    if (disk_.failures != start.failures) {
      name += " [" + std::to_string(disk_.failures - start.failures) + " failed]";
    }
    taken.push_back(name);
    const std::string said = Messages(start.firstMessage);
    if (trace) std::cout << step << ": " << name << "\n" << said;
    const Tree after = Snapshot(dir_.path());
    if (const std::string broken = Check(before_, after, allowed, start); !broken.empty()) {
      std::string report =
          "steps (" + std::to_string(disk_.per1000) + " in 1000 writes failing):\n";
      for (std::size_t i = 0; i < taken.size(); ++i) {
        report += "  " + std::to_string(i) + ": " + taken[i] + "\n";
      }
      return report + "what it said: " + (said.empty() ? "nothing\n" : said) + "broken: " + broken +
             "\n";
    }
    before_ = after;
  }
  return "";
}

}  // namespace

std::string Run(Choices& choices, int steps, bool trace) {
  World world(choices);
  return world.Run(steps, trace);
}

}  // namespace tovarin::guardian
