#include "gui/application.h"

#include <QFile>
#include <QMessageBox>
#include <exception>

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
  showError_("The command could not be completed:\n" + what);
  return false;
}

void ShowUnexpectedError(const std::string& text) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Tovarin"), QFile::decodeName(text.c_str()),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace tovarin::gui
