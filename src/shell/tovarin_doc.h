#pragma once

#include <string>

namespace tovarin {

// The document: it holds no data and is never modified. It only gives the window its title,
// and saving it writes an empty file.
class CTovarinDoc {
 public:
  // The file name of the document's file, or "Untitled" before it has one.
  std::string title() const;
  // "<title> - Tovarin", the main window's title.
  std::string windowTitle() const;
  const std::string& pathName() const { return pathName_; }

  // A new document: no file, the title "Untitled".
  void New() { pathName_.clear(); }
  // The document now belongs to the file at `path`; nothing is read from it.
  void SetPathName(const std::string& path) { pathName_ = path; }
  // Writes the document (nothing) to `path` and takes that file as its own. False when the
  // file cannot be written.
  bool Save(const std::string& path);

 private:
  std::string pathName_;
};

// What the window says when the document cannot be saved.
inline constexpr const char* kSaveFailed = "Failed to save document.";

}  // namespace tovarin
