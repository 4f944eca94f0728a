#include "shell/frame_commands.h"

#include "shell/menu_layout.h"
#include "shell/preview.h"
#include "shell/rename_check_model.h"
#include "shell/tovarin_view.h"
#include "shell/view_interfaces.h"

namespace tovarin {

FrameCommands::FrameCommands(CTovarinView& view, ViewDialogs& dialogs, FrameWindow& window)
    : view_(view), dialogs_(dialogs), window_(window) {}

void FrameCommands::OnCommand(int command) {
  if (view_.OnCommand(command)) return;
  namespace c = layout::command;
  switch (command) {
    case c::kExit: window_.Close(); break;
    case c::kStatusBar:
      statusBar_ = !statusBar_;
      window_.ShowStatusBar(statusBar_);
      break;
    case c::kPreviewBuild: OnPreviewBuild(); break;
    case c::kCheckRenameFile: OnCheckRenameFile(); break;
    case c::kHelpTopics:
    case c::kHelp:
    case c::kContextHelp: window_.ShowHelp(); break;
    case c::kAbout: window_.ShowAbout(); break;
    case c::kFileNew: OnFileNew(); break;
    case c::kFileOpen: OnFileOpen(); break;
    case c::kFileSave: OnFileSave(); break;
    default: break;
  }
}

void FrameCommands::OnFileNew() {
  doc_.New();
  window_.SetTitle(doc_.windowTitle());
  view_.OnInitialUpdate();
}

void FrameCommands::OnFileOpen() {
  const std::optional<std::string> file =
      window_.ChooseDocument(FrameWindow::DocumentDialog::kOpen, "");
  if (!file) return;
  std::optional<FormSetup> setup;
  std::string why;
  if (!doc_.Open(*file, setup, &why)) {
    dialogs_.ShowMessage(why, MessageKind::kError);
    return;
  }
  window_.SetTitle(doc_.windowTitle());
  // An empty document, as 1.0.4 saved them, opens on the stored setup.
  if (setup) {
    view_.ApplySetup(*setup);
  } else {
    view_.OnInitialUpdate();
  }
}

void FrameCommands::OnFileSave() {
  std::string path = doc_.pathName();
  if (path.empty()) {
    const std::optional<std::string> file =
        window_.ChooseDocument(FrameWindow::DocumentDialog::kSave, doc_.title());
    if (!file) return;
    path = *file;
  }
  std::string why;
  if (!doc_.Save(path, view_.CurrentSetup(), &why, view_.writer())) {
    dialogs_.ShowMessage(why, MessageKind::kError);
    return;
  }
  window_.SetTitle(doc_.windowTitle());
}

void FrameCommands::OnPreviewBuild() {
  if (!view_.ReadyToReview()) return;
  PreviewSession preview(view_);
  preview.Refresh();
  window_.ShowPreview(preview);
}

void FrameCommands::OnCheckRenameFile() {
  if (const std::optional<RenameCheckModel> model = view_.CheckRenameFile()) {
    window_.ShowRenameCheck(*model);
  }
}

}  // namespace tovarin
