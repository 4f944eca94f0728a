#include "settings/qt_settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>

#include "platform/input_file.h"
#include "platform/system_error.h"
#include "shell/settings.h"

namespace tovarin {
namespace {

QString Key(const std::string& section, const std::string& name) {
  return QString::fromStdString(section + "/" + name);
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : file_(QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                            "/" + settings::kOrganization + "/" + settings::kApplication +
                            ".conf")) {}

QSettings* QtSettingsStore::Settings() {
  if (!opened_) {
    opened_ = true;
    const QFileInfo info(file_);
    if (info.exists() && !info.isFile()) {
      unusable_ = platform::kNotAPlainFile;
    } else {
      settings_.emplace(file_, QSettings::IniFormat);
    }
  }
  return settings_ ? &*settings_ : nullptr;
}

std::optional<std::string> QtSettingsStore::ReadString(const std::string& section,
                                                       const std::string& name) {
  QSettings* settings = Settings();
  if (!settings) return std::nullopt;
  const QVariant value = settings->value(Key(section, name));
  if (!value.isValid()) return std::nullopt;
  if (value.typeId() == QMetaType::QByteArray) return value.toByteArray().toStdString();
  if (!value.canConvert<QString>()) return std::nullopt;
  return QFile::encodeName(value.toString()).toStdString();
}

std::optional<std::int32_t> QtSettingsStore::ReadInt(const std::string& section,
                                                     const std::string& name) {
  QSettings* settings = Settings();
  if (!settings) return std::nullopt;
  const QVariant value = settings->value(Key(section, name));
  if (!value.isValid()) return std::nullopt;
  bool ok = false;
  const int number = value.toInt(&ok);
  if (!ok) return std::nullopt;
  return number;
}

void QtSettingsStore::WriteString(const std::string& section, const std::string& name,
                                  const std::string& value) {
  QSettings* settings = Settings();
  if (!settings) {
    lost_ = true;
    return;
  }
  // Stored values are mostly paths: kept as text in the file system's encoding, or as bytes when
  // they hold some that the encoding cannot carry, so that every path comes back as it went.
  const QByteArray bytes = QByteArray::fromStdString(value);
  const QString text = QFile::decodeName(bytes);
  if (QFile::encodeName(text) == bytes) {
    settings->setValue(Key(section, name), text);
  } else {
    settings->setValue(Key(section, name), bytes);
  }
  settings->sync();
}

void QtSettingsStore::WriteInt(const std::string& section, const std::string& name,
                               std::int32_t value) {
  QSettings* settings = Settings();
  if (!settings) {
    lost_ = true;
    return;
  }
  settings->setValue(Key(section, name), static_cast<int>(value));
  settings->sync();
}

bool QtSettingsStore::Commit(std::string* what) {
  QSettings* settings = Settings();
  const bool lost = lost_;
  lost_ = false;
  if (settings) settings->sync();
  if (settings && !lost && settings->status() == QSettings::NoError) return true;
  if (what) *what = Location() + "\n" + WriteProblem();
  return false;
}

// QSettings says only that the file could not be written; the folder it goes in says why.
std::string QtSettingsStore::WriteProblem() const {
  if (!unusable_.empty()) return unusable_;
  const QFileInfo info(file_);
  if (info.exists() && !info.isFile()) return platform::kNotAPlainFile;
  // The nearest folder on the way that is there.
  QFileInfo folder(info.absolutePath());
  while (!folder.exists() && folder.absoluteFilePath() != folder.absolutePath()) {
    folder = QFileInfo(folder.absolutePath());
  }
  if (!folder.isDir()) return platform::ErrnoText(ENOTDIR);
  if (!folder.isWritable() || (info.exists() && !info.isWritable())) {
    return platform::ErrnoText(EACCES);
  }
  return "the file could not be written";
}

std::string QtSettingsStore::ReadProblem() {
  Settings();
  if (!unusable_.empty()) return Location() + "\n" + unusable_;
  return "";
}

std::string QtSettingsStore::Location() const { return QFile::encodeName(file_).toStdString(); }

}  // namespace tovarin
