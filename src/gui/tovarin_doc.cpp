#include "gui/tovarin_doc.h"

#include <QFile>
#include <QFileInfo>

namespace tovarin::gui {

QString CTovarinDoc::title() const {
  return pathName_.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(pathName_).fileName();
}

bool CTovarinDoc::Save(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  file.close();
  pathName_ = path;
  return true;
}

}  // namespace tovarin::gui
