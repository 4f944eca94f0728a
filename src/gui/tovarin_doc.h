#pragma once

#include <QString>

namespace tovarin::gui {

// The document: it holds no data and is never modified. It only gives the window its title,
// and saving it writes an empty file.
class CTovarinDoc {
 public:
  // The file name of the document's file, or "Untitled" before it has one.
  QString title() const;
  const QString& pathName() const { return pathName_; }

  // A new document: no file, the title "Untitled".
  void New() { pathName_.clear(); }
  // The document now belongs to the file at `path`; nothing is read from it.
  void SetPathName(const QString& path) { pathName_ = path; }
  // Writes the document (nothing) to `path` and takes that file as its own. False when the
  // file cannot be written.
  bool Save(const QString& path);

 private:
  QString pathName_;
};

}  // namespace tovarin::gui
