#include "shell/form_layout.h"

#include <array>

#include "tovarin_version.h"

namespace tovarin::layout {
namespace {

using K = ControlKind;
constexpr const char* kFont = "MS Sans Serif";
constexpr const char* kVersionLine = "Tovarin Version " TOVARIN_VERSION;

constexpr std::array<DialogControl, kFormItemCount> kForm = {{
    {kNoId, K::kGroupFrame, "", {9, 9, 295, 130}, 0},
    {id::kTargetOrganization, K::kButton, "&Target Organization", {19, 24, 85, 15}, 1},
    {id::kTargetOrgPath, K::kPathEdit, "", {109, 24, 187, 15}, 0},
    {id::kSourceOrganization, K::kButton, "&Source Organization", {19, 54, 85, 15}, 2},
    {id::kSourceOrgPath, K::kPathEdit, "", {109, 54, 187, 15}, 0},
    {id::kRenameFile, K::kButton, "R&ename File", {19, 84, 85, 15}, 3},
    {id::kRenamePath, K::kPathEdit, "", {109, 84, 187, 15}, 0},
    {id::kUseFarm, K::kCheckBox, "Use Source F&arm Organization", {19, 109, 120, 15}, 4},
    {kNoId, K::kGroupFrame, "", {309, 9, 70, 130}, 0},
    {id::kBuild, K::kDefaultButton, "&Build", {314, 18, 60, 14}, 7},
    {id::kMatch, K::kButton, "&Match", {314, 39, 60, 14}, 8},
    {id::kUnmatch, K::kButton, "&Un Match", {314, 58, 60, 14}, 9},
    {id::kReset, K::kButton, "&Reset", {315, 95, 60, 14}, 10},
    {id::kClose, K::kButton, "&Cancel", {315, 115, 60, 14}, 11},
    {kNoId, K::kGroupFrame, "", {9, 138, 370, 112}, 0},
    {kNoId, K::kHeading, "Target Organization", {14, 149, 235, 14}, 0},
    {id::kTargetLabel, K::kReadOnlyEdit, "", {14, 164, 130, 14}, 0},
    {kNoId, K::kHeading, "Source Team", {144, 164, 105, 14}, 0},
    {id::kTargetList, K::kTabbedListBox, "", {14, 178, 235, 65}, 5},
    {kNoId, K::kHeading, "Source Organization", {254, 149, 119, 14}, 0},
    {id::kSourceLabel, K::kReadOnlyEdit, "", {254, 164, 119, 14}, 0},
    {id::kSourceList, K::kListBox, "", {254, 178, 119, 65}, 6},
}};

#define TOVARIN_IDENTIFY_ORGANIZATION_CONTROLS                             \
  {kNoId, K::kLabel, "Data Disk :", {10, 10, 47, 12}, 0},                  \
  {id::kDataDiskList, K::kDropDownList, "", {63, 10, 127, 42}, 1},         \
  {kNoId, K::kLabel, "Organization :", {10, 28, 47, 12}, 0},               \
  {id::kOrganizationList, K::kDropDownList, "", {63, 28, 127, 42}, 2},     \
  {id::kOk, K::kDefaultButton, "&OK", {39, 47, 50, 14}, 3},                \
  {id::kCancel, K::kButton, "&Cancel", {105, 47, 50, 14}, 4}
constexpr std::array<DialogControl, 6> kIdentifyOrganization = {{
    TOVARIN_IDENTIFY_ORGANIZATION_CONTROLS,
}};
constexpr std::array<DialogControl, 7> kIdentifyOrganizationWithNote = {{
    TOVARIN_IDENTIFY_ORGANIZATION_CONTROLS,
    {id::kOrgNote, K::kText, "", {10, 68, 179, 40}, 0},
}};
#undef TOVARIN_IDENTIFY_ORGANIZATION_CONTROLS

constexpr std::array<DialogControl, 4> kAbout = {{
    {kNoId, K::kIcon, "", {11, 17, 20, 20}, 0},
    {kNoId, K::kText, kVersionLine, {40, 10, 130, 8}, 0},
    {kNoId, K::kText, kCreditLine, {40, 25, 130, 8}, 0},
    {id::kOk, K::kDefaultButton, "OK", {178, 7, 50, 14}, 1},
}};

constexpr std::array<DialogControl, 5> kRestoreBuild = {{
    {kNoId, K::kText, "Each Build kept the target rosters it replaced. Choose the Build to undo:",
     {7, 7, 316, 9}, 0},
    {id::kBackupList, K::kColumnList, "", {7, 18, 316, 102}, 1},
    {id::kBackupDetail, K::kText, "", {7, 124, 316, 16}, 0},
    {id::kOk, K::kDefaultButton, "&Restore", {218, 144, 50, 14}, 2},
    {id::kCancel, K::kButton, "Cancel", {273, 144, 50, 14}, 3},
}};

// The rows scroll sideways; the selected one is shown whole, wrapped, under them.
constexpr std::array<DialogControl, 5> kRenameCheck = {{
    {id::kCheckFile, K::kText, "", {7, 7, 406, 8}, 0},
    {id::kCheckSummary, K::kText, "", {7, 19, 406, 8}, 0},
    {id::kCheckRows, K::kListBox, "", {7, 31, 406, 144}, 1},
    {id::kCheckLine, K::kText, "", {7, 179, 406, 36}, 0},
    {id::kOk, K::kDefaultButton, "Close", {363, 220, 50, 14}, 2},
}};

constexpr std::array<ControlAnchor, 5> kRenameCheckAnchors = {{
    {id::kCheckFile, 0, 0, 2, 0},
    {id::kCheckSummary, 0, 0, 2, 0},
    {id::kCheckRows, 0, 0, 2, 2},
    {id::kCheckLine, 0, 2, 2, 0},
    {id::kOk, 2, 2, 0, 0},
}};

constexpr std::array<DialogControl, 8> kPreview = {{
    // Five lines of counts, and two of a note such as an unreadable rename file.
    {id::kPreviewCounts, K::kText, "", {7, 7, 406, 58}, 0},
    {kNoId, K::kText, "Target teams and the players each would receive", {7, 68, 406, 8}, 0},
    {id::kPreviewTeams, K::kListBox, "", {7, 78, 406, 92}, 1},
    {kNoId, K::kText, "Dropped players and their best candidates", {7, 174, 406, 8}, 0},
    {id::kPreviewDropped, K::kCheckList, "", {7, 184, 406, 90}, 2},
    {id::kPreviewAdd, K::kButton, "&Add to Rename File", {7, 279, 80, 14}, 3},
    {id::kPreviewRefresh, K::kButton, "&Refresh", {92, 279, 50, 14}, 4},
    {id::kOk, K::kDefaultButton, "Close", {363, 279, 50, 14}, 5},
}};

// In the order of kPreview. The lists share the new height, half each; the buttons keep to the
// foot, Close to the right.
constexpr std::array<ControlAnchor, 8> kPreviewAnchors = {{
    {id::kPreviewCounts, 0, 0, 2, 0},
    {kNoId, 0, 0, 2, 0},
    {id::kPreviewTeams, 0, 0, 2, 1},
    {kNoId, 0, 1, 2, 0},
    {id::kPreviewDropped, 0, 1, 2, 1},
    {id::kPreviewAdd, 0, 2, 0, 0},
    {id::kPreviewRefresh, 0, 2, 0, 0},
    {id::kOk, 2, 2, 0, 0},
}};

constexpr std::array<ListColumn, 3> kPreviewColumns = {{
    {"Dropped player", 120},
    {"Source team", 100},
    {"Best candidate", 170},
}};

constexpr std::array<ControlName, 7> kFormNames = {{
    {id::kTargetOrgPath, "Target Organization path"},
    {id::kSourceOrgPath, "Source Organization path"},
    {id::kRenamePath, "Rename File path"},
    {id::kTargetLabel, "Target Organization team count"},
    {id::kTargetList, "Target Organization teams"},
    {id::kSourceLabel, "Source Organization team count"},
    {id::kSourceList, "Source Organization teams"},
}};
constexpr std::array<ControlName, 2> kIdentifyOrganizationNames = {{
    {id::kDataDiskList, "Data Disk"},
    {id::kOrganizationList, "Organization"},
}};
constexpr std::array<ControlName, 1> kRestoreBuildNames = {{
    {id::kBackupList, "Builds to undo"},
}};
constexpr std::array<ControlName, 1> kRenameCheckNames = {{
    {id::kCheckRows, "Records of the rename file and their problems"},
}};
constexpr std::array<ControlName, 2> kPreviewNames = {{
    {id::kPreviewTeams, "Target teams and the players each would receive"},
    {id::kPreviewDropped, "Dropped players and their best candidates"},
}};

constexpr std::array<FileType, 2> kSimulationTypes = {{
    {"Grandstand (gstnd32.exe)", "gstnd32.exe"},
    {"All files", "*"},
}};
constexpr std::array<FileType, 2> kTextTypes = {{
    {"Text files (*.txt)", "*.txt"},
    {"All files", "*"},
}};

// Runs of spaces as one.
std::string Squeezed(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out += c;
  }
  return out;
}

}  // namespace

std::span<const ControlName> ControlNames(const DialogLayout& dialog) {
  const void* controls = dialog.controls.data();
  if (controls == kForm.data()) return kFormNames;
  if (controls == kIdentifyOrganization.data() ||
      controls == kIdentifyOrganizationWithNote.data()) {
    return kIdentifyOrganizationNames;
  }
  if (controls == kRestoreBuild.data()) return kRestoreBuildNames;
  if (controls == kRenameCheck.data()) return kRenameCheckNames;
  if (controls == kPreview.data()) return kPreviewNames;
  return {};
}

const char* ControlNameOf(const DialogLayout& dialog, int id) {
  for (const ControlName& name : ControlNames(dialog)) {
    if (name.id == id) return name.name;
  }
  return nullptr;
}

const FilePicker& SimulationPicker() {
  static const FilePicker picker{"Choose gstnd32.exe", kSimulationTypes};
  return picker;
}

const FilePicker& RenameFilePicker() {
  static const FilePicker picker{"Choose Rename File", kTextTypes};
  return picker;
}

const FilePicker& NewRenameFilePicker() {
  static const FilePicker picker{"Create Rename File", kTextTypes};
  return picker;
}

std::string SpokenTargetRow(const std::string& row) {
  const std::size_t tab = row.find('\t');
  if (tab == std::string::npos) return Squeezed(row);
  return Squeezed(row.substr(0, tab)) + ", source team " + Squeezed(row.substr(tab + 1));
}

std::string SpokenRow(const std::string& row) { return Squeezed(row); }

const char* VersionLine() { return kVersionLine; }

int SourceTeamColumn() {
  const DialogRect& heading = kForm[kSourceTeamHeading].rect;
  const DialogRect& list = kForm[kTargetListBox].rect;
  // The list's text starts inside its one-unit border.
  return heading.x - list.x - 1;
}

const DialogLayout& Form() {
  static const DialogLayout form{kFormResource, "", 391, 261, kFont, 8, kForm};
  return form;
}

const DialogControl& FormControl(FormItem item) { return kForm[item]; }

const DialogLayout& IdentifyOrganizationDialog(bool withNote) {
  static const DialogLayout dialog{kIdentifyOrganizationResource, "Identify Organization", 199,
                                   68, kFont, 8, kIdentifyOrganization};
  static const DialogLayout withNoteDialog{kIdentifyOrganizationResource, "Identify Organization",
                                           199, 114, kFont, 8, kIdentifyOrganizationWithNote};
  return withNote ? withNoteDialog : dialog;
}

const DialogLayout& RestoreBuildDialog() {
  static const DialogLayout dialog{0, "Restore Build", 330, 165, kFont, 8, kRestoreBuild};
  return dialog;
}

DialogRect Anchored(const DialogRect& opened, const ControlAnchor& anchor, int dx, int dy) {
  // Each edge moves by its own share of the change, so that two edges at one place move alike.
  const int left = opened.x + dx * anchor.moveX / 2;
  const int top = opened.y + dy * anchor.moveY / 2;
  const int right = opened.x + opened.width + dx * (anchor.moveX + anchor.growX) / 2;
  const int bottom = opened.y + opened.height + dy * (anchor.moveY + anchor.growY) / 2;
  return {left, top, right - left, bottom - top};
}

const Resizing& PreviewResizing() {
  // Room for each list's heading and three rows, and for the buttons side by side.
  static const Resizing resizing{kPreviewAnchors, 260, 200};
  return resizing;
}

const Resizing& RenameCheckResizing() {
  static const Resizing resizing{kRenameCheckAnchors, 240, 150};
  return resizing;
}

const DialogLayout& RenameCheckDialog() {
  static const DialogLayout dialog{0, "Check Rename File", 420, 240, kFont, 8, kRenameCheck};
  return dialog;
}

const DialogLayout& PreviewBuildDialog() {
  static const DialogLayout dialog{0, "Preview Build", 420, 300, kFont, 8, kPreview};
  return dialog;
}

std::span<const ListColumn> PreviewColumns() { return kPreviewColumns; }

const DialogLayout& AboutBox() {
  static const DialogLayout about{kAboutResource, "About Tovarin", 235, 55, kFont, 8, kAbout};
  return about;
}

}  // namespace tovarin::layout
