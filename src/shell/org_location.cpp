#include "shell/org_location.h"

#include <algorithm>

#include "platform/case_blind.h"
#include "platform/paths.h"
#include "shell/sim_text.h"

namespace tovarin {
namespace {

// The matching subdirectories in upper case, sorted. Two spellings of one name are one entry:
// the case-blind lookup maps it back to a single directory.
std::vector<std::string> ListUpper(const std::string& directory, const std::string& pattern) {
  std::vector<std::string> names = platform::ListSubdirectories(directory, pattern);
  for (std::string& name : names) name = platform::ToUpper(name);
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

// The first entry that begins with `stored`, without regard to case; an empty stored name
// preselects nothing.
int FindPrefix(const std::vector<std::string>& entries, const std::string& stored) {
  if (stored.empty()) return -1;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (platform::StartsWithIgnoreCase(entries[i], stored)) return static_cast<int>(i);
  }
  return -1;
}

const std::string& EntryOrEmpty(const std::vector<std::string>& entries, int index) {
  static const std::string empty;
  return (index >= 0 && static_cast<std::size_t>(index) < entries.size())
             ? entries[static_cast<std::size_t>(index)]
             : empty;
}

}  // namespace

std::string OrgLocation::BaseDirectory() const {
  if (baseDirectory_.empty()) return platform::RootDirectory();
  // A folder, whether or not it was given with its separator: the listing of its data disks and
  // their paths must name the same folders.
  return platform::EndsWithSeparator(baseDirectory_) ? baseDirectory_
                                                     : baseDirectory_ + platform::kSeparator;
}

std::string OrgLocation::DataDiskPath() const {
  return dataDisk_.empty() ? std::string() : BaseDirectory() + dataDisk_ + platform::kSeparator;
}

std::string OrgLocation::OrganizationPath() const {
  return organization_.empty() ? std::string()
                               : DataDiskPath() + organization_ + platform::kSeparator;
}

std::string CaseTwinsMessage(const OrgLocation& location) {
  for (const std::string& folder : {location.DataDiskPath(), location.OrganizationPath()}) {
    if (folder.empty()) continue;
    const std::vector<std::string> twins = platform::CaseTwinFolders(folder);
    if (twins.empty()) continue;
    std::string names;
    for (std::size_t i = 0; i < twins.size(); ++i) {
      names += (i == 0 ? "" : i + 1 == twins.size() ? " and " : ", ") + twins[i];
    }
    return names + " differ only in case, so Tovarin cannot tell which one to build; rename one "
                   "of them.";
  }
  return "";
}

std::optional<std::string> RosterDataDiskName(const OrgLocation& location) {
  std::string name = location.DataDiskName();
  if (const auto spelled = platform::SpelledOnDisk(location.DataDiskPath())) {
    std::string folder, last;
    platform::SplitLastName(*spelled, folder, last);
    if (!last.empty()) name = platform::ToUpper(last);
  }
  return SimText(name);
}

std::string TargetFoldersMessage(const OrgLocation& location) {
  for (const std::string& folder : {location.DataDiskPath(), location.OrganizationPath()}) {
    if (folder.empty()) continue;
    std::string parent, name;
    platform::SplitLastName(platform::SpelledOnDisk(folder).value_or(folder), parent, name);
    if (platform::IsReservedDeviceName(name)) {
      return "The folder " + parent + name + " has a name that Windows keeps for a device (" +
             name + "), so Windows programs cannot open it again; rename it before a Build.";
    }
  }
  std::string twins = CaseTwinsMessage(location);
  if (!twins.empty()) return twins;
  if (!location.DataDiskName().empty() && !RosterDataDiskName(location)) {
    // Named as on disk, not in the upper case the picker shows.
    const std::string path = platform::SpelledOnDisk(location.DataDiskPath())
                                 .value_or(location.DataDiskPath());
    std::string folder, name;
    platform::SplitLastName(path, folder, name);
    return "The data disk name " + name +
           " has letters that a roster file cannot hold (it holds Windows-1252 letters only); "
           "rename the folder " + folder + name + platform::kSeparator + " before a Build.";
  }
  return "";
}

OrgPicker::OrgPicker(OrgLocation& location) : location_(location) {
  dataDisks_ = ListUpper(location_.BaseDirectory(), "*.wdd");
  // The base path is said either way: the form shows it nowhere else, and a wrong one is why
  // the lists hold another league's data disks.
  if (dataDisks_.empty()) {
    note_ = "No data disk (a folder ending in .WDD) was found in " + location_.BaseDirectory() +
            ". Use File > Set Base Path to choose gstnd32.exe in the folder where Grandstand is "
            "installed.";
  } else {
    note_ = "Data disks in " + location_.BaseDirectory() +
            " (File > Set Base Path chooses another folder).";
  }
  dataDiskSelection_ = FindPrefix(dataDisks_, location_.DataDiskName());
  int storedOrganization = -1;
  if (dataDiskSelection_ >= 0) {
    location_.SetDataDisk(dataDisks_[static_cast<std::size_t>(dataDiskSelection_)]);
    ListOrganizations();
    storedOrganization = FindPrefix(organizations_, location_.OrganizationName());
  }
  // The empty entry sorts first; it is selected when the stored organization is not found.
  organizations_.insert(organizations_.begin(), std::string());
  organizationSelection_ = dataDiskSelection_ >= 0 ? storedOrganization + 1 : -1;
  TakeFieldsFromLists();
}

void OrgPicker::ChooseDataDisk(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= dataDisks_.size()) return;
  dataDiskSelection_ = index;
  TakeFieldsFromLists();
  ListOrganizations();
  organizationSelection_ = organizations_.empty() ? -1 : 0;
  location_.SetOrganization(EntryOrEmpty(organizations_, organizationSelection_));
}

void OrgPicker::SelectOrganization(int index) {
  if (index >= -1 && index < static_cast<int>(organizations_.size())) {
    organizationSelection_ = index;
  }
}

void OrgPicker::ListOrganizations() {
  organizations_ = ListUpper(location_.DataDiskPath(), "ORG*");
}

void OrgPicker::TakeFieldsFromLists() {
  if (dataDiskSelection_ < 0) {
    location_.SetDataDisk("");
    location_.SetOrganization("");
    return;
  }
  location_.SetDataDisk(EntryOrEmpty(dataDisks_, dataDiskSelection_));
  location_.SetOrganization(EntryOrEmpty(organizations_, organizationSelection_));
}

}  // namespace tovarin
