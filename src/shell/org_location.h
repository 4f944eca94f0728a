#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tovarin {

// One side's organization: the simulation's base directory, a data disk (a "*.wdd" directory
// under it) and an organization (an "ORG*" directory under the data disk).
class OrgLocation {
 public:
  // The base directory, ending with the separator; the root directory when none is set.
  std::string BaseDirectory() const;
  // BaseDirectory + data disk + separator; empty without a data disk.
  std::string DataDiskPath() const;
  // DataDiskPath + organization + separator; empty without an organization.
  std::string OrganizationPath() const;
  const std::string& DataDiskName() const { return dataDisk_; }
  const std::string& OrganizationName() const { return organization_; }

  void SetBaseDirectory(const std::string& directory) { baseDirectory_ = directory; }
  void SetDataDisk(const std::string& dataDisk) { dataDisk_ = dataDisk; }
  void SetOrganization(const std::string& organization) { organization_ = organization; }

 private:
  std::string baseDirectory_;
  std::string dataDisk_;
  std::string organization_;
};

// Why a Build cannot tell which folders `location` names: its data disk or organization folder
// has a twin differing only in case. Empty when neither has.
std::string CaseTwinsMessage(const OrgLocation& location);

// Why a Build must not write into `location`: a folder that Windows takes for a device (which a
// restore could not reopen), case twins, or a data disk whose name a roster cannot hold. Empty
// when none of these.
std::string TargetFoldersMessage(const OrgLocation& location);

// The name every roster of `location` records for its data disk: the folder's own name as spelled
// on disk (not a short name, a link or a spelling with trailing dots), in upper case as the
// picker shows it, in the simulation's Windows-1252. The name as chosen when the folder is not
// there; nothing when its letters have no place in Windows-1252.
std::optional<std::string> RosterDataDiskName(const OrgLocation& location);

// The logic of the Identify Organization dialog for one OrgLocation; the screen only draws its
// two lists and reports the user's choices. Opening lists the data disks and preselects the
// stored names; the location's fields follow what the dialog takes from its lists, also when
// the user cancels afterwards.
class OrgPicker {
 public:
  explicit OrgPicker(OrgLocation& location);

  // Upper-case names, sorted. The organization list starts with an empty entry, which goes at
  // the first change of data disk.
  const std::vector<std::string>& dataDisks() const { return dataDisks_; }
  const std::vector<std::string>& organizations() const { return organizations_; }
  int dataDiskSelection() const { return dataDiskSelection_; }
  // What the dialog says under its lists: the base directory its data disks are in or, when it
  // holds none, that Set Base Path comes first, so that empty lists are not all the user sees.
  const std::string& note() const { return note_; }
  int organizationSelection() const { return organizationSelection_; }

  // The user confirms a data disk (also the same one again): its organizations are listed and
  // the first one is selected.
  void ChooseDataDisk(int index);
  // The user selects an organization; the location changes only on OK.
  void SelectOrganization(int index);
  void Ok() { TakeFieldsFromLists(); }
  // Cancel keeps what the dialog last took from its lists.
  void Cancel() {}

 private:
  void ListOrganizations();
  void TakeFieldsFromLists();

  OrgLocation& location_;
  std::vector<std::string> dataDisks_;
  std::vector<std::string> organizations_;
  int dataDiskSelection_ = -1;
  int organizationSelection_ = -1;
  std::string note_;
};

}  // namespace tovarin
