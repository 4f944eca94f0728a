#include "shell/tovarin_doc.h"

#include "platform/paths.h"
#include "platform/safe_file.h"
#include "shell/menu_layout.h"

namespace tovarin {

std::string CTovarinDoc::title() const {
  if (pathName_.empty()) return layout::kUntitled;
  std::size_t start = pathName_.size();
  while (start > 0 && !platform::IsSeparator(pathName_[start - 1])) --start;
  return pathName_.substr(start);
}

std::string CTovarinDoc::windowTitle() const {
  return title() + " - " + layout::kApplicationTitle;
}

bool CTovarinDoc::Save(const std::string& path) {
  if (!platform::WriteFileSafely(path, std::string())) return false;
  pathName_ = path;
  return true;
}

}  // namespace tovarin
