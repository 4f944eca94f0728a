#include "settings/qt_settings_store.h"

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
  if (!value.isValid() || !value.canConvert<QString>()) return std::nullopt;
  return value.toString().toLocal8Bit().toStdString();
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
  settings_.setValue(Key(section, name), QString::fromLocal8Bit(value));
  settings_.sync();
}

void QtSettingsStore::WriteInt(const std::string& section, const std::string& name,
                               std::int32_t value) {
  settings_.setValue(Key(section, name), static_cast<int>(value));
  settings_.sync();
}

std::string QtSettingsStore::Location() const { return settings_.fileName().toStdString(); }

}  // namespace tovarin
