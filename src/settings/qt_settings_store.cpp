#include "settings/qt_settings_store.h"

#include <QFile>

#include "shell/settings.h"

namespace tovarin {
namespace {

QString Key(const std::string& section, const std::string& name) {
  return QString::fromStdString(section + "/" + name);
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, settings::kOrganization,
                settings::kApplication) {}

std::optional<std::string> QtSettingsStore::ReadString(const std::string& section,
                                                       const std::string& name) {
  const QVariant value = settings_.value(Key(section, name));
  if (!value.isValid()) return std::nullopt;
  if (value.typeId() == QMetaType::QByteArray) return value.toByteArray().toStdString();
  if (!value.canConvert<QString>()) return std::nullopt;
  return QFile::encodeName(value.toString()).toStdString();
}

std::optional<std::int32_t> QtSettingsStore::ReadInt(const std::string& section,
                                                     const std::string& name) {
  const QVariant value = settings_.value(Key(section, name));
  if (!value.isValid()) return std::nullopt;
  bool ok = false;
  const int number = value.toInt(&ok);
  if (!ok) return std::nullopt;
  return number;
}

void QtSettingsStore::WriteString(const std::string& section, const std::string& name,
                                  const std::string& value) {
  // Stored values are mostly paths: kept as text in the file system's encoding, or as bytes when
  // they hold some that the encoding cannot carry, so that every path comes back as it went.
  const QByteArray bytes = QByteArray::fromStdString(value);
  const QString text = QFile::decodeName(bytes);
  if (QFile::encodeName(text) == bytes) {
    settings_.setValue(Key(section, name), text);
  } else {
    settings_.setValue(Key(section, name), bytes);
  }
  settings_.sync();
}

void QtSettingsStore::WriteInt(const std::string& section, const std::string& name,
                               std::int32_t value) {
  settings_.setValue(Key(section, name), static_cast<int>(value));
  settings_.sync();
}

std::string QtSettingsStore::Location() const {
  return QFile::encodeName(settings_.fileName()).toStdString();
}

}  // namespace tovarin
