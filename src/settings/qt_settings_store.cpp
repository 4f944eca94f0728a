#include "settings/qt_settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/input_file.h"
#include "platform/system_error.h"

namespace tovarin {
namespace {

QString Key(const std::string& section, const std::string& name) {
  return QString::fromStdString(section + "/" + name);
}

QString ConfigHome() {
  // Qt takes a relative XDG_CONFIG_HOME as it is, which puts the settings under whatever
  // folder the program starts in.
  const QString home = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return home.startsWith('/') ? home : QDir::homePath() + "/.config";
}

// Why the settings file cannot be used; empty when it can, and when it is missing (also under
// a file where a folder should be: there are no settings yet).
std::string Unusable(const QString& file) {
  const QByteArray path = QFile::encodeName(file);
  struct stat status {};
  if (stat(path.constData(), &status) != 0) {
    return errno == ENOENT || errno == ENOTDIR ? "" : platform::ErrnoText(errno);
  }
  if (!S_ISREG(status.st_mode)) return platform::kNotAPlainFile;
  const int fd = open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return platform::ErrnoText(errno);
  close(fd);
  return "";
}

// What identifies one version of the file: a write replaces it with a new one.
struct FileStamp {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  timespec modified{};
  bool operator==(const FileStamp& other) const {
    return exists == other.exists && device == other.device && inode == other.inode &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
  }
};

FileStamp Stamp(const QString& file) {
  FileStamp stamp;
  struct stat status {};
  if (stat(QFile::encodeName(file).constData(), &status) == 0) {
    stamp = {true, status.st_dev, status.st_ino, status.st_mtim};
  }
  return stamp;
}

// A decimal number, as the file holds one: digits with an optional minus sign.
std::optional<std::int32_t> Decimal(const QString& text) {
  const qsizetype digits = text.startsWith('-') ? 1 : 0;
  if (text.size() == digits || text.size() > digits + 10 ||
      !std::all_of(text.begin() + digits, text.end(),
                   [](QChar c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  bool ok = false;
  const int number = text.toInt(&ok, 10);
  if (!ok) return std::nullopt;
  return number;
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : file_(QDir::cleanPath(ConfigHome() + "/" + kDefaultFile)) {}

QSettings* QtSettingsStore::Settings() {
  if (!opened_) {
    opened_ = true;
    unusable_ = Unusable(file_);
    if (unusable_.empty()) settings_.emplace(file_, QSettings::IniFormat);
  }
  return settings_ ? &*settings_ : nullptr;
}

void QtSettingsStore::NoteUnreadable(const QString& key, const std::string& why) {
  unreadable_.erase(std::remove_if(unreadable_.begin(), unreadable_.end(),
                                   [&](const auto& noted) { return noted.first == key; }),
                    unreadable_.end());
  if (!why.empty()) unreadable_.emplace_back(key, why);
}

std::optional<std::string> QtSettingsStore::ReadString(const std::string& section,
                                                       const std::string& name) {
  QSettings* settings = Settings();
  if (!settings) return std::nullopt;
  const QString key = Key(section, name);
  const QVariant value = settings->value(key);
  NoteUnreadable(key, "");
  if (!value.isValid()) return std::nullopt;
  if (value.typeId() == QMetaType::QByteArray) return value.toByteArray().toStdString();
  if (value.typeId() != QMetaType::QString) {
    // A list (unquoted commas) or another of QSettings' types: no path that was stored.
    NoteUnreadable(key, "it is not one text");
    return std::nullopt;
  }
  return QFile::encodeName(value.toString()).toStdString();
}

std::optional<std::int32_t> QtSettingsStore::ReadInt(const std::string& section,
                                                     const std::string& name) {
  QSettings* settings = Settings();
  if (!settings) return std::nullopt;
  const QString key = Key(section, name);
  const QVariant value = settings->value(key);
  NoteUnreadable(key, "");
  if (!value.isValid()) return std::nullopt;
  std::optional<std::int32_t> number;
  if (value.typeId() == QMetaType::QString) {
    number = Decimal(value.toString());
  } else if (value.typeId() == QMetaType::Int) {  // as this process stored it
    number = value.toInt();
  }
  if (!number) NoteUnreadable(key, "it is not a whole number");
  return number;
}

void QtSettingsStore::WriteString(const std::string& section, const std::string& name,
                                  const std::string& value) {
  // Stored values are mostly paths: kept as text in the file system's encoding, or as bytes when
  // they hold some that the encoding cannot carry, so that every path comes back as it went.
  const QByteArray bytes = QByteArray::fromStdString(value);
  const QString text = QFile::decodeName(bytes);
  pending_.emplace_back(Key(section, name),
                        QFile::encodeName(text) == bytes ? QVariant(text) : QVariant(bytes));
}

void QtSettingsStore::WriteInt(const std::string& section, const std::string& name,
                               std::int32_t value) {
  pending_.emplace_back(Key(section, name), QVariant(static_cast<int>(value)));
}

bool QtSettingsStore::Commit(std::string* what) {
  std::vector<std::pair<QString, QVariant>> pending;
  pending.swap(pending_);
  if (pending.empty()) return true;
  QSettings* settings = Settings();
  if (settings) {
    std::vector<std::pair<QString, QVariant>> before;
    for (const auto& [key, value] : pending) {
      before.emplace_back(key, settings->value(key));
      settings->setValue(key, value);
    }
    const FileStamp old = Stamp(file_);
    settings->sync();
    // QSettings keeps the first error it meets for good, one of reading (a stray line) too, so
    // its status cannot tell whether this write failed; the file can, since a write replaces it.
    if (!(Stamp(file_) == old)) return true;
    // The file is as it was; so are the values read from here on.
    for (auto it = before.rbegin(); it != before.rend(); ++it) {
      if (it->second.isValid()) {
        settings->setValue(it->first, it->second);
      } else {
        settings->remove(it->first);
      }
    }
  }
  if (what) *what = Location() + "\n" + WriteProblem() + "\n" + platform::kStoredBeforeKept;
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
  std::string problem;
  for (const auto& [key, why] : unreadable_) {
    if (!problem.empty()) problem += "\n";
    problem += Location() + " (" + key.toStdString() + ")\n" + why;
  }
  return problem;
}

std::string QtSettingsStore::Location() const { return QFile::encodeName(file_).toStdString(); }

}  // namespace tovarin
