#pragma once

#include <chrono>
#include <functional>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/safe_file.h"

namespace tovarin {

// One record of a rename file: source first name, source last name, target first name, target
// last name. A record that assigns a player to a team holds the team's short name in field 0 or 1.
struct RenameRecord {
  std::string fields[4];
  bool operator==(const RenameRecord&) const = default;
};

// Where a field of a rename file lies. Lines and columns count from 1, columns in bytes; a CR LF
// pair is one line break.
struct RenameFieldPlace {
  int line = 0;
  int column = 0;
  bool startsLine = false;  // nothing but white space before it on its line
  bool cut = false;         // ended after kMaxField characters rather than at a comma
  // Where a comma would have ended the field before the first line break inside it: just after
  // its last character that is not white space. 0 when no line break is inside it.
  int breakLine = 0;
  int breakColumn = 0;
};

// The places of one record's fields; a field missing at the end of the file has line 0.
struct RenamePlace {
  RenameFieldPlace fields[4];
};

// Reads a rename file record by record, streaming, never holding the whole file.
//
// The file is read as the simulation's platform reads text files, on every system: CR LF reads as
// LF, a lone CR stays, and byte 26 ends the file. Fields are ended by commas; line breaks mean
// nothing of their own. A field starts after any white space, runs to the next comma (consumed,
// not part of it), to the end of the file, or to 49 characters, whichever comes first; after 49
// characters a comma that follows is not consumed and so ends an empty next field. A field is cut
// at its first NUL byte, as a C string would be. Every four fields make one record.
class RenameReader {
 public:
  // An empty path or a file that cannot be opened reads as a file without records.
  explicit RenameReader(const std::string& path);
  virtual ~RenameReader();
  RenameReader(const RenameReader&) = delete;
  RenameReader& operator=(const RenameReader&) = delete;

  // The next record. At the end of the file a record with at least one field read is given with
  // its missing fields empty; false once no field of a new record remains.
  bool Next(RenameRecord& record);
  // The same, also saying where each field lies.
  bool Next(RenameRecord& record, RenamePlace& place);

  // Why a file that is there (or a device in its place) could not be read, or not to its end;
  // empty when it could, and for a missing file or none named.
  const std::string& error() const { return error_; }
  // When a read failed part-way, why, in the system's words; empty otherwise.
  const std::string& readFailure() const { return readFailure_; }
  // Where the next byte would be read.
  int line() const { return line_; }
  int column() const { return column_; }

  // The longest field: its next character begins the next field, even a comma.
  static constexpr std::size_t kMaxField = 49;

 protected:
  // A reader of the bytes ReadBytes gives.
  RenameReader();
  // Up to `size` bytes of the file into `into`; 0 at its end, or, with `why`, when a read failed.
  virtual std::size_t ReadBytes(char* into, std::size_t size, std::string& why);

 private:
  bool Fill();     // refills the buffer; false at the end of the file
  int TextByte();  // the next byte after the text-mode translation, or -1 at the end
  bool ReadField(std::string& field, RenameFieldPlace& place);

  std::FILE* file_ = nullptr;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool ended_ = false;  // byte 26 or the end of the file was seen
  std::string error_;
  std::string readFailure_;
  int line_ = 1;        // of the next byte
  int column_ = 1;
  bool lineBlank_ = true;  // only white space so far on the current line
};

// "The rename file could not be read: PATH" and why, on a line of its own; the path as spelled on
// disk.
std::string RenameFileUnreadable(const std::string& path, const std::string& why);

// Adds `records` to the rename file at `path` (created when missing), each on a line of its own as
// "field,field,field,field,", in the file's own line breaks (CR LF in a new file). Every byte
// already there stays, and every record already there reads as it did: a last record cut short
// gets the commas that end it as it was read, and the new lines go before a Ctrl-Z, which would
// hide them. The file is replaced safely, through `writer`; a link is followed to the file it
// leads to, which is the one replaced. Only a text file of the user's is written: not one of the
// simulation's files, nor one holding a NUL byte. Two appends to one file take turns, so that
// neither loses the other's records; one that waits longer than `patience` gives up. False,
// with `why`, when nothing was added.
// `stillValid`, when given, is asked once the file is locked, with the file as it is then,
// whether the records may still be added; false, with its message in `why`, adds nothing.
inline constexpr std::chrono::milliseconds kRenameFilePatience{5000};
using RenameRecheck = std::function<bool(std::string* why)>;
bool AppendRenameRecords(const std::string& path, const std::vector<RenameRecord>& records,
                         std::string* why,
                         const platform::FileWriter& writer = platform::SystemFileWriter(),
                         std::chrono::milliseconds patience = kRenameFilePatience,
                         const RenameRecheck& stillValid = {});

}  // namespace tovarin
