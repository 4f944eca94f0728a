#include "transfer/report.h"

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

bool BuildReport::Create(const std::string& path, std::string* why) {
  pending_.clear();
  return file_.Open(path, why);
}

void BuildReport::WriteLine(const std::string& line) {
  if (!file_.IsOpen()) return;
  pending_ += line;
  pending_ += "\r\n";
  if (pending_.size() >= kBlockSize) {
    file_.Write(pending_);
    pending_.clear();
  }
}

void BuildReport::Discard() {
  pending_.clear();
  file_.Discard();
}

bool BuildReport::Commit(std::string* why) {
  if (file_.IsOpen()) file_.Write(pending_);
  pending_.clear();
  return file_.Commit(why);
}

}  // namespace tovarin
