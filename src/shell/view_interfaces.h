#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tovarin {

class OrgLocation;
struct ListBoxModel;
class RestoreModel;
namespace layout {
struct FilePicker;
}

// The six controls that show the form's fields. The screen implements it; tests record it.
class FormControls {
 public:
  virtual ~FormControls() = default;
  virtual void SetRenamePath(const std::string& text) = 0;     // edit 1018
  virtual void SetSourceOrgPath(const std::string& text) = 0;  // edit 1016
  virtual void SetTargetOrgPath(const std::string& text) = 0;  // edit 1015
  virtual void SetUseFarm(int checked) = 0;                    // checkbox 1019
  virtual void SetSourceLabel(const std::string& text) = 0;    // edit 1023
  virtual void SetTargetLabel(const std::string& text) = 0;    // edit 1022
  // The two list boxes were refilled: draw their rows and selections anew.
  virtual void ShowLists(const ListBoxModel& target, const ListBoxModel& source) = 0;
};

// Whether a message tells of a failure, of a Build done, or of another of Tovarin's own commands
// done (a restore, pairs added). The window shows the last with the information icon, the others
// with the warning icon; the command line sends failures to standard error, the rest to standard
// output.
enum class MessageKind { kError, kDone, kInformation };

// The modal dialogs and message boxes the form's commands use.
class ViewDialogs {
 public:
  virtual ~ViewDialogs() = default;
  // A message box with the icon of its kind, the application title and OK.
  virtual void ShowMessage(const std::string& text, MessageKind kind) = 0;
  // A question with Yes and No, the default as given: No for one whose Yes cannot be undone
  // easily. True for Yes.
  enum class Default { kYes, kNo };
  virtual bool AskYesNo(const std::string& text, Default answer) = 0;
  // A message that offers to do something now: the information icon, OK and Cancel, OK the
  // default. True for OK.
  virtual bool AskOkCancel(const std::string& text) = 0;
  // The file-open dialog with the title and file types of `picker`: the chosen file's full
  // path, or nothing on Cancel.
  virtual std::optional<std::string> ChooseFile(const std::string& initialFile,
                                                const std::string& defaultExtension,
                                                const layout::FilePicker& picker) = 0;
  // The save dialog that names a file to be created (or added to when it exists), with the
  // title and file types of `picker`: the chosen file's full path, or nothing on Cancel.
  virtual std::optional<std::string> ChooseNewFile(const std::string& initialFile,
                                                   const std::string& defaultExtension,
                                                   const layout::FilePicker& picker) = 0;
  // The Restore Build dialog on `backups` (not empty), drawn as its model says: the row chosen
  // (by Restore, or a double-click on any row), or nothing on Cancel.
  virtual std::optional<std::size_t> ChooseBackup(const RestoreModel& backups) = 0;
  // The Identify Organization dialog for `location` (drive it with an OrgPicker), titled
  // `title`, which names the side. True on OK.
  virtual bool IdentifyOrganization(OrgLocation& location, const std::string& title) = 0;
};

}  // namespace tovarin
