// The tovarin executable itself, --version and --help, and the README's window picture, each in
// a process of its own with its per-user folders in temporary ones.

#include <QImage>
#include <QProcess>

#include "gui_fixture.h"
#include "tovarin_version.h"

namespace tovarin::gui::test {
namespace {

struct Outcome {
  int exitCode = -1;
  QString out;
};

// XDG_DATA_HOME (the backups) comes from this process, which keeps it in a temporary folder.
Outcome RunTovarin(const QStringList& arguments, const std::string& configHome,
                   const QString& program = QStringLiteral(TOVARIN_EXECUTABLE)) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", QString::fromStdString(configHome));
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  process.setProcessEnvironment(environment);
  process.start(program, arguments);
  Outcome run;
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
    return run;
  }
  run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
  return run;
}

TEST(GuiCommandLine, VersionAndHelp) {
  const fixture::TempDir config;
  const Outcome version = RunTovarin({"--version"}, config.path());
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.trimmed(), QStringLiteral("Tovarin Version " TOVARIN_VERSION));

  const Outcome help = RunTovarin({"--help"}, config.path());
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_FALSE(help.out.contains("screenshot")) << "no picture taking in what ships";
  EXPECT_TRUE(help.out.startsWith("Usage: tovarin")) << Std(help.out);

  // As its man page says: an unknown option ends it with 1, an argument with 2.
  EXPECT_EQ(RunTovarin({"--no-such-option"}, config.path()).exitCode, 1);
  EXPECT_EQ(RunTovarin({"league.tov"}, config.path()).exitCode, 2);
}

// The README's picture: the window as it starts, with its menu and status bar.
TEST(GuiCommandLine, WindowScreenshotToolWritesAPictureOfTheWindow) {
  const fixture::TempDir config, out;
  const std::string png = out / "window.png";
  const Outcome run = RunTovarin({QString::fromStdString(png)}, config.path(),
                                 QStringLiteral(TOVARIN_WINDOW_SCREENSHOT));
  ASSERT_EQ(run.exitCode, 0);
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString(png), "PNG"));
  const DialogUnits units(DialogFont());
  EXPECT_EQ(image.width(), units.X(391));
  EXPECT_GT(image.height(), units.Y(261)) << "the form with menu and status bar";
}

}  // namespace
}  // namespace tovarin::gui::test
