#pragma once

namespace tovarin::settings {

// Sections and value names of the per-user settings.
inline constexpr const char* kFile = "File";
inline constexpr const char* kOption = "Option";

inline constexpr const char* kBaseDir = "BaseDir";
inline constexpr const char* kTgtDataDisk = "TgtDataDisk";
inline constexpr const char* kTgtOrg = "TgtOrg";
inline constexpr const char* kSrcDataDisk = "SrcDataDisk";
inline constexpr const char* kSrcOrg = "SrcOrg";
inline constexpr const char* kRename = "Rename";
inline constexpr const char* kUseFarm = "UseFarm";
inline constexpr const char* kThreeLetters = "ThreeLetters";
inline constexpr const char* kSmartInitials = "SmartInitials";

// Where the settings live: organization and application of the per-user store.
inline constexpr const char* kOrganization = "Didozuza";
inline constexpr const char* kApplication = "Tovarin";

}  // namespace tovarin::settings
