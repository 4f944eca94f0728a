#pragma once

#include <string>

namespace tovarin::platform {

// printf-style formatting into a std::string, for the simulation's fixed file-name formats and
// the messages built around them.
std::string Format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace tovarin::platform
