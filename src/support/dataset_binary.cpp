// The binary data packet: a 24-byte header, field descriptors, dataset
// properties, then the records. Every count and length is checked against the
// bytes left before anything is read or allocated, so a damaged file is an
// error naming it, never a misread or a huge allocation.
#include <cstring>

#include "support/dataset_packet.h"
#include "support/dataset_values.h"
#include "support/text.h"

namespace zul00500::dataset {

namespace {

constexpr std::string_view kSignature = "\x96\x19\xE0\xBD";
constexpr std::size_t kHeaderBytes = 24;
// Smallest descriptors: a field (empty name, type, attributes, no property)
// and a property (empty name, type, no value).
constexpr std::uint64_t kMinFieldBytes = 1 + 4 + 2 + 2;
constexpr std::uint64_t kMinPropertyBytes = 1 + 4;

class Reader {
public:
  Reader(std::string_view bytes, const std::string& path) : bytes_(bytes), path_(path) {}

  std::size_t offset() const { return offset_; }
  std::uint64_t left() const { return bytes_.size() - offset_; }

  [[noreturn]] void fail(const std::string& reason) const {
    Fail(path_, reason + " (at byte " + std::to_string(offset_) + ")");
  }
  void need(std::uint64_t count, const std::string& what) const {
    if (count > left()) fail(what + " runs past the end of the file");
  }

  std::string_view bytes(std::uint64_t count, const std::string& what) {
    need(count, what);
    const std::string_view out = bytes_.substr(offset_, static_cast<std::size_t>(count));
    offset_ += static_cast<std::size_t>(count);
    return out;
  }
  std::uint64_t number(std::size_t size, const std::string& what) { return LittleEndian(bytes(size, what)); }
  std::string name(const std::string& what) {
    const auto length = number(1, what + " name length");
    return std::string(bytes(length, what + " name"));
  }

  void seek(std::uint64_t offset, const std::string& what) {
    if (offset > bytes_.size()) fail(what + " runs past the end of the file");
    offset_ = static_cast<std::size_t>(offset);
  }

private:
  std::string_view bytes_;
  const std::string& path_;
  std::size_t offset_ = 0;
};

// The bytes of one value coded by `type`: a variable-length value without
// its length prefix, an array's elements without their count, or the fixed
// size's bytes.
std::string_view read_value(Reader& in, TypeWord type, const std::string& what) {
  if (type.variable() && type.array()) in.fail(what + " is both variable-length and an array");
  if (type.variable()) {
    const std::uint32_t width = type.size();
    if (width != 1 && width != 2 && width != 4)
      in.fail(what + " has a length prefix of " + std::to_string(width) + " bytes");
    const std::uint64_t length = in.number(width, what + " length prefix");
    return in.bytes(length, what);
  }
  if (type.array()) {
    const std::uint64_t count = in.number(4, what + " element count");
    return in.bytes(count * type.size(), what);
  }
  return in.bytes(type.size(), what);
}

struct Property {
  std::string name;
  TypeWord type;
  std::string_view value;
};

std::vector<Property> read_properties(Reader& in, const std::string& owner) {
  const auto count = in.number(2, owner + " property count");
  in.need(count * kMinPropertyBytes, owner + " property count " + std::to_string(count));
  std::vector<Property> properties;
  properties.reserve(static_cast<std::size_t>(count));
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::string what = owner + " property " + std::to_string(i + 1);
    Property& property = properties.emplace_back();
    property.name = in.name(what);
    property.type = TypeWord{static_cast<std::uint32_t>(in.number(4, what + " type"))};
    property.value = read_value(in, property.type, what + " (" + property.name + ")");
  }
  return properties;
}

struct Field {
  FieldDef def;
  TypeWord type;
};

std::vector<Field> read_fields(Reader& in, std::uint64_t count) {
  in.need(count * kMinFieldBytes, "the field count " + std::to_string(count));
  std::vector<Field> fields;
  fields.reserve(static_cast<std::size_t>(count));
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::string what = "field " + std::to_string(i + 1);
    Field& field = fields.emplace_back();
    field.def.name = in.name(what);
    const std::string named = what + " (" + field.def.name + ")";
    field.type = TypeWord{static_cast<std::uint32_t>(in.number(4, named + " type"))};
    in.bytes(2, named + " attributes");
    for (const Property& property : read_properties(in, named)) {
      const std::uint32_t code = property.type.code();
      if (SameText(property.name, "WIDTH") && (code == kTypeSigned || code == kTypeUnsigned) &&
          !property.type.variable() && !property.type.array() && property.value.size() <= 4)
        field.def.size = static_cast<int>(LittleEndian(property.value));
    }
  }
  return fields;
}

std::vector<std::uint32_t> change_log(const Reader& in, const Property& property) {
  if (property.type.code() != kTypeUnsigned || property.type.size() != 4 || !property.type.array())
    in.fail("the change log is not an array of 32-bit numbers");
  std::vector<std::uint32_t> entries(property.value.size() / 4);
  for (std::size_t i = 0; i < entries.size(); ++i)
    entries[i] = static_cast<std::uint32_t>(LittleEndian(property.value.substr(i * 4, 4)));
  return entries;
}

StoredRow read_row(Reader& in, const std::vector<Field>& fields, std::size_t flag_bytes,
                   std::uint64_t number) {
  const std::string what = "record " + std::to_string(number);
  StoredRow row;
  row.status = static_cast<std::uint32_t>(in.number(1, what + " status"));
  const std::string_view flags = in.bytes(flag_bytes, what + " null flags");
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const auto flag = (static_cast<unsigned char>(flags[i / 4]) >> (i % 4 * 2)) & 3u;
    if (flag == 1) continue; // null
    if (flag == 2) {
      row.cells.emplace_back(i, Cell{CellState::Unchanged, {}, {}});
      continue;
    }
    if (flag == 3) in.fail(what + " field " + fields[i].def.name + " has the unknown null flag 3");
    const std::string_view bytes = read_value(in, fields[i].type, what + " field " + fields[i].def.name);
    row.cells.emplace_back(i, BinaryCell(fields[i].type, bytes));
  }
  return row;
}

} // namespace

bool LooksLikeBinaryPacket(std::string_view content) {
  return content.substr(0, kSignature.size()) == kSignature;
}

Packet ReadBinaryPacket(std::string_view content, const std::string& path) {
  Reader in(content, path);
  in.need(kHeaderBytes, "the header");
  in.seek(12, "the header");
  const std::uint64_t field_count = in.number(2, "the field count");
  const auto record_count = static_cast<std::int32_t>(in.number(4, "the record count"));
  in.seek(22, "the header");
  const std::uint64_t header_size = in.number(2, "the header size");

  Packet packet;
  packet.format = DataSetFormat::Binary;
  const std::vector<Field> fields = read_fields(in, field_count);
  for (const Property& property : read_properties(in, "dataset"))
    if (SameText(property.name, "CHANGE_LOG")) packet.change_log = change_log(in, property);
  if (in.offset() > header_size)
    in.fail("the header size " + std::to_string(header_size) + " ends inside the field descriptors");
  in.seek(header_size, "the header size " + std::to_string(header_size));

  if (record_count < 0) in.fail("the record count " + std::to_string(record_count) + " is negative");
  const std::size_t flag_bytes = (2 * fields.size() + 7) / 8;
  const auto records = static_cast<std::uint64_t>(record_count);
  in.need(records * (1 + flag_bytes), "the record count " + std::to_string(records));
  packet.rows.reserve(static_cast<std::size_t>(records));
  for (std::uint64_t i = 0; i < records; ++i) packet.rows.push_back(read_row(in, fields, flag_bytes, i + 1));

  packet.fields.reserve(fields.size());
  for (const Field& field : fields) packet.fields.push_back(field.def);
  return packet;
}

} // namespace zul00500::dataset
