#include "support/binary_packet.h"

#include <cstring>
#include <stdexcept>

#include "platform/date_time.h"

namespace zul00500::testing {

namespace packet {

namespace {
constexpr long long kDaysTo1899 = 693'594;
constexpr long long kMsPerDay = 86'400'000;
} // namespace

std::string LittleEndian(std::uint64_t value, std::size_t size) {
  std::string out;
  for (std::size_t i = 0; i < size; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
  return out;
}

std::string Double(double value) {
  std::string out(8, '\0');
  std::memcpy(out.data(), &value, 8);
  return out;
}

std::string Date(int year, int month, int day) {
  return LittleEndian(static_cast<std::uint32_t>(platform::days_from_civil(year, month, day) + kDaysTo1899),
                      4);
}

std::string Time(int hour, int minute, int second, int millisecond) {
  return LittleEndian(static_cast<std::uint32_t>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond),
                      4);
}

std::string TimeStamp(int year, int month, int day, int hour, int minute, int second) {
  const long long days = platform::days_from_civil(year, month, day) + kDaysTo1899;
  return Double(static_cast<double>(days * kMsPerDay + ((hour * 60LL + minute) * 60 + second) * 1000));
}

std::string Bcd(std::string_view decimal) {
  const bool negative = !decimal.empty() && decimal[0] == '-';
  if (negative) decimal.remove_prefix(1);
  std::string digits;
  std::size_t places = 0;
  bool after_point = false;
  for (const char c : decimal) {
    if (c == '.') {
      after_point = true;
      continue;
    }
    if (c < '0' || c > '9') throw std::invalid_argument("not a decimal");
    digits += c;
    places += after_point;
  }
  std::string out(34, '\0');
  out[0] = static_cast<char>(digits.size());
  out[1] = static_cast<char>((negative ? 0x80 : 0) | places);
  for (std::size_t i = 0; i < digits.size(); ++i)
    out[2 + i / 2] = static_cast<char>(out[2 + i / 2] | (digits[i] - '0') << (i % 2 == 0 ? 4 : 0));
  return out;
}

void Patch(std::string& bytes, std::size_t offset, std::uint64_t value, std::size_t size) {
  bytes.replace(offset, size, LittleEndian(value, size));
}

} // namespace packet

namespace {

constexpr std::uint32_t kVariableFlag = packet::kVariable;

std::string name_bytes(const std::string& name) { return static_cast<char>(name.size()) + name; }

std::string property_bytes(const std::string& name, std::uint32_t type, const std::string& value) {
  return name_bytes(name) + packet::LittleEndian(type, 4) + value;
}

} // namespace

BinaryPacketWriter& BinaryPacketWriter::Field(std::string name, std::uint32_t type, int width) {
  fields_.push_back({std::move(name), type, {}});
  if (width > 0)
    FieldProperty("WIDTH", packet::kWidth, packet::LittleEndian(static_cast<std::uint32_t>(width), 2));
  return *this;
}

BinaryPacketWriter& BinaryPacketWriter::FieldProperty(std::string name, std::uint32_t type,
                                                      std::string value) {
  fields_.back().properties.push_back({std::move(name), type, std::move(value)});
  return *this;
}

BinaryPacketWriter& BinaryPacketWriter::DataSetProperty(std::string name, std::uint32_t type,
                                                        std::string value) {
  properties_.push_back({std::move(name), type, std::move(value)});
  return *this;
}

BinaryPacketWriter& BinaryPacketWriter::ChangeLog(const std::vector<std::uint32_t>& entries) {
  std::string value = packet::LittleEndian(entries.size(), 4);
  for (const std::uint32_t entry : entries) value += packet::LittleEndian(entry, 4);
  return DataSetProperty("CHANGE_LOG", packet::kChangeLog, std::move(value));
}

BinaryPacketWriter& BinaryPacketWriter::Row(std::vector<PacketValue> values, std::uint8_t status) {
  if (values.size() != fields_.size()) throw std::invalid_argument("one value per field");
  rows_.push_back({status, std::move(values)});
  return *this;
}

std::string BinaryPacketWriter::Bytes() const {
  std::string descriptors;
  for (const FieldEntry& field : fields_) {
    descriptors += name_bytes(field.name) + packet::LittleEndian(field.type, 4) + packet::LittleEndian(0, 2);
    descriptors += packet::LittleEndian(field.properties.size(), 2);
    for (const Property& property : field.properties)
      descriptors += property_bytes(property.name, property.type, property.value);
  }
  descriptors += packet::LittleEndian(properties_.size(), 2);
  for (const Property& property : properties_)
    descriptors += property_bytes(property.name, property.type, property.value);

  std::string out = "\x96\x19\xE0\xBD";
  out += packet::LittleEndian(1, 4) + packet::LittleEndian(24, 4);
  out += packet::LittleEndian(fields_.size(), 2) + packet::LittleEndian(rows_.size(), 4);
  out += packet::LittleEndian(3, 4) + packet::LittleEndian(24 + descriptors.size(), 2);
  out += descriptors;

  for (const RowEntry& row : rows_) {
    out += static_cast<char>(row.status);
    std::string flags((2 * fields_.size() + 7) / 8, '\0');
    std::string data;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
      const PacketValue& value = row.values[i];
      if (value.kind != PacketValue::Kind::Bytes) {
        const int flag = value.kind == PacketValue::Kind::Null ? 1 : 2;
        flags[i / 4] = static_cast<char>(flags[i / 4] | flag << (i % 4 * 2));
        continue;
      }
      if (fields_[i].type & kVariableFlag)
        data += packet::LittleEndian(value.bytes.size(), fields_[i].type & 0xFFFF);
      data += value.bytes;
    }
    out += flags + data;
  }
  return out;
}

} // namespace zul00500::testing
