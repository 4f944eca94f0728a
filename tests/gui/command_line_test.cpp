// The tovarin executable itself: --version, --help and --screenshot, each in a process of its
// own with its per-user folders in temporary ones.

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
Outcome RunTovarin(const QStringList& arguments, const std::string& configHome) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_CONFIG_HOME", QString::fromStdString(configHome));
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(TOVARIN_EXECUTABLE), arguments);
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
  EXPECT_TRUE(help.out.contains("--screenshot <file>")) << Std(help.out);
  EXPECT_TRUE(help.out.startsWith("Usage: tovarin")) << Std(help.out);

  EXPECT_NE(RunTovarin({"--no-such-option"}, config.path()).exitCode, 0);
}

// The picture shows the window as started on the stored setup; the settings stay as stored.
TEST(GuiCommandLine, ScreenshotWritesAPictureOfTheWindow) {
  GuiWindow stored;  // writes the settings of the tree into this process's settings folder
  stored.StoreSetup();
  const std::string configHome = qEnvironmentVariable("XDG_CONFIG_HOME").toStdString();
  const std::string settingsFile = configHome + "/Didozuza/Tovarin.conf";
  const std::string before = fixture::ReadFileText(settingsFile);
  ASSERT_FALSE(before.empty());

  const fixture::TempDir out;
  const std::string png = out / "window.png";
  const Outcome run = RunTovarin({"--screenshot", QString::fromStdString(png)}, configHome);
  ASSERT_EQ(run.exitCode, 0);
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString(png), "PNG"));
  const DialogUnits units(DialogFont());
  EXPECT_EQ(image.width(), units.X(391));
  EXPECT_GT(image.height(), units.Y(261)) << "the form with menu and status bar";
  EXPECT_EQ(fixture::ReadFileText(settingsFile), before);
}

}  // namespace
}  // namespace tovarin::gui::test
