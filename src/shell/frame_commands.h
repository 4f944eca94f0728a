#pragma once

#include <optional>
#include <string>

#include "shell/tovarin_doc.h"

namespace tovarin {

class CTovarinView;
class PreviewSession;
class ViewDialogs;
struct RenameCheckModel;

// What a main window does, its own way, for the commands the frame handles beside the form's.
class FrameWindow {
 public:
  virtual ~FrameWindow() = default;
  virtual void SetTitle(const std::string& title) = 0;
  // The status bar shown or hidden, and the View menu's check mark with it.
  virtual void ShowStatusBar(bool show) = 0;
  // The help text, or a message saying why it cannot be opened.
  virtual void ShowHelp() = 0;
  virtual void ShowAbout() = 0;
  // The Preview Build dialog, modal, on `preview`, which has been refreshed once.
  virtual void ShowPreview(PreviewSession& preview) = 0;
  virtual void ShowRenameCheck(const RenameCheckModel& model) = 0;
  // The file-open dialog, or the save dialog that asks before replacing a file, proposing
  // `name`: the chosen path, or nothing on Cancel.
  enum class DocumentDialog { kOpen, kSave };
  virtual std::optional<std::string> ChooseDocument(DocumentDialog kind,
                                                    const std::string& name) = 0;
  // Ends the program; nothing is saved and nothing is asked.
  virtual void Close() = 0;
};

// The main window's commands, the same in every window: the form's go to the view, the others
// (the document, the dialogs of the File and Help menus, the status bar, Exit) are decided here
// and drawn by the window.
class FrameCommands {
 public:
  FrameCommands(CTovarinView& view, ViewDialogs& dialogs, FrameWindow& window);

  // The document's first initial update: settings, team lists, controls.
  void StartUp() { OnFileNew(); }
  // A command of the menu or the keyboard, by its id.
  void OnCommand(int command);

  const CTovarinDoc& document() const { return doc_; }
  bool statusBarShown() const { return statusBar_; }

 private:
  void OnFileNew();
  void OnFileOpen();
  void OnFileSave();
  void OnPreviewBuild();
  void OnCheckRenameFile();

  CTovarinView& view_;
  ViewDialogs& dialogs_;
  FrameWindow& window_;
  CTovarinDoc doc_;
  bool statusBar_ = true;
};

}  // namespace tovarin
