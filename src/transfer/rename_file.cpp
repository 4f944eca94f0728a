#include "transfer/rename_file.h"

#include "platform/case_blind.h"
#include "platform/native_path.h"

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
  file_ = platform::OpenFile(platform::ResolveCaseBlind(path), "rb");
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

bool RenameReader::ReadField(std::string& field) {
  field.clear();
  int c = TextByte();
  while (IsWhiteSpace(c)) c = TextByte();
  if (c == -1) return false;
  bool cut = false;  // a NUL was seen: C text ends there, yet the bytes after it still count
  for (std::size_t count = 0;;) {
    if (c == ',') break;
    if (c == 0) cut = true;
    if (!cut) field.push_back(static_cast<char>(c));
    if (++count == kMaxField) break;
    c = TextByte();
    if (c == -1) break;
  }
  return true;
}

bool RenameReader::Next(RenameRecord& record) {
  for (int i = 0; i < 4; ++i) {
    if (!ReadField(record.fields[i])) {
      if (i == 0) return false;
      for (int j = i; j < 4; ++j) record.fields[j].clear();
      return true;
    }
  }
  return true;
}

}  // namespace tovarin
