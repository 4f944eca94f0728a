#pragma once

#include <span>
#include <string>

namespace tovarin::layout {

// What a control is; each window turns it into its own widget and styles.
enum class ControlKind {
  kGroupFrame,
  kButton,
  kDefaultButton,
  kCheckBox,       // toggles its own mark
  kPathEdit,       // read-only, bordered, scrolls horizontally, shows lower case
  kReadOnlyEdit,   // read-only and bordered
  kHeading,        // sunken static text
  kLabel,          // static text, right-aligned against the control it names
  kText,           // static text
  kIcon,           // the application's icon
  kListBox,
  kTabbedListBox,  // a list box whose rows have tab-separated columns
  kDropDownList,   // a combo box without free text
  kCheckList,      // rows of columns under headers, each row with a checkbox
  kColumnList,     // rows of columns under headers, one selected
};

// In dialog units of the dialog's font.
struct DialogRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

inline constexpr int kNoId = -1;

struct DialogControl {
  int id;  // kNoId for frames and static texts
  ControlKind kind;
  const char* text;  // '&' marks the mnemonic
  DialogRect rect;   // for a drop-down list, its size with the list dropped down
  int tabIndex;      // place in the Tab order, from 1; 0 for controls that take no focus
};

struct DialogLayout {
  int resourceId;
  const char* title;  // empty for the form, which has no caption
  int width;
  int height;
  const char* fontName;
  int pointSize;
  std::span<const DialogControl> controls;  // in the order they lie, the lowest first
};

// The form, dialog resource 101: one row per FormItem, in that order.
enum FormItem {
  kOrganizationFrame,
  kTargetOrganizationButton,
  kTargetOrgPathEdit,
  kSourceOrganizationButton,
  kSourceOrgPathEdit,
  kRenameFileButton,
  kRenamePathEdit,
  kUseFarmCheckBox,
  kButtonFrame,
  kBuildButton,
  kMatchButton,
  kUnmatchButton,
  kResetButton,
  kCancelButton,
  kListFrame,
  kTargetHeading,
  kTargetLabelEdit,
  kSourceTeamHeading,
  kTargetListBox,
  kSourceHeading,
  kSourceLabelEdit,
  kSourceListBox,
  kFormItemCount
};
const DialogLayout& Form();
// Where the target list's second column starts, in dialog units from the list's left edge: under
// the heading "Source Team", whatever the size of the font and the dots per inch, as the list's
// tab stops count in the same units as the form.
int SourceTeamColumn();
const DialogControl& FormControl(FormItem item);

// The Identify Organization dialog, resource 130, and the About box, resource 100. With a note,
// the dialog is taller and has the text kOrgNote under its buttons.
const DialogLayout& IdentifyOrganizationDialog(bool withNote = false);
const DialogLayout& AboutBox();
// The Restore Build dialog: the backups (RestoreColumns, in restore_list.h), the selected one's
// detail, Restore and Cancel.
const DialogLayout& RestoreBuildDialog();

// The Preview Build dialog: the counts, the target teams with the players each would receive,
// the dropped players under PreviewColumns() with a checkbox each, Add to Rename File, Refresh
// and Close. It can be resized as PreviewResizing() says.
const DialogLayout& PreviewBuildDialog();

// The Check Rename File dialog: the file, the summary, a row for each record and each of its
// problems, the selected row whole, and Close. It can be resized as RenameCheckResizing() says.
const DialogLayout& RenameCheckDialog();

// A column of a list with headers.
struct ListColumn {
  const char* title;
  int width;  // in dialog units
};
// The dropped players' columns: player, source team, best candidate.
std::span<const ListColumn> PreviewColumns();

// How a control follows its dialog's size: in halves of the size's change, how far it moves
// right and down, and how much it grows wider and taller.
struct ControlAnchor {
  int id;
  int moveX, moveY, growX, growY;
};

// How a dialog that can be resized is: an anchor for each control, in the order of its table, and
// the least size it can be given, in dialog units.
struct Resizing {
  std::span<const ControlAnchor> anchors;
  int minWidth;
  int minHeight;
};
const Resizing& PreviewResizing();
const Resizing& RenameCheckResizing();

// Where a control that opened at `opened` stands once its dialog is `dx` wider and `dy` taller,
// in the units of all three (pixels in a window). Edges that meet at the opening size meet at
// every size, however odd the change.
DialogRect Anchored(const DialogRect& opened, const ControlAnchor& anchor, int dx, int dy);

// Control ids of the form and the dialogs, which are also the commands they give.
namespace id {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kClose = 1000;  // the form's Cancel button
inline constexpr int kBuild = 1001;
inline constexpr int kMatch = 1009;
inline constexpr int kUnmatch = 1010;
inline constexpr int kReset = 1011;
inline constexpr int kTargetOrganization = 1013;
inline constexpr int kSourceOrganization = 1014;
inline constexpr int kTargetOrgPath = 1015;
inline constexpr int kSourceOrgPath = 1016;
inline constexpr int kRenameFile = 1017;
inline constexpr int kRenamePath = 1018;
inline constexpr int kUseFarm = 1019;
inline constexpr int kTargetList = 1020;
inline constexpr int kSourceList = 1021;
inline constexpr int kTargetLabel = 1022;
inline constexpr int kSourceLabel = 1023;
inline constexpr int kDataDiskList = 1000;     // Identify Organization
inline constexpr int kOrganizationList = 1001;  // Identify Organization
inline constexpr int kOrgNote = 1002;           // Identify Organization, with a note
inline constexpr int kBackupList = 1200;        // Restore Build
inline constexpr int kBackupDetail = 1201;      // Restore Build
inline constexpr int kCheckFile = 1300;         // Check Rename File
inline constexpr int kCheckSummary = 1301;      // Check Rename File
inline constexpr int kCheckRows = 1302;         // Check Rename File: records, then problems
inline constexpr int kCheckLine = 1303;         // Check Rename File: the selected row whole
inline constexpr int kPreviewCounts = 1100;     // Preview Build
inline constexpr int kPreviewTeams = 1101;      // Preview Build: a heading a team, then players
inline constexpr int kPreviewDropped = 1102;    // Preview Build: the dropped players
inline constexpr int kPreviewAdd = 1103;        // Preview Build
inline constexpr int kPreviewRefresh = 1104;    // Preview Build
}  // namespace id

inline constexpr int kFormResource = 101;
inline constexpr int kIdentifyOrganizationResource = 130;
inline constexpr int kAboutResource = 100;

// What a screen reader calls a control that shows no text of its own (a list, a field, a
// drop-down): its heading or label in words, or the button it belongs to.
struct ControlName {
  int id;
  const char* name;
};
// The names of `dialog`'s controls (any of the layouts above) that need one.
std::span<const ControlName> ControlNames(const DialogLayout& dialog);
// The name of control `id` of `dialog`, or nullptr when it has none of its own.
const char* ControlNameOf(const DialogLayout& dialog, int id);

// Identify Organization's title names the side it chooses, which the dialog does not say
// otherwise.
inline constexpr const char* kIdentifyTargetTitle = "Identify Target Organization";
inline constexpr const char* kIdentifySourceTitle = "Identify Source Organization";

// A file dialog: its title, after what it chooses, and the kinds of file it offers, the first
// shown first.
struct FileType {
  const char* label;    // "Text files (*.txt)"
  const char* pattern;  // "*.txt"; "*" for every file
};
struct FilePicker {
  const char* title;
  std::span<const FileType> types;
};
const FilePicker& SimulationPicker();  // Set Base Path: the simulation's program
const FilePicker& RenameFilePicker();  // Rename File
const FilePicker& NewRenameFilePicker();  // Add to Rename File, when the form names none

// A target list row as it is read aloud: "Harbor City (AL E), source team HCG (AL E)", where
// the row shows the source team in a column of its own.
std::string SpokenTargetRow(const std::string& row);
// A row of the source list read aloud: without the spaces that align it.
std::string SpokenRow(const std::string& row);

// "Tovarin Version 1.0.4", the About box's first line.
const char* VersionLine();
// The About box's second line.
inline constexpr const char* kCreditLine = "Roster carrier by Didozuza";

}  // namespace tovarin::layout
