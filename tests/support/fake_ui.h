#pragma once

// Fakes of the screen for the form's tests: controls that record what they were shown, and
// dialogs that answer from a script and record what they were asked.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "pairing/list_box.h"
#include "memory_settings/memory_settings_store.h"
#include "platform/settings_store.h"
#include "shell/form_layout.h"
#include "shell/org_location.h"
#include "shell/restore_list.h"
#include "shell/view_interfaces.h"

namespace tovarin::fixture {

class FakeControls : public FormControls {
 public:
  std::string renamePath, sourceOrgPath, targetOrgPath, sourceLabel, targetLabel;
  int useFarm = 0;
  std::vector<std::string> log;  // which control was set, in order
  int listRefills = 0;
  std::vector<std::string> targetRows, sourceRows;

  void SetRenamePath(const std::string& t) override { Set(renamePath, t, "1018"); }
  void SetSourceOrgPath(const std::string& t) override { Set(sourceOrgPath, t, "1016"); }
  void SetTargetOrgPath(const std::string& t) override { Set(targetOrgPath, t, "1015"); }
  void SetUseFarm(int checked) override {
    useFarm = checked;
    log.push_back("1019");
  }
  void SetSourceLabel(const std::string& t) override { Set(sourceLabel, t, "1023"); }
  void SetTargetLabel(const std::string& t) override { Set(targetLabel, t, "1022"); }
  void ShowLists(const ListBoxModel& target, const ListBoxModel& source) override {
    ++listRefills;
    targetRows.clear();
    sourceRows.clear();
    for (const auto& row : target.rows) targetRows.push_back(row.text);
    for (const auto& row : source.rows) sourceRows.push_back(row.text);
  }

 private:
  void Set(std::string& field, const std::string& text, const char* id) {
    field = text;
    log.push_back(id);
  }
};

class FakeDialogs : public ViewDialogs {
 public:
  struct FileRequest {
    std::string initialFile, defaultExtension, title;
  };

  std::vector<std::string> messages;
  std::vector<MessageKind> kinds;  // of each message
  std::vector<std::string> questions;
  std::deque<bool> answers;  // Yes/No answers, in order; Yes when none is left
  std::vector<FileRequest> fileRequests;
  std::deque<std::optional<std::string>> files;  // chosen files; Cancel when none is left
  std::vector<std::string> newFileTitles;  // titles of the dialogs that named a file to create
  // Plays the Identify Organization dialog on an OrgPicker; returns OK (true) or Cancel.
  std::function<bool(OrgPicker&)> organizationDialog = [](OrgPicker& p) {
    p.Ok();
    return true;
  };

  void ShowMessage(const std::string& text, MessageKind kind) override {
    messages.push_back(text);
    kinds.push_back(kind);
  }
  std::vector<Default> defaults;  // of each question asked
  bool AskYesNo(const std::string& text, Default preset) override {
    questions.push_back(text);
    defaults.push_back(preset);
    if (answers.empty()) return true;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  // Restore Build: records the rows shown and chooses `backupChoice`.
  std::vector<std::vector<std::string>> backupLists;  // the time column of each list shown
  std::optional<std::size_t> backupChoice;
  std::optional<std::size_t> ChooseBackup(const RestoreModel& backups) override {
    backupLists.emplace_back();
    for (const RestoreRow& row : backups.rows()) backupLists.back().push_back(row.cells[0]);
    return backupChoice;
  }
  // OK/Cancel takes its answer from the same queue as Yes/No.
  bool AskOkCancel(const std::string& text) override { return AskYesNo(text, Default::kYes); }
  std::optional<std::string> ChooseFile(const std::string& initialFile,
                                        const std::string& defaultExtension,
                                        const layout::FilePicker& picker) override {
    fileRequests.push_back({initialFile, defaultExtension, picker.title});
    if (files.empty()) return std::nullopt;
    auto file = files.front();
    files.pop_front();
    return file;
  }
  std::optional<std::string> ChooseNewFile(const std::string& initialFile,
                                           const std::string& defaultExtension,
                                           const layout::FilePicker& picker) override {
    newFileTitles.push_back(picker.title);
    return ChooseFile(initialFile, defaultExtension, picker);
  }
  std::vector<std::string> organizationTitles;  // of every Identify Organization dialog shown
  bool IdentifyOrganization(OrgLocation& location, const std::string& title) override {
    organizationTitles.push_back(title);
    OrgPicker picker(location);
    return organizationDialog(picker);
  }
};

// Dialog scripts: choose the data disk and organization entries by name, then OK or Cancel.
inline std::function<bool(OrgPicker&)> PickOrganization(const std::string& dataDisk,
                                                        const std::string& organization) {
  return [=](OrgPicker& picker) {
    for (std::size_t i = 0; i < picker.dataDisks().size(); ++i) {
      if (picker.dataDisks()[i] == dataDisk) picker.ChooseDataDisk(static_cast<int>(i));
    }
    for (std::size_t i = 0; i < picker.organizations().size(); ++i) {
      if (picker.organizations()[i] == organization) picker.SelectOrganization(static_cast<int>(i));
    }
    picker.Ok();
    return true;
  };
}

inline bool CancelOrganization(OrgPicker& picker) {
  picker.Cancel();
  return false;
}

// Stored values in memory, of which the ones named "Section/Name" in `unreadable` are there
// but cannot be read, as a value of another type would be.
class PartlyUnreadableStore : public MemorySettingsStore {
 public:
  std::vector<std::string> unreadable;

  std::optional<std::string> ReadString(const std::string& s, const std::string& n) override {
    return Unreadable(s, n) ? std::nullopt : MemorySettingsStore::ReadString(s, n);
  }
  std::optional<std::int32_t> ReadInt(const std::string& s, const std::string& n) override {
    return Unreadable(s, n) ? std::nullopt : MemorySettingsStore::ReadInt(s, n);
  }
  std::string ReadProblem() override {
    std::string problem;
    for (const std::string& key : unreadable) {
      problem += (problem.empty() ? "" : "\n") + std::string("store ") + key + "\nit is of another type";
    }
    return problem;
  }

 private:
  bool Unreadable(const std::string& s, const std::string& n) const {
    for (const std::string& key : unreadable) {
      if (key == s + "/" + n) return true;
    }
    return false;
  }
};

}  // namespace tovarin::fixture
