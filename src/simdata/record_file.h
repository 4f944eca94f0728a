#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tovarin {

// The error of the record readers. what() is the whole message, shown to the user unchanged.
class RecordFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr std::size_t kOrgRecordSize = 208;
inline constexpr std::size_t kPlayerRecordSize = 146;

// A whole file of fixed-size records, held in memory, reached through a checked subscript.
class RecordFile {
 public:
  explicit RecordFile(std::size_t recordSize) : recordSize_(recordSize) {}

  // Appends every record of the file; a short last record is zero-filled.
  // Throws RecordFileError "CANNOT OPEN FILE :<path>\n" when the file cannot be opened, and
  // "Error while reading file : <path>" with the reason when it cannot be read, or holds more
  // than `maxRecords` records (then `limitReason` ends the message; nothing is allocated).
  void Open(const std::string& path, std::size_t maxRecords = SIZE_MAX,
            const std::string& limitReason = "");

  // Throws RecordFileError "Illegal array subscript: i not in [0..count-1]" when out of range.
  void CheckIndex(int i) const;

  int count() const { return count_; }
  std::size_t recordSize() const { return recordSize_; }

  // The bytes of record i; call CheckIndex(i) first.
  const unsigned char* Record(int i) const {
    return records_.data() + static_cast<std::size_t>(i) * recordSize_;
  }

 private:
  std::size_t recordSize_;
  std::vector<unsigned char> records_;
  int count_ = 0;
};

}  // namespace tovarin
