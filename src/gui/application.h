#pragma once

#include <QApplication>
#include <functional>
#include <string>

namespace tovarin::gui {

// The window's application object. An exception that a command lets through is caught where
// Qt delivers the event and told to the user; it never ends the program.
class Application : public QApplication {
 public:
  // `showError` receives the message for the user.
  Application(int& argc, char** argv, std::function<void(const std::string&)> showError);

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  std::function<void(const std::string&)> showError_;
};

// The message box the program shows for such an exception.
void ShowUnexpectedError(const std::string& text);

}  // namespace tovarin::gui
