// A binary data packet laid out byte by byte as the host's dataset library
// writes one: the 24-byte header, field descriptors with their properties,
// dataset properties, then the records. Tests build the host's files with it,
// and damage them on purpose; fuzzing starts from its packets.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zul00500::testing {

namespace packet {

constexpr std::uint32_t kVariable = 0x00400000;
constexpr std::uint32_t kArray = 0x00800000;

// Bits 0-15 the size (a variable-length value: the width of its length
// prefix), bits 16-21 the type code, then the flags.
constexpr std::uint32_t TypeWord(std::uint32_t code, std::uint32_t size, std::uint32_t flags = 0) {
  return code << 16 | size | flags;
}

constexpr std::uint32_t kString1 = TypeWord(9, 1, kVariable); // 0x00490001
constexpr std::uint32_t kString2 = TypeWord(9, 2, kVariable);
constexpr std::uint32_t kUnicode2 = TypeWord(10, 2, kVariable);
constexpr std::uint32_t kInt8 = TypeWord(1, 1);
constexpr std::uint32_t kInt16 = TypeWord(1, 2);
constexpr std::uint32_t kInt32 = TypeWord(1, 4);
constexpr std::uint32_t kInt64 = TypeWord(1, 8);
constexpr std::uint32_t kUInt16 = TypeWord(2, 2);
constexpr std::uint32_t kBoolean = TypeWord(3, 2);
constexpr std::uint32_t kDouble = TypeWord(4, 8);
constexpr std::uint32_t kBcd = TypeWord(5, 34);
constexpr std::uint32_t kDate = TypeWord(6, 4);
constexpr std::uint32_t kTime = TypeWord(7, 4);
constexpr std::uint32_t kTimeStamp = TypeWord(8, 8);
constexpr std::uint32_t kBlob = TypeWord(11, 4, kVariable);
constexpr std::uint32_t kWidth = TypeWord(2, 2);             // 0x00020002
constexpr std::uint32_t kChangeLog = TypeWord(2, 4, kArray); // 0x00820004

// Value bytes, little-endian.
std::string LittleEndian(std::uint64_t value, std::size_t size);
std::string Double(double value);
// Days counted from 0001-01-01 as day 1.
std::string Date(int year, int month, int day);
// Milliseconds since midnight.
std::string Time(int hour, int minute, int second, int millisecond = 0);
// Milliseconds since 0001-01-01 00:00 counted as one day, a double.
std::string TimeStamp(int year, int month, int day, int hour, int minute, int second);
// A decimal such as "-12.50": precision, sign and places, then the digits
// two to a byte, in 34 bytes.
std::string Bcd(std::string_view decimal);

// Bytes of `bytes` overwritten at `offset` (to damage a packet).
void Patch(std::string& bytes, std::size_t offset, std::uint64_t value, std::size_t size);

} // namespace packet

// One field value of a record.
struct PacketValue {
  enum class Kind { Bytes, Null, Unchanged };
  Kind kind = Kind::Null;
  std::string bytes; // as stored; a variable-length field's length prefix is added

  PacketValue(std::string value) : kind(Kind::Bytes), bytes(std::move(value)) {}
  PacketValue(const char* value) : PacketValue(std::string(value)) {}
  static PacketValue Null() { return PacketValue(Kind::Null); }
  // In a later version of a row: as the earlier version had it.
  static PacketValue Unchanged() { return PacketValue(Kind::Unchanged); }

private:
  explicit PacketValue(Kind k) : kind(k) {}
};

class BinaryPacketWriter {
public:
  // A field; `width` > 0 adds the WIDTH property a string field carries.
  BinaryPacketWriter& Field(std::string name, std::uint32_t type, int width = 0);
  // A property of the last field; `value` as stored (prefix or count included).
  BinaryPacketWriter& FieldProperty(std::string name, std::uint32_t type, std::string value);
  BinaryPacketWriter& DataSetProperty(std::string name, std::uint32_t type, std::string value);
  // The CHANGE_LOG property: triples of record, earlier version, change.
  BinaryPacketWriter& ChangeLog(const std::vector<std::uint32_t>& entries);
  // A record: one value per field, with its status byte.
  BinaryPacketWriter& Row(std::vector<PacketValue> values, std::uint8_t status = 0);

  std::string Bytes() const;

private:
  struct Property {
    std::string name;
    std::uint32_t type;
    std::string value;
  };
  struct FieldEntry {
    std::string name;
    std::uint32_t type;
    std::vector<Property> properties;
  };
  struct RowEntry {
    std::uint8_t status;
    std::vector<PacketValue> values;
  };
  std::vector<FieldEntry> fields_;
  std::vector<Property> properties_;
  std::vector<RowEntry> rows_;
};

} // namespace zul00500::testing
