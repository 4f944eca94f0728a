#include "simdata/org_file.h"

#include <cstring>

namespace tovarin {

std::string FieldText(const unsigned char* field, std::size_t width) {
  const void* nul = std::memchr(field, 0, width);
  const std::size_t length =
      nul ? static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - field) : width;
  return std::string(reinterpret_cast<const char*>(field), length);
}

namespace org_record {

std::int16_t Id(const unsigned char* r) { return ReadInt16(r + 0); }
std::int16_t ParentId(const unsigned char* r) { return ReadInt16(r + 2); }
std::int16_t TeamIndex(const unsigned char* r) { return ReadInt16(r + 4); }
std::string LongName(const unsigned char* r) { return FieldText(r + 6, 36); }
std::string Name(const unsigned char* r) { return FieldText(r + 42, 26); }
std::string ShortName(const unsigned char* r) { return FieldText(r + 68, 5); }
unsigned char Kind(const unsigned char* r) { return r[73]; }
std::int16_t GameCountA(const unsigned char* r) { return ReadInt16(r + 74); }
std::int16_t GameCountB(const unsigned char* r) { return ReadInt16(r + 76); }
std::int16_t FarmTeamId(const unsigned char* r) { return ReadInt16(r + 88); }
std::int8_t FarmOrgNumber(const unsigned char* r) { return static_cast<std::int8_t>(r[109]); }

}  // namespace org_record
}  // namespace tovarin
