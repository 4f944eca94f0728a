#include "simdata/record_file.h"

#include <climits>
#include <cstdint>
#include <cstdio>

#include "platform/case_blind.h"
#include "platform/format.h"
#include "platform/input_file.h"

namespace tovarin {

void RecordFile::Open(const std::string& path, std::size_t maxRecords,
                      const std::string& limitReason) {
  long long length = 0;
  const platform::InputFile in = platform::OpenInputFile(path, &length);
  // Messages name the file as it is spelled on disk.
  const std::string shown = platform::ResolveCaseBlind(path);
  if (!in) throw RecordFileError(platform::Format("CANNOT OPEN FILE :%s\n", shown.c_str()));
  const std::string readError = "Error while reading file : " + shown;
  if (length < 0) throw RecordFileError(readError);
  if (length == 0) return;

  // Sized once from the file's length: the last, short record still counts and is zero-filled.
  const auto bytes = static_cast<unsigned long long>(length);
  const unsigned long long added = (bytes + recordSize_ - 1) / recordSize_;
  if (added > maxRecords) {
    throw RecordFileError(readError + "\nthe file holds " + std::to_string(added) +
                          " records, more than " + std::to_string(maxRecords) + limitReason);
  }
  if (added > static_cast<unsigned long long>(INT_MAX - count_) || bytes > SIZE_MAX) {
    throw RecordFileError(readError);
  }
  const std::size_t start = records_.size();
  try {
    records_.resize(start + static_cast<std::size_t>(added) * recordSize_, 0);
  } catch (const std::bad_alloc&) {
    throw RecordFileError(readError);
  }
  if (std::fread(records_.data() + start, 1, static_cast<std::size_t>(bytes), in.get()) != bytes) {
    records_.resize(start);
    throw RecordFileError(readError);
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
