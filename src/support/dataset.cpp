#include "support/dataset.h"

#include <pugixml.hpp>

#include <algorithm>
#include <sstream>

#include "platform/file_system.h"
#include "platform/text_encoding.h"
#include "support/errors.h"
#include "support/file_write.h"
#include "support/text.h"

namespace zul00500 {

namespace {
constexpr const char* kFieldType = "string";

// pugixml writes UTF-8; the packet goes out as ASCII with every other
// character as a numeric reference, which any XML reader takes whatever
// encoding it assumes for a header without one.
std::string ascii_with_references(const std::string& utf8) {
  const std::string cp1252 = platform::utf8_or_cp1252_to_cp1252(utf8);
  std::string out;
  for (char c : cp1252) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) out += c;
    else out += "&#" + std::to_string(static_cast<std::uint32_t>(platform::cp1252_code_point(byte))) + ";";
  }
  return out;
}
} // namespace

void ClientDataSet::CreateDataSet() {
  rows_.clear();
  unreadable_.clear();
  active_ = true;
}

void ClientDataSet::Edit() {
  active_ = true;
  if (rows_.empty()) rows_.emplace_back();
}

std::string ClientDataSet::FieldAsString(const std::string& name) const { return FieldAsString(0, name); }

std::string ClientDataSet::FieldAsString(std::size_t record, const std::string& name) const {
  if (record >= rows_.size()) return {};
  if (record < unreadable_.size())
    for (const auto& [field, reason] : unreadable_[record])
      if (SameText(field, name)) throw DataSetError("read the field " + field + " from", path_, reason);
  for (const auto& [field, value] : rows_[record])
    if (SameText(field, name)) return value;
  return {};
}

void ClientDataSet::SetField(const std::string& name, const std::string& value) {
  Edit();
  if (!unreadable_.empty())
    std::erase_if(unreadable_.front(), [&](const auto& entry) { return SameText(entry.first, name); });
  Row& row = rows_.front();
  for (auto& [field, old_value] : row)
    if (SameText(field, name)) {
      old_value = value;
      return;
    }
  row.emplace_back(name, value);
}

std::string ClientDataSet::PacketText() const {
  pugi::xml_document document;
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("standalone") = "yes";
  pugi::xml_node packet = document.append_child("DATAPACKET");
  packet.append_attribute("Version") = "2.0";
  pugi::xml_node metadata = packet.append_child("METADATA");
  pugi::xml_node fields = metadata.append_child("FIELDS");
  for (const FieldDef& def : field_defs_) {
    pugi::xml_node field = fields.append_child("FIELD");
    field.append_attribute("attrname") = platform::cp1252_to_utf8(def.name).c_str();
    field.append_attribute("fieldtype") = kFieldType;
    field.append_attribute("WIDTH") = def.size;
  }
  metadata.append_child("PARAMS");
  pugi::xml_node rowdata = packet.append_child("ROWDATA");
  for (const Row& row : rows_) {
    pugi::xml_node element = rowdata.append_child("ROW");
    for (const auto& [field, value] : row)
      element.append_attribute(platform::cp1252_to_utf8(field).c_str()) =
          platform::cp1252_to_utf8(value).c_str();
  }
  std::ostringstream out;
  document.save(out, "", pugi::format_raw, pugi::encoding_utf8);
  return ascii_with_references(out.str());
}

// Through a temporary: a crash while writing must not leave a torn file that
// every later load would refuse.
void ClientDataSet::SaveToFile(const std::string& path) const { WriteFileInOneStep(path, PacketText()); }

} // namespace zul00500
