#include "shell/tovarin_doc.h"

#include <cstdio>
#include <map>

#include "platform/case_blind.h"
#include "platform/input_file.h"
#include "platform/path_status.h"
#include "platform/paths.h"
#include "platform/safe_file.h"
#include "shell/menu_layout.h"

namespace tovarin {
namespace {

// Far more than any setup needs; a larger file is no setup, and is never read whole.
constexpr long long kLargestSetup = 1 << 20;

enum class Found { kEmpty, kSetup, kOther, kUnreadable };

// What stands at `path`: nothing or an empty file, a setup (its bytes in `bytes`), anything
// else, or a file that cannot be read (`why`).
Found ReadDocument(const std::string& path, std::string& bytes, std::string* why) {
  long long size = 0;
  std::string reason;
  const platform::InputFile file = platform::OpenInputFile(path, &size, &reason);
  if (!file) {
    if (!platform::PathExists(path)) return Found::kEmpty;
    if (why) *why = reason;
    return Found::kUnreadable;
  }
  if (size == 0) return Found::kEmpty;
  if (size > kLargestSetup) return Found::kOther;
  bytes.resize(static_cast<std::size_t>(size));
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
  if (std::ferror(file.get()) != 0) {
    if (why) *why = "it could not be read to its end";
    return Found::kUnreadable;
  }
  const std::string header = std::string(kSetupHeader) + "\n";
  return bytes.compare(0, header.size(), header) == 0 ? Found::kSetup : Found::kOther;
}

struct Field {
  const char* name;
  std::string FormSetup::*text;
  int FormSetup::*number;
};

const Field kFields[] = {
    {"TgtBase", &FormSetup::targetBase, nullptr},
    {"TgtDataDisk", &FormSetup::targetDataDisk, nullptr},
    {"TgtOrg", &FormSetup::targetOrganization, nullptr},
    {"SrcBase", &FormSetup::sourceBase, nullptr},
    {"SrcDataDisk", &FormSetup::sourceDataDisk, nullptr},
    {"SrcOrg", &FormSetup::sourceOrganization, nullptr},
    {"Rename", &FormSetup::renamePath, nullptr},
    {"UseFarm", nullptr, &FormSetup::useFarm},
    {"ThreeLetters", nullptr, &FormSetup::threeLetters},
    {"SmartInitials", nullptr, &FormSetup::smartInitials},
};

}  // namespace

const char* const kSetupNotRead = "The setup could not be read: ";

std::optional<std::string> EncodeSetup(const FormSetup& setup) {
  std::string text = std::string(kSetupHeader) + "\n";
  for (const Field& field : kFields) {
    const std::string value =
        field.text ? setup.*field.text : std::to_string(setup.*field.number);
    if (value.find_first_of("\r\n") != std::string::npos) return std::nullopt;
    text += std::string(field.name) + "=" + value + "\n";
  }
  return text;
}

std::optional<FormSetup> DecodeSetup(const std::string& bytes, std::string* why) {
  auto refuse = [why](const std::string& text) -> std::optional<FormSetup> {
    if (why) *why = text;
    return std::nullopt;
  };
  const std::string header = std::string(kSetupHeader) + "\n";
  if (bytes.compare(0, header.size(), header) != 0) return refuse("it is not a Tovarin setup");
  if (bytes.back() != '\n') return refuse("its last line is cut off");
  FormSetup setup;
  std::map<std::string, bool> seen;
  int number = 1;
  for (std::size_t at = header.size(); at < bytes.size(); ++number) {
    const std::size_t end = bytes.find('\n', at);
    const std::string line = bytes.substr(at, end - at);
    at = end + 1;
    const std::size_t equals = line.find('=');
    const std::string name = line.substr(0, equals);
    const Field* field = nullptr;
    for (const Field& f : kFields) {
      if (equals != std::string::npos && name == f.name) field = &f;
    }
    if (!field || seen[name]) {
      return refuse("line " + std::to_string(number + 1) + " is not one a setup holds");
    }
    seen[name] = true;
    const std::string value = line.substr(equals + 1);
    if (field->text) {
      setup.*field->text = value;
    } else if (value == "0" || value == "1") {
      setup.*field->number = value[0] - '0';
    } else {
      return refuse(std::string(field->name) + " is neither 0 nor 1");
    }
  }
  if (seen.size() != std::size(kFields)) return refuse("some of its lines are missing");
  return setup;
}

std::string CTovarinDoc::title() const {
  if (pathName_.empty()) return layout::kUntitled;
  std::size_t start = pathName_.size();
  while (start > 0 && !platform::IsSeparator(pathName_[start - 1])) --start;
  return pathName_.substr(start);
}

std::string CTovarinDoc::windowTitle() const {
  return title() + " - " + layout::kApplicationTitle;
}

bool CTovarinDoc::Open(const std::string& path, std::optional<FormSetup>& setup, std::string* why) {
  std::string bytes, reason;
  const std::string shown = platform::ResolveCaseBlind(path);
  switch (ReadDocument(path, bytes, &reason)) {
    case Found::kEmpty:
      setup.reset();
      break;
    case Found::kSetup:
      setup = DecodeSetup(bytes, &reason);
      if (!setup) {
        if (why) *why = "The setup " + shown + " is damaged: " + reason + ".";
        return false;
      }
      break;
    case Found::kOther:
      if (why) *why = "The file " + shown + " is not a Tovarin setup, so nothing was opened.";
      return false;
    case Found::kUnreadable:
      if (why) *why = kSetupNotRead + shown + "\n" + reason;
      return false;
  }
  pathName_ = path;
  return true;
}

bool CTovarinDoc::Save(const std::string& path, const FormSetup& setup, std::string* why,
                       const platform::FileWriter& writer) {
  std::string bytes, reason;
  const std::string shown = platform::ResolveCaseBlind(path);
  switch (ReadDocument(path, bytes, &reason)) {
    case Found::kEmpty:
    case Found::kSetup:
      break;
    case Found::kOther:
    case Found::kUnreadable:
      if (why) {
        *why = "The file " + shown +
               " is not a Tovarin setup, so it was not replaced. Save the setup under another "
               "name.";
      }
      return false;
  }
  const std::optional<std::string> text = EncodeSetup(setup);
  if (!text) {
    if (why) *why = std::string(kSaveFailed) + "\nA path of the setup holds a line break.";
    return false;
  }
  if (!platform::WriteFileSafely(path, *text, &reason, writer)) {
    if (why) *why = std::string(kSaveFailed) + "\n" + shown + ": " + reason;
    return false;
  }
  pathName_ = path;
  return true;
}

}  // namespace tovarin
