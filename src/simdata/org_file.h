#pragma once

#include <cstdint>
#include <string>

namespace tovarin {

// The fields of a 208-byte org.dat record that Tovarin reads. Numbers are little-endian.
namespace org_record {

inline constexpr unsigned char kOrganizationKind = 1;
inline constexpr unsigned char kTeamKind = 4;

std::int16_t Id(const unsigned char* record);
std::int16_t ParentId(const unsigned char* record);
std::int16_t TeamIndex(const unsigned char* record);
std::string LongName(const unsigned char* record);
std::string Name(const unsigned char* record);
std::string ShortName(const unsigned char* record);
unsigned char Kind(const unsigned char* record);
std::int16_t GameCountA(const unsigned char* record);
std::int16_t GameCountB(const unsigned char* record);
std::int16_t FarmTeamId(const unsigned char* record);
std::int8_t FarmOrgNumber(const unsigned char* record);

}  // namespace org_record

// Reads a little-endian signed 16-bit number.
inline std::int16_t ReadInt16(const unsigned char* bytes) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)));
}

// The text of a fixed-width string field: up to its NUL, or the field's bytes whole when it holds
// none (such a field is not well-formed, and must not run on into the next one).
std::string FieldText(const unsigned char* field, std::size_t width);

}  // namespace tovarin
