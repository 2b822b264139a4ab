// Field values of a dataset file as the host's library shows them: numbers
// in the general number format, dates and times in the regional formats,
// booleans as "True" and "False".
#pragma once

#include <cstdint>
#include <string_view>

#include "support/dataset_packet.h"

namespace zul00500::dataset {

// Type codes of the binary packet's type word.
enum TypeCode : std::uint32_t {
  kTypeSigned = 1,
  kTypeUnsigned = 2,
  kTypeBoolean = 3,
  kTypeFloat = 4,
  kTypeBcd = 5,
  kTypeDate = 6,
  kTypeTime = 7,
  kTypeTimeStamp = 8,
  kTypeString = 9,
  kTypeUnicode = 10,
  kTypeBytes = 11,
  kTypeAdt = 12,
  kTypeArray = 13,
  kTypeTable = 14,
  kTypeReference = 15,
};

// Bits 0-15: the data size, or for a variable-length value the width of its
// length prefix; bits 16-21: the type code; then the two flags.
struct TypeWord {
  std::uint32_t word = 0;
  std::uint32_t size() const { return word & 0xFFFFu; }
  std::uint32_t code() const { return (word >> 16) & 0x3Fu; }
  bool variable() const { return (word & 0x00400000u) != 0; }
  bool array() const { return (word & 0x00800000u) != 0; }
};

// Up to eight bytes, least significant first.
std::uint64_t LittleEndian(std::string_view bytes);

// A binary packet's value (its bytes without length prefix). Blobs, nested
// tables and the other types nobody reads show as "".
Cell BinaryCell(TypeWord type, std::string_view bytes);
// An XML packet's attribute value (code page 1252) for a field of the
// packet's `fieldtype`.
Cell XmlCell(std::string_view fieldtype, const std::string& text);

} // namespace zul00500::dataset
