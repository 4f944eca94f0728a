#include "transfer/rename_file.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/case_blind.h"
#include "platform/file_lock.h"
#include "platform/input_file.h"
#include "platform/native_path.h"
#include "platform/path_status.h"
#include "platform/paths.h"
#include "platform/system_error.h"
#include "simdata/roster_file.h"

namespace tovarin {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr int kEndOfFileByte = 26;  // Ctrl-Z

bool IsWhiteSpace(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

RenameReader::RenameReader(const std::string& path) {
  if (path.empty()) return;
  std::string why;
  file_ = platform::OpenInputFile(path, nullptr, &why).release();
  if (file_ != nullptr) {
    buffer_.resize(kBufferSize);
  } else if (platform::PathExists(path) || why == platform::kIsADevice) {
    // A Windows device name (NUL.txt) names nothing on disk, yet is no missing file.
    error_ = why;
  }
}

RenameReader::RenameReader() : buffer_(kBufferSize) {}

RenameReader::~RenameReader() {
  if (file_ != nullptr) std::fclose(file_);
}

std::size_t RenameReader::ReadBytes(char* into, std::size_t size, std::string& why) {
  if (file_ == nullptr) return 0;
  const std::size_t read = std::fread(into, 1, size, file_);
  if (read == 0 && std::ferror(file_) != 0) why = platform::ErrnoText(errno);
  return read;
}

bool RenameReader::Fill() {
  if (buffer_.empty() || !readFailure_.empty()) return false;
  pos_ = 0;
  std::string why;
  end_ = ReadBytes(buffer_.data(), buffer_.size(), why);
  if (end_ == 0 && !why.empty()) {
    readFailure_ = why;
    error_ = "it could not be read to its end: " + why;
  }
  return end_ > 0;
}

int RenameReader::TextByte() {
  if (ended_) return -1;
  if (pos_ == end_ && !Fill()) {
    ended_ = true;
    return -1;
  }
  const int c = static_cast<unsigned char>(buffer_[pos_++]);
  if (c == kEndOfFileByte) {
    ended_ = true;
    return -1;
  }
  if (c == '\r') {
    // The LF of a CR LF pair may sit at the start of the next buffer.
    if (pos_ == end_ && !Fill()) return c;
    if (buffer_[pos_] == '\n') {
      ++pos_;
      return '\n';
    }
  }
  return c;
}

bool RenameReader::ReadField(std::string& field, RenameFieldPlace& place) {
  field.clear();
  place = RenameFieldPlace();
  // Places are kept as each byte is taken: `line_`/`column_` name the byte TextByte gives next.
  auto take = [this](int& line, int& column) {
    line = line_;
    column = column_;
    const int c = TextByte();
    if (c == '\n') {
      ++line_;
      column_ = 1;
      lineBlank_ = true;
    } else if (c != -1) {
      ++column_;
    }
    return c;
  };
  int line = 0, column = 0;
  int c = take(line, column);
  while (IsWhiteSpace(c)) c = take(line, column);
  if (c == -1) return false;
  place.line = line;
  place.column = column;
  place.startsLine = lineBlank_;
  bool cut = false;  // a NUL was seen: C text ends there, yet the bytes after it still count
  int textLine = line, textColumn = column;  // just after the last byte that is not white space
  for (std::size_t count = 0;;) {
    if (c == ',') {
      lineBlank_ = false;
      break;
    }
    if (c == '\n' && place.breakLine == 0) {
      place.breakLine = textLine;
      place.breakColumn = textColumn;
    }
    if (!IsWhiteSpace(c)) {
      lineBlank_ = false;
      textLine = line;
      textColumn = column + 1;
    }
    if (c == 0) cut = true;
    if (!cut) field.push_back(static_cast<char>(c));
    if (++count == kMaxField) {
      place.cut = true;
      break;
    }
    c = take(line, column);
    if (c == -1) break;
  }
  return true;
}

bool RenameReader::Next(RenameRecord& record) {
  RenamePlace place;
  return Next(record, place);
}

bool RenameReader::Next(RenameRecord& record, RenamePlace& place) {
  for (int i = 0; i < 4; ++i) {
    if (!ReadField(record.fields[i], place.fields[i])) {
      if (i == 0) return false;
      for (int j = i; j < 4; ++j) {
        record.fields[j].clear();
        place.fields[j] = RenameFieldPlace();
      }
      return true;
    }
  }
  return true;
}

std::string RenameFileUnreadable(const std::string& path, const std::string& why) {
  return "The rename file could not be read: " + platform::ResolveCaseBlind(path) + "\n" + why;
}

namespace {

// The commas that end the last record of `text` as a reader at its end would have ended it:
// the field it is inside of, then the fields the record lacks (read as empty).
std::string ClosingCommas(const std::string& text) {
  int fields = 0;  // fields of the current record already ended
  bool inField = false;
  std::size_t length = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool crlf = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
    const int c = crlf ? '\n' : static_cast<unsigned char>(text[i]);
    if (crlf) ++i;
    if (!inField) {
      if (IsWhiteSpace(c)) continue;
      inField = true;
      length = 0;
    }
    if (c == ',' || ++length == RenameReader::kMaxField) {
      inField = false;
      fields = (fields + 1) % 4;
    }
  }
  std::string commas;
  if (inField) {
    commas += ',';
    fields = (fields + 1) % 4;
  }
  if (fields > 0) commas.append(static_cast<std::size_t>(4 - fields), ',');
  return commas;
}

}  // namespace

namespace {

// Simulation files are never a rename file, whatever their name says: org.dat, a Players.dat,
// a roster, or anything in a data disk's organization folder.
bool IsSimulationFile(const std::string& path) {
  const std::string folder = platform::DirectoryOf(path);
  const std::string name = path.substr(folder.size());
  if (platform::EqualsIgnoreCase(name, "org.dat") ||
      platform::EqualsIgnoreCase(name, "Players.dat") || IsRosterFileName(name)) {
    return true;
  }
  if (folder.size() < 2) return false;
  const std::string parent = platform::DirectoryOf(folder.substr(0, folder.size() - 1));
  const std::string orgName = folder.substr(parent.size(), folder.size() - 1 - parent.size());
  const std::string disk = parent.empty() ? "" : parent.substr(0, parent.size() - 1);
  return orgName.size() == 8 && platform::StartsWithIgnoreCase(orgName, "ORG") &&
         orgName.find_first_not_of("0123456789", 3) == std::string::npos && disk.size() > 4 &&
         platform::EqualsIgnoreCase(disk.substr(disk.size() - 4), ".wdd");
}

// How often an append looks again whether another one on the same file has finished.
constexpr auto kLockRetry = std::chrono::milliseconds(50);

}  // namespace

bool AppendRenameRecords(const std::string& path, const std::vector<RenameRecord>& records,
                         std::string* why, const platform::FileWriter& writer,
                         std::chrono::milliseconds patience, const RenameRecheck& stillValid) {
  auto refuse = [&](const std::string& text) {
    if (why) *why = "The rename file " + path + " " + text;
    return false;
  };
  // A link is written through, as an editor would, so that the file it shares gets the records.
  std::string file = platform::ResolveCaseBlind(path);
  if (platform::IsSymbolicLink(file)) {
    std::error_code ec;
    const std::filesystem::path target = std::filesystem::canonical(platform::NativePath(file), ec);
    if (ec) return refuse("is a link that leads to no file, so nothing was added.");
    file = platform::PathText(target);
  }
  if (IsSimulationFile(file)) {
    return refuse("is one of the simulation's files, which Tovarin never writes, so nothing was "
                  "added. Choose a text file of your own.");
  }

  // Held across the read and the replacement: an append that read the file before another
  // replaced it would put back the old text and lose the other's records.
  platform::FileLock lock;
  const std::string folder = platform::DirectoryOf(file);
  const std::string lockPath = folder + "." + file.substr(folder.size()) + ".tovarin-lock";
  const auto giveUp = std::chrono::steady_clock::now() + patience;
  for (;;) {
    std::string reason;
    const platform::FileLock::Result locked = lock.Lock(lockPath, &reason);
    if (locked == platform::FileLock::Result::kLocked) break;
    if (locked == platform::FileLock::Result::kFailed) {
      return refuse("could not be written, so nothing was added.\n" + lockPath + ": " + reason);
    }
    if (std::chrono::steady_clock::now() >= giveUp) {
      return refuse("is being written by another Tovarin, so nothing was added. Try again when "
                    "it has finished.");
    }
    std::this_thread::sleep_for(kLockRetry);
  }

  // What the records were chosen on may have changed before the lock was had: another append
  // may have given one of their target players to someone else.
  if (stillValid && !stillValid(why)) return false;

  // What a killed append left of its own new file; under the lock, none is being written.
  const std::string fileName = file.substr(folder.size());
  platform::RemoveSafeWriteTemporaries(folder, [&](const std::string& of) { return of == fileName; });

  std::string text;
  std::string reason;
  if (const platform::InputFile input = platform::OpenInputFile(file, nullptr, &reason)) {
    char chunk[kBufferSize / 4];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, input.get())) > 0) text.append(chunk, n);
    if (std::ferror(input.get()) != 0) return refuse("could not be read.");
  } else if (platform::PathExists(file)) {
    // Not a file that can be read (a folder, a FIFO, no permission): never replaced.
    return refuse("could not be read.\n" + reason);
  }
  if (text.find('\0') != std::string::npos) {
    return refuse("holds a NUL byte, so it is not a text file of rename records; nothing was "
                  "added.");
  }

  // What lies after a Ctrl-Z is never read; the new records go in front of it.
  const std::size_t end = std::min(text.find(static_cast<char>(kEndOfFileByte)), text.size());
  const std::string read = text.substr(0, end);
  const bool lf = read.find('\n') != std::string::npos;
  const std::string lineBreak = lf && read.find("\r\n") == std::string::npos ? "\n" : "\r\n";

  std::string added = ClosingCommas(read);
  const std::string& before = added.empty() ? read : added;
  if (!before.empty() && before.back() != '\n') added += lineBreak;
  for (const RenameRecord& record : records) {
    for (const std::string& field : record.fields) added += field + ",";
    added += lineBreak;
  }
  if (!platform::WriteFileSafely(file, read + added + text.substr(end), &reason, writer)) {
    return refuse("could not be written.\n" + reason);
  }
  return true;
}

}  // namespace tovarin
