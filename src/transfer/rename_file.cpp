#include "transfer/rename_file.h"

#include <algorithm>
#include <filesystem>

#include "platform/case_blind.h"
#include "platform/input_file.h"

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
  file_ = platform::OpenInputFile(path).release();
  if (file_ != nullptr) buffer_.resize(kBufferSize);
}

RenameReader::~RenameReader() {
  if (file_ != nullptr) std::fclose(file_);
}

bool RenameReader::Fill() {
  if (file_ == nullptr) return false;
  pos_ = 0;
  end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
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

bool AppendRenameRecords(const std::string& path, const std::vector<RenameRecord>& records,
                         std::string* why, const platform::FileWriter& writer) {
  std::string text;
  if (const platform::InputFile file = platform::OpenInputFile(path)) {
    char chunk[kBufferSize / 4];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) text.append(chunk, n);
    if (std::ferror(file.get()) != 0) {
      if (why) *why = "The rename file " + path + " could not be read.";
      return false;
    }
  } else if (std::error_code ec; std::filesystem::exists(platform::ResolveCaseBlind(path), ec)) {
    // Not a file that can be read (a folder, a FIFO, no permission): never replaced.
    if (why) *why = "The rename file " + path + " could not be read.";
    return false;
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
  std::string reason;
  if (!platform::WriteFileSafely(path, read + added + text.substr(end), &reason, writer)) {
    if (why) *why = "The rename file " + path + " could not be written.\n" + reason;
    return false;
  }
  return true;
}

}  // namespace tovarin
