// tovarin: the desktop window.

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <functional>

#include "gui/about_dialog.h"
#include "gui/application.h"
#include "gui/main_frame.h"
#include "platform/safe_file.h"
#include "settings/qt_settings_store.h"
#include "shell/settings.h"
#include "tovarin_version.h"

namespace {

QStringList Arguments(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QFile::decodeName(argv[i]);
  return arguments;
}

// Runs `then` once `window` is on the screen, or after `tries` more waits of 20 ms.
void WhenPlaced(QWidget& window, int tries, const std::function<void()>& then) {
  const QWindow* handle = window.windowHandle();
  if (tries > 0 && !(handle && handle->isExposed())) {
    QTimer::singleShot(20, &window, [&window, tries, then] { WhenPlaced(window, tries - 1, then); });
    return;
  }
  then();
}

}  // namespace

int main(int argc, char** argv) {
  tovarin::platform::IgnoreFileSizeLimitSignal();
  QCoreApplication::setOrganizationName(QString::fromLatin1(tovarin::settings::kOrganization));
  QCoreApplication::setApplicationName(QString::fromLatin1(tovarin::settings::kApplication));
  QCoreApplication::setApplicationVersion(QStringLiteral(TOVARIN_VERSION));
  QGuiApplication::setDesktopFileName(QStringLiteral(TOVARIN_APP_ID));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Carries team rosters between organizations of Grandstand."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("Displays version information."));
  parser.addOption(version);

  // Help and version need no display, so they are answered before the GUI starts.
  parser.parse(Arguments(argc, argv));
  if (parser.isSet(help)) {
    QString text = parser.helpText();
    text.replace(QStringLiteral("<executable_name>"), QStringLiteral("tovarin"));
    std::fputs(qPrintable(text), stdout);
    return 0;
  }
  if (parser.isSet(version)) {
    std::puts(qPrintable(tovarin::gui::VersionLine()));
    return 0;
  }

  tovarin::gui::Application app(argc, argv, &tovarin::gui::ShowUnexpectedError);
  parser.process(app);  // after Qt took its own options; unknown ones end the program here
  if (!parser.positionalArguments().isEmpty()) {
    std::fprintf(stderr, "tovarin: unexpected argument '%s'\n",
                 qPrintable(parser.positionalArguments().first()));
    return 2;
  }
  app.setWindowIcon(tovarin::gui::AppIcon());

  tovarin::QtSettingsStore settings;
  tovarin::gui::CMainFrame frame(settings);
  frame.StartUp();
  frame.show();

  // Once the window manager has placed the window on the screen, so that the question opens over
  // it rather than where the window was before it was placed; after a second in any case.
  QTimer::singleShot(0, &frame, [&frame] {
    WhenPlaced(frame, 50, [&frame] { frame.view().GuideFirstStart(); });
  });
  return app.exec();
}
