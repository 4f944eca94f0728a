#include "gui/application.h"

#include <QMessageBox>
#include <exception>

#include "gui/path_text.h"
#include "shell/menu_layout.h"

namespace tovarin::gui {

Application::Application(int& argc, char** argv,
                         std::function<void(const std::string&)> showError)
    : QApplication(argc, argv), showError_(std::move(showError)) {}

bool Application::notify(QObject* receiver, QEvent* event) {
  std::string what;
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    what = error.what();
  } catch (...) {
    what = "an unknown error";
  }
  // Shown outside the handler: the message box runs an event loop of its own.
  showError_(layout::kCommandFailed + what);
  return false;
}

void ShowUnexpectedError(const std::string& text) {
  QMessageBox box(QMessageBox::Warning, QString::fromLatin1(layout::kApplicationTitle),
                  PathText(text), QMessageBox::Ok, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace tovarin::gui
