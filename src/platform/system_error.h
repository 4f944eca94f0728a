#pragma once

#include <string>
#include <system_error>

namespace tovarin::platform {

// What the system says went wrong, in its own words. On Windows the errors of its own calls are
// described by the system (FormatMessageW), since the C runtime's errno has no word for most of
// them: a full disk there reads as "Invalid argument".

// The text of an errno value.
std::string ErrnoText(int error);

// The text of an error of the file system library; on Windows its system errors are Windows
// error codes.
std::string ErrorText(const std::error_code& error);

#ifdef _WIN32
// The system's text for a Windows error code, without the final period and line break.
std::string SystemErrorText(unsigned long error);
#endif

}  // namespace tovarin::platform
