#include "transfer/report.h"

#include "platform/case_blind.h"

namespace tovarin {
namespace {

void AppendRight(std::string& line, const std::string& value, std::size_t width) {
  if (value.size() < width) line.append(width - value.size(), ' ');
  line.append(value);
}

}  // namespace

std::string NearMatchHeader() {
  std::string line;
  AppendRight(line, "Import FName", 16);
  AppendRight(line, "Import LName", 16);
  AppendRight(line, "Export FName", 16);
  AppendRight(line, "Export LName", 16);
  return line;
}

std::string NearMatchLine(const PlayerName& source, const PlayerName& target) {
  std::string line;
  AppendRight(line, source.first, 15);
  line.push_back(',');
  AppendRight(line, source.last, 15);
  line.push_back(',');
  AppendRight(line, target.first, 15);
  line.push_back(',');
  AppendRight(line, target.last, 15);
  return line;
}

std::string PlayerHeader() {
  std::string line = "ImpId ExpId ";
  AppendRight(line, "Import Player Name", 31);
  return line;
}

std::string PlayerLine(int sourceNumber, int targetNumber, const PlayerName& source) {
  std::string line;
  AppendRight(line, std::to_string(sourceNumber), 5);
  AppendRight(line, std::to_string(targetNumber), 6);
  AppendRight(line, source.first, 16);
  AppendRight(line, source.last, 16);
  return line;
}

BuildReport::~BuildReport() { Close(); }

bool BuildReport::Create(const std::string& path) {
  Close();
  file_ = std::fopen(platform::ResolveCaseBlind(path).c_str(), "wb");
  if (file_ == nullptr) return false;
  // The blocks are already large: stdio's own buffer would only split them.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  pending_.reserve(kBlockSize);
  return true;
}

void BuildReport::WriteLine(const std::string& line) {
  if (file_ == nullptr) return;
  pending_ += line;
  pending_ += "\r\n";
  if (pending_.size() >= kBlockSize) WriteBlock();
}

void BuildReport::WriteBlock() {
  std::fwrite(pending_.data(), 1, pending_.size(), file_);
  pending_.clear();
}

void BuildReport::Close() {
  if (file_ == nullptr) return;
  WriteBlock();
  std::fclose(file_);
  file_ = nullptr;
}

}  // namespace tovarin
