#pragma once

#include <optional>
#include <string>

#include "platform/safe_file.h"

namespace tovarin {

// What a setup document holds: the form's two organizations, each with its own base folder,
// the rename file and the options. Paths are UTF-8, as everywhere in Tovarin.
struct FormSetup {
  std::string targetBase, targetDataDisk, targetOrganization;
  std::string sourceBase, sourceDataDisk, sourceOrganization;
  std::string renamePath;
  int useFarm = 1;
  int threeLetters = 1;
  int smartInitials = 1;
};

// The first line of every setup document, which names its version.
inline constexpr const char* kSetupHeader = "Tovarin setup 1";

// A setup as its document's bytes: the header, then one "Name=value" line each. Nothing when a
// value holds a line break, which the document cannot keep.
std::optional<std::string> EncodeSetup(const FormSetup& setup);
// The setup in a document's bytes; nothing, with `why`, when they are not one whole.
std::optional<FormSetup> DecodeSetup(const std::string& bytes, std::string* why);

// The document: a setup of the form, saved to and opened from a file the user names. It never
// replaces a file that is not a setup: 1.0.4 saved an empty document over whatever file was
// named, a rename file or Players.dat included.
class CTovarinDoc {
 public:
  // The file name of the document's file, or "Untitled" before it has one.
  std::string title() const;
  // "<title> - Tovarin", the main window's title.
  std::string windowTitle() const;
  const std::string& pathName() const { return pathName_; }

  // A new document: no file, the title "Untitled".
  void New() { pathName_.clear(); }
  // Reads the document at `path` and takes that file as its own: the setup it holds, or nothing
  // for an empty file (as 1.0.4 saved them). False, with the message to show, when it is not a
  // setup or cannot be read; the document is then as it was.
  bool Open(const std::string& path, std::optional<FormSetup>& setup, std::string* why);
  // Writes `setup` to `path` and takes that file as its own. False, with the message to show,
  // when the file there is not a setup (nor empty), or cannot be written.
  bool Save(const std::string& path, const FormSetup& setup, std::string* why,
            const platform::FileWriter& writer = platform::SystemFileWriter());

 private:
  std::string pathName_;
};

// What the window says when the document cannot be saved.
inline constexpr const char* kSaveFailed = "Failed to save document.";

// "The setup could not be read: ", then what (the stored setup's file or value, a setup
// document) and why: the one wording of the window, tovarin-cli and a document alike.
extern const char* const kSetupNotRead;

}  // namespace tovarin
