#include "simdata/record_file.h"

#include <climits>
#include <filesystem>
#include <fstream>

#include "platform/case_blind.h"
#include "platform/format.h"
#include "platform/native_path.h"
#include "platform/paths.h"

namespace tovarin {

void RecordFile::Open(const std::string& path) {
  const std::string resolved = platform::ResolveCaseBlind(path);
  std::error_code ec;
  std::ifstream in;
  if (!std::filesystem::is_directory(platform::NativePath(resolved), ec)) {
    in.open(platform::NativePath(resolved), std::ios::binary);
  }
  if (!in.is_open()) {
    throw RecordFileError(platform::Format("CANNOT OPEN FILE :%s\n", path.c_str()));
  }

  in.seekg(0, std::ios::end);
  const std::streamoff length = in.tellg();
  in.seekg(0, std::ios::beg);
  if (length < 0 || !in) {
    throw RecordFileError("Error while reading file : " + path);
  }
  if (length == 0) return;

  // Sized once from the file's length: the last, short record still counts and is zero-filled.
  const auto bytes = static_cast<std::size_t>(length);
  const std::size_t added = (bytes + recordSize_ - 1) / recordSize_;
  if (added > static_cast<std::size_t>(INT_MAX - count_)) {
    throw RecordFileError("Error while reading file : " + path);
  }
  const std::size_t start = records_.size();
  try {
    records_.resize(start + added * recordSize_, 0);
  } catch (const std::bad_alloc&) {
    throw RecordFileError("Error while reading file : " + path);
  }
  in.read(reinterpret_cast<char*>(records_.data() + start), static_cast<std::streamsize>(bytes));
  if (static_cast<std::size_t>(in.gcount()) != bytes) {
    records_.resize(start);
    throw RecordFileError("Error while reading file : " + path);
  }
  count_ += static_cast<int>(added);
}

void RecordFile::CheckIndex(int i) const {
  if (i < 0 || i >= count_) {
    throw RecordFileError(
        platform::Format("Illegal array subscript: %d not in [0..%d]", i, count_ - 1));
  }
}

}  // namespace tovarin
