#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>

namespace tovarin::gui {

// Paths (and messages that name them) cross between the core's bytes and Qt's text in the file
// system's encoding, as Qt itself names files.
inline QString PathText(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}
inline std::string PathBytes(const QString& text) { return QFile::encodeName(text).toStdString(); }

}  // namespace tovarin::gui
